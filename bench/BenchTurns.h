#pragma once
// Figures of a page beside the bare statements it runs: both timed in turn, several
// rounds, the median of each printed in milliseconds.

#include "BenchSupport.h"

#include "core/controls/FindBoxes.h"
#include "core/database/Commands.h"

#include <QApplication>
#include <QLineEdit>
#include <QSqlRecord>
#include <QVariantMap>
#include <vector>

namespace bench {

inline constexpr int Rounds = 5;

// Reads every row and value of a statement, bound to its parameters.
inline int bare(const QString &text, const QVariantMap &parameters = {})
{
    SetCommand(text);
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it)
        SetCommandParam(it.key(), it.value());
    QSqlQuery q = ExecCommandRecordset();
    int rows = 0;
    const int n = q.record().count();
    while (q.next()) {
        for (int i = 0; i < n; ++i)
            q.value(i);
        ++rows;
    }
    return rows;
}

// The medians of `ours` and `theirs` in microseconds, run in turn; `between`, untimed,
// after each round (undoing what a round changed). A first round of each is not counted:
// whichever went first would pay alone for growing the heap and filling the engine's
// caches (the first open of the large customer list took two and a half times the next).
inline std::pair<qint64, qint64> inTurn(const std::function<void()> &ours, const std::function<void()> &theirs,
                                        const std::function<void()> &between = {})
{
    std::vector<qint64> a, b;
    for (int i = -1; i < Rounds; ++i) {
        const qint64 oursTime = micro(ours);
        const qint64 theirTime = micro(theirs);
        if (between)
            between();
        if (i >= 0) {
            a.push_back(oursTime);
            b.push_back(theirTime);
        }
    }
    return {median(a), median(b)};
}

// One key typed into a find box, which held nothing before: its proposals for `typed`, the
// locate and the hand-over of the row found, in turn with `bareStatements`. `shown` gets the
// number of proposals.
inline std::pair<qint64, qint64> typedInTurn(TFindComboBox *box, const QString &typed, int &shown,
                                             const std::function<void()> &bareStatements)
{
    return inTurn(
        [&] {
            box->ClearBox();
            box->lineEdit()->setText(typed);
            Q_EMIT box->lineEdit()->textEdited(typed);
            shown = box->count();
        },
        bareStatements);
}

// "ours ms, <bare> ms (ratio)" of the medians.
inline void figure(const QString &engine, const QString &what, std::pair<qint64, qint64> times,
                   const QString &bare = QStringLiteral("bare statements"))
{
    print(QStringLiteral("%1: %2: %3 ms, %4 %5 ms (%6)")
              .arg(engine, what)
              .arg(times.first / 1000.0, 0, 'f', 1)
              .arg(bare)
              .arg(times.second / 1000.0, 0, 'f', 1)
              .arg(double(times.first) / double(qMax<qint64>(1, times.second)), 0, 'f', 2));
}

// The main() of a page's benchmark: on each engine (in the database `pgDatabase` on
// PostgreSQL) the large shop filled, then `runPage` on it; the page is drawn offscreen
// unless another platform is asked for.
inline int pageMain(int argc, char *argv[], const QString &pgDatabase, const EngineWork &runPage)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return runOnEngines(pgDatabase, [&runPage](const QString &engine, bool sqlite) {
        const qint64 fill = timed([&] { fillLargeShop(sqlite); });
        print(QStringLiteral("%1: filled the shop in %2 ms").arg(engine).arg(fill));
        runPage(engine, sqlite);
    });
}

} // namespace bench
