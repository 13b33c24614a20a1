// The document journal page on a logged-in desk (both engines): the journal as the log-in
// leaves it, the filter panel's controls with the sums and the blinking label, the number
// box, the reprint and the takings with their messages and hooks, the statistics, the
// refresh after a lend or a return, the row colours and fonts, the title sort of a total,
// and the action keys.
#include "core/Grids.h"
#include "core/RunGlobals.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/UValmedo.h"
#include "core/controls/DateTimePicker.h"
#include "core/controls/FilterPanel.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "rental/ULendsPage.h"
#include "support/CustomerDesk.h"
#include "support/JournalShop.h"
#include "support/ModalAnswers.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// A fresh database of the engine, with the prepared journal unless told otherwise.
struct JournalDatabase {
    JournalDatabase(Engine engine, bool journal) : db(engine)
    {
        if (db.isReady() && journal)
            AddJournal();
    }
    TestDatabase db;
};

// A logged-in desk on its own database, shown on the journal page, its window active so
// that the clerk's typing reaches the page.
class JournalDesk : private JournalDatabase, public LoggedInDesk {
public:
    explicit JournalDesk(Engine engine, bool journal = true)
        : JournalDatabase(engine, journal), LoggedInDesk(db, QStringLiteral("sa"), QStringLiteral("x"))
    {
        if (!isReady())
            return;
        window()->setPageIndex(TFormValmedo::PageLends);
        activate();
    }
    // The offscreen platform activates the wait window a filter shows, and gives the main
    // window the keys back only when events are processed.
    void activate() const
    {
        window()->activateWindow();
        static_cast<void>(QTest::qWaitForWindowActive(window()));
    }
    TLendsPage *page() const { return window()->lendsPage(); }
    QList<qint64> listed() const
    {
        QList<qint64> numbers;
        for (int row = 0; row < page()->ADOQueryLends->recordCount(); ++row)
            numbers << page()->ADOQueryLends->valueAt(row, 0).toLongLong();
        return numbers;
    }
    qint64 current() const { return page()->ADOQueryLends->value(0).toLongLong(); }
};

struct Reprint {
    qint64 document;
    bool lend;
    bool copy;
};

// The receipts the reprint of the main window asks for while it lives.
class ReceiptSpy {
public:
    explicit ReceiptSpy(TFormValmedo *window) : m_window(window), m_wired(window->parts().journalReceipt)
    {
        window->parts().journalReceipt = [this](qint64 document, bool lend, bool copy) {
            printed.append({document, lend, copy});
        };
    }
    ~ReceiptSpy() { m_window->parts().journalReceipt = m_wired; }
    QList<Reprint> printed;

private:
    TFormValmedo *m_window;
    JournalReceipt m_wired;
};

QStringList Column(BrowseQuery *query, const char *field)
{
    QStringList texts;
    for (int row = 0; row < query->recordCount(); ++row)
        texts << query->displayText(row, query->fieldIndex(QLatin1String(field)));
    return texts;
}

// The font, text colour and background a grid gives a cell, not highlighted.
struct Cell {
    QFont font;
    QColor text;
};
Cell CellOf(TRxDBGridEx *grid, int row, const char *field)
{
    QFont font;
    QColor text = Qt::black;
    QColor background = Qt::white;
    const int column = grid->dataSet()->fieldIndex(QLatin1String(field));
    grid->OnGetCellParams(grid, grid->model()->index(row, column), false, font, text, background);
    return {font, text};
}

QStringList Titles(TRxDBGridEx *grid)
{
    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
        if (!grid->isColumnHidden(c))
            titles << grid->ColumnTitle(c);
    }
    return titles;
}

} // namespace

class TestLendsPage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        QDir::setCurrent(m_work.path());
        SetRunDate(JournalToday);
    }

    // The log-in opens the journal on the run date's documents, standing on the newest,
    // with its lines below, the number in the box and the sums in the status bar.
    void logInOpensToday_data() { AddEngineRows(); }
    void logInOpensToday()
    {
        QFETCH(Engine, engine);
        JournalDesk desk(engine);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TLendsPage *page = desk.page();
        QCOMPARE(desk.listed(), QList<qint64>({1, 3}));
        QCOMPARE(desk.current(), qint64(3));
        QCOMPARE(page->Int64EditLendsVoucher->text(), QString("3"));
        QCOMPARE(page->StatusTexts(), QStringList({" Dokladů: 2", " Tržba: 238,00 Kč", " Zálohy: 100,00 Kč"}));
        QCOMPARE(Column(page->ADOQueryLends, "OPERACE"), QStringList({"->", "<-"}));
        QCOMPARE(Column(page->ADOQueryLends, "DOKLAD").last(), QString("0000000000003"));
        QCOMPARE(Column(page->ADOQueryLends, "CAS").last(), QString("10.12.2026 23:59"));
        QCOMPARE(Column(page->ADOQueryLends, "ZALOHA_CELKEM").last(), QString("-101,00"));
        QCOMPARE(Column(page->ADOQueryLendsDetail, "VIDEO"), QStringList({"0000000000001", "0000000000004"}));
        QCOMPARE(Titles(page->RxDBGridLends),
                 QStringList({"Doklad", "Op.", "Čas", "Zákazník", "Jméno", "Uživatel", "Položek",
                              "Půjčovné / Vratné [Kč]", "Přijatá / Vrácená záloha [Kč]"}));
        QCOMPARE(Titles(page->RxDBGridLendsDetail),
                 QStringList({"Kód - Video", "Titul", "Nosič", "Půjčeno", "Do", "Dny", "Vráceno", "Přes", "$",
                              "Půjčovné [Kč]", "Vratné [Kč]", "Záloha [Kč]"}));
        for (TDateTimePicker *picker : {page->DateTimePickerLendsFirst, page->DateTimePickerLendsSecond}) {
            QCOMPARE(picker->Date(), JournalToday);
            QVERIFY(!picker->isEnabled());
        }
        // The lines follow the current document, the box too while the clerk is not
        // typing in it.
        page->RxDBGridLends->setFocus();
        QVERIFY(page->ADOQueryLends->locate("DOKLAD", qint64(1)));
        QCOMPARE(Column(page->ADOQueryLendsDetail, "ZDARMA").count("$"), 2);
        QCOMPARE(page->ADOQueryLendsDetail->recordCount(), 6);
        QCOMPARE(page->Int64EditLendsVoucher->text(), QString("1"));
    }

    // Each control of the panel filters again with the sums; the label blinks while the
    // journal has a WHERE part; the reset leaves the customer range in force.
    void filterPanel_data() { AddEngineRows(); }
    void filterPanel()
    {
        QFETCH(Engine, engine);
        JournalDesk desk(engine);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TLendsPage *page = desk.page();
        desk.window()->findChild<QTimer *>("Timer")->stop();
        auto blinks = [&] { return FilterLabelBlinks(desk.window(), page); };
        QVERIFY(blinks()); // today's documents
        page->FilterPanel->Open();

        QTest::mouseClick(page->RadioButtonOperationLend, Qt::LeftButton);
        QCOMPARE(desk.listed(), QList<qint64>({1}));
        QTest::mouseClick(page->RadioButtonLendsWeek, Qt::LeftButton);
        QCOMPARE(desk.listed(), QList<qint64>({1, 2}));
        QCOMPARE(page->DateTimePickerLendsFirst->Date(), QDate(2026, 12, 7));
        QCOMPARE(page->DateTimePickerLendsSecond->Date(), QDate(2026, 12, 13));
        QTest::mouseClick(page->RadioButtonOperationAll, Qt::LeftButton);
        QTest::mouseClick(page->RadioButtonLendsAll, Qt::LeftButton);
        QCOMPARE(desk.listed(), QList<qint64>({1, 2, 3, 4, 5, 6}));
        QVERIFY(!blinks());

        // Another period: the pickers as the clerk sets them, the first after the second.
        QTest::mouseClick(page->RadioButtonLendsOther, Qt::LeftButton);
        QVERIFY(page->DateTimePickerLendsFirst->isEnabled());
        QCOMPARE(desk.listed(), QList<qint64>({1, 2, 3})); // the week the pickers kept
        page->DateTimePickerLendsFirst->DateEdit()->setDate(QDate(2026, 12, 11));
        page->DateTimePickerLendsSecond->DateEdit()->setDate(QDate(2026, 12, 10));
        QCOMPARE(desk.listed(), QList<qint64>());
        QCOMPARE(page->StatusTexts(), QStringList({" Dokladů: 0", " Tržba: 0,00 Kč", " Zálohy: 0,00 Kč"}));
        QTest::mouseClick(page->RadioButtonLendsAll, Qt::LeftButton);
        QVERIFY(!page->DateTimePickerLendsFirst->isEnabled());

        // A document range; an emptied bound is dropped, the other stays.
        QTest::mouseClick(page->CheckBoxLendsVoucher, Qt::LeftButton);
        QVERIFY(page->Int64EditLendsVoucherSecond->isEnabled());
        page->Int64EditLendsVoucherSecond->setFocus();
        page->Int64EditLendsVoucherSecond->selectAll();
        QTest::keyClicks(page->Int64EditLendsVoucherSecond, "2");
        QCOMPARE(desk.listed(), QList<qint64>({1, 2}));
        page->Int64EditLendsVoucherFirst->setFocus();
        page->Int64EditLendsVoucherFirst->selectAll();
        QTest::keyClick(page->Int64EditLendsVoucherFirst, Qt::Key_Backspace);
        QCOMPARE(desk.listed(), QList<qint64>({1, 2}));

        // A customer range and a user; the user box without a choice adds nothing.
        QTest::mouseClick(page->CheckBoxLendsCustomer, Qt::LeftButton);
        page->Int64EditLendsCustomerSecond->setFocus();
        page->Int64EditLendsCustomerSecond->selectAll();
        QTest::keyClicks(page->Int64EditLendsCustomerSecond, "2");
        QCOMPARE(desk.listed(), QList<qint64>({1}));
        QTest::mouseClick(page->CheckBoxLendsVoucher, Qt::LeftButton);
        QCOMPARE(desk.listed(), QList<qint64>({1, 3, 4}));
        page->CheckBoxLendsUser->click();
        QCOMPARE(desk.listed(), QList<qint64>({1, 3, 4}));
        desk.activate();
        page->ComboBoxLendsUser->setFocus(Qt::MouseFocusReason); // the list is read on entering
        QCOMPARE(page->ComboBoxLendsUser->count(), 2);
        QCOMPARE(page->ComboBoxLendsUser->currentIndex(), -1);
        QTest::mouseClick(page->CheckBoxLendsCustomer, Qt::LeftButton);
        page->ComboBoxLendsUser->setCurrentIndex(page->ComboBoxLendsUser->findText("Pokladní"));
        emit page->ComboBoxLendsUser->activated(page->ComboBoxLendsUser->currentIndex());
        QCOMPARE(desk.listed(), QList<qint64>({2}));
        desk.activate();
        page->Int64EditLendsVoucher->setFocus();
        page->ComboBoxLendsUser->setFocus(Qt::TabFocusReason); // read again, the choice kept
        QCOMPARE(page->ComboBoxLendsUser->currentText(), QString("Pokladní"));
        QCOMPARE(page->StatusTexts(), QStringList({" Dokladů: 1", " Tržba: 73,00 Kč", " Zálohy: 0,00 Kč"}));

        QTest::mouseClick(page->CheckBoxLendsCustomer, Qt::LeftButton);
        QTest::mouseClick(page->RadioButtonOperationBack, Qt::LeftButton);
        QTest::mouseClick(page->RadioButtonLendsToday, Qt::LeftButton);
        page->ButtonLendsReset->click();
        QVERIFY(page->RadioButtonOperationAll->isChecked());
        QVERIFY(page->RadioButtonLendsAll->isChecked());
        QVERIFY(!page->CheckBoxLendsUser->isChecked());
        QVERIFY(!page->CheckBoxLendsVoucher->isChecked());
        QVERIFY(page->CheckBoxLendsCustomer->isChecked());
        QCOMPARE(desk.listed(), QList<qint64>({1, 3, 4}));
        QVERIFY(blinks());
    }

    // The box finds exactly as the clerk types; a number no document has leaves the
    // journal, and Enter says so. Enter and a double click over the data print the
    // current document again, with a copy when the receipt settings ask for one.
    void numberBoxAndReprint_data() { AddEngineRows(); }
    void numberBoxAndReprint()
    {
        QFETCH(Engine, engine);
        JournalDesk desk(engine);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TLendsPage *page = desk.page();
        page->RadioButtonLendsAll->click();
        desk.activate();
        FormSetupPrint->CheckBoxCopy->setChecked(false);
        ReceiptSpy receipts(desk.window());
        TInt64Edit *box = page->Int64EditLendsVoucher;
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "4");
        QCOMPARE(desk.current(), qint64(4));
        QCOMPARE(page->ADOQueryLendsDetail->recordCount(), 2);
        QTest::keyClicks(box, "9");
        QCOMPARE(desk.current(), qint64(4));
        QCOMPARE(box->text(), QString("49"));
        {
            ModalAnswers answers;
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(answers.shown().size(), 1);
            QCOMPARE(answers.shown()[0].text, QString("Hledaný doklad o prodeji nenalezen..."));
            QCOMPARE(answers.shown()[0].detail, QString("Doklad: [49]"));
        }
        QVERIFY(receipts.printed.isEmpty());
        box->setText("2"); // written by code: no search
        QCOMPARE(desk.current(), qint64(4));

        page->RxDBGridLends->setFocus();
        QTest::keyClick(page->RxDBGridLends, Qt::Key_Return);
        FormSetupPrint->CheckBoxCopy->setChecked(true);
        QVERIFY(page->ADOQueryLends->locate("DOKLAD", qint64(3)));
        QCOMPARE(box->text(), QString("3"));
        QCursor::setPos(page->RxDBGridLends->viewport()->mapToGlobal(QPoint(20, 5)));
        emit page->RxDBGridLends->DblClick();
        QCursor::setPos(page->RxDBGridLends->horizontalHeader()->mapToGlobal(QPoint(20, 5)));
        emit page->RxDBGridLends->DblClick(); // over the titles: nothing
        QCOMPARE(receipts.printed.size(), 2);
        QCOMPARE(receipts.printed[0].document, qint64(4));
        QVERIFY(receipts.printed[0].lend);
        QVERIFY(!receipts.printed[0].copy);
        QCOMPARE(receipts.printed[1].document, qint64(3));
        QVERIFY(!receipts.printed[1].lend);
        QVERIFY(receipts.printed[1].copy);
    }

    // No documents: zero sums, and the reprint and the takings say there is nothing to
    // print; the statistics still open.
    void emptyJournal_data() { AddEngineRows(); }
    void emptyJournal()
    {
        QFETCH(Engine, engine);
        JournalDesk desk(engine, false);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TLendsPage *page = desk.page();
        QCOMPARE(page->StatusTexts(), QStringList({" Dokladů: 0", " Tržba: 0,00 Kč", " Zálohy: 0,00 Kč"}));
        QCOMPARE(page->ADOQueryLendsDetail->recordCount(), 0);
        ReceiptSpy receipts(desk.window());
        bool takings = false;
        desk.window()->parts().prints[ValmedoAction::LendsTotalPrint] = [&] { takings = true; };
        ModalAnswers answers({Reject()});
        desk.action("ActionLendsPrint")->trigger();
        desk.action("ActionLendsTotalPrint")->trigger();
        desk.action("ActionLendsStatistics")->trigger();
        QCOMPARE(answers.shown().size(), 3);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(answers.shown()[i].text, QString("V evidenci není žádný doklad..."));
            QCOMPARE(answers.shown()[i].detail, QString("Není co tisknout..."));
        }
        QCOMPARE(answers.shown()[2].caption, QString(" Statistiky"));
        QVERIFY(receipts.printed.isEmpty());
        QVERIFY(!takings);
    }

    // The takings report walks the journal; the journal stays on its document and its
    // lines are not read again. The statistics read the documents listed.
    void takingsAndStatistics()
    {
        JournalDesk desk(Engine::SQLite);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TLendsPage *page = desk.page();
        QStringList walked;
        desk.window()->parts().prints[ValmedoAction::LendsTotalPrint] = [&] {
            for (page->ADOQueryLends->first(); !page->ADOQueryLends->eof(); page->ADOQueryLends->next())
                walked << page->ADOQueryLends->displayText(page->ADOQueryLends->currentRow(), 0);
        };
        QSignalSpy moves(page->ADOQueryLends, &DataSet::currentRowChanged);
        desk.action("ActionLendsTotalPrint")->trigger();
        QCOMPARE(walked, QStringList({"0000000000001", "0000000000003"}));
        QCOMPARE(desk.current(), qint64(3));
        QCOMPARE(moves.size(), 0);

        ModalAnswers answers({Reject()});
        page->findChild<QToolButton *>("SpeedButtonStatistics")->click();
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(answers.shown()[0].caption, QString(" Statistiky"));
        QCOMPARE(desk.current(), qint64(3));
    }

    // After a document is written the journal stands on it with new sums; a return left
    // out of the takings only moves the journal to its newest row; the refresh button
    // reads the journal again and sums it.
    void documentWritten_data() { AddEngineRows(); }
    void documentWritten()
    {
        QFETCH(Engine, engine);
        JournalDesk desk(engine);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TLendsPage *page = desk.page();
        QVERIFY(page->ADOQueryLends->locate("DOKLAD", qint64(1)));
        AddDocument(7, true, QDateTime(JournalToday, QTime(15, 0)), 1, 1);
        AddJournalLine({7, 11, 1, "12.50", "5", "50", 2, false, JournalToday.addDays(2)});
        page->DocumentWritten(qint64(7));
        QCOMPARE(desk.listed(), QList<qint64>({1, 3, 7}));
        QCOMPARE(desk.current(), qint64(7));
        QCOMPARE(page->ADOQueryLendsDetail->recordCount(), 1);
        QCOMPARE(page->StatusTexts(), QStringList({" Dokladů: 3", " Tržba: 263,00 Kč", " Zálohy: 150,00 Kč"}));

        AddDocument(8, false, QDateTime(JournalToday, QTime(16, 0)), 1, 1);
        QVERIFY(page->ADOQueryLends->locate("DOKLAD", qint64(1)));
        page->DocumentWritten(QVariant());
        QCOMPARE(desk.current(), qint64(7));
        desk.window()->findChild<QToolButton *>("SpeedButtonRefresh")->click();
        QCOMPARE(desk.listed(), QList<qint64>({1, 3, 7, 8}));
        QCOMPARE(desk.current(), qint64(7));
        QCOMPARE(page->StatusTexts()[0], QString(" Dokladů: 4"));
    }

    // Documents with lines out in the lent colour, overdue when any of their lines out is
    // overdue; lines out in the lent or overdue colour, only while the setting is on. The
    // totals in bold: the document's payment, and of the lines the fee of a lend or the
    // late fee of a return.
    void coloursAndFonts()
    {
        JournalDesk desk(Engine::SQLite);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TLendsPage *page = desk.page();
        page->RadioButtonLendsAll->click();
        const GridColors colours = CurrentGridColors();
        FormSetupVideo->CheckBoxColor->setChecked(true);
        QStringList states;
        for (int row = 0; row < page->ADOQueryLends->recordCount(); ++row) {
            const QColor text = CellOf(page->RxDBGridLends, row, "JMENO").text;
            states << (text == colours.delayed ? "overdue" : text == colours.lent ? "lent" : "-");
        }
        // Document 4's overdue line is its second.
        QCOMPARE(states, QStringList({"lent", "lent", "-", "overdue", "-", "-"}));
        QVERIFY(CellOf(page->RxDBGridLends, 0, "PLATBA_CELKEM").font.bold());
        QVERIFY(!CellOf(page->RxDBGridLends, 0, "ZALOHA_CELKEM").font.bold());

        QVERIFY(page->ADOQueryLends->locate("DOKLAD", qint64(4)));
        QStringList lines;
        for (int row = 0; row < page->ADOQueryLendsDetail->recordCount(); ++row) {
            const QColor text = CellOf(page->RxDBGridLendsDetail, row, "TITUL").text;
            lines << page->ADOQueryLendsDetail->displayText(row, 0).right(2)
                         + (text == colours.delayed ? " overdue" : text == colours.lent ? " lent" : " -");
        }
        lines.sort();
        QCOMPARE(lines, QStringList({"09 lent", "10 overdue"}));
        QVERIFY(CellOf(page->RxDBGridLendsDetail, 0, "PUJCOVNE_CELKEM").font.bold());
        QVERIFY(!CellOf(page->RxDBGridLendsDetail, 0, "VRATNE_CELKEM").font.bold());
        QVERIFY(page->ADOQueryLends->locate("DOKLAD", qint64(3)));
        QCOMPARE(CellOf(page->RxDBGridLendsDetail, 0, "TITUL").text, QColor(Qt::black)); // back
        QVERIFY(!CellOf(page->RxDBGridLendsDetail, 0, "PUJCOVNE_CELKEM").font.bold());
        QVERIFY(CellOf(page->RxDBGridLendsDetail, 0, "VRATNE_CELKEM").font.bold());

        FormSetupVideo->CheckBoxColor->setChecked(false);
        QCOMPARE(CellOf(page->RxDBGridLends, 3, "JMENO").text, QColor(Qt::black));
    }

    // A click on a total's title sorts the journal by it (on both engines), back on the
    // document that was current.
    void totalsSort_data() { AddEngineRows(); }
    void totalsSort()
    {
        QFETCH(Engine, engine);
        JournalDesk desk(engine);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TLendsPage *page = desk.page();
        page->RadioButtonLendsAll->click();
        QVERIFY(page->ADOQueryLends->locate("DOKLAD", qint64(2)));
        RxDBGridTitleBtnClick(page->RxDBGridLends, page->ADOQueryLends->fieldIndex("PLATBA_CELKEM"));
        QCOMPARE(desk.listed(), QList<qint64>({5, 3, 6, 2, 4, 1}));
        QCOMPARE(desk.current(), qint64(2));
        RxDBGridTitleBtnClick(page->RxDBGridLends, page->ADOQueryLends->fieldIndex("PLATBA_CELKEM"));
        QCOMPARE(desk.listed(), QList<qint64>({1, 4, 2, 6, 3, 5}));
        QCOMPARE(QuerySortMarker(page->ADOQueryLends->sqlText(), "PLATBA_CELKEM"), SortMarker::Up);
    }

    // Enter reprints from every control of the page, the filter panel's too.
    void enterFromEveryControl()
    {
        JournalDesk desk(Engine::SQLite);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TLendsPage *page = desk.page();
        page->FilterPanel->Open();
        for (QCheckBox *box : {page->CheckBoxLendsVoucher, page->CheckBoxLendsCustomer, page->CheckBoxLendsUser})
            box->click(); // their editors enabled
        page->RadioButtonLendsOther->click();
        desk.activate();
        ReceiptSpy receipts(desk.window());
        const QList<QWidget *> controls{page->Int64EditLendsVoucher,      page->RxDBGridLends,
                                        page->RxDBGridLendsDetail,        page->RadioButtonLendsWeek,
                                        page->Int64EditLendsVoucherFirst, page->Int64EditLendsCustomerSecond,
                                        page->ComboBoxLendsUser,          page->DateTimePickerLendsFirst->DateEdit()};
        for (QWidget *control : controls) {
            control->setFocus();
            QWidget *focused = QApplication::focusWidget();
            QVERIFY2(focused == control || control->isAncestorOf(focused), qPrintable(control->objectName()));
            const qsizetype before = receipts.printed.size();
            QTest::keyClick(focused, Qt::Key_Return);
            QVERIFY2(receipts.printed.size() == before + 1, qPrintable(control->objectName()));
        }
    }

private:
    QTemporaryDir m_work;
};

QTEST_MAIN(TestLendsPage)
#include "tst_lendspage.moc"
