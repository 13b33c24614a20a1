#include "support/TestSupport.h"

#include <QTest>

void AddEngineRows()
{
    QTest::addColumn<Engine>("engine");
    QTest::newRow("sqlite") << Engine::SQLite;
    QTest::newRow("postgres") << Engine::PostgreSQL;
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
    return s;
}
