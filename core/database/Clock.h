#pragma once
#include <QDate>
#include <QDateTime>
#include <functional>

// The date and time of the run, which the lookups judge a due date by as the desk does.

// The business "today": the date taken once at start-up. Until start-up sets it, the
// first read takes the clock's date and keeps it.
QDate RunDate();
void SetRunDate(QDate date);

// The clock: the one place the program reads the current local date and time.
QDateTime Now();
// Tests put their own clock in; an empty function gives back the system clock.
void SetClock(std::function<QDateTime()> clock);
