#include "support/PdfOutput.h"

#include "reports/ReportPrinting.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

PdfPrints::PdfPrints(const QString &folder)
    : m_folder(folder)
{
    SetReportPrinterFactory([this](const QString &printerName) {
        m_printerNames << printerName;
        m_planned << QStringLiteral("%1/print-%2.pdf").arg(m_folder).arg(m_planned.size() + 1);
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_planned.last());
        return printer;
    });
}

PdfPrints::~PdfPrints()
{
    SetReportPrinterFactory(nullptr);
}

QStringList PdfPrints::files() const
{
    QStringList written;
    for (const QString &file : m_planned)
        if (QFile::exists(file))
            written << file;
    return written;
}

QString PdfPrints::lastFile() const
{
    const QStringList written = files();
    return written.isEmpty() ? QString() : written.last();
}

namespace {

QString Run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

QStringList PdfPageTexts(const QString &pdf)
{
    QStringList pages = Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                            .split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QList<PdfWord> PdfWords(const QString &pdf)
{
    const QString html = Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression pageOrWord(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<PdfWord> words;
    int page = 0;
    for (auto it = pageOrWord.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        PdfWord w;
        w.page = page;
        w.box = QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                       QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
        w.text = m.captured(5).replace(QLatin1String("&amp;"), QLatin1String("&"))
                     .replace(QLatin1String("&lt;"), QLatin1String("<"))
                     .replace(QLatin1String("&gt;"), QLatin1String(">"))
                     .replace(QLatin1String("&quot;"), QLatin1String("\""));
        words << w;
    }
    return words;
}

QString LineMissing(const QString &page, const QStringList &words)
{
    QStringList escaped;
    for (const QString &w : words)
        escaped << QRegularExpression::escape(w);
    if (QRegularExpression(escaped.join(QStringLiteral("[ \\t]+"))).match(page).hasMatch())
        return QString();
    return QStringLiteral("no line \"%1\" in:\n%2").arg(words.join(u' '), page);
}
