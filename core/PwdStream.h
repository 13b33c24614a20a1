#pragma once
#include "core/PwdCipher.h"

#include <QString>
#include <stdexcept>

class QIODevice;

// The error of the cipher units: a stream that is not one the cipher wrote.
class ECipherException : public std::runtime_error {
public:
    explicit ECipherException(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Enciphers or deciphers the stream `in`, from its current position, into `out` in 8-byte
// blocks. Enciphering S bytes gives S div 8 + 1 blocks; the last carries the S mod 8 remaining
// bytes and their count in its byte 7. Deciphering reads size div 8 blocks and ignores any bytes
// after them. Raises ECipherException "Invalid file format" when a block cannot be read whole, or
// when the last block's count is above 7 (a damaged stream; its bytes are never written out).
// What was written to `out` before the error stays written.
void CipherStream(QIODevice &in, QIODevice &out, const TCipherKey &key, bool encrypt);
