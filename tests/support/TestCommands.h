#pragma once
#include <QString>
#include <QStringList>

// Statements of a test on the program's connection, through the command routines. Each
// throws EDatabaseError when the statement is refused.

// Runs one statement.
void Exec(const QString &sql);
// The first value of the first row, as a number.
qint64 ValueOf(const QString &sql);
// The customers as "ZAKAZNIK=JMENO" in number order, joined by commas.
QString CustomerRows();
// Every row of the table as its values joined by "|", in the order of its first column.
QStringList TableRows(const QString &table);
