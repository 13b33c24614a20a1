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
// (VALMEDO_TEST_PG_HOST, VALMEDO_TEST_PG_PORT, VALMEDO_TEST_PG_PASSWORD). Its "sa" has the
// shop's rights only (LOGIN, CREATEDB, pg_checkpoint), as on a shop's server; the superuser
// VALMEDO_TEST_PG_ADMIN, with the same password, is for what only a test does (roles).
// A test that needs it and finds none must fail, never skip.
struct PgTestServer {
    QString host;
    int port = 0;
    QString password;
    QString admin;
    QString serverName() const { return QStringLiteral("%1:%2").arg(host).arg(port); }
};
std::optional<PgTestServer> PgTestServerFromEnv();

// Runs one statement on the test server's `database` as its superuser; false with the
// server's text in *error when it fails.
bool ExecAsPgAdmin(const PgTestServer &server, const QString &statement, QString *error = nullptr,
                   const QString &database = QStringLiteral("postgres"));
