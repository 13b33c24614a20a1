#pragma once
#include <QByteArray>
#include <QString>

// The free filter: the WHERE part of a list typed as SQL, and the filter files that
// keep such texts.

// The first word of a free filter's text that the program does not run, or an empty
// text when it may run. Allowed is one condition in the SQL both engines read alike:
// '…' texts (a quote doubled inside, nothing escaped), numbers, the names of the shop's
// tables and columns (the users' passwords and rights excepted; the users' table is
// never read after FROM or JOIN), aliases the text gives its tables and subselects, a
// short list of keywords and functions, the operators = <> != < > <= >= + - * / % ||,
// parentheses, commas and the dot between a table and its column. Anything else
// outside a text (";", a comment, "::", "$", a schema, another function, UNION ...) is
// refused. Keywords and names are read without regard to letter case.
QString RefusedFilterWord(const QString &where);

// The memo's text as a filter file: each of its lines ended by CR LF, in UTF-8.
QByteArray FilterFileBytes(const QString &memoText);
// A filter file as the memo's text: each of its lines ended by a line break (the
// WHERE part as the lists carry it). UTF-8, or Windows-1250 when the bytes are not
// UTF-8 (the files of the Windows desks).
QString FilterFileText(const QByteArray &bytes);
// The memo's text as the WHERE part the lists carry: each of its lines ended by a line
// break, so that a list's ORDER BY part, joined after it, stands on a line of its own even
// when the clerk's last line has no break.
QString FilterWherePart(const QString &memoText);
