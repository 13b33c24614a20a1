// The start-up and login sequence, driven in-process through the function main() calls.
#include "app/Wiring.h"
#include "core/database/Commands.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/Database.h"
#include "core/RunGlobals.h"
#include "core/database/SqlServer.h"
#include "core/SystemPassword.h"
#include "core/UBackup.h"
#include "core/UStartup.h"
#include "core/UValmedo.h"
#include "core/platform/SingleInstance.h"
#include "support/DeskAnswers.h"
#include "support/FormStateFile.h"
#include "support/ModalAnswers.h"
#include "support/OtherDesk.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QScreen>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QString readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString startupMemo()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("FormInitialization"))
            return w->findChild<QPlainTextEdit *>(QStringLiteral("Memo"))->toPlainText();
    return QString();
}

// The single-instance name of this test run: another run of this test on the same machine
// (another build folder) must not answer as the running copy.
QString instanceName()
{
    return QStringLiteral("tst_startup-%1").arg(QCoreApplication::applicationPid());
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private:
    // Runs start-up with `arguments`; `whileRunning` sees the running main window,
    // which is then closed with "&Ano". Returns whether the main loop ran.
    bool run(const QStringList &arguments, const std::function<void()> &whileRunning = {})
    {
        bool ran = false;
        StartupOptions options;
        options.arguments = QStringList{QStringLiteral("valmedo4")} + arguments;
        options.instanceName = instanceName();
        options.running = [&] {
            ran = true;
            if (whileRunning)
                whileRunning();
            FormValmedo->close();
        };
        RunValmedo(*qApp, BuildFormValmedo, options);
        return ran;
    }
    void writePasswordFile(const TestDatabase &db)
    {
        WritePasswordFile(QString::fromLatin1(PasswordFileName), db.password());
    }
    void addUser(const QString &name, const QString &password)
    {
        SetCommand(QStringLiteral("INSERT INTO tab_uzivatel (UZIVATEL, HESLO) VALUES (:U, :H)"));
        SetCommandParam(QStringLiteral("U"), name);
        SetCommandParam(QStringLiteral("H"), password);
        ExecCommand();
    }

    QTemporaryDir m_work;

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        QDir::setCurrent(m_work.path());
    }
    void init()
    {
        for (const char *f : {"Valmedo4.log", "Valmedo4.ini", "Valmedo4.pwd"})
            QFile::remove(QString::fromLatin1(f));
    }

    // The whole start-up of a first run: the password dialog, its confirmation, the
    // login, the main window, its closing; what it leaves in the log and the ini file.
    void wholeStartup_data() { AddEngineRows(); }
    void wholeStartup()
    {
        OPEN_TEST_DATABASE(db);
        QString caption;
        ModalAnswers answers({
            Fill([&](QDialog *d) { d->findChild<QLineEdit *>(QStringLiteral("EditSystemPass"))
                                       ->setText(db.password()); },
                 ClickButton(QStringLiteral("ButtonOk"))),
            ClickButton(QStringLiteral("ButtonOk")), // "Heslo bylo uloženo..."
            Login(QStringLiteral("sa"), db.password(), db.serverName()),
            ClickButton(QStringLiteral("ButtonYes")), // "Ukončit program ?"
        });
        QVERIFY(run({}, [&] {
            FormValmedo->setPageIndex(TFormValmedo::PageLend);
            caption = FormValmedo->windowTitle();
        }));
        QCOMPARE(caption, QStringLiteral("Valmedo 4.0.1.8 - Půjčení - [sa]"));
        QCOMPARE(ModalWindows(answers).at(0).caption, QStringLiteral(" Systémové heslo"));
        QCOMPARE(ModalWindows(answers).at(1).text, QStringLiteral("Heslo bylo uloženo..."));
        QCOMPARE(ModalWindows(answers).at(2).caption, QStringLiteral(" Přihlášení"));
        QCOMPARE(ReadPasswordFile(QString::fromLatin1(PasswordFileName)), db.password());
        QCOMPARE(LogFileTexts(),
                 QStringList({"Start programu Valmedo 4.0.1.8 [Ok]", "Start nastavení programu [Ok]",
                              QStringLiteral("Připojování k serveru a databázi: [%1] [valmedo4] [Ok]")
                                  .arg(db.serverName()),
                              "Otevírání databáze: [valmedo4] [Ok]", "Přihlášování uživatele: [sa] [Ok]",
                              "Ukončování programu [Ok]"}));
        const QString ini = readFile(QStringLiteral("Valmedo4.ini"));
        QVERIFY(ini.contains(QLatin1String("[Login]")));
        QVERIFY(ini.contains(QLatin1String("EditUser_Text=sa")));
        QVERIFY(ini.contains(QStringLiteral("ComboBoxServer_Text=") + db.serverName()));
        QVERIFY(ini.contains(QLatin1String("Notebook_PageIndex=2")));
        QVERIFY(!FormValmedo);
        // The dialogs for backups, exports and filters start in the working folder.
        QCOMPARE(ProgramDir(), QDir::currentPath() + '/');
    }

    // A new shop: the embedded server folder does not exist yet. The first "sa" login
    // makes it with an empty database, and the log says so.
    void newEmbeddedServer()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString folder = root.filePath(QStringLiteral("server"));
        const QString password = QStringLiteral("heslo");
        ModalAnswers answers({
            Fill([&](QDialog *d) { d->findChild<QLineEdit *>(QStringLiteral("EditSystemPass"))
                                       ->setText(password); },
                 ClickButton(QStringLiteral("ButtonOk"))),
            ClickButton(QStringLiteral("ButtonOk")), // "Heslo bylo uloženo..."
            Login(QStringLiteral("sa"), password, folder),
            ClickButton(QStringLiteral("ButtonYes")), // "Ukončit program ?"
        });
        bool hasUsers = false;
        QVERIFY(run({}, [&] { hasUsers = TableHasRecords(QStringLiteral("tab_uzivatel")); }));
        QVERIFY(hasUsers);
        QVERIFY(QFileInfo(folder).isDir());
        const QStringList log = LogFileTexts();
        const qsizetype connect = log.indexOf(
            QStringLiteral("Připojování k serveru a databázi: [%1] [valmedo4] [Ok]").arg(folder));
        QVERIFY2(connect >= 0, qPrintable(log.join(u'|')));
        QCOMPARE(log.value(connect + 1), QStringLiteral("Databázový server vytvořen [%1]").arg(folder));
    }

    // A wrong password: the warning, "Error", the dialog again with user and server
    // kept and the password cleared; a cancel then ends without the closing line, without
    // the daily backup that is switched on, and stores nothing.
    void wrongPasswordThenCancel_data() { AddEngineRows(); }
    void wrongPasswordThenCancel()
    {
        OPEN_TEST_DATABASE(db);
        writePasswordFile(db);
        QTemporaryDir backups;
        QVERIFY(backups.isValid());
        QVERIFY(WriteFormStateFile(FormStateSection(QStringLiteral("Backup"),
                                                    {{QStringLiteral("CheckBoxBackupDay_Checked"), QStringLiteral("True")},
                                                     {QStringLiteral("EditBackupPathDay_Text"), backups.path()}})));
        QString user, password, server, memo;
        bool backupOn = false;
        ModalAnswers answers({
            Login(QStringLiteral("sa"), QStringLiteral("wrong"), db.serverName()),
            ClickButton(QStringLiteral("ButtonOk")), // the warning
            [&](QDialog *d) {
                user = d->findChild<QLineEdit *>(QStringLiteral("EditUser"))->text();
                password = d->findChild<QLineEdit *>(QStringLiteral("EditPassword"))->text();
                server = d->findChild<QComboBox *>(QStringLiteral("ComboBoxServer"))->currentText();
                memo = startupMemo();
                backupOn = FormBackup->CheckBoxBackupDay->isChecked()
                    && FormBackup->EditBackupPathDay->text() == backups.path();
                return int(QDialog::Rejected);
            },
        });
        QVERIFY(!run({}));
        QCOMPARE(ModalWindows(answers).at(1).text, QStringLiteral("Chyba přihlašování k SQL serveru..."));
        // The two lines of the detail, as the label shows them.
        QCOMPARE(ModalWindows(answers).at(1).detail,
                 QStringLiteral("SQL server nebo databáze nejsou dostupní, uživatel neexistuje,\n"
                                "zadaný uživatel nemá příslušné oprávnění, špatně zadané heslo..."));
        QCOMPARE(user, QStringLiteral("sa"));
        QCOMPARE(server, db.serverName());
        QVERIFY(password.isEmpty());
        QVERIFY(memo.endsWith(QLatin1String("\nError")));
        const QStringList log = LogFileTexts();
        QCOMPARE(log.constLast(), QStringLiteral("Připojování k serveru a databázi: [%1] [valmedo4] [Error]")
                                      .arg(db.serverName()));
        QVERIFY(!readFile(QStringLiteral("Valmedo4.log")).contains(QStringLiteral("Ukončování")));
        QVERIFY(!readFile(QStringLiteral("Valmedo4.ini")).contains(QLatin1String("[Login]")));
        QVERIFY(backupOn);
        QCOMPARE(QDir(backups.path()).entryList(QDir::Files), QStringList());
        QVERIFY(!readFile(QStringLiteral("Valmedo4.log")).contains(QStringLiteral("Zálohování")));
    }

    // Users other than "sa" connect with the system password and are checked against
    // the user table; a refusal shows no window. "SA" is not "sa".
    void otherUsers_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("loggedIn");
        const QList<std::pair<const char *, Engine>> engines = {{"sqlite", Engine::SQLite},
                                                                {"postgres", Engine::PostgreSQL}};
        for (const auto &[name, engine] : engines) {
            QTest::addRow("%s-right", name) << engine << "pokladna" << "heslo" << true;
            QTest::addRow("%s-wrong", name) << engine << "pokladna" << "jine" << false;
            QTest::addRow("%s-SA", name) << engine << "SA" << "x" << false;
        }
    }
    void otherUsers()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, loggedIn);
        OPEN_TEST_DATABASE(db);
        addUser(QStringLiteral("pokladna"), QStringLiteral("heslo"));
        writePasswordFile(db);
        ModalAnswers answers({Login(user, password, db.serverName())});
        answers.add(loggedIn ? ClickButton(QStringLiteral("ButtonYes")) : Reject());
        QCOMPARE(run({}), loggedIn);
        QCOMPARE(ModalWindows(answers).size(), 2); // no message window between
        QCOMPARE(LogFileTexts().constLast(),
                 loggedIn ? QStringLiteral("Ukončování programu [Ok]")
                          : QStringLiteral("Přihlášování uživatele: [%1] [Error]").arg(user));
    }

    // "/PASSWORD" with a password file asks again: Storno keeps the old file, Ok writes
    // the new password, and a user other than "sa" connects with it at once.
    void passwordSwitchWithFile_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("storno") << false;
        QTest::newRow("ok") << true;
    }
    void passwordSwitchWithFile()
    {
        QFETCH(bool, confirm);
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        addUser(QStringLiteral("pokladna"), QStringLiteral("heslo"));
        WritePasswordFile(QString::fromLatin1(PasswordFileName), QStringLiteral("stare"));
        const QByteArray old = ReadBytes(QString::fromLatin1(PasswordFileName));
        ModalAnswers answers;
        if (confirm) {
            answers.add(Fill([&](QDialog *d) { d->findChild<QLineEdit *>(QStringLiteral("EditSystemPass"))
                                                   ->setText(db.password()); },
                             ClickButton(QStringLiteral("ButtonOk"))));
            answers.add(ClickButton(QStringLiteral("ButtonOk"))); // "Heslo bylo uloženo..."
            answers.add(Login(QStringLiteral("pokladna"), QStringLiteral("heslo"), db.serverName()));
            answers.add(ClickButton(QStringLiteral("ButtonYes"))); // "Ukončit program ?"
        } else {
            answers.add(ClickButton(QStringLiteral("ButtonCancel")));
            answers.add(Login(QStringLiteral("pokladna"), QStringLiteral("heslo"), db.serverName()));
            answers.add(ClickButton(QStringLiteral("ButtonOk"))); // the old password is refused
            answers.add(Reject());
        }
        QCOMPARE(run({QStringLiteral("/PASSWORD")}), confirm);
        QCOMPARE(ModalWindows(answers).at(0).caption, QStringLiteral(" Systémové heslo"));
        if (confirm) {
            QCOMPARE(ReadPasswordFile(QString::fromLatin1(PasswordFileName)), db.password());
            QCOMPARE(LogFileTexts().constLast(), QStringLiteral("Ukončování programu [Ok]"));
        } else {
            QCOMPARE(ReadBytes(QString::fromLatin1(PasswordFileName)), old);
            QCOMPARE(ModalWindows(answers).at(2).detail, QStringLiteral("SQL server není dostupný..."));
        }
    }

    // "/RESET" answered "&Ne" on a server without the program's database: the database
    // cannot be opened, and the login dialog comes again.
    void resetDeclinedWithoutDatabase_data() { AddEngineRows(); }
    void resetDeclinedWithoutDatabase()
    {
        OPEN_TEST_DATABASE(db);
        writePasswordFile(db);
        QVERIFY(ConnectDatabase(db.serverName(), QString::fromLatin1(SqlServer::MasterDatabase),
                                TestDatabase::user(), db.password()));
        CurrentServer()->dropDatabase();
        SetCurrentServer(nullptr);
        ModalAnswers answers({
            Login(QStringLiteral("sa"), db.password(), db.serverName()),
            ClickButton(QStringLiteral("ButtonNo")), // "Opravdu chcete vytvořit novou databázi ?"
            ClickButton(QStringLiteral("ButtonOk")), // the warning
            Reject(),
        });
        QVERIFY(!run({QStringLiteral("/RESET")}));
        QCOMPARE(ModalWindows(answers).at(1).text, QStringLiteral("Opravdu chcete vytvořit novou databázi ?"));
        QCOMPARE(ModalWindows(answers).at(2).caption, QStringLiteral(" Upozornění"));
        QCOMPARE(ModalWindows(answers).at(2).text, QStringLiteral("Chyba při otevírání databáze..."));
        QCOMPARE(ModalWindows(answers).at(3).caption, QStringLiteral(" Přihlášení"));
        QCOMPARE(LogFileTexts().constLast(), QStringLiteral("Připojování k databázi: [valmedo4] [Error]"));
    }

    // A user table that cannot be read fails the user check with a warning (unlike a
    // refusal), and the login dialog comes again.
    void userCheckDatabaseError_data() { AddEngineRows(); }
    void userCheckDatabaseError()
    {
        OPEN_TEST_DATABASE(db);
        writePasswordFile(db);
        // The user is found, but his password cannot be read (the journal, opened before
        // the check, still reads the user names).
        QSqlQuery rename(CurrentConnection()); // PostgreSQL cannot prepare it
        QVERIFY2(rename.exec(QStringLiteral("INSERT INTO tab_uzivatel (UZIVATEL,HESLO) VALUES ('pokladna','heslo')")),
                 qPrintable(rename.lastError().text()));
        QVERIFY2(rename.exec(QStringLiteral("ALTER TABLE tab_uzivatel RENAME COLUMN HESLO TO HESLO_PRYC")),
                 qPrintable(rename.lastError().text()));
        rename.finish();
        ModalAnswers answers({
            Login(QStringLiteral("pokladna"), QStringLiteral("heslo"), db.serverName()),
            ClickButton(QStringLiteral("ButtonOk")), // the warning
            Reject(),
        });
        QVERIFY(!run({}));
        QCOMPARE(ModalWindows(answers).at(1).text, QStringLiteral("Chyba při přihlašování uživatele..."));
        QCOMPARE(ModalWindows(answers).at(2).caption, QStringLiteral(" Přihlášení"));
        QCOMPARE(LogFileTexts().constLast(), QStringLiteral("Přihlášování uživatele: [pokladna] [Error]"));
    }

    // As the README starts the program: the first server offered is "(local)", and the
    // first "sa" login on it installs the embedded server in the program's data folder.
    void localServer()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        QStandardPaths::setTestModeEnabled(true);
        const auto back = qScopeGuard([&] {
            QStandardPaths::setTestModeEnabled(false);
            qputenv("HOME", oldHome);
            SetCurrentServer(nullptr);
        });
        SqlServer::setProgramDatabaseName(QString::fromLatin1(SqlServer::ProgramDatabase));
        QString first;
        ModalAnswers answers({
            Reject(),                                // " Systémové heslo"
            ClickButton(QStringLiteral("ButtonOk")), // no password file
            Fill([&](QDialog *d) {
                     auto *servers = d->findChild<QComboBox *>(QStringLiteral("ComboBoxServer"));
                     first = servers->itemText(0);
                     servers->setEditText(first);
                     d->findChild<QLineEdit *>(QStringLiteral("EditUser"))->setText(QStringLiteral("sa"));
                     d->findChild<QLineEdit *>(QStringLiteral("EditPassword"))->setText(QStringLiteral("heslo"));
                 },
                 ClickButton(QStringLiteral("ButtonOk"))),
            ClickButton(QStringLiteral("ButtonYes")), // "Ukončit program ?"
        });
        QVERIFY(run({}));
        QCOMPARE(first, QStringLiteral("(local)"));
        const QString folder =
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/server");
        QVERIFY2(folder.startsWith(home.path()), qPrintable(folder));
        QVERIFY(QFileInfo(folder).isDir());
        const QStringList log = LogFileTexts();
        QVERIFY2(log.contains(QStringLiteral("Databázový server vytvořen [%1]").arg(folder)),
                 qPrintable(log.join(u'|')));
    }

    // The start-up window stands in the middle of its screen, and the fonts that the
    // windows and layouts name are mapped to this machine's Liberation Sans.
    void startupWindowAndFonts()
    {
        QRect window, screen;
        ModalAnswers answers({
            Reject(),                                // " Systémové heslo"
            ClickButton(QStringLiteral("ButtonOk")), // no password file
            [&](QDialog *) {
                for (QWidget *w : QApplication::topLevelWidgets())
                    if (w->objectName() == QLatin1String("FormInitialization") && w->isVisible()) {
                        window = w->frameGeometry();
                        screen = w->screen()->availableGeometry();
                    }
                return int(QDialog::Rejected);
            },
        });
        QVERIFY(!run({}));
        QVERIFY(!window.isEmpty());
        QVERIFY2((window.center() - screen.center()).manhattanLength() <= 1,
                 qPrintable(QStringLiteral("%1,%2 in %3x%4").arg(window.x()).arg(window.y())
                                .arg(screen.width()).arg(screen.height())));
        for (const char *family : {"Arial Black", "MS Sans Serif", "Microsoft Sans Serif"})
            QVERIFY2(QFont::substitutes(QString::fromLatin1(family))
                         .contains(QStringLiteral("Liberation Sans"), Qt::CaseInsensitive),
                     family);
    }

    // Closing the main window ends the run at once, also while another window is open.
    void closingEndsRunWithOtherWindowOpen()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        writePasswordFile(db);
        ModalAnswers answers({Login(QStringLiteral("sa"), db.password(), db.serverName()),
                              ClickButton(QStringLiteral("ButtonYes"))});
        QWidget other;
        bool loopWentOn = false;
        QVERIFY(run({}, [&] {
            other.show();
            // Runs only if the loop goes on after the main window closed.
            QTimer::singleShot(0, &other, [&] {
                loopWentOn = true;
                other.close();
            });
        }));
        QVERIFY(!loopWentOn);
        QVERIFY(other.isVisible());
        QCOMPARE(LogFileTexts().constLast(), QStringLiteral("Ukončování programu [Ok]"));
    }

    // Switches are looked for after the program's path only.
    void switches_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("reset");
        QTest::newRow("switch") << QStringList{"valmedo4", "/RESET"} << true;
        QTest::newRow("program path") << QStringList{"/opt/RESET/valmedo4"} << false;
        QTest::newRow("path and other switch")
            << QStringList{"/opt/RESET/valmedo4", "/PASSWORD"} << false;
        QTest::newRow("case") << QStringList{"valmedo4", "/reset"} << false;
        QTest::newRow("inside an argument") << QStringList{"valmedo4", "x/RESETy"} << true;
        QTest::newRow("no arguments") << QStringList{} << false;
    }
    void switches()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, reset);
        QCOMPARE(HasSwitch(arguments, QStringLiteral("/RESET")), reset);
    }

    // Neither Esc nor the close box ends the start-up window; deleting it does.
    void startupWindowStays()
    {
        QPointer<TFormInitialization> init = new TFormInitialization;
        init->show();
        QVERIFY(QTest::qWaitForWindowExposed(init));
        QTest::keyClick(init->Memo, Qt::Key_Escape);
        QVERIFY(init->isVisible());
        QVERIFY(!init->close());
        QVERIFY(init->isVisible());
        delete init;
        QVERIFY(!init);
    }

    // Without a password file: the dialog cancelled, the warning, and "sa" still logs in.
    void missingPasswordFile()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        ModalAnswers answers({
            Reject(),                                // " Systémové heslo"
            ClickButton(QStringLiteral("ButtonOk")), // the warning
            Login(QStringLiteral("sa"), db.password(), db.serverName()),
            ClickButton(QStringLiteral("ButtonYes")),
        });
        QVERIFY(run({}));
        QCOMPARE(ModalWindows(answers).at(1).text, QStringLiteral("Nenalezen soubor [Valmedo4.pwd]..."));
        QVERIFY(!QFile::exists(QStringLiteral("Valmedo4.pwd")));
    }

    // A damaged password file is reported like a missing one and left as it is.
    void damagedPasswordFile()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        QFile f(QStringLiteral("Valmedo4.pwd"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("abc");
        f.close();
        ModalAnswers answers({ClickButton(QStringLiteral("ButtonOk")), Reject()});
        QVERIFY(!run({}));
        QCOMPARE(ModalWindows(answers).at(0).caption, QStringLiteral(" Upozornění"));
        QCOMPARE(ModalWindows(answers).at(1).caption, QStringLiteral(" Přihlášení"));
        QCOMPARE(readFile(QStringLiteral("Valmedo4.pwd")), QStringLiteral("abc"));
    }

    // "/RESET": "&Ano" leaves a new empty database, "&Ne" the old one.
    void reset_data() { AddEngineFlagRows("yes", "no", "yes"); }
    void reset()
    {
        QFETCH(bool, yes);
        OPEN_TEST_DATABASE(db);
        addUser(QStringLiteral("pokladna"), QStringLiteral("heslo"));
        writePasswordFile(db);
        int users = -1;
        ModalAnswers answers({
            Login(QStringLiteral("sa"), db.password(), db.serverName()),
            ClickButton(yes ? QStringLiteral("ButtonYes") : QStringLiteral("ButtonNo")),
            ClickButton(QStringLiteral("ButtonYes")),
        });
        QVERIFY(run({QStringLiteral("/RESET")}, [&] {
            SetCommand(QStringLiteral("SELECT COUNT(*) FROM tab_uzivatel"));
            users = ExecCommandValue().toInt();
        }));
        QCOMPARE(ModalWindows(answers).at(1).text, QStringLiteral("Opravdu chcete vytvořit novou databázi ?"));
        QCOMPARE(users, yes ? 1 : 2);
        const QStringList log = LogFileTexts();
        QCOMPARE(log.at(2), QStringLiteral("Připojování k serveru a databázi: [%1] [master] [Ok]")
                                .arg(db.serverName()));
        QCOMPARE(log.contains(QStringLiteral("Vytváření databáze: [valmedo4] [Ok]")), yes);
    }

    // "/RESTORE" puts back a backup made by the engine; "/REINDEX" and "/TRANSLOG" run
    // and are logged.
    void restoreAndMaintenance_data() { AddEngineRows(); }
    void restoreAndMaintenance()
    {
        OPEN_TEST_DATABASE(db);
        writePasswordFile(db);
        const QString backup = db.scratchDir() + QLatin1String("/Backup.bak");
        db.server()->backup(backup);
        addUser(QStringLiteral("po-zaloze"), QStringLiteral("x"));
        int users = -1;
        ModalAnswers answers({
            Login(QStringLiteral("sa"), db.password(), db.serverName()),
            ChooseFile(backup),
            ClickButton(QStringLiteral("ButtonYes")), // restore ?
            ClickButton(QStringLiteral("ButtonYes")), // close
        });
        QVERIFY(run({QStringLiteral("/RESTORE"), QStringLiteral("/REINDEX"), QStringLiteral("/TRANSLOG")},
                    [&] {
                        SetCommand(QStringLiteral("SELECT COUNT(*) FROM tab_uzivatel"));
                        users = ExecCommandValue().toInt();
                    }));
        QCOMPARE(ModalWindows(answers).at(1).caption, QStringLiteral("Obnova databáze"));
        QCOMPARE(users, 1);
        const QStringList log = LogFileTexts();
        QVERIFY2(log.contains(QStringLiteral("Obnovování databáze ze zálohy: [%1] [Ok]").arg(backup)),
                 qPrintable(log.join('\n')));
        QVERIFY(log.contains(QStringLiteral("Reindexace databáze [Ok]")));
        QVERIFY(log.contains(QStringLiteral("Vymazání transakčního logu [Ok]")));
    }

    // With another desk connected, "/RESTORE" and then "/RESET" are refused, each with
    // its warning and the login dialog again; the other desk's rows stay.
    void restoreAndResetRefusedWhileAnotherDeskIsConnected_data() { AddEngineRows(); }
    void restoreAndResetRefusedWhileAnotherDeskIsConnected()
    {
        OPEN_TEST_DATABASE(db);
        writePasswordFile(db);
        const QString backup = db.scratchDir() + QLatin1String("/Backup.bak");
        db.server()->backup(backup);
        OtherDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        QCOMPARE(desk.ask(QStringLiteral("insert 1")), QStringLiteral("ok"));
        ModalAnswers answers({
            Login(QStringLiteral("sa"), db.password(), db.serverName()),
            ChooseFile(backup),
            ClickButton(QStringLiteral("ButtonYes")), // restore ?
            ClickButton(QStringLiteral("ButtonOk")),  // the warning
            Login(QStringLiteral("sa"), db.password(), db.serverName()),
            Reject(),                                 // no backup file this time
            ClickButton(QStringLiteral("ButtonYes")), // create ?
            ClickButton(QStringLiteral("ButtonOk")),  // the warning
            Reject(),
        });
        QVERIFY(!run({QStringLiteral("/RESTORE"), QStringLiteral("/RESET")}));
        const QList<ShownWindow> windows = ModalWindows(answers);
        QCOMPARE(windows.at(3).caption, QStringLiteral(" Upozornění"));
        QCOMPARE(windows.at(3).text, QStringLiteral("Chyba při obnovování databáze..."));
        QCOMPARE(windows.at(3).detail, QStringLiteral("Databáze nebyla obnovena..."));
        QCOMPARE(windows.at(7).text, QStringLiteral("Chyba při vytváření databáze..."));
        QCOMPARE(windows.at(7).detail, QStringLiteral("Databáze nebyla vytvořena..."));
        QCOMPARE(windows.at(8).caption, QStringLiteral(" Přihlášení"));
        QVERIFY(LogFileTexts().contains(QStringLiteral("Vytváření databáze: [valmedo4] [Error]")));
        QCOMPARE(desk.ask(QStringLiteral("insert 2")), QStringLiteral("ok"));
        QCOMPARE(desk.ask(QStringLiteral("rows")), QStringLiteral("1=Desk 1,2=Desk 2"));
    }

    // With the stored clean-up option on, documents before the cut-off go (N = 0 keeps
    // the run date's), then the lines whose lend and return documents are both gone: a
    // returned line out of every history is deleted, another one keeps only its history
    // and loses its document; a line with a document left is kept as it is. The three
    // counts are logged.
    void cleanUp_data() { AddEngineRows(); }
    void cleanUp()
    {
        OPEN_TEST_DATABASE(db);
        writePasswordFile(db);
        const QDate today = QDate::currentDate();
        int id = 0;
        for (const QDateTime &at : {QDateTime(today.addDays(-1), QTime(23, 59)),
                                    QDateTime(today.addDays(-3), QTime(8, 0)),
                                    QDateTime(today, QTime(0, 0))}) {
            SetCommand(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD, OPERACE, CAS, ZAKAZNIK, UZIVATEL) "
                                      "VALUES (:D, 1, :CAS, 1, 1)"));
            SetCommandParam(QStringLiteral("D"), qint64(++id));
            SetCommandParam(QStringLiteral("CAS"), at);
            ExecCommand();
        }
        // Lines as "lend document, return document or -, video, PUJCENA, HISTORIE, DOKLAD";
        // documents 1 and 2 go, 3 stays.
        const QStringList lines = {
            "1,2,10,0,0,1", // both documents gone, returned, out of the histories: deleted
            "2,-,20,1,1,1", // both gone, still lent: kept without its document
            "2,3,40,0,0,1", // its return document is left: kept
            "3,-,30,0,0,1", // its lend document is left: kept
        };
        for (const QString &line : lines) {
            const QStringList v = line.split(u',');
            Exec(QStringLiteral("INSERT INTO tab_pujckydetail (DOKLAD_PUJ, DOKLAD_VRA, VIDEO, ZAKAZNIK, "
                                "PUJCENA, HISTORIE, DOKLAD) VALUES (%1, %2, %3, 1, %4, %5, %6)")
                     .arg(v[0], v[1] == QLatin1String("-") ? QStringLiteral("NULL") : v[1], v[2], v[3], v[4],
                          v[5]));
        }
        QVERIFY(WriteFormStateFile(FormStateSection(QStringLiteral("Database"),
                                                    {{QStringLiteral("CheckBoxLends_Checked"), QStringLiteral("True")},
                                                     {QStringLiteral("IntegerEditLends_Value"), QStringLiteral("0")}})));
        int left = -1;
        QStringList details;
        ModalAnswers answers({Login(QStringLiteral("sa"), db.password(), db.serverName()),
                              ClickButton(QStringLiteral("ButtonYes"))});
        QVERIFY(run({}, [&] {
            left = int(ValueOf(QStringLiteral("SELECT COUNT(*) FROM tab_pujcky")));
            QSqlQuery q(CurrentConnection());
            if (q.exec(QStringLiteral("SELECT VIDEO, DOKLAD FROM tab_pujckydetail ORDER BY VIDEO")))
                while (q.next())
                    details << q.value(0).toString() + u'=' + q.value(1).toString();
        }));
        QCOMPARE(left, 1);
        QCOMPARE(details, QStringList({"20=0", "30=1", "40=1"}));
        const QStringList log = LogFileTexts();
        QVERIFY2(log.contains(QStringLiteral("Vymazávání záznamů s doklady: [2] [Ok]")),
                 qPrintable(log.join('\n')));
        QVERIFY(log.contains(QStringLiteral("Vymazávání záznamů s historií: [1] [Ok]")));
        QVERIFY(log.contains(QStringLiteral("Upravování záznamů s historií: [1] [Ok]")));
    }

    // A second copy raises the running one and asks; "&Ne" ends it before any window
    // of its own, "&Ano" lets it start beside the first.
    void secondCopy()
    {
        SingleInstance running(instanceName());
        QWidget runningWindow;
        bool raised = false;
        QVERIFY(running.listen([&] { raised = true; return &runningWindow; }));
        {
            ModalAnswers answers({ClickButton(QStringLiteral("ButtonNo"))});
            QVERIFY(!run({}));
            QCOMPARE(answers.shown().size(), 1);
            QCOMPARE(answers.shown().at(0).text, QStringLiteral("Spustit Valmedo 4.0.1.8 program ?"));
            QCOMPARE(answers.shown().at(0).detail, QStringLiteral("Program je již jednou spuštěn..."));
        }
        QVERIFY(!QFile::exists(QStringLiteral("Valmedo4.log")));
        QTRY_VERIFY(raised);
        ModalAnswers answers({ClickButton(QStringLiteral("ButtonYes")), Reject(),
                              ClickButton(QStringLiteral("ButtonOk")), Reject()});
        QVERIFY(!run({}));
        QCOMPARE(ModalWindows(answers).at(1).caption, QStringLiteral(" Systémové heslo"));
    }

    // The stored user and server come back at the next start, after a successful login only.
    void storedLoginComesBack()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        writePasswordFile(db);
        {
            ModalAnswers answers({Login(QStringLiteral("sa"), db.password(), db.serverName()),
                                  ClickButton(QStringLiteral("ButtonYes"))});
            QVERIFY(run({}));
        }
        {
            ModalAnswers answers({Login(QStringLiteral("nikdo"), QStringLiteral("x"),
                                        QStringLiteral("/nonexistent/folder")),
                                  ClickButton(QStringLiteral("ButtonOk")), Reject()});
            QVERIFY(!run({}));
        }
        QString user, server;
        ModalAnswers answers({[&](QDialog *d) {
            user = d->findChild<QLineEdit *>(QStringLiteral("EditUser"))->text();
            server = d->findChild<QComboBox *>(QStringLiteral("ComboBoxServer"))->currentText();
            return int(QDialog::Rejected);
        }});
        QVERIFY(!run({}));
        QCOMPARE(user, QStringLiteral("sa"));
        QCOMPARE(server, db.serverName());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
