#include "core/PwdCipher.h"
#include "core/PwdStream.h"
#include "core/SystemPassword.h"
#include "core/Texts.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The password file's format is fixed by the files already written at the desks: the bytes
// pinned here were checked against a second, independent reading of the algorithm.
class TestCipher : public QObject {
    Q_OBJECT

private:
    static QByteArray Cipher(const QByteArray &plain, bool encrypt)
    {
        QByteArray inBytes = plain, outBytes;
        QBuffer in(&inBytes), out(&outBytes);
        in.open(QIODevice::ReadOnly);
        out.open(QIODevice::WriteOnly);
        CipherStream(in, out, MakePasswordKey(), encrypt);
        return outBytes;
    }
    static QByteArray RecordBytes(const TPasswordRecord &record)
    {
        return QByteArray(reinterpret_cast<const char *>(record.data()), qsizetype(record.size()));
    }
    static TPasswordRecord Decipher(const QByteArray &file)
    {
        QByteArray bytes = file;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        return DecipherPasswordFile(buffer);
    }
    static QString CipherError(const QByteArray &file)
    {
        try {
            Decipher(file);
        } catch (const ECipherException &e) {
            return e.message();
        }
        return QString();
    }

private slots:
    void keyHashOverEmptyText()
    {
        // The empty text still runs the eight fill bytes through one key mix.
        const TCipherKey key = MakePasswordKey();
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(key.data()), 16).toHex(),
                 QByteArray("0bd132aa831c56ac1f92e61084a342d2"));
        quint8 digest[300];
        std::fill(std::begin(digest), std::end(digest), quint8(0xEE));
        HashText(digest, 300, QByteArray());
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(digest), 16),
                 QByteArray(reinterpret_cast<const char *>(key.data()), 16));
        QCOMPARE(digest[256], quint8(0xEE));  // never more than the 256 digest bytes
    }

    void pinnedPrimitives()
    {
        quint8 digest[32];
        HashText(digest, 32, QByteArray("Valmedo 4"));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(digest), 32).toHex(),
                 QByteArray("bbed56ba63bde072d85ffaa17b0a3fe26dd6a1d28ed8837c2a49054009b8f4d2"));

        TCipherKey key;
        for (int i = 0; i < 16; ++i)
            key[i] = quint8(i);
        quint8 block16[16];
        for (int i = 0; i < 16; ++i)
            block16[i] = quint8(i);
        CipherBlock128(InitCipher128(key, 8, true), block16);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(block16), 16).toHex(),
                 QByteArray("87d5e852cf17cc091e2c3c0517ed6a78"));

        quint8 block8[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        CipherBlock64(InitCipher64(key), block8, true);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(block8), 8).toHex(),
                 QByteArray("7f7eb76d2669e582"));
    }

    void cipher128Inverts_data()
    {
        QTest::addColumn<int>("rounds");
        QTest::newRow("4") << 4;
        QTest::newRow("8") << 8;
        QTest::newRow("16") << 16;
        QTest::newRow("below 4 runs 4") << 1;
        QTest::newRow("above 16 runs 16") << 40;
    }
    void cipher128Inverts()
    {
        QFETCH(int, rounds);
        TCipherKey key;
        for (int i = 0; i < 16; ++i)
            key[i] = quint8(0xA0 + 7 * i);
        quint8 block[16], original[16];
        for (int i = 0; i < 16; ++i)
            original[i] = block[i] = quint8(i * 13 + 5);
        const TCipher128Context encipher = InitCipher128(key, rounds, true);
        QCOMPARE(encipher.Rounds, qBound(4, rounds, 16));
        CipherBlock128(encipher, block);
        QVERIFY(memcmp(block, original, 16) != 0);
        CipherBlock128(InitCipher128(key, rounds, false), block);
        QVERIFY(memcmp(block, original, 16) == 0);
    }

    void oneBitDifferenceStaysOneBit_data()
    {
        QTest::addColumn<int>("bit");
        for (int bit : {0, 7, 31, 32, 45, 63})
            QTest::newRow(qPrintable(QString::number(bit))) << bit;
    }
    void oneBitDifferenceStaysOneBit()
    {
        // Each F value enters its half an even number of times and cancels.
        QFETCH(int, bit);
        const TCipher64Context context = InitCipher64(MakePasswordKey());
        quint8 a[8] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0};
        quint8 b[8];
        std::copy(std::begin(a), std::end(a), b);
        b[bit / 8] ^= quint8(1 << (bit % 8));
        CipherBlock64(context, a, true);
        CipherBlock64(context, b, true);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(quint8(a[i] ^ b[i]), quint8(i == bit / 8 ? 1 << (bit % 8) : 0));
    }

    void threeCharacterPasswordFile()
    {
        const TPasswordRecord record = MakePasswordRecord(QStringLiteral("abc"));
        QByteArray expectedRecord(33, '\0');
        expectedRecord[0] = 3;
        expectedRecord.replace(1, 3, "abc");
        QCOMPARE(RecordBytes(record), expectedRecord);

        const QByteArray file = EncipherPasswordRecord(record);
        QCOMPARE(file.toHex(), QByteArray("d42d0601883ffb0dd74c6462883ffb0dd74c6462883ffb0d"
                                          "d74c6462883ffb0dd74c6462883ffb0c"));
        QCOMPARE(RecordBytes(Decipher(file)), expectedRecord);
        // Deciphered as a plain stream, the file gives back exactly the 33 record bytes.
        QCOMPARE(Cipher(file, false), expectedRecord);
    }

    void passwordSurvivesTheFile_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("empty") << QString() << QString()
                               << QByteArray::fromHex("d74c6462883ffb0dd74c6462883ffb0dd74c6462883ffb0d"
                                                      "d74c6462883ffb0dd74c6462883ffb0c");
        const QString czech = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské");
        QTest::newRow("czech, cut to 32") << czech << czech.left(32)
                                          << QByteArray::fromHex("f71c9c8fe456612d492011ffe74a1366"
                                                                 "2a6c0f9b7a1f017d3b20448d695d9e61"
                                                                 "a44c6462883ffb0c");
        const QString full = QStringLiteral("0123456789abcdefghijklmnopqrstuv");
        QTest::newRow("32 characters") << full << full << QByteArray();
    }
    void passwordSurvivesTheFile()
    {
        QFETCH(QString, password);
        QFETCH(QString, stored);
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        const QString name = dir.filePath(QString::fromLatin1(PasswordFileName));
        // An existing file readable by others is overwritten and closed to them.
        {
            QFile old(name);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(100, 'x'));
            old.close();
            old.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                               | QFileDevice::ReadOther | QFileDevice::ReadGroup);
        }
        WritePasswordFile(name, password);
        QFile written(name);
        QCOMPARE(written.permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        QCOMPARE(bytes.size(), 40);
        if (!file.isEmpty())
            QCOMPARE(bytes.toHex(), file.toHex());
        QCOMPARE(ReadPasswordFile(name), stored);
    }

    void characterOutsideCodePageIsRefused()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("x.pwd"));
        QVERIFY(!PasswordStorable(QStringLiteral("heslo\u263A")));
        QVERIFY(PasswordStorable(QStringLiteral("heslo€")));
        QVERIFY_THROWS_EXCEPTION(ECipherException,
                                 WritePasswordFile(name, QStringLiteral("heslo\u263A")));
        QVERIFY(!QFile::exists(name));
    }

    void emptyStreamIsOneBlock()
    {
        const QByteArray cipher = Cipher(QByteArray(), true);
        QCOMPARE(cipher.toHex(), QByteArray("d74c6462883ffb0d"));
        QCOMPARE(Cipher(cipher, false), QByteArray());
    }

    void streamRoundTrip_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {1, 7, 8, 9, 16, 33, 100})
            QTest::newRow(qPrintable(QString::number(size))) << size;
    }
    void streamRoundTrip()
    {
        QFETCH(int, size);
        QByteArray plain(size, '\0');
        for (int i = 0; i < size; ++i)
            plain[i] = char(i * 37 + 11);
        const QByteArray cipher = Cipher(plain, true);
        QCOMPARE(cipher.size(), (size / 8 + 1) * 8);
        QCOMPARE(Cipher(cipher, false), plain);
    }

    void damagedFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        const TCipher64Context context = InitCipher64(MakePasswordKey());
        const auto block = [&](std::initializer_list<int> plain) {
            quint8 b[8];
            int i = 0;
            for (int v : plain)
                b[i++] = quint8(v);
            CipherBlock64(context, b, true);
            return QByteArray(reinterpret_cast<const char *>(b), 8);
        };
        const QByteArray valid = EncipherPasswordRecord(MakePasswordRecord(QStringLiteral("abc")));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("1 byte") << valid.left(1);
        QTest::newRow("7 bytes") << valid.left(7);
        QTest::newRow("last block counts 8") << valid.left(32) + block({1, 2, 3, 4, 5, 6, 7, 8});
        QTest::newRow("last block counts 255") << block({1, 2, 3, 4, 5, 6, 7, 255});
        TPasswordRecord tooLong = MakePasswordRecord(QString(32, QLatin1Char('a')));
        tooLong[0] = 33;
        QTest::newRow("length byte 33") << EncipherPasswordRecord(tooLong);
        tooLong[0] = 255;
        QTest::newRow("length byte 255") << EncipherPasswordRecord(tooLong);
    }
    void damagedFiles()
    {
        QFETCH(QByteArray, file);
        QCOMPARE(CipherError(file), QStringLiteral("Invalid file format"));
    }

    void extraBytesAreIgnored()
    {
        const TPasswordRecord record = MakePasswordRecord(QStringLiteral("tajne"));
        const QByteArray file = EncipherPasswordRecord(record);
        // A 41-byte file reads as its first 40 bytes.
        QCOMPARE(RecordBytes(Decipher(file + 'Z')), RecordBytes(record));
        // A file deciphering to more than the record fills the record and no more.
        const QByteArray longer = Cipher(RecordBytes(record) + QByteArray("0123456"), true);
        QCOMPARE(longer.size(), 48);
        QCOMPARE(RecordBytes(Decipher(longer)), RecordBytes(record));
        // A file deciphering to fewer bytes leaves the rest of the record zero.
        const QByteArray shorter = Cipher(RecordBytes(record).left(3), true);
        QCOMPARE(PasswordRecordText(Decipher(shorter)), QString::fromLatin1("ta\0\0\0", 5));
    }

    void missingFileIsAnError()
    {
        QTemporaryDir dir;
        QVERIFY_THROWS_EXCEPTION(ECipherException,
                                 ReadPasswordFile(dir.filePath(QStringLiteral("none.pwd"))));
    }

    void windows1250UpperHalf()
    {
        // The upper 128 bytes of code page 1250, as the password record and old text files hold them.
        static const char16_t expected[128] = {
            0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,
            0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
            0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
            0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
            0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
            0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
            0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
            0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
            0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
            0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
            0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
            0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
            0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
            0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
            0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
        };
        QByteArray bytes;
        for (int i = 128; i < 256; ++i)
            bytes.append(char(i));
        const QString text = DecodeWindows1250(bytes);
        QCOMPARE(text, QString::fromUtf16(expected, 128));
        QCOMPARE(EncodeWindows1250(text).value_or(QByteArray()), bytes);
    }

    void textDecoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-8") << QByteArray("\xc5\xbelu\xc5\xa5ou\xc4\x8dk\xc3\xbd")
                               << QStringLiteral("žluťoučký");
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xef\xbb\xbf\xc4\x8d") << QStringLiteral("č");
        QTest::newRow("Windows-1250") << QByteArray("\x9elu\x9dou\xe8k\xfd")
                                      << QStringLiteral("žluťoučký");
        QTest::newRow("ASCII") << QByteArray("Ok\r\n") << QStringLiteral("Ok\r\n");
    }
    void textDecoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(DecodeText(bytes), text);
    }

    void fixedDateAndTimeTexts()
    {
        const QDateTime moment(QDate(2024, 3, 5), QTime(8, 5, 7));
        QCOMPARE(ShortDateText(moment.date()), QStringLiteral("5.3.2024"));
        QCOMPARE(LongTimeText(moment.time()), QStringLiteral("8:05:07"));
        QCOMPARE(DateTimeText(moment), QStringLiteral("5.3.2024 8:05:07"));
        QCOMPARE(DateFromShortText(QStringLiteral("31.12.2023")), QDate(2023, 12, 31));
        QVERIFY(!DateFromShortText(QStringLiteral("31.13.2023")).isValid());
    }
};

QTEST_GUILESS_MAIN(TestCipher)
#include "tst_cipher.moc"
