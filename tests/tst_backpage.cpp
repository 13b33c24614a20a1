// The return page on a logged-in desk: a scanned video or title finds the customer who has it
// out, Enter opens the return dialog and "+" returns, with the lists, the status bar and the
// running totals following; the customer typed by number or name; a change of the current
// customer emptying a basket that holds lines; a holder the customer filter hides; the
// messages of Enter; drag and drop between the grids; the row colours.
#include "catalogue/UCustomerPage.h"
#include "core/Grids.h"
#include "core/LentLines.h"
#include "core/Log.h"
#include "core/RunGlobals.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/UValmedo.h"
#include "core/controls/FindBoxes.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "rental/BackBasket.h"
#include "rental/RentalTotals.h"
#include "rental/UBack.h"
#include "rental/UBackPage.h"
#include "rental/URecapitulationBack.h"
#include "support/DeskAnswers.h"
#include "support/DeskFixture.h"
#include "support/LoggedInDesk.h"
#include "support/ModalAnswers.h"
#include "support/TestDatabase.h"
#include "support/TestCommands.h"
#include "support/TestLends.h"

#include <functional>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

namespace {

Money Kc(const char *text)
{
    return Money::fromString(QString::fromLatin1(text));
}

// Lent on Friday 4 November 2005 (the shop closed at the weekend), returned on Thursday the
// 10th. Customer 1 has 1 "Zorro" (due Monday: 3 days over) and 2 "Amélie" (due today) out,
// customer 2 has 3 "Matrix" (due Wednesday: 1 day over), customer 3 has 5, a second "Matrix";
// customer 4 has nothing out and 4 "Pelíšky" is in the shop.
const QDateTime LendClock(QDate(2005, 11, 4), QTime(10, 15, 20));
const QDateTime ReturnClock(QDate(2005, 11, 10), QTime(16, 42, 31));

void AddShop()
{
    SetRunDate(LendClock.date());
    const char *names[] = {"Novák", "Svoboda", "Dvořák", "Procházka"};
    for (int customer = 1; customer <= 4; ++customer)
        AddTestCustomer(customer, QString::fromUtf8(names[customer - 1]));
    const char *titles[] = {"Zorro", "Amélie", "Matrix", "Pelíšky", "Matrix"};
    for (int video = 1; video <= 5; ++video)
        AddTestVideo(video, QString::fromUtf8(titles[video - 1]));
    auto line = [](qint64 video, int days) {
        return TestLentLine{video, LendClock.date().addDays(days), days, Kc("30"), Kc("10"), Kc("100")};
    };
    AddTestLend(1, 1, LendClock, {line(1, 3), line(2, 6)});
    AddTestLend(2, 2, LendClock, {line(3, 5)});
    AddTestLend(3, 3, LendClock, {line(5, 5)});
    SetRunDate(ReturnClock.date());
    SetClock([] { return ReturnClock; });
}

// The desk after a log-in in the later run, on the return page, its window active.
struct ReturnPageDesk : DeskFixture {
    TBackPage *page = nullptr;

    explicit ReturnPageDesk(Engine engine, RecordedDeskHooks *hooks)
        : DeskFixture(engine, AddShop, hooks, [] {
              FormSetupPrint->CheckBoxExtra->setChecked(false);
          })
    {
        if (loggedIn())
            page = window()->backPage();
    }
    bool ready() const { return page; }
    qint64 current() const { return currentCustomer(); }
};

QList<qint64> Videos(const DataSet &data)
{
    QList<qint64> videos;
    for (int row = 0; row < data.recordCount(); ++row)
        videos << data.valueAt(row, data.fieldIndex("VIDEO")).toLongLong();
    return videos;
}

const KeyPress Plus{Qt::Key_Plus, Qt::KeypadModifier};
const KeyPress Space{Qt::Key_Space, Qt::NoModifier};
const KeyPress Escape{Qt::Key_Escape, Qt::NoModifier};

// The recapitulation confirmed; its amount kept.
Answer Confirm(QString *amount)
{
    return [amount](QDialog *dialog) {
        auto *recapitulation = static_cast<TFormRecapitulationBack *>(dialog);
        *amount = recapitulation->LabelRecapitulation->text();
        recapitulation->BitBtnBack->click();
        return dialog->result();
    };
}

} // namespace

class TestBackPage : public QObject {
    Q_OBJECT

private slots:
    void init() { m_hooks = {}; }
    void cleanup()
    {
        SetRunDate(QDate());
        SetClock({});
    }

    void scannedVideoReturnedByKeys_data() { AddEngineRows(); }
    void scannedVideoReturnedByKeys();
    void customerTypedAndBasketKeys_data() { AddEngineRows(); }
    void customerTypedAndBasketKeys();
    void customerChangeEmptiesBasket_data() { AddEngineRows(); }
    void customerChangeEmptiesBasket();
    void hiddenHolderIsReported_data() { AddEngineRows(); }
    void hiddenHolderIsReported();
    void enterMessages_data() { AddEngineRows(); }
    void enterMessages();
    void dragAndDrop_data() { AddEngineRows(); }
    void dragAndDrop();
    void rowColours_data() { AddEngineRows(); }
    void rowColours();

private:
    RecordedDeskHooks m_hooks;
};

// F8, a scanned number of a video that another customer has out, Enter: that customer becomes
// current, the dialog opens with the video in the basket, "+" and the recapitulation return it.
void TestBackPage::scannedVideoReturnedByKeys()
{
    QFETCH(Engine, engine);
    ReturnPageDesk desk(engine, &m_hooks);
    QVERIFY2(desk.ready(), qPrintable(desk.error()));
    TBackPage *page = desk.page;
    desk.key(Qt::Key_F8);
    QCOMPARE(desk.window()->pageIndex(), int(TFormValmedo::PageBack));
    QCOMPARE(page->Int64EditBackCustomer->Value(), qint64(1));
    QCOMPARE(page->ComboBoxBackName->currentText(), QString("Novák"));
    QCOMPARE(Videos(*page->ADOQueryBackVideo), (QList<qint64>{1, 2}));
    QCOMPARE(page->StatusTexts(), (QStringList{" Položek: 0", " Vratné: 0,00 Kč", " Záloha: 0,00 Kč"}));
    QVERIFY(!desk.desk->action("ActionBackBack")->isEnabled());

    desk.type(page->Int64EditBackVideo, QStringLiteral("3"));
    QCOMPARE(page->ComboBoxBackTitle->currentText(), QString()); // not one of Novák's
    QStringList during;
    QString amount;
    ModalAnswers answers({BackDialog(
                              [&](TFormBack *) {
                                  during << QString::number(desk.current()) << page->ComboBoxBackName->currentText()
                                         << page->StatusTexts()
                                         << QStringLiteral("%1/%2").arg(TotalPayment).arg(TotalDeposit);
                                  for (qint64 video : Videos(*page->TableBack))
                                      during << QString::number(video);
                              },
                              {Plus}),
                          Confirm(&amount)});
    desk.key(Qt::Key_Return);
    QCOMPARE(during, (QStringList{"2", "Svoboda", " Položek: 1", " Vratné: 10,00 Kč", " Záloha: 100,00 Kč",
                                  "10/100", "3"}));
    QCOMPARE(amount, QString("Vrátit:   90,00 Kč"));

    // Written as return document 4 into the takings; the journal stands on it and its
    // receipt is printed.
    QCOMPARE(TestRows(QStringLiteral("SELECT DOKLAD,OPERACE,ZAKAZNIK FROM tab_pujcky WHERE OPERACE=0")),
             QStringList{"4|0|2"});
    QCOMPARE(TestRows(QStringLiteral("SELECT VIDEO,DOKLAD_VRA,PUJCENA,VRACENO,PRES FROM tab_pujckydetail ORDER BY VIDEO")),
             (QStringList{"1|NULL|1|NULL|NULL", "2|NULL|1|NULL|NULL", "3|4|0|2005-11-10 16:42|1",
                          "5|NULL|1|NULL|NULL"}));
    QCOMPARE(m_hooks.journal, QList<QVariant>{4});
    QCOMPARE(m_hooks.receipts, (QList<std::pair<qint64, bool>>{{4, false}}));
    QVERIFY(desk.window()->log()->Lines().last().endsWith(QStringLiteral("[0000000000004] [Ok]")));
    // The lists follow: Svoboda has nothing out any more, the basket is empty.
    QCOMPARE(desk.current(), qint64(2));
    QVERIFY(page->ADOQueryBackVideo->isEmpty());
    QVERIFY(page->TableBack->isEmpty());
    QCOMPARE(page->StatusTexts(), (QStringList{" Položek: 0", " Vratné: 0,00 Kč", " Záloha: 0,00 Kč"}));
    QCOMPARE(TotalPayment, 0.0f);
    QVERIFY(!desk.desk->action("ActionBackBack")->isEnabled());
    QVERIFY(!desk.customers()->LentLines()->CustomerOverdue(2).has_value());
    QCOMPARE(desk.window()->focusWidget(), page->Int64EditBackCustomer);
    QCOMPARE(page->Int64EditBackCustomer->selectedText(), QString("2"));

    // The title of a video only Dvořák has out (letter case aside) finds him the same way.
    desk.activate();
    desk.type(page->ComboBoxBackTitle, QStringLiteral("mat"));
    QCOMPARE(page->ComboBoxBackTitle->currentText(), QString("Matrix"));
    QList<qint64> basket;
    answers.add(BackDialog([&](TFormBack *) { basket = Videos(*page->TableBack); }, {Escape}));
    desk.key(Qt::Key_Return);
    QCOMPARE(desk.current(), qint64(3));
    QCOMPARE(basket, QList<qint64>{5});
    QCOMPARE(Videos(*page->TableBack), QList<qint64>{5}); // Esc keeps the basket for later
    QVERIFY(desk.desk->action("ActionBackBack")->isEnabled());
    QCOMPARE(answers.pending(), 0);
}

// The customer typed by number, Enter opens his lent videos, Space takes them all, Esc keeps
// them; Del in the basket grid removes one, the numeric "+" on the page returns the rest.
void TestBackPage::customerTypedAndBasketKeys()
{
    QFETCH(Engine, engine);
    ReturnPageDesk desk(engine, &m_hooks);
    QVERIFY2(desk.ready(), qPrintable(desk.error()));
    TBackPage *page = desk.page;
    desk.window()->setPageIndex(TFormValmedo::PageBack);

    desk.type(page->Int64EditBackCustomer, QStringLiteral("2"));
    QCOMPARE(desk.current(), qint64(2));
    QCOMPARE(page->ComboBoxBackName->currentText(), QString("Svoboda"));
    desk.type(page->Int64EditBackCustomer, QStringLiteral("1"));
    QCOMPARE(page->ComboBoxBackName->currentText(), QString("Novák"));
    QCOMPARE(Videos(*page->ADOQueryBackVideo), (QList<qint64>{1, 2}));
    ModalAnswers answers({BackDialog({}, {Space, Escape})});
    desk.key(Qt::Key_Return);
    QCOMPARE(Videos(*page->TableBack), (QList<qint64>{1, 2}));
    QCOMPARE(page->StatusTexts(), (QStringList{" Položek: 2", " Vratné: 30,00 Kč", " Záloha: 200,00 Kč"}));
    QCOMPARE(TotalDeposit, 200.0f);

    // Del reaches the delete action only from a grid.
    desk.activate();
    page->RxDBGridBack->setFocus();
    page->TableBack->first();
    desk.key(Qt::Key_Delete);
    QCOMPARE(Videos(*page->TableBack), QList<qint64>{2});
    QCOMPARE(page->StatusTexts().first(), QString(" Položek: 1"));
    page->Int64EditBackCustomer->setFocus();
    desk.key(Qt::Key_Delete);
    QCOMPARE(Videos(*page->TableBack), QList<qint64>{2});

    QString amount;
    answers.add(Confirm(&amount));
    desk.key(Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(amount, QString("Vrátit:   100,00 Kč")); // due today: no late fee
    QCOMPARE(TestRows(QStringLiteral("SELECT VIDEO,PUJCENA,PRES FROM tab_pujckydetail WHERE ZAKAZNIK=1 ORDER BY VIDEO")),
             (QStringList{"1|1|NULL", "2|0|0"}));
    QCOMPARE(Videos(*page->ADOQueryBackVideo), QList<qint64>{1});
    QVERIFY(page->TableBack->isEmpty());

    // The last line removed by Del puts the focus in the customer number box.
    answers.add(BackDialog({}, {Space, Escape}));
    desk.activate();
    desk.type(page->Int64EditBackCustomer, QStringLiteral("1"));
    desk.key(Qt::Key_Return);
    QCOMPARE(Videos(*page->TableBack), QList<qint64>{1});
    desk.activate();
    page->RxDBGridBack->setFocus();
    desk.key(Qt::Key_Delete);
    QVERIFY(page->TableBack->isEmpty());
    QCOMPARE(desk.window()->focusWidget(), page->Int64EditBackCustomer);
    QVERIFY(!desk.desk->action("ActionBackDelete")->isEnabled());
    QCOMPARE(answers.pending(), 0);
}

// Any change of the current customer empties a basket that holds lines; the page's boxes and
// lent videos follow him.
void TestBackPage::customerChangeEmptiesBasket()
{
    QFETCH(Engine, engine);
    ReturnPageDesk desk(engine, &m_hooks);
    QVERIFY2(desk.ready(), qPrintable(desk.error()));
    TBackPage *page = desk.page;
    desk.window()->setPageIndex(TFormValmedo::PageBack);
    page->RxDBGridBackVideo->setFocus();
    {
        ModalAnswers answers({BackDialog({}, {Space, Escape})});
        desk.key(Qt::Key_Return);
    }
    QCOMPARE(page->TableBack->recordCount(), 2);

    // On the customer page, the clerk moves to Svoboda.
    QVERIFY(desk.customers()->ADOQueryCustomer->locate(QStringLiteral("ZAKAZNIK"), 2));
    QVERIFY(page->TableBack->isEmpty());
    QCOMPARE(page->StatusTexts(), (QStringList{" Položek: 0", " Vratné: 0,00 Kč", " Záloha: 0,00 Kč"}));
    QCOMPARE(TotalPayment, 0.0f);
    QCOMPARE(TotalDeposit, 0.0f);
    QCOMPARE(page->Int64EditBackCustomer->Value(), qint64(2));
    QCOMPARE(page->ComboBoxBackName->currentText(), QString("Svoboda"));
    QCOMPARE(Videos(*page->ADOQueryBackVideo), QList<qint64>{3});
    QCOMPARE(page->Int64EditBackVideo->Value(), qint64(3));
    QCOMPARE(page->ComboBoxBackTitle->currentText(), QString("Matrix"));
    QVERIFY(!desk.desk->action("ActionBackBack")->isEnabled());
}

// A scanned video whose holder the customer filter hides is reported; no dialog opens and the
// current customer's basket and lent videos stay as they are.
void TestBackPage::hiddenHolderIsReported()
{
    QFETCH(Engine, engine);
    ReturnPageDesk desk(engine, &m_hooks);
    QVERIFY2(desk.ready(), qPrintable(desk.error()));
    TBackPage *page = desk.page;
    TCustomerPage *customers = desk.customers();
    customers->CheckBoxCustomerName->setChecked(true);
    customers->EditCustomerName->setText(QStringLiteral("Nov"));
    customers->CustomerFilter();
    QCOMPARE(desk.current(), qint64(1));
    desk.window()->setPageIndex(TFormValmedo::PageBack);
    AddBackItem(*page->TableBack, *page->ADOQueryBackVideo);
    page->SetStatusBarBack();

    ModalAnswers answers; // a dialog would fail the test
    desk.type(page->Int64EditBackVideo, QStringLiteral("3"));
    desk.key(Qt::Key_Return);
    QCOMPARE(SelfClosedMessages(answers), QStringList{"Zákazník, který má video půjčené, není v seznamu... / "
                                            "Zkontrolujte zda není aktivní filtr..."});
    QCOMPARE(desk.current(), qint64(1));
    QCOMPARE(Videos(*page->TableBack), QList<qint64>{1});
    QCOMPARE(Videos(*page->ADOQueryBackVideo), (QList<qint64>{1, 2}));
    QCOMPARE(page->Int64EditBackVideo->selectedText(), QString("3"));
    QCOMPARE(TestRows(QStringLiteral("SELECT COUNT(*) FROM tab_pujckydetail WHERE PUJCENA=1")), QStringList{"4"});
}

// What Enter says when there is nothing to open the dialog on.
void TestBackPage::enterMessages()
{
    QFETCH(Engine, engine);
    ReturnPageDesk desk(engine, &m_hooks);
    QVERIFY2(desk.ready(), qPrintable(desk.error()));
    TBackPage *page = desk.page;
    desk.window()->setPageIndex(TFormValmedo::PageBack);
    struct Case {
        QWidget *box;
        const char *typed;
        const char *message;
    };
    const Case cases[] = {
        {page->Int64EditBackVideo, "4", "Toto video není půjčené... / Hledaný kód: [4]"},
        {page->Int64EditBackVideo, "99", "Hledaný kód videa nenalezen... / Hledaný kód: [99]"},
        {page->ComboBoxBackTitle, "Pelíšky", "Toto video není půjčené... / Hledaný název: [Pelíšky]"},
        {page->ComboBoxBackTitle, "Kolja", "Hledaný název videa nenalezen... / Hledaný název: [Kolja]"},
        // Two copies out with Svoboda and Dvořák, while Novák is current.
        {page->ComboBoxBackTitle, "Matrix", "Video tohoto názvu má půjčené více zákazníků... / Hledaný název: [Matrix]"},
        {page->Int64EditBackCustomer, "77", "Hledaný kód zákazníka nenalezen... / Hledaný kód: [77]"},
        {page->Int64EditBackCustomer, "4", "Zadaný zákazník nemá nic vypůjčeno... / Není co vracet..."},
    };
    ModalAnswers answers; // no dialog opens
    for (const Case &c : cases) {
        if (auto *box = qobject_cast<QComboBox *>(c.box)) {
            box->setFocus();
            box->setEditText(QString::fromUtf8(c.typed)); // as typed, whatever the completion
        } else {
            desk.type(c.box, QString::fromUtf8(c.typed));
        }
        desk.key(Qt::Key_Return);
        QCOMPARE(SelfClosedMessages(answers).last(), QString::fromUtf8(c.message));
    }
    // A number that finds no customer has emptied the name box.
    desk.type(page->Int64EditBackCustomer, QStringLiteral("77"));
    QCOMPARE(page->ComboBoxBackName->currentText(), QString());
    QCOMPARE(page->DBTextBackCustomerAddress->text(), QString());
    QVERIFY(page->TableBack->isEmpty());
}

// A row of the lent videos dropped on the basket opens the dialog with it added; a basket row
// dropped on the list leaves the basket.
void TestBackPage::dragAndDrop()
{
    QFETCH(Engine, engine);
    ReturnPageDesk desk(engine, &m_hooks);
    QVERIFY2(desk.ready(), qPrintable(desk.error()));
    TBackPage *page = desk.page;
    desk.window()->setPageIndex(TFormValmedo::PageBack);
    const auto drop = [](TRxDBGridEx *from, TRxDBGridEx *onto) { return DropGridRow(from, onto); };
    page->ADOQueryBackVideo->last();
    ModalAnswers answers({BackDialog({}, {Escape})});
    QVERIFY(drop(page->RxDBGridBackVideo, page->RxDBGridBack));
    QCOMPARE(Videos(*page->TableBack), QList<qint64>{2});
    QVERIFY(drop(page->RxDBGridBack, page->RxDBGridBackVideo));
    QVERIFY(page->TableBack->isEmpty());
    QCOMPARE(page->StatusTexts().first(), QString(" Položek: 0"));
    // A grid's row dropped on itself does nothing.
    QVERIFY(drop(page->RxDBGridBackVideo, page->RxDBGridBackVideo));
    QCOMPARE(answers.pending(), 0);
}

// With the colour setting on, an overdue line is shown in the overdue colour and a line due
// today in the lent colour; with it off, neither is coloured.
void TestBackPage::rowColours()
{
    QFETCH(Engine, engine);
    ReturnPageDesk desk(engine, &m_hooks);
    QVERIFY2(desk.ready(), qPrintable(desk.error()));
    TRxDBGridEx *grid = desk.page->RxDBGridBackVideo;
    auto textColour = [grid](int row) {
        QFont font;
        QColor text = Qt::black;
        QColor background = Qt::white;
        grid->OnGetCellParams(grid, grid->model()->index(row, 1), false, font, text, background);
        return text;
    };
    const GridColors colours = CurrentGridColors();
    FormSetupVideo->CheckBoxColor->setChecked(true);
    QCOMPARE(textColour(0), colours.delayed); // Zorro, due Monday
    QCOMPARE(textColour(1), colours.lent);    // Amélie, due today
    FormSetupVideo->CheckBoxColor->setChecked(false);
    QCOMPARE(textColour(0), QColor(Qt::black));
}

QTEST_MAIN(TestBackPage)
#include "tst_backpage.moc"
