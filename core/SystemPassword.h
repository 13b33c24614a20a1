#pragma once
#include "core/PwdCipher.h"

#include <QByteArray>
#include <QString>
#include <array>

class QIODevice;

// The system administrator's password file "Valmedo4.pwd": the 33-byte password record (one
// length byte, up to 32 Windows-1250 characters, zeros after them) enciphered as a 40-byte stream.
// Start-up writes it when asked and reads it back at every start into SystemPassword.

inline constexpr const char *PasswordFileName = "Valmedo4.pwd";
inline constexpr int PasswordMaxLength = 32;

using TPasswordRecord = std::array<quint8, 33>;

// The key of every encipherment: the 16-byte key hash over the program's key text, which is empty.
TCipherKey MakePasswordKey();

// Whether every character of `password` has its Windows-1250 byte (only such a password can be
// stored; the caller refuses another with a warning).
bool PasswordStorable(const QString &password);

// The record of the first 32 characters of `password`. Raises ECipherException when a character
// has no Windows-1250 byte.
TPasswordRecord MakePasswordRecord(const QString &password);
// The n characters of a record whose length byte is n.
QString PasswordRecordText(const TPasswordRecord &record);

// The record enciphered: always 40 bytes.
QByteArray EncipherPasswordRecord(const TPasswordRecord &record);
// Deciphers a password file from its start into a record. A file that deciphers to fewer than
// 33 bytes leaves the rest of the record zero; bytes beyond 33 are ignored. Raises
// ECipherException "Invalid file format" for a file shorter than 8 bytes, a damaged last block or
// a length byte above 32.
TPasswordRecord DecipherPasswordFile(QIODevice &file);

// Creates `fileName` anew (an existing file is overwritten), readable by its owner only, holding
// the enciphered record of `password`. Raises ECipherException when the password cannot be stored
// or the file cannot be written; a failed write leaves an existing file as it was.
void WritePasswordFile(const QString &fileName, const QString &password);
// The password kept in `fileName`. Raises ECipherException when the file cannot be opened or
// deciphered.
QString ReadPasswordFile(const QString &fileName);
