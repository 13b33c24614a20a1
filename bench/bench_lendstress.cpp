// Several desks lending and returning the same few videos at once, on each engine
// (BenchSupport.h): 2, 4 and 8 desk processes (or the counts given on the command line) each
// make 1 000 attempts, in rounds in which every desk either lends one of three videos to its
// own customer or returns one of them as scanned at the return page (everything its holder
// has out, into the takings or not), so that the videos are freed by real returns. With
// --lend-only every attempt is a lend and this program frees the videos between rounds with
// its own statement. It prints the attempts, the lends and returns written, the refusals, the
// failures, duplicate document numbers and videos lent twice (both must be 0), the journal's
// checks afterwards (each must be 0) and the writes per second.
// Run by hand: it takes a while.

#include "BenchSupport.h"
#include "DeskJournal.h"

#include "support/LendDesks.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <memory>

namespace {

using bench::print;

constexpr int AttemptsPerDesk = 1000;
constexpr int Videos = 3;

void Stress(const QString &engine, int desks, bool lendOnly)
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

    const QString run = QStringLiteral("%1, %2 desks, %3").arg(engine).arg(desks).arg(lendOnly ? QStringLiteral("lends") : QStringLiteral("lends and returns"));
    QRandomGenerator random(desks);
    bench::DeskReports reports;
    qint64 attempts = 0, lendRefusals = 0, returnRefusals = 0, notOut = 0, failed = 0, lentTwice = 0, time = 0;
    std::vector<bool> lending(desks);
    for (int round = 0; round < AttemptsPerDesk; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int d = 0; d < desks; ++d) {
            const qint64 video = random.bounded(Videos) + 1;
            lending[d] = lendOnly || random.bounded(2) == 0;
            if (lending[d])
                processes[d]->lend(d + 1, {video});
            else
                processes[d]->back(video, random.bounded(2) == 1);
        }
        for (int d = 0; d < desks; ++d) {
            const QString reply = processes[d]->reply();
            ++attempts;
            if (reports.note(reply))
                continue;
            if (reply.startsWith(QLatin1String("refused not-out "))) {
                ++notOut;
            } else if (reply.startsWith(QLatin1String("refused "))) {
                ++(lending[d] ? lendRefusals : returnRefusals);
            } else {
                ++failed;
                if (failed <= 3)
                    print(QStringLiteral("%1: %2").arg(run, reply));
            }
        }
        time += timer.nsecsElapsed();
        lentTwice += bench::videosOutTwice();
        if (lendOnly)
            FreeLentVideos();
    }
    processes.clear();
    const bench::JournalFindings journal = bench::checkJournal();
    print(QStringLiteral("%1: %2 attempts, %3 lends and %4 returns written, %5 refusals (%6 of lends, %7 of returns "
                         "taken back meanwhile, %8 of videos not out), %9 failures, %10 duplicate document numbers, "
                         "%11 videos lent twice, %12 closed lines without return time, %13 reported writes not in the "
                         "journal, %14 writes/s")
              .arg(run)
              .arg(attempts)
              .arg(reports.lends())
              .arg(reports.returns())
              .arg(lendRefusals + returnRefusals + notOut)
              .arg(lendRefusals)
              .arg(returnRefusals)
              .arg(notOut)
              .arg(failed)
              .arg(reports.duplicateNumbers())
              .arg(lentTwice)
              .arg(journal.closedWithoutTime)
              .arg(reports.missing())
              .arg(double(reports.lends() + reports.returns()) / (double(time) / 1e9), 0, 'f', 1));
    print(QStringLiteral("%1: journal %2: %3").arg(run, journal.sound() ? QStringLiteral("sound") : QStringLiteral("UNSOUND"), journal.text()));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (const std::optional<int> desk = RunAsLendDesk())
        return *desk;
    QStringList arguments = app.arguments().mid(1);
    const bool lendOnly = arguments.removeAll(QStringLiteral("--lend-only")) > 0;
    QList<int> deskCounts;
    for (const QString &argument : arguments)
        deskCounts << argument.toInt();
    if (deskCounts.isEmpty())
        deskCounts = {2, 4, 8};
    return bench::runOnEngines(QStringLiteral("valmedo4_bench_lendstress"), [&](const QString &engine, bool) {
        for (int desks : deskCounts)
            Stress(engine, desks, lendOnly);
    });
}
