// The customer page on a logged-in desk: its list and history, the filter panel with its
// reset, count and label, the name box, the hand-over of the current customer, the row
// colours and the log-in that needs the page's tables. The free filter, the keys and the
// number box, as the video page has them, are tested in tst_cataloguepages.
#include "catalogue/UCustomerPage.h"
#include "core/Grids.h"
#include "core/RunGlobals.h"
#include "core/USetupVideo.h"
#include "core/UValmedo.h"
#include "core/controls/DateTimePicker.h"
#include "core/controls/FilterPanel.h"
#include "core/controls/FindBoxes.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/SqlServer.h"
#include "support/CustomerDesk.h"
#include "support/ModalAnswers.h"
#include "support/ShopRows.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QDate Today(2026, 12, 10);

// Five customers with something out (2 overdue), a returned line and one without a
// birth number (4).
void AddShop()
{
    AddCustomer({1, "Čapek Karel", "7801011229", "111", 2});
    AddCustomer({2, "čermák", "7901011234", "222", 0});
    AddCustomer({3, "O'Neil", "6001011234", "", 3});
    AddCustomer({4, "Novák", "", "", QVariant()});
    AddCustomer({5, "Nováček", "8001011234", "", 1});
    for (int v = 1; v <= 3; ++v)
        AddVideo(v, QStringLiteral("Titul %1").arg(v));
    AddLine({1, 1, 1, Today, true, true, true, true});
    AddLine({2, 2, 2, Today.addDays(-1)});
    AddLine({3, 3, 1, Today.addDays(-9), false});
}

QStringList Column(BrowseQuery *query, const QString &field)
{
    QStringList texts;
    for (int row = 0; row < query->recordCount(); ++row)
        texts << query->displayText(row, query->fieldIndex(field));
    return texts;
}

QStringList Sorted(QStringList texts)
{
    texts.sort();
    return texts;
}

// The font and background a grid gives a cell of `row`, not highlighted.
std::pair<QColor, QColor> CellColors(TRxDBGridEx *grid, int row)
{
    QFont font;
    QColor text = Qt::black;
    QColor background = Qt::white;
    grid->OnGetCellParams(grid, grid->model()->index(row, 1), false, font, text, background);
    return {text, background};
}

} // namespace

class TestCustomerPage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        QDir::setCurrent(m_work.path());
        SetRunDate(Today);
    }

    // The list and its columns, the history following the current customer, and the
    // hand-over of each new current customer.
    void listAndHistory_data() { AddEngineRows(); }
    void listAndHistory()
    {
        OPEN_TEST_DATABASE(db);
        AddShop();
        CustomerDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TCustomerPage *page = desk.page();
        QCOMPARE(desk.listed(), QList<qint64>({1, 2, 3, 4, 5}));
        QCOMPARE(page->StatusText(), QString(" Zákazníků: 5"));
        QVERIFY(!page->ADOQueryCustomer->sqlText().contains("WHERE"));

        TRxDBGridEx *grid = page->RxDBGridCustomer;
        QStringList titles;
        QList<int> widths;
        for (int c = 0; c < grid->model()->columnCount(); ++c) {
            titles << grid->ColumnTitle(c);
            widths << grid->columnWidth(c);
        }
        QCOMPARE(titles, QStringList({"Kód - zákazník", "Jméno", "Telefon", "Adresa", "Adresa", "RČ", "OP",
                                      "Registrace", "Om.", ">>", "Text"}));
        // The table's widths, but the number and the registration widened to show 13 digits
        // and a date with its time whole, at the cost of the name: the grid keeps its width.
        const QFontMetrics metrics(grid->font());
        QVERIFY(widths[0] >= metrics.horizontalAdvance("0000000000000") + 6);
        QVERIFY(widths[7] >= metrics.horizontalAdvance("28.12.2000 20:28") + 6);
        const int gained = widths[0] - 82 + widths[7] - 90;
        QVERIFY(gained > 0);
        QCOMPARE(widths, QList<int>({widths[0], 234 - gained, 0, 258, 0, 74, 68, widths[7], 36, 30, 0}));
        QCOMPARE(Column(page->ADOQueryCustomer, "ZAKAZNIK").first(), QString("0000000000001"));
        QCOMPARE(Column(page->ADOQueryCustomer, "OMEZENI"), QStringList({"-", "!", "+", "", "$"}));
        // A hidden column comes back from the popup with its own width.
        QMenu *popup = desk.window()->popupMenuRxDBGrid();
        PopupMenuPopup(popup, grid);
        const QList<QAction *> items = popup->findChild<QMenu *>("PopupItemColumns")->actions();
        QCOMPARE(items.size(), 11);
        QVERIFY(!items[2]->isChecked());
        items[2]->trigger();
        QCOMPARE(grid->columnWidth(2), 60);

        page->RxDBGridCustomer->setFocus(); // the boxes show each current customer
        QSignalSpy handed(page, &TCustomerPage::CurrentCustomerChanged);
        QCOMPARE(Sorted(Column(page->ADOQueryCustomerVideo, "VIDEO")), QStringList({"0000000000001", "0000000000003"}));
        QCOMPARE(Sorted(Column(page->ADOQueryCustomerVideo, "ZDARMA")), QStringList({"$", "-"}));
        QVERIFY(page->RxDBGridCustomerVideo->isColumnHidden(page->ADOQueryCustomerVideo->fieldIndex("PUJCENA")));
        QVERIFY(desk.moveTo(2));
        QCOMPARE(Column(page->ADOQueryCustomerVideo, "TITUL"), QStringList({"Titul 2"}));
        QCOMPARE(Column(page->ADOQueryCustomerVideo, "ZDARMA"), QStringList({"-"}));
        QCOMPARE(handed.size(), 1);
        QCOMPARE(handed[0][0].toLongLong(), qint64(2));
        QCOMPARE(handed[0][1].toString(), QString("čermák"));
        QCOMPARE(page->Int64EditCustomerCustomer->text(), QString("2"));
        QCOMPARE(page->ComboBoxCustomerName->currentText(), QString("čermák"));
        QVERIFY(desk.moveTo(3));
        QCOMPARE(page->ADOQueryCustomerVideo->recordCount(), 0);
    }

    // Lent rows in the lent colour, overdue ones (any line overdue) in the overdue colour,
    // from the cache of lent lines and only while the setting is on.
    void rowColours_data() { AddEngineRows(); }
    void rowColours()
    {
        OPEN_TEST_DATABASE(db);
        AddShop();
        AddLine({4, 3, 1, Today.addDays(-1)}); // customer 1 now also has an overdue line
        CustomerDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TCustomerPage *page = desk.page();
        const GridColors colours = CurrentGridColors();
        FormSetupVideo->CheckBoxColor->setChecked(true);
        QCOMPARE(CellColors(page->RxDBGridCustomer, 0).first, colours.delayed);
        QCOMPARE(CellColors(page->RxDBGridCustomer, 1).first, colours.delayed);
        QCOMPARE(CellColors(page->RxDBGridCustomer, 2).first, QColor(Qt::black));
        desk.moveTo(1);
        // History: the line due today is lent, the overdue one overdue.
        TRxDBGridEx *history = page->RxDBGridCustomerVideo;
        QStringList states;
        for (int row = 0; row < page->ADOQueryCustomerVideo->recordCount(); ++row) {
            const QColor text = CellColors(history, row).first;
            states << (text == colours.delayed ? "overdue" : text == colours.lent ? "lent" : "-");
        }
        QCOMPARE(Sorted(states), QStringList({"-", "lent", "overdue"}));
        FormSetupVideo->CheckBoxColor->setChecked(false);
        QCOMPARE(CellColors(page->RxDBGridCustomer, 1).first, QColor(Qt::black));
    }

    // Each box of the panel through its control, the count and the blinking label; the
    // reset leaves the overdue box in force.
    void filterPanel_data() { AddEngineRows(); }
    void filterPanel()
    {
        OPEN_TEST_DATABASE(db);
        AddShop();
        CustomerDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TCustomerPage *page = desk.page();
        desk.window()->findChild<QTimer *>("Timer")->stop();
        auto blinks = [&] { return FilterLabelBlinks(desk.window(), page); };
        QCOMPARE(page->DateTimePickerCustomerRegistrationFirst->Date(), Today);
        QVERIFY(!page->EditCustomerName->isEnabled());
        QVERIFY(!blinks());

        page->FilterPanel->Open();
        desk.moveTo(2);
        QTest::mouseClick(page->CheckBoxCustomerName, Qt::LeftButton);
        QVERIFY(page->EditCustomerName->isEnabled());
        QCOMPARE(desk.listed(), QList<qint64>({1, 2, 3, 4, 5})); // an empty name: every name
        page->EditCustomerName->setFocus();
        TypeText(page->EditCustomerName, "č");
        QCOMPARE(desk.listed(), QList<qint64>({1, 2}));
        QCOMPARE(desk.current(), qint64(2)); // still selected: still current
        QCOMPARE(page->StatusText(), QString(" Zákazníků: 2"));
        QVERIFY(blinks());

        QTest::mouseClick(page->CheckBoxCustomerLater, Qt::LeftButton);
        QCOMPARE(desk.listed(), QList<qint64>({2}));
        QTest::mouseClick(page->CheckBoxCustomerLimit, Qt::LeftButton); // no restriction chosen
        QCOMPARE(desk.listed(), QList<qint64>({2}));
        page->ButtonCustomerReset->click();
        QVERIFY(!page->CheckBoxCustomerName->isChecked());
        QVERIFY(!page->CheckBoxCustomerLimit->isChecked());
        QVERIFY(page->CheckBoxCustomerLater->isChecked());
        QCOMPARE(desk.listed(), QList<qint64>({2}));
        QCOMPARE(page->StatusText(), QString(" Zákazníků: 1"));
        QVERIFY(blinks());

        QTest::mouseClick(page->CheckBoxCustomerLater, Qt::LeftButton);
        QTest::mouseClick(page->CheckBoxCustomerCustomer, Qt::LeftButton);
        page->Int64EditCustomerCustomerSecond->setFocus();
        page->Int64EditCustomerCustomerSecond->selectAll();
        QTest::keyClicks(page->Int64EditCustomerCustomerSecond, "3");
        QCOMPARE(desk.listed(), QList<qint64>({1, 2, 3}));
        QTest::keyClick(page->Int64EditCustomerCustomerSecond, Qt::Key_Backspace); // no upper bound
        QCOMPARE(desk.listed(), QList<qint64>({1, 2, 3, 4, 5}));
        QVERIFY(blinks()); // "WHERE tab_zakaznik.ZAKAZNIK>=0"
        page->ButtonCustomerReset->click();
        QCOMPARE(page->StatusText(), QString(" Zákazníků: 5"));
        QVERIFY(!blinks());

        // Moving over the list folds the panel away.
        page->FilterPanel->Open();
        QTest::mouseMove(page->RxDBGridCustomer->viewport(), QPoint(20, 20));
        QMouseEvent move(QEvent::MouseMove, QPointF(30, 30), QPointF(30, 30), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(page->RxDBGridCustomer->viewport(), &move);
        QVERIFY(!page->FilterPanel->IsOpen());
        QCOMPARE(page->FilterPanel->Strip()->width(), 32);
    }

    // The name box completes from the whole table in either letter case, the completed
    // rest selected, and finds the customer behind the proposal (also one without a birth
    // number); Backspace empties it; a customer the filter hides empties the number box.
    void nameBox_data() { AddEngineRows(); }
    void nameBox()
    {
        OPEN_TEST_DATABASE(db);
        AddShop();
        CustomerDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        TCustomerPage *page = desk.page();
        TFindComboBox *box = page->ComboBoxCustomerName;
        box->setFocus();
        QWidget *typing = QApplication::focusWidget();
        QVERIFY(typing == box || box->isAncestorOf(typing));
        box->lineEdit()->selectAll(); // as the main window leaves it after an action
        TypeText(typing, "Č");
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        QCOMPARE(items, QStringList({"Čapek Karel / 7801011229", "čermák / 7901011234"}));
        QCOMPARE(box->currentText(), QString("Čapek Karel / 7801011229"));
        QCOMPARE(box->lineEdit()->selectedText(), QString("apek Karel / 7801011229"));
        QCOMPARE(desk.current(), qint64(1));
        QCOMPARE(page->Int64EditCustomerCustomer->text(), QString("1"));
        TypeText(typing, "E");
        QCOMPARE(box->currentText(), QString("čermák / 7901011234"));
        QCOMPARE(box->lineEdit()->selectedText(), QString("rmák / 7901011234"));
        QCOMPARE(desk.current(), qint64(2));

        QTest::keyClick(typing, Qt::Key_Backspace);
        QCOMPARE(box->currentText(), QString());
        QCOMPARE(box->count(), 0);
        QCOMPARE(desk.current(), qint64(2));

        TypeText(typing, "NOVÁK");
        QCOMPARE(box->currentText(), QString("Novák / "));
        QCOMPARE(desk.current(), qint64(4));
        ModalAnswers answers;
        QTest::keyClick(typing, Qt::Key_Delete);
        TypeText(typing, "x");
        QCOMPARE(box->currentText(), QString());
        QCOMPARE(page->Int64EditCustomerCustomer->text(), QString());
        QTest::keyClick(typing, Qt::Key_Return);
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(answers.shown()[0].text, QString("Hledané jméno zákazníka nenalezeno..."));
        QCOMPARE(answers.shown()[0].detail, QString("Hledané jméno: []"));

        page->CheckBoxCustomerName->click(); // only "Č..."
        page->EditCustomerName->setText("č");
        page->CustomerFilter();
        box->setFocus();
        TypeText(QApplication::focusWidget(), "o'");
        QCOMPARE(box->currentText(), QString("O'Neil / 6001011234"));
        QCOMPARE(page->Int64EditCustomerCustomer->text(), QString());
        QCOMPARE(desk.current(), qint64(1));
    }

    // A database without the page's tables fails the log-in.
    void logInNeedsTables_data() { AddEngineRows(); }
    void logInNeedsTables()
    {
        OPEN_TEST_DATABASE(db);
        CustomerDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        QVERIFY(desk.reopen());
        QVERIFY(QSqlQuery(CurrentConnection()).exec("DROP TABLE tab_pujckydetail"));
        QVERIFY(!desk.reopen());
    }

private:
    QTemporaryDir m_work;
};

QTEST_MAIN(TestCustomerPage)
#include "tst_customerpage.moc"
