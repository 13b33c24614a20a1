#include "support/TestFiles.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QStringList LogFileTexts()
{
    QStringList texts;
    const QString log = QString::fromUtf8(ReadBytes(QStringLiteral("Valmedo4.log")));
    for (const QString &line : log.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        texts << line.section(QLatin1Char(' '), 2);
    return texts;
}

QByteArray ReadBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

namespace {

// An SQLite file with a table of the program's name but not its schema.
bool WriteForeignSqliteFile(const QString &path)
{
    bool written = false;
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        other.setDatabaseName(path);
        written = other.open() && QSqlQuery(other).exec(QStringLiteral("CREATE TABLE tab_zakaznik (X INTEGER)"));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
    return written;
}

} // namespace

bool WriteBadBackup(Engine engine, const QString &kind, const QString &good, const QString &path)
{
    if (kind == QLatin1String("missing"))
        return !QFile::exists(path);
    if (kind == QLatin1String("empty"))
        return WriteBytes(path, QByteArray());
    if (kind == QLatin1String("text") || (kind == QLatin1String("foreign") && engine != Engine::SQLite))
        return WriteBytes(path, "Valmedo záloha\n");
    if (kind == QLatin1String("foreign"))
        return WriteForeignSqliteFile(path);
    QByteArray bytes = ReadBytes(good);
    if (bytes.size() < 64)
        return false;
    if (kind == QLatin1String("damaged")) {
        for (int i = 0; i < 64; ++i)
            bytes[i] = char(0x5a);
        return WriteBytes(path, bytes);
    }
    if (kind == QLatin1String("truncated"))
        return WriteBytes(path, bytes.left(bytes.size() / 3));
    return false;
}
