// Kills a desk at random moments of its backups, restores and resets, on each engine,
// and counts what a kill damaged or left behind:
//   databases whole     after the kill the program's database opens and holds exactly
//                       the rows it had before or the rows of the backup (of a reset:
//                       none, with the seed rows)
//   missing, empty,     after the kill the next log-in finds no database, one without
//   closed              tables, or one there that refuses it
//   old backups intact  the backup file being replaced (backup) is the old file or a
//                       new one that verifies; the file restored from is unchanged
//   leftovers           work files, staging databases or dump processes of the killed
//                       operation still there after the next, complete run of it
// Each kill comes at a moment drawn between the operation's start and its usual end.
// Then restores and resets run whole while a second desk process tries to log in at a
// moment drawn the same way and writes two rows once it can:
//   writes reported     the rows that desk was told were written
//   lost                of those, the rows not in the database once both have ended
//
// Run by hand, not in CTest (it takes some minutes):
//     source scripts/pg-test-server.sh && pg_test_start
//     build/bench/bench_restorefaults [runs per case, 30] [seed]
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

constexpr int WriterRows = 2;
// The backup files of the run, in its scratch folder: no leftovers.
const QStringList Backups{QStringLiteral("Old.bak"), QStringLiteral("Now.bak"), QStringLiteral("Target.bak")};

// --desk SERVER PASSWORD DATABASE backup|restore|reset FILE: says "start" right before
// the operation and "done" after it. The restore and the reset run from "master", as
// the start-up runs them.
int runDesk(const QStringList &args)
{
    SqlServer::setProgramDatabaseName(args[4]);
    SetCurrentServer(SqlServer::create(args[2]));
    SqlServer &server = *CurrentServer();
    const QString operation = args[5];
    const bool backup = operation == QLatin1String("backup");
    const QString database = QString::fromLatin1(backup ? SqlServer::ProgramDatabase : SqlServer::MasterDatabase);
    if (!server.open(database, QStringLiteral("sa"), args[3])) {
        print(QStringLiteral("error ") + server.errorText());
        return 1;
    }
    print(QStringLiteral("start"));
    try {
        if (backup)
            server.backup(args[6]);
        else if (operation == QLatin1String("restore"))
            server.restore(args[6]);
        else
            server.resetDatabase();
    } catch (const EDatabaseError &e) {
        print(QStringLiteral("error ") + e.message());
        return 1;
    }
    print(QStringLiteral("done"));
    return 0;
}

// --writer SERVER PASSWORD DATABASE FIRST DELAY: after DELAY ms tries to log in until it
// can (a minute at most), then writes customers FIRST and FIRST+1, saying "wrote N" for
// each one it was told is written, and ends.
int runWriter(const QStringList &args)
{
    SqlServer::setProgramDatabaseName(args[4]);
    SetCurrentServer(SqlServer::create(args[2]));
    SqlServer &server = *CurrentServer();
    const qint64 first = args[5].toLongLong();
    QThread::msleep(args[6].toULong());
    QElapsedTimer waited;
    waited.start();
    while (!server.open(QString::fromLatin1(SqlServer::ProgramDatabase), QStringLiteral("sa"), args[3])) {
        if (waited.elapsed() > 60000) {
            print(QStringLiteral("error ") + server.errorText());
            return 1;
        }
        QThread::msleep(20);
    }
    for (qint64 n = first; n < first + WriterRows; ++n) {
        try {
            exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (%1, 'Pokladna %1')").arg(n));
            print(QStringLiteral("wrote %1").arg(n));
        } catch (const EDatabaseError &e) {
            print(QStringLiteral("error ") + e.message());
        }
    }
    SetCurrentServer(nullptr);
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
    int missing = 0;
    int empty = 0;
    int closed = 0;
    int intact = 0;
    int leftAfterKill = 0;
    int leftAfterNext = 0;

    // Counts the database as the next log-in found it after a kill.
    void found(const QString &state, const QStringList &wholeStates)
    {
        whole += wholeStates.contains(state);
        missing += state == QLatin1String("missing");
        empty += state == QLatin1String("empty");
        closed += state == QLatin1String("closed");
    }
};

// Restores or resets run whole with a second desk logging in and writing meanwhile.
struct WriterTally {
    int runs = 0;
    int refused = 0; // the operation refused because the writer was connected
    int reported = 0;
    int lost = 0;
};

bool connect(const Engine &e, const char *database)
{
    SqlServer::setProgramDatabaseName(e.database);
    SetCurrentServer(SqlServer::create(e.server));
    return CurrentServer()->open(QString::fromLatin1(database), QStringLiteral("sa"), e.password);
}

// The database as the next log-in finds it: the customers as one fingerprint (with the
// media, which only a whole schema has), or "missing" (no database), "closed" (there,
// but the log-in is refused), "empty" (no tables) or "damaged".
QString fingerprint(const Engine &e)
{
    QString rows = QStringLiteral("damaged");
    if (!connect(e, SqlServer::ProgramDatabase)) {
        try {
            rows = connect(e, SqlServer::MasterDatabase) && !CurrentServer()->databaseExists()
                ? QStringLiteral("missing")
                : QStringLiteral("closed");
        } catch (const EDatabaseError &) {
        }
        SetCurrentServer(nullptr);
        return rows;
    }
    try {
        if (e.sqlite) {
            QSqlQuery check(CurrentConnection());
            if (!check.exec(QStringLiteral("PRAGMA integrity_check")) || !check.next()
                || check.value(0).toString() != QLatin1String("ok"))
                throw EDatabaseError(QStringLiteral("integrity"));
        }
        QSqlQuery q(CurrentConnection());
        if (q.exec(QStringLiteral("SELECT COUNT(*), SUM(ZAKAZNIK), SUM(LENGTH(JMENO)), "
                                  "(SELECT COUNT(*) FROM tab_nosic) FROM tab_zakaznik"))
            && q.next())
            rows = QStringLiteral("%1/%2/%3/%4").arg(q.value(0).toString(), q.value(1).toString(),
                                                      q.value(2).toString(), q.value(3).toString());
        else
            rows = QStringLiteral("empty");
    } catch (const EDatabaseError &) {
    }
    SetCurrentServer(nullptr);
    return rows;
}

// How many of the customers `numbers` the database holds; -1 when it cannot be read.
int customersThere(const Engine &e, const QList<qint64> &numbers)
{
    int there = -1;
    if (connect(e, SqlServer::ProgramDatabase)) {
        QStringList list;
        for (qint64 n : numbers)
            list << QString::number(n);
        try {
            there = numbers.isEmpty() ? 0
                                      : int(bench::count(QStringLiteral("SELECT COUNT(*) FROM tab_zakaznik "
                                                                        "WHERE ZAKAZNIK IN (%1)")
                                                             .arg(list.join(u','))));
        } catch (const EDatabaseError &) {
        }
    }
    SetCurrentServer(nullptr);
    return there;
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
    // One complete operation with a writer desk that starts `delayMs` after it, writing
    // customers from `first` on.
    void withWriter(const QString &operation, const QString &file, qint64 delayMs, qint64 first,
                    WriterTally &t);
    qint64 usualTime(const QString &operation, const QString &file);
    void report(const QString &operation, qint64 usualMs, const Tally &t);
    void report(const QString &operation, qint64 usualMs, const WriterTally &t);
    // Counts what the kill left and what the next complete run of the operation left.
    void afterKill(const QString &operation, const QString &file, const QStringList &wholeStates, Tally &t);

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

void FaultRun::withWriter(const QString &operation, const QString &file, qint64 delayMs, qint64 first,
                          WriterTally &t)
{
    QProcess desk;
    if (!startDesk(desk, operation, file))
        return;
    QProcess writer;
    writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    writer.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--writer"), m_e.server, m_e.password, m_e.database, QString::number(first),
                  QString::number(delayMs)});
    desk.waitForFinished(600000);
    writer.waitForFinished(120000);
    ++t.runs;
    t.refused += !desk.readAll().contains("done");
    QList<qint64> written;
    for (const QByteArray &line : writer.readAll().split('\n'))
        if (line.startsWith("wrote "))
            written << line.mid(6).trimmed().toLongLong();
    t.reported += int(written.size());
    const int there = customersThere(m_e, written);
    t.lost += there < 0 ? int(written.size()) : int(written.size()) - there;
}

void FaultRun::afterKill(const QString &operation, const QString &file, const QStringList &wholeStates, Tally &t)
{
    const QString state = fingerprint(m_e);
    t.found(state, wholeStates);
    if (!wholeStates.contains(state))
        print(QStringLiteral("  after a killed %1: %2").arg(operation, state));
    t.leftAfterKill += !leftovers(m_e, m_scratch.path(), Backups).isEmpty();
    complete(operation, file);
    const QStringList left = leftovers(m_e, m_scratch.path(), Backups);
    t.leftAfterNext += int(left.size());
    if (!left.isEmpty())
        print(QStringLiteral("  left after the next %1: %2").arg(operation, left.join(QStringLiteral(", "))));
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
    print(QStringLiteral("%1 %2 (%3 ms): %4 kills (%5 during the work): databases whole %6/%4, missing %7, "
                         "empty %8, closed to connections %9, old backups intact %10/%4, kills that left "
                         "something %11, leftovers found after the next run %12")
              .arg(m_e.name, operation)
              .arg(usualMs)
              .arg(t.kills)
              .arg(t.cutShort)
              .arg(t.whole)
              .arg(t.missing)
              .arg(t.empty)
              .arg(t.closed)
              .arg(t.intact)
              .arg(t.leftAfterKill)
              .arg(t.leftAfterNext));
}

void FaultRun::report(const QString &operation, qint64 usualMs, const WriterTally &t)
{
    print(QStringLiteral("%1 %2 (%3 ms) with a second desk writing: %4 runs (%5 refused for that desk), "
                         "writes reported %6, lost %7")
              .arg(m_e.name, operation)
              .arg(usualMs)
              .arg(t.runs)
              .arg(t.refused)
              .arg(t.reported)
              .arg(t.lost));
}

bool FaultRun::run()
{
    const QString scratch = m_scratch.path();
    const QString old = scratch + QStringLiteral("/Old.bak");     // the rows before
    const QString now = scratch + QStringLiteral("/Now.bak");     // the rows of the database
    const QString target = scratch + QStringLiteral("/Target.bak");

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
        backup.found(fingerprint(m_e), {after});
        backup.intact += fileHash(target) == oldHash || verifies(m_e, target);
        backup.leftAfterKill += !leftovers(m_e, scratch, Backups).isEmpty();
        complete(QStringLiteral("backup"), target);
        const QStringList left = leftovers(m_e, scratch, Backups);
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
        restore.intact += fileHash(old) == oldHash;
        // The next run restores the rows of now again.
        afterKill(QStringLiteral("restore"), now, {before, after}, restore);
    }
    report(QStringLiteral("restore"), restoreTime, restore);

    Tally reset;
    const qint64 resetTime = usualTime(QStringLiteral("reset"), QStringLiteral("-"));
    const QString fresh = fingerprint(m_e);
    for (int i = 0; i < m_kills; ++i) {
        complete(QStringLiteral("restore"), now); // rows that a reset must not lose half-way
        ++reset.kills;
        reset.cutShort += killed(QStringLiteral("reset"), QStringLiteral("-"), m_random.bounded(resetTime + 1));
        reset.intact += fileHash(old) == oldHash;
        afterKill(QStringLiteral("reset"), QStringLiteral("-"), {after, fresh}, reset);
    }
    report(QStringLiteral("reset"), resetTime, reset);

    // Writers number their customers above the shop's.
    qint64 first = Customers + 1;
    WriterTally restoreWrites;
    for (int i = 0; i < m_kills; ++i, first += WriterRows)
        withWriter(QStringLiteral("restore"), now, m_random.bounded(restoreTime + 1), first, restoreWrites);
    report(QStringLiteral("restore"), restoreTime, restoreWrites);
    WriterTally resetWrites;
    for (int i = 0; i < m_kills; ++i, first += WriterRows)
        withWriter(QStringLiteral("reset"), QStringLiteral("-"), m_random.bounded(resetTime + 1), first, resetWrites);
    report(QStringLiteral("reset"), resetTime, resetWrites);

    complete(QStringLiteral("restore"), now);
    return fingerprint(m_e) == after;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 7 && args[1] == QLatin1String("--desk"))
        return runDesk(args);
    if (args.size() == 7 && args[1] == QLatin1String("--writer"))
        return runWriter(args);

    const int kills = args.size() > 1 ? args[1].toInt() : 30;
    const quint32 seed = args.size() > 2 ? args[2].toUInt() : QRandomGenerator::system()->generate();
    QRandomGenerator random(seed);
    print(QStringLiteral("seed %1, %2 runs per case, %3 customers").arg(seed).arg(kills).arg(Customers));

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
