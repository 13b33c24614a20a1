#pragma once
#include <QByteArray>
#include <QString>

// The free filter: the WHERE part of a list typed as SQL, and the filter files that
// keep such texts.

// Whether the text holds a ";" outside quoted texts and names, that is a second
// statement after the list's own. A ";" in a comment counts too.
bool HasStatementSeparator(const QString &sql);

// The memo's text as a filter file: each of its lines ended by CR LF, in UTF-8.
QByteArray FilterFileBytes(const QString &memoText);
// A filter file as the memo's text: each of its lines ended by a line break (the
// WHERE part as the lists carry it). UTF-8, or Windows-1250 when the bytes are not
// UTF-8 (the files of the Windows desks).
QString FilterFileText(const QByteArray &bytes);
