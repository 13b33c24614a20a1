#pragma once
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

#include <QProcessEnvironment>

// A PostgreSQL server: server logins are roles, "master" is the maintenance database
// "postgres", and sa creates and owns the program's database. Backups are pg_dump's
// custom format, run as child processes with the password in their environment.
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
    // reason in *error. Virtual so that a test can make the server refuse one.
    virtual bool openConnection(const QString &name, const QString &physical, const QString &user,
                                const QString &password, QString *error) const;

private:
    void createPhysical(const QString &name) const;
    void dropPhysical(const QString &name) const;
    bool physicalExists(const QString &name) const;
    QString tool(const QString &name) const;
    int runTool(const QString &name, const QStringList &args, QString *output) const;
    QSqlDatabase programConnection() const;

    QString m_host;
    int m_port;
    PostgresDialect m_dialect;
};
