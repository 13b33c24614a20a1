#pragma once
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

#include <QProcessEnvironment>

// A PostgreSQL server: server logins are roles, "master" is the maintenance database
// "postgres", and sa creates and owns the program's database. Backups are pg_dump's
// custom format, run as child processes with the password in their environment.
//
// A restore or a reset makes its database under a staging name ("valmedo4_restore") and
// swaps it in with both renames in one transaction; the drop, the restore and the reset
// refuse while other sessions use the program's database, so another desk is never cut
// off. From their start to their end the program's database accepts no connections
// (ALLOW_CONNECTIONS false, set from "postgres" under the restore's advisory lock there);
// a log-in that finds it closed with no restore holding that lock (one killed half-way)
// opens it again.
class PostgresServer : public SqlServer {
public:
    PostgresServer(const QString &serverName, const QString &host, int port);
    ~PostgresServer() override;

    bool open(const QString &database, const QString &user, const QString &password) override;

    bool databaseExists() override;
    void dropDatabase() override;
    void createDatabase() override;
    void resetDatabase() override;
    void reindex() override;
    void truncateLog() override;
    FileStats fileStats() override;
    void backup(const QString &path) override;
    bool verifyBackup(const QString &path, QString *why = nullptr) override;
    void restore(const QString &path) override;

    const SqlDialect &dialect() const override { return m_dialect; }

protected:
    // Opens a connection `name` on the physical database `physical`; false with the
    // reason in *error.
    virtual bool openConnection(const QString &name, const QString &physical, const QString &user,
                                const QString &password, QString *error) const;
    // One rename of the restore's swap, inside its transaction on `db`. Virtual so that
    // a test can make the server refuse one.
    virtual void renameDatabase(const QSqlDatabase &db, const QString &from, const QString &to) const;

private:
    // Opens m on the maintenance database "postgres" with this desk's login.
    void openMaintenance(const ScopedConnection &m) const;
    void createPhysical(const QSqlDatabase &db, const QString &name) const;
    // The schema and its seed rows written into the existing, empty database `physical`.
    void writeSchema(const QString &physical) const;
    // Whether the program's database takes connections, and the switch of it.
    bool acceptsConnections(const QSqlDatabase &db) const;
    void allowConnections(const QSqlDatabase &db, bool allow) const;
    // Opens the program's database again when a killed restore or reset left it closed to
    // connections and no other holds the restore's lock; whether it did.
    bool openClosedDatabase(const QString &user, const QString &password) const;
    void dropPhysical(const QSqlDatabase &db, const QString &name) const;
    // Drops a staging or previous database of a restore, ending what still runs in it.
    void dropRestoreDatabase(const QSqlDatabase &db, const QString &name) const;
    // The lock a restore holds on its maintenance connection for as long as it runs,
    // waited for up to waitMs; the server drops it with a killed desk's connection.
    bool tryRestoreLock(const QSqlDatabase &db, int waitMs) const;
    bool physicalExists(const QSqlDatabase &db, const QString &name) const;
    // The backend of the desk's own connection on the program's database, or 0.
    qint64 ownBackendPid() const;
    // EDatabaseError while another session than db's own and ownPid uses the program's
    // database (after a moment's grace for connections just closed).
    void refuseWhileInUse(const QSqlDatabase &db, qint64 ownPid) const;
    // Drops the staging and previous databases that a killed restore left; the caller
    // holds tryRestoreLock(), so no restore under way owns them.
    void removeLeftoverDatabases(const QSqlDatabase &db) const;
    // Puts the staging database in the place of the program's one in one transaction.
    void swapIn(const QSqlDatabase &db, const QString &staging, const QString &previous) const;
    // A staging database filled by `fill` and swapped in, with no desk connected to the
    // program's database from the start to the end.
    void replaceDatabase(const std::function<void(const QString &staging)> &fill);
    QString tool(const QString &name) const;
    int runTool(const QString &name, const QStringList &args, QString *output) const;
    QSqlDatabase programConnection() const;
    QString stagingName() const;
    QString previousName() const;

    QString m_host;
    int m_port;
    PostgresDialect m_dialect;
};
