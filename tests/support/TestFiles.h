#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// Replaces the file at `path` with `bytes`; false when it cannot be written.
bool WriteBytes(const QString &path, const QByteArray &bytes);
// The bytes of the file at `path`; empty when it cannot be read.
QByteArray ReadBytes(const QString &path);
// The lines of the log "Valmedo4.log" in the working folder, without their date and time.
QStringList LogFileTexts();

enum class Engine;

// Writes at `path` a backup file that a restore must refuse, made from the good backup `good`
// of `engine`: "missing" (nothing), "empty", "damaged" (the first 64 bytes overwritten),
// "truncated" (the first third), "text" (a text file) or "foreign" (on SQLite a database file
// of another program, on PostgreSQL a text file). False when it cannot be written.
bool WriteBadBackup(Engine engine, const QString &kind, const QString &good, const QString &path);
