#include "core/database/Clock.h"

namespace {
struct RunClock {
    QDate runDate;
    std::function<QDateTime()> clock;
};

RunClock &runClock()
{
    static RunClock c;
    return c;
}
} // namespace

QDate RunDate()
{
    RunClock &c = runClock();
    if (!c.runDate.isValid())
        c.runDate = Now().date();
    return c.runDate;
}

void SetRunDate(QDate date) { runClock().runDate = date; }

QDateTime Now()
{
    const RunClock &c = runClock();
    return c.clock ? c.clock() : QDateTime::currentDateTime();
}

void SetClock(std::function<QDateTime()> clock)
{
    runClock().clock = std::move(clock);
}
