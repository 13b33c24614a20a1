#pragma once
// Figures of a page beside the bare statements it runs: each the median of several runs
// taken in turn (ours, bare, ours …), in milliseconds.

#include "BenchSupport.h"

#include "core/database/Commands.h"

#include <QSqlRecord>
#include <QVariantMap>
#include <algorithm>
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

// The time of `work` in microseconds.
inline qint64 micro(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return t.nsecsElapsed() / 1000;
}

inline qint64 median(std::vector<qint64> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The medians of `ours` and `theirs` in microseconds, run in turn.
inline std::pair<qint64, qint64> inTurn(const std::function<void()> &ours, const std::function<void()> &theirs)
{
    std::vector<qint64> a, b;
    for (int i = 0; i < Rounds; ++i) {
        a.push_back(micro(ours));
        b.push_back(micro(theirs));
    }
    return {median(a), median(b)};
}

inline void figure(const QString &engine, const QString &what, std::pair<qint64, qint64> times)
{
    print(QStringLiteral("%1: %2: %3 ms, bare statements %4 ms")
              .arg(engine, what)
              .arg(times.first / 1000.0, 0, 'f', 1)
              .arg(times.second / 1000.0, 0, 'f', 1));
}

} // namespace bench
