#pragma once
#include "core/database/Padding.h" // TrimmedRight

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>

// The program's fixed date and time texts. They never follow the machine's locale: a desk in
// the C locale and one in Czech write the same log lines and the same stored dates.
inline constexpr const char *ShortDateFormat = "d.M.yyyy";
inline constexpr const char *LongTimeFormat = "H:mm:ss";

QString ShortDateText(const QDate &date);       // "d.M.yyyy"
QString LongTimeText(const QTime &time);        // "H:mm:ss"
QString DateTimeText(const QDateTime &moment);  // short date, one blank, long time
// Reads a "d.M.yyyy" text; an invalid QDate when it is not one.
QDate DateFromShortText(const QString &text);

// Text files the program reads: UTF-8, or Windows-1250 (the files of the Windows desks) when the
// bytes are not valid UTF-8. A UTF-8 byte order mark is dropped.
QString DecodeText(const QByteArray &bytes);
// Windows-1250 bytes to text. The five bytes the code page leaves unassigned (0x81, 0x83,
// 0x88, 0x90, 0x98) read as the C1 controls of the same number, so every byte round-trips.
QString DecodeWindows1250(const QByteArray &bytes);
// Text to Windows-1250 bytes; nothing when a character has no Windows-1250 byte.
std::optional<QByteArray> EncodeWindows1250(const QString &text);

// The lines of a memo's plain text. An empty last line after a final line break is not a
// line: "a\nb\n" has two lines, an empty memo none.
QStringList MemoLines(const QString &text);
