#include "support/TestSupport.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <utility>

void AddEngineRows()
{
    QTest::addColumn<Engine>("engine");
    QTest::newRow("sqlite") << Engine::SQLite;
    QTest::newRow("postgres") << Engine::PostgreSQL;
}

void AddEngineFlagRows(const char *flag, const char *falseTag, const char *trueTag)
{
    QTest::addColumn<Engine>("engine");
    QTest::addColumn<bool>(flag);
    const std::pair<const char *, Engine> engines[] = {{"sqlite", Engine::SQLite},
                                                       {"postgres", Engine::PostgreSQL}};
    for (const auto &[name, engine] : engines) {
        QTest::addRow("%s-%s", name, falseTag) << engine << false;
        QTest::addRow("%s-%s", name, trueTag) << engine << true;
    }
}

std::optional<PgTestServer> PgTestServerFromEnv()
{
    const QByteArray host = qgetenv("VALMEDO_TEST_PG_HOST");
    const QByteArray port = qgetenv("VALMEDO_TEST_PG_PORT");
    if (host.isEmpty() || port.isEmpty())
        return std::nullopt;
    PgTestServer s;
    s.host = QString::fromUtf8(host);
    s.port = port.toInt();
    s.password = QString::fromUtf8(qgetenv("VALMEDO_TEST_PG_PASSWORD"));
    s.admin = QString::fromUtf8(qgetenv("VALMEDO_TEST_PG_ADMIN"));
    return s;
}

bool ExecAsPgAdmin(const PgTestServer &server, const QString &statement, QString *error, const QString &database)
{
    const QString name = QStringLiteral("valmedo-test-admin");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(server.host);
        db.setPort(server.port);
        db.setDatabaseName(database);
        db.setUserName(server.admin);
        db.setPassword(server.password);
        if (!db.open()) {
            if (error)
                *error = db.lastError().text();
        } else {
            QSqlQuery query(db);
            ok = query.exec(statement);
            if (!ok && error)
                *error = query.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}
