#pragma once
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

#include <QProcessEnvironment>

// A PostgreSQL server: server logins are roles, "master" is the maintenance database
// "postgres", and sa creates and owns the program's database. Backups are pg_dump's
// custom format, run as child processes with the password in their environment.
//
// A restore runs into a staging database ("valmedo4_restore") and swaps it in with both
// renames in one transaction; the drop and the restore refuse while other sessions use
// the program's database, so another desk is never cut off.
class PostgresServer : public SqlServer {
public:
    PostgresServer(const QString &serverName, const QString &host, int port);
    ~PostgresServer() override;

    bool open(const QString &database, const QString &user, const QString &password) override;

    bool databaseExists() override;
    void dropDatabase() override;
    void createDatabase() override;
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
    void dropPhysical(const QSqlDatabase &db, const QString &name) const;
    bool physicalExists(const QSqlDatabase &db, const QString &name) const;
    // The backend of the desk's own connection on the program's database, or 0.
    qint64 ownBackendPid() const;
    // The client sessions on `name` other than db's own and ownPid; while there are
    // some, they are given up to graceMs to end (a connection just closed lingers).
    int otherSessions(const QSqlDatabase &db, const QString &name, qint64 ownPid, int graceMs) const;
    // EDatabaseError while another session uses the program's database.
    void refuseWhileInUse(const QSqlDatabase &db, qint64 ownPid) const;
    // Drops the staging and previous databases that a killed restore left, unless a
    // session (another desk's restore under way) still uses them.
    void removeLeftoverDatabases(const QSqlDatabase &db) const;
    // Puts the staging database in the place of the program's one in one transaction.
    void swapIn(const QSqlDatabase &db, const QString &staging, const QString &previous) const;
    QString tool(const QString &name) const;
    int runTool(const QString &name, const QStringList &args, QString *output) const;
    QSqlDatabase programConnection() const;
    QString stagingName() const;
    QString previousName() const;

    QString m_host;
    int m_port;
    PostgresDialect m_dialect;
};
