#pragma once
#include <QMetaType>
#include <QString>
#include <optional>

// The two database engines every database test runs on.
enum class Engine { SQLite, PostgreSQL };
Q_DECLARE_METATYPE(Engine)

// Adds the data column "engine" (Engine) with one row per engine: "sqlite", "postgres".
void AddEngineRows();
// Adds the data columns "engine" (Engine) and `flag` (bool) with two rows per engine, the
// flag false and true: "sqlite-<falseTag>", "sqlite-<trueTag>", "postgres-<falseTag>", ...
void AddEngineFlagRows(const char *flag, const char *falseTag, const char *trueTag);

// The private PostgreSQL server that scripts/test.sh starts, from the environment
// (VALMEDO_TEST_PG_HOST, VALMEDO_TEST_PG_PORT, VALMEDO_TEST_PG_PASSWORD). Its superuser
// is "sa". A test that needs it and finds none must fail, never skip.
struct PgTestServer {
    QString host;
    int port = 0;
    QString password;
    QString serverName() const { return QStringLiteral("%1:%2").arg(host).arg(port); }
};
std::optional<PgTestServer> PgTestServerFromEnv();
