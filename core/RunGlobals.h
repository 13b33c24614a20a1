#pragma once
#include "core/database/Clock.h" // RunDate, Now

#include <QString>

// The globals of one run: written by start-up, read everywhere.

QString UserName();
void SetUserName(const QString &name);
QString UserPassword();
void SetUserPassword(const QString &password);
QString ServerName();
void SetServerName(const QString &name);
QString ProgramTitle();
void SetProgramTitle(const QString &title);
QString ProgramDir();
void SetProgramDir(const QString &dir);
QString SystemPassword();
void SetSystemPassword(const QString &password);
