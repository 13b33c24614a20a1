#include "core/PwdStream.h"

#include <QIODevice>

namespace {

const char *const InvalidFileFormat = "Invalid file format";

void ReadBlock(QIODevice &in, quint8 *block, qint64 count)
{
    if (count == 0)
        return;
    if (in.read(reinterpret_cast<char *>(block), count) != count)
        throw ECipherException(QString::fromLatin1(InvalidFileFormat));
}

void WriteBytes(QIODevice &out, const quint8 *bytes, qint64 count)
{
    if (count > 0 && out.write(reinterpret_cast<const char *>(bytes), count) != count)
        throw ECipherException(out.errorString());
}

} // namespace

void CipherStream(QIODevice &in, QIODevice &out, const TCipherKey &key, bool encrypt)
{
    const TCipher64Context context = InitCipher64(key);
    const qint64 size = in.size();
    const qint64 blocks = size / 8 + (encrypt ? 1 : 0);
    quint8 block[8];

    for (qint64 k = 0; k + 1 < blocks; ++k) {
        ReadBlock(in, block, 8);
        CipherBlock64(context, block, encrypt);
        WriteBytes(out, block, 8);
    }

    if (encrypt) {
        std::fill(std::begin(block), std::end(block), quint8(0));
        const int n = int(size % 8);
        ReadBlock(in, block, n);
        block[7] = quint8(n);
        CipherBlock64(context, block, true);
        WriteBytes(out, block, 8);
    } else {
        ReadBlock(in, block, 8);  // an input shorter than 8 bytes has no block at all
        CipherBlock64(context, block, false);
        // The count of a stream the cipher wrote is 0 to 7; anything else is damage, and its
        // bytes beyond the block must not be written out.
        if (block[7] > 7)
            throw ECipherException(QString::fromLatin1(InvalidFileFormat));
        WriteBytes(out, block, block[7]);
    }
}
