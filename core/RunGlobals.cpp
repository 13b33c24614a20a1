#include "core/RunGlobals.h"

namespace {
struct Globals {
    QDate runDate;
    QString userName, userPassword, serverName, programTitle, programDir, systemPassword;
    std::function<QDateTime()> clock;
};

Globals &globals()
{
    static Globals g;
    return g;
}
} // namespace

QDate RunDate()
{
    Globals &g = globals();
    if (!g.runDate.isValid())
        g.runDate = Now().date();
    return g.runDate;
}

void SetRunDate(QDate date) { globals().runDate = date; }
QString UserName() { return globals().userName; }
void SetUserName(const QString &name) { globals().userName = name; }
QString UserPassword() { return globals().userPassword; }
void SetUserPassword(const QString &password) { globals().userPassword = password; }
QString ServerName() { return globals().serverName; }
void SetServerName(const QString &name) { globals().serverName = name; }
QString ProgramTitle() { return globals().programTitle; }
void SetProgramTitle(const QString &title) { globals().programTitle = title; }
QString ProgramDir() { return globals().programDir; }
void SetProgramDir(const QString &dir) { globals().programDir = dir; }
QString SystemPassword() { return globals().systemPassword; }
void SetSystemPassword(const QString &password) { globals().systemPassword = password; }

QDateTime Now()
{
    const Globals &g = globals();
    return g.clock ? g.clock() : QDateTime::currentDateTime();
}

void SetClock(std::function<QDateTime()> clock)
{
    globals().clock = std::move(clock);
}
