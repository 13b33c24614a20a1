// The lend dialog, the recapitulation and the lend transaction driven through their windows
// on both engines: keys that add, extend, walk and remove lines, the checks before a line is
// added, the day buttons, the calendar and the wheel, a whole lend written field by field,
// a lend refused at the write, one whose receipt cannot be printed, and the one amount a lend
// or a return shows the clerk, books in the journal and prints on its receipts.
#include "core/Desk.h"
#include "core/Log.h"
#include "core/RunGlobals.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/UValmedo.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"
#include "rental/BackBasket.h"
#include "rental/BackStore.h"
#include "rental/BackTransaction.h"
#include "rental/LendBasket.h"
#include "rental/LendDesk.h"
#include "rental/LendTransaction.h"
#include "rental/LendsStore.h"
#include "rental/UCash.h"
#include "rental/ULend.h"
#include "rental/URecapitulationBack.h"
#include "rental/URecapitulationLend.h"
#include "reports/ReportPages.h"
#include "reports/layouts/ReceiptStore.h"
#include "reports/layouts/UQRReceiptA4.h"
#include "reports/layouts/UQRReceiptA5.h"
#include "support/LendShop.h"
#include "support/LoggedInDesk.h"
#include "support/ModalAnswers.h"
#include "support/TestCommands.h"
#include "support/TestLends.h"

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
// shop and the current customer; and what the transaction tells the main window's desk.
class TestDesk : public TLendDesk {
public:
    explicit TestDesk(const LendCustomer &customer) : customer(customer)
    {
        videos.setSql({QStringLiteral("SELECT tab_video.VIDEO,tab_video.TITUL,tab_nosic.NOSIC"),
                       QStringLiteral("FROM tab_video JOIN tab_nosic ON (tab_video.NOSIC=tab_nosic.ID_NOSIC)"),
                       QStringLiteral("ORDER BY tab_video.VIDEO")});
        videos.open();
        // The journal put on the written document sums itself in its status bar.
        MainDesk()->follow(DeskSubject::Document, &following, [this](const QVariant &document) {
            requeried << document;
            if (!document.isNull())
                ++journalBars;
        });
        MainDesk()->follow(DeskSubject::Videos, &following, [this](const QVariant &) { RequeryLocate(videos, QVariant()); });
    }
    TTableLend &TableLend() override { return basket; }
    DataSet &ADOQueryVideo() override { return videos; }
    LendCustomer CurrentCustomer() override { return customer; }
    void SetStatusBarLend() override { ++statusBars; }
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
    QObject following;
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

// Answers as ModalAnswers does and notes, when the progress window " Transakce" is
// announced, whether it is visible and has been painted, and how many documents are written.
class PaintedProgress : public ModalAnswers, public QObject {
public:
    explicit PaintedProgress(QList<Answer> answers) : ModalAnswers(std::move(answers))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~PaintedProgress() override { QCoreApplication::instance()->removeEventFilter(this); }
    void shown(QWidget *window) override
    {
        if (window->windowTitle() == QLatin1String(" Transakce"))
            seen << QStringLiteral("%1, %2, documents %3")
                        .arg(window->isVisible() ? "visible" : "hidden", m_painted ? "painted" : "not painted",
                             LendRows(QStringLiteral("SELECT COUNT(*) FROM tab_pujcky")));
        ModalAnswers::shown(window);
    }
    QStringList seen;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            if (auto *widget = qobject_cast<QWidget *>(watched);
                widget && widget->window()->objectName() == QLatin1String("FormTransactionProgress"))
                m_painted = true;
        return false;
    }

private:
    bool m_painted = false;
};

// The fee total and the deposit total the receipts of `document` print: "A4 <fees>
// <deposits>" and "A5 <fees> <deposits>", each made from the journal's rows of the document.
QStringList ReceiptTotals(qint64 document)
{
    const QStringList captions{QStringLiteral("Celkem včetně DPH:"), QStringLiteral("Celkem:"),
                               QStringLiteral("Celkem záloha:"), QStringLiteral("Vrácena záloha:")};
    QStringList totals;
    for (bool half : {false, true}) {
        BrowseQuery lends;
        BrowseQuery lines;
        OpenReceiptDocument(lends, lines, document);
        const bool lend = lends.value(QStringLiteral("OPERACE")).toBool();
        std::unique_ptr<TFormQRReceipt> form;
        if (half)
            form = lend ? std::unique_ptr<TFormQRReceipt>(std::make_unique<TFormQRLendA5>(&lends, &lines))
                        : std::make_unique<TFormQRBackA5>(&lends, &lines);
        else
            form = lend ? std::unique_ptr<TFormQRReceipt>(std::make_unique<TFormQRLendA4>(&lends, &lines))
                        : std::make_unique<TFormQRBackA4>(&lends, &lines);
        QStringList printed{half ? QStringLiteral("A5") : QStringLiteral("A4")};
        for (const ReportPage &page : form->QuickRep.prepare()->pages) {
            const QList<PageText> texts = PageTextsInReadingOrder(page);
            for (int i = 0; i + 1 < texts.size(); ++i)
                if (captions.contains(texts[i].text))
                    printed << texts[i + 1].text;
        }
        totals << printed.join(QLatin1Char(' '));
    }
    return totals;
}

} // namespace

class TestLendDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
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
    void oneAmountForOneDocument_data();
    void oneAmountForOneDocument();
    void receiptThatCannotBePrinted_data() { AddEngineRows(); }
    void receiptThatCannotBePrinted();
    void staleFindIsNotUsed_data() { AddEngineFlagRows("line", "empty basket", "a line in the basket"); }
    void staleFindIsNotUsed();
    void progressPaintedBeforeTheStatements_data() { AddEngineRows(); }
    void progressPaintedBeforeTheStatements();
};

void TestLendDialog::init()
{
    SetRunDate(Friday);
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
        QCOMPARE(LendDate, QDate(2005, 11, 9));
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
    session.window()->parts().receiptPrint = [&](qint64 document, bool copy) { receipts.append({document, copy}); };
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
// change calculator asks that, with a receipt or without.
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
    session.window()->parts().receiptPrint = [](qint64, bool) {};
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
    QCOMPARE(asked, QStringLiteral("131,00 Kč"));
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
    session.window()->parts().receiptPrint = [&](qint64, bool) { printed = true; };
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

// One amount for one document: the recapitulation, the change calculator (after a printed
// receipt or none), the journal and both receipts give the fee total and the deposit total
// of the document, each in whole crowns, halves away from zero. A lend goes through the lend
// dialog (customer "-", "$" or "+" at 10 %, every third line free for a day); a return
// takes back lines lent with those prices and days over; a return out of the takings writes
// no document and shows its totals rounded alike.
void TestLendDialog::oneAmountForOneDocument_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::addColumn<bool>("printed");
    QTest::addColumn<bool>("back");
    QTest::addColumn<QList<int>>("days"); // lend days of each line, or days over
    QTest::addColumn<QString>("fee");     // per day: a fee, or a late fee
    QTest::addColumn<QString>("deposit");
    QTest::addColumn<int>("restriction"); // of the customer who lends: 1 "$", 2 "-", 3 "+"
    QTest::addColumn<bool>("include");
    QTest::addColumn<QString>("fees");     // what the document books
    QTest::addColumn<QString>("deposits");
    struct Case {
        const char *name;
        bool back;
        QList<int> days;
        const char *fee;
        const char *deposit;
        int restriction;
        bool include;
        const char *fees;
        const char *deposits;
    };
    const Case cases[] = {
        {"one day at 22,50", false, {1}, "22.50", "100", 2, true, "23", "0"},
        {"halves in the fees", false, {1, 1}, "35.25", "125", 1, true, "71", "250"},
        {"halves in the deposits", false, {1, 1}, "30", "50.25", 1, true, "60", "101"},
        {"VIP", false, {1}, "45", "100", 3, true, "41", "0"},
        {"free line", false, {2, 2, 2}, "20.50", "0", 2, true, "103", "0"},
        {"late fees below the deposits", true, {5}, "10.10", "250", 1, true, "51", "-250"},
        {"late fees above the deposits", true, {3, 3}, "25.25", "50.25", 1, true, "152", "-101"},
        {"deposit back, nothing late", true, {0}, "10", "100.50", 1, true, "0", "-101"},
        {"out of the takings", true, {5}, "10.10", "0", 1, false, "51", "0"},
    };
    for (const auto &[engineName, engine] : {std::pair{"sqlite", Engine::SQLite}, std::pair{"postgres", Engine::PostgreSQL}})
        for (const Case &c : cases)
            for (bool printed : {false, true})
                QTest::addRow("%s-%s-%s", engineName, c.name, printed ? "receipt" : "no receipt")
                    << engine << printed << c.back << c.days << QString::fromLatin1(c.fee)
                    << QString::fromLatin1(c.deposit) << c.restriction << c.include << QString::fromLatin1(c.fees)
                    << QString::fromLatin1(c.deposits);
}

void TestLendDialog::oneAmountForOneDocument()
{
    QFETCH(Engine, engine);
    QFETCH(bool, printed);
    QFETCH(bool, back);
    QFETCH(QList<int>, days);
    QFETCH(QString, fee);
    QFETCH(QString, deposit);
    QFETCH(int, restriction);
    QFETCH(bool, include);
    QFETCH(QString, fees);
    QFETCH(QString, deposits);
    LoggedInDesk session(engine);
    QVERIFY2(session.isReady(), qPrintable(session.error()));
    FormSetupVideo->IntegerEditTax->SetValue(21);
    FormSetupVideo->IntegerEditAmountOff->SetValue(3);
    FormSetupVideo->IntegerEditVIP->SetValue(10);
    FormSetupVideo->CheckBoxCash->setChecked(true);
    FormSetupPrint->CheckBoxOriginal->setChecked(printed);
    FormSetupPrint->CheckBoxCopy->setChecked(false);
    QStringList receipts;
    const auto readReceipt = [&](qint64 document, bool) { receipts = ReceiptTotals(document); };
    session.window()->parts().receiptPrint = readReceipt;
    const Money bookedFees = Money::fromString(fees);
    const Money bookedDeposits = Money::fromString(deposits);
    const Money sum = bookedFees + bookedDeposits;
    const QString net = QString::number((sum < Money() ? -sum : sum).units() / Money::Scale);

    QString recapitulation;
    QString calculator;
    auto askCalculator = Drive<TFormCash>([&](TFormCash *form) {
        calculator = form->PanelPayment->text();
        form->reject();
    });
    ModalAnswers answers;
    QVariant document;
    if (!back) {
        SetMediumPrices(QStringLiteral("DVD"), fee, QStringLiteral("10"), deposit);
        for (int video = 1; video <= days.size(); ++video)
            AddLendVideo(video, QStringLiteral("Film %1").arg(video));
        AddLendCustomer(42, QStringLiteral("Dvořák"), restriction);
        const char16_t code[] = {u'!', u'$', u'-', u'+'};
        TestDesk desk({42, QStringLiteral("Dvořák"), QChar(code[restriction]), 0});
        answers.add(Drive<TFormLend>([&](TFormLend *form) {
            for (int line = 0; line < days.size(); ++line) {
                TypeCode(form, QByteArray::number(line + 1).constData());
                form->ButtonDay[days[line] - 1]->click();
            }
            Key(form, Qt::Key_Plus, Qt::KeypadModifier);
        }));
        answers.add(Drive<TFormRecapitulationLend>([&](TFormRecapitulationLend *form) {
            recapitulation = form->LabelRecapitulation->text();
            Key(form, Qt::Key_Plus, Qt::KeypadModifier);
        }));
        answers.add(askCalculator);
        LendStart(desk, false, 1);
        document = desk.requeried.value(0);
    } else {
        AddTestCustomer(1, QStringLiteral("Novák"));
        const QDate returned = Friday.addDays(10);
        QList<TestLentLine> lent;
        for (int line = 0; line < days.size(); ++line) {
            AddTestVideo(line + 1, QStringLiteral("Film %1").arg(line + 1));
            lent << TestLentLine{line + 1, returned.addDays(-days[line]), 1, Money::fromCrowns(30),
                                 Money::fromString(fee), Money::fromString(deposit)};
        }
        AddTestLend(1, 1, QDateTime(Friday, QTime(10, 0)), lent);
        SetRunDate(returned);
        BrowseQuery lentVideos;
        PrepareBackVideoQuery(lentVideos);
        lentVideos.setParameter(QStringLiteral("ZAKAZNIK"), 1);
        lentVideos.open();
        TTableBack basket;
        for (int row = 0; row < lentVideos.recordCount(); ++row)
            basket.appendLentLine(lentVideos, row, CurrentRentalSettings(), returned, QDateTime(returned, QTime(12, 0)));
        answers.add(Drive<TFormRecapitulationBack>([&](TFormRecapitulationBack *form) {
            recapitulation = form->LabelRecapitulation->text();
            if (!include)
                form->CheckBoxInclude->click();
            form->BitBtnBack->click();
        }));
        answers.add(askCalculator);
        QObject following;
        MainDesk()->follow(DeskSubject::Document, &following, [&](const QVariant &written) { document = written; });
        ActionBackBackExecute(basket, 1, {readReceipt, {}});
    }
    QCOMPARE(answers.pending(), 0);

    QCOMPARE(recapitulation, QStringLiteral("%1:   %2,00 Kč").arg(sum < Money() ? "Vrátit" : "Platba", net));
    QCOMPARE(calculator, QStringLiteral("%1,00 Kč").arg(net));
    if (!include) {
        QVERIFY(document.isNull());
        QVERIFY(receipts.isEmpty());
        return;
    }
    const JournalTotals journal = DocumentTotals(document.toLongLong());
    QCOMPARE(journal.payments, bookedFees);
    QCOMPARE(journal.deposits, bookedDeposits);
    if (!printed) {
        QVERIFY(receipts.isEmpty());
        return;
    }
    // The whole-page return receipt prints the deposits handed back as a positive sum.
    const auto money = [](Money amount) { return FormatMoney(QStringLiteral("%m"), amount); };
    QCOMPARE(receipts, (QStringList{
                           QStringLiteral("A4 %1 %2").arg(money(bookedFees), money(back ? -bookedDeposits : bookedDeposits)),
                           QStringLiteral("A5 %1 %2").arg(money(bookedFees), money(bookedDeposits))}));
}

// The receipt of a written lend cannot be printed: the warning says why, and the rest of the
// lend follows as after a good print: the status bars (the basket already empty when the
// receipt was asked for), the change calculator and the focus in the customer box.
void TestLendDialog::receiptThatCannotBePrinted()
{
    QFETCH(Engine, engine);
    LoggedInDesk session(engine);
    QVERIFY2(session.isReady(), qPrintable(session.error()));
    Shop();
    AddLendCustomer(1, QStringLiteral("Novák"), 2);
    FormSetupVideo->CheckBoxCash->setChecked(true);
    FormSetupPrint->CheckBoxOriginal->setChecked(true);
    TestDesk desk({1, QStringLiteral("Novák"), u'-', 0});
    int barsBefore = -1;
    int barsAtPrint = -1;
    bool emptyAtPrint = false;
    session.window()->parts().receiptPrint = [&](qint64, bool) {
        barsAtPrint = desk.statusBars;
        emptyAtPrint = desk.basket.isEmpty();
        throw EReportError(QStringLiteral("Tiskárna není k dispozici."));
    };

    ModalAnswers answers;
    answers.add(Drive<TFormLend>([&](TFormLend *form) { Key(form, Qt::Key_Plus, Qt::KeypadModifier); }));
    answers.add(Drive<TFormRecapitulationLend>([&](TFormRecapitulationLend *form) {
        barsBefore = desk.statusBars;
        Key(form, Qt::Key_Plus, Qt::KeypadModifier);
    }));
    answers.add(ClickButton(QStringLiteral("ButtonOk")));
    answers.add(Drive<TFormCash>([&](TFormCash *form) { form->reject(); }));
    LendStart(desk, true, 1);

    QCOMPARE(answers.pending(), 0);
    QStringList modal;
    for (const ShownWindow &w : ModalWindows(answers))
        modal << w.className + QLatin1Char(' ') + w.text;
    QCOMPARE(modal, (QStringList{QStringLiteral("TFormLend "), QStringLiteral("TFormRecapitulationLend "),
                                 QStringLiteral("TFormWarning Tiskárna není k dispozici."), QStringLiteral("TFormCash ")}));
    QCOMPARE(LendRows(QStringLiteral("SELECT DOKLAD,ZAKAZNIK FROM tab_pujcky")), QStringLiteral("1|1"));
    QCOMPARE(barsAtPrint, barsBefore + 1);
    QVERIFY(emptyAtPrint);
    QCOMPARE(desk.journalBars, 1);
    QCOMPARE(desk.customerFocused, 1);
}

// The lend dialog opened on no video after one that found a video: the video list filtered
// to nothing, the dialog shows "0", and Enter says so instead of working with the video found
// before; the basket stays as it was.
void TestLendDialog::staleFindIsNotUsed()
{
    QFETCH(Engine, engine);
    QFETCH(bool, line);
    LoggedInDesk session(engine);
    QVERIFY2(session.isReady(), qPrintable(session.error()));
    Shop();
    AddLendCustomer(1, QStringLiteral("Novák"), 2);
    TestDesk desk({1, QStringLiteral("Novák"), u'-', 0});
    ModalAnswers answers;
    answers.add(Drive<TFormLend>([&](TFormLend *form) {
        QCOMPARE(form->EditTitle->text(), QStringLiteral("Alfa"));
        Key(form, Qt::Key_Escape);
    }));
    LendStart(desk, line, 1);
    const QString basket = desk.lines();
    QCOMPARE(basket.isEmpty(), !line);

    desk.videos.close();
    desk.videos.setSql({QStringLiteral("SELECT tab_video.VIDEO,tab_video.TITUL,tab_nosic.NOSIC"),
                        QStringLiteral("FROM tab_video JOIN tab_nosic ON (tab_video.NOSIC=tab_nosic.ID_NOSIC)"),
                        QStringLiteral("WHERE tab_video.VIDEO<0")});
    desk.videos.open();
    answers.add(Drive<TFormLend>([&](TFormLend *form) {
        form->Int64EditVideo->setFocus();
        Key(form, Qt::Key_Return);
        QCOMPARE(desk.lines(), basket);
        Key(form, Qt::Key_Escape);
    }));
    LendStart(desk, false, 0);
    QCOMPARE(answers.pending(), 0);
    const ShownWindow said = answers.shown().at(answers.shown().size() - 2);
    QCOMPARE(said.text + QLatin1Char('/') + said.detail, QStringLiteral("Hledaný kód videa nenalezen.../Hledaný kód: [0]"));
    QCOMPARE(desk.lines(), basket);
}

// The progress window " Transakce" is up and painted before the lend's statements run.
void TestLendDialog::progressPaintedBeforeTheStatements()
{
    QFETCH(Engine, engine);
    LoggedInDesk session(engine);
    QVERIFY2(session.isReady(), qPrintable(session.error()));
    Shop();
    AddLendCustomer(1, QStringLiteral("Novák"), 2);
    FormSetupVideo->CheckBoxCash->setChecked(false);
    FormSetupPrint->CheckBoxOriginal->setChecked(false);
    TestDesk desk({1, QStringLiteral("Novák"), u'-', 0});
    PaintedProgress progress({Drive<TFormLend>([](TFormLend *form) { Key(form, Qt::Key_Plus, Qt::KeypadModifier); }),
                              Drive<TFormRecapitulationLend>([](TFormRecapitulationLend *form) {
                                  Key(form, Qt::Key_Plus, Qt::KeypadModifier);
                              })});
    LendStart(desk, true, 1);
    QCOMPARE(progress.pending(), 0);
    QCOMPARE(progress.seen, QStringList{QStringLiteral("visible, painted, documents 0")});
    QCOMPARE(LendRows(QStringLiteral("SELECT COUNT(*) FROM tab_pujcky")), QStringLiteral("1"));
}

QTEST_MAIN(TestLendDialog)
#include "tst_lenddialog.moc"
