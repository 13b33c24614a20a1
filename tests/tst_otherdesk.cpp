// The restore and the creation of the database with another desk (another process)
// connected: refused, and nothing of that desk's work is lost; a desk that dies during
// a backup or a restore leaves nothing that the next one does not clear away.
#include "core/database/Errors.h"
#include "core/database/Commands.h"
#include "core/database/Database.h"
#include "core/database/EmbeddedServer.h"
#include "core/database/PostgresServer.h"
#include "core/database/SqlServer.h"
#include "core/UBackup.h"
#include "support/ModalAnswers.h"
#include "support/OtherDesk.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

#include <functional>
#include <memory>

namespace {

bool connectMaster(const TestDatabase &db)
{
    return ConnectDatabase(db.serverName(), SqlServer::MasterDatabase, TestDatabase::user(), db.password());
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QThread::msleep(5);
    }
    return true;
}

// A server of either engine whose restore and reset run `held` when their new database
// is whole, right before they swap it in.
template <class Server>
class HeldServer : public Server {
public:
    using Server::Server;
    std::function<void()> held;

protected:
    void beforeSwap() override
    {
        if (held)
            held();
    }
};

template <class Server, class... Args>
std::unique_ptr<SqlServer> makeHeld(std::function<void()> held, Args... args)
{
    auto server = std::make_unique<HeldServer<Server>>(args...);
    server->held = std::move(held);
    return server;
}

// Makes a HeldServer of the test's engine current, connected to "master".
bool connectHeldMaster(const TestDatabase &db, std::function<void()> held)
{
    std::unique_ptr<SqlServer> server;
    if (db.engine() == Engine::SQLite) {
        server = makeHeld<EmbeddedServer>(std::move(held), db.serverName(), db.serverName());
    } else if (const auto pg = PgTestServerFromEnv()) {
        server = makeHeld<PostgresServer>(std::move(held), db.serverName(), pg->host, pg->port);
    } else {
        return false;
    }
    SqlServer *raw = server.get();
    SetCurrentServer(std::move(server));
    return raw->open(QString::fromLatin1(SqlServer::MasterDatabase), TestDatabase::user(), db.password());
}

// The processes named `name` whose command line holds `text`, as their ids; a process
// that has ended (a zombie its new parent did not reap) is not counted.
QList<qint64> processes(const QString &name, const QString &text)
{
    QList<qint64> found;
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!cmdline.open(QIODevice::ReadOnly) || !stat.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> args = cmdline.readAll().split('\0');
        const QByteArray state = stat.readAll().split(')').value(1).trimmed().left(1);
        if (!args.isEmpty() && args.first().endsWith(name.toUtf8()) && args.join(' ').contains(text.toUtf8())
            && state != "Z")
            found << pid.toLongLong();
    }
    return found;
}

// The sessions on a database of the test server, asked on the test's own connection.
int sessionsOn(const QString &database)
{
    SetCommand(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE datname=:NAME"));
    SetCommandParam(QStringLiteral("NAME"), database);
    return ExecCommandValue().toInt();
}

bool databaseThere(const QString &database)
{
    SetCommand(QStringLiteral("SELECT COUNT(*) FROM pg_database WHERE datname=:NAME"));
    SetCommandParam(QStringLiteral("NAME"), database);
    return ExecCommandValue().toInt() > 0;
}

} // namespace

class TestOtherDesk : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The other desk idle, or inside a transaction: the restore and the creation are
    // refused, the desk writes on into the database it has, and once it has gone both
    // succeed.
    void refusedWhileAnotherDeskIsConnected_data() { AddEngineFlagRows("inTransaction", "idle", "transaction"); }
    void refusedWhileAnotherDeskIsConnected()
    {
        QFETCH(bool, inTransaction);
        OPEN_TEST_DATABASE(db);
        const QString backup = db.scratchDir() + QStringLiteral("/Backup.bak");
        db.server()->backup(backup);

        OtherDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        QCOMPARE(desk.ask(QStringLiteral("insert 1")), QStringLiteral("ok"));
        if (inTransaction) {
            QCOMPARE(desk.ask(QStringLiteral("begin")), QStringLiteral("ok"));
            QCOMPARE(desk.ask(QStringLiteral("insert 2")), QStringLiteral("ok"));
        }
        QVERIFY(connectMaster(db));
        {
            ModalAnswers answers;
            QVERIFY(!RestoreDatabase(backup));
            QVERIFY(!CreateDatabase());
        }
        if (inTransaction) {
            QCOMPARE(desk.ask(QStringLiteral("insert 3")), QStringLiteral("ok"));
            QCOMPARE(desk.ask(QStringLiteral("commit")), QStringLiteral("ok"));
        } else {
            QCOMPARE(desk.ask(QStringLiteral("insert 2")), QStringLiteral("ok"));
            QCOMPARE(desk.ask(QStringLiteral("insert 3")), QStringLiteral("ok"));
        }
        const QString rows = QStringLiteral("1=Desk 1,2=Desk 2,3=Desk 3");
        QCOMPARE(desk.ask(QStringLiteral("rows")), rows);
        desk.quit();
        QVERIFY(UseDatabase());
        QCOMPARE(CustomerRows(), rows);

        QVERIFY(connectMaster(db));
        ModalAnswers answers;
        QVERIFY(RestoreDatabase(backup));
        QVERIFY(UseDatabase());
        QCOMPARE(CustomerRows(), QString());
        QVERIFY(connectMaster(db));
        QVERIFY(CreateDatabase());
        QVERIFY(UseDatabase());
        QCOMPARE(ValueOf(QStringLiteral("SELECT COUNT(*) FROM tab_nosic")), 5);
    }

    // A desk that tries to log in while a restore or a reset runs (held before its swap)
    // is refused; afterwards it logs in, finds its earlier rows as the backup has them
    // (none after a reset), and what it is then told was written is there.
    void deskRefusedDuringRestoreOrReset_data() { AddEngineFlagRows("reset", "restore", "reset"); }
    void deskRefusedDuringRestoreOrReset()
    {
        QFETCH(bool, reset);
        OPEN_TEST_DATABASE(db);
        const QString backup = db.scratchDir() + QStringLiteral("/Backup.bak");
        {
            OtherDesk desk(db);
            QVERIFY2(desk.isReady(), qPrintable(desk.error()));
            QCOMPARE(desk.ask(QStringLiteral("insert 1")), QStringLiteral("ok"));
            db.server()->backup(backup);
        }

        QString during;
        QVERIFY(connectHeldMaster(db, [&] {
            OtherDesk late(db);
            during = late.isReady() ? QStringLiteral("logged in") : late.error();
            if (late.isReady())
                late.ask(QStringLiteral("insert 2")); // what the swap would take away
        }));
        {
            ModalAnswers answers;
            QVERIFY(reset ? CreateDatabase() : RestoreDatabase(backup));
        }
        QVERIFY2(during.startsWith(QStringLiteral("error ")), qPrintable(during));

        const QString before = reset ? QString() : QStringLiteral("1=Desk 1,");
        OtherDesk after(db);
        QVERIFY2(after.isReady(), qPrintable(after.error()));
        QCOMPARE(after.ask(QStringLiteral("rows")), before.chopped(before.isEmpty() ? 0 : 1));
        QCOMPARE(after.ask(QStringLiteral("insert 3")), QStringLiteral("ok"));
        after.quit();
        QVERIFY(UseDatabase());
        QCOMPARE(CustomerRows(), before + QStringLiteral("3=Desk 3"));
    }

    // A row that another desk holds in an open transaction (a code book left open) makes
    // this desk's change fail after a short wait, on both engines, instead of hanging
    // the desk until the other one closes its window; the other desk's work stands.
    void heldRowWaitsOnlyAWhile_data() { AddEngineRows(); }
    void heldRowWaitsOnlyAWhile()
    {
        OPEN_TEST_DATABASE(db);
        OtherDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        QCOMPARE(desk.ask(QStringLiteral("begin")), QStringLiteral("ok"));
        QCOMPARE(desk.ask(QStringLiteral("insert 5")), QStringLiteral("ok"));

        QElapsedTimer waited;
        waited.start();
        SetCommand(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (:ZAKAZNIK, :JMENO)"));
        SetCommandParam(QStringLiteral("ZAKAZNIK"), 5);
        SetCommandParam(QStringLiteral("JMENO"), QStringLiteral("Tato pokladna"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, ExecCommand());
        QVERIFY2(waited.elapsed() < 3 * SqlServer::LockWaitMs, qPrintable(QString::number(waited.elapsed())));

        QCOMPARE(desk.ask(QStringLiteral("commit")), QStringLiteral("ok"));
        QCOMPARE(CustomerRows(), QStringLiteral("5=Desk 5"));
    }

    // A desk that dies while its pg_dump waits takes the dump with it; the next backup
    // removes the file the dump had begun.
    void dumpEndsWithItsDesk()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::PostgreSQL);
        OtherDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        // The dump waits for this lock as long as the test holds it.
        QSqlDatabase own = CurrentConnection();
        QVERIFY(own.transaction());
        QSqlQuery lock(own); // PostgreSQL cannot prepare it
        QVERIFY(lock.exec(QStringLiteral("LOCK TABLE tab_zakaznik IN ACCESS EXCLUSIVE MODE")));
        const QString target = db.scratchDir() + QStringLiteral("/Backup.bak");
        desk.send(QStringLiteral("backup ") + target);
        QVERIFY(waitFor([&] { return !processes(QStringLiteral("pg_dump"), target).isEmpty(); }, 10000));
        desk.kill();
        QVERIFY2(waitFor([&] { return processes(QStringLiteral("pg_dump"), target).isEmpty(); }, 5000),
                 "pg_dump outlived its desk");
        QVERIFY(own.rollback());
        QCOMPARE(QDir(db.scratchDir()).entryList(QDir::Files).size(), 1);

        ModalAnswers answers;
        QVERIFY(BackupNow(target));
        QCOMPARE(QDir(db.scratchDir()).entryList(QDir::Files), QStringList{QStringLiteral("Backup.bak")});
    }

    // A desk killed during its restore, after the staging database was made, leaves
    // the old database whole; the next backup and restore leave no staging database.
    void restoreKilledAfterStaging()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::PostgreSQL);
        Exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) SELECT g, md5(g::text) "
                            "FROM generate_series(1, 50000) g"));
        const QString backup = db.scratchDir() + QStringLiteral("/Backup.bak");
        db.server()->backup(backup);
        Exec(QStringLiteral("DELETE FROM tab_zakaznik WHERE ZAKAZNIK > 2"));
        const QString before = CustomerRows();

        OtherDesk desk(db);
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        QCOMPARE(desk.ask(QStringLiteral("master")), QStringLiteral("ok"));
        QVERIFY(connectMaster(db)); // no other desk may use the database during a restore
        const QString staging = db.databaseName() + QStringLiteral("_restore");
        desk.send(QStringLiteral("restore ") + backup);
        QVERIFY(waitFor([&] { return sessionsOn(staging) > 0; }, 20000));
        desk.kill();
        QVERIFY2(waitFor([&] { return sessionsOn(staging) == 0; }, 5000), "pg_restore outlived its desk");
        QVERIFY(databaseThere(staging));
        QVERIFY(UseDatabase());
        QCOMPARE(CustomerRows(), before);

        ModalAnswers answers;
        QVERIFY(BackupNow(db.scratchDir() + QStringLiteral("/Next.bak")));
        QVERIFY(!databaseThere(staging));
        QVERIFY(connectMaster(db));
        QVERIFY(RestoreDatabase(backup));
        QVERIFY(UseDatabase());
        QCOMPARE(ValueOf(QStringLiteral("SELECT COUNT(*) FROM tab_zakaznik")), 50000);
        SetCommand(QStringLiteral("SELECT COUNT(*) FROM pg_database WHERE datname LIKE :NAME"));
        SetCommandParam(QStringLiteral("NAME"), db.databaseName() + QStringLiteral("\\_%"));
        QCOMPARE(ExecCommandValue().toInt(), 0);
        QCOMPARE(QDir(db.scratchDir()).entryList(QDir::Files),
                 (QStringList{QStringLiteral("Backup.bak"), QStringLiteral("Next.bak")}));
    }
};

QTEST_MAIN(TestOtherDesk)
#include "tst_otherdesk.moc"
