// What the reports of a large shop cost: the customer list and the customer cards of
// 100 000 customers and the video list of 100 000 videos, each made as the page's print
// makes it over the page's own list. On each engine (BenchSupport.h) it prints, as medians
// of alternated runs (ours, bare, ours ...):
// - the time to make every page, and the time until the preview shows the first page;
// - the time to write them to PDF by the preview's printer button, against the same
//   texts, lines and bars drawn bare with QPainter into the same PDF writer, and their
//   ratio;
// - the peak memory of each print by the printer button and through the print dialog
//   ("Tisk...", all pages), against the memory of the open lists alone.

#include "BenchSupport.h"

#include "catalogue/CustomerStore.h"
#include "catalogue/VideoStore.h"
#include "core/database/BrowseQuery.h"
#include "reports/EAN.h"
#include "reports/ReportCanvas.h"
#include "reports/ReportPreview.h"
#include "reports/ReportPrinting.h"
#include "reports/UPreview.h"
#include "reports/layouts/ListLayout.h"
#include "reports/layouts/UQRCustomerA4.h"
#include "reports/layouts/UQRCustomerCardsA4.h"
#include "reports/layouts/UQRVideoA4.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>

namespace {

using bench::print;

// Three alternated runs; `--rounds N` sets another number, and naming reports
// ("customer-list", "cards", "video-list") runs only those.
int Rounds = 3;
QStringList Chosen;
constexpr int ListVideos = 100000;

// The process's resident memory in MB: now, or its peak since the last reset.
qint64 MemoryMb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLongLong() / 1024;
    return -1;
}

QString Ratio(qint64 ours, qint64 base)
{
    return QString::number(double(ours) / qMax<qint64>(1, base), 'f', 2);
}

void ResetPeak()
{
    TrimFreedMemory();
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
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

// A report as the page's print makes it.
struct Layout {
    QString name;
    std::function<std::shared_ptr<Report>(DataSet &)> make;
    // The same texts, lines and bars drawn straight onto the painter, page by page.
    std::function<void(DataSet &, QPrinter &, QPainter &)> bare;
};

// The bare page head and rows of a list: the page number, date and title, the column
// titles and lines, a row of texts per record, the count at the end.
struct BareColumn {
    const char *title;
    const char *field;
    qreal left, width;
    bool right = false;
};

void BareList(DataSet &rows, QPrinter &printer, QPainter &painter, const QString &title,
              const QList<BareColumn> &columns)
{
    const qreal dpi = painter.device()->logicalDpiY();
    painter.scale(dpi / LayoutDpi, dpi / LayoutDpi);
    const QFont small = ReportFont(8).deviceFont(dpi);
    const QFont bold = ReportFont(8, true).deviceFont(dpi);
    const QFont big = ReportFont(16, true).deviceFont(dpi);
    const qreal left = MillimetresToLayout(10), top = MillimetresToLayout(10);
    const qreal bottom = MillimetresToLayout(297 - 10);
    const QString now = QDateTime::currentDateTime().toString(QStringLiteral("d.M.yyyy H:mm:ss"));
    QList<int> fields;
    for (const BareColumn &c : columns)
        fields << rows.fieldIndex(QString::fromLatin1(c.field));
    int page = 0;
    qreal y = bottom;
    auto head = [&] {
        if (page++ > 0)
            printer.newPage();
        painter.setFont(small);
        painter.drawText(QRectF(left, top + 8, 200, 16), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Strana: %1").arg(page));
        painter.drawText(QRectF(left + 128, top + 8, 200, 16), Qt::AlignLeft | Qt::AlignTop, now);
        painter.setFont(big);
        painter.drawText(QRectF(left, top + 8, 718, 26), Qt::AlignHCenter | Qt::AlignTop, title);
        painter.setFont(bold);
        for (const BareColumn &c : columns) {
            painter.drawText(QRectF(left + c.left, top + 40, c.width, 16), Qt::AlignLeft | Qt::AlignTop,
                             QString::fromUtf8(c.title));
            painter.drawLine(QPointF(left + c.left, top + 60.5), QPointF(left + c.left + c.width, top + 60.5));
        }
        painter.setFont(small);
        y = top + 64;
    };
    for (int row = 0; row < rows.recordCount(); ++row) {
        if (y + 16 > bottom)
            head();
        for (int i = 0; i < columns.size(); ++i)
            painter.drawText(QRectF(left + columns[i].left, y, columns[i].width, 16),
                             (columns[i].right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop,
                             rows.displayText(row, fields[i]));
        y += 16;
    }
    if (y + 32 > bottom)
        head();
    for (const BareColumn &c : columns)
        painter.drawLine(QPointF(left + c.left, y + 1), QPointF(left + c.left + c.width, y + 1));
    painter.setFont(bold);
    painter.drawText(QRectF(left, y + 8, 80, 16), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Počet položek:"));
    painter.drawText(QRectF(left + 82, y + 8, 80, 16), Qt::AlignLeft | Qt::AlignTop,
                     QString::number(rows.recordCount()));
}

// Four cards to a page: the frame, the halving line, the barcode's bars and digits, the
// captions and the values.
void BareCards(DataSet &rows, QPrinter &printer, QPainter &painter)
{
    const qreal dpi = painter.device()->logicalDpiY();
    painter.scale(dpi / LayoutDpi, dpi / LayoutDpi);
    const QFont caption = ReportFont(10, false, true).deviceFont(dpi);
    const QFont plain = ReportFont(10).deviceFont(dpi);
    const QFont name = ReportFont(QStringLiteral("Arial Black"), 12).deviceFont(dpi);
    const QFont number = ReportFont(QStringLiteral("Arial Black"), 24).deviceFont(dpi);
    const qreal left = MillimetresToLayout(10), top = MillimetresToLayout(10);
    const int fields[] = {rows.fieldIndex(QStringLiteral("JMENO")), rows.fieldIndex(QStringLiteral("ADRESA1")),
                          rows.fieldIndex(QStringLiteral("RC")), rows.fieldIndex(QStringLiteral("OP")),
                          rows.fieldIndex(QStringLiteral("REGISTRACE")), rows.fieldIndex(QStringLiteral("ZAKAZNIK"))};
    TEAN ean;
    ean.SetRatio(2);
    for (int row = 0; row < rows.recordCount(); ++row) {
        if (row > 0 && row % 4 == 0)
            printer.newPage();
        const qreal y = top + (row % 4) * 256;
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(left + 0.5, y + 0.5, 717, 255));
        painter.drawLine(QPointF(left + 358.5, y), QPointF(left + 358.5, y + 256));
        painter.save();
        painter.translate(left + 16, y + 16);
        painter.fillRect(QRect(0, 0, 112, 168), Qt::white);
        PainterCanvas canvas(painter, QRect(0, 0, 112, 168));
        ean.SetCode(rows.valueAt(row, fields[5]).toLongLong());
        ean.Draw(canvas);
        painter.restore();
        painter.setFont(caption);
        const qreal x = left + 136;
        for (auto [text, at] : {std::pair{"Jméno:", 16}, std::pair{"Adresa:", 72}, std::pair{"RČ:", 120},
                                std::pair{"OP:", 144}, std::pair{"Registrace:", 168}})
            painter.drawText(QRectF(x, y + at, 200, 18), Qt::AlignLeft | Qt::AlignTop, QString::fromUtf8(text));
        painter.setFont(name);
        painter.drawText(QRectF(x, y + 40, 218, 24), Qt::AlignLeft | Qt::AlignTop, rows.displayText(row, fields[0]));
        painter.setFont(plain);
        painter.drawText(QRectF(x, y + 96, 218, 18), Qt::AlignLeft | Qt::AlignTop, rows.displayText(row, fields[1]));
        painter.drawText(QRectF(left + 216, y + 120, 138, 18), Qt::AlignLeft | Qt::AlignTop, rows.displayText(row, fields[2]));
        painter.drawText(QRectF(left + 216, y + 144, 138, 18), Qt::AlignLeft | Qt::AlignTop, rows.displayText(row, fields[3]));
        painter.drawText(QRectF(left + 216, y + 168, 138, 18), Qt::AlignLeft | Qt::AlignTop,
                         rows.valueAt(row, fields[4]).toDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm")));
        painter.setFont(number);
        painter.drawText(QRectF(left + 4, y + 200, 352, 46), Qt::AlignHCenter | Qt::AlignTop,
                         QStringLiteral("%1").arg(rows.valueAt(row, fields[5]).toLongLong(), 13, 10, QLatin1Char('0')));
    }
}

// A list layout's report over the rows under `title`, and its bare drawing.
template <typename Form> Layout List(const QString &name, const QString &title, const QList<BareColumn> &columns)
{
    return {name,
            [title](DataSet &rows) {
                auto form = std::make_shared<Form>(&rows);
                form->QuickRep.title = title;
                return std::shared_ptr<Report>(form, &form->QuickRep);
            },
            [title, columns](DataSet &rows, QPrinter &printer, QPainter &painter) {
                BareList(rows, printer, painter, title, columns);
            }};
}

// The preview as the clerk meets it: the time until its first page is there and until the
// last; the window closes then.
class TimedPreview : public TQRPreviewInterface {
public:
    QElapsedTimer clock;
    qint64 firstPage = -1, allPages = -1;

    bool ShowsPagesAsMade() const override { return true; }
    QWidget *Show(PreparedReport *printer) override
    {
        QWidget *window = m_real.Show(printer);
        std::function<void()> shown = printer->pageAvailable;
        printer->pageAvailable = [this, printer, window, shown] {
            shown();
            if (firstPage < 0 && printer->pageCount() > 0)
                firstPage = clock.elapsed();
            if (printer->complete && allPages < 0) {
                allPages = clock.elapsed();
                QTimer::singleShot(0, window, [window] { window->close(); });
            }
        };
        return window;
    }

private:
    TCustomQRPreviewInterface m_real;
};

void RunLayout(const QString &engine, const Layout &layout, DataSet &rows, qint64 listsMb, const QTemporaryDir &folder)
{
    const QString ours = folder.filePath(QStringLiteral("ours.pdf"));
    const QString bare = folder.filePath(QStringLiteral("bare.pdf"));
    SetReportPrinterFactory([&](const QString &) { return PdfPrinter(ours); });
    std::vector<qint64> make, first, whole, write, drawn;
    qint64 buttonPeak = 0, dialogPeak = 0, barePeak = 0, dialogTime = 0;
    int pages = 0;
    for (int round = 0; round < Rounds; ++round) {
        {
            auto timed = std::make_unique<TimedPreview>();
            TimedPreview *preview = timed.get();
            RegisterPreviewInterface(std::move(timed));
            std::shared_ptr<Report> report = layout.make(rows);
            preview->clock.start();
            report->preview();
            first.push_back(preview->firstPage);
            whole.push_back(preview->allPages);
            RegisterPreviewInterface(nullptr);
        }
        ResetPeak();
        {
            std::shared_ptr<Report> report = layout.make(rows);
            make.push_back(bench::timed([&] { report->prepare(); }));
            pages = report->prepared()->pageCount();
            write.push_back(bench::timed([&] { PrintPreparedReport(*report->prepared(), report->title); }));
        }
        buttonPeak = qMax(buttonPeak, MemoryMb("VmHWM:"));
        ResetPeak();
        drawn.push_back(bench::timed([&] {
            auto printer = PdfPrinter(bare);
            QPainter painter(printer.get());
            layout.bare(rows, *printer, painter);
        }));
        barePeak = qMax(barePeak, MemoryMb("VmHWM:"));
    }
    ResetPeak();
    {
        std::shared_ptr<Report> report = layout.make(rows);
        PreparedReport *prepared = report->prepare();
        dialogTime = bench::timed([&] { PrintPageSelection(*prepared, 0, 0, 1, QString(), report->title); });
    }
    dialogPeak = MemoryMb("VmHWM:");
    SetReportPrinterFactory(nullptr);
    const qint64 writeMedian = bench::median(write), bareMedian = bench::median(drawn);
    print(QStringLiteral("%1: %2, %3 pages: make every page %4 ms; preview's first page %5 ms of %6 ms "
                         "(%7 %)")
              .arg(engine, layout.name)
              .arg(pages)
              .arg(bench::median(make))
              .arg(bench::median(first))
              .arg(bench::median(whole))
              .arg(100.0 * bench::median(first) / qMax<qint64>(1, bench::median(whole)), 0, 'f', 1));
    print(QStringLiteral("%1: %2: write the PDF (printer button) %3 ms, bare QPainter %4 ms, ratio %5 "
                         "(target at most 1.2); through \"Tisk...\" %6 ms")
              .arg(engine, layout.name)
              .arg(writeMedian)
              .arg(bareMedian)
              .arg(Ratio(writeMedian, bareMedian), QString::number(dialogTime)));
    print(QStringLiteral("%1: %2: peak memory: lists alone %3 MB; printer button %4 MB (%5x), \"Tisk...\" %6 MB "
                         "(%7x) (target at most 1.5x); bare %8 MB")
              .arg(engine, layout.name)
              .arg(listsMb)
              .arg(buttonPeak)
              .arg(Ratio(buttonPeak, listsMb))
              .arg(dialogPeak)
              .arg(Ratio(dialogPeak, listsMb), QString::number(barePeak)));
}

void benchEngine(const QString &engine, bool sqlite)
{
    bench::fillLargeShop(sqlite);
    // The video list's shop has 100 000 videos.
    const QString more = sqlite
        ? QStringLiteral("WITH RECURSIVE n(i) AS (SELECT %1 UNION ALL SELECT i+1 FROM n WHERE i<%2) "
                         "INSERT INTO tab_video (VIDEO,TITUL,ZAMERENI,NOSIC,CENA,VYPUJCENA) "
                         "SELECT i, 'Titul ' || i, 1, 2, 199.9, i % 30 FROM n")
        : QStringLiteral("INSERT INTO tab_video (VIDEO,TITUL,ZAMERENI,NOSIC,CENA,VYPUJCENA) "
                         "SELECT i, 'Titul ' || i, 1, 2, 199.9, i % 30 FROM generate_series(%1,%2) AS n(i)");
    bench::inTransaction([&] { bench::exec(more.arg(bench::Videos + 1).arg(ListVideos)); });

    BrowseQuery customers, videos;
    customers.setSql(CustomerListSql());
    videos.setSql(VideoListSql());
    customers.open();
    videos.open();
    ResetPeak();
    const qint64 listsMb = MemoryMb("VmRSS:");
    QTemporaryDir folder;

    const QList<BareColumn> customerColumns = {
        {"Kód", "ZAKAZNIK", 0, 76},   {"Jméno", "JMENO", 82, 144}, {"Telefon", "TELEFON", 232, 52},
        {"Adresa", "ADRESA1", 290, 260}, {"RČ", "RC", 556, 58},    {"Registrace", "REGISTRACE", 620, 98}};
    const QList<BareColumn> videoColumns = {
        {"Kód", "VIDEO", 0, 76},         {"Titul", "TITUL", 82, 270},  {"Zaměření", "ZAMERENI", 358, 118},
        {"Nosič", "NOSIC", 482, 68},     {"Registrace", "REGISTRACE", 556, 98}, {"Cena [Kč]", "CENA", 660, 58, true}};
    const Layout customerList = List<TFormQRCustomerA4>(
        QStringLiteral("customer list of %1").arg(customers.recordCount()), QStringLiteral(" Zákazníci"), customerColumns);
    const Layout cards{QStringLiteral("customer cards of %1").arg(customers.recordCount()),
                       [](DataSet &rows) {
                           auto form = std::make_shared<TFormQRCustomerCardsA4>(&rows);
                           form->QuickRep.dataSet = &rows;
                           form->QuickRep.title = QStringLiteral(" Karty");
                           return std::shared_ptr<Report>(form, &form->QuickRep);
                       },
                       BareCards};
    const Layout videoList = List<TFormQRVideoA4>(QStringLiteral("video list of %1").arg(videos.recordCount()),
                                                  QStringLiteral(" Video"), videoColumns);
    for (const auto &[key, layout, rows] : {std::tuple{"customer-list", &customerList, &customers},
                                            std::tuple{"cards", &cards, &customers},
                                            std::tuple{"video-list", &videoList, &videos}})
        if (Chosen.isEmpty() || Chosen.contains(QString::fromLatin1(key)))
            RunLayout(engine, *layout, *rows, listsMb, folder);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (const qsizetype at = args.indexOf(QStringLiteral("--rounds")); at >= 0 && at + 1 < args.size()) {
        Rounds = qMax(1, args.at(at + 1).toInt());
        args.remove(at, 2);
    }
    Chosen = args;
    return bench::runOnEngines(QStringLiteral("valmedo4_bench_reports"), benchEngine);
}
