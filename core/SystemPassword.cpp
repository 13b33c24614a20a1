#include "core/SystemPassword.h"

#include "core/PwdStream.h"
#include "core/Texts.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>

TCipherKey MakePasswordKey()
{
    TCipherKey key;
    HashText(key.data(), int(key.size()), QByteArray());
    return key;
}

bool PasswordStorable(const QString &password)
{
    return EncodeWindows1250(password.left(PasswordMaxLength)).has_value();
}

TPasswordRecord MakePasswordRecord(const QString &password)
{
    const std::optional<QByteArray> bytes = EncodeWindows1250(password.left(PasswordMaxLength));
    if (!bytes)
        throw ECipherException(QStringLiteral("Password character outside code page 1250"));
    TPasswordRecord record{};
    record[0] = quint8(bytes->size());
    std::copy(bytes->begin(), bytes->end(), record.begin() + 1);
    return record;
}

QString PasswordRecordText(const TPasswordRecord &record)
{
    const int n = qMin<int>(record[0], PasswordMaxLength);
    return DecodeWindows1250(
        QByteArray(reinterpret_cast<const char *>(record.data()) + 1, n));
}

QByteArray EncipherPasswordRecord(const TPasswordRecord &record)
{
    QByteArray plain(reinterpret_cast<const char *>(record.data()), qsizetype(record.size()));
    QBuffer in(&plain);
    in.open(QIODevice::ReadOnly);
    QByteArray cipher;
    QBuffer out(&cipher);
    out.open(QIODevice::WriteOnly);
    CipherStream(in, out, MakePasswordKey(), true);
    return cipher;
}

TPasswordRecord DecipherPasswordFile(QIODevice &file)
{
    file.seek(0);
    QByteArray plain;
    QBuffer out(&plain);
    out.open(QIODevice::WriteOnly);
    CipherStream(file, out, MakePasswordKey(), false);

    TPasswordRecord record{};
    const qsizetype n = qMin<qsizetype>(plain.size(), qsizetype(record.size()));
    std::copy(plain.cbegin(), plain.cbegin() + n, record.begin());
    if (record[0] > PasswordMaxLength)
        throw ECipherException(QStringLiteral("Invalid file format"));
    return record;
}

void WritePasswordFile(const QString &fileName, const QString &password)
{
    // Enciphered in memory first, then the whole file replaced at once: a failure never
    // leaves a half-written file behind.
    const QByteArray cipher = EncipherPasswordRecord(MakePasswordRecord(password));
    QSaveFile file(fileName);
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(ownerOnly)
        || file.write(cipher) != cipher.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw ECipherException(
            QStringLiteral("Cannot create file \"%1\": %2").arg(fileName, reason));
    }
}

QString ReadPasswordFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw ECipherException(
            QStringLiteral("Cannot open file \"%1\": %2").arg(fileName, file.errorString()));
    return PasswordRecordText(DecipherPasswordFile(file));
}
