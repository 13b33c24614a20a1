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

#define OPEN_DATABASE()                                                                                      \
    QFETCH(Engine, engine);                                                                                   \
    TestDatabase database(engine);                                                                            \
    QVERIFY2(database.isReady(), qPrintable(database.error()))

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
// at midnight, no date, no restriction.
void addCustomers()
{
    addCustomer(1, QStringLiteral("Čapek Karel"), Registered, 3, 12, QStringLiteral("Věrný zákazník"));
    addCustomer(2, QStringLiteral("Řehoř Ďábelský"), QDateTime(QDate(2023, 5, 6), QTime(0, 0)), QVariant(), 0,
                QString());
    addCustomer(3, QStringLiteral("Novák"), QVariant(), 0, 1, QStringLiteral("Dluží"));
    addCustomer(4, QStringLiteral("Adam"), Registered, 2, 0, QString());
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

// The sheet's rows as lists of cell texts, up to `columns`.
QList<QStringList> sheetTexts(const Worksheet &sheet, int rows, int columns)
{
    QList<QStringList> out;
    for (int r = 1; r <= rows; ++r) {
        QStringList cells;
        for (int c = 1; c <= columns; ++c)
            cells << sheet.cell(r, c).toString();
        out << cells;
    }
    return out;
}

const QList<QStringList> CustomerCells = {
    {"0000000000001", "Čapek Karel", "777000001", "Žižkova 1", "Ústí nad Labem", "7001000001", "AB1",
     "1.2.2024 10:30:00", "+", "12", "Věrný zákazník"},
    {"0000000000003", "Novák", "777000003", "Žižkova 3", "Ústí nad Labem", "7001000003", "AB3", "", "!", "1",
     "Dluží"},
    {"0000000000002", "Řehoř Ďábelský", "777000002", "Žižkova 2", "Ústí nad Labem", "7001000002", "AB2",
     "6.5.2023", "", "0", ""},
};

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
    void exportTexts()
    {
        QCOMPARE(ExportCellText(qint64(42), FieldKind::Int64), QStringLiteral("0000000000042"));
        QCOMPARE(ExportCellText(qint64(-42), FieldKind::Int64), QStringLiteral("-0000000000042"));
        QCOMPARE(ExportCellText(7, FieldKind::Integer), QStringLiteral("7"));
        QCOMPARE(ExportCellText(QVariant::fromValue(Money::fromString("1234.5")), FieldKind::Money),
                 QStringLiteral("1\u00A0234,50"));
        QCOMPARE(ExportCellText(Registered, FieldKind::DateTime), QStringLiteral("1.2.2024 10:30:00"));
        QCOMPARE(ExportCellText(QDateTime(QDate(2023, 5, 6), QTime(0, 0)), FieldKind::DateTime),
                 QStringLiteral("6.5.2023"));
        QCOMPARE(ExportCellText(QStringLiteral("Čapek"), FieldKind::Text), QStringLiteral("Čapek"));
        QCOMPARE(ExportCellText(QVariant(QMetaType::fromType<qint64>()), FieldKind::Int64), QString());
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
        OPEN_DATABASE();
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
        QCOMPARE(sheetTexts(*read, 3, CustomerColumns), CustomerCells);
        QVERIFY(read->cell(4, 1).isNull());
        QByteArray json;
        QVERIFY(runPython(QStringLiteral(
            "import json, sys, openpyxl\n"
            "sheet = openpyxl.load_workbook(sys.argv[1]).worksheets[0]\n"
            "print(json.dumps([[c.value or '' for c in row] for row in sheet.iter_rows()]))\n"), {path}, &json));
        QList<QStringList> seen;
        for (const QJsonValue &row : QJsonDocument::fromJson(json).array()) {
            QStringList cells;
            for (const QJsonValue &cell : row.toArray())
                cells << cell.toString();
            seen << cells;
        }
        QCOMPARE(seen, CustomerCells);

        QStringList expected = TableRows(QStringLiteral("tab_zakaznik"));
        expected.removeLast(); // customer 4 was not in the list
        const ExchangeResult result = ImportSheet(*read, ExchangeTable::Customers, ImportMode::Replace, NoStop);
        QCOMPARE(result.outcome, ExchangeResult::Done);
        QCOMPARE(result.rows, 3);
        QCOMPARE(TableRows(QStringLiteral("tab_zakaznik")), expected);
    }

    // Videos come back with their genre and medium, the price in whole crowns.
    void videoRoundTrip_data() { AddEngineRows(); }
    void videoRoundTrip()
    {
        OPEN_DATABASE();
        addVideos();
        BrowseQuery list;
        list.setSql(VideoListSql());
        list.open();
        MemoryWorksheet sheet;
        QCOMPARE(ExportList(list, sheet, NoStop).rows, 2);
        QCOMPARE(sheetTexts(sheet, 2, VideoColumns),
                 (QList<QStringList>{
                     {"0000000000001", "Pelíšky", "Komedie", "DVD", "44,35", "1.2.2024 10:30:00", "2"},
                     {"0000000000002", "Obecná škola", "Drama", "VHS", "1\u00A0234,50", "1.2.2024 10:30:00", "4"}}));
        QCOMPARE(ImportSheet(sheet, ExchangeTable::Videos, ImportMode::Replace, NoStop).outcome,
                 ExchangeResult::Done);
        list.requery();
        QCOMPARE(list.valueAt(0, 4).value<Money>(), Money::fromCrowns(44));
        QCOMPARE(list.valueAt(1, 4).value<Money>(), Money::fromCrowns(1234));
        QCOMPARE(list.valueAt(1, 2).toString(), QStringLiteral("Drama"));
        QCOMPARE(list.valueAt(1, 3).toString(), QStringLiteral("VHS"));
        QCOMPARE(list.valueAt(1, 5).toDateTime(), Registered);
    }

    // A sheet typed by LibreOffice (.ods: numbers, dates, repeated empty cells) imports.
    void odsImport_data() { AddEngineRows(); }
    void odsImport()
    {
        OPEN_DATABASE();
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
        OPEN_DATABASE();
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
            {customers, replace, 10, 3e9, "sloupec J (výpůjčky): číslo 3000000000 je mimo rozsah"},
            {customers, replace, 10, "dvě", "sloupec J (výpůjčky): „dvě“ není číslo"},
            {videos, replace, 3, "Horor", "sloupec C (žánr): „Horor“ v číselníku není"},
            {videos, replace, 4, "Blu-ray", "sloupec D (nosič): „Blu-ray“ v číselníku není"},
            {videos, replace, 5, "300 000", "sloupec E (cena): číslo 300000 je mimo rozsah"},
        };
        for (const auto &c : cases) {
            MemoryWorksheet sheet;
            if (c.table == customers)
                fillCustomerSheet(sheet);
            else
                fillVideoSheet(sheet);
            sheet.setValue(2, c.column, c.cell);
            const QString table = c.table == customers ? "tab_zakaznik" : "tab_video";
            const QStringList before = TableRows(table);
            const ExchangeResult result = ImportSheet(sheet, c.table, c.mode, NoStop);
            QCOMPARE(result.outcome, ExchangeResult::Failed);
            QCOMPARE(result.failedRow, 2);
            QCOMPARE(result.why, c.why);
            QCOMPARE(TableRows(table), before);
        }
    }

    // A stop before the last row imports nothing (the deletion included), also one
    // asked for before the first row of a one-row sheet; a stop asked for during the
    // last row comes too late: every row was done, and that stands. An export stopped
    // after its first row has written that row only.
    void stop_data() { AddEngineRows(); }
    void stop()
    {
        OPEN_DATABASE();
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
        QCOMPARE(sheetTexts(*ReadWorksheet(path), 3, CustomerColumns), CustomerCells);

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
