// The spreadsheet exchange of a large shop: 100 000 customers exported from the page's
// list into an .xlsx file and imported back ("delete and replace"), each with the
// progress window doing its work. On each engine (BenchSupport.h) it prints the median
// of several runs taken in turn, ours and the bare counterpart:
// - export: libxlsxwriter writing the same typed cells bare (numbers with their number
//   formats, dates as date cells, texts), taken from plain arrays;
// - import: liborcus reading the file into plain strings, then the DELETE and the same
//   inserts through one prepared QSqlQuery, in one transaction.

#include "BenchSupport.h"

#include "catalogue/CustomerStore.h"

#include "catalogue/ExchangeStore.h"
#include "catalogue/UImportExportProgress.h"
#include "catalogue/Worksheet.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"

#include <QApplication>
#include <QFile>
#include <QProgressBar>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/import_interface.hpp>
#include <xlsxwriter.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using bench::exec;
using bench::median;
using bench::print;
using bench::timed;

constexpr int Customers = 100000;
constexpr int Runs = 5;
// The export is shorter and spread wider by a busy machine: more runs, after one of each
// that is not counted (the first to grow the heap pays for it).
constexpr int ExportRuns = 9;

void fillCustomers(bool sqlite)
{
    QString select = QStringLiteral(
        "SELECT i, 'Zákazník Čapek ' || i, '602000000', 'Dlouhá ' || i, '110 00 Praha', '7001011234', 'AB123456', "
        "'2024-02-01 10:30:00', i % 4, i % 50, 'poznámka' ");
    bench::inTransaction([&] {
        exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,TELEFON,ADRESA1,ADRESA2,RC,OP,REGISTRACE,"
                            "OMEZENI,PUJCKY,TEXT) ")
             + (sqlite ? QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<%1) ")
                             .arg(Customers)
                       : QString())
             + (sqlite ? select : select.replace(QLatin1String("'2024-02-01 10:30:00'"),
                                                 QLatin1String("TIMESTAMP '2024-02-01 10:30:00'")))
             + (sqlite ? QStringLiteral("FROM n") : QStringLiteral("FROM generate_series(1,%1) AS n(i)").arg(Customers)));
    });
}

QString ratio(qint64 ours, qint64 bare)
{
    return QString::number(bare > 0 ? double(ours) / double(bare) : 0.0, 'f', 2);
}

// Runs the work in the progress window, as the choice dialog does; its error comes out
// here rather than in a warning window.
void inProgressWindow(const std::function<void(TFormImportExportProgress &)> &work)
{
    std::exception_ptr error;
    TFormImportExportProgress progress([&](TFormImportExportProgress &p) {
        try {
            work(p);
        } catch (...) {
            error = std::current_exception();
        }
    });
    progress.exec();
    if (error)
        std::rethrow_exception(error);
}

// --- the bare counterparts ------------------------------------------------------------

// One cell as the bare writer takes it.
struct BareCell {
    enum Kind { None, Number, Date, Text } kind = None;
    double number = 0;
    lxw_datetime date = {};
    std::string text;
    int format = 0; // index into the number formats below; 0 for none
};

std::vector<BareCell> bareCells(const DataSet &list)
{
    std::vector<BareCell> cells;
    for (int row = 0; row < list.recordCount(); ++row) {
        for (int field = 0; field < list.fieldCount(); ++field) {
            const ExportCell cell = ExportCellOf(list.valueAt(row, field), list.fieldKind(field));
            BareCell bare;
            bare.format = int(cell.format);
            if (cell.value.typeId() == QMetaType::Double) {
                bare.kind = BareCell::Number;
                bare.number = cell.value.toDouble();
            } else if (cell.value.typeId() == QMetaType::QDateTime) {
                const QDateTime m = cell.value.toDateTime();
                bare.kind = BareCell::Date;
                bare.date = {m.date().year(), m.date().month(), m.date().day(), m.time().hour(), m.time().minute(),
                             double(m.time().second())};
            } else if (!cell.value.toString().isEmpty()) {
                bare.kind = BareCell::Text;
                bare.text = cell.value.toString().toStdString();
            }
            cells.push_back(std::move(bare));
        }
    }
    return cells;
}

void bareExport(const std::vector<BareCell> &cells, int columns, const QString &path)
{
    lxw_workbook *book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet *sheet = workbook_add_worksheet(book, nullptr);
    lxw_format *formats[5] = {};
    const char *const codes[] = {nullptr, "0000000000000", "#,##0.00", "d.m.yyyy h:mm:ss", "d.m.yyyy"};
    for (int i = 1; i < 5; ++i) {
        formats[i] = workbook_add_format(book);
        format_set_num_format(formats[i], codes[i]);
    }
    for (size_t i = 0; i < cells.size(); ++i) {
        const BareCell &cell = cells[i];
        const auto row = lxw_row_t(i / size_t(columns));
        const auto column = lxw_col_t(i % size_t(columns));
        switch (cell.kind) {
        case BareCell::Number:
            worksheet_write_number(sheet, row, column, cell.number, formats[cell.format]);
            break;
        case BareCell::Date:
            worksheet_write_datetime(sheet, row, column, const_cast<lxw_datetime *>(&cell.date), formats[cell.format]);
            break;
        case BareCell::Text:
            worksheet_write_string(sheet, row, column, cell.text.c_str(), nullptr);
            break;
        case BareCell::None:
            break;
        }
    }
    if (workbook_close(book) != LXW_NO_ERROR)
        throw EDatabaseError(QStringLiteral("bare export failed"));
}

namespace ss = orcus::spreadsheet;

// The least that liborcus needs to read the first sheet's strings and numbers.
struct BareStrings : ss::iface::import_shared_strings {
    std::vector<std::string> strings;
    std::string segments;
    size_t append(std::string_view s) override { strings.emplace_back(s); return strings.size() - 1; }
    size_t add(std::string_view s) override { return append(s); }
    void set_segment_font(size_t) override {}
    void set_segment_bold(bool) override {}
    void set_segment_italic(bool) override {}
    void set_segment_font_name(std::string_view) override {}
    void set_segment_font_size(double) override {}
    void set_segment_font_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    void append_segment(std::string_view s) override { segments += s; }
    size_t commit_segments() override { strings.push_back(std::move(segments)); segments.clear(); return strings.size() - 1; }
};

struct BareSheet : ss::iface::import_sheet {
    BareStrings *strings = nullptr;
    std::vector<std::vector<std::string>> rows;
    std::string &at(ss::row_t r, ss::col_t c)
    {
        if (size_t(r) >= rows.size())
            rows.resize(size_t(r) + 1);
        auto &row = rows[size_t(r)];
        if (size_t(c) >= row.size())
            row.resize(size_t(c) + 1);
        return row[size_t(c)];
    }
    void set_auto(ss::row_t r, ss::col_t c, std::string_view s) override { at(r, c) = s; }
    void set_string(ss::row_t r, ss::col_t c, ss::string_id_t i) override { at(r, c) = strings->strings[i]; }
    void set_value(ss::row_t r, ss::col_t c, double v) override
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", v);
        at(r, c) = text;
    }
    void set_bool(ss::row_t r, ss::col_t c, bool v) override { at(r, c) = v ? "1" : "0"; }
    void set_date_time(ss::row_t, ss::col_t, int, int, int, int, int, double) override {}
    void set_format(ss::row_t, ss::col_t, size_t) override {}
    void set_format(ss::row_t, ss::col_t, ss::row_t, ss::col_t, size_t) override {}
    void fill_down_cells(ss::row_t, ss::col_t, ss::row_t) override {}
    ss::range_size_t get_sheet_size() const override { return {1048576, 16384}; }
};

struct BareResolver : ss::iface::import_reference_resolver {
    ss::src_address_t resolve_address(std::string_view a) override
    {
        ss::src_address_t out{0, 0, 0};
        size_t i = 0;
        int col = 0;
        for (; i < a.size() && a[i] >= 'A' && a[i] <= 'Z'; ++i)
            col = col * 26 + (a[i] - 'A' + 1);
        out.column = col - 1;
        out.row = std::atoi(std::string(a.substr(i)).c_str()) - 1;
        return out;
    }
    ss::src_range_t resolve_range(std::string_view r) override
    {
        const size_t colon = r.find(':');
        return {resolve_address(r.substr(0, colon)),
                resolve_address(colon == std::string_view::npos ? r : r.substr(colon + 1))};
    }
};

struct BareFactory : ss::iface::import_factory {
    BareStrings strings;
    BareResolver resolver;
    std::vector<std::unique_ptr<BareSheet>> sheets;
    ss::iface::import_shared_strings *get_shared_strings() override { return &strings; }
    ss::iface::import_reference_resolver *get_reference_resolver(ss::formula_ref_context_t) override
    {
        return &resolver;
    }
    ss::iface::import_sheet *append_sheet(ss::sheet_t, std::string_view) override
    {
        sheets.push_back(std::make_unique<BareSheet>());
        sheets.back()->strings = &strings;
        return sheets.back().get();
    }
    ss::iface::import_sheet *get_sheet(std::string_view) override { return sheets.front().get(); }
    ss::iface::import_sheet *get_sheet(ss::sheet_t i) override { return sheets[size_t(i)].get(); }
    void finalize() override {}
};

void bareImport(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    BareFactory factory;
    orcus::orcus_xlsx filter(&factory);
    filter.read_stream(std::string_view(bytes.constData(), size_t(bytes.size())));
    const auto &rows = factory.sheets.front()->rows;

    QSqlDatabase db = CurrentConnection();
    const bool sqlite = db.driverName() == QLatin1String("QSQLITE");
    bench::inTransaction([&] {
        exec(QStringLiteral("DELETE FROM tab_zakaznik"));
        QSqlQuery q(db);
        q.prepare(QStringLiteral(
            "INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,TELEFON,ADRESA1,ADRESA2,RC,OP,REGISTRACE,OMEZENI,PUJCKY,TEXT) "
            "VALUES (:ZAKAZNIK,:JMENO,:TELEFON,:ADRESA1,:ADRESA2,:RC,:OP,:REGISTRACE,:OMEZENI,:PUJCKY,:TEXT)"));
        for (const auto &row : rows) {
            auto text = [&](size_t c) { return c < row.size() ? QString::fromStdString(row[c]) : QString(); };
            q.bindValue(QStringLiteral(":ZAKAZNIK"), qint64(text(0).toDouble()));
            const char *const texts[] = {":JMENO", ":TELEFON", ":ADRESA1", ":ADRESA2", ":RC", ":OP"};
            for (size_t c = 1; c <= 6; ++c)
                q.bindValue(QLatin1String(texts[c - 1]), text(c));
            // A date cell is its day number.
            const QDateTime registered = QDateTime(QDate(1899, 12, 30), QTime(0, 0)).addSecs(std::llround(text(7).toDouble() * 86400));
            q.bindValue(QStringLiteral(":REGISTRACE"),
                        sqlite ? QVariant(registered.toString(QStringLiteral("yyyy-MM-dd hh:mm:00")))
                               : QVariant(registered));
            q.bindValue(QStringLiteral(":OMEZENI"), int(QStringLiteral("!$-+").indexOf(text(8).left(1))));
            q.bindValue(QStringLiteral(":PUJCKY"), int(text(9).toDouble()));
            q.bindValue(QStringLiteral(":TEXT"), text(10));
            if (!q.exec())
                throw EDatabaseError(q.lastError().text());
        }
    });
}

// --- ours and bare in turn -----------------------------------------------------------------

void benchEngine(const QString &engine, bool sqlite)
{
    const qint64 fill = timed([&] { fillCustomers(sqlite); });
    print(QStringLiteral("%1: filled %2 customers in %3 ms").arg(engine).arg(Customers).arg(fill));
    BrowseQuery list;
    list.setSql(CustomerListSql());
    list.open();
    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("ours.xlsx"));
    const QString bare = dir.filePath(QStringLiteral("bare.xlsx"));

    const std::vector<BareCell> cells = bareCells(list);
    const auto exportOnce = [&] {
        inProgressWindow([&](TFormImportExportProgress &progress) {
            progress.ProgressBar->setRange(0, list.recordCount());
            XlsxWorksheet sheet(ours);
            ExportList(list, sheet, [&](int row) { return progress.Step(row, QStringLiteral(" Exportuji záznam číslo: %1")); });
            sheet.save();
        });
    };
    std::vector<qint64> exportOurs, exportBare, importOurs, importBare;
    for (int run = -1; run < ExportRuns; ++run) {
        const qint64 oursTime = timed(exportOnce);
        const qint64 bareTime = timed([&] { bareExport(cells, list.fieldCount(), bare); });
        if (run >= 0) {
            exportOurs.push_back(oursTime);
            exportBare.push_back(bareTime);
        }
    }
    for (int run = 0; run < Runs; ++run) {
        importOurs.push_back(timed([&] {
            inProgressWindow([&](TFormImportExportProgress &progress) {
                const auto sheet = ReadWorksheet(ours);
                const ExchangeResult result = ImportSheet(*sheet, ExchangeTable::Customers, ImportMode::Replace, [&](int row) {
                    return progress.Step(row, QStringLiteral(" Importuji záznam číslo: %1"));
                });
                if (result.outcome != ExchangeResult::Done || result.rows != Customers)
                    throw EDatabaseError(QStringLiteral("import failed: row %1: %2").arg(result.failedRow).arg(result.why));
            });
        }));
        importBare.push_back(timed([&] { bareImport(bare); }));
    }
    print(QStringLiteral("%1: export of %2 customers (numbers, dates and texts as typed cells): ours %3 ms, "
                         "bare libxlsxwriter %4 ms, ratio %5 (median of %6)")
              .arg(engine).arg(Customers).arg(median(exportOurs)).arg(median(exportBare))
              .arg(ratio(median(exportOurs), median(exportBare))).arg(ExportRuns));
    print(QStringLiteral("%1: import of %2 customers: ours %3 ms, bare liborcus and inserts %4 ms, ratio %5 (median of %6)")
              .arg(engine).arg(Customers).arg(median(importOurs)).arg(median(importBare))
              .arg(ratio(median(importOurs), median(importBare))).arg(Runs));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    return bench::runOnEngines(QStringLiteral("valmedo4_bench_exchange"), benchEngine);
}
