// A desk killed in the middle of its lends, on each engine (BenchSupport.h): 100 times a desk
// process starts lending random videos to random customers as fast as it can and is killed
// with SIGKILL after a random moment. The database, empty at the start, is then checked: no
// document without its lines, no line without its document, every customer's and video's
// lend count equal to its lines, and every lend a desk reported written still there. It
// prints what it found. Run by hand.

#include "BenchSupport.h"

#include "support/LendDesks.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>

namespace {

using bench::print;

constexpr int Kills = 100;
constexpr int Customers = 20;
constexpr int Videos = 50;

void Crash(const QString &engine, bool sqlite)
{
    bench::fillSmallShop(Customers, Videos);

    const bench::EngineServer &server = bench::currentEngineServer();
    QRandomGenerator random(20051104);
    QSet<qint64> reported;
    int started = 0;
    for (int kill = 0; kill < Kills; ++kill) {
        LendDeskProcess desk(server.serverName, SqlServer::programDatabaseName(), server.password);
        QString error;
        if (!desk.start(&error)) {
            print(QStringLiteral("%1: a desk did not start: %2").arg(engine, error));
            continue;
        }
        ++started;
        desk.send(QStringLiteral("loop %1 %2 %3").arg(random.generate()).arg(Customers).arg(Videos));
        QThread::msleep(random.bounded(20, 300));
        desk.kill();
        // The lends it reported before it died.
        for (const QByteArray &line : desk.process().readAllStandardOutput().split('\n'))
            if (line.startsWith("written "))
                reported.insert(line.mid(8).trimmed().toLongLong());
    }

    const qint64 documents = bench::count(QStringLiteral("SELECT COUNT(*) FROM tab_pujcky"));
    const qint64 lines = bench::count(QStringLiteral("SELECT COUNT(*) FROM tab_pujckydetail"));
    const qint64 bareDocuments = bench::count(QStringLiteral(
        "SELECT COUNT(*) FROM tab_pujcky p WHERE NOT EXISTS (SELECT 1 FROM tab_pujckydetail d WHERE d.DOKLAD_PUJ=p.DOKLAD)"));
    const qint64 orphanLines = bench::count(QStringLiteral(
        "SELECT COUNT(*) FROM tab_pujckydetail d WHERE NOT EXISTS (SELECT 1 FROM tab_pujcky p WHERE p.DOKLAD=d.DOKLAD_PUJ)"));
    const qint64 customersOff = bench::count(QStringLiteral(
        "SELECT COUNT(*) FROM tab_zakaznik z WHERE PUJCKY<>(SELECT COUNT(*) FROM tab_pujckydetail d WHERE d.ZAKAZNIK=z.ZAKAZNIK)"));
    const qint64 videosOff = bench::count(QStringLiteral(
        "SELECT COUNT(*) FROM tab_video v WHERE VYPUJCENA<>(SELECT COUNT(*) FROM tab_pujckydetail d WHERE d.VIDEO=v.VIDEO)"));
    qint64 lost = 0;
    for (qint64 document : reported)
        lost += bench::count(QStringLiteral("SELECT CASE WHEN EXISTS (SELECT 1 FROM tab_pujcky WHERE DOKLAD=%1) THEN 0 ELSE 1 END")
                          .arg(document));
    QString integrity = QStringLiteral("-");
    if (sqlite) {
        QSqlQuery q(CurrentConnection());
        if (q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next())
            integrity = q.value(0).toString();
    }
    print(QStringLiteral("%1: %2 desks killed; %3 documents with %4 lines; %5 documents without lines, %6 lines "
                         "without a document, %7 customers and %8 videos whose lend count differs from their "
                         "lines, %9 of %10 reported lends missing; integrity check: %11")
              .arg(engine)
              .arg(started)
              .arg(documents)
              .arg(lines)
              .arg(bareDocuments)
              .arg(orphanLines)
              .arg(customersOff)
              .arg(videosOff)
              .arg(lost)
              .arg(reported.size())
              .arg(integrity));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (const std::optional<int> desk = RunAsLendDesk())
        return *desk;
    return bench::runOnEngines(QStringLiteral("valmedo4_bench_lendcrash"), Crash);
}
