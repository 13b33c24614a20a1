// How the engines behave when the server or a file fails them: a lost connection is an
// error, not a missing database; a restore that fails half-way leaves the desk connected
// to its old database; a restored embedded file never takes in an old transaction log.
#include "core/database/Commands.h"
#include "core/database/Database.h"
#include "core/Errors.h"
#include "core/database/PostgresServer.h"
#include "core/database/SqlServer.h"
#include "core/UBackup.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QScopeGuard>
#include <QTest>

#include <memory>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// A PostgreSQL server that refuses its maintenance connections while the desk's own
// connection is closed: the moment a restore swaps the databases.
class RefusingServer : public PostgresServer {
public:
    using PostgresServer::PostgresServer;
    bool refuse = false;

protected:
    bool openConnection(const QString &name, const QString &physical, const QString &user,
                        const QString &password, QString *error) const override
    {
        if (refuse && name != QLatin1String(ConnectionName) && !isOpen()) {
            *error = QStringLiteral("refused by the test");
            return false;
        }
        return PostgresServer::openConnection(name, physical, user, password, error);
    }
};

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

QStringList RestoreLeftovers(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files).filter(QStringLiteral(".restore-"));
}

} // namespace

class TestServerFailures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void useDatabaseFailsOnServerError_data() { AddEngineFlagRows("onMaster", "valmedo4", "master"); }
    void useDatabaseFailsOnServerError()
    {
        QFETCH(Engine, engine);
        QFETCH(bool, onMaster);
        TestDatabase db(engine);
        QVERIFY2(db.isReady(), qPrintable(db.error()));
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
            const auto pg = PgTestServerFromEnv();
            QVERIFY(pg);
            QSqlDatabase a = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), admin.name());
            a.setHostName(pg->host);
            a.setPort(pg->port);
            a.setDatabaseName(QStringLiteral("postgres"));
            a.setUserName(TestDatabase::user());
            a.setPassword(pg->password);
            QVERIFY2(a.open(), qPrintable(a.lastError().text()));
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
        TestDatabase db(Engine::SQLite);
        QVERIFY2(db.isReady(), qPrintable(db.error()));
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
    // it was, and nothing of the restore behind: on PostgreSQL a dump whose contents
    // list but whose data part is cut off, on SQLite a database file that cannot be
    // replaced (immutable for root, its folder read-only for anyone else).
    void restoreInterruptedKeepsOldDatabase_data() { AddEngineRows(); }
    void restoreInterruptedKeepsOldDatabase()
    {
        QFETCH(Engine, engine);
        TestDatabase db(engine);
        QVERIFY2(db.isReady(), qPrintable(db.error()));
        const QString backup = db.scratchDir() + QStringLiteral("/Backup.bak");
        if (engine == Engine::PostgreSQL) {
            // Enough rows that the data part is most of the dump.
            Exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) SELECT g, md5(g::text) "
                                "FROM generate_series(3, 20002) g"));
            const QString good = db.scratchDir() + QStringLiteral("/good.bak");
            CurrentServer()->backup(good);
            const QByteArray bytes = ReadBytes(good);
            QVERIFY(WriteBytes(backup, bytes.left(bytes.size() * 2 / 3)));
            Exec(QStringLiteral("DELETE FROM tab_zakaznik"));
        } else {
            CurrentServer()->backup(backup);
        }
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
        QVERIFY(ConnectDatabase(db.serverName(), QString::fromLatin1(SqlServer::MasterDatabase),
                                TestDatabase::user(), db.password()));
        if (engine == Engine::SQLite) {
            immutable = SetImmutable(file, true);
            if (!immutable && ::geteuid() != 0)
                QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            else if (!immutable)
                QFAIL("the database file cannot be made immutable here");
        }
        QVERIFY(!RestoreDatabase(backup));
        if (immutable)
            QVERIFY(SetImmutable(file, false));
        immutable = false;
        if (engine == Engine::SQLite)
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        QVERIFY(UseDatabase());
        QCOMPARE(CustomerRows(), QStringLiteral("1=Novák,2=Svoboda"));
        if (engine == Engine::PostgreSQL) {
            SetCommand(QStringLiteral("SELECT COUNT(*) FROM pg_database WHERE datname LIKE :NAME"));
            SetCommandParam(QStringLiteral("NAME"), db.databaseName() + QStringLiteral("\\_%"));
            QCOMPARE(ExecCommandValue().toInt(), 0);
        } else {
            QCOMPARE(RestoreLeftovers(folder), QStringList());
        }
    }

    // The embedded restore refuses while another desk still reads the database and
    // its log holds transactions that cannot be folded into the file: they stay.
    void embeddedRestoreRefusedWhileAnotherDeskReads()
    {
        TestDatabase db(Engine::SQLite);
        QVERIFY2(db.isReady(), qPrintable(db.error()));
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

    void postgresRestoreKeepsTheDeskConnected()
    {
        TestDatabase db(Engine::PostgreSQL);
        QVERIFY2(db.isReady(), qPrintable(db.error()));
        Exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (1, 'Novák')"));
        const QString backup = db.scratchDir() + QStringLiteral("/Backup.bak");
        CurrentServer()->backup(backup);
        Exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (2, 'Svoboda')"));

        const auto pg = PgTestServerFromEnv();
        QVERIFY(pg);
        auto owned = std::make_unique<RefusingServer>(db.serverName(), pg->host, pg->port);
        RefusingServer *server = owned.get();
        SetCurrentServer(std::move(owned));
        QVERIFY2(server->open(SqlServer::ProgramDatabase, TestDatabase::user(), db.password()),
                 qPrintable(server->errorText()));

        server->refuse = true;
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, server->restore(backup));
        QVERIFY(server->isOpen());
        QCOMPARE(server->currentDatabase(), QString(SqlServer::ProgramDatabase));
        QCOMPARE(CustomerRows(), QStringLiteral("1=Novák,2=Svoboda"));

        // A later restore finds the server as it should be and succeeds.
        server->refuse = false;
        server->restore(backup);
        QCOMPARE(CustomerRows(), QStringLiteral("1=Novák"));
    }
};

QTEST_MAIN(TestServerFailures)
#include "tst_serverfailures.moc"
