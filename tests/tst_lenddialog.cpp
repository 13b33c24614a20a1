// The lend dialog, the recapitulation and the lend transaction driven through their windows
// on both engines: keys that add, extend, walk and remove lines, the checks before a line is
// added, the day buttons, the calendar and the wheel, a whole lend written field by field,
// and a lend refused at the write.
#include "core/Log.h"
#include "core/RunGlobals.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/UValmedo.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"
#include "rental/LendBasket.h"
#include "rental/LendDesk.h"
#include "rental/DeskHooks.h"
#include "rental/LendTransaction.h"
#include "rental/LendsStore.h"
#include "rental/UCash.h"
#include "rental/ULend.h"
#include "rental/URecapitulationLend.h"
#include "support/LendShop.h"
#include "support/LoggedInDesk.h"
#include "support/ModalAnswers.h"
#include "support/TestCommands.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

namespace {

const QDate Friday(2005, 11, 4);

// The lend page as the dialog and the transaction see it: the basket, a video list of the
// shop and the current customer.
class TestDesk : public TLendDesk {
public:
    explicit TestDesk(const LendCustomer &customer) : customer(customer)
    {
        videos.setSql({QStringLiteral("SELECT tab_video.VIDEO,tab_video.TITUL,tab_nosic.NOSIC"),
                       QStringLiteral("FROM tab_video JOIN tab_nosic ON (tab_video.NOSIC=tab_nosic.ID_NOSIC)"),
                       QStringLiteral("ORDER BY tab_video.VIDEO")});
        videos.open();
    }
    TTableLend &TableLend() override { return basket; }
    DataSet &ADOQueryVideo() override { return videos; }
    LendCustomer CurrentCustomer() override { return customer; }
    void SetStatusBarLend() override { ++statusBars; }
    void RequeryLists(const QVariant &document) override
    {
        requeried << document;
        RequeryLocate(videos, QVariant());
    }
    void SetStatusBarLends() override { ++journalBars; }
    void FocusLendCustomer() override { ++customerFocused; }

    // The basket as "video:due/days/free" lines in its order.
    QString lines() const
    {
        QStringList out;
        for (int row = 0; row < basket.recordCount(); ++row)
            out << QStringLiteral("%1:%2/%3/%4")
                       .arg(basket.valueAt(row, basket.fieldIndex("VIDEO")).toLongLong())
                       .arg(basket.valueAt(row, basket.fieldIndex("VRATIT")).toDate().toString(QStringLiteral("d.M.")))
                       .arg(basket.valueAt(row, basket.fieldIndex("DNY")).toInt())
                       .arg(basket.valueAt(row, basket.fieldIndex("ZDARMA")).toBool() ? QStringLiteral("$") : QStringLiteral("-"));
        return out.join(QLatin1Char(' '));
    }

    LendCustomer customer;
    TTableLend basket;
    BrowseQuery videos;
    QVariantList requeried;
    int statusBars = 0;
    int journalBars = 0;
    int customerFocused = 0;
};

// A modal answer that drives the window with `drive` (which may fail the test) and then
// gives the result the window has.
template <class Form> Answer Drive(std::function<void(Form *)> drive)
{
    return [drive](QDialog *dialog) {
        auto *form = qobject_cast<Form *>(dialog);
        if (!form) {
            QTest::qFail("an unexpected window", __FILE__, __LINE__);
            return int(QDialog::Rejected);
        }
        QTest::qWait(10); // what the window does once it is up
        form->activateWindow(); // also after a message window of its own has closed
        QApplication::setActiveWindow(form);
        if (QTest::qWaitForWindowActive(form))
            drive(form);
        else
            QTest::qFail("the window did not become active", __FILE__, __LINE__);
        return form->result();
    };
}

void Key(QWidget *form, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = form->focusWidget() ? form->focusWidget() : form;
    QTest::keyClick(target, key, modifiers);
}

void TypeCode(TFormLend *form, const char *code)
{
    form->Int64EditVideo->setFocus();
    form->Int64EditVideo->selectAll();
    QTest::keyClicks(form->Int64EditVideo, QString::fromLatin1(code));
}

void Shop()
{
    SetMediumPrices(QStringLiteral("DVD"), QStringLiteral("30"), QStringLiteral("10"), QStringLiteral("100"));
    const char *titles[] = {"Alfa", "Beta", "Gama", "Delta", "Epsilon"};
    for (int i = 0; i < 5; ++i)
        AddLendVideo(i + 1, QString::fromLatin1(titles[i]));
}

// A lend written by another desk.
void LendElsewhere(qint64 customer, qint64 video)
{
    LendDocumentLine line;
    line.video = video;
    line.due = Friday.addDays(1);
    line.days = 1;
    QVERIFY(WriteLendDocument(customer, {line}).written());
}

void CloseWeekend()
{
    FormSetupVideo->CheckBoxSa->setChecked(true);
    FormSetupVideo->CheckBoxSu->setChecked(true);
}

} // namespace

class TestLendDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void keysAddExtendWalkAndRemove_data() { AddEngineRows(); }
    void keysAddExtendWalkAndRemove();
    void checksBeforeALineIsAdded_data() { AddEngineRows(); }
    void checksBeforeALineIsAdded();
    void dayButtonsCalendarAndWheel_data() { AddEngineRows(); }
    void dayButtonsCalendarAndWheel();
    void aShopClosedEveryDayNeverHangs();
    void threeLineLendOfADepositCustomer_data() { AddEngineRows(); }
    void threeLineLendOfADepositCustomer();
    void cashWindowAsTheReceiptSays_data() { AddEngineFlagRows("printed", "no receipt", "receipt"); }
    void cashWindowAsTheReceiptSays();
    void videoLentMeanwhileIsRefusedAfterTheRollback_data() { AddEngineRows(); }
    void videoLentMeanwhileIsRefusedAfterTheRollback();
};

void TestLendDialog::init()
{
    SetRunDate(Friday);
}

void TestLendDialog::cleanup()
{
    SetReceiptPrint({});
}

void TestLendDialog::keysAddExtendWalkAndRemove()
{
    QFETCH(Engine, engine);
    LoggedInDesk session(engine);
    QVERIFY2(session.isReady(), qPrintable(session.error()));
    Shop();
    AddLendCustomer(1, QStringLiteral("Novák"), 2);
    FormSetupVideo->IntegerEditMaxDays->SetValue(3);
    TestDesk desk({1, QStringLiteral("Novák"), u'-', 0});
    const QString before = LendTables();

    ModalAnswers answers;
    answers.add(Drive<TFormLend>([&](TFormLend *form) {
        // Opened to add video 1 at once: due the first open day.
        QCOMPARE(desk.lines(), QStringLiteral("1:5.11./1/-"));
        QCOMPARE(form->EditTitle->text(), QStringLiteral("Alfa"));
        QVERIFY(form->ActionLend->isEnabled());
        // Enter on the current line's video lends it one day longer, up to the longest lend.
        Key(form, Qt::Key_Return);
        Key(form, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(desk.lines(), QStringLiteral("1:7.11./3/-"));
        QCOMPARE(form->MonthCalendar->selectedDate(), QDate(2005, 11, 7));
        Key(form, Qt::Key_Return);
        QCOMPARE(desk.lines(), QStringLiteral("1:7.11./3/-"));

        // A typed code finds its video; Enter adds it.
        TypeCode(form, "2");
        QCOMPARE(form->EditTitle->text(), QStringLiteral("Beta"));
        QCOMPARE(form->MonthCalendar->selectedDate(), QDate(2005, 11, 5));
        Key(form, Qt::Key_Return);
        QCOMPARE(desk.lines(), QStringLiteral("1:7.11./3/- 2:5.11./1/-"));
        QCOMPARE(form->Int64EditVideo->selectedText(), QStringLiteral("2")); // ready for the next scan

        // Up and Down walk the basket, also from the calendar.
        Key(form, Qt::Key_Up);
        QCOMPARE(form->Int64EditVideo->text(), QStringLiteral("1"));
        QCOMPARE(form->EditTitle->text(), QStringLiteral("Alfa"));
        QCOMPARE(form->MonthCalendar->selectedDate(), QDate(2005, 11, 7));
        form->MonthCalendar->setFocus();
        Key(form, Qt::Key_Down);
        QCOMPARE(form->Int64EditVideo->text(), QStringLiteral("2"));

        // Del removes the current line, from the title box too; the last one leaves the
        // boxes on the video list's current video and disables "+" and Del.
        form->EditTitle->setFocus();
        Key(form, Qt::Key_Delete);
        QCOMPARE(desk.lines(), QStringLiteral("1:7.11./3/-"));
        QCOMPARE(form->Int64EditVideo->text(), QStringLiteral("1"));
        Key(form, Qt::Key_Delete);
        QCOMPARE(desk.lines(), QString());
        QVERIFY(!form->ActionLend->isEnabled());
        QVERIFY(!form->ActionDelete->isEnabled());
        QCOMPARE(form->MonthCalendar->selectedDate(), QDate(2005, 11, 5));
        // On an empty basket Del edits the title box again.
        QCOMPARE(form->EditTitle->text(), QStringLiteral("Alfa"));
        form->EditTitle->setCursorPosition(0);
        Key(form, Qt::Key_Delete);
        QCOMPARE(form->EditTitle->text(), QStringLiteral("lfa"));

        TypeCode(form, "3");
        Key(form, Qt::Key_Return);
        Key(form, Qt::Key_Return);
        QCOMPARE(desk.lines(), QStringLiteral("3:6.11./2/-"));
        Key(form, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(form->result(), int(QDialog::Accepted));
    }));
    // "+" reaches the recapitulation; Esc there keeps the basket.
    answers.add(Drive<TFormRecapitulationLend>([&](TFormRecapitulationLend *form) {
        QCOMPARE(form->windowTitle(), QStringLiteral(" Rekapitulace - půjčení"));
        QCOMPARE(form->LabelRecapitulation->text(), QStringLiteral("Platba:   60,00 Kč"));
        QCOMPARE(form->RxDBGridRecapitulation->model(), &desk.basket);
        Key(form, Qt::Key_Escape);
    }));
    LendStart(desk, true, 1);

    QCOMPARE(answers.pending(), 0);
    QCOMPARE(desk.lines(), QStringLiteral("3:6.11./2/-"));
    QCOMPARE(LendTables(), before);
    QCOMPARE(desk.customerFocused, 1);
    QVERIFY(desk.requeried.isEmpty());
}

void TestLendDialog::checksBeforeALineIsAdded()
{
    QFETCH(Engine, engine);
    LoggedInDesk session(engine);
    QVERIFY2(session.isReady(), qPrintable(session.error()));
    Shop();
    AddLendCustomer(1, QStringLiteral("Novák"), 2);
    AddLendCustomer(2, QStringLiteral("Svoboda"), 2);
    FormSetupVideo->IntegerEditCustomerLimit->SetValue(2);
    // Customer 1 has video 4 out and had video 5 before; video 3 is out with customer 2.
    LendElsewhere(1, 4);
    LendElsewhere(1, 5);
    Exec(QStringLiteral("UPDATE tab_pujckydetail SET PUJCENA=0 WHERE VIDEO=5"));
    LendElsewhere(2, 3);
    TestDesk desk({1, QStringLiteral("Novák"), u'-', 2});

    ModalAnswers answers;
    answers.add(Drive<TFormLend>([&](TFormLend *form) {
        TypeCode(form, "3");
        Key(form, Qt::Key_Return); // out with another customer
        TypeCode(form, "5");
        Key(form, Qt::Key_Return); // had it before: No
        QCOMPARE(desk.lines(), QString());
        Key(form, Qt::Key_Return); // again: Yes
        QCOMPARE(desk.lines(), QStringLiteral("5:5.11./1/-"));
        Key(form, Qt::Key_Return); // one out and one in the basket: at the limit even an extension is refused
        QCOMPARE(desk.lines(), QStringLiteral("5:5.11./1/-"));

        TypeCode(form, "99");
        QCOMPARE(form->EditTitle->text(), QStringLiteral("Epsilon")); // the video that stayed current
        Key(form, Qt::Key_Return);
        QTest::mouseClick(form->EditTitle, Qt::LeftButton);
        QCOMPARE(form->EditTitle->selectedText(), QStringLiteral("Epsilon"));
        QTest::keyClicks(form->EditTitle, QStringLiteral("zzz"));
        Key(form, Qt::Key_Return);
        // A title is found by its beginning, whatever the letter case; the code follows.
        form->EditTitle->selectAll();
        QTest::keyClicks(form->EditTitle, QStringLiteral("GA"));
        QCOMPARE(form->Int64EditVideo->text(), QStringLiteral("3"));
        Key(form, Qt::Key_Escape);
    }));
    answers.add(ClickButton(QStringLiteral("ButtonNo")));
    answers.add(ClickButton(QStringLiteral("ButtonYes")));
    LendStart(desk, false, 1);

    QStringList seen;
    for (const ShownWindow &w : answers.shown())
        seen << w.text + QLatin1Char('/') + w.detail;
    QCOMPARE(seen, (QStringList{
        QStringLiteral("Toto video je půjčeno.../Video (3/Gama)"),
        QStringLiteral("Video měl už zákazník půjčené. Půjčit ?/Video (5/Epsilon)"),
        QStringLiteral("Video měl už zákazník půjčené. Půjčit ?/Video (5/Epsilon)"),
        QStringLiteral("Zákazník si nemůže půjčit více videa.../Zákazník může mít u sebe maximálně 2 ks videa..."),
        QStringLiteral("Hledaný kód videa nenalezen.../Hledaný kód: [99]"),
        QStringLiteral("Hledaný titul videa nenalezen.../Hledaný titul: [zzz]"),
        QStringLiteral("/"), // the lend dialog itself, once answered
    }));
    // Esc keeps the basket for the lend page.
    QCOMPARE(desk.lines(), QStringLiteral("5:5.11./1/-"));
}

void TestLendDialog::dayButtonsCalendarAndWheel()
{
    QFETCH(Engine, engine);
    LoggedInDesk session(engine);
    QVERIFY2(session.isReady(), qPrintable(session.error()));
    Shop();
    AddLendCustomer(1, QStringLiteral("Novák"), 2);
    CloseWeekend();
    FormSetupVideo->IntegerEditMaxDays->SetValue(3);
    TestDesk desk({1, QStringLiteral("Novák"), u'-', 0});

    ModalAnswers answers;
    answers.add(Drive<TFormLend>([&](TFormLend *form) {
        QCOMPARE(form->MonthCalendar->minimumDate(), QDate(2005, 11, 7));
        // Saturday and Sunday look like any other day: only the settings close a day.
        for (Qt::DayOfWeek day : {Qt::Saturday, Qt::Sunday})
            QCOMPARE(form->MonthCalendar->weekdayTextFormat(day).foreground(),
                     form->MonthCalendar->weekdayTextFormat(Qt::Monday).foreground());
        QList<bool> enabled;
        for (QPushButton *button : form->ButtonDay)
            enabled << button->isEnabled();
        QCOMPARE(enabled, (QList<bool>{true, true, true, false, false}));

        // "1 den" on a Friday with the weekend closed is Monday.
        form->ButtonDay[0]->click();
        QCOMPARE(desk.lines(), QStringLiteral("1:7.11./1/-"));
        auto click = [form](const QDate &day) {
            form->MonthCalendar->setSelectedDate(day);
            emit form->MonthCalendar->clicked(day);
        };
        // A closed day and a day past the longest lend go back without a word.
        click(QDate(2005, 11, 12));
        QCOMPARE(form->MonthCalendar->selectedDate(), QDate(2005, 11, 7));
        click(QDate(2005, 11, 10));
        QCOMPARE(form->MonthCalendar->selectedDate(), QDate(2005, 11, 7));
        QCOMPARE(desk.lines(), QStringLiteral("1:7.11./1/-"));
        // An open day within it re-dates the line; a day button re-dates it back.
        click(QDate(2005, 11, 9));
        QCOMPARE(desk.lines(), QStringLiteral("1:9.11./3/-"));
        QCOMPARE(LendDate(), QDate(2005, 11, 9));
        form->ButtonDay[1]->click();
        QCOMPARE(desk.lines(), QStringLiteral("1:8.11./2/-"));

        // Every second wheel notification moves the video list: towards the user, down it.
        QList<QString> codes;
        for (int i = 0; i < 2; ++i) {
            QWheelEvent wheel(QPointF(5, 5), form->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            wheel.setTimestamp(ulong(i + 1));
            QApplication::sendEvent(form->MonthCalendar, &wheel);
            QApplication::sendEvent(form, &wheel); // the same turn passed on: counted once
            codes << form->Int64EditVideo->text();
        }
        QVERIFY2(codes == QList<QString>({QStringLiteral("1"), QStringLiteral("2")})
                     || codes == QList<QString>({QStringLiteral("2"), QStringLiteral("2")}),
                 qPrintable(codes.join(QLatin1Char(','))));
        QCOMPARE(desk.videos.value("VIDEO").toLongLong(), qint64(2));
        QCOMPARE(desk.lines(), QStringLiteral("1:8.11./2/-")); // the wheel adds nothing
        Key(form, Qt::Key_Escape);
    }));
    LendStart(desk, false, 1);
}

void TestLendDialog::aShopClosedEveryDayNeverHangs()
{
    LoggedInDesk session(Engine::SQLite);
    QVERIFY2(session.isReady(), qPrintable(session.error()));
    Shop();
    AddLendCustomer(1, QStringLiteral("Novák"), 2);
    for (QCheckBox *day : {FormSetupVideo->CheckBoxMo, FormSetupVideo->CheckBoxTu, FormSetupVideo->CheckBoxWe,
                           FormSetupVideo->CheckBoxTh, FormSetupVideo->CheckBoxFr, FormSetupVideo->CheckBoxSa,
                           FormSetupVideo->CheckBoxSu})
        day->setChecked(true);
    TestDesk desk({1, QStringLiteral("Novák"), u'-', 0});

    // Opened to add a video at once: the desk says that no day is open, and so do Enter
    // and a day button; nothing is added.
    ModalAnswers answers;
    answers.add(Drive<TFormLend>([&](TFormLend *form) {
        Key(form, Qt::Key_Return);
        form->ButtonDay[0]->click();
        Key(form, Qt::Key_Escape);
    }));
    for (int i = 0; i < 3; ++i)
        answers.add(ClickButton(QStringLiteral("ButtonOk")));
    LendStart(desk, true, 1);
    QCOMPARE(desk.lines(), QString());
    QStringList texts;
    for (const ShownWindow &w : answers.shown())
        texts << w.text;
    QCOMPARE(texts.count(QStringLiteral("Půjčovna nemá otevřeno v žádném dni.")), 3);
}

void TestLendDialog::threeLineLendOfADepositCustomer()
{
    QFETCH(Engine, engine);
    LoggedInDesk session(engine);
    QVERIFY2(session.isReady(), qPrintable(session.error()));
    Shop();
    AddLendCustomer(42, QStringLiteral("Dvořák"), 1);
    CloseWeekend();
    FormSetupVideo->IntegerEditAmountOff->SetValue(3);
    FormSetupVideo->CheckBoxCash->setChecked(true);
    FormSetupPrint->CheckBoxOriginal->setChecked(true);
    FormSetupPrint->CheckBoxCopy->setChecked(true);
    QList<std::pair<qint64, bool>> receipts;
    SetReceiptPrint([&](qint64 document, bool copy) { receipts.append({document, copy}); });
    TestDesk desk({42, QStringLiteral("Dvořák"), u'$', 0});

    ModalAnswers answers;
    answers.add(Drive<TFormLend>([&](TFormLend *form) {
        form->ButtonDay[0]->click();
        TypeCode(form, "2");
        form->ButtonDay[2]->click();
        TypeCode(form, "3");
        form->ButtonDay[1]->click();
        QCOMPARE(desk.lines(), QStringLiteral("1:7.11./1/- 2:9.11./3/- 3:8.11./2/$"));
        Key(form, Qt::Key_Plus, Qt::KeypadModifier);
    }));
    answers.add(Drive<TFormRecapitulationLend>([&](TFormRecapitulationLend *form) {
        // Fees 30 + 90 + 30 (the third line free for a day) and three deposits of 100.
        QCOMPARE(form->LabelRecapitulation->text(), QStringLiteral("Platba:   450,00 Kč"));
        QVERIFY(form->CheckBoxOriginal->isChecked());
        QVERIFY(form->CheckBoxCopy->isChecked() && form->CheckBoxCopy->isEnabled());
        Key(form, Qt::Key_F12);
        QVERIFY(!form->CheckBoxCopy->isChecked());
        Key(form, Qt::Key_Plus, Qt::KeypadModifier);
    }));
    answers.add(Drive<TFormCash>([&](TFormCash *form) {
        QCOMPARE(form->PanelPayment->text(), QStringLiteral("450,00 Kč"));
        form->reject();
    }));
    LendStart(desk, false, 1);
    QCOMPARE(answers.pending(), 0);

    QCOMPARE(LendTables(), QStringLiteral(
        "42|3\n--\n1|1\n2|1\n3|1\n4|0\n5|0\n--\n1|1|42|1\n--\n"
        "1|-|1|42|1|1|1|0|30.0000|10.0000|100.0000|2005-11-07 00:00|1|-|-\n"
        "1|-|2|42|1|1|1|0|30.0000|10.0000|100.0000|2005-11-09 00:00|3|-|-\n"
        "1|-|3|42|1|1|1|1|30.0000|10.0000|100.0000|2005-11-08 00:00|2|-|-"));
    // The document and its lines carry the server's time of the lend.
    const QDateTime now = QDateTime::currentDateTime();
    for (const QString &stamp : LendRows(QStringLiteral("SELECT CAS FROM tab_pujcky UNION ALL SELECT PUJCENO FROM tab_pujckydetail"))
                                    .split(QLatin1Char('\n'))) {
        const QDateTime time = QDateTime::fromString(stamp, QStringLiteral("yyyy-MM-dd hh:mm"));
        QVERIFY2(qAbs(time.secsTo(now)) < 120, qPrintable(stamp));
    }
    QVERIFY(MainLog()->Lines().last().contains(QStringLiteral("Transakce [Půjčení] [")));
    QVERIFY(MainLog()->Lines().last().endsWith(QStringLiteral("ms] [0000000000001] [Ok]")));
    QCOMPARE(receipts, (QList<std::pair<qint64, bool>>{{1, false}}));
    QCOMPARE(desk.lines(), QString());
    QCOMPARE(desk.requeried, QVariantList{QVariant(qint64(1))});
    QCOMPARE(desk.journalBars, 1);
    QCOMPARE(desk.customerFocused, 1);
}

// A fee of half a crown: the receipt and the journal round the document to 31 Kč, and the
// change calculator asks what the receipt says; without a receipt, what the basket showed.
void TestLendDialog::cashWindowAsTheReceiptSays()
{
    QFETCH(Engine, engine);
    QFETCH(bool, printed);
    LoggedInDesk session(engine);
    QVERIFY2(session.isReady(), qPrintable(session.error()));
    SetMediumPrices(QStringLiteral("DVD"), QStringLiteral("30.50"), QStringLiteral("10"), QStringLiteral("100"));
    AddLendVideo(1, QStringLiteral("Alfa"));
    AddLendCustomer(42, QStringLiteral("Dvořák"), 1);
    CloseWeekend();
    FormSetupVideo->IntegerEditAmountOff->SetValue(3);
    FormSetupVideo->CheckBoxCash->setChecked(true);
    FormSetupPrint->CheckBoxOriginal->setChecked(printed);
    SetReceiptPrint([](qint64, bool) {});
    TestDesk desk({42, QStringLiteral("Dvořák"), u'$', 0});

    QString asked;
    ModalAnswers answers;
    answers.add(Drive<TFormLend>([&](TFormLend *form) {
        form->ButtonDay[0]->click();
        Key(form, Qt::Key_Plus, Qt::KeypadModifier);
    }));
    answers.add(Drive<TFormRecapitulationLend>([&](TFormRecapitulationLend *form) {
        Key(form, Qt::Key_Plus, Qt::KeypadModifier);
    }));
    answers.add(Drive<TFormCash>([&](TFormCash *form) {
        asked = form->PanelPayment->text();
        form->reject();
    }));
    LendStart(desk, false, 1);
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(DocumentTotals(1).payments, Money::fromDouble(31));
    QCOMPARE(asked, printed ? QStringLiteral("131,00 Kč") : QStringLiteral("130,50 Kč"));
}

void TestLendDialog::videoLentMeanwhileIsRefusedAfterTheRollback()
{
    QFETCH(Engine, engine);
    LoggedInDesk session(engine);
    QVERIFY2(session.isReady(), qPrintable(session.error()));
    Shop();
    AddLendCustomer(1, QStringLiteral("Novák"), 2);
    AddLendCustomer(2, QStringLiteral("Svoboda"), 2);
    FormSetupVideo->CheckBoxCash->setChecked(true);
    bool printed = false;
    SetReceiptPrint([&](qint64, bool) { printed = true; });
    TestDesk desk({1, QStringLiteral("Novák"), u'-', 0});
    QString afterOtherDesk;

    ModalAnswers answers;
    answers.add(Drive<TFormLend>([&](TFormLend *form) {
        TypeCode(form, "2");
        Key(form, Qt::Key_Return);
        QCOMPARE(desk.lines(), QStringLiteral("1:5.11./1/- 2:5.11./1/-"));
        // Another desk lends video 2 while it waits in this basket.
        LendElsewhere(2, 2);
        afterOtherDesk = LendTables();
        Key(form, Qt::Key_Plus, Qt::KeypadModifier);
    }));
    answers.add(Drive<TFormRecapitulationLend>([&](TFormRecapitulationLend *form) {
        Key(form, Qt::Key_Return);
    }));
    // The refusal waits for Ok only after the rollback: nothing of this lend is left.
    answers.add([&](QDialog *dialog) {
        if (LendTables() != afterOtherDesk)
            QTest::qFail("the refusal is shown before the rollback", __FILE__, __LINE__);
        dialog->accept();
        return dialog->result();
    });
    answers.add(ClickButton(QStringLiteral("ButtonOk")));
    LendStart(desk, true, 1);

    QCOMPARE(answers.pending(), 0);
    const QList<ShownWindow> &shown = answers.shown();
    QCOMPARE(shown.size(), 5); // the dialog, the recapitulation, the progress, the refusal, the warning
    QCOMPARE(shown.at(2).caption, QStringLiteral(" Transakce"));
    QCOMPARE(shown.at(3).text, QStringLiteral("Video je půjčené..."));
    QCOMPARE(shown.at(3).detail, QStringLiteral("Video (2/Beta)"));
    QCOMPARE(shown.at(4).caption, QStringLiteral(" Upozornění"));
    QCOMPARE(shown.at(4).text, QStringLiteral("Transakce půjčení skončila s chybou..."));
    QCOMPARE(shown.at(4).detail, QStringLiteral("Půjčení videa neproběhlo..."));
    QCOMPARE(LendTables(), afterOtherDesk);
    // The number the refused lend had taken is logged; no receipt and no calculator follow.
    QVERIFY(MainLog()->Lines().last().endsWith(QStringLiteral("ms] [0000000000002] [Error]")));
    QVERIFY(!printed);
    QCOMPARE(desk.lines(), QString());
    QCOMPARE(desk.requeried, QVariantList{QVariant()});
    QCOMPARE(desk.journalBars, 0);
    QCOMPARE(desk.customerFocused, 1);
}

QTEST_MAIN(TestLendDialog)
#include "tst_lenddialog.moc"
