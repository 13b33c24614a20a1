#include "core/database/SqlServer.h"

#include "core/database/EmbeddedServer.h"
#include "core/database/Errors.h"
#include "core/database/PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QUuid>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTcpSocket>

#include <csignal>
#include <cstdio>

namespace {
std::unique_ptr<SqlServer> g_server;
QString g_programDatabaseName = QString::fromLatin1(SqlServer::ProgramDatabase);
SqlServer::LogSink g_logSink;
} // namespace

SqlServer::SqlServer(const QString &serverName)
    : m_serverName(serverName), m_databaseName(g_programDatabaseName)
{
    // A write past the file-size limit would end the program by SIGXFSZ; ignored, the
    // write fails with EFBIG and a backup reports it as it reports a full disk.
    static const bool fileSizeSignalIgnored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    Q_UNUSED(fileSizeSignalIgnored);
}

SqlServer::~SqlServer() = default;

void SqlServer::setProgramDatabaseName(const QString &name)
{
    g_programDatabaseName = name.isEmpty() ? QString::fromLatin1(ProgramDatabase) : name;
}

QString SqlServer::programDatabaseName()
{
    return g_programDatabaseName;
}

void SqlServer::setLogSink(LogSink sink)
{
    g_logSink = std::move(sink);
}

void SqlServer::writeLog(const QString &line)
{
    if (g_logSink)
        g_logSink(line);
}

std::unique_ptr<SqlServer> SqlServer::create(const QString &serverName)
{
    const QString name = serverName.trimmed();
    if (name == QLatin1String("(local)")) {
        const QString folder =
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
            + QLatin1String("/server");
        return std::make_unique<EmbeddedServer>(name, folder);
    }
    if (QDir::isAbsolutePath(name))
        return std::make_unique<EmbeddedServer>(name, QDir::cleanPath(name));
    QString host = name;
    int port = 5432;
    const qsizetype colon = name.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        host = name.left(colon);
        bool ok = false;
        const int p = name.mid(colon + 1).toInt(&ok);
        port = ok && p > 0 && p < 65536 ? p : -1; // a bad port fails at open()
    }
    return std::make_unique<PostgresServer>(name, host, port);
}

QStringList SqlServer::listServers()
{
    QStringList servers{QStringLiteral("(local)")};
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), 5432);
    if (socket.waitForConnected(300))
        servers << QStringLiteral("localhost");
    socket.abort();
    return servers;
}

// The schema scripts live in the static library: their resource must be registered.
static void initSchemaResource()
{
    Q_INIT_RESOURCE(schema);
}

QStringList SqlServer::schemaStatements(const QString &resource)
{
    initSchemaResource();
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("Schéma databáze %1 nelze načíst").arg(resource));
    QStringList statements;
    QString current;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1String("--")))
            continue;
        current += line + QLatin1Char('\n');
        if (line.endsWith(QLatin1Char(';'))) {
            current.chop(2); // the ";" and the line break
            statements << current;
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

QList<SqlServer::SchemaTable> SqlServer::schemaTables(const QString &resource)
{
    // The scripts declare one column or one table constraint per line.
    static const QStringList constraints{QStringLiteral("PRIMARY"), QStringLiteral("FOREIGN"),
                                         QStringLiteral("UNIQUE"), QStringLiteral("CHECK"),
                                         QStringLiteral("CONSTRAINT")};
    QList<SchemaTable> tables;
    for (const QString &statement : schemaStatements(resource)) {
        QStringList lines = statement.split(QLatin1Char('\n'));
        const QStringList head = lines.takeFirst().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (head.size() < 3 || head[0] != QLatin1String("CREATE") || head[1] != QLatin1String("TABLE"))
            continue;
        SchemaTable table{head[2], {}};
        for (const QString &line : lines) {
            const QStringList words = line.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (words.size() < 2 || constraints.contains(words[0]))
                continue;
            QString type = words[1];
            if (type.endsWith(QLatin1Char(',')))
                type.chop(1);
            table.columns.append({words[0], type});
        }
        tables << table;
    }
    return tables;
}

namespace {

// A CREATE INDEX statement in one spelling, so that the engine's report of an index
// compares with the schema's statement: lower case, words apart by one space, no space
// next to a parenthesis or a comma.
QString indexShape(const QString &statement)
{
    static const QRegularExpression aroundPunctuation(QStringLiteral(" ?([(),]) ?"));
    return statement.toLower().simplified().replace(aroundPunctuation, QStringLiteral("\\1"));
}

} // namespace

void SqlServer::updateIndexes(const QSqlDatabase &db, const QString &resource, const IndexCatalogue &catalogue)
{
    QHash<QString, QString> present; // shape by lower-case name
    {
        QSqlQuery q(db);
        if (!q.exec(catalogue.definitions)) {
            writeLog(QStringLiteral("Indexy databáze nelze zjistit: %1").arg(q.lastError().text()));
            return;
        }
        while (q.next())
            present.insert(q.value(0).toString().toLower(), indexShape(q.value(1).toString()));
    }
    struct Work {
        QString name;
        QString statement;
        bool replace;
    };
    QList<Work> work;
    for (const QString &statement : schemaStatements(resource)) {
        // "CREATE INDEX <name> ON ..."
        const QStringList head = statement.section(QLatin1Char(' '), 0, 2).split(QLatin1Char(' '));
        if (head.size() < 3 || head[0] != QLatin1String("CREATE") || head[1] != QLatin1String("INDEX"))
            continue;
        const auto found = present.constFind(head[2].toLower());
        if (found == present.cend())
            work.append({head[2], statement, false});
        else if (*found != indexShape(statement))
            work.append({head[2], statement, true});
    }
    if (work.isEmpty())
        return;
    try {
        execText(db, catalogue.shortLockWait);
    } catch (const EDatabaseError &e) {
        writeLog(QStringLiteral("Indexy databáze nelze upravit: %1").arg(e.message()));
        return;
    }
    for (const Work &w : work) {
        try {
            if (w.replace)
                execInTransaction(db, {QStringLiteral("DROP INDEX %1").arg(w.name), w.statement});
            else
                execText(db, w.statement);
        } catch (const EDatabaseError &e) {
            const QString line = w.replace ? QStringLiteral("Index %1 nelze nahradit: %2")
                                           : QStringLiteral("Index %1 nelze vytvořit: %2");
            writeLog(line.arg(w.name, e.message()));
        }
    }
    try {
        execText(db, catalogue.usualLockWait);
    } catch (const EDatabaseError &e) {
        writeLog(QStringLiteral("Indexy databáze nelze upravit: %1").arg(e.message()));
    }
}

void SqlServer::removeWithCompanions(const QString &path)
{
    for (const char *companion : {"-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(companion));
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw EDatabaseError(QStringLiteral("Soubor %1 nelze odstranit").arg(path));
}

namespace {
constexpr int WorkIdLength = 12;
}

SqlServer::WorkFile::WorkFile(const QString &target, const char *what)
    : m_path(QStringLiteral("%1.%2-%3").arg(target, QLatin1String(what),
                                            QUuid::createUuid().toString(QUuid::Id128).left(WorkIdLength)))
{
    m_lock.create(m_path);
}

SqlServer::WorkFile::~WorkFile()
{
    if (m_moved)
        return;
    try {
        removeWithCompanions(m_path);
    } catch (const EDatabaseError &) {
        // left for the next operation's clearing of leftovers
    }
}

void SqlServer::WorkFile::moveOnto(const QString &target)
{
    // rename(2) replaces the target atomically; QFile::rename refuses an existing one.
    if (std::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(target).constData()) != 0)
        throw EDatabaseError(QStringLiteral("Soubor %1 nelze přejmenovat na %2").arg(m_path, target));
    m_moved = true;
    m_lock.release();
}

void SqlServer::removeLeftovers(const QString &target)
{
    const QFileInfo info(target);
    const QRegularExpression known(QStringLiteral("^%1\\.(tmp|new|restore)-[0-9a-f]{%2}(-wal|-shm|-journal)?$")
                                       .arg(QRegularExpression::escape(info.fileName()))
                                       .arg(WorkIdLength));
    const QDir folder = info.absoluteDir();
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch match = known.match(name);
        if (!match.hasMatch())
            continue;
        // A work file still locked is another desk's operation under way.
        const QString work = folder.filePath(name.chopped(match.capturedLength(2)));
        if (!FileLock::isHeld(work))
            QFile::remove(folder.filePath(name));
    }
}

void SqlServer::execText(const QSqlDatabase &db, const QString &text)
{
    QSqlQuery q(db);
    if (!q.exec(text)) {
        const QString err = q.lastError().text();
        throw EDatabaseError(err.isEmpty() ? text : err);
    }
}

void SqlServer::inTransaction(const QSqlDatabase &db, const std::function<void()> &work)
{
    QSqlDatabase d = db;
    if (!d.transaction())
        throw EDatabaseError(d.lastError().text());
    try {
        work();
    } catch (...) {
        d.rollback();
        throw;
    }
    if (!d.commit()) {
        const QString err = d.lastError().text();
        d.rollback();
        throw EDatabaseError(err);
    }
}

void SqlServer::execInTransaction(const QSqlDatabase &db, const QStringList &statements)
{
    inTransaction(db, [&] {
        for (const QString &s : statements)
            execText(db, s);
    });
}

void SqlServer::dropConnection(const QString &name)
{
    if (!QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

SqlServer::ScopedConnection::ScopedConnection(const char *what)
    : m_name(QStringLiteral("valmedo4-%1-%2").arg(QLatin1String(what), QUuid::createUuid().toString(QUuid::Id128)))
{
}

SqlServer::ScopedConnection::~ScopedConnection()
{
    dropConnection(m_name);
}

QSqlDatabase SqlServer::ScopedConnection::db() const
{
    return QSqlDatabase::database(m_name, false);
}

bool SqlServer::failWith(QString *why, const QString &text)
{
    if (why)
        *why = text;
    return false;
}

bool SqlServer::checkBackupFile(const QString &path, QString *why)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return failWith(why, QStringLiteral("Soubor %1 neexistuje").arg(path));
    if (info.size() == 0)
        return failWith(why, QStringLiteral("Soubor %1 je prázdný").arg(path));
    return true;
}

void SqlServer::close()
{
    dropConnection(QString::fromLatin1(ConnectionName));
    m_currentDatabase.clear();
}

bool SqlServer::isOpen() const
{
    return QSqlDatabase::contains(ConnectionName)
        && QSqlDatabase::database(ConnectionName, false).isOpen();
}

QSqlDatabase SqlServer::connection() const
{
    return CurrentConnection();
}

SqlServer *CurrentServer()
{
    return g_server.get();
}

void SetCurrentServer(std::unique_ptr<SqlServer> server)
{
    if (g_server && g_server != server)
        g_server->close();
    g_server = std::move(server);
}

QSqlDatabase CurrentConnection()
{
    return QSqlDatabase::database(SqlServer::ConnectionName, false);
}
