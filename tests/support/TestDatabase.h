#pragma once
#include "support/TestSupport.h"

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <memory>

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
