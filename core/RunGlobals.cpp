#include "core/RunGlobals.h"

namespace {
struct Globals {
    QString userName, userPassword, serverName, programTitle, programDir, systemPassword;
};

Globals &globals()
{
    static Globals g;
    return g;
}
} // namespace

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
