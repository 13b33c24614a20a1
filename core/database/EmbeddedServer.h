#pragma once
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

// The embedded engine: a folder is the server. It holds "master.db" with the server
// logins (name, salt, salted password hash) and one SQLite file per database
// ("valmedo4.db"). The first "sa" connection to a folder without logins installs the
// server there: the folder, the sa login with the password given, and an empty
// program database made by the schema script.
//
// Every connection on the program's database holds a shared lock on the lock file
// beside it ("valmedo4.db.lock") while it is open; the restore, the reset, the drop and
// the creation take it exclusively for as long as they run, and fail while another desk
// is connected.
class EmbeddedServer : public SqlServer {
public:
    EmbeddedServer(const QString &serverName, const QString &folder);
    ~EmbeddedServer() override;

    QString folder() const { return m_folder; }
    QString databaseFile() const;
    QString masterFile() const;
    QString lockFile() const;

    bool open(const QString &database, const QString &user, const QString &password) override;
    void close() override;

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

    // Registers the case-folding like() and fold() and the CZECH collation on an
    // open SQLite connection, and switches its foreign keys on.
    static void prepareConnection(const QSqlDatabase &db);

private:
    void install(const QString &password);
    void checkLogin(const QString &user, const QString &password);
    void createDatabaseFile(const QString &path);
    // The schema and its seed rows written into a new, empty file.
    static void writeSchema(const QString &file);
    QSqlDatabase programConnection() const;
    // The database for this desk alone: the exclusive lock, or EDatabaseError while
    // another desk is connected. This desk's own connection must be closed first.
    FileLock takeDatabase() const;
    // The database's file put in place of the old one; the caller holds takeDatabase().
    void replaceDatabaseFile(WorkFile &staging);
    // A new database file made by `fill` in a work file ("<database>.<what>-<id>") and put
    // in the place of the old one, under takeDatabase() from the start to the end.
    void replaceDatabase(const char *what, const std::function<void(const QString &file)> &fill);

    QString m_folder;
    FileLock m_useLock; // while the connection is open on the program's database
    SqliteDialect m_dialect;
};
