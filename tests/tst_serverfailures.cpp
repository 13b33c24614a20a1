// How the engines behave when the server or a file fails them: a lost connection is an
// error, not a missing database; a restore that fails half-way leaves the desk connected
// to its old database; a restored embedded file never takes in an old transaction log.
#include "core/database/Commands.h"
#include "core/database/Database.h"
#include "core/database/Errors.h"
#include "core/database/PostgresServer.h"
#include "core/database/SqlServer.h"
#include "core/UBackup.h"
#include "support/ModalAnswers.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

#include <memory>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// A PostgreSQL server whose restore swap is refused at one rename (1: the old
// database's, 2: the restored one's), as a crash or the server may stop it half-way.
class FailingSwapServer : public PostgresServer {
public:
    using PostgresServer::PostgresServer;
    int failAt = 0;

protected:
    void renameDatabase(const QSqlDatabase &db, const QString &from, const QString &to) const override
    {
        if (++m_renames == failAt)
            throw EDatabaseError(QStringLiteral("refused by the test"));
        PostgresServer::renameDatabase(db, from, to);
    }

private:
    mutable int m_renames = 0;
};

// Makes a FailingSwapServer current, connected to `database` of the test's server.
FailingSwapServer *ConnectFailingSwap(const TestDatabase &db, const char *database, int failAt)
{
    const auto pg = PgTestServerFromEnv();
    if (!pg)
        return nullptr;
    auto owned = std::make_unique<FailingSwapServer>(db.serverName(), pg->host, pg->port);
    FailingSwapServer *server = owned.get();
    server->failAt = failAt;
    SetCurrentServer(std::move(owned));
    return server->open(QString::fromLatin1(database), TestDatabase::user(), db.password()) ? server : nullptr;
}

// A connection of the test's own on the test server's "postgres", as sa; check isOpen().
QSqlDatabase OpenOnPostgres(const SqlServer::ScopedConnection &connection)
{
    QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection.name());
    if (const auto pg = PgTestServerFromEnv()) {
        d.setHostName(pg->host);
        d.setPort(pg->port);
        d.setDatabaseName(QStringLiteral("postgres"));
        d.setUserName(TestDatabase::user());
        d.setPassword(pg->password);
        d.open();
    }
    return d;
}

// The staging and previous databases of a restore left on the server.
int RestoreDatabasesLeft(const TestDatabase &db)
{
    SetCommand(QStringLiteral("SELECT COUNT(*) FROM pg_database WHERE datname LIKE :NAME"));
    SetCommandParam(QStringLiteral("NAME"), db.databaseName() + QStringLiteral("\\_%"));
    return ExecCommandValue().toInt();
}

// Sets or clears the immutable flag of a file: then not even root may rename another
// file over it. False where the file system or the user's rights do not allow it.
bool SetImmutable(const QString &path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

// The work files of restores and resets left in an embedded server folder.
QStringList RestoreLeftovers(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files).filter(QRegularExpression(QStringLiteral("\\.(restore|new)-")));
}

} // namespace

class TestServerFailures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void useDatabaseFailsOnServerError_data() { AddEngineFlagRows("onMaster", "valmedo4", "master"); }
    void useDatabaseFailsOnServerError()
    {
        QFETCH(bool, onMaster);
        OPEN_TEST_DATABASE(db);
        if (onMaster)
            QVERIFY(ConnectDatabase(db.serverName(), SqlServer::MasterDatabase, TestDatabase::user(), db.password()));
        QVERIFY(UseDatabase());

        const QString folder = db.serverName();
        if (engine == Engine::PostgreSQL) {
            // Another session ends the desk's backend, as an administrator or a server restart would.
            QSqlQuery own(CurrentConnection());
            QVERIFY(own.exec(QStringLiteral("SELECT pg_backend_pid()")) && own.next());
            const qint64 pid = own.value(0).toLongLong();
            own.finish();
            SqlServer::ScopedConnection admin("admin");
            QSqlDatabase a = OpenOnPostgres(admin);
            QVERIFY2(a.isOpen(), qPrintable(a.lastError().text()));
            QSqlQuery kill(a);
            kill.prepare(QStringLiteral("SELECT pg_terminate_backend(:PID, 10000)"));
            kill.bindValue(QStringLiteral(":PID"), pid);
            QVERIFY2(kill.exec() && kill.next() && kill.value(0).toBool(), qPrintable(kill.lastError().text()));
        } else {
            // The server folder is gone and a file stands in its place: its files cannot be looked for.
            QVERIFY(QDir().rename(folder, folder + QStringLiteral(".away")));
            QFile blocker(folder);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            blocker.close();
        }
        QVERIFY(!UseDatabase());
        if (engine == Engine::SQLite) {
            SetCurrentServer(nullptr);
            QVERIFY(QFile::remove(folder));
            QVERIFY(QDir().rename(folder + QStringLiteral(".away"), folder));
        }
    }

    void embeddedRestoreTakesNoOldLog()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        Exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (1, 'Novák')"));
        const QString backup = db.scratchDir() + QStringLiteral("/Backup.bak");
        CurrentServer()->backup(backup);

        // Rows written after the backup stay in the file's log for now; a copy of that log
        // is what a desk that crashed would leave beside the file.
        const QString file = db.serverName() + QLatin1Char('/') + db.databaseName() + QStringLiteral(".db");
        Exec(QStringLiteral("PRAGMA wal_autocheckpoint=0"));
        Exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (2, 'Svoboda')"));
        const QString kept = db.scratchDir() + QStringLiteral("/kept");
        for (const char *companion : {"-wal", "-shm"})
            QVERIFY(QFile::copy(file + QLatin1String(companion), kept + QLatin1String(companion)));
        QVERIFY(QFileInfo(kept + QStringLiteral("-wal")).size() > 0);

        QVERIFY(ConnectDatabase(db.serverName(), SqlServer::MasterDatabase, TestDatabase::user(), db.password()));
        for (const char *companion : {"-wal", "-shm"}) {
            QFile::remove(file + QLatin1String(companion));
            QVERIFY(QFile::copy(kept + QLatin1String(companion), file + QLatin1String(companion)));
        }
        CurrentServer()->restore(backup);
        QVERIFY(!QFile::exists(file + QStringLiteral("-wal")));
        QVERIFY(!QFile::exists(file + QStringLiteral("-shm")));
        QVERIFY(UseDatabase());
        QCOMPARE(CustomerRows(), QStringLiteral("1=Novák"));
        SetCommand(QStringLiteral("PRAGMA integrity_check"));
        QCOMPARE(ExecCommandValue().toString(), QStringLiteral("ok"));
        const QStringList left = QDir(db.serverName()).entryList(QDir::Files);
        QCOMPARE(left.filter(QStringLiteral(".restore-")), QStringList());
    }

    // A restore that fails after the backup passed its check leaves the old database as
    // it was, and nothing of the restore behind: on PostgreSQL the swap refused at its
    // second rename, on SQLite a database file that cannot be replaced (immutable for
    // root, its folder read-only for anyone else).
    void restoreInterruptedKeepsOldDatabase_data() { AddEngineRows(); }
    void restoreInterruptedKeepsOldDatabase()
    {
        OPEN_TEST_DATABASE(db);
        const QString backup = db.scratchDir() + QStringLiteral("/Backup.bak");
        CurrentServer()->backup(backup);
        Exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (1, 'Novák')"));
        Exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (2, 'Svoboda')"));
        QVERIFY(CurrentServer()->verifyBackup(backup));

        const QString folder = db.serverName();
        const QString file = folder + QLatin1Char('/') + db.databaseName() + QStringLiteral(".db");
        bool immutable = false;
        const auto undo = qScopeGuard([&] {
            if (immutable)
                SetImmutable(file, false);
            else if (engine == Engine::SQLite)
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        if (engine == Engine::SQLite) {
            QVERIFY(ConnectDatabase(db.serverName(), QString::fromLatin1(SqlServer::MasterDatabase),
                                    TestDatabase::user(), db.password()));
            immutable = SetImmutable(file, true);
            if (!immutable && ::geteuid() != 0)
                QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            else if (!immutable)
                QFAIL("the database file cannot be made immutable here");
        } else {
            QVERIFY(ConnectFailingSwap(db, SqlServer::MasterDatabase, 2));
        }
        QVERIFY(!RestoreDatabase(backup));
        if (immutable)
            QVERIFY(SetImmutable(file, false));
        immutable = false;
        if (engine == Engine::SQLite)
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        QVERIFY(UseDatabase());
        QCOMPARE(CustomerRows(), QStringLiteral("1=Novák,2=Svoboda"));
        if (engine == Engine::PostgreSQL)
            QCOMPARE(RestoreDatabasesLeft(db), 0);
        else
            QCOMPARE(RestoreLeftovers(folder), QStringList());
    }

    // What a restore or a reset killed after its staging step leaves, made here as the
    // kill leaves it (the staging file, or the staging database with the program's
    // database closed to connections): the old database opens at the next log-in with
    // its rows, and the next reset or restore removes the staging.
    void interruptedAfterStagingKeepsOldDatabase_data()
    {
        AddEngineFlagRows("resetKilled", "restore killed, reset next", "reset killed, restore next");
    }
    void interruptedAfterStagingKeepsOldDatabase()
    {
        QFETCH(bool, resetKilled);
        const bool resetNext = !resetKilled;
        OPEN_TEST_DATABASE(db);
        Exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (1, 'Novák')"));
        const QString backup = db.scratchDir() + QStringLiteral("/Backup.bak");
        CurrentServer()->backup(backup);
        Exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (2, 'Svoboda')"));

        const QString folder = db.serverName();
        if (engine == Engine::SQLite) {
            const QString staging = QStringLiteral("%1/%2.db.%3-0123456789ab")
                                        .arg(folder, db.databaseName(),
                                             QLatin1String(resetKilled ? "new" : "restore"));
            QVERIFY(QFile::copy(backup, staging));
            QFile journal(staging + QStringLiteral("-journal"));
            QVERIFY(journal.open(QIODevice::WriteOnly));
            journal.write("half-written");
        } else {
            SqlServer::ScopedConnection other("killed-desk");
            QSqlDatabase desk = OpenOnPostgres(other);
            QVERIFY2(desk.isOpen(), qPrintable(desk.lastError().text()));
            QSqlQuery q(desk);
            QVERIFY2(q.exec(QStringLiteral("CREATE DATABASE %1_restore").arg(db.databaseName())),
                     qPrintable(q.lastError().text()));
            QVERIFY2(q.exec(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS false").arg(db.databaseName())),
                     qPrintable(q.lastError().text()));
        }
        SetCurrentServer(nullptr);

        QVERIFY(ConnectDatabase(db.serverName(), QString::fromLatin1(SqlServer::ProgramDatabase),
                                TestDatabase::user(), db.password()));
        QCOMPARE(CustomerRows(), QStringLiteral("1=Novák,2=Svoboda"));

        QVERIFY(ConnectDatabase(db.serverName(), QString::fromLatin1(SqlServer::MasterDatabase),
                                TestDatabase::user(), db.password()));
        {
            ModalAnswers answers;
            QVERIFY(resetNext ? CreateDatabase() : RestoreDatabase(backup));
        }
        QVERIFY(UseDatabase());
        QCOMPARE(CustomerRows(), resetNext ? QString() : QStringLiteral("1=Novák"));
        if (engine == Engine::PostgreSQL)
            QCOMPARE(RestoreDatabasesLeft(db), 0);
        else
            QCOMPARE(RestoreLeftovers(folder), QStringList());
    }

    // The embedded restore refuses while another desk still reads the database and
    // its log holds transactions that cannot be folded into the file: they stay.
    void embeddedRestoreRefusedWhileAnotherDeskReads()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        const QString backup = db.scratchDir() + QStringLiteral("/Backup.bak");
        CurrentServer()->backup(backup);
        const QString file = db.serverName() + QLatin1Char('/') + db.databaseName() + QStringLiteral(".db");
        {
            SqlServer::ScopedConnection desk("other-desk");
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), desk.name());
            other.setDatabaseName(file);
            QVERIFY2(other.open(), qPrintable(other.lastError().text()));
            QVERIFY(other.transaction());
            QSqlQuery reading(other);
            QVERIFY(reading.exec(QStringLiteral("SELECT COUNT(*) FROM tab_zakaznik")) && reading.next());
            // Written after the other desk's reading began: the log must keep it.
            Exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (1, 'Novák')"));
            QVERIFY(ConnectDatabase(db.serverName(), QString::fromLatin1(SqlServer::MasterDatabase),
                                    TestDatabase::user(), db.password()));
            QVERIFY(QFileInfo(file + QStringLiteral("-wal")).size() > 0);
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, CurrentServer()->restore(backup));
            reading.finish();
            other.rollback();
        }
        QVERIFY(UseDatabase());
        QCOMPARE(CustomerRows(), QStringLiteral("1=Novák"));
        QCOMPARE(RestoreLeftovers(db.serverName()), QStringList());
    }

    // A backup clears a killed restore's staging database, but not one of a restore
    // under way on another desk, which holds the restore's lock meanwhile.
    void backupLeavesTheStagingOfARestoreUnderWay()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::PostgreSQL);
        const QString staging = db.databaseName() + QStringLiteral("_restore");
        QSqlQuery create(CurrentConnection());
        QVERIFY2(create.exec(QStringLiteral("CREATE DATABASE %1").arg(staging)), qPrintable(create.lastError().text()));
        SqlServer::ScopedConnection other("other-desk");
        QSqlDatabase desk = OpenOnPostgres(other);
        QVERIFY2(desk.isOpen(), qPrintable(desk.lastError().text()));
        QSqlQuery lock(desk);
        QVERIFY(lock.exec(QStringLiteral("SELECT pg_advisory_lock(hashtextextended('%1', 0))").arg(staging)));

        const QString backup = db.scratchDir() + QStringLiteral("/Backup.bak");
        CurrentServer()->backup(backup);
        QCOMPARE(RestoreDatabasesLeft(db), 1);
        desk.close(); // the other desk's restore has ended, or its desk was killed
        CurrentServer()->backup(backup);
        QCOMPARE(RestoreDatabasesLeft(db), 0);
    }

    // The swap refused at either rename, while the desk works on the database: the desk
    // is connected to the old database again, and a later restore succeeds.
    void postgresRestoreKeepsTheDeskConnected_data()
    {
        QTest::addColumn<int>("failAt");
        QTest::newRow("old database's rename") << 1;
        QTest::newRow("restored database's rename") << 2;
    }
    void postgresRestoreKeepsTheDeskConnected()
    {
        QFETCH(int, failAt);
        OPEN_TEST_DATABASE_ON(db, Engine::PostgreSQL);
        Exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (1, 'Novák')"));
        const QString backup = db.scratchDir() + QStringLiteral("/Backup.bak");
        CurrentServer()->backup(backup);
        Exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (2, 'Svoboda')"));

        FailingSwapServer *server = ConnectFailingSwap(db, SqlServer::ProgramDatabase, failAt);
        QVERIFY(server);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, server->restore(backup));
        QVERIFY(server->isOpen());
        QCOMPARE(server->currentDatabase(), QString(SqlServer::ProgramDatabase));
        QCOMPARE(CustomerRows(), QStringLiteral("1=Novák,2=Svoboda"));
        QCOMPARE(RestoreDatabasesLeft(db), 0);

        server->failAt = 0;
        server->restore(backup);
        QCOMPARE(CustomerRows(), QStringLiteral("1=Novák"));
        QCOMPARE(RestoreDatabasesLeft(db), 0);
    }
};

QTEST_MAIN(TestServerFailures)
#include "tst_serverfailures.moc"
