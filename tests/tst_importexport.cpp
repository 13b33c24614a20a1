// The spreadsheet exchange of customers and videos: the cell texts and conversions,
// the workbook files (our .xlsx read by another reader, .xlsx and .ods read by ours),
// export and import round trips, the import as one transaction (a bad row or a stop
// imports nothing), and the choice and progress windows with the import right.
#include "catalogue/CustomerStore.h"
#include "catalogue/ExchangeRules.h"
#include "catalogue/ExchangeStore.h"
#include "catalogue/UImportExport.h"
#include "catalogue/UImportExportProgress.h"
#include "catalogue/VideoStore.h"
#include "catalogue/Worksheet.h"
#include "core/RunGlobals.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/Lookups.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"
#include "support/DeskAnswers.h"
#include "support/LoggedInDesk.h"
#include "support/ModalAnswers.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"
#include "support/TestFiles.h"

#include <QDeadlineTimer>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <xlsxwriter.h>


namespace {

const QDateTime Registered(QDate(2024, 2, 1), QTime(10, 30));

void addCustomer(qint64 number, const QString &name, const QVariant &registered, const QVariant &limit,
                 int lends, const QString &text)
{
    SetCommand(QStringLiteral(
        "INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,TELEFON,ADRESA1,ADRESA2,RC,OP,REGISTRACE,OMEZENI,PUJCKY,TEXT) "
        "VALUES (:ZAKAZNIK,:JMENO,:TELEFON,:ADRESA1,:ADRESA2,:RC,:OP,:REGISTRACE,:OMEZENI,:PUJCKY,:TEXT)"));
    SetCommandParam(QStringLiteral("ZAKAZNIK"), number);
    SetCommandParam(QStringLiteral("JMENO"), name);
    SetCommandParam(QStringLiteral("TELEFON"), QStringLiteral("777%1").arg(number, 6, 10, QLatin1Char('0')));
    SetCommandParam(QStringLiteral("ADRESA1"), QStringLiteral("Žižkova %1").arg(number));
    SetCommandParam(QStringLiteral("ADRESA2"), QStringLiteral("Ústí nad Labem"));
    SetCommandParam(QStringLiteral("RC"), QStringLiteral("70010%1").arg(number, 5, 10, QLatin1Char('0')));
    SetCommandParam(QStringLiteral("OP"), QStringLiteral("AB%1").arg(number));
    SetCommandParam(QStringLiteral("REGISTRACE"), registered);
    SetCommandParam(QStringLiteral("OMEZENI"), limit);
    SetCommandParam(QStringLiteral("PUJCKY"), lends);
    SetCommandParam(QStringLiteral("TEXT"), text);
    ExecCommand();
}

// Four customers: Czech names (so that Czech order differs from code order), a date
// at midnight, no date, no restriction, an empty note.
void addCustomers()
{
    addCustomer(1, QStringLiteral("Čapek Karel"), Registered, 3, 12, QStringLiteral("Věrný zákazník"));
    addCustomer(2, QStringLiteral("Řehoř Ďábelský"), QDateTime(QDate(2023, 5, 6), QTime(0, 0)), QVariant(), 0,
                QStringLiteral(""));
    addCustomer(3, QStringLiteral("Novák"), QVariant(), 0, 1, QStringLiteral("Dluží"));
    addCustomer(4, QStringLiteral("Adam"), Registered, 2, 0, QStringLiteral(""));
}

int addDirection(const QString &name)
{
    SetCommand(QStringLiteral("INSERT INTO tab_zamereni (ZAMERENI) VALUES (:ZAMERENI) RETURNING ID_ZAMERENI"));
    SetCommandParam(QStringLiteral("ZAMERENI"), name);
    return ExecCommandValue().toInt();
}

void addVideo(qint64 number, const QString &title, int direction, const QString &medium, const QString &price)
{
    SetCommand(QStringLiteral("INSERT INTO tab_video (VIDEO,TITUL,ZAMERENI,NOSIC,CENA,REGISTRACE,VYPUJCENA) "
                              "VALUES (:VIDEO,:TITUL,:ZAMERENI,(SELECT ID_NOSIC FROM tab_nosic WHERE NOSIC=:NOSIC),"
                              ":CENA,:REGISTRACE,:VYPUJCENA)"));
    SetCommandParam(QStringLiteral("VIDEO"), number);
    SetCommandParam(QStringLiteral("TITUL"), title);
    SetCommandParam(QStringLiteral("ZAMERENI"), direction);
    SetCommandParam(QStringLiteral("NOSIC"), medium);
    SetCommandParam(QStringLiteral("CENA"), QVariant::fromValue(Money::fromString(price)));
    SetCommandParam(QStringLiteral("REGISTRACE"), Registered);
    SetCommandParam(QStringLiteral("VYPUJCENA"), int(number) * 2);
    ExecCommand();
}

void addVideos()
{
    const int comedy = addDirection(QStringLiteral("Komedie"));
    const int drama = addDirection(QStringLiteral("Drama"));
    addVideo(1, QStringLiteral("Pelíšky"), comedy, QStringLiteral("DVD"), QStringLiteral("44.35"));
    addVideo(2, QStringLiteral("Obecná škola"), drama, QStringLiteral("VHS"), QStringLiteral("1234.5"));
}

// The sheet's rows as lists of cell values, up to `columns`.
QList<QVariantList> sheetValues(const Worksheet &sheet, int rows, int columns)
{
    QList<QVariantList> out;
    for (int r = 1; r <= rows; ++r) {
        QVariantList cells;
        for (int c = 1; c <= columns; ++c)
            cells << sheet.cell(r, c);
        out << cells;
    }
    return out;
}

const QDateTime May6(QDate(2023, 5, 6), QTime(0, 0));

// The filtered and sorted customer list as its cells: numbers, dates and texts.
const QList<QVariantList> CustomerCells = {
    {1.0, "Čapek Karel", "777000001", "Žižkova 1", "Ústí nad Labem", "7001000001", "AB1", Registered, "+", 12.0,
     "Věrný zákazník"},
    {3.0, "Novák", "777000003", "Žižkova 3", "Ústí nad Labem", "7001000003", "AB3", QVariant(), "!", 1.0, "Dluží"},
    {2.0, "Řehoř Ďábelský", "777000002", "Žižkova 2", "Ústí nad Labem", "7001000002", "AB2", May6, QVariant(), 0.0,
     QVariant()},
};

// The first sheet of a workbook as openpyxl reads it: per cell "kind|value|number format",
// the kind d for a date, n for a number, s for a text.
QList<QStringList> OpenpyxlCells(const QString &path);

// The customer list of the page, filtered (not customer 4) and sorted by name in Czech order.
void openSortedCustomers(BrowseQuery &list)
{
    list.setSql(CustomerListSql());
    QStringList lines = list.sql();
    lines.last() = QStringLiteral("ORDER BY ") + CurrentServer()->dialect().textOrder(QStringLiteral("JMENO"));
    list.setSql(lines);
    SetQueryWhere(list, QStringLiteral("WHERE tab_zakaznik.ZAKAZNIK<=3\n"));
}

// Three good customer rows, numbers 11 to 13.
void fillCustomerSheet(MemoryWorksheet &sheet)
{
    for (int r = 1; r <= 3; ++r) {
        sheet.setCell(r, 1, QString::number(10 + r));
        sheet.setCell(r, 2, QStringLiteral("Zákazník %1").arg(r));
        sheet.setCell(r, 8, QStringLiteral("1.2.2024 10:30:00"));
        sheet.setCell(r, 9, QStringLiteral("-"));
        sheet.setCell(r, 10, QString::number(r));
    }
}

// Three good video rows, numbers 11 to 13.
void fillVideoSheet(MemoryWorksheet &sheet)
{
    for (int r = 1; r <= 3; ++r) {
        sheet.setCell(r, 1, QString::number(10 + r));
        sheet.setCell(r, 2, QStringLiteral("Titul %1").arg(r));
        sheet.setCell(r, 3, QStringLiteral("Drama"));
        sheet.setCell(r, 4, QStringLiteral("DVD"));
        sheet.setCell(r, 5, QStringLiteral("99,50"));
    }
}

// The three good rows of the table's sheet with `cell` in row 2's `column`.
MemoryWorksheet sheetWithCell(ExchangeTable table, int column, const QVariant &cell)
{
    MemoryWorksheet sheet;
    if (table == ExchangeTable::Customers)
        fillCustomerSheet(sheet);
    else
        fillVideoSheet(sheet);
    sheet.setValue(2, column, cell);
    return sheet;
}

// Imports the sheet, which must fail at row 2 for `why` and leave the table as it was;
// what went otherwise, or the empty text.
QString refusalMismatch(const Worksheet &sheet, ExchangeTable table, ImportMode mode, const QString &why)
{
    const QString name = table == ExchangeTable::Customers ? "tab_zakaznik" : "tab_video";
    const QStringList before = TableRows(name);
    const ExchangeResult result = ImportSheet(sheet, table, mode, [](int) { return true; });
    if (result.outcome != ExchangeResult::Failed || result.failedRow != 2 || result.why != why)
        return QStringLiteral("expected row 2 to fail for „%1“, got outcome %2 at row %3: „%4“")
            .arg(why).arg(result.outcome).arg(result.failedRow).arg(result.why);
    if (TableRows(name) != before)
        return QStringLiteral("the failed import for „%1“ changed %2").arg(why, name);
    return {};
}

// Runs the Debian python3 with the script; false when it fails.
bool runPython(const QString &script, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), script} + arguments);
    if (!python.waitForFinished(30000) || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        qWarning("python: %s", python.readAllStandardError().constData());
        return false;
    }
    if (output)
        *output = python.readAllStandardOutput();
    return true;
}

QList<QStringList> OpenpyxlCells(const QString &path)
{
    QByteArray json;
    if (!runPython(QStringLiteral(
            "import json, sys, openpyxl\n"
            "sheet = openpyxl.load_workbook(sys.argv[1]).worksheets[0]\n"
            "def cell(c):\n"
            "    kind = 'd' if c.is_date else c.data_type\n"
            "    return '%s|%s|%s' % (kind, '' if c.value is None else c.value, c.number_format)\n"
            "print(json.dumps([[cell(c) for c in row] for row in sheet.iter_rows()]))\n"), {path}, &json))
        return {};
    QList<QStringList> rows;
    for (const QJsonValue &row : QJsonDocument::fromJson(json).array()) {
        QStringList cells;
        for (const QJsonValue &cell : row.toArray())
            cells << cell.toString();
        rows << cells;
    }
    return rows;
}

// The progress window's stop pressed as soon as it shows its first caption.
void AbortAtOnce(QDialog *dialog)
{
    QObject::connect(dialog, &QWidget::windowTitleChanged, dialog, [dialog] {
        dialog->findChild<QPushButton *>(QStringLiteral("ButtonAbort"))->click();
    });
}

const ExchangeProgress NoStop = [](int) { return true; };

// A workbook as a spreadsheet types it: a number, two dates of date formats, money of a
// currency format, a boolean and a formula in the first sheet; a second sheet.
bool WriteTypedWorkbook(const QString &path)
{
    lxw_workbook *book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Zákazníci");
    lxw_format *dateTime = workbook_add_format(book);
    format_set_num_format(dateTime, "d.m.yyyy h:mm");
    lxw_format *date = workbook_add_format(book);
    format_set_num_format_index(date, 14);
    lxw_format *money = workbook_add_format(book);
    format_set_num_format(money, "#,##0.00\\ \"Kč\"");
    lxw_datetime registered = {2024, 2, 1, 10, 30, 0};
    lxw_datetime midnight = {2023, 5, 6, 0, 0, 0};
    worksheet_write_number(sheet, 0, 0, 42, nullptr);
    worksheet_write_datetime(sheet, 0, 1, &registered, dateTime);
    worksheet_write_datetime(sheet, 0, 2, &midnight, date);
    worksheet_write_number(sheet, 0, 3, 44.35, money);
    worksheet_write_boolean(sheet, 0, 4, 1, nullptr);
    worksheet_write_formula_num(sheet, 0, 5, "=A1+1", nullptr, 43);
    lxw_worksheet *second = workbook_add_worksheet(book, "Druhý");
    worksheet_write_string(second, 1, 0, "jiný", nullptr);
    return workbook_close(book) == LXW_NO_ERROR;
}

} // namespace

class TestImportExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Numbers and dates go as number and date cells with their formats, texts as texts
    // whatever they hold; what a cell cannot hold exactly goes as the desk's text.
    void exportCells_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("cell");
        QTest::addColumn<int>("format");
        const auto row = [](const char *tag, FieldKind kind, const QVariant &value, const QVariant &cell,
                            CellFormat format) {
            QTest::newRow(tag) << int(kind) << value << cell << int(format);
        };
        const auto money = [](const char *text) { return QVariant::fromValue(Money::fromString(text)); };
        row("number", FieldKind::Int64, qint64(42), 42.0, CellFormat::Digits13);
        row("negative number", FieldKind::Int64, qint64(-42), -42.0, CellFormat::Digits13);
        row("highest number", FieldKind::Int64, qint64(9999999999999), 9999999999999.0, CellFormat::Digits13);
        row("number beyond a double", FieldKind::Int64, qint64(9223372036854775807), "9223372036854775807",
            CellFormat::General);
        row("count", FieldKind::Integer, 7, 7.0, CellFormat::General);
        row("money", FieldKind::Money, money("1234.5"), 1234.5, CellFormat::Money);
        row("money of halers", FieldKind::Money, money("44.35"), 44.35, CellFormat::Money);
        row("money of ten-thousandths", FieldKind::Money, money("-0.0001"), -0.0001, CellFormat::Money);
        row("date and time", FieldKind::DateTime, Registered, Registered, CellFormat::DateTime);
        row("midnight", FieldKind::DateTime, May6, May6, CellFormat::Date);
        row("first day", FieldKind::DateTime, QDateTime(QDate(1900, 3, 1), QTime(0, 0)),
            QDateTime(QDate(1900, 3, 1), QTime(0, 0)), CellFormat::Date);
        row("before March 1900", FieldKind::DateTime, QDateTime(QDate(1900, 2, 28), QTime(8, 0)),
            "28.2.1900 8:00:00", CellFormat::General);
        row("digits text", FieldKind::Text, "7001011234", "7001011234", CellFormat::General);
        row("Czech text", FieldKind::Text, "Čapek", "Čapek", CellFormat::General);
        row("null", FieldKind::Int64, QVariant(QMetaType::fromType<qint64>()), QVariant(), CellFormat::General);
    }
    void exportCells()
    {
        QFETCH(int, kind);
        QFETCH(QVariant, value);
        QFETCH(QVariant, cell);
        QFETCH(int, format);
        const ExportCell exported = ExportCellOf(value, FieldKind(kind));
        QCOMPARE(exported.value, cell);
        QCOMPARE(exported.value.typeId(), cell.typeId());
        QCOMPARE(int(exported.format), format);
    }

    void cellConversions_data()
    {
        QTest::addColumn<QString>("conversion");
        QTest::addColumn<QVariant>("cell");
        QTest::addColumn<QVariant>("expected"); // invalid: the cell is refused
        const QVariant refused;
        QTest::newRow("integer empty") << "integer" << QVariant() << QVariant(0);
        QTest::newRow("integer half down to even") << "integer" << QVariant(98.5) << QVariant(98);
        QTest::newRow("integer half up to even") << "integer" << QVariant(99.5) << QVariant(100);
        QTest::newRow("integer Czech text") << "integer" << QVariant("1 234,50") << QVariant(1234);
        QTest::newRow("integer price") << "integer" << QVariant("44,35") << QVariant(44);
        QTest::newRow("integer not a number") << "integer" << QVariant("12 kusů") << refused;
        QTest::newRow("integer out of range") << "integer" << QVariant(3e9) << refused;
        QTest::newRow("key text") << "key" << QVariant("0000000000042") << QVariant(qint64(42));
        QTest::newRow("key number") << "key" << QVariant(42.0) << QVariant(qint64(42));
        QTest::newRow("key fraction") << "key" << QVariant(42.5) << refused;
        QTest::newRow("key word") << "key" << QVariant("abc") << refused;
        QTest::newRow("key with a sign") << "key" << QVariant("+42") << QVariant(qint64(42));
        QTest::newRow("key exponent") << "key" << QVariant("4e2") << refused;
        QTest::newRow("price empty") << "price" << QVariant() << QVariant("0.0000");
        QTest::newRow("price Czech text") << "price" << QVariant("1 234,50") << QVariant("1234.5000");
        QTest::newRow("price number") << "price" << QVariant(22.5) << QVariant("22.5000");
        QTest::newRow("price near a double") << "price" << QVariant(44.35) << QVariant("44.3500");
        QTest::newRow("price ten-thousandths") << "price" << QVariant("0,0001") << QVariant("0.0001");
        QTest::newRow("price five decimals") << "price" << QVariant("0,00001") << refused;
        QTest::newRow("price five decimals number") << "price" << QVariant(0.00001) << refused;
        QTest::newRow("price not a number") << "price" << QVariant("zdarma") << refused;
        QTest::newRow("date as exported") << "date" << QVariant("1.2.2024 10:30:00") << QVariant(Registered);
        QTest::newRow("date with zeros") << "date" << QVariant("01.02.2024 10:30") << QVariant(Registered);
        QTest::newRow("date alone") << "date" << QVariant("6.5.2023")
                                    << QVariant(QDateTime(QDate(2023, 5, 6), QTime(0, 0)));
        QTest::newRow("date of a database") << "date" << QVariant("2024-02-01 10:30:00") << QVariant(Registered);
        QTest::newRow("date cell") << "date" << QVariant(Registered) << QVariant(Registered);
        QTest::newRow("date empty") << "date" << QVariant(QString()) << QVariant(QMetaType::fromType<QDateTime>());
        QTest::newRow("date impossible") << "date" << QVariant("32.1.2024") << refused;
        QTest::newRow("date a plain number") << "date" << QVariant(45000.0) << refused;
        QTest::newRow("limit !") << "limit" << QVariant("!") << QVariant(0);
        QTest::newRow("limit $") << "limit" << QVariant("$") << QVariant(1);
        QTest::newRow("limit -") << "limit" << QVariant("-") << QVariant(2);
        QTest::newRow("limit + text") << "limit" << QVariant("+ VIP") << QVariant(3);
        QTest::newRow("limit other") << "limit" << QVariant("x") << QVariant(QMetaType::fromType<int>());
        QTest::newRow("limit empty") << "limit" << QVariant() << QVariant(QMetaType::fromType<int>());
        QTest::newRow("text number") << "text" << QVariant(777123456.0) << QVariant("777123456");
        QTest::newRow("text decimal") << "text" << QVariant(44.35) << QVariant("44,35");
        QTest::newRow("text date") << "text" << QVariant(QDateTime(QDate(2023, 5, 6), QTime(0, 0)))
                                   << QVariant("6.5.2023");
        QTest::newRow("text cut to 9") << "text9" << QVariant("Žluťoučký kůň") << QVariant("Žluťoučký");
        QTest::newRow("text cut by characters") << "text9" << QVariant("12345678\U0001F600\U0001F600")
                                                << QVariant("12345678\U0001F600");
    }
    void cellConversions()
    {
        QFETCH(QString, conversion);
        QFETCH(QVariant, cell);
        QFETCH(QVariant, expected);
        const auto convert = [&]() -> QVariant {
            if (conversion == "integer")
                return CellAsInteger(cell);
            if (conversion == "key")
                return CellAsKey(cell);
            if (conversion == "date")
                return CellAsDateTime(cell);
            if (conversion == "limit")
                return CellAsLimit(cell);
            if (conversion == "price")
                return CellAsPrice(cell).toSqlText();
            return CellAsString(cell, conversion == "text9" ? 9 : -1);
        };
        if (!expected.isValid()) {
            QVERIFY_THROWS_EXCEPTION(ECellError, convert());
            return;
        }
        const QVariant value = convert();
        QCOMPARE(value.isNull(), expected.isNull());
        if (!expected.isNull())
            QCOMPARE(value, expected);
    }

    // Our .xlsx, and .xlsx workbooks typed by a spreadsheet (numbers, dates of a date
    // format, booleans, formulas): the first sheet reads with its types.
    void workbookFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Zákazníci.xlsx"));
        {
            XlsxWorksheet sheet(path);
            sheet.setCell(1, 1, QStringLiteral("0000000000001"));
            sheet.setCell(1, 2, QStringLiteral("Žluťoučký kůň"));
            sheet.setCell(2, 3, QStringLiteral("x"));
            QVERIFY(!QFile::exists(path)); // written only when saved
            sheet.save();
        }
        auto read = ReadWorksheet(path);
        QCOMPARE(read->cell(1, 1), QVariant(QStringLiteral("0000000000001")));
        QCOMPARE(read->cell(1, 2), QVariant(QStringLiteral("Žluťoučký kůň")));
        QVERIFY(read->cell(2, 1).isNull());
        QCOMPARE(read->cell(2, 3), QVariant(QStringLiteral("x")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Zákazníci.xlsx"});

        // A workbook dropped unsaved leaves neither a file nor a part of one, and the
        // file it would have replaced stays.
        { XlsxWorksheet dropped(path); dropped.setCell(1, 1, QStringLiteral("jiný")); }
        QCOMPARE(ReadWorksheet(path)->cell(1, 1), QVariant(QStringLiteral("0000000000001")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

        const QString typed = dir.filePath(QStringLiteral("typed.xlsx"));
        QVERIFY(WriteTypedWorkbook(typed));
        read = ReadWorksheet(typed);
        QCOMPARE(read->cell(1, 1), QVariant(42.0));
        QCOMPARE(read->cell(1, 2), QVariant(Registered));
        QCOMPARE(read->cell(1, 3), QVariant(QDateTime(QDate(2023, 5, 6), QTime(0, 0))));
        QCOMPARE(read->cell(1, 4), QVariant(44.35));
        QCOMPARE(read->cell(1, 5), QVariant(true));
        QCOMPARE(read->cell(1, 6), QVariant(43.0));
        QVERIFY(read->cell(2, 1).isNull()); // the second sheet's cell is not read

        // A folder that is not there: no workbook is begun.
        QVERIFY_THROWS_EXCEPTION(EWorksheetError, XlsxWorksheet(dir.filePath(QStringLiteral("neni/Export.xlsx"))));

        // Not a workbook.
        WriteBytes(dir.filePath(QStringLiteral("text.xlsx")), "ZAKAZNIK;JMENO\r\n");
        QVERIFY_THROWS_EXCEPTION(EWorksheetError, ReadWorksheet(dir.filePath(QStringLiteral("text.xlsx"))));
        QVERIFY_THROWS_EXCEPTION(EWorksheetError, ReadWorksheet(dir.filePath(QStringLiteral("neni.xlsx"))));
    }

    // The customer list as filtered and sorted goes out as text cells, another reader
    // (openpyxl) sees the same cells, and the file imported with "delete and replace"
    // gives the same rows back; the list neither moves nor tells of a row change.
    void customerRoundTrip_data() { AddEngineRows(); }
    void customerRoundTrip()
    {
        OPEN_TEST_DATABASE(database);
        addCustomers();
        BrowseQuery list;
        openSortedCustomers(list);
        list.moveTo(1);
        QSignalSpy rowChanges(&list, &DataSet::currentRowChanged);
        const QString path = database.scratchDir() + "/Zákazníci.xlsx";
        {
            XlsxWorksheet sheet(path);
            QList<int> steps;
            const ExchangeResult result = ExportList(list, sheet, [&](int row) { steps << row; return true; });
            QCOMPARE(result.outcome, ExchangeResult::Done);
            QCOMPARE(result.rows, 3);
            QCOMPARE(steps, (QList<int>{0, 1, 2, 3}));
            sheet.save();
        }
        QCOMPARE(list.currentRow(), 1);
        QCOMPARE(rowChanges.count(), 0);

        const auto read = ReadWorksheet(path);
        QCOMPARE(sheetValues(*read, 3, CustomerColumns), CustomerCells);
        QVERIFY(read->cell(4, 1).isNull());
        const QString texts = QStringLiteral("s|%1|General");
        const QString empty = QStringLiteral("n||General");
        QCOMPARE(OpenpyxlCells(path),
                 (QList<QStringList>{
                     {"n|1|0000000000000", texts.arg("Čapek Karel"), texts.arg("777000001"), texts.arg("Žižkova 1"),
                      texts.arg("Ústí nad Labem"), texts.arg("7001000001"), texts.arg("AB1"),
                      "d|2024-02-01 10:30:00|d.m.yyyy h:mm:ss", texts.arg("+"), "n|12|General",
                      texts.arg("Věrný zákazník")},
                     {"n|3|0000000000000", texts.arg("Novák"), texts.arg("777000003"), texts.arg("Žižkova 3"),
                      texts.arg("Ústí nad Labem"), texts.arg("7001000003"), texts.arg("AB3"), empty, texts.arg("!"),
                      "n|1|General", texts.arg("Dluží")},
                     {"n|2|0000000000000", texts.arg("Řehoř Ďábelský"), texts.arg("777000002"),
                      texts.arg("Žižkova 2"), texts.arg("Ústí nad Labem"), texts.arg("7001000002"), texts.arg("AB2"),
                      "d|2023-05-06 00:00:00|d.m.yyyy", empty, "n|0|General", empty}}));

        // Every column comes back as it was, an empty text as the empty text and no
        // registration as none.
        const QString everyRow = QStringLiteral("SELECT * FROM tab_zakaznik ORDER BY 1");
        QStringList expected = TestRows(everyRow, QStringLiteral("NULL"));
        expected.removeLast(); // customer 4 was not in the list
        const ExchangeResult result = ImportSheet(*read, ExchangeTable::Customers, ImportMode::Replace, NoStop);
        QCOMPARE(result.outcome, ExchangeResult::Done);
        QCOMPARE(result.rows, 3);
        QCOMPARE(TestRows(everyRow, QStringLiteral("NULL")), expected);
    }

    // Videos go out with the price as a money cell and come back with their genre and
    // medium and every column as it was, the price with its halers.
    void videoRoundTrip_data() { AddEngineRows(); }
    void videoRoundTrip()
    {
        OPEN_TEST_DATABASE(database);
        addVideos();
        addVideo(3, QStringLiteral(""), GetDirectionId(QStringLiteral("Drama")), QStringLiteral("DVD"),
                 QStringLiteral("22.5"));
        BrowseQuery list;
        list.setSql(VideoListSql());
        list.open();
        const QString path = database.scratchDir() + "/Video.xlsx";
        {
            XlsxWorksheet sheet(path);
            QCOMPARE(ExportList(list, sheet, NoStop).rows, 3);
            sheet.save();
        }
        const QString registered = QStringLiteral("d|2024-02-01 10:30:00|d.m.yyyy h:mm:ss");
        QCOMPARE(OpenpyxlCells(path),
                 (QList<QStringList>{
                     {"n|1|0000000000000", "s|Pelíšky|General", "s|Komedie|General", "s|DVD|General",
                      "n|44.35|#,##0.00", registered, "n|2|General"},
                     {"n|2|0000000000000", "s|Obecná škola|General", "s|Drama|General", "s|VHS|General",
                      "n|1234.5|#,##0.00", registered, "n|4|General"},
                     {"n|3|0000000000000", "n||General", "s|Drama|General", "s|DVD|General", "n|22.5|#,##0.00",
                      registered, "n|6|General"}}));

        const QString everyRow = QStringLiteral("SELECT * FROM tab_video ORDER BY 1");
        const QStringList before = TestRows(everyRow);
        QCOMPARE(ImportSheet(*ReadWorksheet(path), ExchangeTable::Videos, ImportMode::Replace, NoStop).outcome,
                 ExchangeResult::Done);
        QCOMPARE(TestRows(everyRow), before);
        QVERIFY(before.join(' ').contains(QStringLiteral("22.5000")));
    }

    // A sheet typed by LibreOffice (.ods: numbers, dates, repeated empty cells) imports.
    void odsImport_data() { AddEngineRows(); }
    void odsImport()
    {
        OPEN_TEST_DATABASE(database);
        const QString path = database.scratchDir() + "/Zákazníci.ods";
        QVERIFY(runPython(QStringLiteral(
            "import sys\n"
            "from odf.opendocument import OpenDocumentSpreadsheet\n"
            "from odf.table import Table, TableRow, TableCell\n"
            "from odf.text import P\n"
            "def cell(text=None, **kw):\n"
            "    c = TableCell(**kw)\n"
            "    if text is not None: c.addElement(P(text=text))\n"
            "    return c\n"
            "doc = OpenDocumentSpreadsheet()\n"
            "sheet = Table(name='List1')\n"
            "for key, name, date in ((7, 'Čapek', '2024-02-01T10:30:00'), (8, 'Řehoř', '2023-05-06')):\n"
            "    row = TableRow()\n"
            "    row.addElement(cell(str(key), valuetype='float', value=str(key)))\n"
            "    row.addElement(cell(name, valuetype='string'))\n"
            "    row.addElement(cell(numbercolumnsrepeated=5))\n"
            "    row.addElement(cell(date, valuetype='date', datevalue=date))\n"
            "    row.addElement(cell('+', valuetype='string'))\n"
            "    row.addElement(cell('3', valuetype='float', value='3'))\n"
            "    sheet.addElement(row)\n"
            "doc.spreadsheet.addElement(sheet)\n"
            "other = Table(name='List2')\n"
            "row = TableRow(); row.addElement(cell('9', valuetype='float', value='9')); other.addElement(row)\n"
            "doc.spreadsheet.addElement(other)\n"
            "doc.save(sys.argv[1])\n"), {path}));
        const auto sheet = ReadWorksheet(path);
        QCOMPARE(ImportSheet(*sheet, ExchangeTable::Customers, ImportMode::Add, NoStop).rows, 2);
        BrowseQuery list;
        list.setSql(CustomerListSql());
        list.open();
        QCOMPARE(list.recordCount(), 2);
        QCOMPARE(list.valueAt(0, 0).toLongLong(), 7);
        QCOMPARE(list.valueAt(0, 1).toString(), QStringLiteral("Čapek"));
        QCOMPARE(list.valueAt(0, 7).toDateTime(), Registered);
        QCOMPARE(list.valueAt(1, 7).toDateTime(), QDateTime(QDate(2023, 5, 6), QTime(0, 0)));
        QCOMPARE(list.valueAt(1, 8).toString(), QStringLiteral("+"));
        QCOMPARE(list.valueAt(1, 9).toInt(), 3);
    }

    // A bad row imports nothing, the deletion of "delete and replace" included, and
    // names the sheet row and why.
    void badRow_data() { AddEngineRows(); }
    void badRow()
    {
        OPEN_TEST_DATABASE(database);
        addCustomers();
        addVideos();
        const auto customers = ExchangeTable::Customers;
        const auto videos = ExchangeTable::Videos;
        const auto replace = ImportMode::Replace;
        const struct {
            ExchangeTable table;
            ImportMode mode;
            int column;
            QVariant cell;
            QString why;
        } cases[] = {
            {customers, replace, 1, "12a", "sloupec A (kód): kód „12a“ není celé číslo"},
            {customers, replace, 8, "31.2.2024", "sloupec H (registrace): „31.2.2024“ není datum"},
            // A number twice in the sheet, and one the table holds.
            {customers, replace, 1, "11", "sloupec A (kód): kód 0000000000011 již v databázi existuje"},
            {customers, ImportMode::Add, 1, "1", "sloupec A (kód): kód 0000000000001 již v databázi existuje"},
            {customers, replace, 10, 3e9, "sloupec J (výpůjčky): číslo 3000000000 je mimo rozsah 0 až 32767"},
            {customers, replace, 10, "dvě", "sloupec J (výpůjčky): „dvě“ není číslo"},
            {videos, replace, 3, "Horor", "sloupec C (žánr): „Horor“ v číselníku není"},
            {videos, replace, 4, "Blu-ray", "sloupec D (nosič): „Blu-ray“ v číselníku není"},
            {videos, replace, 5, "300 000", "sloupec E (cena): číslo 300000 je mimo rozsah -214748,3648 až 214748,3647"},
        };
        for (const auto &c : cases) {
            const QString wrong = refusalMismatch(sheetWithCell(c.table, c.column, c.cell), c.table, c.mode, c.why);
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        }
    }

    // Each number, count and price at its limit imports as it stands; one step beyond it
    // the row fails, saying why, and nothing is imported. The limits are what the desk
    // lets a clerk write: numbers of 1 to 13 digits, lend counts of a small integer,
    // prices the price box takes.
    void importLimits_data() { AddEngineRows(); }
    void importLimits()
    {
        OPEN_TEST_DATABASE(database);
        addVideos();
        const auto customers = ExchangeTable::Customers;
        const auto videos = ExchangeTable::Videos;
        const QString keyRange = QStringLiteral("je mimo rozsah 1 až 9999999999999");
        const QString countRange = QStringLiteral("je mimo rozsah 0 až 32767");
        const QString priceRange = QStringLiteral("je mimo rozsah -214748,3648 až 214748,3647");
        const struct {
            ExchangeTable table;
            int column;
            const char *name;
            QVariant cell;
            QString stored; // the column's value once imported; empty when the row fails
            QString why;
        } cases[] = {
            {customers, 1, "ZAKAZNIK", "1", "1", {}},
            {customers, 1, "ZAKAZNIK", "9999999999999", "9999999999999", {}},
            {customers, 1, "ZAKAZNIK", 9999999999999.0, "9999999999999", {}},
            {customers, 1, "ZAKAZNIK", "0", {}, "sloupec A (kód): kód 0 " + keyRange},
            {customers, 1, "ZAKAZNIK", 0.0, {}, "sloupec A (kód): kód 0 " + keyRange},
            {customers, 1, "ZAKAZNIK", "-5", {}, "sloupec A (kód): kód -5 " + keyRange},
            {customers, 1, "ZAKAZNIK", "10000000000000", {}, "sloupec A (kód): kód 10000000000000 " + keyRange},
            {customers, 1, "ZAKAZNIK", 10000000000000.0, {}, "sloupec A (kód): kód 10000000000000 " + keyRange},
            {customers, 1, "ZAKAZNIK", 9.1e18, {}, "sloupec A (kód): kód 9,1e+18 " + keyRange},
            {customers, 1, "ZAKAZNIK", "9223372036854775807", {}, "sloupec A (kód): kód 9223372036854775807 " + keyRange},
            {customers, 1, "ZAKAZNIK", "99999999999999999999", {}, "sloupec A (kód): kód 99999999999999999999 " + keyRange},
            {customers, 10, "PUJCKY", "0", "0", {}},
            {customers, 10, "PUJCKY", 32767.0, "32767", {}},
            {customers, 10, "PUJCKY", "32767,4", "32767", {}},
            {customers, 10, "PUJCKY", "-1", {}, "sloupec J (výpůjčky): číslo -1 " + countRange},
            {customers, 10, "PUJCKY", "-7", {}, "sloupec J (výpůjčky): číslo -7 " + countRange},
            {customers, 10, "PUJCKY", 32768.0, {}, "sloupec J (výpůjčky): číslo 32768 " + countRange},
            {customers, 10, "PUJCKY", "32767,5", {}, "sloupec J (výpůjčky): číslo 32768 " + countRange},
            {videos, 1, "VIDEO", 9999999999999.0, "9999999999999", {}},
            {videos, 1, "VIDEO", "0", {}, "sloupec A (kód): kód 0 " + keyRange},
            {videos, 1, "VIDEO", "10000000000000", {}, "sloupec A (kód): kód 10000000000000 " + keyRange},
            {videos, 7, "VYPUJCENA", "32767", "32767", {}},
            {videos, 7, "VYPUJCENA", "-1", {}, "sloupec G (výpůjčky): číslo -1 " + countRange},
            {videos, 7, "VYPUJCENA", "32768", {}, "sloupec G (výpůjčky): číslo 32768 " + countRange},
            {videos, 5, "CENA", "214 748,3647", "214748.3647", {}},
            {videos, 5, "CENA", -214748.3648, "-214748.3648", {}},
            {videos, 5, "CENA", "22,50", "22.5000", {}},
            {videos, 5, "CENA", "214748,3648", {}, "sloupec E (cena): číslo 214748,3648 " + priceRange},
            {videos, 5, "CENA", -214748.3649, {}, "sloupec E (cena): číslo -214748,3649 " + priceRange},
            {videos, 5, "CENA", "22,00001", {}, "sloupec E (cena): cena 22,00001 má víc než čtyři desetinná místa"},
        };
        for (const auto &c : cases) {
            const MemoryWorksheet sheet = sheetWithCell(c.table, c.column, c.cell);
            if (!c.why.isEmpty()) {
                const QString wrong = refusalMismatch(sheet, c.table, ImportMode::Replace, c.why);
                QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
                continue;
            }
            const ExchangeResult result = ImportSheet(sheet, c.table, ImportMode::Replace, NoStop);
            const QString table = c.table == customers ? "tab_zakaznik" : "tab_video";
            const QString context = table + ' ' + c.cell.toString();
            QVERIFY2(result.outcome == ExchangeResult::Done, qPrintable(context + ": " + result.why));
            QVERIFY2(TestRows(QStringLiteral("SELECT %1 FROM %2").arg(c.name, table)).contains(c.stored),
                     qPrintable(context));
        }
    }

    // Empty text cells are stored as the empty text, as the dialogs store an empty box:
    // a customer without an address or birth number is found by those columns.
    void emptyCells_data() { AddEngineRows(); }
    void emptyCells()
    {
        OPEN_TEST_DATABASE(database);
        addVideos();
        MemoryWorksheet customers;
        customers.setCell(1, 1, QStringLiteral("7"));
        QCOMPARE(ImportSheet(customers, ExchangeTable::Customers, ImportMode::Add, NoStop).outcome,
                 ExchangeResult::Done);
        QCOMPARE(TestRows(QStringLiteral("SELECT JMENO, TELEFON, ADRESA1, ADRESA2, RC, OP, TEXT FROM tab_zakaznik")),
                 QStringList{"||||||"});
        MemoryWorksheet videos;
        fillVideoSheet(videos);
        videos.setValue(2, 2, QVariant());
        QCOMPARE(ImportSheet(videos, ExchangeTable::Videos, ImportMode::Replace, NoStop).outcome,
                 ExchangeResult::Done);
        QCOMPARE(TestRows(QStringLiteral("SELECT TITUL FROM tab_video WHERE VIDEO=12")), QStringList{""});
    }

    // A stop before the last row imports nothing (the deletion included), also one
    // asked for before the first row of a one-row sheet; a stop asked for during the
    // last row comes too late: every row was done, and that stands. An export stopped
    // after its first row has written that row only.
    void stop_data() { AddEngineRows(); }
    void stop()
    {
        OPEN_TEST_DATABASE(database);
        addCustomers();
        const QStringList before = TableRows(QStringLiteral("tab_zakaznik"));
        MemoryWorksheet sheet;
        fillCustomerSheet(sheet);
        ExchangeResult result = ImportSheet(sheet, ExchangeTable::Customers, ImportMode::Replace,
                                            [](int row) { return row < 1; });
        QCOMPARE(result.outcome, ExchangeResult::Aborted);
        QCOMPARE(result.rows, 0);
        QCOMPARE(TableRows(QStringLiteral("tab_zakaznik")), before);

        MemoryWorksheet oneRow;
        oneRow.setCell(1, 1, QStringLiteral("42"));
        result = ImportSheet(oneRow, ExchangeTable::Customers, ImportMode::Replace, [](int) { return false; });
        QCOMPARE(result.outcome, ExchangeResult::Aborted);
        QCOMPARE(TableRows(QStringLiteral("tab_zakaznik")), before);

        result = ImportSheet(sheet, ExchangeTable::Customers, ImportMode::Replace, [](int row) { return row < 3; });
        QCOMPARE(result.outcome, ExchangeResult::Done);
        QCOMPARE(TableRows(QStringLiteral("tab_zakaznik")).size(), 3);

        BrowseQuery list;
        list.setSql(CustomerListSql());
        list.open();
        MemoryWorksheet exported;
        result = ExportList(list, exported, [](int row) { return row < 1; });
        QCOMPARE(result.outcome, ExchangeResult::Aborted);
        QCOMPARE(result.rows, 1);
        QCOMPARE(exported.rowCount(), 1);
        QCOMPARE(ExportList(list, exported, [](int row) { return row < 3; }).outcome, ExchangeResult::Done);
    }

    // A user without ADMIN can only export: both import choices are disabled.
    void importRight_data() { AddEngineRows(); }
    void importRight()
    {
        QFETCH(Engine, engine);
        LoggedInDesk desk(engine, QStringLiteral("pokladna"), QStringLiteral("Heslo1"),
                          {QStringLiteral("ZAKAZNIK_EDITACE")});
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        BrowseQuery list;
        list.setSql(CustomerListSql());
        list.open();
        TFormImportExport exchange(ExchangeTable::Customers, list);
        exchange.show();
        QCOMPARE(exchange.windowTitle(), QStringLiteral(" Import / Export"));
        QVERIFY(!exchange.RadioButtonImportAdd->isEnabled());
        QVERIFY(!exchange.RadioButtonImportDelete->isEnabled());
        QVERIFY(exchange.RadioButtonExport->isEnabled());
        QVERIFY(exchange.RadioButtonExport->isChecked());
    }

    // The windows' main road: an export into a file chosen in the save dialog, the file
    // imported back with "delete and replace", the list run again.
    void windowRoundTrip_data() { AddEngineRows(); }
    void windowRoundTrip()
    {
        QFETCH(Engine, engine);
        LoggedInDesk desk(engine);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        SetProgramDir(desk.database().scratchDir());
        addCustomers();
        BrowseQuery list;
        openSortedCustomers(list);
        TFormImportExport exchange(ExchangeTable::Customers, list);
        exchange.show();
        QVERIFY(exchange.RadioButtonImportDelete->isEnabled());
        const QString path = desk.database().scratchDir() + "/Export.xlsx";
        {
            ModalAnswers answers({ChooseFile(path), RunProgress(), Accept()});
            QTest::mouseClick(exchange.ButtonStart, Qt::LeftButton);
            QCOMPARE(answers.shown().size(), 3);
            QCOMPARE(answers.shown().at(1).caption, QStringLiteral(" Informace"));
            QCOMPARE(answers.shown().at(1).text, QStringLiteral("Export dat byl dokončen v pořádku..."));
            QCOMPARE(answers.shown().at(1).detail, QStringLiteral("Data byla vyexportována do souboru..."));
        }
        QCOMPARE(sheetValues(*ReadWorksheet(path), 3, CustomerColumns), CustomerCells);

        SetCommand(QStringLiteral("UPDATE tab_zakaznik SET JMENO='Změněn'"));
        ExecCommand();
        exchange.RadioButtonImportDelete->setChecked(true);
        {
            ModalAnswers answers({ChooseFile(path), RunProgress(), Accept()});
            QTest::mouseClick(exchange.ButtonStart, Qt::LeftButton);
            QCOMPARE(answers.shown().size(), 3);
            QCOMPARE(answers.shown().at(1).text, QStringLiteral("Import dat byl dokončen v pořádku..."));
            QCOMPARE(answers.shown().at(1).detail, QStringLiteral("Data byla naimportována..."));
        }
        QCOMPARE(list.recordCount(), 3);
        QCOMPARE(list.valueAt(0, 1).toString(), QStringLiteral("Čapek Karel"));
        QVERIFY(exchange.isVisible()); // ready for another run
    }

    // "Přerušit" rolls the import back and says nothing was imported; a bad row says
    // which row and why; an empty workbook changes nothing, even with "vymazána"; a file
    // that is no workbook cannot be opened.
    void windowRefusals_data() { AddEngineRows(); }
    void windowRefusals()
    {
        QFETCH(Engine, engine);
        LoggedInDesk desk(engine);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        addCustomers();
        const QStringList before = TableRows(QStringLiteral("tab_zakaznik"));
        const QString path = desk.database().scratchDir() + "/Import.xlsx";
        {
            XlsxWorksheet sheet(path);
            for (int r = 1; r <= 3; ++r)
                sheet.setCell(r, 1, QString::number(10 + r));
            sheet.setCell(3, 8, QStringLiteral("zítra"));
            sheet.save();
        }
        BrowseQuery list;
        list.setSql(CustomerListSql());
        list.open();
        TFormImportExport exchange(ExchangeTable::Customers, list);
        exchange.show();
        exchange.RadioButtonImportDelete->setChecked(true);
        {
            ModalAnswers answers({ChooseFile(path), RunProgress(AbortAtOnce), Accept()});
            QTest::mouseClick(exchange.ButtonStart, Qt::LeftButton);
            QCOMPARE(answers.shown().at(1).text, QStringLiteral("Import dat byl přerušen uživatelem..."));
            QCOMPARE(answers.shown().at(1).detail, QStringLiteral("Žádná data nebyla naimportována..."));
        }
        {
            ModalAnswers answers({ChooseFile(path), RunProgress(), Accept()});
            QTest::mouseClick(exchange.ButtonStart, Qt::LeftButton);
            QCOMPARE(answers.shown().at(1).caption, QStringLiteral(" Upozornění"));
            QCOMPARE(answers.shown().at(1).text, QStringLiteral("Import dat neproběhl v pořádku..."));
            QCOMPARE(answers.shown().at(1).detail,
                     QStringLiteral("Řádek 3: sloupec H (registrace): „zítra“ není datum\n"
                                    "Žádná data nebyla naimportována..."));
        }
        QCOMPARE(TableRows(QStringLiteral("tab_zakaznik")), before);
        XlsxWorksheet(path).save(); // a workbook that holds nothing
        {
            ModalAnswers answers({ChooseFile(path), RunProgress(), Accept()});
            QTest::mouseClick(exchange.ButtonStart, Qt::LeftButton);
            QCOMPARE(answers.shown().at(1).text, QStringLiteral("Sešit neobsahuje žádná data..."));
        }
        QCOMPARE(TableRows(QStringLiteral("tab_zakaznik")), before);
        WriteBytes(path, "ZAKAZNIK;JMENO\r\n1;Novák\r\n");
        {
            ModalAnswers answers({ChooseFile(path), RunProgress(), Accept()});
            QTest::mouseClick(exchange.ButtonStart, Qt::LeftButton);
            QCOMPARE(answers.shown().at(1).text, QStringLiteral("Soubor nelze otevřít..."));
            QCOMPARE(answers.shown().at(1).detail, QStringLiteral("Soubor musí být sešit .xlsx nebo .ods..."));
        }
        QCOMPARE(TableRows(QStringLiteral("tab_zakaznik")), before);
    }
};

QTEST_MAIN(TestImportExport)
#include "tst_importexport.moc"
