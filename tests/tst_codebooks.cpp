// The media and genre code books: their statements, the amount edit of the fees, the name
// checks of the small dialogs, and the two windows inside the main window's transaction
// (Ok keeps every change, Storno, the close box and, for genres, Esc undo them all; a
// removal refused because a video uses the row leaves the rest of the work).
#include "catalogue/CodeBookStore.h"
#include "catalogue/UDirection.h"
#include "catalogue/UDirectionEdit.h"
#include "catalogue/UMedium.h"
#include "catalogue/UMediumEdit.h"
#include "core/Grids.h"
#include "core/TransactionFrame.h"
#include "core/controls/CurrencyEdit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/Lookups.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"
#include "support/DeskAnswers.h"
#include "support/LoggedInDesk.h"
#include "support/ModalAnswers.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Every row of a code book as "name|flags|amounts" in Czech order of the names, amounts exact.
QStringList TableState(const QString &table)
{
    const QString name
        = table == QLatin1String("tab_nosic") ? QStringLiteral("NOSIC") : QStringLiteral("ZAMERENI");
    SetCommand(QStringLiteral("SELECT * FROM %1 ORDER BY %2")
                   .arg(table, CurrentServer()->dialect().textOrder(name)));
    QSqlQuery q = ExecCommandRecordset();
    QStringList rows;
    while (q.next()) {
        QStringList values;
        for (int i = 1; i < q.record().count(); ++i) {
            const QString field = q.record().fieldName(i).toUpper();
            const bool money = field == QLatin1String("PUJCOVNE") || field == QLatin1String("VRATNE")
                || field == QLatin1String("ZALOHA");
            values << (money ? Money::fromVariant(q.value(i)).toSqlText() : q.value(i).toString());
        }
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

int IdOf(const QString &table, const QString &key, const QString &nameField, const QString &name)
{
    SetCommand(
        QStringLiteral("SELECT COALESCE(MAX(%1),0) FROM %2 WHERE %3=:NAME").arg(key, table, nameField));
    SetCommandParam(QStringLiteral("NAME"), name);
    return ExecCommandValue().toInt();
}

int MediumId(const QString &name)
{
    return IdOf(QStringLiteral("tab_nosic"), QStringLiteral("ID_NOSIC"), QStringLiteral("NOSIC"), name);
}

int DirectionId(const QString &name)
{
    return IdOf(QStringLiteral("tab_zamereni"), QStringLiteral("ID_ZAMERENI"), QStringLiteral("ZAMERENI"),
                name);
}

// A video on that genre and medium, so that neither can be removed.
void AddVideo(int direction, int medium)
{
    SetCommand(QStringLiteral("INSERT INTO tab_video (VIDEO,TITUL,ZAMERENI,NOSIC,CENA) "
                              "VALUES (1,'Film',:ZAMERENI,:NOSIC,0)"));
    SetCommandParam(QStringLiteral("ZAMERENI"), direction);
    SetCommandParam(QStringLiteral("NOSIC"), medium);
    ExecCommand();
}

Money Crowns(const char *amount)
{
    return Money::fromString(QLatin1String(amount));
}

MediumValues Medium(const char *name, bool dubbing, const char *rent, const char *late, const char *deposit)
{
    return {QString::fromUtf8(name), dubbing, Crowns(rent), Crowns(late), Crowns(deposit)};
}

// The texts of the self-closing information windows shown.
QStringList Informations(const ModalAnswers &answers)
{
    QStringList texts;
    for (const ShownWindow &w : answers.shown())
        if (w.className == QLatin1String("TFormInformation"))
            texts << w.text + QLatin1String(" / ") + w.detail;
    return texts;
}

enum class Closing { Ok, Storno, CloseBox, Esc };

int Close(QDialog *dialog, QPushButton *ok, QPushButton *storno, Closing closing)
{
    switch (closing) {
    case Closing::Ok: ok->click(); break;
    case Closing::Storno: storno->click(); break;
    case Closing::CloseBox: dialog->close(); break;
    case Closing::Esc: QTest::keyClick(dialog->focusWidget(), Qt::Key_Escape); break;
    }
    return dialog->result();
}

// Answers a code-book window of class Form: runs `work` on it, then closes it.
template <class Form> Answer CodeBookWindow(std::function<void(Form *)> work, Closing closing)
{
    return [work = std::move(work), closing](QDialog *dialog) {
        auto *form = qobject_cast<Form *>(dialog);
        if (!form) {
            QTest::qFail("the code-book window did not open", __FILE__, __LINE__);
            return int(QDialog::Rejected);
        }
        work(form);
        return Close(form, form->ButtonOk, form->ButtonCancel, closing);
    };
}

QString CurrentName(BrowseQuery *query, const char *field)
{
    return query->value(QLatin1String(field)).toString();
}

void ClickDubbing(TFormMedium *form, const QString &medium)
{
    BrowseQuery *q = form->ADOQueryMedium;
    QVERIFY(q->locate(QStringLiteral("NOSIC"), medium));
    const QRect cell
        = form->RxDBGridEx->visualRect(q->index(q->currentRow(), q->fieldIndex(QStringLiteral("DABING"))));
    QTest::mouseClick(form->RxDBGridEx->viewport(), Qt::LeftButton, Qt::NoModifier,
                      CheckBoxSquare(cell).center());
}

} // namespace

Q_DECLARE_METATYPE(Closing)

namespace {

// The data columns "engine" and "closing": one row per engine and way of closing.
void AddClosingRows(std::initializer_list<Closing> closings)
{
    QTest::addColumn<Engine>("engine");
    QTest::addColumn<Closing>("closing");
    const char *const names[] = {"ok", "storno", "close box", "esc"};
    for (const auto &[tag, engine] :
         {std::pair {"sqlite", Engine::SQLite}, std::pair {"postgres", Engine::PostgreSQL}})
        for (Closing closing : closings)
            QTest::newRow(qPrintable(QStringLiteral("%1-%2").arg(tag, names[int(closing)])))
                << engine << closing;
}

} // namespace

class TestCodeBooks : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        QDir::setCurrent(m_work.path());
    }
    void init()
    {
        // A refused statement's query is never freed inside an aborted transaction.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("Unable to free statement")));
    }

    // Typing into an amount: digits, one decimal comma ("." types it too), at most four
    // decimals, a "-" only where the range allows it, nothing past the range.
    void currencyEditTyping_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("negativeAllowed");
        QTest::addColumn<QString>("value");
        QTest::newRow("comma") << "35,5" << false << "35.5000";
        QTest::newRow("dot") << "10.25" << false << "10.2500";
        QTest::newRow("fifth decimal") << "1,23456" << false << "1.2345";
        QTest::newRow("second comma") << "1,2,3" << false << "1.2300";
        QTest::newRow("letters") << "1a2 k" << false << "12.0000";
        QTest::newRow("minus refused") << "-5" << false << "5.0000";
        QTest::newRow("minus allowed") << "-5" << true << "-5.0000";
        QTest::newRow("past the column's range") << "2147483" << true << "214748.0000";
        QTest::newRow("the column's top") << "214748,3647" << true << "214748.3647";
        QTest::newRow("leading comma") << ",5" << false << "0.5000";
    }
    void currencyEditTyping()
    {
        QFETCH(QString, typed);
        QFETCH(bool, negativeAllowed);
        QFETCH(QString, value);
        QDialog window;
        auto *edit = new TCurrencyEdit(&window);
        auto *other = new QLineEdit(&window);
        if (!negativeAllowed)
            edit->SetRange(Money(), TCurrencyEdit::SmallMoneyMax);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        edit->setFocus();
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->Value().toSqlText(), value);
        other->setFocus();
        QCOMPARE(edit->text(), FormatMoney(QStringLiteral(",0.00"), edit->Value()));
    }

    // The amount is shown as ",0.00" without the focus and as a plain number with it;
    // the change of form sends no valueChanged, and a value set is held to the range.
    void currencyEditShowing()
    {
        QDialog window;
        auto *edit = new TCurrencyEdit(&window);
        auto *other = new QLineEdit(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        other->setFocus();
        QSignalSpy changes(edit, &TCurrencyEdit::valueChanged);
        edit->SetValue(Crowns("1234.5"));
        QCOMPARE(edit->text(), QStringLiteral("1\u00a0234,50"));
        edit->setFocus();
        QCOMPARE(edit->text(), QStringLiteral("1234,50"));
        QCOMPARE(edit->selectedText(), edit->text());
        other->setFocus();
        QCOMPARE(changes.size(), 1);
        edit->SetValue(Crowns("999999"));
        QCOMPARE(edit->Value(), TCurrencyEdit::SmallMoneyMax);
        edit->SetRange(Money(), Crowns("100"));
        QCOMPARE(edit->Value(), Crowns("100"));
    }

    // The statements of the media: a new medium with its exact fees and never the default,
    // a change, the dubbing flag switched (a flag never set becomes set), the default moved
    // by one statement, the fees the lend reads, and a removal refused while a video uses it.
    void mediumStore_data() { AddEngineRows(); }
    void mediumStore()
    {
        OPEN_TEST_DATABASE(db);
        QCOMPARE(GetDefaultMedium(), QStringLiteral("-"));

        const int bluray = InsertMedium(Medium("Blu-ray", true, "44.35", "10.5", "214748.3647"));
        QCOMPARE(MediumId(QStringLiteral("Blu-ray")), bluray);
        const int vhs = MediumId(QStringLiteral("VHS"));
        UpdateMedium(vhs, Medium("VHS dlouhé", false, "25.36", "0.01", "100"));
        Exec(QStringLiteral("UPDATE tab_nosic SET DABING=NULL WHERE NOSIC='DVD'"));
        ToggleMediumDubbing(MediumId(QStringLiteral("DVD")));
        ToggleMediumDubbing(MediumId(QStringLiteral("DVD CZ")));
        SetDefaultMedium(bluray);
        QCOMPARE(TableState(QStringLiteral("tab_nosic")),
                 QStringList({"-|0|0.0000|0.0000|0.0000|0", "Blu-ray|1|44.3500|10.5000|214748.3647|1",
                              "DVD|1|0.0000|0.0000|0.0000|0", "DVD CZ|0|0.0000|0.0000|0.0000|0",
                              "VHS CZ|1|0.0000|0.0000|0.0000|0", "VHS dlouhé|0|25.3600|0.0100|100.0000|0"}));
        QCOMPARE(GetDefaultMedium(), QStringLiteral("Blu-ray"));
        QCOMPARE(GetDefaultMediumId(), bluray);
        QSqlQuery prices = GetMediumPrices(QStringLiteral("VHS dlouhé"));
        QVERIFY(prices.next());
        QCOMPARE(Money::fromVariant(prices.value(0)), Crowns("25.36"));
        QCOMPARE(Money::fromVariant(prices.value(2)), Crowns("100"));

        AddVideo(DirectionId(QStringLiteral("-")), bluray);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, DeleteMedium(bluray));
        DeleteMedium(vhs);
        QCOMPARE(MediumId(QStringLiteral("VHS dlouhé")), 0);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, InsertMedium(Medium("DVD", false, "0", "0", "0")));
    }

    void directionStore_data() { AddEngineRows(); }
    void directionStore()
    {
        OPEN_TEST_DATABASE(db);
        QCOMPARE(TableState(QStringLiteral("tab_zamereni")), QStringList({"-|1"}));

        const int comedy = InsertDirection(QStringLiteral("Komedie"));
        const int drama = InsertDirection(QStringLiteral("Drama"));
        RenameDirection(drama, QStringLiteral("Činohra"));
        SetDefaultDirection(comedy);
        QCOMPARE(TableState(QStringLiteral("tab_zamereni")), QStringList({"-|0", "Činohra|0", "Komedie|1"}));
        QCOMPARE(GetDefaultDirection(), QStringLiteral("Komedie"));

        AddVideo(comedy, MediumId(QStringLiteral("DVD")));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, DeleteDirection(comedy));
        DeleteDirection(drama);
        DeleteDirection(DirectionId(QStringLiteral("-")));
        QCOMPARE(TableState(QStringLiteral("tab_zamereni")), QStringList({"Komedie|1"}));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, RenameDirection(comedy, QString(33, QLatin1Char('x'))));
    }

    // Ok of the small dialogs: a name of more than blanks that no other row has; an edit
    // dialog may keep its own name but starts each showing with Ok disabled.
    void nameCheck_data()
    {
        QTest::addColumn<bool>("genre");
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("enabled");
        for (const bool genre : {false, true}) {
            const char *book = genre ? "genre" : "medium";
            const QString other = genre ? QStringLiteral("-") : QStringLiteral("DVD");
            const QString own = genre ? QStringLiteral("Komedie") : QStringLiteral("VHS");
            auto row = [&](const char *name) -> QTestData & {
                return QTest::newRow(qPrintable(QStringLiteral("%1-%2").arg(book, name))) << genre;
            };
            row("new") << false << "Laserdisk" << true;
            row("new, empty") << false << "" << false;
            row("new, blanks") << false << "   " << false;
            row("new, taken") << false << other << false;
            row("edit, own name") << true << own << true;
            row("edit, taken") << true << other << false;
        }
    }
    void nameCheck()
    {
        QFETCH(bool, genre);
        QFETCH(bool, edit);
        QFETCH(QString, name);
        QFETCH(bool, enabled);
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        const int comedy = InsertDirection(QStringLiteral("Komedie"));
        const int vhs = MediumId(QStringLiteral("VHS"));
        std::unique_ptr<TFormCodeBookItem> form;
        QLineEdit *nameEdit = nullptr;
        if (genre) {
            auto *f = edit
                ? static_cast<TFormCodeBookItem *>(new TFormDirectionEdit(comedy, QStringLiteral("Komedie")))
                : new TFormDirectionNew;
            form.reset(f);
            nameEdit = f->findChild<QLineEdit *>(QStringLiteral("EditDirection"));
            QCOMPARE(nameEdit->maxLength(), 32);
        } else {
            auto *f = edit ? static_cast<TFormMediumValues *>(
                          new TFormMediumEdit(vhs, Medium("VHS", false, "1", "1", "1")))
                           : new TFormMediumNew;
            form.reset(f);
            nameEdit = f->EditMedium;
            QCOMPARE(nameEdit->maxLength(), 16);
            QCOMPARE(f->CheckBoxDubing->isChecked(), !edit);
        }
        form->show();
        QVERIFY(!form->ButtonOk->isEnabled());
        // A name of the longest length is seen whole while it is typed.
        const QString longest(nameEdit->maxLength(), QLatin1Char('o'));
        QVERIFY(nameEdit->fontMetrics().horizontalAdvance(longest) + 8 <= nameEdit->width());
        nameEdit->clear();
        nameEdit->setText(name);
        QCOMPARE(form->ButtonOk->isEnabled(), enabled);
        if (edit) {
            form->hide();
            form->show();
            QVERIFY(!form->ButtonOk->isEnabled());
        }
    }

    // A fee or the dubbing box alone enables Ok of the edit dialog.
    void mediumEditFieldsEnableOk()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        TFormMediumEdit form(MediumId(QStringLiteral("VHS")), Medium("VHS", false, "1", "1", "1"));
        form.show();
        QVERIFY(!form.ButtonOk->isEnabled());
        form.CurrencyEditBack->SetValue(Crowns("2"));
        QVERIFY(form.ButtonOk->isEnabled());
        form.hide();
        form.show();
        form.CheckBoxDubing->click();
        QVERIFY(form.ButtonOk->isEnabled());
        QCOMPARE(form.Values().lateFee, Crowns("2"));
        QVERIFY(form.Values().dubbing);
    }

    // The media window through the main window's action: it opens on the default medium;
    // a new medium, a changed one, a switched dubbing flag, a removed one and a moved
    // default, with a removal refused because a video uses the medium in the middle. Ok
    // keeps all of it, Storno and the close box none; Esc leaves the window open.
    void mediumWindow_data() { AddClosingRows({Closing::Ok, Closing::Storno, Closing::CloseBox}); }
    void mediumWindow()
    {
        QFETCH(Engine, engine);
        QFETCH(Closing, closing);
        LoggedInDesk desk(engine);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        SetDefaultMedium(MediumId(QStringLiteral("VHS")));
        AddVideo(DirectionId(QStringLiteral("-")), MediumId(QStringLiteral("DVD")));
        const QStringList before = TableState(QStringLiteral("tab_nosic"));
        QString openedOn, afterAdd, afterRefusal, afterRemoval, shownDefault;
        bool escClosed = true;
        ModalAnswers answers(
            {CodeBookWindow<TFormMedium>(
                 [&](TFormMedium *form) {
                     BrowseQuery *q = form->ADOQueryMedium;
                     openedOn = CurrentName(q, "NOSIC");
                     QCOMPARE(form->RxDBGridEx->columnWidth(q->fieldIndex(QStringLiteral("NOSIC"))), 76);
                     QVERIFY(form->RxDBGridEx->isColumnHidden(q->fieldIndex(QStringLiteral("VYCHOZI"))));
                     form->ButtonAdd->click();
                     afterAdd = CurrentName(q, "NOSIC");
                     QVERIFY(q->locate(QStringLiteral("NOSIC"), QStringLiteral("DVD")));
                     form->ButtonDelete->click(); // a video uses it
                     afterRefusal = CurrentName(q, "NOSIC");
                     QVERIFY(q->locate(QStringLiteral("NOSIC"), QStringLiteral("VHS CZ")));
                     form->ButtonEdit->click();
                     ClickDubbing(form, QStringLiteral("DVD CZ"));
                     ClickDubbing(form, QStringLiteral("VHS"));
                     ClickDubbing(form, QStringLiteral("VHS"));
                     QVERIFY(q->locate(QStringLiteral("NOSIC"), QStringLiteral("Blu-ray")));
                     form->ButtonDefault->click();
                     shownDefault = form->EditDefault->text();
                     QVERIFY(q->locate(QStringLiteral("NOSIC"), QStringLiteral("VHS")));
                     form->ButtonDelete->click();
                     afterRemoval = CurrentName(q, "NOSIC");
                     QTest::keyClick(form->RxDBGridEx, Qt::Key_Escape);
                     escClosed = !form->isVisible();
                 },
                 closing),
             MediumDialog(Medium("Blu-ray", true, "44.35", "10", "500")),
             MediumDialog(Medium("VHS CZ", true, "25.36", "5.5", "0"))});
        desk.action("ActionMedium")->trigger();
        QVERIFY(!InTransactionFrame());
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(openedOn, QStringLiteral("VHS"));
        QCOMPARE(afterAdd, QStringLiteral("Blu-ray"));
        QCOMPARE(afterRefusal, QStringLiteral("DVD"));
        QCOMPARE(afterRemoval, QStringLiteral("DVD CZ"));
        QCOMPARE(shownDefault, QStringLiteral("Blu-ray"));
        QVERIFY(!escClosed);
        QCOMPARE(Informations(answers),
                 QStringList({"Nosič nelze odebrat... / Nosič je používán v databázi videa..."}));
        if (closing != Closing::Ok) {
            QCOMPARE(TableState(QStringLiteral("tab_nosic")), before);
            return;
        }
        QCOMPARE(TableState(QStringLiteral("tab_nosic")),
                 QStringList({"-|0|0.0000|0.0000|0.0000|0", "Blu-ray|1|44.3500|10.0000|500.0000|1",
                              "DVD|0|0.0000|0.0000|0.0000|0", "DVD CZ|0|0.0000|0.0000|0.0000|0",
                              "VHS CZ|1|25.3600|5.5000|0.0000|0"}));
    }

    // The genre window: a new genre, a rename that stays current in its new place, a moved
    // default and a removal, with a removal refused in the middle; Ok keeps all, Storno,
    // the close box and Esc none.
    void directionWindow_data()
    {
        AddClosingRows({Closing::Ok, Closing::Storno, Closing::CloseBox, Closing::Esc});
    }
    void directionWindow()
    {
        QFETCH(Engine, engine);
        QFETCH(Closing, closing);
        LoggedInDesk desk(engine);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        const int drama = InsertDirection(QStringLiteral("Drama"));
        InsertDirection(QStringLiteral("Western"));
        AddVideo(drama, MediumId(QStringLiteral("DVD")));
        const QStringList before = TableState(QStringLiteral("tab_zamereni"));
        QString openedOn, afterRename, afterRemoval;
        int renamedRow = -1;
        ModalAnswers answers(
            {CodeBookWindow<TFormDirection>(
                 [&](TFormDirection *form) {
                     BrowseQuery *q = form->ADOQueryDirection;
                     openedOn = CurrentName(q, "ZAMERENI");
                     form->ButtonAdd->click();
                     QVERIFY(q->locate(QStringLiteral("ZAMERENI"), QStringLiteral("Drama")));
                     form->ButtonDelete->click(); // a video is a drama
                     QVERIFY(q->locate(QStringLiteral("ZAMERENI"), QStringLiteral("Western")));
                     form->ButtonEdit->click();
                     afterRename = CurrentName(q, "ZAMERENI");
                     renamedRow = q->currentRow();
                     form->ButtonDefault->click();
                     QVERIFY(q->locate(QStringLiteral("ZAMERENI"), QStringLiteral("-")));
                     form->ButtonDelete->click(); // the first row
                     afterRemoval = CurrentName(q, "ZAMERENI");
                     form->RxDBGrid->setFocus();
                 },
                 closing),
             DirectionDialog(QStringLiteral("Komedie")), DirectionDialog(QStringLiteral("Akční"))});
        desk.action("ActionDirection")->trigger();
        QVERIFY(!InTransactionFrame());
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(openedOn, QStringLiteral("-"));
        QCOMPARE(afterRename, QStringLiteral("Akční"));
        QCOMPARE(renamedRow, 1); // -, Akční, Drama, Komedie
        QCOMPARE(afterRemoval, QStringLiteral("Akční"));
        QCOMPARE(Informations(answers),
                 QStringList({"Žánr nelze odebrat... / Žánr je používán v databázi videa..."}));
        QCOMPARE(TableState(QStringLiteral("tab_zamereni")),
                 closing == Closing::Ok ? QStringList({"Akční|1", "Drama|0", "Komedie|0"}) : before);
    }

    // With no row left the row buttons are disabled and no default is shown.
    void emptyCodeBook_data() { AddEngineRows(); }
    void emptyCodeBook()
    {
        QFETCH(Engine, engine);
        LoggedInDesk desk(engine);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        Exec(QStringLiteral("DELETE FROM tab_nosic WHERE NOSIC<>'-'"));
        bool buttonsBefore = false, buttonsAfter = true;
        QString defaultAfter = QStringLiteral("?");
        ModalAnswers answers({CodeBookWindow<TFormMedium>(
            [&](TFormMedium *form) {
                buttonsBefore = form->ButtonEdit->isEnabled() && form->ButtonDelete->isEnabled()
                    && form->ButtonDefault->isEnabled();
                form->ButtonDelete->click();
                buttonsAfter = form->ButtonEdit->isEnabled() || form->ButtonDelete->isEnabled()
                    || form->ButtonDefault->isEnabled();
                defaultAfter = form->EditDefault->text();
            },
            Closing::Ok)});
        desk.action("ActionMedium")->trigger();
        QVERIFY(buttonsBefore);
        QVERIFY(!buttonsAfter);
        QCOMPARE(defaultAfter, QString());
        QCOMPARE(ValueOf(QStringLiteral("SELECT COUNT(*) FROM tab_nosic")), 0);
        QCOMPARE(GetDefaultMediumId(), 0);
    }

private:
    QTemporaryDir m_work;
};

QTEST_MAIN(TestCodeBooks)
#include "tst_codebooks.moc"
