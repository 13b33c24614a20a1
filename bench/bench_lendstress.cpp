// Several desks lending the same few videos at once, on each engine (BenchSupport.h): 2, 4
// and 8 desk processes (or the counts given on the command line) each make 1 000 lend
// attempts, in rounds in which every desk lends one of three videos to its own customer;
// between rounds this program gives the videos back with its own statement. It prints the
// attempts, the lends written, the refusals, the failures, duplicate document numbers and
// videos lent twice (both must be 0), and the lends written per second.
// Run by hand: it takes a while.

#include "BenchSupport.h"

#include "support/LendDesks.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSet>
#include <memory>

namespace {

using bench::print;

constexpr int AttemptsPerDesk = 1000;
constexpr int Videos = 3;

void Stress(const QString &engine, int desks)
{
    bench::exec(QStringLiteral("DELETE FROM tab_pujckydetail"));
    bench::exec(QStringLiteral("DELETE FROM tab_pujcky"));
    bench::exec(QStringLiteral("DELETE FROM tab_video"));
    bench::exec(QStringLiteral("DELETE FROM tab_zakaznik"));
    bench::fillSmallShop(desks, Videos);

    const bench::EngineServer &server = bench::currentEngineServer();
    std::vector<std::unique_ptr<LendDeskProcess>> processes;
    for (int d = 0; d < desks; ++d) {
        processes.push_back(std::make_unique<LendDeskProcess>(server.serverName, SqlServer::programDatabaseName(),
                                                              server.password));
        QString error;
        if (!processes.back()->start(&error))
            throw EDatabaseError(QStringLiteral("a desk did not start: ") + error);
    }

    QRandomGenerator random(desks);
    qint64 attempts = 0, written = 0, refused = 0, failed = 0, lentTwice = 0, lendTime = 0;
    QSet<qint64> documents;
    qint64 duplicates = 0;
    for (int round = 0; round < AttemptsPerDesk; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int d = 0; d < desks; ++d)
            processes[d]->lend(d + 1, {qint64(random.bounded(Videos) + 1)});
        for (int d = 0; d < desks; ++d) {
            const QString reply = processes[d]->reply();
            ++attempts;
            if (reply.startsWith(QLatin1String("written "))) {
                ++written;
                const qint64 document = reply.section(QLatin1Char(' '), 1).toLongLong();
                if (documents.contains(document))
                    ++duplicates;
                documents.insert(document);
            } else if (reply.startsWith(QLatin1String("refused "))) {
                ++refused;
            } else {
                ++failed;
                if (failed <= 3)
                    print(QStringLiteral("%1, %2 desks: %3").arg(engine).arg(desks).arg(reply));
            }
        }
        lendTime += timer.nsecsElapsed();
        lentTwice += bench::count(QStringLiteral("SELECT COUNT(*) FROM (SELECT VIDEO FROM tab_pujckydetail WHERE PUJCENA=1 "
                                          "GROUP BY VIDEO HAVING COUNT(*)>1) twice"));
        bench::exec(QStringLiteral("UPDATE tab_pujckydetail SET PUJCENA=0 WHERE PUJCENA=1"));
    }
    processes.clear();
    duplicates += bench::count(QStringLiteral("SELECT COUNT(*) - COUNT(DISTINCT DOKLAD) FROM tab_pujcky"));
    print(QStringLiteral("%1, %2 desks: %3 attempts, %4 lends written, %5 refusals, %6 failures, %7 duplicate "
                         "document numbers, %8 videos lent twice, %9 lends/s")
              .arg(engine)
              .arg(desks)
              .arg(attempts)
              .arg(written)
              .arg(refused)
              .arg(failed)
              .arg(duplicates)
              .arg(lentTwice)
              .arg(double(written) / (double(lendTime) / 1e9), 0, 'f', 1));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (const std::optional<int> desk = RunAsLendDesk())
        return *desk;
    QList<int> deskCounts;
    for (int i = 1; i < argc; ++i)
        deskCounts << QString::fromLocal8Bit(argv[i]).toInt();
    if (deskCounts.isEmpty())
        deskCounts = {2, 4, 8};
    return bench::runOnEngines(QStringLiteral("valmedo4_bench_lendstress"), [&](const QString &engine, bool) {
        for (int desks : deskCounts)
            Stress(engine, desks);
    });
}
