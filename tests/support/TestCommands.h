#pragma once
#include <QList>
#include <QString>
#include <QStringList>

class DataSet;

// Statements of a test on the program's connection, through the command routines. Each
// throws EDatabaseError when the statement is refused.

// Runs one statement.
void Exec(const QString &sql);
// The first value of the first row, as a number.
qint64 ValueOf(const QString &sql);
// The customers as "ZAKAZNIK=JMENO" in number order, joined by commas.
QString CustomerRows();
// Every row of the table as its values' own texts joined by "|", in the order of its first
// column.
QStringList TableRows(const QString &table);
// The rows of a statement, each its values joined by "|": null as `nullText`, times as
// "yyyy-MM-dd hh:mm", amounts (sums and the money columns) exact ("12.5000"), so both engines
// give the same text.
QStringList TestRows(const QString &sql, const QString &nullText = QStringLiteral("NULL"));
// The numbers of a list's first column, row by row in its order, whatever its current row.
QList<qint64> ListedNumbers(const DataSet &list);
