#pragma once
// What the benchmarks share: printing a figure, timing a piece of work, and running
// a benchmark on each engine. SQLite always runs, in a temporary folder. PostgreSQL
// runs too when the test server's address is in the environment
// (VALMEDO_TEST_PG_HOST, VALMEDO_TEST_PG_PORT, VALMEDO_TEST_PG_PASSWORD, as
// scripts/test.sh sets them), on a database of the benchmark's own.

#include "core/Errors.h"
#include "core/database/SqlServer.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace bench {

// The customer page's list statement.
inline QStringList CustomerList()
{
    return {QStringLiteral("SELECT"), QStringLiteral("ZAKAZNIK,"), QStringLiteral("JMENO,"), QStringLiteral("TELEFON,"),
            QStringLiteral("ADRESA1,"), QStringLiteral("ADRESA2,"), QStringLiteral("RC,"), QStringLiteral("OP,"),
            QStringLiteral("REGISTRACE,"), QStringLiteral("CASE"), QStringLiteral(" WHEN OMEZENI=0 THEN '!'"),
            QStringLiteral(" WHEN OMEZENI=1 THEN '$'"), QStringLiteral(" WHEN OMEZENI=2 THEN '-'"),
            QStringLiteral(" WHEN OMEZENI=3 THEN '+'"), QStringLiteral("END AS OMEZENI,"), QStringLiteral("PUJCKY,"),
            QStringLiteral("TEXT"), QStringLiteral("FROM tab_zakaznik"), QStringLiteral("ORDER BY tab_zakaznik.ZAKAZNIK")};
}

inline void print(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

inline qint64 timed(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return t.elapsed();
}

inline void exec(const QString &text)
{
    QSqlQuery q(CurrentConnection());
    if (!q.exec(text))
        throw EDatabaseError(q.lastError().text());
}

// Runs `work` in one transaction on the program's connection.
inline void inTransaction(const std::function<void()> &work)
{
    QSqlDatabase db = CurrentConnection();
    if (!db.transaction())
        throw EDatabaseError(db.lastError().text());
    try {
        work();
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw EDatabaseError(db.lastError().text());
}

// The work on one engine: given the engine's name and whether it is SQLite, it fills
// a fresh program database and prints its figures.
using EngineWork = std::function<void(const QString &engine, bool sqlite)>;

inline bool runOnEngine(const QString &engine, const QString &serverName, const QString &password, bool sqlite,
                        const EngineWork &work)
{
    SetCurrentServer(SqlServer::create(serverName));
    SqlServer *server = CurrentServer();
    const QString master = QString::fromLatin1(SqlServer::MasterDatabase);
    if (!sqlite) {
        if (!server->open(master, QStringLiteral("sa"), password)) {
            print(engine + QStringLiteral(": cannot connect: ") + server->errorText());
            return false;
        }
        server->dropDatabase();
        server->createDatabase();
    }
    if (!server->open(QString::fromLatin1(SqlServer::ProgramDatabase), QStringLiteral("sa"), password)) {
        print(engine + QStringLiteral(": cannot open the database: ") + server->errorText());
        return false;
    }
    work(engine, sqlite);
    if (!sqlite) {
        server->open(master, QStringLiteral("sa"), password);
        server->dropDatabase();
    }
    SetCurrentServer(nullptr);
    return true;
}

// The exit code of a benchmark's main(): `work` on PostgreSQL (when its server is
// given, in the database `pgDatabase`) and on SQLite.
inline int runOnEngines(const QString &pgDatabase, const EngineWork &work)
{
    bool ok = true;
    try {
        const QByteArray host = qgetenv("VALMEDO_TEST_PG_HOST");
        const QByteArray port = qgetenv("VALMEDO_TEST_PG_PORT");
        if (!host.isEmpty() && !port.isEmpty()) {
            SqlServer::setProgramDatabaseName(pgDatabase);
            ok = runOnEngine(QStringLiteral("PostgreSQL"),
                             QStringLiteral("%1:%2").arg(QString::fromUtf8(host), QString::fromUtf8(port)),
                             QString::fromUtf8(qgetenv("VALMEDO_TEST_PG_PASSWORD")), false, work);
            SqlServer::setProgramDatabaseName(QString::fromLatin1(SqlServer::ProgramDatabase));
        }
        QTemporaryDir folder;
        ok = runOnEngine(QStringLiteral("SQLite"), folder.path() + QStringLiteral("/server"),
                         QStringLiteral("sa-bench"), true, work)
            && ok;
    } catch (const EDatabaseError &e) {
        print(QStringLiteral("failed: ") + e.message());
        return 1;
    }
    return ok ? 0 : 1;
}

} // namespace bench
