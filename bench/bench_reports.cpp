// How much the report layer costs over drawing the same texts by hand: a list of 1 000
// lines (number, title, price) with its page head and summary is prepared through the
// layer and written to PDF, and the same texts, fonts and places are drawn bare with
// QPainter into the same PDF writer. Each is run several times in turn (ours, bare, ours
// ...); the medians and their ratio are printed. No database is needed.

#include "BenchSupport.h"

#include "core/database/MemoryTable.h"
#include "reports/Report.h"
#include "reports/ReportPrinting.h"

#include <QApplication>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace {

using bench::print;

constexpr int Lines = 1000;
constexpr int Rounds = 7;

const ReportFont Small(8);
const ReportFont Title(16, true);

std::unique_ptr<MemoryTable> Videos()
{
    auto table = std::make_unique<MemoryTable>();
    table->addField(QStringLiteral("VIDEO"), FieldKind::Int64);
    table->addField(QStringLiteral("TITUL"), FieldKind::Text);
    table->addField(QStringLiteral("CENA"), FieldKind::Money);
    table->setDisplayFormat(QStringLiteral("VIDEO"), QStringLiteral("0000000000000"));
    table->setDisplayFormat(QStringLiteral("CENA"), QStringLiteral(",0.00"));
    table->open();
    for (int i = 1; i <= Lines; ++i)
        table->append({{QStringLiteral("VIDEO"), i},
                       {QStringLiteral("TITUL"), QStringLiteral("Titul videa č. %1").arg(i)},
                       {QStringLiteral("CENA"), QVariant::fromValue(Money::fromUnits(i * 12345))}});
    return table;
}

void ListLayout(Report &report, DataSet *data)
{
    report.title = QStringLiteral(" Video");
    report.dataSet = data;
    ReportBand *head = report.addBand(BandType::ColumnHeader, 64);
    head->add<ReportSysData>(SysData::PageNumber, 0, 8)->prefix = QStringLiteral("Strana: ");
    head->add<ReportSysData>(SysData::DateTime, 128, 8);
    auto *title = head->add<ReportSysData>(SysData::ReportTitle, 0, 8);
    title->font = Title;
    title->setCentredOver(0, 718);
    ReportBand *detail = report.addBand(BandType::Detail, 16);
    detail->add<ReportDBText>(data, QStringLiteral("VIDEO"), 0, 0, 76)->font = Small;
    detail->add<ReportDBText>(data, QStringLiteral("TITUL"), 82, 0, 270)->font = Small;
    auto *price = detail->add<ReportDBText>(data, QStringLiteral("CENA"), 660, 0);
    price->font = Small;
    price->setRightEdge(718);
    ReportBand *summary = report.addBand(BandType::Summary, 32);
    summary->add<ReportLabel>(QStringLiteral("Počet položek:"), 0, 8)->font = Small;
    summary->add<ReportSysData>(SysData::DetailCount, 82, 8)->font = Small;
    auto *sum = summary->add<ReportExpr>(QStringLiteral("SUM(CENA)"), 0, 8);
    sum->mask = QStringLiteral("Celkem [Kč]: ,0.00");
    sum->setRightEdge(718);
}

std::unique_ptr<QPrinter> PdfPrinter(const QString &file)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    printer->setFullPage(true);
    printer->setPageSize(QPageSize(QPageSize::A4));
    return printer;
}

// The same texts at the same places, drawn straight onto the printer.
void DrawBare(MemoryTable &videos, const QString &file)
{
    auto printer = PdfPrinter(file);
    QPainter painter(printer.get());
    const qreal dpi = painter.device()->logicalDpiY();
    painter.scale(dpi / LayoutDpi, dpi / LayoutDpi);
    const QFont small = Small.deviceFont(dpi);
    const QFont title = Title.deviceFont(dpi);
    const qreal left = MillimetresToLayout(10), top = MillimetresToLayout(10);
    const qreal bottom = MillimetresToLayout(297 - 10);
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("d.M.yyyy H:mm:ss"));
    Money sum;
    int page = 0;
    qreal y = bottom;
    auto head = [&] {
        if (page++ > 0)
            printer->newPage();
        painter.setFont(small);
        painter.drawText(QRectF(left, top + 8, 200, 16), Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("Strana: %1").arg(page));
        painter.drawText(QRectF(left + 128, top + 8, 200, 16), Qt::AlignLeft | Qt::AlignTop, now);
        painter.setFont(title);
        painter.drawText(QRectF(left, top + 8, 718, 26), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral(" Video"));
        painter.setFont(small);
        y = top + 64;
    };
    for (int row = 0; row < videos.recordCount(); ++row) {
        if (y + 16 > bottom)
            head();
        const Money price = videos.valueAt(row, 2).value<Money>();
        sum += price;
        painter.drawText(QRectF(left, y, 76, 16), Qt::AlignLeft | Qt::AlignTop, videos.displayText(row, 0));
        painter.drawText(QRectF(left + 82, y, 270, 16), Qt::AlignLeft | Qt::AlignTop, videos.displayText(row, 1));
        painter.drawText(QRectF(left + 600, y, 118, 16), Qt::AlignRight | Qt::AlignTop, videos.displayText(row, 2));
        y += 16;
    }
    if (y + 32 > bottom)
        head();
    painter.drawText(QRectF(left, y + 8, 80, 16), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Počet položek:"));
    painter.drawText(QRectF(left + 82, y + 8, 80, 16), Qt::AlignLeft | Qt::AlignTop,
                     QString::number(videos.recordCount()));
    painter.drawText(QRectF(left + 400, y + 8, 318, 16), Qt::AlignRight | Qt::AlignTop,
                     FormatMoney(QStringLiteral("Celkem [Kč]: ,0.00"), sum));
}

qint64 Median(QList<qint64> times)
{
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const QString ours = folder.filePath(QStringLiteral("layer.pdf"));
    const QString bare = folder.filePath(QStringLiteral("bare.pdf"));
    SetReportPrinterFactory([&](const QString &) { return PdfPrinter(ours); });
    auto videos = Videos();

    QList<qint64> layerTimes, bareTimes;
    int pages = 0;
    for (int round = 0; round < Rounds; ++round) {
        layerTimes << bench::timed([&] {
            Report report;
            ListLayout(report, videos.get());
            report.print();
            pages = report.prepared()->pageCount();
        });
        bareTimes << bench::timed([&] { DrawBare(*videos, bare); });
    }
    const qint64 layer = Median(layerTimes), drawn = Median(bareTimes);
    print(QStringLiteral("Report layer: a %1-line list (%2 pages) prepared and written to PDF: median %3 ms of %4 runs")
              .arg(Lines).arg(pages).arg(layer).arg(Rounds));
    print(QStringLiteral("Bare QPainter: the same texts into the same PDF writer: median %1 ms").arg(drawn));
    print(QStringLiteral("Ratio layer / bare: %1 (target at most 1.5)").arg(double(layer) / qMax<qint64>(1, drawn), 0, 'f', 2));
    return 0;
}
