#include "core/database/Commands.h"
#include "core/database/Database.h"
#include "core/database/Errors.h"
#include "core/Messages.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"
#include "support/ModalAnswers.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QWidget>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool connectMaster(const TestDatabase &db)
{
    return ConnectDatabase(db.serverName(), SqlServer::MasterDatabase, TestDatabase::user(), db.password());
}

bool connectProgram(const TestDatabase &db)
{
    return ConnectDatabase(db.serverName(), SqlServer::ProgramDatabase, TestDatabase::user(), db.password());
}

} // namespace

class TestEngines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listServersStartsWithLocal()
    {
        const QStringList servers = SqlServer::listServers();
        QVERIFY(!servers.isEmpty());
        QCOMPARE(servers.first(), QString("(local)"));
    }

    void serverNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("embedded");
        QTest::newRow("local") << "(local)" << true;
        QTest::newRow("folder") << "/var/lib/valmedo" << true;
        QTest::newRow("host") << "server" << false;
        QTest::newRow("host and port") << "server:5433" << false;
    }
    void serverNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, embedded);
        auto s = SqlServer::create(name);
        QCOMPARE(s->serverName(), name);
        QCOMPARE(s->dialect().textOrder("X") != "X", embedded);
    }

    void createOverExisting_data() { AddEngineRows(); }
    void createOverExisting()
    {
        OPEN_TEST_DATABASE(db);
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (1, 'Novák')");
        QVERIFY(connectMaster(db));
        QVERIFY(CreateDatabase());
        QVERIFY(UseDatabase());
        QCOMPARE(CurrentServer()->currentDatabase(), QString(SqlServer::ProgramDatabase));
        QCOMPARE(ValueOf("SELECT COUNT(*) FROM tab_zakaznik"), 0);
        QCOMPARE(ValueOf("SELECT COUNT(*) FROM tab_nosic"), 5);
    }

    void createWithoutDatabase_data() { AddEngineRows(); }
    void createWithoutDatabase()
    {
        OPEN_TEST_DATABASE(db);
        QVERIFY(connectMaster(db));
        CurrentServer()->dropDatabase();
        QVERIFY(!CurrentServer()->databaseExists());
        // Missing database: UseDatabase is content and stays on master.
        QVERIFY(UseDatabase());
        QCOMPARE(CurrentServer()->currentDatabase(), QString(SqlServer::MasterDatabase));
        QVERIFY(CurrentServer()->isOpen());
        // Connecting straight to it fails.
        QVERIFY(!connectProgram(db));
        QVERIFY(connectMaster(db));
        QVERIFY(CreateDatabase());
        QVERIFY(CurrentServer()->databaseExists());
        QVERIFY(UseDatabase());
        QCOMPARE(ValueOf("SELECT COUNT(*) FROM tab_uzivatel"), 1);
    }

    void wrongPassword_data() { AddEngineRows(); }
    void wrongPassword()
    {
        OPEN_TEST_DATABASE(db);
        QVERIFY(connectProgram(db));
        QVERIFY(CurrentConnection().isOpen());
        // A second attempt closes the first connection, also when it fails; the wait
        // window was shown and is gone, the server's text is not shown.
        {
            SetWaitWindow({ShowProgress, HideProgress}); // the core's, as the main window hands it in
            ModalAnswers answers;
            QVERIFY(!ConnectDatabase(db.serverName(), SqlServer::ProgramDatabase, "sa", db.password() + "x"));
            QCOMPARE(answers.shown().size(), 1);
            QCOMPARE(answers.shown().at(0).caption, QString(" Čekejte"));
            QVERIFY(answers.shown().at(0).detail == "Probíhá připojování..."
                    || answers.shown().at(0).text == "Probíhá připojování...");
            for (QWidget *w : QApplication::topLevelWidgets())
                QVERIFY2(!w->isVisible(), qPrintable(w->windowTitle()));
            QVERIFY(!QApplication::overrideCursor());
        }
        QVERIFY(!CurrentConnection().isOpen());
        QVERIFY(!ConnectDatabase(db.serverName(), SqlServer::ProgramDatabase, "sa", QString()));
        QVERIFY(!ConnectDatabase(db.serverName(), SqlServer::ProgramDatabase, "SA", db.password()));
        QVERIFY(connectProgram(db));
        QCOMPARE(ValueOf("SELECT COUNT(*) FROM tab_nosic"), 5);
    }

    void embeddedInstalledBySaOnly()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/server";
        // Another login cannot install the server, nor an empty password.
        QVERIFY(!ConnectDatabase(folder, SqlServer::ProgramDatabase, "novak", "heslo"));
        QVERIFY(!ConnectDatabase(folder, SqlServer::ProgramDatabase, "sa", ""));
        QVERIFY(!QDir(folder).exists() || QDir(folder).isEmpty());
        QVERIFY(ConnectDatabase(folder, SqlServer::ProgramDatabase, "sa", "tajne"));
        QCOMPARE(ValueOf("SELECT COUNT(*) FROM tab_nosic"), 5);
        QVERIFY(ConnectDatabase(folder, SqlServer::MasterDatabase, "sa", "tajne"));
        QVERIFY(!ConnectDatabase(folder, SqlServer::ProgramDatabase, "sa", "jine"));
        QVERIFY(!ConnectDatabase(folder, SqlServer::ProgramDatabase, "novak", "tajne"));
        // The hash, never the password, is stored.
        QFile master(folder + "/master.db");
        QVERIFY(master.open(QIODevice::ReadOnly));
        QVERIFY(!master.readAll().contains("tajne"));
        SetCurrentServer(nullptr);
    }

    void postgresOtherLogin()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::PostgreSQL);
        // The shop's "sa" may not make roles: the test server's superuser makes this one.
        const auto server = PgTestServerFromEnv();
        QVERIFY(server);
        QString error;
        QVERIFY(!QSqlQuery(CurrentConnection()).exec("CREATE ROLE novak LOGIN PASSWORD 'heslo'"));
        QVERIFY2(ExecAsPgAdmin(*server, "DROP ROLE IF EXISTS novak", &error), qPrintable(error));
        QVERIFY2(ExecAsPgAdmin(*server, "CREATE ROLE novak LOGIN PASSWORD 'heslo'", &error),
                 qPrintable(error));
        QVERIFY(ConnectDatabase(db.serverName(), SqlServer::MasterDatabase, "novak", "heslo"));
        QVERIFY(!ConnectDatabase(db.serverName(), SqlServer::MasterDatabase, "novak", "jine"));
        QVERIFY(connectProgram(db));
        QVERIFY2(ExecAsPgAdmin(*server, "DROP ROLE novak", &error), qPrintable(error));
    }

    void backupRestore_data() { AddEngineRows(); }
    void backupRestore()
    {
        OPEN_TEST_DATABASE(db);
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (1, 'Novák')");
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (2, 'Čapek')");
        const QString saved = CustomerRows();
        const QString path = db.scratchDir() + "/Backup.bak";
        QVERIFY(WriteBytes(path, "an older backup")); // replaced whole
        CurrentServer()->backup(path);
        QVERIFY(CurrentServer()->verifyBackup(path));
        Exec("DELETE FROM tab_zakaznik WHERE ZAKAZNIK=1");
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (3, 'Dvořák')");
        // The restore runs at start-up on master.
        QVERIFY(connectMaster(db));
        CurrentServer()->restore(path);
        QVERIFY(UseDatabase());
        QCOMPARE(CustomerRows(), saved);
        QCOMPARE(ValueOf("SELECT COUNT(*) FROM tab_nosic"), 5);
        // Restoring while on the program's database reconnects to the restored one.
        Exec("DELETE FROM tab_zakaznik");
        CurrentServer()->restore(path);
        QCOMPARE(CustomerRows(), saved);
        QCOMPARE(QDir(db.scratchDir()).entryList(QDir::Files), QStringList{"Backup.bak"});
    }

    void badBackups_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"missing", "empty", "damaged", "truncated", "foreign"}) {
            QTest::newRow(qPrintable(QString("sqlite %1").arg(kind))) << Engine::SQLite << QString(kind);
            QTest::newRow(qPrintable(QString("postgres %1").arg(kind))) << Engine::PostgreSQL << QString(kind);
        }
    }
    void badBackups()
    {
        QFETCH(QString, kind);
        OPEN_TEST_DATABASE(db);
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (7, 'Novák')");
        const QString good = db.scratchDir() + "/good.bak";
        CurrentServer()->backup(good);
        QVERIFY(!ReadBytes(good).isEmpty());
        const QString path = db.scratchDir() + "/bad.bak";
        QVERIFY(WriteBadBackup(engine, kind, good, path));
        QString why;
        QVERIFY(!CurrentServer()->verifyBackup(path, &why));
        QVERIFY(!why.isEmpty());
        for (bool onMaster : {false, true}) {
            if (onMaster)
                QVERIFY(connectMaster(db));
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, CurrentServer()->restore(path));
            QVERIFY(UseDatabase());
            QCOMPARE(CustomerRows(), QString("7=Novák"));
        }
    }

    void maintenance_data() { AddEngineRows(); }
    void maintenance()
    {
        OPEN_TEST_DATABASE(db);
        for (int i = 1; i <= 50; ++i)
            Exec(QString("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (%1, 'Zákazník %1')").arg(i));
        QVERIFY(ReindexDatabase());
        QVERIFY(TruncateTransLog());
        const FileStats stats = CurrentServer()->fileStats();
        QVERIFY(stats.used > 0);
        QVERIFY(stats.allocated >= stats.used);
        QCOMPARE(ValueOf("SELECT COUNT(*) FROM tab_zakaznik"), 50);
        // On master there is no program database to work on: false, not a crash.
        QVERIFY(connectMaster(db));
        QVERIFY(!ReindexDatabase());
        QVERIFY(!TruncateTransLog());
        QVERIFY(UseDatabase());
        QVERIFY(ReindexDatabase());
    }

    void openSteps()
    {
        ClearOpenSteps();
        QStringList ran;
        RegisterOpenStep(70, [&] { ran << "journal"; return true; });
        RegisterOpenStep(10, [&] { ran << "customers"; return true; });
        RegisterOpenStep(30, [&] { ran << "videos"; return true; });
        QVERIFY(OpenDatabase());
        QCOMPARE(ran, (QStringList{"customers", "videos", "journal"}));
        ran.clear();
        RegisterOpenStep(20, [&]() -> bool { throw EDatabaseError("lost"); });
        QVERIFY(!OpenDatabase());
        QCOMPARE(ran, QStringList{"customers"});
        ClearOpenSteps();
    }
};

QTEST_MAIN(TestEngines)
#include "tst_engines.moc"
