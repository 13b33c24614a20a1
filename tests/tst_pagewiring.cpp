// The windows the list pages open from other units: the free filter from each page's
// "Filtr..." button, over that page's own list, and the spreadsheet exchange from the
// pages' "Import / Export..." actions.
#include "app/Wiring.h"
#include "catalogue/UCustomerPage.h"
#include "catalogue/UFilter.h"
#include "catalogue/UImportExport.h"
#include "catalogue/UVideoPage.h"
#include "core/DeskLists.h"
#include "core/LentLines.h"
#include "core/UValmedo.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/RunGlobals.h"
#include "core/USetupPrint.h"
#include "core/UStartup.h"
#include "rental/ULendsPage.h"
#include "support/JournalShop.h"
#include "support/LoggedInDesk.h"
#include "support/ShownReports.h"
#include "support/ModalAnswers.h"

#include <QAction>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>

namespace {

void addCustomer(qint64 number, const QString &name)
{
    SetCommand(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,OMEZENI) VALUES (:ZAKAZNIK,:JMENO,2)"));
    SetCommandParam(QStringLiteral("ZAKAZNIK"), number);
    SetCommandParam(QStringLiteral("JMENO"), name);
    ExecCommand();
}

// Takes one piece out of the wiring's parts.
using LeaveOut = std::function<void(TValmedoParts &parts)>;

} // namespace

Q_DECLARE_METATYPE(LeaveOut)

class TestPageWiring : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A main window given no pages or no day's overview is refused as it is made, and a run
    // given no way to make its main window does not start: neither does without them.
    void unwired_data()
    {
        QTest::addColumn<bool>("pages");
        QTest::addColumn<bool>("view");
        QTest::newRow("nothing") << false << false;
        QTest::newRow("no pages") << false << true;
        QTest::newRow("no overview") << true << false;
    }
    void unwired()
    {
        QFETCH(bool, pages);
        QFETCH(bool, view);
        TValmedoParts parts;
        if (pages)
            parts.pages = [](QStackedWidget *, TDesk &, TValmedoPages &) {};
        if (view)
            parts.view = [] { return std::make_unique<QDialog>(); };
        QVERIFY_THROWS_EXCEPTION(std::logic_error, TFormValmedo window(parts));
        QVERIFY(!FormValmedo);
    }
    // The program's own parts, each piece left out in turn: the window is refused as it is
    // made, naming the piece, and never goes without it later.
    void pieceLeftOut_data()
    {
        QTest::addColumn<QString>("piece");
        QTest::addColumn<LeaveOut>("leaveOut");
        QTest::newRow("pages") << "pages" << LeaveOut([](TValmedoParts &p) { p.pages = {}; });
        QTest::newRow("view") << "view" << LeaveOut([](TValmedoParts &p) { p.view = {}; });
        QTest::newRow("filter") << "filterWindow" << LeaveOut([](TValmedoParts &p) { p.filterWindow = {}; });
        QTest::newRow("exchange") << "importExportWindow"
                                  << LeaveOut([](TValmedoParts &p) { p.importExportWindow = {}; });
        QTest::newRow("receipt") << "receiptPrint" << LeaveOut([](TValmedoParts &p) { p.receiptPrint = {}; });
        QTest::newRow("reprint") << "journalReceipt" << LeaveOut([](TValmedoParts &p) { p.journalReceipt = {}; });
        for (ValmedoAction action : PrintActions)
            QTest::newRow(qPrintable(ValmedoActionObjectName(action)))
                << QStringLiteral("prints[%1]").arg(ValmedoActionObjectName(action))
                << LeaveOut([action](TValmedoParts &p) { p.prints.erase(action); });
        // A piece given empty is left out as well.
        for (ValmedoAction action : FrameActions)
            QTest::newRow(qPrintable(ValmedoActionObjectName(action)))
                << QStringLiteral("frameWindows[%1]").arg(ValmedoActionObjectName(action))
                << LeaveOut([action](TValmedoParts &p) { p.frameWindows[action] = {}; });
    }
    void pieceLeftOut()
    {
        QFETCH(QString, piece);
        QFETCH(LeaveOut, leaveOut);
        TValmedoParts parts = ValmedoParts();
        leaveOut(parts);
        QString refused;
        try {
            TFormValmedo window(parts);
        } catch (const std::logic_error &error) {
            refused = QString::fromUtf8(error.what());
        }
        QCOMPARE(refused, QStringLiteral("TFormValmedo: the wiring left %1 unset").arg(piece));
        QVERIFY(!FormValmedo);
    }

    void unwiredRun()
    {
        QVERIFY_THROWS_EXCEPTION(std::logic_error, RunValmedo(*qApp, MainWindowBuilder()));
    }

    // The desk gives the other pages the customer and video pages' own lists, the customer
    // page's cache of lent lines with them.
    void deskLists()
    {
        LoggedInDesk desk(Engine::SQLite);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        const TDesk *lists = desk.window()->desk();
        QVERIFY(lists->customers() && lists->videos());
        QCOMPARE(lists->customers()->list(), desk.window()->customerPage()->ADOQueryCustomer);
        QCOMPARE(lists->videos()->list(), desk.window()->videoPage()->ADOQueryVideo);
        QCOMPARE(lists->customers()->LentLines(), desk.window()->customerPage()->LentLines());
        QVERIFY(WindowLentLines());
    }

    void customerFilter()
    {
        LoggedInDesk desk(Engine::SQLite);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        addCustomer(1, QStringLiteral("Novák"));
        addCustomer(2, QStringLiteral("Dvořák"));
        TCustomerPage *page = desk.window()->customerPage();
        page->requeryList();
        ModalAnswers answers({[](QDialog *dialog) {
            auto *filter = qobject_cast<TFormFilter *>(dialog);
            if (!filter)
                return int(QDialog::Rejected);
            filter->SQLMemo->setPlainText(QStringLiteral("WHERE tab_zakaznik.JMENO='Dvořák'\n"));
            filter->ButtonApply->click();
            filter->ButtonClose->click();
            return filter->result();
        }});
        page->findChild<QPushButton *>(QStringLiteral("ButtonCustomerFilter"))->click();
        QCOMPARE(answers.shown().value(0).className, QStringLiteral("TFormFilter"));
        QCOMPARE(page->ADOQueryCustomer->recordCount(), 1);
        QCOMPARE(page->StatusText(), QStringLiteral(" Zákazníků: 1"));
    }

    // Each page's action opens the exchange on its own list.
    void exchange_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("list");
        QTest::newRow("customers") << int(TFormValmedo::PageCustomer) << "ActionCustomerExportImport"
                                   << "ADOQueryCustomer";
        QTest::newRow("videos") << int(TFormValmedo::PageVideo) << "ActionVideoExportImport" << "ADOQueryVideo";
    }
    void exchange()
    {
        QFETCH(int, page);
        QFETCH(QString, action);
        QFETCH(QString, list);
        LoggedInDesk desk(Engine::SQLite);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        desk.window()->setPageIndex(page);
        QString listOfWindow;
        ModalAnswers answers({[&](QDialog *dialog) {
            if (auto *window = qobject_cast<TFormImportExport *>(dialog))
                listOfWindow = window->listName();
            return int(QDialog::Rejected);
        }});
        desk.action(action)->trigger();
        QCOMPARE(answers.shown().value(0).className, QStringLiteral("TFormImportExport"));
        QCOMPARE(listOfWindow, list);
    }

    // The journal's reprint previews the receipt of its current document (manual printing),
    // and its takings action the takings report of the documents selected.
    void journalPrints()
    {
        SetRunDate(JournalToday);
        LoggedInDesk desk(Engine::SQLite);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        AddJournal();
        TLendsPage *journal = desk.window()->lendsPage();
        journal->requeryList();
        QVERIFY(journal->ADOQueryLends->locate(QStringLiteral("DOKLAD"), QVariant(qint64(1))));
        FormSetupPrint->RadioButtonManual->setChecked(true);
        ShownReports shown;
        desk.action("ActionLendsPrint")->trigger();
        desk.action("ActionLendsTotalPrint")->trigger();
        SetRunDate(QDate());
        QCOMPARE(shown.reports().size(), 2);
        QVERIFY2(shown.titles().value(0).contains(QStringLiteral("0000000000001")), qPrintable(shown.titles().join(u'|')));
        QCOMPARE(journal->ADOQueryLends->value(QStringLiteral("DOKLAD")).toLongLong(), 1);
    }
};

QTEST_MAIN(TestPageWiring)
#include "tst_pagewiring.moc"
