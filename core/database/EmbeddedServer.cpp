#include "core/database/EmbeddedServer.h"

#include "core/database/Errors.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr int HashIterations = 20000;
const QString SchemaScript = QStringLiteral(":/schema/schema-sqlite.sql");

// An SQLite connection of the engine's own on a file, removed on scope exit. It is
// prepared as the desk's own is: the indexes in Czech order need the collation to be
// written, copied and checked.
class SideFile : public SqlServer::ScopedConnection {
public:
    SideFile(const QString &path, bool readOnly, const char *what) : ScopedConnection(what)
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name());
        d.setDatabaseName(path);
        if (readOnly)
            d.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!d.open())
            throw EDatabaseError(d.lastError().text());
        EmbeddedServer::prepareConnection(d);
    }
};

QByteArray passwordHash(const QString &password, const QByteArray &salt)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(),
                                              salt, HashIterations, 32);
}

// Copies the file at `from` into the existing file `to`, replacing its content.
void copyInto(const QString &from, const QString &to)
{
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("Soubor %1 nelze přečíst").arg(from));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EDatabaseError(QStringLiteral("Soubor %1 nelze zapsat").arg(to));
    QByteArray chunk;
    while (!(chunk = in.read(1 << 20)).isEmpty())
        if (out.write(chunk) != chunk.size())
            throw EDatabaseError(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(to, out.errorString()));
    if (in.error() != QFileDevice::NoError)
        throw EDatabaseError(QStringLiteral("Soubor %1 nelze přečíst").arg(from));
    if (!out.flush())
        throw EDatabaseError(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(to, out.errorString()));
}

// --- functions registered on every connection -----------------------------------

QString argText(sqlite3_value *v)
{
    const auto *t = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return t ? QString::fromUtf8(t, sqlite3_value_bytes(v)) : QString();
}

// LIKE with % and _ over case-folded Unicode text; an optional one-character escape.
bool likeMatch(const QString &pattern, qsizetype p, const QString &text, qsizetype t, QChar escape)
{
    while (p < pattern.size()) {
        QChar pc = pattern[p];
        if (!escape.isNull() && pc == escape && p + 1 < pattern.size()) {
            if (t >= text.size() || text[t] != pattern[p + 1])
                return false;
            p += 2;
            ++t;
            continue;
        }
        if (pc == u'%') {
            while (p < pattern.size() && pattern[p] == u'%')
                ++p;
            if (p == pattern.size())
                return true;
            for (qsizetype k = t; k <= text.size(); ++k)
                if (likeMatch(pattern, p, text, k, escape))
                    return true;
            return false;
        }
        if (t >= text.size())
            return false;
        if (pc != u'_' && pc != text[t])
            return false;
        ++p;
        ++t;
    }
    return t == text.size();
}

void sqlLike(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    QChar escape;
    if (argc == 3) {
        const QString e = argText(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.toCaseFolded()[0];
    }
    const QString pattern = argText(argv[0]).toCaseFolded();
    const QString text = argText(argv[1]).toCaseFolded();
    sqlite3_result_int(ctx, likeMatch(pattern, 0, text, 0, escape) ? 1 : 0);
}

void sqlFold(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QByteArray folded = argText(argv[0]).toCaseFolded().toUtf8();
    sqlite3_result_text(ctx, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
}

int czechCompare(void *, int n1, const void *s1, int n2, const void *s2)
{
    static const QCollator collator{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    const QString a = QString::fromUtf8(static_cast<const char *>(s1), n1);
    const QString b = QString::fromUtf8(static_cast<const char *>(s2), n2);
    const int c = collator.compare(a, b);
    if (c != 0)
        return c;
    return a < b ? -1 : (b < a ? 1 : 0); // a total order for equal-ranking texts
}

} // namespace

EmbeddedServer::EmbeddedServer(const QString &serverName, const QString &folder)
    : SqlServer(serverName), m_folder(folder)
{
}

EmbeddedServer::~EmbeddedServer() = default;

QString EmbeddedServer::databaseFile() const
{
    return m_folder + QLatin1Char('/') + m_databaseName + QLatin1String(".db");
}

QString EmbeddedServer::masterFile() const
{
    return m_folder + QLatin1String("/master.db");
}

QString EmbeddedServer::lockFile() const
{
    return databaseFile() + QLatin1String(".lock");
}

FileLock EmbeddedServer::takeDatabase() const
{
    FileLock lock;
    if (!lock.tryLock(lockFile(), FileLock::Exclusive))
        throw EDatabaseError(
            QStringLiteral("Databázi %1 používá jiná pracovní stanice").arg(m_databaseName));
    return lock;
}

void EmbeddedServer::prepareConnection(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    auto *sqlite = handle.isValid() ? *static_cast<sqlite3 *const *>(handle.data()) : nullptr;
    if (!sqlite)
        throw EDatabaseError(QStringLiteral("Spojení SQLite nemá ovladač"));
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    if (sqlite3_create_function(sqlite, "like", 2, flags, nullptr, sqlLike, nullptr, nullptr) != SQLITE_OK
        || sqlite3_create_function(sqlite, "like", 3, flags, nullptr, sqlLike, nullptr, nullptr) != SQLITE_OK
        || sqlite3_create_function(sqlite, "fold", 1, flags, nullptr, sqlFold, nullptr, nullptr) != SQLITE_OK
        || sqlite3_create_collation(sqlite, "CZECH", SQLITE_UTF8, nullptr, czechCompare) != SQLITE_OK)
        throw EDatabaseError(QString::fromUtf8(sqlite3_errmsg(sqlite)));
    execText(db, QStringLiteral("PRAGMA foreign_keys=ON"));
    execText(db, QStringLiteral("PRAGMA cache_size=-65536"));
}

void EmbeddedServer::writeSchema(const QString &file)
{
    SideFile side(file, false, "create");
    execText(side.db(), QStringLiteral("PRAGMA journal_mode=WAL"));
    execInTransaction(side.db(), schemaStatements(SchemaScript));
} // closing checkpoints and removes the -wal of the new file

void EmbeddedServer::createDatabaseFile(const QString &path)
{
    WorkFile temp(path, "new");
    writeSchema(temp.path());
    if (QFileInfo::exists(path))
        throw EDatabaseError(QStringLiteral("Databáze %1 již existuje").arg(m_databaseName));
    temp.moveOnto(path);
}

void EmbeddedServer::install(const QString &password)
{
    if (!QDir().mkpath(m_folder))
        throw EDatabaseError(QStringLiteral("Složku %1 nelze vytvořit").arg(m_folder));
    if (!QFileInfo::exists(databaseFile())) {
        const FileLock lock = takeDatabase();
        createDatabaseFile(databaseFile());
    }
    WorkFile temp(masterFile(), "new");
    {
        SideFile side(temp.path(), false, "install");
        const QSqlDatabase db = side.db();
        execText(db, QStringLiteral("CREATE TABLE logins (NAME VARCHAR(128) NOT NULL PRIMARY KEY, "
                                    "SALT BLOB NOT NULL, HASH BLOB NOT NULL)"));
        QByteArray salt(16, Qt::Uninitialized);
        QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()), 4);
        QSqlQuery q(db);
        q.prepare(QStringLiteral("INSERT INTO logins (NAME, SALT, HASH) VALUES (:NAME, :SALT, :HASH)"));
        q.bindValue(QStringLiteral(":NAME"), QStringLiteral("sa"));
        q.bindValue(QStringLiteral(":SALT"), salt);
        q.bindValue(QStringLiteral(":HASH"), passwordHash(password, salt));
        if (!q.exec())
            throw EDatabaseError(q.lastError().text());
    }
    temp.moveOnto(masterFile());
    writeLog(QStringLiteral("Databázový server vytvořen [%1]").arg(m_folder));
}

void EmbeddedServer::checkLogin(const QString &user, const QString &password)
{
    SideFile side(masterFile(), true, "login");
    QSqlQuery q(side.db());
    q.prepare(QStringLiteral("SELECT SALT, HASH FROM logins WHERE NAME=:NAME"));
    q.bindValue(QStringLiteral(":NAME"), user);
    if (!q.exec())
        throw EDatabaseError(q.lastError().text());
    const bool found = q.next();
    const bool good = found && !password.isEmpty()
        && passwordHash(password, q.value(0).toByteArray()) == q.value(1).toByteArray();
    q.finish();
    if (!good)
        throw EDatabaseError(QStringLiteral("Přihlášení uživatele %1 selhalo").arg(user));
}

bool EmbeddedServer::open(const QString &database, const QString &user, const QString &password)
{
    close();
    m_errorText.clear();
    try {
        if (!QFileInfo::exists(masterFile())) {
            // Installing the server is what the first "sa" login does.
            if (user != QLatin1String("sa"))
                throw EDatabaseError(QStringLiteral("Server %1 neexistuje").arg(m_folder));
            if (password.isEmpty())
                throw EDatabaseError(QStringLiteral("Server nelze vytvořit bez hesla"));
            install(password);
        }
        checkLogin(user, password);
        const bool master = database == QLatin1String(MasterDatabase);
        const QString path = master ? masterFile() : databaseFile();
        // Held while the connection is open: no restore or drop takes the file away
        // from under this desk, and the file opened is the one in place.
        if (!master && !m_useLock.tryLock(lockFile(), FileLock::Shared))
            throw EDatabaseError(QStringLiteral("Databáze %1 se právě obnovuje").arg(database));
        if (!QFileInfo::exists(path))
            throw EDatabaseError(QStringLiteral("Databáze %1 neexistuje").arg(database));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                    QString::fromLatin1(ConnectionName));
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(LockWaitMs));
        if (!db.open())
            throw EDatabaseError(db.lastError().text());
        prepareConnection(db);
        if (!master)
            updateIndexes(db, SchemaScript,
                          {QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type='index'"),
                           QStringLiteral("PRAGMA busy_timeout = %1").arg(IndexLockWaitMs),
                           QStringLiteral("PRAGMA busy_timeout = %1").arg(LockWaitMs)});
        m_user = user;
        m_password = password;
        m_currentDatabase = master ? QString::fromLatin1(MasterDatabase)
                                   : QString::fromLatin1(ProgramDatabase);
        return true;
    } catch (const EDatabaseError &e) {
        close();
        m_errorText = e.message();
        return false;
    }
}

void EmbeddedServer::close()
{
    SqlServer::close();
    m_useLock.release();
}

QSqlDatabase EmbeddedServer::programConnection() const
{
    if (!isOpen() || m_currentDatabase != QLatin1String(ProgramDatabase))
        throw EDatabaseError(QStringLiteral("Spojení není otevřeno na databázi %1").arg(m_databaseName));
    return CurrentConnection();
}

bool EmbeddedServer::databaseExists()
{
    // Only a file that is not there is missing; a folder that cannot be searched is an error.
    struct stat st;
    if (::stat(QFile::encodeName(databaseFile()).constData(), &st) == 0)
        return true;
    const int code = errno;
    if (code == ENOENT)
        return false;
    m_errorText = QStringLiteral("Databázi %1 nelze najít: %2")
                      .arg(databaseFile(), QString::fromLocal8Bit(std::strerror(code)));
    throw EDatabaseError(m_errorText);
}

void EmbeddedServer::dropDatabase()
{
    // Linux lets an open connection write on into a deleted file: no connection may
    // stay, this desk's own is closed and another desk's refuses the drop.
    if (m_currentDatabase == QLatin1String(ProgramDatabase))
        close();
    const FileLock lock = takeDatabase();
    removeWithCompanions(databaseFile());
}

void EmbeddedServer::createDatabase()
{
    const FileLock lock = takeDatabase();
    if (QFileInfo::exists(databaseFile()))
        throw EDatabaseError(QStringLiteral("Databáze %1 již existuje").arg(m_databaseName));
    createDatabaseFile(databaseFile());
}

void EmbeddedServer::resetDatabase()
{
    replaceDatabase("new", writeSchema);
}

void EmbeddedServer::reindex()
{
    const QSqlDatabase db = programConnection();
    for (const char *table : {"tab_zakaznik", "tab_video", "tab_pujcky", "tab_pujckydetail"})
        execText(db, QStringLiteral("REINDEX %1").arg(QLatin1String(table)));
}

void EmbeddedServer::truncateLog()
{
    QSqlQuery q(programConnection());
    if (!q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")))
        throw EDatabaseError(q.lastError().text());
    if (q.next() && q.value(0).toInt() != 0)
        throw EDatabaseError(QStringLiteral("Transakční log je používán jiným spojením"));
}

FileStats EmbeddedServer::fileStats()
{
    const QSqlDatabase db = programConnection();
    auto pragma = [&db](const char *name) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("PRAGMA %1").arg(QLatin1String(name))) || !q.next())
            throw EDatabaseError(q.lastError().text());
        return q.value(0).toLongLong();
    };
    const qint64 pages = pragma("page_count");
    const qint64 freePages = pragma("freelist_count");
    const qint64 pageSize = pragma("page_size");
    return FileStats{pages * pageSize, (pages - freePages) * pageSize};
}

void EmbeddedServer::backup(const QString &path)
{
    if (!databaseExists())
        throw EDatabaseError(QStringLiteral("Databáze %1 neexistuje").arg(m_databaseName));
    const QString target = QFileInfo(path).absoluteFilePath();
    removeLeftovers(target);
    removeLeftovers(databaseFile());
    // A connection of its own: the file may not be swapped by a restore meanwhile.
    FileLock use;
    if (!use.tryLock(lockFile(), FileLock::Shared))
        throw EDatabaseError(QStringLiteral("Databáze %1 se právě obnovuje").arg(m_databaseName));
    // VACUUM INTO writes a new (or empty) file only: write one beside the target and
    // rename it over, so a failed backup leaves the old one whole.
    WorkFile temp(target, "tmp");
    {
        SideFile side(databaseFile(), false, "backup");
        QSqlQuery q(side.db());
        q.prepare(QStringLiteral("VACUUM INTO :PATH"));
        q.bindValue(QStringLiteral(":PATH"), temp.path());
        if (!q.exec())
            throw EDatabaseError(q.lastError().text());
    }
    temp.moveOnto(target);
}

bool EmbeddedServer::verifyBackup(const QString &path, QString *why)
{
    auto fail = [why](const QString &text) { return failWith(why, text); };
    if (!checkBackupFile(path, why))
        return false;
    try {
        SideFile side(path, true, "verify");
        QSqlQuery q(side.db());
        if (!q.exec(QStringLiteral("PRAGMA integrity_check")))
            return fail(q.lastError().text());
        if (!q.next() || q.value(0).toString() != QLatin1String("ok"))
            return fail(QStringLiteral("Kontrola souboru %1 selhala").arg(path));
        q.finish();
        // A file of other tables or columns would restore into a database that no
        // statement of the program can use.
        for (const SchemaTable &table : schemaTables(SchemaScript)) {
            QSqlQuery t(side.db());
            if (!t.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table.name)))
                return fail(t.lastError().text());
            QList<QPair<QString, QString>> columns;
            while (t.next())
                columns.append({t.value(1).toString().toUpper(), t.value(2).toString().toUpper()});
            if (columns.isEmpty())
                return fail(QStringLiteral("V souboru %1 chybí tabulka %2").arg(path, table.name));
            if (columns != table.columns)
                return fail(QStringLiteral("Tabulka %2 v souboru %1 má jiné sloupce").arg(path, table.name));
        }
        return true;
    } catch (const EDatabaseError &e) {
        return fail(e.message());
    }
}

void EmbeddedServer::replaceDatabaseFile(WorkFile &staging)
{
    // The old file's -wal and -shm go before the new file takes its name: a connection
    // opening in between would replay the old log into the new file. A log that holds
    // transactions is folded into the old file first, so that the old data stays whole
    // should the rename fail; when it cannot be folded in whole (a connection that is
    // not a desk's still reads), the restore is refused rather than lose them.
    const QString target = databaseFile();
    const QString wal = target + QLatin1String("-wal");
    if (QFileInfo::exists(target) && QFileInfo(wal).size() > 0) {
        SideFile old(target, false, "checkpoint");
        QSqlQuery q(old.db());
        if (!q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")))
            throw EDatabaseError(q.lastError().text());
        if (!q.next() || q.value(0).toInt() != 0)
            throw EDatabaseError(
                QStringLiteral("Databázi %1 používá jiné spojení, obnova nebyla provedena").arg(target));
    }
    for (const char *companion : {"-wal", "-shm"}) {
        const QString file = target + QLatin1String(companion);
        if (QFileInfo::exists(file) && !QFile::remove(file))
            throw EDatabaseError(QStringLiteral("Soubor %1 nelze odstranit").arg(file));
    }
    staging.moveOnto(target);
}

void EmbeddedServer::replaceDatabase(const char *what, const std::function<void(const QString &)> &fill)
{
    // This desk's own shared lock would keep it from the exclusive one; held from here to
    // the end, it refuses every desk that tries to connect meanwhile.
    const bool wasOpen = m_currentDatabase == QLatin1String(ProgramDatabase);
    if (wasOpen)
        close();
    try {
        const FileLock lock = takeDatabase();
        removeLeftovers(databaseFile());
        WorkFile staging(databaseFile(), what);
        fill(staging.path());
        beforeSwap();
        replaceDatabaseFile(staging);
    } catch (...) {
        if (wasOpen)
            reopen(QString::fromLatin1(ProgramDatabase));
        throw;
    }
    if (wasOpen && !reopen(QString::fromLatin1(ProgramDatabase)))
        throw EDatabaseError(m_errorText);
}

void EmbeddedServer::restore(const QString &path)
{
    // The verified file is copied beside the database first: until the rename, the old
    // database stays as it was. The check belongs to the restore: no desk may write
    // meanwhile either.
    replaceDatabase("restore", [this, &path](const QString &file) {
        QString why;
        if (!verifyBackup(path, &why))
            throw EDatabaseError(why);
        copyInto(path, file);
        SideFile side(file, false, "restore");
        execText(side.db(), QStringLiteral("PRAGMA journal_mode=WAL"));
    });
}
