#pragma once
#include <QString>

// Statements of a test on the program's connection, through the command routines. Each
// throws EDatabaseError when the statement is refused.

// Runs one statement.
void Exec(const QString &sql);
// The first value of the first row, as a number.
qint64 ValueOf(const QString &sql);
// The customers as "ZAKAZNIK=JMENO" in number order, joined by commas.
QString CustomerRows();
