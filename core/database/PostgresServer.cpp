#include "core/database/PostgresServer.h"

#include "core/Errors.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>
#include <QUuid>

#include <cstdio>

namespace {

const char *const DataTables[] = {"tab_zakaznik", "tab_zamereni", "tab_nosic", "tab_video",
                                  "tab_uzivatel", "tab_pujcky", "tab_pujckydetail"};
constexpr int ToolTimeoutMs = 10 * 60 * 1000;

// Identifiers pasted into utility statements come from our own names only; still,
// refuse anything that is not a plain name.
QString checkedName(const QString &name)
{
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'_')
            throw EDatabaseError(QStringLiteral("Neplatné jméno databáze %1").arg(name));
    if (name.isEmpty())
        throw EDatabaseError(QStringLiteral("Prázdné jméno databáze"));
    return name;
}

// SET TIME ZONE to the desk's zone, so LOCALTIMESTAMP and the defaults are desk time.
void setDeskTimeZone(const QSqlDatabase &db)
{
    const QString zone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
    QSqlQuery q(db);
    q.exec(QStringLiteral("SET client_min_messages TO warning")); // no notices on stderr
    if (!zone.isEmpty() && q.exec(QStringLiteral("SET TIME ZONE '%1'").arg(QString(zone).replace(u'\'', u' '))))
        return;
    // An unknown zone name: the present offset from UTC as an interval.
    const int offset = QDateTime::currentDateTime().offsetFromUtc();
    const QString interval = QStringLiteral("%1%2:%3")
                                 .arg(offset < 0 ? u'-' : u'+')
                                 .arg(qAbs(offset) / 3600, 2, 10, QLatin1Char('0'))
                                 .arg(qAbs(offset) % 3600 / 60, 2, 10, QLatin1Char('0'));
    if (!q.exec(QStringLiteral("SET TIME ZONE INTERVAL '%1' HOUR TO MINUTE").arg(interval)))
        throw EDatabaseError(q.lastError().text());
}

} // namespace

PostgresServer::PostgresServer(const QString &serverName, const QString &host, int port)
    : SqlServer(serverName), m_host(host), m_port(port)
{
}

PostgresServer::~PostgresServer() = default;

bool PostgresServer::openConnection(const QString &name, const QString &physical, const QString &user,
                                    const QString &password, QString *error) const
{
    // libpq would take a missing password from PGPASSWORD or ~/.pgpass; no login of
    // ours has an empty one.
    if (password.isEmpty()) {
        *error = QStringLiteral("Prázdné heslo");
        return false;
    }
    if (m_port <= 0) {
        *error = QStringLiteral("Neplatné jméno serveru %1").arg(m_serverName);
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(m_host);
    db.setPort(m_port);
    db.setDatabaseName(physical);
    db.setUserName(user);
    db.setPassword(password);
    db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    if (!db.open()) {
        *error = db.lastError().text();
        return false;
    }
    try {
        setDeskTimeZone(db);
    } catch (const EDatabaseError &e) {
        *error = e.message();
        db.close();
        return false;
    }
    return true;
}

bool PostgresServer::open(const QString &database, const QString &user, const QString &password)
{
    close();
    m_errorText.clear();
    const bool master = database == QLatin1String(MasterDatabase);
    const QString physical = master ? QStringLiteral("postgres") : m_databaseName;
    QString error;
    if (!openConnection(QString::fromLatin1(ConnectionName), physical, user, password, &error)) {
        close();
        m_errorText = error;
        return false;
    }
    m_user = user;
    m_password = password;
    m_currentDatabase = master ? QString::fromLatin1(MasterDatabase) : QString::fromLatin1(ProgramDatabase);
    return true;
}

QSqlDatabase PostgresServer::programConnection() const
{
    if (!isOpen() || m_currentDatabase != QLatin1String(ProgramDatabase))
        throw EDatabaseError(QStringLiteral("Spojení není otevřeno na databázi %1").arg(m_databaseName));
    return CurrentConnection();
}

bool PostgresServer::physicalExists(const QString &name) const
{
    ScopedConnection m("exists");
    QString error;
    if (!openConnection(m.name(), QStringLiteral("postgres"), m_user, m_password, &error))
        throw EDatabaseError(error);
    QSqlQuery q(m.db());
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM pg_database WHERE datname=:VALMEDO4"));
    q.bindValue(QStringLiteral(":VALMEDO4"), name);
    if (!q.exec() || !q.next())
        throw EDatabaseError(q.lastError().text());
    return q.value(0).toLongLong() != 0;
}

bool PostgresServer::databaseExists()
{
    if (!isOpen())
        return physicalExists(m_databaseName);
    // Asked on the desk's own connection: a lost one is an error, not a missing database.
    QSqlQuery q(CurrentConnection());
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM pg_database WHERE datname=:VALMEDO4"));
    q.bindValue(QStringLiteral(":VALMEDO4"), m_databaseName);
    if (!q.exec() || !q.next()) {
        m_errorText = q.lastError().text();
        throw EDatabaseError(m_errorText);
    }
    return q.value(0).toLongLong() != 0;
}

void PostgresServer::dropPhysical(const QString &name) const
{
    ScopedConnection m("drop");
    QString error;
    if (!openConnection(m.name(), QStringLiteral("postgres"), m_user, m_password, &error))
        throw EDatabaseError(error);
    execText(m.db(), QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(checkedName(name)));
}

void PostgresServer::createPhysical(const QString &name) const
{
    ScopedConnection m("create");
    QString error;
    if (!openConnection(m.name(), QStringLiteral("postgres"), m_user, m_password, &error))
        throw EDatabaseError(error);
    execText(m.db(), QStringLiteral("CREATE DATABASE %1 OWNER sa TEMPLATE template0 ENCODING 'UTF8' "
                                    "LOCALE 'C' LOCALE_PROVIDER icu ICU_LOCALE 'cs-CZ'")
                         .arg(checkedName(name)));
    // CHECKPOINT needs pg_checkpoint on PostgreSQL 15; only a login that may grant
    // it succeeds, for the others the truncation of the log fails later.
    QSqlQuery grant(m.db());
    grant.exec(QStringLiteral("GRANT pg_checkpoint TO sa"));
}

void PostgresServer::dropDatabase()
{
    if (m_currentDatabase == QLatin1String(ProgramDatabase))
        close();
    dropPhysical(m_databaseName);
}

void PostgresServer::createDatabase()
{
    createPhysical(m_databaseName);
    try {
        ScopedConnection m("schema");
        QString error;
        if (!openConnection(m.name(), m_databaseName, m_user, m_password, &error))
            throw EDatabaseError(error);
        execInTransaction(m.db(), schemaStatements(QStringLiteral(":/schema/schema-postgres.sql")));
    } catch (...) {
        // No empty or half-made database stays behind.
        try {
            dropPhysical(m_databaseName);
        } catch (const EDatabaseError &) {
        }
        throw;
    }
}

void PostgresServer::reindex()
{
    const QSqlDatabase db = programConnection();
    for (const char *table : {"tab_zakaznik", "tab_video", "tab_pujcky", "tab_pujckydetail"})
        execText(db, QStringLiteral("REINDEX TABLE %1").arg(QLatin1String(table)));
}

void PostgresServer::truncateLog()
{
    execText(programConnection(), QStringLiteral("CHECKPOINT"));
}

FileStats PostgresServer::fileStats()
{
    QSqlQuery q(programConnection());
    QStringList sizes;
    for (const char *table : DataTables)
        sizes << QStringLiteral("pg_total_relation_size('%1')").arg(QLatin1String(table));
    if (!q.exec(QStringLiteral("SELECT pg_database_size(current_database()), %1").arg(sizes.join(u'+')))
        || !q.next())
        throw EDatabaseError(q.lastError().text());
    return FileStats{q.value(0).toLongLong(), q.value(1).toLongLong()};
}

QString PostgresServer::tool(const QString &name) const
{
    // The client of the server's major version; pg_dump refuses a newer server.
    const QString versioned = QStringLiteral("/usr/lib/postgresql/15/bin/") + name;
    return QFileInfo(versioned).isExecutable() ? versioned : name;
}

int PostgresServer::runTool(const QString &name, const QStringList &args, QString *output) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The password travels in the child's environment, never on its command line.
    env.insert(QStringLiteral("PGPASSWORD"), m_password);
    env.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("5"));
    env.remove(QStringLiteral("PGPASSFILE"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(tool(name), args);
    if (!process.waitForStarted()) {
        if (output)
            *output = QStringLiteral("%1 nelze spustit").arg(name);
        return -1;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(ToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        if (output)
            *output = QStringLiteral("%1 neskončil včas").arg(name);
        return -1;
    }
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError()).trimmed();
    if (output)
        *output = process.exitCode() == 0 && process.exitStatus() == QProcess::NormalExit ? out : err;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void PostgresServer::backup(const QString &path)
{
    const QString target = QFileInfo(path).absoluteFilePath();
    const QString temp = QStringLiteral("%1.tmp-%2").arg(target, QUuid::createUuid().toString(QUuid::Id128).left(12));
    QString output;
    const int rc = runTool(QStringLiteral("pg_dump"),
                           {QStringLiteral("-w"), QStringLiteral("-Fc"), QStringLiteral("-h"), m_host,
                            QStringLiteral("-p"), QString::number(m_port), QStringLiteral("-U"), m_user,
                            QStringLiteral("-f"), temp, checkedName(m_databaseName)},
                           &output);
    if (rc != 0) {
        QFile::remove(temp);
        throw EDatabaseError(output.isEmpty() ? QStringLiteral("Záloha selhala") : output);
    }
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temp);
        throw EDatabaseError(QStringLiteral("Soubor %1 nelze zapsat").arg(target));
    }
}

bool PostgresServer::verifyBackup(const QString &path, QString *why)
{
    auto fail = [why](const QString &text) { return failWith(why, text); };
    if (!checkBackupFile(path, why))
        return false;
    QString listing;
    if (runTool(QStringLiteral("pg_restore"), {QStringLiteral("--list"), path}, &listing) != 0)
        return fail(listing.isEmpty() ? QStringLiteral("Soubor %1 není záloha").arg(path) : listing);
    // A dump of some other database lists fine; ours holds the seven tables.
    const QStringList lines = listing.split(QLatin1Char('\n'));
    for (const char *table : DataTables) {
        const QString entry = QStringLiteral(" TABLE public %1 ").arg(QLatin1String(table));
        bool found = false;
        for (const QString &line : lines)
            if (line.contains(entry) && !line.trimmed().startsWith(QLatin1Char(';')))
                found = true;
        if (!found)
            return fail(QStringLiteral("V souboru %1 chybí tabulka %2").arg(path, QLatin1String(table)));
    }
    return true;
}

void PostgresServer::restore(const QString &path)
{
    QString why;
    if (!verifyBackup(path, &why))
        throw EDatabaseError(why);
    // Restore into a new database first; the old one is dropped only when that
    // succeeded, so a failed restore leaves it whole.
    const QString staging = checkedName(m_databaseName + QLatin1String("_restore"));
    dropPhysical(staging);
    createPhysical(staging);
    QString output;
    const int rc = runTool(QStringLiteral("pg_restore"),
                           {QStringLiteral("-w"), QStringLiteral("--no-owner"), QStringLiteral("--exit-on-error"),
                            QStringLiteral("--single-transaction"), QStringLiteral("-h"), m_host,
                            QStringLiteral("-p"), QString::number(m_port), QStringLiteral("-U"), m_user,
                            QStringLiteral("-d"), staging, path},
                           &output);
    if (rc != 0) {
        try {
            dropPhysical(staging);
        } catch (const EDatabaseError &) {
        }
        throw EDatabaseError(output.isEmpty() ? QStringLiteral("Obnova selhala") : output);
    }
    const bool wasOpen = m_currentDatabase == QLatin1String(ProgramDatabase);
    if (wasOpen)
        close();
    try {
        ScopedConnection m("restore");
        QString error;
        if (!openConnection(m.name(), QStringLiteral("postgres"), m_user, m_password, &error)) {
            try {
                dropPhysical(staging);
            } catch (const EDatabaseError &) {
            }
            throw EDatabaseError(error);
        }
        const QSqlDatabase db = m.db();
        // Swap by renames, so the old database is dropped only once the new one has its name.
        const QString previous = checkedName(m_databaseName + QLatin1String("_previous"));
        execText(db, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(previous));
        const bool hadOld = physicalExists(m_databaseName);
        if (hadOld) {
            QSqlQuery q(db);
            q.prepare(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                     "WHERE datname=:VALMEDO4 AND pid<>pg_backend_pid()"));
            q.bindValue(QStringLiteral(":VALMEDO4"), m_databaseName);
            q.exec();
            execText(db, QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(checkedName(m_databaseName), previous));
        }
        try {
            execText(db, QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(staging, m_databaseName));
        } catch (const EDatabaseError &) {
            // The old database gets its name back, so the desk is never left without one.
            try {
                if (hadOld)
                    execText(db, QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(previous, m_databaseName));
                dropPhysical(staging);
            } catch (const EDatabaseError &) {
            }
            throw;
        }
        // The restored database stands; an old copy that cannot be dropped now is dropped
        // by the next restore and must not make this one look failed.
        try {
            execText(db, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(previous));
        } catch (const EDatabaseError &) {
        }
    } catch (...) {
        // Whatever failed after the desk's connection was closed, it goes back to its database.
        if (wasOpen)
            reopen(QString::fromLatin1(ProgramDatabase));
        throw;
    }
    if (wasOpen && !reopen(QString::fromLatin1(ProgramDatabase)))
        throw EDatabaseError(m_errorText);
}
