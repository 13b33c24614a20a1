#include "support/TestDatabase.h"

#include "core/database/Errors.h"
#include "core/database/EmbeddedServer.h"
#include "core/database/SqlServer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
QString programDatabaseName(Engine engine)
{
    if (engine == Engine::SQLite)
        return QString::fromLatin1(SqlServer::ProgramDatabase);
    QString exe = QFileInfo(QCoreApplication::applicationFilePath()).baseName().toLower();
    exe.replace(QRegularExpression(QStringLiteral("[^a-z0-9_]")), QStringLiteral("_"));
    return QStringLiteral("valmedo4_") + exe;
}
} // namespace

TestDatabase::TestDatabase(Engine engine) : m_engine(engine)
{
    try {
        m_ready = setUp();
    } catch (const EDatabaseError &e) {
        m_error = e.message();
        m_ready = false;
    }
}

bool TestDatabase::setUp()
{
    SetCurrentServer(nullptr);
    SqlServer::setProgramDatabaseName(programDatabaseName(m_engine));
    if (m_engine == Engine::SQLite) {
        if (!m_folder.isValid()) {
            m_error = QStringLiteral("no temporary folder");
            return false;
        }
        // The first "sa" connection installs the server folder with an empty database.
        m_serverName = m_folder.path() + QLatin1String("/server");
        m_password = QStringLiteral("sa-test");
        SetCurrentServer(SqlServer::create(m_serverName));
        if (!CurrentServer()->open(QString::fromLatin1(SqlServer::ProgramDatabase), user(), m_password)) {
            m_error = CurrentServer()->errorText();
            return false;
        }
        return true;
    }
    const auto pg = PgTestServerFromEnv();
    if (!pg) {
        m_error = QStringLiteral("no PostgreSQL test server: run the tests through scripts/test.sh");
        return false;
    }
    m_serverName = pg->serverName();
    m_password = pg->password;
    SetCurrentServer(SqlServer::create(m_serverName));
    SqlServer *s = CurrentServer();
    if (!s->open(QString::fromLatin1(SqlServer::MasterDatabase), user(), m_password)) {
        m_error = s->errorText();
        return false;
    }
    s->dropDatabase();
    s->createDatabase();
    if (!s->open(QString::fromLatin1(SqlServer::ProgramDatabase), user(), m_password)) {
        m_error = s->errorText();
        return false;
    }
    return true;
}

TestDatabase::~TestDatabase()
{
    if (m_engine == Engine::PostgreSQL && !m_serverName.isEmpty()) {
        // Whatever the test left current, drop our database through a server of our own.
        SetCurrentServer(nullptr);
        auto s = SqlServer::create(m_serverName);
        if (s->open(QString::fromLatin1(SqlServer::MasterDatabase), user(), m_password)) {
            try {
                s->dropDatabase();
            } catch (const EDatabaseError &) {
            }
        }
        s->close();
    }
    SetCurrentServer(nullptr);
}

QString TestDatabase::databaseName() const
{
    return SqlServer::programDatabaseName();
}

SqlServer *TestDatabase::server() const
{
    return CurrentServer();
}

QSqlDatabase TestDatabase::openOtherDesk(const QString &connectionName) const
{
    QSqlDatabase db;
    if (m_engine == Engine::SQLite) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(m_serverName + QLatin1Char('/') + databaseName() + QLatin1String(".db"));
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
        const auto pg = PgTestServerFromEnv();
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
        db.setHostName(pg ? pg->host : QString());
        db.setPort(pg ? pg->port : 0);
        db.setDatabaseName(databaseName());
        db.setUserName(user());
        db.setPassword(m_password);
    }
    if (db.open() && m_engine == Engine::SQLite)
        EmbeddedServer::prepareConnection(db);
    return db;
}

TestDatabase *SharedTestDatabase::open(Engine engine)
{
    if (m_db && m_db->engine() == engine)
        return m_db.get();
    m_db.reset();
    auto db = std::make_unique<TestDatabase>(engine);
    if (!db->isReady()) {
        m_error = db->error();
        return nullptr;
    }
    m_fill();
    m_db = std::move(db);
    return m_db.get();
}
