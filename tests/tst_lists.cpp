// The printed lists on a prepared shop, on both engines, read back from the PDF they print:
// the video list with its exact sum of prices, the takings of a period, the lent-videos
// overview on landscape pages, and the customer page's prints through its choice dialog (the
// list, the cards, the history); each list's head, count and page breaks, and the texts
// shown instead of an empty list.
#include "catalogue/UCustomerPage.h"
#include "catalogue/UCustomerPrint.h"
#include "core/RunGlobals.h"
#include "core/database/BrowseQuery.h"
#include "rental/LendsStore.h"
#include "rental/UView.h"
#include "reports/layouts/UQRLendsTotalA4.h"
#include "reports/layouts/UQRVideoA4.h"
#include "support/CustomerDesk.h"
#include "support/ModalAnswers.h"
#include "support/PdfOutput.h"
#include "support/ShopRows.h"
#include "support/ShownReports.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDate RunDay(2024, 11, 8);
const QString Generated = QStringLiteral("8.11.2024 14:03:07");

// 65 videos, the highest number first as the page may sort them: five with prices whose
// sum a double gets wrong, sixty at 100.
void AddVideos()
{
    Exec("INSERT INTO tab_zamereni (ZAMERENI,VYCHOZI) VALUES ('Komedie',0)");
    const QStringList prices = {"44.35", "44.40", "47.91", "25.36", "43.48"};
    for (int video = 1; video <= 65; ++video)
        Exec(QStringLiteral("INSERT INTO tab_video (VIDEO,TITUL,ZAMERENI,NOSIC,CENA,REGISTRACE) VALUES "
                            "(%1,'Film %1',%2,%3,%4,'2024-03-01 09:05:00')")
                 .arg(video)
                 .arg(video <= 5 ? 2 : 1)
                 .arg(video <= 5 ? 2 : 1)
                 .arg(video <= 5 ? prices.at(video - 1) : QStringLiteral("100")));
}

// The video page's list as it reads it.
void PrepareVideoList(BrowseQuery &videos)
{
    videos.setSql({"SELECT", "tab_video.VIDEO,", "tab_video.TITUL,", "tab_zamereni.ZAMERENI,", "tab_nosic.NOSIC,",
                   "tab_video.CENA,", "tab_video.REGISTRACE,", "tab_video.VYPUJCENA", "FROM tab_video",
                   "JOIN tab_zamereni ON (tab_video.ZAMERENI=tab_zamereni.ID_ZAMERENI)",
                   "JOIN tab_nosic ON (tab_video.NOSIC=tab_nosic.ID_NOSIC)", "ORDER BY tab_video.VIDEO DESC"});
    videos.setFieldKind("VIDEO", FieldKind::Int64);
    videos.setFieldKind("CENA", FieldKind::Money);
    videos.setFieldKind("REGISTRACE", FieldKind::DateTime);
}

// Four documents: one of the day before, and of the run day a lend with a free line, a
// lend whose fee rounds up, and the return of the first lend with its late fee.
void AddDocuments()
{
    Exec("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO) VALUES (7,'Novák')");
    Exec("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO) VALUES (8,'Svoboda')");
    const char *documents[] = {"(1,1,'2024-11-07 16:00:00',8,1)", "(2,1,'2024-11-08 09:15:00',7,1)",
                               "(3,1,'2024-11-08 10:40:00',8,1)", "(4,0,'2024-11-08 17:05:00',7,1)"};
    for (const char *d : documents)
        Exec(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,CAS,ZAKAZNIK,UZIVATEL) VALUES %1").arg(d));
    const char *lines[] = {"(1,NULL,4,8,1,0,30,10,0,1,NULL)", "(2,4,1,7,0,0,30,10,100,2,2)",
                           "(2,4,2,7,0,1,20,10,100,3,0)", "(3,NULL,3,8,1,0,44.5,10,0,1,NULL)"};
    for (const char *l : lines)
        Exec(QStringLiteral("INSERT INTO tab_pujckydetail (DOKLAD_PUJ,DOKLAD_VRA,VIDEO,ZAKAZNIK,PUJCENA,ZDARMA,"
                            "PUJCOVNE,VRATNE,ZALOHA,DNY,PRES) VALUES %1")
                 .arg(l));
}

// The journal's list of documents as it reads them, of the run day.
void PrepareJournal(BrowseQuery &lends)
{
    PrepareLendsQuery(lends);
    QStringList sql = lends.sql();
    sql.insert(sql.size() - 1, "WHERE tab_pujcky.CAS BETWEEN '2024-11-08 00:00:00' AND '2024-11-08 23:59:59'");
    lends.setSql(sql);
}

// The one information window shown, as "text|detail".
QString Information(const ModalAnswers &answers)
{
    if (answers.shown().size() != 1)
        return QStringLiteral("%1 windows").arg(answers.shown().size());
    return answers.shown().at(0).text + u'|' + answers.shown().at(0).detail;
}

// Answers the customer page's choice dialog with the print chosen, or with "Zavřít".
Answer ChoosePrint(const char *radio)
{
    if (!radio)
        return ClickButton("ButtonCancel");
    return Fill([radio](QDialog *dialog) { dialog->findChild<QRadioButton *>(radio)->setChecked(true); },
                ClickButton("ButtonPrint"));
}

} // namespace

class TestLists : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        SetClock([] { return QDateTime(RunDay, QTime(14, 3, 7)); });
        SetRunDate(RunDay);
    }
    void cleanupTestCase() { SetClock({}); }

    void videoList_data() { AddEngineRows(); }
    void videoList();
    void lendsTotal_data() { AddEngineRows(); }
    void lendsTotal();
    void lentVideos_data() { AddEngineRows(); }
    void lentVideos();
    void customerPrints_data() { AddEngineRows(); }
    void customerPrints();
};

// The list as sorted, 61 rows to a page under the head; the count and the sum of the prices
// after the last row, the sum exact to the heller.
void TestLists::videoList()
{
    OPEN_TEST_DATABASE(db);
    QTemporaryDir dir;
    AddVideos();
    BrowseQuery videos;
    PrepareVideoList(videos);
    videos.open();
    videos.moveTo(10);

    ShownReports shown;
    PrintVideoList(videos);
    QCOMPARE(shown.titles(), QStringList{" Video"});
    QCOMPARE(videos.currentRow(), 10);
    const QStringList pages = PrintedPageTexts(shown.reports().at(0), dir.path());
    QCOMPARE(pages.size(), 2);
    for (int p = 0; p < 2; ++p) {
        VERIFY_LINE(pages.at(p), QStringLiteral("Strana: %1").arg(p + 1), Generated);
        QVERIFY(pages.at(p).contains(" Video\n"));
        VERIFY_LINE(pages.at(p), "Kód", "Titul", "Zaměření", "Nosič", "Registrace", "Cena [Kč]");
    }
    QVERIFY(pages.at(0).indexOf("0000000000065") < pages.at(0).indexOf("0000000000064"));
    VERIFY_LINE(pages.at(0), "0000000000006", "Film 6", "-", "-", "01.03.2024 09:05", "100,00");
    QVERIFY(!pages.at(0).contains("0000000000004"));
    VERIFY_LINE(pages.at(1), "0000000000003", "Film 3", "Komedie", "DVD", "01.03.2024 09:05", "47,91");
    // pdftotext reads the no-break space between thousands as a blank.
    VERIFY_LINE(pages.at(1), "Počet položek:", "65", "Celkem [Kč]: 6 205,50");
    QVERIFY(!pages.at(0).contains("Počet položek:"));

    // An empty list is not printed.
    Exec("DELETE FROM tab_video");
    videos.requery();
    ModalAnswers answers;
    PrintVideoList(videos);
    QCOMPARE(Information(answers), QString("V evidenci není žádné video...|Zkontrolujte zda není aktivní filtr..."));
    QCOMPARE(shown.reports().size(), 1);
}

// One line per document of the period: its operation, its lines, its fee and its deposit
// (negative for a return); the count of documents and the sums of lines and fees, no sum
// of deposits; the period in the head.
void TestLists::lendsTotal()
{
    OPEN_TEST_DATABASE(db);
    QTemporaryDir dir;
    AddDocuments();
    BrowseQuery lends;
    PrepareJournal(lends);
    lends.open();

    ShownReports shown;
    PrintLendsTotal(lends, {false, RunDay, RunDay});
    PrintLendsTotal(lends, {true, {}, {}});
    QCOMPARE(shown.titles(), (QStringList{" Tržby", " Tržby"}));
    const QStringList pages = PrintedPageTexts(shown.reports().at(0), dir.path());
    QCOMPARE(pages.size(), 1);
    const QString &page = pages.at(0);
    VERIFY_LINE(page, "Strana: 1", Generated);
    VERIFY_LINE(page, "Tržby", "Období: 8.11.2024 - 8.11.2024");
    VERIFY_LINE(page, "Doklad", "Op.", "Čas", "Zákazník", "Položek [ks]", "Půjčovné / Vratné [Kč]",
                "Přijatá / Vrácená záloha [Kč]");
    VERIFY_LINE(page, "0000000000002", "->", "08.11.2024 09:15", "0000000000007", "2", "100,00", "200,00");
    VERIFY_LINE(page, "0000000000003", "->", "08.11.2024 10:40", "0000000000008", "1", "45,00", "0,00");
    VERIFY_LINE(page, "0000000000004", "<-", "08.11.2024 17:05", "0000000000007", "2", "20,00", "-200,00");
    QVERIFY(!page.contains("0000000000001"));
    VERIFY_LINE(page, "Počet dokladů:", "3", "Celkem [ks]: 5", "Celkem [Kč]: 165,00");
    QCOMPARE(page.count("Celkem"), 2);
    VERIFY_LINE(PrintedPageTexts(shown.reports().at(1), dir.path()).value(0), "Tržby", "Období: všechna období");

    Exec("DELETE FROM tab_pujckydetail");
    Exec("DELETE FROM tab_pujcky");
    lends.requery();
    ModalAnswers answers;
    PrintLendsTotal(lends, {true, {}, {}});
    QCOMPARE(Information(answers), QString("V evidenci není žádný doklad...|Není co tisknout..."));
    QCOMPARE(shown.reports().size(), 2);
}

// The day overview's "Tisk..." previews the list of the tab shown on landscape pages, under
// the tab's caption.
void TestLists::lentVideos()
{
    OPEN_TEST_DATABASE(db);
    QTemporaryDir dir;
    Exec("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,TELEFON,ADRESA1) VALUES (1,'Novák','602123456',"
         "'Dlouhá 12, Praha 1')");
    AddVideo(1, "Pelíšky");
    AddVideo(2, "Kolja");
    AddLine({1, 1, 1, RunDay.addDays(-1)});
    AddLine({2, 2, 1, RunDay.addDays(2)});
    Exec("UPDATE tab_pujckydetail SET PUJCENO='2024-11-01 10:15:00'");

    ShownReports shown;
    TFormView view;
    view.FormActivate();
    view.ButtonPrintViewClick();
    QCOMPARE(shown.titles(), QStringList{" Vypůjčená videa"});
    const QString pdf = PrintedPdf(shown.reports().at(0), dir.path());
    const QStringList pages = PdfPageTexts(pdf);
    QCOMPARE(pages.size(), 1);
    VERIFY_LINE(pages.at(0), "Strana: 1", Generated);
    QVERIFY(pages.at(0).contains(" Vypůjčená videa\n"));
    VERIFY_LINE(pages.at(0), "Video", "Titul", "Nosič", "Půjčeno", "Vrátit", "Zákazník:", "Jméno", "Telefon", "Adresa");
    VERIFY_LINE(pages.at(0), "0000000000001", "Pelíšky", "-", "01.11.2024 10:15", "07.11.2024", "0000000000001", "Novák", "602123456",
                "Dlouhá 12, Praha 1");
    VERIFY_LINE(pages.at(0), "Počet položek:", "2");
    // The address column stands beyond the width of a portrait page (595 points).
    bool beyondPortrait = false;
    for (const PdfWord &word : PdfWords(pdf))
        beyondPortrait |= word.text == "Dlouhá" && word.box.left() > 600;
    QVERIFY(beyondPortrait);
}

// The four prints of the customer page through its choice dialog; the list stays on its
// customer and hands no change on (the baskets keep their lines).
void TestLists::customerPrints()
{
    OPEN_TEST_DATABASE(db);
    QTemporaryDir dir;
    AddCustomer({1, "Čapek Karel", "7801011229", "AB123", 2, QDateTime(QDate(2023, 5, 2), QTime(10, 30)),
                 "Na Příkopě 5, Praha"});
    AddCustomer({2, "Dvořák Antonín", "6001011234", "", 2, QDateTime(QDate(2024, 1, 15), QTime(8, 0))});
    AddCustomer({3, "Erben Jaromír"});
    AddVideo(1, "Pelíšky");
    AddVideo(2, "Kolja");
    AddLine({1, 1, 1, RunDay, true, true, true, true});
    AddLine({2, 2, 1, RunDay.addDays(-3), false});
    Exec("UPDATE tab_pujckydetail SET PUJCENO='2024-11-01 10:15:00'");
    Exec("UPDATE tab_pujckydetail SET VRACENO='2024-11-06 18:20:00' WHERE VIDEO=2");
    CustomerDesk desk(db);
    QVERIFY2(desk.isReady(), qPrintable(desk.error()));
    QVERIFY(desk.moveTo(1));
    QSignalSpy moves(desk.page()->ADOQueryCustomer, &DataSet::currentRowChanged);

    ShownReports shown;
    ModalAnswers answers({ChoosePrint("RadioButtonCustomer"), ChoosePrint("RadioButtonCards"),
                          ChoosePrint("RadioButtonCard"), ChoosePrint("RadioButtonHistory"), ChoosePrint(nullptr)});
    for (int print = 0; print < 5; ++print)
        desk.action("ActionCustomerPrint")->trigger();
    QCOMPARE(shown.titles(), (QStringList{" Zákazníci", " Karty", " Karty", " Historie"}));
    QCOMPARE(answers.shown().at(0).caption, QString("  Tisk"));
    QCOMPARE(desk.current(), qint64(1));
    QCOMPARE(moves.count(), 0);

    const QString list = PrintedPageTexts(shown.reports().at(0), dir.path()).value(0);
    VERIFY_LINE(list, "Strana: 1", Generated);
    QVERIFY(list.contains(" Zákazníci\n"));
    VERIFY_LINE(list, "Kód", "Jméno", "Telefon", "Adresa", "RČ", "Registrace");
    VERIFY_LINE(list, "0000000000001", "Čapek Karel", "Na Příkopě 5, Praha", "7801011229", "02.05.2023 10:30");
    VERIFY_LINE(list, "0000000000002", "Dvořák Antonín", "6001011234", "15.01.2024 08:00");
    VERIFY_LINE(list, "Počet položek:", "3");

    // All cards on one page, then the current customer's alone.
    const QStringList cards = PrintedPageTexts(shown.reports().at(1), dir.path());
    QCOMPARE(cards.size(), 1);
    for (const char *name : {"Čapek Karel", "Dvořák Antonín", "Erben Jaromír"})
        QVERIFY2(cards.at(0).contains(name), name);
    const QStringList card = PrintedPageTexts(shown.reports().at(2), dir.path());
    QCOMPARE(card.size(), 1);
    QVERIFY(card.at(0).contains("Čapek Karel"));
    QVERIFY(!card.at(0).contains("Dvořák"));

    const QString history = PrintedPageTexts(shown.reports().at(3), dir.path()).value(0);
    VERIFY_LINE(history, "Strana: 1", Generated);
    QVERIFY(history.contains(" Historie\n"));
    VERIFY_LINE(history, "Zákazník:", "0000000000001", "Adresa:", "Na Příkopě 5, Praha");
    VERIFY_LINE(history, "Jméno:", "Čapek Karel", "Registrace:", "02.05.2023 10:30");
    VERIFY_LINE(history, "Kód", "Titul", "Nosič", "$", "Půjčeno", "Vráceno");
    VERIFY_LINE(history, "0000000000001", "Pelíšky", "-", "$", "01.11.2024 10:15");
    VERIFY_LINE(history, "0000000000002", "Kolja", "-", "-", "01.11.2024 10:15", "06.11.2024 18:20");
    VERIFY_LINE(history, "Počet položek:", "2");

    // A customer without history: no report, the clerk is told.
    QVERIFY(desk.moveTo(3));
    ModalAnswers none({ChoosePrint("RadioButtonHistory")});
    desk.action("ActionCustomerPrint")->trigger();
    QCOMPARE(none.shown().size(), 2);
    QCOMPARE(none.shown().at(1).text, QString("Zadaný zákazník má prázdnou historii..."));
    QCOMPARE(none.shown().at(1).detail, QString("Zkontrolujte zda není aktivní filtr..."));
    QCOMPARE(shown.reports().size(), 4);
}

QTEST_MAIN(TestLists)
#include "tst_lists.moc"
