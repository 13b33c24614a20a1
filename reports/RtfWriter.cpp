#include "reports/RtfWriter.h"

#include "core/Texts.h"
#include "reports/ReportPages.h"

#include <QStringList>
#include <cmath>

namespace {

// Twentieths of a point: 15 to a layout pixel.
int Twips(qreal layoutPixels)
{
    return int(std::lround(layoutPixels * 1440.0 / LayoutDpi));
}

// Letters outside ASCII as Unicode with their Windows-1250 byte for older readers.
QByteArray Escaped(const QString &text)
{
    QByteArray out;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u == u'\n') {
            out += "\\line ";
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u >= 0x20 && u < 0x80) {
            out += char(u);
        } else if (u >= 0x20) {
            out += "\\u" + QByteArray::number(qint16(u));
            const std::optional<QByteArray> local = EncodeWindows1250(QString(c));
            out += local ? "\\'" + local->toHex() : QByteArray("?");
        }
    }
    return out;
}

} // namespace

QByteArray RtfDocument(const PreparedReport &report)
{
    QStringList families;
    for (const ReportPage &page : report.pages)
        for (const PageText &t : PageTextsInReadingOrder(page))
            if (!families.contains(t.font().family))
                families << t.font().family;
    if (families.isEmpty())
        families << QStringLiteral("Arial");

    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250\\uc1\\deff0\n{\\fonttbl";
    for (int i = 0; i < families.size(); ++i)
        rtf += "{\\f" + QByteArray::number(i) + "\\fswiss\\fcharset238 " + Escaped(families.at(i)) + ";}";
    rtf += "}\n";
    const QSizeF paper = report.paperSize();
    rtf += "\\paperw" + QByteArray::number(Twips(paper.width())) + "\\paperh"
           + QByteArray::number(Twips(paper.height())) + "\\margl0\\margr0\\margt0\\margb0";
    if (report.orientation == QPageLayout::Landscape)
        rtf += "\\landscape";
    rtf += "\n";

    for (int p = 0; p < report.pageCount(); ++p) {
        if (p > 0)
            rtf += "\\pard\\plain\\page\n";
        for (const PageText &t : PageTextsInReadingOrder(report.pages.at(p))) {
            const int align = t.flags & Qt::AlignHorizontal_Mask;
            rtf += "{\\pard\\pvpg\\phpg\\posx" + QByteArray::number(Twips(t.rect.left())) + "\\posy"
                   + QByteArray::number(Twips(t.rect.top())) + "\\absw"
                   + QByteArray::number(Twips(t.rect.width())) + "\\absh-"
                   + QByteArray::number(Twips(t.rect.height()));
            rtf += align & Qt::AlignRight ? "\\qr" : align & Qt::AlignHCenter ? "\\qc" : "\\ql";
            rtf += "\\plain\\f" + QByteArray::number(families.indexOf(t.font().family)) + "\\fs"
                   + QByteArray::number(std::lround(t.font().size * 2));
            if (t.font().bold || t.font().family == QLatin1String("Arial Black"))
                rtf += "\\b";
            if (t.font().italic)
                rtf += "\\i";
            rtf += " " + Escaped(t.text) + "\\par}\n";
        }
    }
    rtf += "}\n";
    return rtf;
}

void ExportRtf(const PreparedReport &report, const QString &fileName)
{
    WriteReportFile(fileName, RtfDocument(report));
}
