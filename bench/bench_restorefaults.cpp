// Kills a desk at random moments of its backups and of its restores, on each engine,
// and counts what a kill damaged or left behind:
//   databases whole     after the kill the program's database opens and holds exactly
//                       the rows it had before or the rows of the backup
//   old backups intact  the backup file being replaced (backup) is the old file or a
//                       new one that verifies; the file restored from is unchanged
//   leftovers           work files, staging databases or dump processes of the killed
//                       operation still there after the next, complete run of it
// Each kill comes at a moment drawn between the operation's start and its usual end.
//
// Run by hand, not in CTest (it takes some minutes):
//     source scripts/pg-test-server.sh && pg_test_start
//     build/bench/bench_restorefaults [kills per case, 30] [seed]
// Without the test server's address in the environment only SQLite runs.

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

using bench::exec;
using bench::print;

constexpr int Customers = 100000;

// --- the desk that is killed: this program run with "--desk" ------------------------

// --desk SERVER PASSWORD DATABASE backup|restore FILE: says "start" right before the
// operation and "done" after it.
int runDesk(const QStringList &args)
{
    SqlServer::setProgramDatabaseName(args[4]);
    SetCurrentServer(SqlServer::create(args[2]));
    SqlServer &server = *CurrentServer();
    const bool restore = args[5] == QLatin1String("restore");
    const QString database = QString::fromLatin1(restore ? SqlServer::MasterDatabase : SqlServer::ProgramDatabase);
    if (!server.open(database, QStringLiteral("sa"), args[3])) {
        print(QStringLiteral("error ") + server.errorText());
        return 1;
    }
    print(QStringLiteral("start"));
    try {
        if (restore)
            server.restore(args[6]);
        else
            server.backup(args[6]);
    } catch (const EDatabaseError &e) {
        print(QStringLiteral("error ") + e.message());
        return 1;
    }
    print(QStringLiteral("done"));
    return 0;
}

// --- the run ------------------------------------------------------------------------

struct Engine {
    QString name;
    QString server;
    QString password;
    QString database; // physical name
    QString folder;   // SQLite: the server folder
    bool sqlite = false;
};

struct Tally {
    int kills = 0;
    int cutShort = 0; // the desk was still working when killed
    int whole = 0;
    int intact = 0;
    int leftAfterKill = 0;
    int leftAfterNext = 0;
};

bool connect(const Engine &e, const char *database)
{
    SqlServer::setProgramDatabaseName(e.database);
    SetCurrentServer(SqlServer::create(e.server));
    return CurrentServer()->open(QString::fromLatin1(database), QStringLiteral("sa"), e.password);
}

// The customers as one fingerprint, or empty when the database cannot be read.
QString fingerprint(const Engine &e)
{
    QString rows;
    if (connect(e, SqlServer::ProgramDatabase)) {
        try {
            if (e.sqlite) {
                QSqlQuery check(CurrentConnection());
                if (!check.exec(QStringLiteral("PRAGMA integrity_check")) || !check.next()
                    || check.value(0).toString() != QLatin1String("ok"))
                    throw EDatabaseError(QStringLiteral("integrity"));
            }
            QSqlQuery q(CurrentConnection());
            if (q.exec(QStringLiteral("SELECT COUNT(*), SUM(ZAKAZNIK), SUM(LENGTH(JMENO)) FROM tab_zakaznik"))
                && q.next())
                rows = QStringLiteral("%1/%2/%3").arg(q.value(0).toString(), q.value(1).toString(),
                                                       q.value(2).toString());
        } catch (const EDatabaseError &) {
        }
    }
    SetCurrentServer(nullptr);
    return rows;
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return f.open(QIODevice::ReadOnly) && hash.addData(&f) ? hash.result() : QByteArray();
}

bool verifies(const Engine &e, const QString &path)
{
    const bool ok = connect(e, SqlServer::MasterDatabase) && CurrentServer()->verifyBackup(path);
    SetCurrentServer(nullptr);
    return ok;
}

// What an operation may leave: files beside the backups and in the server folder other
// than the program's own, the staging databases, and dump processes still running.
QStringList leftovers(const Engine &e, const QString &scratch, const QStringList &backups)
{
    QStringList found;
    for (const QString &name : QDir(scratch).entryList(QDir::Files))
        if (!backups.contains(name))
            found << name;
    if (e.sqlite) {
        // The database files with SQLite's own companions, which it takes up itself.
        const QStringList own{e.database + ".db", e.database + ".db-wal", e.database + ".db-shm",
                              e.database + ".db.lock", "master.db", "master.db-wal", "master.db-shm"};
        for (const QString &name : QDir(e.folder).entryList(QDir::Files))
            if (!own.contains(name))
                found << name;
    } else if (connect(e, SqlServer::MasterDatabase)) {
        QSqlQuery q(CurrentConnection());
        q.prepare(QStringLiteral("SELECT datname FROM pg_database WHERE datname LIKE :NAME"));
        q.bindValue(QStringLiteral(":NAME"), e.database + QStringLiteral("\\_%"));
        if (q.exec())
            while (q.next())
                found << q.value(0).toString();
        SetCurrentServer(nullptr);
    }
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = cmdline.readAll().replace('\0', ' ');
        if ((line.contains("pg_dump") || line.contains("pg_restore")) && line.contains(scratch.toUtf8()))
            found << QStringLiteral("process ") + pid;
    }
    return found;
}

class FaultRun {
public:
    FaultRun(const Engine &engine, int kills, QRandomGenerator &random)
        : m_e(engine), m_kills(kills), m_random(random)
    {
    }

    bool run();

private:
    // Starts the desk on one operation; waits for its "start". False when it fails before.
    bool startDesk(QProcess &desk, const QString &operation, const QString &file);
    // One complete operation; its time in ms, or -1.
    qint64 complete(const QString &operation, const QString &file);
    // The operation killed after `delayMs` from its start; whether it was still running.
    bool killed(const QString &operation, const QString &file, qint64 delayMs);
    qint64 usualTime(const QString &operation, const QString &file);
    void report(const QString &operation, qint64 usualMs, const Tally &t);

    Engine m_e;
    int m_kills;
    QRandomGenerator &m_random;
    QTemporaryDir m_scratch;
};

bool FaultRun::startDesk(QProcess &desk, const QString &operation, const QString &file)
{
    desk.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    desk.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--desk"), m_e.server, m_e.password, m_e.database, operation, file});
    if (!desk.waitForStarted())
        return false;
    while (!desk.canReadLine())
        if (!desk.waitForReadyRead(30000))
            return false;
    return desk.readLine().trimmed() == "start";
}

qint64 FaultRun::complete(const QString &operation, const QString &file)
{
    QProcess desk;
    if (!startDesk(desk, operation, file))
        return -1;
    QElapsedTimer t;
    t.start();
    // The work's own time, up to its "done": the end of the process comes after.
    while (!desk.canReadLine())
        if (!desk.waitForReadyRead(600000))
            return -1;
    const qint64 time = t.elapsed();
    const QByteArray answer = desk.readLine().trimmed();
    desk.waitForFinished(60000);
    if (answer != "done") {
        print(QStringLiteral("  %1 failed: %2").arg(operation, QString::fromUtf8(answer)));
        return -1;
    }
    return time;
}

bool FaultRun::killed(const QString &operation, const QString &file, qint64 delayMs)
{
    QProcess desk;
    if (!startDesk(desk, operation, file))
        return false;
    const bool finished = desk.waitForFinished(int(qMax<qint64>(1, delayMs)));
    if (!finished) {
        desk.kill();
        desk.waitForFinished();
    }
    return !finished;
}

qint64 FaultRun::usualTime(const QString &operation, const QString &file)
{
    QList<qint64> times;
    for (int i = 0; i < 3; ++i)
        times << complete(operation, file);
    std::sort(times.begin(), times.end());
    return times[1];
}

void FaultRun::report(const QString &operation, qint64 usualMs, const Tally &t)
{
    print(QStringLiteral("%1 %2 (%9 ms): %3 kills (%4 during the work): databases whole %5/%3, old backups "
                         "intact %6/%3, kills that left something %7, leftovers found after the next run %8")
              .arg(m_e.name, operation)
              .arg(t.kills)
              .arg(t.cutShort)
              .arg(t.whole)
              .arg(t.intact)
              .arg(t.leftAfterKill)
              .arg(t.leftAfterNext)
              .arg(usualMs));
}

bool FaultRun::run()
{
    const QString scratch = m_scratch.path();
    const QString old = scratch + QStringLiteral("/Old.bak");     // the rows before
    const QString now = scratch + QStringLiteral("/Now.bak");     // the rows of the database
    const QString target = scratch + QStringLiteral("/Target.bak");
    const QStringList backups{QStringLiteral("Old.bak"), QStringLiteral("Now.bak"), QStringLiteral("Target.bak")};

    // The database with its first rows, their backup, then other rows.
    if (!connect(m_e, SqlServer::ProgramDatabase))
        return false;
    const QString numbers = m_e.sqlite
        ? QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<%1) ").arg(Customers)
        : QString();
    const QString series = m_e.sqlite ? QStringLiteral("FROM n")
                                      : QStringLiteral("FROM generate_series(1,%1) AS n(i)").arg(Customers);
    bench::inTransaction([&] {
        exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO, ADRESA1) ") + numbers
             + QStringLiteral("SELECT i, 'Zákazník ' || i, 'Dlouhá ' || i ") + series);
    });
    SetCurrentServer(nullptr);
    if (complete(QStringLiteral("backup"), old) < 0)
        return false;
    const QString before = fingerprint(m_e);
    connect(m_e, SqlServer::ProgramDatabase);
    bench::inTransaction([&] {
        exec(QStringLiteral("DELETE FROM tab_zakaznik WHERE ZAKAZNIK % 3 = 0"));
        exec(QStringLiteral("UPDATE tab_zakaznik SET JMENO = JMENO || ' (změna)' WHERE ZAKAZNIK % 5 = 0"));
    });
    SetCurrentServer(nullptr);
    const QString after = fingerprint(m_e);
    if (complete(QStringLiteral("backup"), now) < 0 || !QFile::copy(old, target))
        return false;
    const QByteArray oldHash = fileHash(old);

    Tally backup;
    const qint64 backupTime = usualTime(QStringLiteral("backup"), target);
    QFile::remove(target);
    for (int i = 0; i < m_kills; ++i) {
        QFile::copy(old, target); // the backup of last week, about to be replaced
        ++backup.kills;
        backup.cutShort += killed(QStringLiteral("backup"), target, m_random.bounded(backupTime + 1));
        backup.whole += fingerprint(m_e) == after;
        backup.intact += fileHash(target) == oldHash || verifies(m_e, target);
        backup.leftAfterKill += !leftovers(m_e, scratch, backups).isEmpty();
        complete(QStringLiteral("backup"), target);
        const QStringList left = leftovers(m_e, scratch, backups);
        backup.leftAfterNext += left.size();
        if (!left.isEmpty())
            print(QStringLiteral("  left after the next backup: ") + left.join(QStringLiteral(", ")));
        QFile::remove(target);
    }
    report(QStringLiteral("backup"), backupTime, backup);

    Tally restore;
    const qint64 restoreTime = usualTime(QStringLiteral("restore"), old);
    complete(QStringLiteral("restore"), now);
    for (int i = 0; i < m_kills; ++i) {
        ++restore.kills;
        restore.cutShort += killed(QStringLiteral("restore"), old, m_random.bounded(restoreTime + 1));
        const QString rows = fingerprint(m_e);
        restore.whole += rows == before || rows == after;
        restore.intact += fileHash(old) == oldHash;
        restore.leftAfterKill += !leftovers(m_e, scratch, backups).isEmpty();
        complete(QStringLiteral("restore"), now); // the next run, and the rows of now again
        const QStringList left = leftovers(m_e, scratch, backups);
        restore.leftAfterNext += left.size();
        if (!left.isEmpty())
            print(QStringLiteral("  left after the next restore: ") + left.join(QStringLiteral(", ")));
    }
    report(QStringLiteral("restore"), restoreTime, restore);
    return fingerprint(m_e) == after;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 7 && args[1] == QLatin1String("--desk"))
        return runDesk(args);

    const int kills = args.size() > 1 ? args[1].toInt() : 30;
    const quint32 seed = args.size() > 2 ? args[2].toUInt() : QRandomGenerator::system()->generate();
    QRandomGenerator random(seed);
    print(QStringLiteral("seed %1, %2 kills per case, %3 customers").arg(seed).arg(kills).arg(Customers));

    QList<Engine> engines;
    QTemporaryDir folder;
    engines << Engine{QStringLiteral("SQLite"), folder.path() + QStringLiteral("/server"), QStringLiteral("sa-bench"),
                      QString::fromLatin1(SqlServer::ProgramDatabase), folder.path() + QStringLiteral("/server"), true};
    const QByteArray host = qgetenv("VALMEDO_TEST_PG_HOST");
    const QByteArray port = qgetenv("VALMEDO_TEST_PG_PORT");
    if (!host.isEmpty() && !port.isEmpty())
        engines << Engine{QStringLiteral("PostgreSQL"), QString::fromUtf8(host + ':' + port),
                          QString::fromUtf8(qgetenv("VALMEDO_TEST_PG_PASSWORD")),
                          QStringLiteral("valmedo4_bench_restorefaults"), QString(), false};
    else
        print(QStringLiteral("PostgreSQL: no test server in the environment, skipped"));

    bool ok = true;
    for (const Engine &e : engines) {
        try {
            // A fresh database: SQLite's first sa login installs it, PostgreSQL's is made anew.
            if (!e.sqlite) {
                if (!connect(e, SqlServer::MasterDatabase))
                    throw EDatabaseError(CurrentServer()->errorText());
                CurrentServer()->dropDatabase();
                CurrentServer()->createDatabase();
                SetCurrentServer(nullptr);
            }
            FaultRun run(e, kills, random);
            if (!run.run()) {
                print(e.name + QStringLiteral(": the run did not complete"));
                ok = false;
            }
            if (!e.sqlite && connect(e, SqlServer::MasterDatabase))
                CurrentServer()->dropDatabase();
            SetCurrentServer(nullptr);
        } catch (const EDatabaseError &err) {
            print(e.name + QStringLiteral(": failed: ") + err.message());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
