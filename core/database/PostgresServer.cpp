#include "core/database/PostgresServer.h"

#include "core/database/Errors.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QTimeZone>

#include <csignal>

#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QString SchemaScript = QStringLiteral(":/schema/schema-postgres.sql");
constexpr int ToolTimeoutMs = 10 * 60 * 1000;
constexpr int ClosingGraceMs = 1000;
// A killed desk's server process keeps its restore's lock until the statement it runs
// (a CREATE DATABASE, say) has ended; a restore under way on another desk keeps it longer.
constexpr int RestoreLockWaitMs = 10000;
// A log-in that finds the database closed waits this long for a killed desk's restore
// lock to go; a restore under way holds it longer, and the log-in fails.
constexpr int LoginLockWaitMs = 2000;

// A type of the schema script as pg_dump writes it back.
QString dumpedType(const QString &type)
{
    QString t = type.toLower();
    t.replace(QLatin1String("varchar("), QLatin1String("character varying("));
    if (t.startsWith(QLatin1String("timestamp")))
        t += QLatin1String(" without time zone");
    return t;
}

// The column lines of table `table` in a schema-only restore script, or nothing when
// it is not there.
QStringList dumpedColumns(const QString &script, const QString &table)
{
    const QString start = QStringLiteral("CREATE TABLE public.%1 (\n").arg(table.toLower());
    const qsizetype at = script.indexOf(start);
    if (at < 0)
        return {};
    const qsizetype end = script.indexOf(QLatin1String("\n);"), at);
    QStringList columns;
    const QStringList lines = script.mid(at + start.size(), end - at - start.size()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.endsWith(QLatin1Char(',')))
            line.chop(1);
        if (!line.isEmpty() && !line.startsWith(QLatin1String("CONSTRAINT ")))
            columns << line;
    }
    return columns;
}

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

// A backslash is an ordinary letter in a quoted text, as on the embedded engine, whatever
// the server's own setting: the free filter's check reads texts so.
void setPlainBackslashes(const QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SET standard_conforming_strings = on")))
        throw EDatabaseError(q.lastError().text());
}

// A row or table lock held by another desk is waited for no longer than the embedded
// engine waits: PostgreSQL would wait for ever, and the desk would hang until the
// other desk closed its window.
bool limitLockWait(const QSqlDatabase &db, QString *error)
{
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SET lock_timeout = %1").arg(SqlServer::LockWaitMs)))
        return true;
    *error = q.lastError().text();
    return false;
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
        setPlainBackslashes(db);
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
    bool opened = openConnection(QString::fromLatin1(ConnectionName), physical, user, password, &error);
    // A database closed to connections is named in the server's refusal; a server that
    // does not answer or a wrong password is not worth a second connection.
    if (!opened && !master && error.contains(m_databaseName) && openClosedDatabase(user, password)) {
        close();
        opened = openConnection(QString::fromLatin1(ConnectionName), physical, user, password, &error);
    }
    if (!opened || !limitLockWait(CurrentConnection(), &error)) {
        close();
        m_errorText = error;
        return false;
    }
    m_user = user;
    m_password = password;
    m_currentDatabase = master ? QString::fromLatin1(MasterDatabase) : QString::fromLatin1(ProgramDatabase);
    if (!master)
        updateIndexes(CurrentConnection(), SchemaScript,
                      {// The server names the table with its schema and the access method.
                       QStringLiteral("SELECT indexname, replace(replace(indexdef, ' ON ' || quote_ident(schemaname) "
                                      "|| '.', ' ON '), ' USING btree ', ' ') FROM pg_indexes "
                                      "WHERE schemaname=current_schema()"),
                       QStringLiteral("SET lock_timeout = %1").arg(IndexLockWaitMs),
                       QStringLiteral("SET lock_timeout = %1").arg(LockWaitMs)});
    return true;
}

QSqlDatabase PostgresServer::programConnection() const
{
    if (!isOpen() || m_currentDatabase != QLatin1String(ProgramDatabase))
        throw EDatabaseError(QStringLiteral("Spojení není otevřeno na databázi %1").arg(m_databaseName));
    return CurrentConnection();
}

void PostgresServer::openMaintenance(const ScopedConnection &m) const
{
    QString error;
    if (!openConnection(m.name(), QStringLiteral("postgres"), m_user, m_password, &error))
        throw EDatabaseError(error);
}

QString PostgresServer::stagingName() const
{
    return checkedName(m_databaseName + QLatin1String("_restore"));
}

QString PostgresServer::previousName() const
{
    return checkedName(m_databaseName + QLatin1String("_previous"));
}

bool PostgresServer::physicalExists(const QSqlDatabase &db, const QString &name) const
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM pg_database WHERE datname=:VALMEDO4"));
    q.bindValue(QStringLiteral(":VALMEDO4"), name);
    if (!q.exec() || !q.next())
        throw EDatabaseError(q.lastError().text());
    return q.value(0).toLongLong() != 0;
}

bool PostgresServer::databaseExists()
{
    if (!isOpen()) {
        ScopedConnection m("exists");
        openMaintenance(m);
        return physicalExists(m.db(), m_databaseName);
    }
    // Asked on the desk's own connection: a lost one is an error, not a missing database.
    try {
        return physicalExists(CurrentConnection(), m_databaseName);
    } catch (const EDatabaseError &e) {
        m_errorText = e.message();
        throw;
    }
}

qint64 PostgresServer::ownBackendPid() const
{
    if (!isOpen() || m_currentDatabase != QLatin1String(ProgramDatabase))
        return 0;
    QSqlQuery q(CurrentConnection());
    return q.exec(QStringLiteral("SELECT pg_backend_pid()")) && q.next() ? q.value(0).toLongLong() : 0;
}

void PostgresServer::refuseWhileInUse(const QSqlDatabase &db, qint64 ownPid) const
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        // Client backends only: the server's own workers come and go, and DROP DATABASE
        // and the renames end them by themselves.
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE datname=:NAME "
                                 "AND backend_type='client backend' AND pid<>pg_backend_pid() AND pid<>:OWN"));
        q.bindValue(QStringLiteral(":NAME"), m_databaseName);
        q.bindValue(QStringLiteral(":OWN"), ownPid);
        if (!q.exec() || !q.next())
            throw EDatabaseError(q.lastError().text());
        const int sessions = q.value(0).toInt();
        if (sessions == 0)
            return;
        // A connection just closed (this desk's own among them) lingers for a moment.
        if (waited.elapsed() >= ClosingGraceMs)
            throw EDatabaseError(QStringLiteral("Databázi %1 používají jiná spojení (%2)")
                                     .arg(m_databaseName)
                                     .arg(sessions));
        QThread::msleep(100);
    }
}

void PostgresServer::dropPhysical(const QSqlDatabase &db, const QString &name) const
{
    // Never WITH (FORCE): the server refuses a database in use, and so do we.
    execText(db, QStringLiteral("DROP DATABASE IF EXISTS %1").arg(checkedName(name)));
}

void PostgresServer::createPhysical(const QSqlDatabase &db, const QString &name) const
{
    execText(db, QStringLiteral("CREATE DATABASE %1 OWNER sa TEMPLATE template0 ENCODING 'UTF8' "
                                "LOCALE 'C' LOCALE_PROVIDER icu ICU_LOCALE 'cs-CZ'")
                     .arg(checkedName(name)));
    // CHECKPOINT needs pg_checkpoint on PostgreSQL 15; only a login that may grant
    // it succeeds, for the others the truncation of the log fails later.
    QSqlQuery grant(db);
    grant.exec(QStringLiteral("GRANT pg_checkpoint TO sa"));
}

void PostgresServer::dropRestoreDatabase(const QSqlDatabase &db, const QString &name) const
{
    // WITH (FORCE) only here: these databases are the restore's own, and a killed desk's
    // pg_restore may leave its server process running in them for a while.
    execText(db, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(checkedName(name)));
}

bool PostgresServer::acceptsConnections(const QSqlDatabase &db) const
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT datallowconn FROM pg_database WHERE datname=:NAME"));
    q.bindValue(QStringLiteral(":NAME"), m_databaseName);
    if (!q.exec())
        throw EDatabaseError(q.lastError().text());
    return !q.next() || q.value(0).toBool(); // a missing database closes nothing
}

void PostgresServer::allowConnections(const QSqlDatabase &db, bool allow) const
{
    // Only possible from another database; the owner may, no superuser is needed.
    execText(db, QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS %2")
                     .arg(checkedName(m_databaseName), allow ? QStringLiteral("true") : QStringLiteral("false")));
}

bool PostgresServer::openClosedDatabase(const QString &user, const QString &password) const
{
    // The log-in's own failure stands whenever this cannot help.
    try {
        ScopedConnection m("reopen");
        QString error;
        if (!openConnection(m.name(), QStringLiteral("postgres"), user, password, &error))
            return false;
        if (acceptsConnections(m.db()) || !tryRestoreLock(m.db(), LoginLockWaitMs))
            return false;
        allowConnections(m.db(), true);
        return true;
    } catch (const EDatabaseError &) {
        return false;
    }
}

bool PostgresServer::tryRestoreLock(const QSqlDatabase &db, int waitMs) const
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT pg_try_advisory_lock(hashtextextended(:NAME, 0))"));
        q.bindValue(QStringLiteral(":NAME"), stagingName());
        if (!q.exec() || !q.next())
            throw EDatabaseError(q.lastError().text());
        if (q.value(0).toBool())
            return true;
        if (waited.elapsed() >= waitMs)
            return false;
        QThread::msleep(100);
    }
}

void PostgresServer::removeLeftoverDatabases(const QSqlDatabase &db) const
{
    for (const QString &name : {stagingName(), previousName()})
        if (physicalExists(db, name))
            dropRestoreDatabase(db, name);
}

void PostgresServer::dropDatabase()
{
    const qint64 own = ownBackendPid();
    if (m_currentDatabase == QLatin1String(ProgramDatabase))
        close();
    ScopedConnection m("drop");
    openMaintenance(m);
    refuseWhileInUse(m.db(), own);
    dropPhysical(m.db(), m_databaseName);
}

void PostgresServer::createDatabase()
{
    ScopedConnection m("create");
    openMaintenance(m);
    createPhysical(m.db(), m_databaseName);
    try {
        writeSchema(m_databaseName);
    } catch (...) {
        // No empty or half-made database stays behind.
        try {
            dropPhysical(m.db(), m_databaseName);
        } catch (const EDatabaseError &) {
        }
        throw;
    }
}

void PostgresServer::writeSchema(const QString &physical) const
{
    ScopedConnection schema("schema");
    QString error;
    if (!openConnection(schema.name(), physical, m_user, m_password, &error))
        throw EDatabaseError(error);
    execInTransaction(schema.db(), schemaStatements(SchemaScript));
}

void PostgresServer::resetDatabase()
{
    replaceDatabase([this](const QString &staging) { writeSchema(staging); });
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
    for (const SchemaTable &table : schemaTables(SchemaScript))
        sizes << QStringLiteral("pg_total_relation_size('%1')").arg(table.name);
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
    const pid_t desk = ::getpid();
    process.setChildProcessModifier([desk] {
        // The tool ends with the desk that started it: a dump or a restore left running
        // would go on filling a file or a database that nobody takes.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != desk)
            ::_exit(127);
    });
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
    removeLeftovers(target);
    try {
        ScopedConnection m("leftovers");
        openMaintenance(m);
        if (tryRestoreLock(m.db(), 0))
            removeLeftoverDatabases(m.db());
    } catch (const EDatabaseError &) {
        // the dump itself says whether the server answers
    }
    WorkFile temp(target, "tmp");
    QString output;
    const int rc = runTool(QStringLiteral("pg_dump"),
                           {QStringLiteral("-w"), QStringLiteral("-Fc"), QStringLiteral("-h"), m_host,
                            QStringLiteral("-p"), QString::number(m_port), QStringLiteral("-U"), m_user,
                            QStringLiteral("-f"), temp.path(), checkedName(m_databaseName)},
                           &output);
    if (rc != 0)
        throw EDatabaseError(output.isEmpty() ? QStringLiteral("Záloha selhala") : output);
    temp.moveOnto(target);
}

bool PostgresServer::verifyBackup(const QString &path, QString *why)
{
    auto fail = [why](const QString &text) { return failWith(why, text); };
    if (!checkBackupFile(path, why))
        return false;
    // The whole archive is read, data too: its table of contents alone passes a file
    // cut off in its data.
    QString output;
    if (runTool(QStringLiteral("pg_restore"), {QStringLiteral("-f"), QStringLiteral("/dev/null"), path}, &output) != 0)
        return fail(output.isEmpty() ? QStringLiteral("Soubor %1 není záloha").arg(path) : output);
    QString script;
    if (runTool(QStringLiteral("pg_restore"), {QStringLiteral("--schema-only"), QStringLiteral("-f"),
                                               QStringLiteral("-"), path},
                &script)
        != 0)
        return fail(script.isEmpty() ? QStringLiteral("Soubor %1 není záloha").arg(path) : script);
    // A dump of another database, or of tables with other columns, would restore into
    // one that no statement of the program can use.
    for (const SchemaTable &table : schemaTables(SchemaScript)) {
        const QStringList dumped = dumpedColumns(script, table.name);
        if (dumped.isEmpty())
            return fail(QStringLiteral("V souboru %1 chybí tabulka %2").arg(path, table.name));
        bool same = dumped.size() == table.columns.size();
        for (qsizetype i = 0; same && i < dumped.size(); ++i) {
            const QString expected = table.columns[i].first.toLower() + QLatin1Char(' ')
                + dumpedType(table.columns[i].second);
            same = dumped[i] == expected || dumped[i].startsWith(expected + QLatin1Char(' '));
        }
        if (!same)
            return fail(QStringLiteral("Tabulka %2 v souboru %1 má jiné sloupce").arg(path, table.name));
    }
    return true;
}

void PostgresServer::renameDatabase(const QSqlDatabase &db, const QString &from, const QString &to) const
{
    execText(db, QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(checkedName(from), checkedName(to)));
}

void PostgresServer::swapIn(const QSqlDatabase &db, const QString &staging, const QString &previous) const
{
    // Both renames commit together or not at all: a desk killed in between leaves
    // the old database in its place, never a server without one.
    inTransaction(db, [&] {
        if (physicalExists(db, m_databaseName))
            renameDatabase(db, m_databaseName, previous);
        renameDatabase(db, staging, m_databaseName);
    });
}

void PostgresServer::replaceDatabase(const std::function<void(const QString &)> &fill)
{
    // The renames need a database nobody is connected to, this desk included.
    const bool wasOpen = m_currentDatabase == QLatin1String(ProgramDatabase);
    if (wasOpen)
        close();
    try {
        ScopedConnection m("replace");
        openMaintenance(m);
        const QSqlDatabase db = m.db();
        // Held until the end, when the connection closes: one restore or reset at a time,
        // and the log-ins that find the database closed know that it is under way.
        if (!tryRestoreLock(db, RestoreLockWaitMs))
            throw EDatabaseError(QStringLiteral("Obnova databáze %1 již probíhá").arg(m_databaseName));
        removeLeftoverDatabases(db);
        // A lock taken in the database itself could not guard it: the renames need it empty.
        // Closed from here on, it may still hold desks that came before: they refuse the work.
        const bool existed = physicalExists(db, m_databaseName);
        if (existed)
            allowConnections(db, false);
        const QString staging = stagingName();
        try {
            refuseWhileInUse(db, 0);
            createPhysical(db, staging);
            try {
                fill(staging);
                beforeSwap();
                refuseWhileInUse(db, 0);
                swapIn(db, staging, previousName());
            } catch (...) {
                try {
                    dropRestoreDatabase(db, staging);
                } catch (const EDatabaseError &) {
                }
                throw;
            }
        } catch (...) {
            // The old database stands: open to the desks again.
            try {
                if (existed)
                    allowConnections(db, true);
            } catch (const EDatabaseError &) {
            }
            throw;
        }
        // The new database stands; an old copy that cannot be dropped now is dropped by
        // the next backup, restore or reset and must not make this one look failed.
        try {
            dropRestoreDatabase(db, previousName());
        } catch (const EDatabaseError &) {
        }
    } catch (...) {
        // The desk goes back to its database, the old one or the new one.
        if (wasOpen)
            reopen(QString::fromLatin1(ProgramDatabase));
        throw;
    }
    if (wasOpen && !reopen(QString::fromLatin1(ProgramDatabase)))
        throw EDatabaseError(m_errorText);
}

void PostgresServer::restore(const QString &path)
{
    // Restored into a new database first: until the swap, the old one stays as it was.
    // The check belongs to the restore: no desk may write meanwhile either.
    replaceDatabase([&](const QString &staging) {
        QString why;
        if (!verifyBackup(path, &why))
            throw EDatabaseError(why);
        QString output;
        const int rc = runTool(QStringLiteral("pg_restore"),
                               {QStringLiteral("-w"), QStringLiteral("--no-owner"), QStringLiteral("--exit-on-error"),
                                QStringLiteral("--single-transaction"), QStringLiteral("-h"), m_host,
                                QStringLiteral("-p"), QString::number(m_port), QStringLiteral("-U"), m_user,
                                QStringLiteral("-d"), staging, path},
                               &output);
        if (rc != 0)
            throw EDatabaseError(output.isEmpty() ? QStringLiteral("Obnova selhala") : output);
    });
}
