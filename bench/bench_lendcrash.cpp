// A desk killed in the middle of its lends and returns, on each engine (BenchSupport.h): 100
// times a desk process starts lending random videos to random customers as fast as it can,
// returning every video it finds out with all its holder's videos (into the takings or not),
// and is killed with SIGKILL after a random moment. The database, empty at the start, is then
// checked: no lend or return document without its lines, no line without its lend document,
// every video out at most once, every closed line with its return time and, when it went
// into the takings, its return document, every customer's and video's lend count equal to
// its lines, and every lend and return a desk reported written still there under a number of
// its own. With --lend-only the desk only lends and frees the videos with a statement of its
// own. It prints what it found. Run by hand.

#include "BenchSupport.h"
#include "DeskJournal.h"

#include "support/LendDesks.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QThread>

namespace {

using bench::print;

constexpr int Kills = 100;
constexpr int Customers = 20;
constexpr int Videos = 50;

void Crash(const QString &engine, bool sqlite, bool lendOnly)
{
    bench::fillSmallShop(Customers, Videos);

    const bench::EngineServer &server = bench::currentEngineServer();
    QRandomGenerator random(20051104);
    bench::DeskReports reports;
    int started = 0;
    for (int kill = 0; kill < Kills; ++kill) {
        LendDeskProcess desk(server.serverName, SqlServer::programDatabaseName(), server.password);
        QString error;
        if (!desk.start(&error)) {
            print(QStringLiteral("%1: a desk did not start: %2").arg(engine, error));
            continue;
        }
        ++started;
        desk.send(QStringLiteral("%1 %2 %3 %4")
                      .arg(lendOnly ? QStringLiteral("loop-lends") : QStringLiteral("loop"))
                      .arg(random.generate())
                      .arg(Customers)
                      .arg(Videos));
        QThread::msleep(random.bounded(20, 300));
        desk.kill();
        // The lends and returns it reported before it died.
        for (const QByteArray &line : desk.process().readAllStandardOutput().split('\n'))
            reports.note(QString::fromUtf8(line).trimmed());
    }

    const bench::JournalFindings journal = bench::checkJournal();
    QString integrity = QStringLiteral("-");
    if (sqlite) {
        QSqlQuery q(CurrentConnection());
        if (q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next())
            integrity = q.value(0).toString();
    }
    const QString run = engine + (lendOnly ? QStringLiteral(", lends") : QStringLiteral(", lends and returns"));
    print(QStringLiteral("%1: %2 desks killed; %3 lends and %4 returns reported, %5 duplicate document numbers, "
                         "%6 not in the journal as reported; integrity check: %7")
              .arg(run)
              .arg(started)
              .arg(reports.lends())
              .arg(reports.returns())
              .arg(reports.duplicateNumbers())
              .arg(reports.missing())
              .arg(integrity));
    print(QStringLiteral("%1: journal %2: %3")
              .arg(run, journal.sound() ? QStringLiteral("sound") : QStringLiteral("UNSOUND"), journal.text()));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (const std::optional<int> desk = RunAsLendDesk())
        return *desk;
    const bool lendOnly = app.arguments().contains(QStringLiteral("--lend-only"));
    return bench::runOnEngines(QStringLiteral("valmedo4_bench_lendcrash"),
                               [&](const QString &engine, bool sqlite) { Crash(engine, sqlite, lendOnly); });
}
