// Users and rights: adding users, new passwords, removals and their refusals, rights
// switched by a click on their check box, and the window's one transaction (Ok commits,
// Storno undoes) with the rights of the logged-in user applied at once.
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/Database.h"
#include "core/Grids.h"
#include "core/RunGlobals.h"
#include "core/UUser.h"
#include "core/UUserEdit.h"
#include "core/UUserNew.h"
#include "core/UValmedo.h"
#include "core/TransactionFrame.h"
#include "core/controls/RxDBGridEx.h"
#include "support/LoggedInDesk.h"
#include "support/ModalAnswers.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

const std::pair<const char *, Engine> Engines[] = {{"sqlite", Engine::SQLite},
                                                   {"postgres", Engine::PostgreSQL}};

int AddUserRow(const QString &name, const QString &password, int admin = 0, int setup = 0)
{
    SetCommand(QStringLiteral("INSERT INTO tab_uzivatel (UZIVATEL,HESLO,NASTAVENI,ADMIN) "
                              "VALUES (:UZIVATEL,:HESLO,:NASTAVENI,:ADMIN) RETURNING ID_UZIVATEL"));
    SetCommandParam(QStringLiteral("UZIVATEL"), name);
    SetCommandParam(QStringLiteral("HESLO"), password);
    SetCommandParam(QStringLiteral("NASTAVENI"), setup);
    SetCommandParam(QStringLiteral("ADMIN"), admin);
    return ExecCommandValue().toInt();
}

// A document written by the user, so that the user cannot be removed.
void AddDocument(int userId)
{
    SetCommand(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL) "
                              "VALUES (1,1,1,:UZIVATEL)"));
    SetCommandParam(QStringLiteral("UZIVATEL"), userId);
    ExecCommand();
}

// The stored value of one right, as the database holds it (-1 for no such user).
int RightValue(const QString &user, const QString &right)
{
    SetCommand(QStringLiteral("SELECT COALESCE(MAX(%1),-1) FROM tab_uzivatel WHERE UZIVATEL=:UZIVATEL")
                   .arg(right));
    SetCommandParam(QStringLiteral("UZIVATEL"), user);
    return ExecCommandValue().toInt();
}

bool MoveTo(TFormUser *form, const QString &user)
{
    return form->ADOQueryUser->locate(QStringLiteral("UZIVATEL"), user);
}

// A point in the cell of that user's right: inside its check box or just beside it.
QPoint RightPoint(TFormUser *form, const QString &user, const QString &right, bool inBox = true)
{
    BrowseQuery *q = form->ADOQueryUser;
    const int field = q->fieldIndex(right);
    for (int row = 0; row < q->recordCount(); ++row) {
        if (q->valueAt(row, q->fieldIndex(QStringLiteral("UZIVATEL"))).toString() == user) {
            const QRect cell = form->RxDBGridEx->visualRect(q->index(row, field));
            return inBox ? CheckBoxSquare(cell).center() : QPoint(cell.left() + 2, cell.center().y());
        }
    }
    QTest::qFail("no such user in the list", __FILE__, __LINE__);
    return {};
}

void ClickRight(TFormUser *form, const QString &user, const QString &right, bool inBox = true)
{
    QTest::mouseClick(form->RxDBGridEx->viewport(), Qt::LeftButton, Qt::NoModifier,
                      RightPoint(form, user, right, inBox));
}

// Answers the users window: runs `work` on it, then closes it with Ok or Storno.
Answer UsersWindow(std::function<void(TFormUser *)> work, bool ok)
{
    return [work = std::move(work), ok](QDialog *dialog) {
        auto *form = qobject_cast<TFormUser *>(dialog);
        if (!form) {
            QTest::qFail("the users window did not open", __FILE__, __LINE__);
            return int(QDialog::Rejected);
        }
        work(form);
        (ok ? form->ButtonOk : form->ButtonClose)->click();
        return form->result();
    };
}

// Fills a user dialog's fields (those named) and presses Ok.
// Focuses the named button of the dialog and presses Return on it; the dialog must close.
Answer EnterOn(const QString &objectName)
{
    return [objectName](QDialog *dialog) {
        auto *button = dialog->findChild<QPushButton *>(objectName);
        if (!button) {
            QTest::qFail(qPrintable(QStringLiteral("No button ") + objectName), __FILE__, __LINE__);
            return int(QDialog::Rejected);
        }
        button->setFocus();
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
        if (dialog->isVisible())
            QTest::qFail(qPrintable(QStringLiteral("Enter on %1 left the dialog open").arg(objectName)),
                         __FILE__, __LINE__);
        return dialog->result();
    };
}

Answer FillUserDialog(const QString &original, const QString &password, const QString &confirm,
                      const QString &user = QString(), Answer then = ClickButton(QStringLiteral("ButtonOk")))
{
    return Fill(
        [=](QDialog *dialog) {
            auto *form = qobject_cast<TFormUserPassword *>(dialog);
            if (!form) {
                QTest::qFail("not a user dialog", __FILE__, __LINE__);
                return;
            }
            if (!user.isNull())
                form->EditUser->setText(user);
            if (form->EditPassOriginal)
                form->EditPassOriginal->setText(original);
            form->EditPass->setText(password);
            form->EditPassConfirm->setText(confirm);
        },
        std::move(then));
}

// The texts of the self-closing information windows shown.
QStringList Informations(const ModalAnswers &answers)
{
    QStringList texts;
    for (const ShownWindow &w : answers.shown()) {
        if (w.className == QLatin1String("TFormInformation"))
            texts << w.text + QLatin1String(" / ") + w.detail;
    }
    return texts;
}

} // namespace

class TestUsers : public QObject {
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

    // Ok of the new-user dialog: name and password given, the confirmation exactly equal,
    // no blank at the end of the password, and no user of that name (case counts).
    void newUserOk_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<bool>("enabled");
        for (const auto &[tag, engine] : Engines) {
            auto row = [&](const char *name) -> QTestData & {
                return QTest::newRow(qPrintable(QStringLiteral("%1-%2").arg(tag, name))) << engine;
            };
            row("valid") << "karel" << "Tajne1" << "Tajne1" << true;
            row("no name") << "" << "Tajne1" << "Tajne1" << false;
            row("no password") << "karel" << "" << "" << false;
            row("case differs") << "karel" << "Tajne1" << "tajne1" << false;
            row("trailing blank") << "karel" << "Tajne1 " << "Tajne1 " << false;
            row("existing name") << "petr" << "Tajne1" << "Tajne1" << false;
            row("name in other case") << "Petr" << "Tajne1" << "Tajne1" << true;
        }
    }
    void newUserOk()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, confirm);
        QFETCH(bool, enabled);
        OPEN_TEST_DATABASE(db);
        AddUserRow(QStringLiteral("petr"), QStringLiteral("heslo"));
        TFormUserNew form;
        QVERIFY(!form.ButtonOk->isEnabled());
        form.EditUser->setText(user);
        form.EditPass->setText(password);
        form.EditPassConfirm->setText(confirm);
        QCOMPARE(form.ButtonOk->isEnabled(), enabled);
        QCOMPARE(form.EditPass->echoMode(), QLineEdit::Password);
        QCOMPARE(form.EditUser->maxLength(), 16);
    }

    // Ok of the edit dialog asks for the password the logged-in user typed at login,
    // not the edited user's own.
    void editUserOk_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("login password") << "Login9" << "nove" << "nove" << true;
        QTest::newRow("edited user's password") << "heslo" << "nove" << "nove" << false;
        QTest::newRow("login password in other case") << "login9" << "nove" << "nove" << false;
        QTest::newRow("confirmation differs") << "Login9" << "nove" << "Nove" << false;
        QTest::newRow("trailing blank") << "Login9" << "nove " << "nove " << false;
        QTest::newRow("no new password") << "Login9" << "" << "" << false;
    }
    void editUserOk()
    {
        QFETCH(QString, original);
        QFETCH(QString, password);
        QFETCH(QString, confirm);
        QFETCH(bool, enabled);
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        SetUserPassword(QStringLiteral("Login9"));
        const int id = AddUserRow(QStringLiteral("petr"), QStringLiteral("heslo"));
        TFormUserEdit form(id, QStringLiteral("petr"));
        QVERIFY(form.EditUser->isReadOnly());
        QCOMPARE(form.EditUser->text(), QStringLiteral("petr"));
        form.EditPassOriginal->setText(original);
        form.EditPass->setText(password);
        form.EditPassConfirm->setText(confirm);
        QCOMPARE(form.ButtonOk->isEnabled(), enabled);
        form.show(); // every showing starts with Ok disabled
        QVERIFY(!form.ButtonOk->isEnabled());
    }

    // Enter on a focused button presses that one, not the window's default "Přidat" nor
    // the dialogs' default Ok: Storno of the new and edit dialogs stores nothing, and
    // "Zavřít" closes the window.
    void enterOnFocusedButton()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        AddUserRow(QStringLiteral("karel"), QStringLiteral("Login9"), 1);
        AddUserRow(QStringLiteral("petr"), QStringLiteral("heslo"));
        LoggedInDesk desk(db, QStringLiteral("karel"), QStringLiteral("Login9"));
        const QStringList before = TableRows(QStringLiteral("tab_uzivatel"));
        int windowResult = -1;
        ModalAnswers answers(
            {[&](QDialog *dialog) {
                 auto *form = qobject_cast<TFormUser *>(dialog);
                 if (!form) {
                     QTest::qFail("the users window did not open", __FILE__, __LINE__);
                     return int(QDialog::Rejected);
                 }
                 form->ButtonAdd->setFocus();
                 QTest::keyClick(form->focusWidget(), Qt::Key_Return);
                 if (!MoveTo(form, QStringLiteral("petr")))
                     QTest::qFail("petr not listed", __FILE__, __LINE__);
                 form->ButtonEdit->setFocus();
                 QTest::keyClick(form->focusWidget(), Qt::Key_Return);
                 windowResult = EnterOn(QStringLiteral("ButtonClose"))(form);
                 return windowResult;
             },
             FillUserDialog(QString(), QStringLiteral("Nova1"), QStringLiteral("Nova1"), QStringLiteral("jana"),
                            EnterOn(QStringLiteral("ButtonCancel"))),
             FillUserDialog(QStringLiteral("Login9"), QStringLiteral("Zmena2"), QStringLiteral("Zmena2"),
                            QString(), EnterOn(QStringLiteral("ButtonCancel")))});
        desk.action("ActionUser")->trigger();
        QCOMPARE(windowResult, int(QDialog::Rejected));
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(TableRows(QStringLiteral("tab_uzivatel")), before);
    }

    // Add and edit through the window: the list opens on the logged-in user; a new user
    // gets the schema's default rights and becomes current; a new password is stored;
    // "sa" cannot be edited.
    void addAndEdit_data() { AddEngineRows(); }
    void addAndEdit()
    {
        OPEN_TEST_DATABASE(db);
        AddUserRow(QStringLiteral("karel"), QStringLiteral("Login9"), 1);
        AddUserRow(QStringLiteral("petr"), QStringLiteral("heslo"));
        LoggedInDesk desk(db, QStringLiteral("karel"), QStringLiteral("Login9"));
        QString openedOn, afterAdd;
        ModalAnswers answers(
            {UsersWindow(
                 [&](TFormUser *form) {
                     openedOn = form->ADOQueryUser->value(QStringLiteral("UZIVATEL")).toString();
                     form->ButtonAdd->click();
                     afterAdd = form->ADOQueryUser->value(QStringLiteral("UZIVATEL")).toString();
                     QVERIFY(MoveTo(form, QStringLiteral("petr")));
                     form->ButtonEdit->click();
                     QVERIFY(MoveTo(form, QStringLiteral("sa")));
                     form->ButtonEdit->click(); // refused: no dialog opens
                 },
                 true),
             FillUserDialog(QString(), QStringLiteral("Nova1"), QStringLiteral("Nova1"),
                            QStringLiteral("jana")),
             FillUserDialog(QStringLiteral("Login9"), QStringLiteral("Zmena2"), QStringLiteral("Zmena2"))});
        desk.action("ActionUser")->trigger();
        QCOMPARE(openedOn, QStringLiteral("karel"));
        QCOMPARE(afterAdd, QStringLiteral("jana"));
        QVERIFY(CheckUserPassword(QStringLiteral("jana"), QStringLiteral("Nova1")));
        for (const QString &right : UserRightColumns()) {
            const bool byDefault = right == QLatin1String("ZAKAZNIK_EDITACE")
                || right == QLatin1String("VIDEO_EDITACE");
            QCOMPARE(GetUserRight(QStringLiteral("jana"), right), byDefault);
        }
        QVERIFY(CheckUserPassword(QStringLiteral("petr"), QStringLiteral("Zmena2")));
        QCOMPARE(Informations(answers),
                 QStringList({"Tohoto uživatele nelze editovat... / Uživatele [sa] nelze editovat..."}));
    }

    // Removal: "sa" and the logged-in user (also logged in with a trailing blank, which
    // the login ignores) are refused, a user who wrote documents stays with the removal's
    // message, another one goes and the list stands on the row before. The window opens
    // on the logged-in user's row.
    void remove_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("currentAfter");
        const QString refused = QStringLiteral("Tohoto uživatele nelze odebrat... / Uživatele [sa] a "
                                               "právě přihlášeného uživatele nelze odebrat...");
        for (const auto &[tag, engine] : Engines) {
            auto row = [&](const char *name) -> QTestData & {
                return QTest::newRow(qPrintable(QStringLiteral("%1-%2").arg(tag, name))) << engine;
            };
            row("sa") << "karel" << "sa" << refused << "sa";
            row("logged in") << "karel" << "karel" << refused << "karel";
            row("logged in with a blank") << "karel " << "karel" << refused << "karel";
            row("wrote documents")
                << "karel" << "jana"
                << "Uživatele nelze odebrat... / Uživatel je používán v databázi půjčky..." << "jana";
            row("removed") << "karel" << "petr" << "" << "karel";
        }
    }
    void remove()
    {
        QFETCH(QString, login);
        QFETCH(QString, user);
        QFETCH(QString, message);
        QFETCH(QString, currentAfter);
        OPEN_TEST_DATABASE(db);
        AddUserRow(QStringLiteral("karel"), QStringLiteral("Login9"), 1);
        AddUserRow(QStringLiteral("petr"), QStringLiteral("heslo"));
        AddDocument(AddUserRow(QStringLiteral("jana"), QStringLiteral("heslo")));
        // Czech order: jana, karel, petr, sa
        LoggedInDesk desk(db, login, QStringLiteral("Login9"));
        QString opened, current;
        ModalAnswers answers({UsersWindow(
            [&](TFormUser *form) {
                opened = form->ADOQueryUser->value(QStringLiteral("UZIVATEL")).toString();
                QVERIFY(MoveTo(form, user));
                form->ButtonDelete->click();
                current = form->ADOQueryUser->value(QStringLiteral("UZIVATEL")).toString();
            },
            true)});
        desk.action("ActionUser")->trigger();
        QCOMPARE(opened, QStringLiteral("karel"));
        QCOMPARE(Informations(answers), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(current, currentAfter);
        SetCommand(QStringLiteral("SELECT COUNT(*) FROM tab_uzivatel WHERE UZIVATEL=:UZIVATEL"));
        SetCommandParam(QStringLiteral("UZIVATEL"), user);
        QCOMPARE(ExecCommandValue().toInt(), message.isEmpty() ? 0 : 1);
    }

    // A click inside a right's check box switches it (1 and 0, never -2; a null right
    // becomes granted), the clicked user stays current; a click beside the box or on the
    // column's title changes nothing.
    void toggleRight_data() { AddEngineRows(); }
    void toggleRight()
    {
        OPEN_TEST_DATABASE(db);
        AddUserRow(QStringLiteral("karel"), QStringLiteral("Login9"), 1);
        AddUserRow(QStringLiteral("petr"), QStringLiteral("heslo"));
        const QString right = QStringLiteral("NASTAVENI");
        SetCommand(QStringLiteral("UPDATE tab_uzivatel SET SPECIAL=NULL WHERE UZIVATEL='petr'"));
        ExecCommand();
        LoggedInDesk desk(db, QStringLiteral("karel"), QStringLiteral("Login9"));
        QList<int> seen;
        QString current;
        ModalAnswers answers({UsersWindow(
            [&](TFormUser *form) {
                QCOMPARE(form->RxDBGridEx->TitleHeight(), 32);
                // The user's title on the left, the nine rights' titles centred, 49 wide or
                // wider where a word of the title ("Nastavení") would not fit beside the
                // title's margins.
                const int userColumn = form->ADOQueryUser->fieldIndex(QStringLiteral("UZIVATEL"));
                QCOMPARE(form->RxDBGridEx->ColumnTitleAlignment(userColumn), Qt::AlignLeft);
                const QFontMetrics metrics(form->RxDBGridEx->horizontalHeader()->font());
                for (const QString &f : UserRightColumns()) {
                    const int c = form->ADOQueryUser->fieldIndex(f);
                    QCOMPARE(form->RxDBGridEx->ColumnTitleAlignment(c), Qt::AlignHCenter);
                    const int width = form->RxDBGridEx->columnWidth(c);
                    QVERIFY(width >= 49);
                    for (const QString &word : form->RxDBGridEx->ColumnTitle(c).split(u' '))
                        QVERIFY2(metrics.horizontalAdvance(word) + 6 <= width, qPrintable(word));
                }
                ClickRight(form, QStringLiteral("petr"), right);
                seen << RightValue(QStringLiteral("petr"), right);
                current = form->ADOQueryUser->value(QStringLiteral("UZIVATEL")).toString();
                QVERIFY(form->ADOQueryUser->value(right).toBool());
                ClickRight(form, QStringLiteral("karel"), right, false);
                seen << RightValue(QStringLiteral("karel"), right);
                QHeaderView *title = form->RxDBGridEx->horizontalHeader();
                const int column = form->ADOQueryUser->fieldIndex(right);
                QTest::mouseClick(title->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  QPoint(title->sectionViewportPosition(column)
                                             + title->sectionSize(column) / 2,
                                         title->height() / 2));
                seen << RightValue(QStringLiteral("karel"), right);
                ClickRight(form, QStringLiteral("petr"), QStringLiteral("ZAKAZNIK_EDITACE"));
                seen << RightValue(QStringLiteral("petr"), QStringLiteral("ZAKAZNIK_EDITACE"));
                ClickRight(form, QStringLiteral("petr"), QStringLiteral("SPECIAL")); // null: granted
                seen << RightValue(QStringLiteral("petr"), QStringLiteral("SPECIAL"));
            },
            true)});
        desk.action("ActionUser")->trigger();
        QCOMPARE(seen, QList<int>({1, 0, 0, 0, 1}));
        QCOMPARE(current, QStringLiteral("petr"));
        QVERIFY(GetUserRight(QStringLiteral("petr"), right));
        QVERIFY(!GetUserRight(QStringLiteral("petr"), QStringLiteral("ZAKAZNIK_EDITACE")));
        QVERIFY(!GetUserRight(QStringLiteral("karel"), right));
    }

    // The last user holding ADMIN keeps it: neither switching it off nor removing him
    // passes, while another holder exists both do.
    void lastAdmin_data() { AddEngineRows(); }
    void lastAdmin()
    {
        OPEN_TEST_DATABASE(db);
        AddUserRow(QStringLiteral("karel"), QStringLiteral("Login9"), 1);
        AddUserRow(QStringLiteral("petr"), QStringLiteral("heslo"), 1);
        const QString admin = QStringLiteral("ADMIN");
        LoggedInDesk desk(db, QStringLiteral("karel"), QStringLiteral("Login9"));
        ModalAnswers answers({UsersWindow(
            [&](TFormUser *form) {
                ClickRight(form, QStringLiteral("sa"), admin);   // petr and karel remain
                ClickRight(form, QStringLiteral("karel"), admin); // petr remains
                QVERIFY(MoveTo(form, QStringLiteral("petr")));
                form->ButtonDelete->click();                     // the last one: refused
                ClickRight(form, QStringLiteral("petr"), admin); // refused
            },
            true)});
        desk.action("ActionUser")->trigger();
        QCOMPARE(RightValue(QStringLiteral("sa"), admin), 0);
        QCOMPARE(RightValue(QStringLiteral("karel"), admin), 0);
        QCOMPARE(RightValue(QStringLiteral("petr"), admin), 1);
        const QStringList shown = Informations(answers);
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown.at(0).startsWith(QStringLiteral("Tohoto uživatele nelze odebrat... / ")));
        QVERIFY(shown.at(1).startsWith(QStringLiteral("Toto právo nelze odebrat... / ")));
        // karel lost ADMIN: the users window is closed to him at once
        QVERIFY(!desk.action("ActionUser")->isEnabled());
    }

    // Storno undoes everything done in the window; with Ok a refused removal in the middle
    // does not void the other changes (PostgreSQL would abort the whole transaction).
    void transaction_data() { AddEngineFlagRows("ok", "storno", "ok"); } // closed with Storno, with Ok
    void transaction()
    {
        QFETCH(bool, ok);
        OPEN_TEST_DATABASE(db);
        AddUserRow(QStringLiteral("karel"), QStringLiteral("Login9"), 1);
        AddUserRow(QStringLiteral("petr"), QStringLiteral("heslo"));
        AddUserRow(QStringLiteral("eva"), QStringLiteral("heslo"));
        AddDocument(AddUserRow(QStringLiteral("jana"), QStringLiteral("heslo")));
        const QStringList before = TableRows(QStringLiteral("tab_uzivatel"));
        LoggedInDesk desk(db, QStringLiteral("karel"), QStringLiteral("Login9"));
        ModalAnswers answers({UsersWindow(
                                  [&](TFormUser *form) {
                                      QVERIFY(MoveTo(form, QStringLiteral("jana")));
                                      form->ButtonDelete->click(); // refused by the documents
                                      QVERIFY(MoveTo(form, QStringLiteral("eva")));
                                      form->ButtonDelete->click();
                                      QVERIFY(MoveTo(form, QStringLiteral("petr")));
                                      form->ButtonEdit->click();
                                      ClickRight(form, QStringLiteral("petr"), QStringLiteral("SPECIAL"));
                                      form->ButtonAdd->click();
                                  },
                                  ok),
                              FillUserDialog(QStringLiteral("Login9"), QStringLiteral("Zmena2"),
                                             QStringLiteral("Zmena2")),
                              FillUserDialog(QString(), QStringLiteral("Nova1"), QStringLiteral("Nova1"),
                                             QStringLiteral("ota"))});
        desk.action("ActionUser")->trigger();
        QVERIFY(!InTransactionFrame());
        QCOMPARE(Informations(answers).size(), 1);
        if (!ok) {
            QCOMPARE(TableRows(QStringLiteral("tab_uzivatel")), before);
            return;
        }
        QCOMPARE(RightValue(QStringLiteral("jana"), QStringLiteral("ADMIN")), 0); // still there
        QCOMPARE(RightValue(QStringLiteral("eva"), QStringLiteral("ADMIN")), -1); // removed
        QVERIFY(CheckUserPassword(QStringLiteral("petr"), QStringLiteral("Zmena2")));
        QVERIFY(GetUserRight(QStringLiteral("petr"), QStringLiteral("SPECIAL")));
        QVERIFY(CheckUserPassword(QStringLiteral("ota"), QStringLiteral("Nova1")));
    }

    // The logged-in user's own rights take effect as soon as the window closes with Ok.
    void ownRightsApplied_data() { AddEngineFlagRows("ok", "storno", "ok"); } // closed with Storno, with Ok
    void ownRightsApplied()
    {
        QFETCH(bool, ok);
        OPEN_TEST_DATABASE(db);
        AddUserRow(QStringLiteral("karel"), QStringLiteral("Login9"), 1, 1);
        LoggedInDesk desk(db, QStringLiteral("karel"), QStringLiteral("Login9"));
        QVERIFY(desk.action("ActionSetupVideo")->isEnabled());
        ModalAnswers answers({UsersWindow(
            [](TFormUser *form) { ClickRight(form, QStringLiteral("karel"), QStringLiteral("NASTAVENI")); },
            ok)});
        desk.action("ActionUser")->trigger();
        QCOMPARE(desk.action("ActionSetupVideo")->isEnabled(), !ok);
        QCOMPARE(desk.action("ActionMedium")->isEnabled(), !ok);
        QVERIFY(desk.action("ActionUser")->isEnabled());
        QCOMPARE(GetUserRight(QStringLiteral("karel"), QStringLiteral("NASTAVENI")), !ok);
    }

private:
    QTemporaryDir m_work;
};

QTEST_MAIN(TestUsers)
#include "tst_users.moc"
