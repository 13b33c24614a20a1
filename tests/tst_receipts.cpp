// The lend and return receipts: the VAT lines and the amount rules; the receipts of
// documents of 1, 10 and 11 lines on both engines with the half-sheet paper chosen or not,
// printed with their copy and read back from the PDF (the layout, the pages, the texts and
// the exact totals); the half-sheet rows, the totals block and the copy on the page; a long
// receipt on several A4 pages; the lend's receipt hook of the main window and the preview.
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/controls/IntegerEdit.h"
#include "core/database/BrowseQuery.h"
#include "rental/LendTransaction.h"
#include "rental/LendsStore.h"
#include "reports/layouts/ReceiptRules.h"
#include "reports/layouts/Receipts.h"
#include "support/LoggedInDesk.h"
#include "support/PdfOutput.h"
#include "support/ShopRows.h"
#include "support/ShownReports.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"
#include "support/TestLends.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr qint64 Lend = 42;
constexpr qint64 Return = 43;
const QDateTime Lent(QDate(2024, 11, 8), QTime(14, 3));
const QDateTime Returned(QDate(2024, 11, 12), QTime(10, 30));

QString Number(qint64 n)
{
    return QStringLiteral("%1").arg(n, 13, 10, QChar(u'0'));
}

QString Title(int video)
{
    return QStringLiteral("Film %1").arg(video, 2, 10, QChar(u'0'));
}

// The customer 7, lend document 42 of `lines` videos and return document 43 of all of them.
// Each line is lent for 2 days at 25 a day with a late fee of 10 a day; the odd lines carry
// a deposit of 100; line 2 is free for its one day and line 3 free with a day charged.
// Every line comes back one day over, except line 2.
void AddDocuments(int lines)
{
    AddCustomer({7, QStringLiteral("Novák Jan"), QString(), QString(), 2, QDateTime(),
                 QStringLiteral("Dlouhá 12, Praha 1")});
    QList<TestLentLine> lent;
    for (int video = 1; video <= lines; ++video) {
        AddTestVideo(video, Title(video));
        TestLentLine line;
        line.video = video;
        line.days = video == 2 ? 1 : 2;
        line.due = Lent.date().addDays(line.days);
        line.fee = Money::fromCrowns(25);
        line.lateFee = Money::fromCrowns(10);
        line.deposit = Money::fromCrowns(video % 2 ? 100 : 0);
        line.free = video == 2 || video == 3;
        lent << line;
    }
    AddTestLend(Lend, 7, Lent, lent);
    Exec(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,CAS,ZAKAZNIK,UZIVATEL) "
                        "VALUES (%1,0,'2024-11-12 10:30:00',7,1)")
             .arg(Return));
    Exec(QStringLiteral("UPDATE tab_pujckydetail SET DOKLAD_VRA=%1,PUJCENA=0,VRACENO='2024-11-12 10:30:00',"
                        "PRES=CASE WHEN VIDEO=2 THEN 0 ELSE 1 END")
             .arg(Return));
}

// The receipt settings and the VAT rate of a desk without a main window: the shop's texts,
// every part printed, automatic printing on half sheets, VAT 21 %.
struct Settings {
    Settings()
    {
        FormSetupVideo = new TFormSetupVideo;
        FormSetupPrint = new TFormSetupPrint;
        Shop();
    }
    ~Settings()
    {
        delete FormSetupVideo;
        FormSetupVideo = nullptr;
        delete FormSetupPrint;
        FormSetupPrint = nullptr;
    }
    static void Shop()
    {
        FormSetupVideo->IntegerEditTax->SetValue(21);
        FormSetupPrint->MemoAddress->setPlainText(QStringLiteral("Videopůjčovna Kino\nDlouhá 1, Brno"));
        FormSetupPrint->MemoTitle->setPlainText(QStringLiteral("PŮJČOVNA"));
        FormSetupPrint->MemoInfo->setPlainText(QStringLiteral("IČ: 12345678"));
        FormSetupPrint->MemoAddition->setPlainText(QStringLiteral("Děkujeme za návštěvu"));
        for (QCheckBox *box : {FormSetupPrint->CheckBoxVoucher, FormSetupPrint->CheckBoxDate,
                               FormSetupPrint->CheckBoxDateTax})
            box->setChecked(true);
        FormSetupPrint->RadioButtonAuto->setChecked(true);
        FormSetupPrint->RadioButtonA5->setChecked(true);
    }
};

// The journal's row of a document and its lines, as the journal page holds them.
struct Journal {
    explicit Journal(qint64 document)
    {
        PrepareLendsQuery(lends);
        lends.open();
        lends.locate(QStringLiteral("DOKLAD"), document);
        PrepareLendsDetailQuery(lines);
        lines.setParameter(QStringLiteral("DOKLAD"), document);
        lines.open();
    }
    BrowseQuery lends;
    BrowseQuery lines;
};

// The texts of one line of the receipt: code, title, medium, days (or days over), due date,
// deposit, amount.
QStringList Row(bool back, int video)
{
    const QString due = video == 2 ? QStringLiteral("09.11.2024") : QStringLiteral("10.11.2024");
    const QString deposit = video % 2 ? QStringLiteral("100,00") : QStringLiteral("0,00");
    QString days;
    QString amount;
    if (back) {
        days = video == 2 ? QStringLiteral("0") : QStringLiteral("1");
        amount = video == 2 ? QStringLiteral("0,00") : QStringLiteral("10,00");
    } else {
        days = video == 2 ? QStringLiteral("1") : QStringLiteral("2");
        amount = video == 2 ? QStringLiteral("zdarma") : video == 3 ? QStringLiteral("25,00") : QStringLiteral("50,00");
    }
    return {Number(video), Title(video), QStringLiteral("DVD"), days, due, deposit, amount};
}

QRectF FirstBox(const ReportPage &page, const QString &text, int occurrence = 0)
{
    for (const PageText &t : PageTextsInReadingOrder(page))
        if (t.text == text && occurrence-- == 0)
            return t.rect;
    return QRectF();
}

int Occurrences(const ReportPage &page, const QString &text)
{
    int count = 0;
    for (const PageText &t : PageTextsInReadingOrder(page))
        count += t.text == text;
    return count;
}

} // namespace

class TestReceipts : public QObject {
    Q_OBJECT
private slots:
    void taxLines_data();
    void taxLines();
    void amountsAndPaper();

    void printedReceipts_data();
    void printedReceipts();
    void halfSheet_data() { AddEngineRows(); }
    void halfSheet();
    void settingsLeaveOut_data() { AddEngineRows(); }
    void settingsLeaveOut();
    void severalPages_data() { AddEngineRows(); }
    void severalPages();
    void lendHook_data() { AddEngineRows(); }
    void lendHook();
};

void TestReceipts::taxLines_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<QString>("gross");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("vat");
    QTest::newRow("21% of 100") << 21 << "100" << "82.6500" << "17.3500";
    QTest::newRow("21% of 60") << 21 << "60" << "49.5900" << "10.4100";
    QTest::newRow("19% of 100") << 19 << "100" << "84.0400" << "15.9600";
    QTest::newRow("25% exactly a fifth") << 25 << "100" << "80.0000" << "20.0000";
    // 1.735 of VAT: rounded once, the base is what is left, and the two add up to 10.
    QTest::newRow("21% of 10, a heller's half") << 21 << "10" << "8.2600" << "1.7400";
    QTest::newRow("21% of 2916") << 21 << "2916" << "2410.0700" << "505.9300";
    QTest::newRow("no VAT") << 0 << "100" << "100.0000" << "0.0000";
    QTest::newRow("nothing to pay") << 21 << "0" << "0.0000" << "0.0000";
}

void TestReceipts::taxLines()
{
    QFETCH(int, rate);
    QFETCH(QString, gross);
    QFETCH(QString, base);
    QFETCH(QString, vat);
    const TaxSplit split = SplitTax(Money::fromString(gross), rate);
    QCOMPARE(split.base.toSqlText(), base);
    QCOMPARE(split.vat.toSqlText(), vat);
    QCOMPARE(split.base + split.vat, Money::fromString(gross));
}

// "zdarma" only for a free line that costs nothing; the half sheet for 1 to 10 lines with
// the automatic choice; the title in 13 digits.
void TestReceipts::amountsAndPaper()
{
    QCOMPARE(LendAmountText(true, Money()), QString("zdarma"));
    QCOMPARE(LendAmountText(true, Money::fromCrowns(25)), QString("25,00"));
    QCOMPARE(LendAmountText(false, Money()), QString("0,00"));
    QCOMPARE(LendAmountText(false, Money::fromString("1234.5")), QString("1\u00a0234,50"));
    for (const auto &[automatic, lines, half] : {std::tuple{true, 0, false}, std::tuple{true, 1, true},
                                                 std::tuple{true, 10, true}, std::tuple{true, 11, false},
                                                 std::tuple{false, 1, false}, std::tuple{false, 10, false}})
        QVERIFY2(HalfPageReceipt(automatic, lines) == half, qPrintable(QString::number(lines)));
    QCOMPARE(ReceiptTitle(42), QString("0000000000042"));
}

void TestReceipts::printedReceipts_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::addColumn<bool>("back");
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("halfSheets");
    for (const auto &[engine, name] : {std::pair{Engine::SQLite, "sqlite"}, std::pair{Engine::PostgreSQL, "postgres"}})
        for (bool back : {false, true})
            for (int lines : {1, 10, 11})
                for (bool half : {true, false})
                    QTest::addRow("%s-%s-%d-%s", name, back ? "return" : "lend", lines, half ? "a5" : "a4")
                        << engine << back << lines << half;
}

// Printed with a copy: on a half sheet both receipts stand on one page, on A4 the receipt
// is printed twice; every receipt with its texts, its lines and its exact totals.
void TestReceipts::printedReceipts()
{
    QFETCH(bool, back);
    QFETCH(int, lines);
    QFETCH(bool, halfSheets);
    OPEN_TEST_DATABASE(db);
    Settings settings;
    FormSetupPrint->RadioButtonA4->setChecked(!halfSheets);
    AddDocuments(lines);
    QTemporaryDir dir;
    PdfPrints prints(dir.path());
    QVERIFY(PrintDocumentReceipt(back ? Return : Lend, true));
    QCOMPARE(prints.files().size(), 1);

    const bool half = halfSheets && lines <= 10;
    const QStringList pages = PdfPageTexts(prints.lastFile());
    QCOMPARE(pages.size(), half ? 1 : 2);
    const int index = lines == 1 ? 0 : lines == 10 ? 1 : 2;
    const char *base[2][3] = {{"41,32", "351,26", "392,59"}, {"8,26", "74,38", "82,65"}};
    const char *vat[2][3] = {{"8,68", "73,74", "82,41"}, {"1,74", "15,62", "17,35"}};
    const char *total[2][3] = {{"50,00", "425,00", "475,00"}, {"10,00", "90,00", "100,00"}};
    const char *deposits[3] = {"100,00", "500,00", "600,00"};
    for (const QString &page : pages) {
        const QString title = back ? "Pokladní doklad - vrácené video" : "Pokladní doklad - půjčené video";
        QCOMPARE(page.count(title), half ? 2 : 1);
        for (const char *shop : {"Videopůjčovna Kino", "Dlouhá 1, Brno", "PŮJČOVNA", "IČ: 12345678"})
            QCOMPARE(page.count(shop), half ? 2 : 1);
        VERIFY_LINE(page, "Číslo dokladu:", Number(back ? Return : Lend), "Datum a čas vystavení:",
                    back ? "12.11.2024 10:30" : "08.11.2024 14:03", "Datum zdanitelného plnění:",
                    back ? "12.11.2024" : "08.11.2024");
        VERIFY_LINE(page, "Zákazník:", Number(7), "Novák Jan", "Dlouhá 12, Praha 1");
        VERIFY_LINE(page, "Kód", "Název", "Nosič", back ? "Přes" : "Dny", "Do", "Záloha [Kč]",
                    back && !half ? "Doplatek [Kč]" : "Platba [Kč]");
        for (int video : {1, 2, 3, 10, 11})
            if (video <= lines) {
                const QString missing = LineMissing(page, Row(back, video));
                QVERIFY2(missing.isEmpty(), qPrintable(missing));
            }
        QVERIFY(!page.contains(Number(lines + 1)));
        VERIFY_LINE(page, "Počet položek:", QString::number(lines));
        VERIFY_LINE(page, "Cena bez DPH (21%):", QString(base[back][index]) + " Kč", "DPH (21%):",
                    QString(vat[back][index]) + " Kč", "Celkem bez DPH:", QString(base[back][index]) + " Kč");
        VERIFY_LINE(page, "Celkem včetně DPH:", QString(total[back][index]) + " Kč");
        VERIFY_LINE(page, "Děkujeme za návštěvu");
        // A return's deposits handed back: negative on the half sheet, their sum on A4.
        const QString deposit = QString(deposits[index]) + " Kč";
        if (!back)
            VERIFY_LINE(page, "Celkem záloha:", deposit);
        else if (half)
            VERIFY_LINE(page, "Celkem záloha:", "-" + deposit);
        else
            VERIFY_LINE(page, "Vrácena záloha:", deposit);
        QCOMPARE(page.count("Razítko a podpis"), half ? 2 : 1);
    }
}

// The half sheet's geometry on the prepared page: the totals block following the last line
// (1 line: 144 pixels up), the copy 523 pixels lower on the same sheet, the signature and
// the cutting line in their places; the journal's row and line stay where they stood.
void TestReceipts::halfSheet()
{
    OPEN_TEST_DATABASE(db);
    Settings settings;
    FormSetupPrint->RadioButtonManual->setChecked(true);
    AddDocuments(11);
    Exec("INSERT INTO tab_pujcky (DOKLAD,OPERACE,CAS,ZAKAZNIK,UZIVATEL) VALUES (44,1,'2024-11-13 09:00:00',7,1)");
    Exec("UPDATE tab_pujckydetail SET DOKLAD_PUJ=44,DOKLAD_VRA=NULL WHERE VIDEO=11");

    ShownReports shown;
    Journal ten(Lend);
    ten.lines.moveTo(4);
    PrintDocumentReceipt(ten.lends, ten.lines, false);
    QCOMPARE(ten.lines.currentRow(), 4);
    QCOMPARE(ten.lends.value("DOKLAD").toLongLong(), Lend);
    Journal one(44);
    PrintDocumentReceipt(one.lends, one.lines, true);
    QCOMPARE(shown.titles(), (QStringList{Number(Lend), "0000000000044"}));

    const qreal top = MillimetresToLayout(10);
    const ReportPage &tenLines = shown.reports().at(0).pages.at(0);
    QCOMPARE(Occurrences(tenLines, "Počet položek:"), 1);
    QCOMPARE(FirstBox(tenLines, "Počet položek:").top(), top + 367);
    QCOMPARE(FirstBox(tenLines, Number(10)).top(), top + 198 + 9 * 16);
    QCOMPARE(FirstBox(tenLines, "Celkem včetně DPH:").top(), top + 422);

    QCOMPARE(shown.reports().at(1).pageCount(), 1);
    const ReportPage &oneLine = shown.reports().at(1).pages.at(0);
    for (int copy = 0; copy < 2; ++copy) {
        const qreal pass = top + copy * 523;
        QCOMPARE(FirstBox(oneLine, Number(11), copy).top(), pass + 198);
        QCOMPARE(FirstBox(oneLine, "Počet položek:", copy).top(), pass + 367 - 144);
        QCOMPARE(FirstBox(oneLine, "Celkem záloha:", copy).top(), pass + 448 - 144);
        QCOMPARE(FirstBox(oneLine, "Razítko a podpis", copy).top(), pass + 492);
        QCOMPARE(FirstBox(oneLine, "Pokladní doklad - půjčené video", copy).top(), pass + 84);
    }
    QVERIFY(!FirstBox(oneLine, Number(11), 2).isValid());
    int cuttingLines = 0;
    for (const PageItem &item : oneLine.items())
        if (const auto *line = std::get_if<PageLine>(&item); line && line->style == Qt::DashDotLine) {
            QCOMPARE(line->from.y(), 560.5);
            ++cuttingLines;
        }
    QCOMPARE(cuttingLines, 1);
}

// Each part the settings leave out goes with its caption, the others keep their places;
// without VAT the VAT row is empty and the total is "Celkem:". A customer who no longer
// exists leaves his name and address empty.
void TestReceipts::settingsLeaveOut()
{
    OPEN_TEST_DATABASE(db);
    Settings settings;
    FormSetupPrint->RadioButtonManual->setChecked(true);
    AddDocuments(1);
    FormSetupPrint->CheckBoxVoucher->setChecked(false);
    FormSetupVideo->IntegerEditTax->SetValue(0);

    ShownReports shown;
    QVERIFY(PrintDocumentReceipt(Lend, false));
    FormSetupPrint->CheckBoxVoucher->setChecked(true);
    FormSetupPrint->CheckBoxDate->setChecked(false);
    FormSetupPrint->CheckBoxDateTax->setChecked(false);
    FormSetupPrint->RadioButtonA4->setChecked(true);
    Exec("UPDATE tab_pujcky SET ZAKAZNIK=8 WHERE DOKLAD=42");
    QVERIFY(PrintDocumentReceipt(Lend, false));
    QVERIFY(!PrintDocumentReceipt(99, false));
    QCOMPARE(shown.reports().size(), 2);

    const ReportPage &noNumber = shown.reports().at(0).pages.at(0);
    const qreal left = MillimetresToLayout(10);
    QVERIFY(!FirstBox(noNumber, "Číslo dokladu:").isValid());
    QVERIFY(!FirstBox(noNumber, Number(Lend)).isValid());
    QCOMPARE(FirstBox(noNumber, "Datum a čas vystavení:").left(), left + 192);
    QCOMPARE(FirstBox(noNumber, "08.11.2024").left(), left + 650);
    for (const char *text : {"Cena bez DPH (0%):", "DPH (0%):", "Celkem bez DPH:", "Celkem včetně DPH:"})
        QVERIFY2(!FirstBox(noNumber, text).isValid(), text);
    QVERIFY(FirstBox(noNumber, "Celkem:").isValid());
    QVERIFY(FirstBox(noNumber, "50,00 Kč").isValid());

    const ReportPage &noDates = shown.reports().at(1).pages.at(0);
    QCOMPARE(FirstBox(noDates, Number(Lend)).left(), left + 87);
    for (const char *text : {"Datum a čas vystavení:", "08.11.2024 14:03", "Datum zdanitelného plnění:", "08.11.2024",
                             "Novák Jan", "Dlouhá 12, Praha 1"})
        QVERIFY2(!FirstBox(noDates, text).isValid(), text);
    QCOMPARE(FirstBox(noDates, Number(8)).left(), left + 87);
}

// A receipt longer than a page: the title once, the document's head and the column titles on
// every page, each line once, the totals once at the end. The fee total is the document's
// rounded one, as the VAT lines take it, though its lines add up to 2 915,50.
void TestReceipts::severalPages()
{
    OPEN_TEST_DATABASE(db);
    Settings settings;
    AddDocuments(60);
    Exec("UPDATE tab_pujckydetail SET PUJCOVNE=20.25 WHERE VIDEO=60");
    QTemporaryDir dir;
    PdfPrints prints(dir.path());
    QVERIFY(PrintDocumentReceipt(Lend, false));
    const QStringList pages = PdfPageTexts(prints.lastFile());
    QCOMPARE(pages.size(), 2);
    QCOMPARE(pages.at(0).count("Pokladní doklad - půjčené video"), 1);
    QCOMPARE(pages.at(1).count("Pokladní doklad - půjčené video"), 0);
    for (const QString &page : pages) {
        VERIFY_LINE(page, "Číslo dokladu:", Number(Lend));
        VERIFY_LINE(page, "Zákazník:", Number(7), "Novák Jan");
        VERIFY_LINE(page, "Kód", "Název", "Nosič", "Dny", "Do", "Záloha [Kč]", "Platba [Kč]");
    }
    for (int video = 1; video <= 60; ++video)
        QCOMPARE(pages.at(0).count(Title(video)) + pages.at(1).count(Title(video)), 1);
    VERIFY_LINE(pages.at(1), Number(60), Title(60), "DVD", "2", "10.11.2024", "0,00", "40,50");
    QVERIFY(!pages.at(0).contains("Počet položek:"));
    VERIFY_LINE(pages.at(1), "Počet položek:", "60");
    VERIFY_LINE(pages.at(1), "Cena bez DPH (21%):", "2 410,07 Kč", "DPH (21%):", "505,93 Kč");
    VERIFY_LINE(pages.at(1), "Celkem včetně DPH:", "2 916,00 Kč");
    VERIFY_LINE(pages.at(1), "Celkem záloha:", "3 000,00 Kč");
}

// The main window hands the lend's receipt to the receipts: previewed under the document's
// number (an A4 receipt once, even with a copy), or printed at once on its half sheet.
void TestReceipts::lendHook()
{
    QFETCH(Engine, engine);
    LoggedInDesk desk(engine);
    QVERIFY2(desk.isReady(), qPrintable(desk.error()));
    Settings::Shop();
    FormSetupPrint->RadioButtonManual->setChecked(true);
    FormSetupPrint->RadioButtonA4->setChecked(true);
    AddDocuments(3);

    ShownReports shown;
    LendPrint(Lend, false, true);
    QVERIFY(shown.reports().isEmpty());
    LendPrint(Lend, true, true);
    QCOMPARE(shown.titles(), QStringList{Number(Lend)});
    QCOMPARE(shown.reports().at(0).pageCount(), 1);

    FormSetupPrint->RadioButtonAuto->setChecked(true);
    FormSetupPrint->RadioButtonA5->setChecked(true);
    QTemporaryDir dir;
    PdfPrints prints(dir.path());
    LendPrint(Lend, true, false);
    QCOMPARE(shown.reports().size(), 1);
    const QStringList pages = PdfPageTexts(prints.lastFile());
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages.at(0).count("Pokladní doklad - půjčené video"), 1);
    VERIFY_LINE(pages.at(0), "Celkem včetně DPH:", "75,00 Kč");
}

QTEST_MAIN(TestReceipts)
#include "tst_receipts.moc"
