#pragma once
#include <QByteArray>
#include <QtGlobal>
#include <array>

// The cipher of the system password file. Every detail is fixed by the files already written at
// the desks, including where it departs from the published algorithms: the 64-bit block cipher
// uses the Blowfish tables with its own round, and the key comes from a hash of its own.
// Words are unsigned 32-bit, taken from and put into bytes little-endian.

using TCipherKey = std::array<quint8, 16>;

struct TCipher64Context {
    quint32 P[18];
    quint32 S[4][256];
};

struct TCipher128Context {
    bool Encrypt = true;
    int Rounds = 0;               // 4 to 16
    quint32 Subkeys[16][2] = {};  // the subkey pairs
};

struct THashContext {
    int DigestIndex = 0;          // 0 to 255
    quint8 Digest[256] = {};
    int KeyIndex = 0;             // 0 to 7 between calls
    quint32 K[4] = {};            // the 16-byte key as four little-endian words
};

// The published Blowfish initial values (the hexadecimal fraction of pi).
extern const quint32 BlowfishInitP[18];
extern const quint32 BlowfishInitS[4][256];

TCipher64Context InitCipher64(const TCipherKey &key);
void CipherBlock64(const TCipher64Context &context, quint8 *block, bool encrypt);

TCipher128Context InitCipher128(const TCipherKey &key, int rounds, bool encrypt);
void CipherBlock128(const TCipher128Context &context, quint8 *block);

void HashInit(THashContext &context);
void HashUpdate(THashContext &context, const void *data, qsizetype size);
// Writes the first Min(256, digestSize) bytes of the digest.
void HashFinal(THashContext &context, quint8 *digest, int digestSize);
void HashBuffer(quint8 *digest, int digestSize, const void *data, qsizetype size);
// The text's bytes as they stand (the caller chooses their encoding).
void HashText(quint8 *digest, int digestSize, const QByteArray &text);
