#pragma once
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

// The embedded engine: a folder is the server. It holds "master.db" with the server
// logins (name, salt, salted password hash) and one SQLite file per database
// ("valmedo4.db"). The first "sa" connection to a folder without logins installs the
// server there: the folder, the sa login with the password given, and an empty
// program database made by the schema script.
class EmbeddedServer : public SqlServer {
public:
    EmbeddedServer(const QString &serverName, const QString &folder);
    ~EmbeddedServer() override;

    QString folder() const { return m_folder; }
    QString databaseFile() const;
    QString masterFile() const;

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

    // Registers the case-folding like() and fold() and the CZECH collation on an
    // open SQLite connection, and switches its foreign keys on.
    static void prepareConnection(const QSqlDatabase &db);

private:
    void install(const QString &password);
    void checkLogin(const QString &user, const QString &password);
    void createDatabaseFile(const QString &path);
    QSqlDatabase programConnection() const;

    QString m_folder;
    SqliteDialect m_dialect;
};
