#pragma once
#include "core/database/FileLock.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class SqlDialect;

// Allocated and used size of the program's database, in bytes.
struct FileStats {
    qint64 allocated = 0;
    qint64 used = 0;
};

// The database server named in the login dialog: an embedded SQLite folder or a
// PostgreSQL server. It owns the program's one connection, ConnectionName, on which
// the command routines and every browse query run.
//
// The database names the program uses are "valmedo4" (ProgramDatabase) and "master"
// (MasterDatabase: the embedded logins file, PostgreSQL's "postgres").
class SqlServer {
public:
    static constexpr const char *ConnectionName = "ADOConnection";
    static constexpr const char *ProgramDatabase = "valmedo4";
    static constexpr const char *MasterDatabase = "master";
    // How long the desk's statements wait for what another desk holds (an open code
    // book, say) before they fail, so that the desk never hangs on it.
    static constexpr int LockWaitMs = 5000;

    virtual ~SqlServer();

    // The engine by the server name: "(local)" or an absolute folder is embedded,
    // anything else is "host" or "host:port" of a PostgreSQL server.
    static std::unique_ptr<SqlServer> create(const QString &serverName);
    // "(local)" first, then "localhost" when a PostgreSQL server answers on this
    // machine's port 5432 within a short time; never fails.
    static QStringList listServers();

    QString serverName() const { return m_serverName; }

    // The physical name that every server made by create() gives ProgramDatabase;
    // tests set their own so that test programs can share one PostgreSQL server.
    static void setProgramDatabaseName(const QString &name);
    static QString programDatabaseName();

    // Where the engines write what the desk's log should know (an embedded server
    // folder made at the first "sa" connection); nothing when unset.
    using LogSink = std::function<void(const QString &)>;
    static void setLogSink(LogSink sink);

    // Opens the connection on `database` (ProgramDatabase or MasterDatabase) with a
    // server login; an open connection is closed first. False on any failure, with
    // the reason in errorText() (never shown to the user; the log may take it).
    virtual bool open(const QString &database, const QString &user, const QString &password) = 0;
    // Closes the connection; the queries on it must be finished first.
    virtual void close();
    bool isOpen() const;
    // The logical name of the database the connection is on, or empty.
    QString currentDatabase() const { return m_currentDatabase; }
    QSqlDatabase connection() const;
    QString errorText() const { return m_errorText; }
    // Opens the connection on another database with the login of the last open().
    bool reopen(const QString &database) { return open(database, m_user, m_password); }
    QString userName() const { return m_user; }

    // Operations on the program's database; they throw EDatabaseError on failure
    // (databaseExists too: false means only that the database is not there).
    virtual bool databaseExists() = 0;
    // Nothing when it does not exist. This desk's own connection on it is closed; another
    // desk's connection makes it fail.
    virtual void dropDatabase() = 0;
    virtual void createDatabase() = 0;  // an empty database with the schema and seed rows
    // An empty database with the schema and seed rows in the place of the existing one
    // (or of none). It is made under another name and swapped in, so that a kill leaves
    // the old database or the new one whole; it fails as the restore does.
    virtual void resetDatabase() = 0;
    virtual void reindex() = 0;         // the four data tables
    virtual void truncateLog() = 0;
    virtual FileStats fileStats() = 0;
    // Replaces an existing file only once the new one is whole. What killed backups and
    // restores left is cleared first (the backup and the restore both do).
    virtual void backup(const QString &path) = 0;
    // The file is whole and holds the seven tables with the columns this program's
    // schema gives them, so that a restore from it can be used.
    virtual bool verifyBackup(const QString &path, QString *why = nullptr) = 0;
    // Verifies first; the old database stays on failure. Another desk connected to the
    // database makes the restore (as the drop) fail: it is never pulled away from a desk.
    // From its start to its end no desk can connect to the database (nor during a reset):
    // what one wrote meanwhile would be gone with the old database. This desk's own
    // connection on it is closed for that time and opened again afterwards.
    virtual void restore(const QString &path) = 0;

    virtual const SqlDialect &dialect() const = 0;

    // The physical name behind ProgramDatabase ("valmedo4"); tests give each test
    // program its own so that they can share one PostgreSQL server.
    void setDatabaseName(const QString &name) { m_databaseName = name; }
    QString databaseName() const { return m_databaseName; }

    // A connection of the engines' own beside the program's one, under a unique name,
    // removed on scope exit.
    class ScopedConnection {
    public:
        explicit ScopedConnection(const char *what);
        ~ScopedConnection();
        ScopedConnection(const ScopedConnection &) = delete;
        ScopedConnection &operator=(const ScopedConnection &) = delete;
        QString name() const { return m_name; }
        QSqlDatabase db() const;

    private:
        QString m_name;
    };

    // One table of the program's schema: its name and its columns in order, each as
    // its name and its declared type ("JMENO VARCHAR(32)").
    struct SchemaTable {
        QString name;
        QList<QPair<QString, QString>> columns;
    };

    // A file written beside `target` while an operation makes it ("<target>.<what>-<id>"),
    // locked from its first moment so that no other desk takes it for a leftover. The
    // destructor removes it, with SQLite's companion files, unless moveOnto() put it in
    // the target's place.
    class WorkFile {
    public:
        WorkFile(const QString &target, const char *what);
        ~WorkFile();
        WorkFile(const WorkFile &) = delete;
        WorkFile &operator=(const WorkFile &) = delete;
        QString path() const { return m_path; }
        // Renames the file over `target` in one step.
        void moveOnto(const QString &target);

    private:
        QString m_path;
        FileLock m_lock;
        bool m_moved = false;
    };

protected:
    explicit SqlServer(const QString &serverName);
    // Called by a restore and a reset once the new database is whole, right before it is
    // swapped in; a test holds the operation there.
    virtual void beforeSwap() {}
    static void writeLog(const QString &line);
    // The statements of a schema script compiled in as a resource, in order.
    static QStringList schemaStatements(const QString &resource);
    // The tables that a schema script creates, in its order.
    static QList<SchemaTable> schemaTables(const QString &resource);
    // How an engine reports its database's indexes and bounds the wait for their tables.
    struct IndexCatalogue {
        // Each index of the database by its name and the statement that makes it, as the
        // schema script writes one (what the engine adds of its own taken out).
        QString definitions;
        // Run before the indexes are made or replaced, and after: the lock wait shortened
        // to IndexLockWaitMs and set back to LockWaitMs.
        QString shortLockWait;
        QString usualLockWait;
    };
    // While an index waits for its table, the other desks' statements on the table queue
    // behind it: it gives up soon and is made at a later open.
    static constexpr int IndexLockWaitMs = 500;
    // Gives the program's database on `db` the indexes of a schema script: one made by an
    // older version of the program, or restored from its backup, gets those added since,
    // and an index of the script's name in another shape (other columns, another
    // collation) is dropped and made again as the script has it, both in one transaction
    // (on PostgreSQL the other desks wait for the table while it is built: under a second
    // for 100 000 customers, once for a database).
    // An index already as the script has it is left alone, so that an ordinary open only
    // reads the catalogue. An index that cannot be made or replaced now (another desk
    // holds its table, the login does not own it) is written to the log, the old one
    // kept, and tried again at the next open; the lists work without it, only their sorts
    // are slower.
    static void updateIndexes(const QSqlDatabase &db, const QString &resource, const IndexCatalogue &catalogue);
    // Removes what killed operations left beside `target`: the work files of its name
    // (see WorkFile) that no desk holds any more, and their companion files.
    static void removeLeftovers(const QString &target);
    // Removes a file with SQLite's companions; throws when the file itself stays.
    static void removeWithCompanions(const QString &path);
    // Runs one statement unprepared (utility statements cannot be prepared on
    // PostgreSQL); throws EDatabaseError with the driver's text.
    static void execText(const QSqlDatabase &db, const QString &text);
    // Runs work in one transaction on db: committed when it returns, rolled back when
    // it throws (and the error thrown on).
    static void inTransaction(const QSqlDatabase &db, const std::function<void()> &work);
    // Runs the statements in one transaction on db; rolls back and throws on failure.
    static void execInTransaction(const QSqlDatabase &db, const QStringList &statements);
    // Closes and forgets a connection other than the program's one.
    static void dropConnection(const QString &name);
    // False with the reason in *why when a backup file is missing or empty.
    static bool checkBackupFile(const QString &path, QString *why);
    static bool failWith(QString *why, const QString &text);
    void setError(const QString &text) { m_errorText = text; }

    QString m_serverName;
    QString m_currentDatabase;
    QString m_errorText;
    QString m_databaseName;
    QString m_user;
    QString m_password;
};

// The server of this run, set by ConnectDatabase; null before the first login attempt.
SqlServer *CurrentServer();
void SetCurrentServer(std::unique_ptr<SqlServer> server);
// The program's connection (possibly invalid before a login).
QSqlDatabase CurrentConnection();
