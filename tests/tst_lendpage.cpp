// The lend page on a logged-in desk: the customer typed by number or by name and a lend made
// by keys through the lend dialog and the recapitulation, with the lists, the status bar and
// the running totals following; Enter's messages and a barred customer; the information on
// the videos a customer has out; the customer and video pages' current rows reaching the
// page's boxes and emptying a basket that holds lines; the basket's keys, double click and
// drag and drop.
#include "catalogue/UCustomerPage.h"
#include "catalogue/UVideoPage.h"
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
#include "core/database/Commands.h"
#include "rental/LendBasket.h"
#include "rental/LendStore.h"
#include "rental/RentalTotals.h"
#include "rental/UInformationLend.h"
#include "rental/ULend.h"
#include "rental/ULendPage.h"
#include "rental/URecapitulationLend.h"
#include "support/LendShop.h"
#include "support/LoggedInDesk.h"
#include "support/ModalAnswers.h"
#include "support/DeskAnswers.h"
#include "support/DeskFixture.h"
#include "support/PageDesk.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"
#include "support/TestLends.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <functional>

namespace {

const QDate Friday(2005, 11, 4);

// Friday 4 November 2005, the shop closed at the weekend, a DVD for 30 Kč a day with a
// deposit of 100 Kč. Customers: 1 Novák ("$", lends against a deposit), 2 Svoboda ("-"),
// 3 Dvořák ("!", barred), 4 Svobodová ("+"). Svoboda has 4 "Delta" (due on Wednesday, so
// overdue), 5 "Epsilon" (due today) and 6 "Zeta" out in document 1; 1 "Alfa" to 3 "Gama"
// are in the shop.
void AddShop()
{
    SetRunDate(Friday);
    SetMediumPrices(QStringLiteral("DVD"), QStringLiteral("30"), QStringLiteral("10"), QStringLiteral("100"));
    const std::pair<const char *, int> customers[] = {{"Novák", 1}, {"Svoboda", 2}, {"Dvořák", 0}, {"Svobodová", 3}};
    for (int i = 0; i < 4; ++i)
        AddLendCustomer(i + 1, QString::fromUtf8(customers[i].first), customers[i].second);
    SetCommand(QStringLiteral("UPDATE tab_zakaznik SET ADRESA1='Dlouhá 12',TEXT='stálý' WHERE ZAKAZNIK=1"));
    ExecCommand();
    const char *titles[] = {"Alfa", "Beta", "Gama", "Delta", "Epsilon", "Zeta"};
    for (int i = 0; i < 6; ++i)
        AddLendVideo(i + 1, QString::fromLatin1(titles[i]));
    const Money fee = Money::fromString(QStringLiteral("30"));
    auto line = [&](qint64 video, int dueDay) {
        return TestLentLine{video, QDate(2005, 11, dueDay), 1, fee, fee, Money()};
    };
    AddTestLend(1, 2, QDateTime(QDate(2005, 11, 1), QTime(9, 0)), {line(4, 2), line(5, 4), line(6, 7)});
}

// The desk after a log-in, on the lend page, its window active.
struct LendPageDesk : DeskFixture {
    TLendPage *page = nullptr;

    explicit LendPageDesk(Engine engine, RecordedDeskHooks *hooks)
        : DeskFixture(engine, AddShop, hooks, [] {
              FormSetupVideo->CheckBoxLendInformation->setChecked(false);
              FormValmedo->setPageIndex(TFormValmedo::PageLend);
          })
    {
        if (loggedIn())
            page = window()->lendPage();
    }
    bool ready() const { return page; }
    TVideoPage *videos() const { return window()->videoPage(); }
    QAction *action(const char *name) const { return desk->action(name); }
    // The basket as "video:due/days" in its order.
    QString basket() const
    {
        const TTableLend &table = page->TableLend();
        QStringList lines;
        for (int row = 0; row < table.recordCount(); ++row)
            lines << QStringLiteral("%1:%2/%3")
                         .arg(table.valueAt(row, table.fieldIndex("VIDEO")).toLongLong())
                         .arg(table.valueAt(row, table.fieldIndex("VRATIT")).toDate().toString(QStringLiteral("d.M.")))
                         .arg(table.valueAt(row, table.fieldIndex("DNY")).toInt());
        return lines.join(QLatin1Char(' '));
    }
};

const QStringList EmptyStatus{" Položek: 0", " Platba: 0,00 Kč", " Záloha: 0,00 Kč"};

Answer Escape()
{
    return LendDialog([](TFormLend *form) { KeyTo(form, Qt::Key_Escape); });
}

// The text selected in the window's focused edit (or the focused control's class).
QString SelectedText(QWidget *window)
{
    QWidget *focused = window->focusWidget();
    if (auto *box = qobject_cast<QComboBox *>(focused))
        focused = box->lineEdit();
    if (auto *edit = qobject_cast<QLineEdit *>(focused))
        return edit->selectedText();
    return focused ? QString::fromLatin1(focused->metaObject()->className()) : QStringLiteral("no focus");
}

} // namespace

class TestLendPage : public QObject {
    Q_OBJECT

private slots:
    void init() { m_hooks = {}; }
    void cleanup()
    {
        SetRunDate(QDate());
    }

    void lendByKeys_data() { AddEngineRows(); }
    void lendByKeys();
    void customerByNameAndEnterMessages_data() { AddEngineRows(); }
    void customerByNameAndEnterMessages();
    void videosOutShownFirst_data() { AddEngineRows(); }
    void videosOutShownFirst();
    void otherPagesReachTheBoxes_data() { AddEngineRows(); }
    void otherPagesReachTheBoxes();
    void basketKeysAndMouse_data() { AddEngineRows(); }
    void basketKeysAndMouse();

private:
    RecordedDeskHooks m_hooks;
};

// F7, the customer's number, Enter: the lend dialog opens on the current video without adding
// it; two videos scanned (the second lent a day longer by a second Enter), "+" and the
// recapitulation write the lend; the lists, the status bar and the focus follow. Then a lend
// refused at the write.
void TestLendPage::lendByKeys()
{
    QFETCH(Engine, engine);
    LendPageDesk desk(engine, &m_hooks);
    QVERIFY2(desk.ready(), qPrintable(desk.error()));
    TLendPage *page = desk.page;
    desk.window()->setPageIndex(TFormValmedo::PageLends);
    desk.key(Qt::Key_F7);
    QCOMPARE(desk.window()->pageIndex(), int(TFormValmedo::PageLend));
    QCOMPARE(page->StatusTexts(), EmptyStatus);
    QVERIFY(!desk.action("ActionLendLend")->isEnabled());
    QVERIFY(!desk.action("ActionLendDelete")->isEnabled());

    desk.type(page->Int64EditLendCustomer, QStringLiteral("1"));
    QCOMPARE(desk.currentCustomer(), qint64(1));
    QCOMPARE(page->ComboBoxLendName->currentText(), QString("Novák"));
    QCOMPARE(page->DBTextLendCustomerBirth->text(), QString("0000000001"));
    QCOMPARE(page->DBTextLendCustomerAddress->text(), QString("Dlouhá 12"));
    QCOMPARE(page->DBTextLendCustomerText->text(), QString("stálý"));

    QStringList during;
    QString amount;
    ModalAnswers answers({LendDialog([&](TFormLend *form) {
                              during << desk.basket() << form->EditTitle->text();
                              Scan(form, "2");
                              KeyTo(form, Qt::Key_Return);
                              Scan(form, "3");
                              KeyTo(form, Qt::Key_Return);
                              KeyTo(form, Qt::Key_Return);
                              during << desk.basket() << page->StatusTexts()
                                     << QStringLiteral("%1/%2").arg(TotalPayment).arg(TotalDeposit);
                              KeyTo(form, Qt::Key_Plus, Qt::KeypadModifier);
                          }),
                          On<TFormRecapitulationLend>([&](TFormRecapitulationLend *recapitulation) {
                              amount = recapitulation->LabelRecapitulation->text();
                              recapitulation->BitBtnLend->click();
                          })});
    desk.key(Qt::Key_Return);
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(during, (QStringList{"", "Alfa", "2:7.11./1 3:8.11./2", " Položek: 2", " Platba: 90,00 Kč",
                                  " Záloha: 200,00 Kč", "90/200"}));
    QCOMPARE(amount, QString("Platba:   290,00 Kč"));

    // Written as lend document 2; the journal stands on it and its receipt is printed.
    QCOMPARE(TestRows(QStringLiteral("SELECT DOKLAD,OPERACE,ZAKAZNIK FROM tab_pujcky WHERE DOKLAD=2")),
             QStringList{"2|1|1"});
    QCOMPARE(TestRows(QStringLiteral("SELECT VIDEO,ZAKAZNIK,DNY,PUJCOVNE,ZALOHA,PUJCENA FROM tab_pujckydetail "
                                     "WHERE DOKLAD_PUJ=2 ORDER BY VIDEO")),
             (QStringList{"2|1|1|30.0000|100.0000|1", "3|1|2|30.0000|100.0000|1"}));
    QCOMPARE(m_hooks.journal, QList<QVariant>{2});
    QCOMPARE(m_hooks.receipts, (QList<std::pair<qint64, bool>>{{2, false}}));
    QVERIFY(LoggedTransaction(*desk.desk, QStringLiteral("Půjčení"), 2, QStringLiteral("Ok")));

    // The basket is empty, the lists are read again on their rows, the lent lines too.
    QCOMPARE(page->StatusTexts(), EmptyStatus);
    QCOMPARE(TotalPayment, 0.0f);
    QVERIFY(!desk.action("ActionLendLend")->isEnabled());
    QCOMPARE(desk.currentCustomer(), qint64(1));
    QCOMPARE(desk.customers()->ADOQueryCustomer->value(QStringLiteral("PUJCKY")).toInt(), 2);
    QVERIFY(desk.videos()->ADOQueryVideo->locate(QStringLiteral("VIDEO"), 3));
    QCOMPARE(desk.videos()->ADOQueryVideo->value(QStringLiteral("VYPUJCENA")).toInt(), 1);
    QCOMPARE(desk.customers()->LentLines()->VideoOverdue(3), std::optional<bool>(false));
    QCOMPARE(desk.window()->focusWidget(), page->Int64EditLendCustomer);
    QCOMPARE(page->Int64EditLendCustomer->selectedText(), QString("1"));

    // A video lent at another desk after it entered the basket: refused after the rollback,
    // nothing written, the journal left on its row and the basket empty.
    QVERIFY(desk.videos()->ADOQueryVideo->locate(QStringLiteral("VIDEO"), 1));
    AddLendItem(*page, false, QDate(2005, 11, 7));
    LendDocumentLine elsewhere;
    elsewhere.video = 1;
    elsewhere.due = QDate(2005, 11, 7);
    elsewhere.days = 1;
    QVERIFY(WriteLendDocument(2, {elsewhere}).written());
    answers.add(On<TFormRecapitulationLend>([](TFormRecapitulationLend *form) { form->BitBtnLend->click(); }));
    answers.add(Accept());
    answers.add(Accept());
    desk.activate();
    desk.key(Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(answers.pending(), 0);
    const QList<ShownWindow> &shown = answers.shown();
    QCOMPARE(shown.at(shown.size() - 2).text, QString("Video je půjčené..."));
    QCOMPARE(shown.last().text, QString("Transakce půjčení skončila s chybou..."));
    QCOMPARE(TestRows(QStringLiteral("SELECT MAX(DOKLAD) FROM tab_pujcky")), QStringList{"3"});
    QCOMPARE(m_hooks.journal, QList<QVariant>{2});
    QCOMPARE(m_hooks.receipts.size(), 1);
    QVERIFY(page->TableLend().isEmpty());
    QCOMPARE(page->StatusTexts(), EmptyStatus);
    QCOMPARE(desk.window()->focusWidget(), page->Int64EditLendCustomer);
}

// The name typed is completed from the customer table and Enter on it opens the dialog; Enter
// says why it does nothing when the boxes do not hold the current customer or video, when the
// customer is barred (whatever has the focus) or when a list is filtered to nothing.
void TestLendPage::customerByNameAndEnterMessages()
{
    QFETCH(Engine, engine);
    LendPageDesk desk(engine, &m_hooks);
    QVERIFY2(desk.ready(), qPrintable(desk.error()));
    TLendPage *page = desk.page;

    desk.type(page->ComboBoxLendName, QStringLiteral("svo"));
    QCOMPARE(page->ComboBoxLendName->currentText(), QString("Svoboda / 0000000002"));
    QCOMPARE(page->ComboBoxLendName->count(), 2); // and Svobodová
    QCOMPARE(desk.currentCustomer(), qint64(2));
    QCOMPARE(page->Int64EditLendCustomer->Value(), qint64(2));
    {
        ModalAnswers answers({Escape()});
        desk.key(Qt::Key_Return);
        QCOMPARE(answers.pending(), 0);
    }
    QCOMPARE(desk.basket(), QString());

    struct Case {
        QWidget *box;
        const char *typed; // null: the focus only
        const char *message;
    };
    desk.activate();
    desk.type(page->Int64EditLendCustomer, QStringLiteral("1"));
    const Case cases[] = {
        {page->Int64EditLendVideo, "99", "Hledaný kód videa nenalezen... / Hledaný kód: [99]"},
        {page->ComboBoxLendTitle, "Kolja", "Hledaný název videa nenalezen... / Hledaný název: [Kolja]"},
        {page->Int64EditLendCustomer, "77", "Hledaný kód zákazníka nenalezen... / Hledaný kód: [77]"},
        {page->Int64EditLendCustomer, "3", "Tento zákazník má zákaz půjčování... / Zákazník (3/Dvořák)"},
        {page->RxDBGridLendVideo, nullptr, "Tento zákazník má zákaz půjčování... / Zákazník (3/Dvořák)"},
    };
    ModalAnswers answers; // no dialog opens
    for (const Case &c : cases) {
        desk.activate();
        if (!c.typed)
            c.box->setFocus();
        else if (auto *box = qobject_cast<QComboBox *>(c.box)) {
            box->setFocus();
            box->setEditText(QString::fromUtf8(c.typed)); // as typed, whatever the completion
        } else
            desk.type(c.box, QString::fromUtf8(c.typed));
        desk.key(Qt::Key_Return);
        QCOMPARE(SelfClosedMessages(answers).last(), QString::fromUtf8(c.message));
        if (c.typed)
            QCOMPARE(SelectedText(desk.window()), QString::fromUtf8(c.typed));
    }
    // A number that finds no customer has emptied the name box and his texts.
    desk.type(page->Int64EditLendCustomer, QStringLiteral("77"));
    QCOMPARE(page->ComboBoxLendName->currentText(), QString());
    QCOMPARE(page->DBTextLendCustomerBirth->text(), QString());

    // A name box that does not hold the current customer's name.
    desk.type(page->Int64EditLendCustomer, QStringLiteral("1"));
    page->ComboBoxLendName->setEditText(QStringLiteral("Horák"));
    page->RxDBGridLendVideo->setFocus();
    desk.key(Qt::Key_Return);
    QCOMPARE(SelfClosedMessages(answers).last(), QString("Hledané jméno zákazníka nenalezeno... / Hledané jméno: [Horák]"));

    // A double click on a number or text box opens the search dialog of its kind.
    {
        ModalAnswers searches({Reject(), Reject()});
        QTest::mouseDClick(page->Int64EditLendCustomer, Qt::LeftButton);
        QTest::mouseDClick(page->ComboBoxLendTitle->lineEdit(), Qt::LeftButton);
        QCOMPARE(searches.pending(), 0);
        QCOMPARE(searches.shown().first().className, QString("TFormCustomerFind"));
        QCOMPARE(searches.shown().last().className, QString("TFormVideoFind"));
    }

    // Lists filtered to nothing.
    TVideoPage *videos = desk.videos();
    videos->CheckBoxVideoTitle->setChecked(true);
    videos->EditVideoTitle->setText(QStringLiteral("Zzz"));
    videos->VideoFilter();
    QCOMPARE(page->Int64EditLendVideo->Value(), qint64(0));
    page->ComboBoxLendName->setEditText(QStringLiteral("Novák"));
    page->RxDBGridLendVideo->setFocus();
    desk.key(Qt::Key_Return);
    QCOMPARE(SelfClosedMessages(answers).last(), QString("V evidenci není žádné video... / Zkontrolujte zda není aktivní filtr..."));
    TCustomerPage *customers = desk.customers();
    customers->CheckBoxCustomerName->setChecked(true);
    customers->EditCustomerName->setText(QStringLiteral("Zzz"));
    customers->CustomerFilter();
    desk.key(Qt::Key_Return);
    QCOMPARE(SelfClosedMessages(answers).last(),
             QString("V evidenci není žádný zákazník... / Zkontrolujte zda není aktivní filtr..."));
    QCOMPARE(answers.pending(), 0);
    QVERIFY(page->TableLend().isEmpty());
}

// With "Informovat o vypůjčeném videu" ticked, Enter on a customer who has videos out lists
// them first (the overdue one in the overdue colour, whatever the colour setting); a customer
// with nothing out gets the lend dialog at once.
void TestLendPage::videosOutShownFirst()
{
    QFETCH(Engine, engine);
    LendPageDesk desk(engine, &m_hooks);
    QVERIFY2(desk.ready(), qPrintable(desk.error()));
    TLendPage *page = desk.page;
    FormSetupVideo->CheckBoxLendInformation->setChecked(true);
    FormSetupVideo->CheckBoxColor->setChecked(false);
    const GridColors colours = CurrentGridColors();

    QStringList seen;
    QList<QColor> textColours;
    ModalAnswers answers({On<TFormInformationLend>([&](TFormInformationLend *form) {
                              seen << form->windowTitle() << form->LabelInformation->text()
                                   << form->LabelSpecification->text()
                                   << QString::number(form->ADOQueryLend->recordCount());
                              TRxDBGridEx *grid = form->RxDBGrid;
                              QCOMPARE(grid->model()->headerData(4, Qt::Horizontal).toString(), QString("Do:"));
                              for (int row = 0; row < 3; ++row) {
                                  QFont font;
                                  QColor text = Qt::black;
                                  QColor background = Qt::white;
                                  const int video = grid->model()->index(row, 0).data(Qt::EditRole).toInt();
                                  grid->OnGetCellParams(grid, grid->model()->index(row, 1), false, font, text,
                                                        background);
                                  if (video == 4)
                                      textColours.prepend(text);
                                  else
                                      textColours.append(text);
                              }
                              form->ButtonClose->click();
                          }),
                          Escape()});
    desk.type(page->Int64EditLendCustomer, QStringLiteral("2"));
    desk.key(Qt::Key_Return);
    QCOMPARE(seen, (QStringList{" Zákazník má půjčeno", "Zákazník (2/Svoboda) má půjčené následující tituly...",
                                "Celkem položek 3, z toho 1 již mělo být vráceno...", "3"}));
    QCOMPARE(textColours, (QList<QColor>{colours.delayed, colours.lent, colours.lent}));

    answers.add(Escape());
    desk.activate();
    desk.type(page->Int64EditLendCustomer, QStringLiteral("1"));
    desk.key(Qt::Key_Return);
    QCOMPARE(answers.pending(), 0);
    QStringList windows;
    for (const ShownWindow &w : answers.shown())
        windows << w.className;
    QCOMPARE(windows, (QStringList{"TFormInformationLend", "TFormLend", "TFormLend"}));
}

// The customer and video pages' current rows reach the page's boxes, except the box the
// clerk is typing in; any change of the current customer, a refresh of the list too, empties
// a basket that holds lines, and a change of the current video does not.
void TestLendPage::otherPagesReachTheBoxes()
{
    QFETCH(Engine, engine);
    LendPageDesk desk(engine, &m_hooks);
    QVERIFY2(desk.ready(), qPrintable(desk.error()));
    TLendPage *page = desk.page;
    BrowseQuery *customers = desk.customers()->ADOQueryCustomer;
    BrowseQuery *videos = desk.videos()->ADOQueryVideo;
    auto addLine = [&] {
        AddLendItem(*page, false, QDate(2005, 11, 7));
        QCOMPARE(page->StatusTexts().first(), QString(" Položek: 1"));
        QVERIFY(desk.action("ActionLendLend")->isEnabled());
    };

    page->RxDBGridLend->setFocus(); // the clerk types in none of the boxes
    addLine(); // Novák's
    QCOMPARE(page->StatusTexts(), (QStringList{" Položek: 1", " Platba: 30,00 Kč", " Záloha: 100,00 Kč"}));
    QCOMPARE(TotalDeposit, 100.0f);
    QVERIFY(customers->locate(QStringLiteral("ZAKAZNIK"), 2));
    QCOMPARE(page->Int64EditLendCustomer->Value(), qint64(2));
    QCOMPARE(page->ComboBoxLendName->currentText(), QString("Svoboda"));
    QCOMPARE(page->DBTextLendCustomerBirth->text(), QString("0000000002"));
    QVERIFY(page->TableLend().isEmpty());
    QCOMPARE(page->StatusTexts(), EmptyStatus);
    QCOMPARE(TotalDeposit, 0.0f);
    QVERIFY(!desk.action("ActionLendLend")->isEnabled());

    QVERIFY(videos->locate(QStringLiteral("VIDEO"), 3));
    QCOMPARE(page->Int64EditLendVideo->Value(), qint64(3));
    QCOMPARE(page->ComboBoxLendTitle->currentText(), QString("Gama"));
    addLine();
    QVERIFY(videos->locate(QStringLiteral("VIDEO"), 1));
    QCOMPARE(page->TableLend().recordCount(), 1);
    desk.customers()->requeryList();
    QVERIFY(page->TableLend().isEmpty());

    // The boxes the clerk is typing in keep what he typed.
    desk.activate();
    page->ComboBoxLendName->setFocus();
    QVERIFY(ClerkTypesIn(page->ComboBoxLendName));
    QVERIFY(customers->locate(QStringLiteral("ZAKAZNIK"), 4));
    QCOMPARE(page->Int64EditLendCustomer->Value(), qint64(4));
    QCOMPARE(page->ComboBoxLendName->currentText(), QString("Svoboda"));
    page->Int64EditLendVideo->setFocus();
    QVERIFY(videos->locate(QStringLiteral("VIDEO"), 2));
    QCOMPARE(page->Int64EditLendVideo->Value(), qint64(1));
    QCOMPARE(page->ComboBoxLendTitle->currentText(), QString("Beta"));
}

// Enter on the video list adds its current video at once, on the basket it opens the dialog
// on the basket's line; "+" on the page goes to the recapitulation; Del removes a line only
// from a grid; a double click on a basket row opens it. Dragging a video onto the basket adds
// it (not when dropped on the titles), dragging a line onto the list removes it.
void TestLendPage::basketKeysAndMouse()
{
    QFETCH(Engine, engine);
    LendPageDesk desk(engine, &m_hooks);
    QVERIFY2(desk.ready(), qPrintable(desk.error()));
    TLendPage *page = desk.page;
    desk.type(page->Int64EditLendCustomer, QStringLiteral("4"));
    QVERIFY(desk.videos()->ADOQueryVideo->locate(QStringLiteral("VIDEO"), 2));

    // The basket and the code box as the dialog opens; Esc closes it.
    QString opened;
    const auto seeOpened = [&] {
        return LendDialog([&](TFormLend *form) {
            opened = desk.basket() + QLatin1Char('|') + form->Int64EditVideo->text();
            KeyTo(form, Qt::Key_Escape);
        });
    };
    ModalAnswers answers({seeOpened()});
    page->RxDBGridLendVideo->setFocus();
    desk.key(Qt::Key_Return);
    QCOMPARE(opened, QString("2:7.11./1|2"));
    QCOMPARE(desk.basket(), QString("2:7.11./1")); // Esc keeps the basket

    // On the basket: the dialog on its line, which stays as it is.
    answers.add(seeOpened());
    desk.activate();
    QVERIFY(desk.videos()->ADOQueryVideo->locate(QStringLiteral("VIDEO"), 1));
    page->RxDBGridLend->setFocus();
    desk.key(Qt::Key_Return);
    QCOMPARE(opened, QString("2:7.11./1|2"));
    QCOMPARE(desk.basket(), QString("2:7.11./1"));

    // "+" on the page; Esc in the recapitulation writes nothing.
    answers.add(Reject());
    desk.activate();
    desk.key(Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(answers.shown().last().className, QString("TFormRecapitulationLend"));
    QCOMPARE(TestRows(QStringLiteral("SELECT COUNT(*) FROM tab_pujcky")), QStringList{"1"});
    QCOMPARE(desk.basket(), QString("2:7.11./1"));

    // A double click on a basket row.
    answers.add(seeOpened());
    desk.activate();
    const QPoint row = page->RxDBGridLend->visualRect(page->RxDBGridLend->model()->index(0, 1)).center();
    QCursor::setPos(page->RxDBGridLend->viewport()->mapToGlobal(row));
    QTest::mouseDClick(page->RxDBGridLend->viewport(), Qt::LeftButton, {}, row);
    QCOMPARE(opened, QString("2:7.11./1|2"));

    // Del edits the boxes; on a grid it removes the current line.
    desk.activate();
    desk.type(page->Int64EditLendVideo, QStringLiteral("1"));
    page->Int64EditLendVideo->setCursorPosition(0);
    desk.key(Qt::Key_Delete);
    QCOMPARE(page->Int64EditLendVideo->text(), QString());
    QCOMPARE(desk.basket(), QString("2:7.11./1"));
    page->RxDBGridLendVideo->setFocus();
    desk.key(Qt::Key_Delete);
    QVERIFY(page->TableLend().isEmpty());
    QCOMPARE(desk.window()->focusWidget(), page->Int64EditLendCustomer);
    QVERIFY(!desk.action("ActionLendDelete")->isEnabled());

    // Drag and drop: onto the basket's titles nothing, onto its rows the dialog adds it.
    QVERIFY(desk.videos()->ADOQueryVideo->locate(QStringLiteral("VIDEO"), 3));
    page->RxDBGridLendVideo->setFocus();
    const QPoint titles = page->RxDBGridLend->viewport()->mapFromGlobal(
        page->RxDBGridLend->horizontalHeader()->mapToGlobal(QPoint(40, 5)));
    QVERIFY(DropGridRow(page->RxDBGridLendVideo, page->RxDBGridLend, titles));
    QVERIFY(page->TableLend().isEmpty());
    answers.add(Escape());
    QVERIFY(DropGridRow(page->RxDBGridLendVideo, page->RxDBGridLend, QPoint(40, 20)));
    QCOMPARE(desk.basket(), QString("3:7.11./1"));
    QVERIFY(DropGridRow(page->RxDBGridLend, page->RxDBGridLend, QPoint(40, 20))); // onto itself
    QCOMPARE(desk.basket(), QString("3:7.11./1"));
    QVERIFY(DropGridRow(page->RxDBGridLend, page->RxDBGridLendVideo, QPoint(40, 20)));
    QVERIFY(page->TableLend().isEmpty());
    QCOMPARE(answers.pending(), 0);
}

QTEST_MAIN(TestLendPage)
#include "tst_lendpage.moc"
