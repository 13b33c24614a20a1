#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>

// The globals of one run: written by start-up, read everywhere.

// The business "today": the date taken once at start-up. Until start-up sets it, the
// first read takes the clock's date and keeps it.
QDate RunDate();
void SetRunDate(QDate date);

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

// The clock: the one place the program reads the current local date and time.
QDateTime Now();
// Tests put their own clock in; an empty function gives back the system clock.
void SetClock(std::function<QDateTime()> clock);
