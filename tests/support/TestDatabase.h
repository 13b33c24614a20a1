#pragma once
#include "support/TestSupport.h"

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <utility>

class SqlServer;

// A fresh program database for one test, on the engine asked for: the schema and
// its seed rows, connected as the program's connection (CurrentServer(),
// CurrentConnection()) with the login "sa". SQLite lives in a temporary folder;
// PostgreSQL on the test server of PgTestServerFromEnv() under a database name of
// this test program's own ("valmedo4_" + the executable's name). The destructor
// closes the connection and removes the database.
//
//     void lends_data() { AddEngineRows(); }
//     void lends()
//     {
//         OPEN_TEST_DATABASE(db);
//         ...
class TestDatabase {
public:
    explicit TestDatabase(Engine engine);
    ~TestDatabase();
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    bool isReady() const { return m_ready; }
    QString error() const { return m_error; }
    Engine engine() const { return m_engine; }

    // What ConnectDatabase needs to connect to the same database again.
    QString serverName() const { return m_serverName; }
    static QString user() { return QStringLiteral("sa"); }
    QString password() const { return m_password; }
    // The physical name of the program's database on the server.
    QString databaseName() const;

    SqlServer *server() const;
    // Another desk's connection to the same database, opened in the calling thread (a
    // worker thread may call it) under `connectionName`, as the program opens its own;
    // the caller removes it with QSqlDatabase::removeDatabase. Not open on failure.
    QSqlDatabase openOtherDesk(const QString &connectionName) const;
    // A folder for the test's own files (backups and the like), removed at the end.
    QString scratchDir() const { return m_scratch.path(); }

private:
    bool setUp();

    Engine m_engine;
    bool m_ready = false;
    QString m_error;
    QString m_serverName;
    QString m_password;
    QTemporaryDir m_folder;
    QTemporaryDir m_scratch;
};

// One database per engine for the rows of a test that only read it: made and filled by
// `fill` at the first row of its engine and kept while the rows stay on that engine. One
// that does not open is not kept, so that each row of its engine fails with the reason
// and none goes on without a connection.
class SharedTestDatabase {
public:
    explicit SharedTestDatabase(std::function<void()> fill) : m_fill(std::move(fill)) {}

    // The database on `engine`, or nullptr with the reason in error().
    TestDatabase *open(Engine engine);
    QString error() const { return m_error; }
    // Removes it, before a test that opens a database of its own: each test program has
    // one database name on the PostgreSQL test server.
    void reset() { m_db.reset(); }

private:
    std::function<void()> m_fill;
    std::unique_ptr<TestDatabase> m_db;
    QString m_error;
};

// Opens `db` on `engine` and fails the test row with the reason when it does not open
// (no PostgreSQL test server, for one).
#define OPEN_TEST_DATABASE_ON(db, engine)                                                                      \
    TestDatabase db(engine);                                                                                   \
    QVERIFY2(db.isReady(), qPrintable(db.error()))

// The same on the row's engine, fetched from its column "engine" (AddEngineRows); the
// test goes on using `engine` as fetched.
#define OPEN_TEST_DATABASE(db)                                                                                 \
    QFETCH(Engine, engine);                                                                                    \
    OPEN_TEST_DATABASE_ON(db, engine)

// The row's engine, fetched as OPEN_TEST_DATABASE does, on the SharedTestDatabase `shared`.
#define OPEN_SHARED_TEST_DATABASE(shared)                                                                      \
    QFETCH(Engine, engine);                                                                                    \
    QVERIFY2((shared).open(engine), qPrintable((shared).error()))
