// The return at the desk: the return dialog driven by its keys (Enter, Space for all, Del,
// Up, Down, the numeric "+", Esc, the wheel), the recapitulation's amount and boxes under the
// rental and print settings and the user's rights, a lend written in one run and returned
// through the dialog and the recapitulation in a later one, checked row by row with its log
// line, receipt and change calculator, and a return refused because a video came back at
// another desk: its message and the warning only after the rollback, nothing written.
#include "core/Desk.h"
#include "core/Log.h"
#include "core/RunGlobals.h"
#include "core/UValmedo.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "rental/BackBasket.h"
#include "rental/BackStore.h"
#include "rental/BackTransaction.h"
#include "rental/UBack.h"
#include "rental/UCash.h"
#include "rental/URecapitulationBack.h"
#include "reports/ReportPages.h"
#include "support/LoggedInDesk.h"
#include "support/ModalAnswers.h"
#include "support/TestCommands.h"
#include "support/TestLends.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

namespace {

Money Kc(const char *text)
{
    return Money::fromString(QString::fromLatin1(text));
}

// Lent on Friday 4 November 2005 (the shop closed at the weekend), returned on Thursday the
// 10th: video 1 due Monday (3 days over), 2 due Wednesday (1), 3 due Tuesday (2).
const QDateTime LendClock(QDate(2005, 11, 4), QTime(10, 15, 20));
const QDateTime ReturnClock(QDate(2005, 11, 10), QTime(16, 42, 31));

// Customer 1 has videos 1 "Zorro", 2 "Amélie" and 3 "Matrix" out, customer 2 video 4;
// video 5 is in the shop. Written in the lend's run.
void LendInFirstRun()
{
    SetRunDate(LendClock.date());
    SetClock([] { return LendClock; });
    FormSetupVideo->CheckBoxSa->setChecked(true);
    FormSetupVideo->CheckBoxSu->setChecked(true);
    AddTestCustomer(1, QStringLiteral("Novák"));
    AddTestCustomer(2, QStringLiteral("Svoboda"));
    const char *titles[] = {"Zorro", "Amélie", "Matrix", "Pelíšky", "Kolja"};
    for (int video = 1; video <= 5; ++video)
        AddTestVideo(video, QString::fromUtf8(titles[video - 1]));
    const QDate friday = LendClock.date();
    auto line = [](qint64 video, const QDate &due, int days) {
        return TestLentLine{video, due, days, Kc("30"), Kc("10"), Kc("100")};
    };
    AddTestLend(1, 1, Now(), {line(1, friday.addDays(3), 1), line(2, friday.addDays(5), 3), line(3, friday.addDays(4), 2)});
    AddTestLend(2, 2, Now(), {line(4, friday.addDays(3), 1)});
}

void LaterRun()
{
    SetRunDate(ReturnClock.date());
    SetClock([] { return ReturnClock; });
}

QList<qint64> Videos(const DataSet &data)
{
    QList<qint64> videos;
    for (int row = 0; row < data.recordCount(); ++row)
        videos << data.valueAt(row, data.fieldIndex("VIDEO")).toLongLong();
    return videos;
}

// The return page's part: customer 1's lent videos, the basket and the dialog over them.
struct ReturnDesk {
    BrowseQuery lent;
    TTableBack basket;
    ReturnDesk()
    {
        PrepareBackVideoQuery(lent);
        lent.setParameter(QStringLiteral("ZAKAZNIK"), 1);
        lent.open();
    }
};

void Key(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(target, key, modifiers);
}

void Wheel(QWidget *form, int delta)
{
    QWheelEvent event(QPointF(10, 10), form->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form, &event);
}

// What the return page would do around a return, recorded, and the document the return puts
// the main window's journal on (null: moved to its end).
struct PageHooks {
    PageHooks()
    {
        MainDesk()->follow(DeskSubject::Document, &following, [this](const QVariant &document) { requeried << document; });
        MainDesk()->follow(DeskSubject::JournalLast, &following, [this](const QVariant &) { requeried << QVariant(); });
    }
    QList<QVariant> requeried;
    QList<std::pair<qint64, bool>> printed;
    int statusBars = 0;
    QObject following;
    BackPageHooks hooks()
    {
        return {[this](qint64 document, bool copy) { printed << std::pair{document, copy}; }, [this] { ++statusBars; }};
    }
};

} // namespace

class TestBackDesk : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        SetRunDate(QDate());
        SetClock({});
    }

    void dialogKeys_data() { AddEngineRows(); }
    void dialogKeys();
    void recapitulationBoxes_data();
    void recapitulationBoxes();
    void includeNeedsAdmin_data() { AddEngineRows(); }
    void includeNeedsAdmin();
    void returnInALaterRun_data() { AddEngineFlagRows("include", "out-of-takings", "into-takings"); }
    void returnInALaterRun();
    void returnedAtAnotherDesk_data() { AddEngineRows(); }
    void returnedAtAnotherDesk();
    void receiptThatCannotBePrinted_data() { AddEngineRows(); }
    void receiptThatCannotBePrinted();
};

void TestBackDesk::dialogKeys()
{
    QFETCH(Engine, engine);
    LoggedInDesk desk(engine);
    QVERIFY2(desk.isReady(), qPrintable(desk.error()));
    LendInFirstRun();
    LaterRun();
    ReturnDesk page;
    ModalAnswers answers; // the messages close themselves: recorded only

    TFormBack form(page.basket, page.lent, 1);
    QSignalSpy changed(&form, &TFormBack::BasketChanged);
    QCOMPARE(form.windowTitle(), QString(" Vracení"));
    // The page puts the scanned number in; the dialog adds it when it comes up.
    form.Int64EditVideo->SetValue(2);
    QVERIFY(BackVideoFound);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QWidget *code = form.Int64EditVideo;
    QVERIFY(code->hasFocus());
    QCOMPARE(Videos(page.basket), QList<qint64>{2});
    QCOMPARE(form.Int64EditVideo->selectedText(), QString("2"));
    QVERIFY(form.BitBtnBack->isEnabled());
    // Enter on it again: still one line.
    Key(code, Qt::Key_Return);
    QCOMPARE(Videos(page.basket), QList<qint64>{2});

    // Numbers this customer does not have out are only reported.
    const std::pair<const char *, const char *> refused[] = {
        {"4", "Toto video zákazník nemá půjčené..."}, // another customer's
        {"5", "Toto video zákazník nemá půjčené..."}, // in the shop
        {"99", "Hledaný kód videa nenalezen..."},
    };
    for (const auto &[typed, text] : refused) {
        QTest::keyClicks(code, QString::fromLatin1(typed));
        Key(code, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(answers.shown().last().text, QString::fromUtf8(text));
        QCOMPARE(answers.shown().last().detail, QStringLiteral("Hledaný kód: [%1]").arg(QLatin1String(typed)));
        QCOMPARE(form.Int64EditVideo->selectedText(), QString::fromLatin1(typed));
        QVERIFY(code->hasFocus());
        QCOMPARE(Videos(page.basket), QList<qint64>{2});
    }

    // Space: every lent video in the list's order, each with its own days over; again the same.
    for (int i = 0; i < 2; ++i) {
        Key(code, Qt::Key_Space);
        QCOMPARE(Videos(page.basket), (QList<qint64>{1, 2, 3}));
        QCOMPARE(form.Int64EditVideo->text(), QString("3"));
    }
    const int over = page.basket.fieldIndex("PRES");
    QCOMPARE(page.basket.valueAt(0, over).toInt(), 3);
    QCOMPARE(page.basket.valueAt(1, over).toInt(), 1);
    QCOMPARE(page.basket.valueAt(2, over).toInt(), 2);

    // Up and Down walk the basket, the list and the code box along; they stop at the ends.
    const std::pair<Qt::Key, qint64> walk[] = {
        {Qt::Key_Up, 2}, {Qt::Key_Up, 1}, {Qt::Key_Up, 1}, {Qt::Key_Down, 2}, {Qt::Key_Down, 3}, {Qt::Key_Down, 3}};
    for (const auto &[key, video] : walk) {
        Key(code, key);
        QCOMPARE(page.basket.currentVideo(), video);
        QCOMPARE(page.lent.value("VIDEO").toLongLong(), video);
        QCOMPARE(form.Int64EditVideo->Value(), video);
    }

    // Del removes the current line; the code box follows the basket, then the list.
    Key(code, Qt::Key_Delete);
    QCOMPARE(Videos(page.basket), (QList<qint64>{1, 2}));
    QCOMPARE(form.Int64EditVideo->text(), QString("2"));
    Key(code, Qt::Key_Delete);
    Key(code, Qt::Key_Delete);
    QVERIFY(page.basket.isEmpty());
    QVERIFY(!form.ActionBack->isEnabled() && !form.ActionDelete->isEnabled() && !form.BitBtnBack->isEnabled());
    QCOMPARE(form.Int64EditVideo->Value(), page.lent.value("VIDEO").toLongLong());
    // "+" on an empty basket does nothing.
    Key(code, Qt::Key_Plus, Qt::KeypadModifier);
    QVERIFY(form.isVisible());

    // A basket sorted descending by title stays so as lines are added.
    page.basket.setSortText(QStringLiteral("TITUL_"));
    for (const char *typed : {"1", "3", "2"}) {
        QTest::keyClicks(code, QString::fromLatin1(typed));
        Key(code, Qt::Key_Return);
    }
    QCOMPARE(Videos(page.basket), (QList<qint64>{1, 3, 2})); // Zorro, Matrix, Amélie

    // The wheel acts on every second notification, towards the user down the list, and
    // adds nothing.
    page.lent.first();
    BackWheelCounter = 0;
    const QList<qint64> shown = {1, 2, 2, 3};
    for (qint64 video : shown) {
        Wheel(&form, -120);
        QCOMPARE(page.lent.value("VIDEO").toLongLong(), video);
    }
    QCOMPARE(form.Int64EditVideo->text(), QString("3"));
    Wheel(&form, 120);
    Wheel(&form, 120);
    QCOMPARE(page.lent.value("VIDEO").toLongLong(), 2);
    QCOMPARE(page.basket.recordCount(), 3);

    // The numeric "+" closes with Ok.
    Key(code, Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(!form.isVisible());
    QVERIFY(changed.count() >= 6);

    // Opened only to look: nothing added, and Esc keeps the basket.
    TFormBack look(page.basket, page.lent, 1);
    look.Int64EditVideo->SetValue(2);
    look.ClearActivate();
    look.show();
    QVERIFY(QTest::qWaitForWindowActive(&look));
    Key(look.Int64EditVideo, Qt::Key_Escape);
    QCOMPARE(look.result(), int(QDialog::Rejected));
    QCOMPARE(Videos(page.basket), (QList<qint64>{1, 3, 2}));
}

void TestBackDesk::recapitulationBoxes_data()
{
    QTest::addColumn<bool>("includeSetting"); // returns without payment stay out of the takings
    QTest::addColumn<bool>("extra");          // no return receipt
    QTest::addColumn<float>("lateFees");
    QTest::addColumn<float>("deposits");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("include");
    QTest::addColumn<bool>("original");

    QTest::newRow("deposits back") << false << false << 30.0f << 100.0f << "Vrátit:   70,00 Kč" << true << true;
    QTest::newRow("late fee to pay") << false << false << 100.0f << 0.0f << "Platba:   100,00 Kč" << true << true;
    QTest::newRow("nothing, setting off") << false << false << 0.0f << 0.0f << "Platba:   0,00 Kč" << true << true;
    QTest::newRow("nothing, setting on") << true << false << 0.0f << 0.0f << "Platba:   0,00 Kč" << false << false;
    QTest::newRow("amounts, setting on") << true << false << 0.0f << 50.0f << "Vrátit:   50,00 Kč" << true << true;
    QTest::newRow("no return receipt") << false << true << 30.0f << 0.0f << "Platba:   30,00 Kč" << true << false;
}

void TestBackDesk::recapitulationBoxes()
{
    QFETCH(bool, includeSetting);
    QFETCH(bool, extra);
    QFETCH(float, lateFees);
    QFETCH(float, deposits);
    QFETCH(QString, text);
    QFETCH(bool, include);
    QFETCH(bool, original);
    LoggedInDesk desk(Engine::SQLite);
    QVERIFY2(desk.isReady(), qPrintable(desk.error()));
    FormSetupVideo->CheckBoxInclude->setChecked(includeSetting);
    FormSetupPrint->CheckBoxOriginal->setChecked(true);
    FormSetupPrint->CheckBoxCopy->setChecked(true);
    FormSetupPrint->CheckBoxExtra->setChecked(extra);

    TTableBack basket;
    TFormRecapitulationBack form(basket, BasketTotals{lateFees, deposits},
                                 BookedAmount(Money::fromDouble(lateFees), -Money::fromDouble(deposits)));
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), QString(" Rekapitulace - vrácení"));
    QCOMPARE(form.LabelRecapitulation->text(), text);
    QVERIFY(form.BitBtnBack->hasFocus());
    QVERIFY(form.CheckBoxInclude->isEnabled()); // "sa" has ADMIN
    QCOMPARE(form.CheckBoxInclude->isChecked(), include);
    QCOMPARE(form.CheckBoxOriginal->isChecked(), original);
    QCOMPARE(form.CheckBoxCopy->isChecked(), original);
    QCOMPARE(form.CheckBoxOriginal->isEnabled(), include);

    // F11 ticks the receipt and its copy with it, only while the return is included; F12
    // switches the copy while the receipt is ticked.
    QWidget *focus = form.focusWidget();
    if (!original) {
        Key(focus, Qt::Key_F11);
        QCOMPARE(form.CheckBoxOriginal->isChecked(), include);
        QCOMPARE(form.CheckBoxCopy->isChecked(), include);
    }
    if (include) {
        Key(focus, Qt::Key_F12);
        QVERIFY(!form.CheckBoxCopy->isChecked());
        Key(focus, Qt::Key_F12);
        QVERIFY(form.CheckBoxCopy->isChecked());
        // Out of the takings, nothing is printed.
        form.CheckBoxInclude->click();
        QVERIFY(!form.CheckBoxOriginal->isChecked() && !form.CheckBoxOriginal->isEnabled());
        QVERIFY(!form.CheckBoxCopy->isChecked() && !form.CheckBoxCopy->isEnabled());
        Key(focus, Qt::Key_F11);
        QVERIFY(!form.CheckBoxOriginal->isChecked());
    }
    Key(focus, Qt::Key_F12);
    QVERIFY(!form.CheckBoxCopy->isChecked());
    // Enter on the default button confirms.
    Key(focus, Qt::Key_Return);
    QCOMPARE(form.result(), int(QDialog::Accepted));
}

void TestBackDesk::includeNeedsAdmin()
{
    QFETCH(Engine, engine);
    LoggedInDesk desk(engine, QStringLiteral("pokladni"), QStringLiteral("Heslo1"), {QStringLiteral("NASTAVENI")});
    QVERIFY2(desk.isReady(), qPrintable(desk.error()));
    TTableBack basket;
    TFormRecapitulationBack form(basket, BasketTotals{25.0f, 100.0f}, BookedAmount(Money::fromCrowns(25), -Money::fromCrowns(100)));
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(form.CheckBoxInclude->isChecked());
    QVERIFY(!form.CheckBoxInclude->isEnabled());
    // The numeric "+" confirms as Enter does.
    Key(form.focusWidget(), Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(form.result(), int(QDialog::Accepted));
}

void TestBackDesk::returnInALaterRun()
{
    QFETCH(Engine, engine);
    QFETCH(bool, include);
    LoggedInDesk desk(engine);
    QVERIFY2(desk.isReady(), qPrintable(desk.error()));
    LendInFirstRun();
    FormSetupVideo->CheckBoxCash->setChecked(true);
    FormSetupPrint->CheckBoxOriginal->setChecked(true);
    FormSetupPrint->CheckBoxCopy->setChecked(false);
    const QStringList counters = TestRows(QStringLiteral("SELECT SUM(PUJCKY) FROM tab_zakaznik"))
        + TestRows(QStringLiteral("SELECT SUM(VYPUJCENA) FROM tab_video"));

    LaterRun();
    ReturnDesk page;
    TFormBack form(page.basket, page.lent, 1);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    Key(form.Int64EditVideo, Qt::Key_Space);
    Key(form.Int64EditVideo, Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(form.result(), int(QDialog::Accepted));

    PageHooks hooks;
    QString amount;
    QStringList columns;
    bool cashReturns = false;
    QString cashAmount;
    ModalAnswers answers({
        [&](QDialog *dialog) {
            auto *recapitulation = static_cast<TFormRecapitulationBack *>(dialog);
            amount = recapitulation->LabelRecapitulation->text();
            TRxDBGridEx *grid = recapitulation->RxDBGridRecapitulation;
            for (int visual = 0; visual < 7; ++visual)
                columns << grid->model()->headerData(grid->horizontalHeader()->logicalIndex(visual), Qt::Horizontal)
                               .toString();
            // A title sorts the basket; the late fee's grey one does not.
            emit grid->horizontalHeader()->sectionClicked(page.basket.fieldIndex("TITUL"));
            emit grid->horizontalHeader()->sectionClicked(page.basket.fieldIndex("VRATNE_CELKEM"));
            if (!include)
                recapitulation->CheckBoxInclude->click();
            recapitulation->BitBtnBack->click();
            return dialog->result();
        },
        [&](QDialog *dialog) {
            auto *cash = static_cast<TFormCash *>(dialog);
            cashReturns = cash->LabelReturn->isVisibleTo(cash);
            cashAmount = cash->PanelPayment->text();
            dialog->reject();
            return dialog->result();
        },
    });
    ActionBackBackExecute(page.basket, 1, hooks.hooks());
    QCOMPARE(amount, QString("Vrátit:   240,00 Kč"));
    QCOMPARE(columns, (QStringList{"Kód - video", "Titul", "Nosič", "Do", "Přes", "Vratné [Kč]", "Záloha [Kč]"}));
    QCOMPARE(page.basket.sortText(), QString("_TITUL"));
    // The change calculator: the deposits back less the late fees, to pay out.
    QVERIFY(cashReturns);
    QCOMPARE(cashAmount, QString("240,00 Kč"));
    QCOMPARE(answers.shown().at(1).caption, QString(" Transakce"));
    QVERIFY(page.basket.isEmpty());

    // Into the takings: return document 3, its receipt printed; out of them, none.
    const QString document = include ? QStringLiteral("3") : QStringLiteral("NULL");
    QCOMPARE(hooks.requeried, QList<QVariant>{include ? QVariant(3) : QVariant()});
    QCOMPARE(hooks.printed.size(), include ? 1 : 0);
    if (include)
        QCOMPARE(hooks.printed.first(), (std::pair<qint64, bool>{3, false}));
    QCOMPARE(hooks.statusBars, 1);
    QCOMPARE(TestRows(QStringLiteral("SELECT DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL FROM tab_pujcky WHERE OPERACE=0")),
             include ? QStringList{"3|0|1|1"} : QStringList{});
    QCOMPARE(TestRows(QStringLiteral("SELECT VIDEO,DOKLAD_PUJ,DOKLAD_VRA,PUJCENA,PUJCENO,VRATIT,DNY,VRACENO,PRES,"
                                     "VRATNE,ZALOHA FROM tab_pujckydetail ORDER BY VIDEO")),
             (QStringList{
                 QStringLiteral("1|1|%1|0|2005-11-04 10:15|2005-11-07 00:00|1|2005-11-10 16:42|3|10.0000|100.0000").arg(document),
                 QStringLiteral("2|1|%1|0|2005-11-04 10:15|2005-11-09 00:00|3|2005-11-10 16:42|1|10.0000|100.0000").arg(document),
                 QStringLiteral("3|1|%1|0|2005-11-04 10:15|2005-11-08 00:00|2|2005-11-10 16:42|2|10.0000|100.0000").arg(document),
                 QStringLiteral("4|2|NULL|1|2005-11-04 10:15|2005-11-07 00:00|1|NULL|NULL|10.0000|100.0000")}));
    QCOMPARE(TestRows(QStringLiteral("SELECT SUM(PUJCKY) FROM tab_zakaznik"))
                 + TestRows(QStringLiteral("SELECT SUM(VYPUJCENA) FROM tab_video")),
             counters);
    const QString logLine = desk.window()->log()->Lines().last();
    QVERIFY2(logLine.contains(QStringLiteral("Transakce [Vracení] [")), qPrintable(logLine));
    QVERIFY2(logLine.endsWith(include ? QStringLiteral("[0000000000003] [Ok]") : QStringLiteral("[-] [Ok]")),
             qPrintable(logLine));
}

void TestBackDesk::returnedAtAnotherDesk()
{
    QFETCH(Engine, engine);
    LoggedInDesk desk(engine);
    QVERIFY2(desk.isReady(), qPrintable(desk.error()));
    LendInFirstRun();
    FormSetupVideo->CheckBoxCash->setChecked(true);
    LaterRun();
    ReturnDesk page;
    page.lent.first();
    AddBackItem(page.basket, page.lent); // Zorro, refused at the end
    page.lent.next();
    AddBackItem(page.basket, page.lent); // Amélie, current: written first
    Exec(QStringLiteral("UPDATE tab_pujckydetail SET PUJCENA=0 WHERE VIDEO=1"));
    const QStringList lines = TestRows(QStringLiteral("SELECT * FROM tab_pujckydetail ORDER BY VIDEO"));

    PageHooks hooks;
    QStringList atMessage;
    ModalAnswers answers({ClickButton(QStringLiteral("BitBtnBack")),
                          [&](QDialog *dialog) {
                              // Amélie's line, closed a moment before, is open again: the
                              // transaction has ended before the clerk reads this.
                              atMessage = TestRows(QStringLiteral("SELECT PUJCENA FROM tab_pujckydetail WHERE VIDEO=2"));
                              dialog->accept();
                              return dialog->result();
                          },
                          Accept()});
    ActionBackBackExecute(page.basket, 1, hooks.hooks());
    QCOMPARE(atMessage, QStringList{"1"});
    const QList<ShownWindow> &shown = answers.shown();
    QCOMPARE(shown.size(), 4);
    QCOMPARE(shown.at(1).caption, QString(" Transakce"));
    QCOMPARE(shown.at(2).text, QString("Video není půjčené..."));
    QCOMPARE(shown.at(2).detail, QString("Video (1/Zorro)"));
    QCOMPARE(shown.at(3).text, QString("Transakce vracení skončila s chybou..."));
    QCOMPARE(shown.at(3).detail, QString("Vracení videa neproběhlo..."));
    // Nothing written, nothing printed, no change calculator; the basket is empty.
    QCOMPARE(TestRows(QStringLiteral("SELECT * FROM tab_pujckydetail ORDER BY VIDEO")), lines);
    QCOMPARE(TestRows(QStringLiteral("SELECT COUNT(*) FROM tab_pujcky WHERE OPERACE=0")), QStringList{"0"});
    QVERIFY(hooks.printed.isEmpty());
    QCOMPARE(hooks.requeried, QList<QVariant>{QVariant()});
    QCOMPARE(hooks.statusBars, 1);
    QVERIFY(page.basket.isEmpty());
    QVERIFY(desk.window()->log()->Lines().last().endsWith(QStringLiteral("[0000000000003] [Error]")));
}

// The receipt of a written return cannot be printed: the warning says why, and the change
// calculator still follows, as after a good print; the page then takes the focus back.
void TestBackDesk::receiptThatCannotBePrinted()
{
    QFETCH(Engine, engine);
    LoggedInDesk desk(engine);
    QVERIFY2(desk.isReady(), qPrintable(desk.error()));
    LendInFirstRun();
    FormSetupVideo->CheckBoxCash->setChecked(true);
    FormSetupPrint->CheckBoxOriginal->setChecked(true);
    LaterRun();
    ReturnDesk page;
    AddBackItem(page.basket, page.lent);
    PageHooks hooks;
    BackPageHooks failing = hooks.hooks();
    failing.print = [](qint64, bool) { throw EReportError(QStringLiteral("Tiskárna není k dispozici.")); };
    QString cashAmount;
    ModalAnswers answers({ClickButton(QStringLiteral("BitBtnBack")), ClickButton(QStringLiteral("ButtonOk")),
                          [&](QDialog *dialog) {
                              cashAmount = static_cast<TFormCash *>(dialog)->PanelPayment->text();
                              dialog->reject();
                              return dialog->result();
                          }});
    ActionBackBackExecute(page.basket, 1, failing);
    QCOMPARE(answers.pending(), 0);
    const QList<ShownWindow> modal = ModalWindows(answers);
    QCOMPARE(modal.size(), 3);
    QCOMPARE(modal.at(1).caption, QString(" Upozornění"));
    QCOMPARE(modal.at(1).text, QString("Tiskárna není k dispozici."));
    QCOMPARE(modal.at(2).className, QString("TFormCash"));
    QCOMPARE(cashAmount, QString("70,00 Kč"));
    QCOMPARE(TestRows(QStringLiteral("SELECT DOKLAD FROM tab_pujcky WHERE OPERACE=0")), QStringList{"3"});
    QCOMPARE(hooks.statusBars, 1);
    QVERIFY(page.basket.isEmpty());
}

QTEST_MAIN(TestBackDesk)
#include "tst_backdesk.moc"
