#pragma once
#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

// The program's one command object on the main connection (CurrentConnection()).
// Every use is SetCommand, one SetCommandParam per marker of the text, then exactly
// one of the three executions. All of them throw EDatabaseError on failure: a
// statement the server refuses, a lost connection, a parameter name the text does not
// hold, a value statement that returns no row.
//
// Values are QVariants: null (QVariant()), int, qint64, double, Money, QDate,
// QDateTime, QString, bool. Texts are bound right-trimmed (the fixed-width columns of
// the schema never keep trailing blanks); dates and times are bound as the
// 'yyyy-mm-dd hh:mm:00' text the engines compare correctly (times to the minute).
void SetCommand(const QString &text);
void SetCommandParam(const QString &name, const QVariant &value);
void ExecCommand();
QVariant ExecCommandValue();
QSqlQuery ExecCommandRecordset();
// The number of rows the last ExecCommand changed (the SELECT @@ROWCOUNT of old).
int CommandRowsAffected();

// A statement run many times with new values in one piece of work (the lines of one
// document): prepared once on the program's connection, its values bound and its markers
// checked as SetCommand's are. exec() throws EDatabaseError as ExecCommand does. Make it
// before the transaction it serves, so that a statement the server refused is freed only
// after the rollback.
class RepeatedCommand {
public:
    explicit RepeatedCommand(const QString &text);
    void setParam(const QString &name, const QVariant &value);
    void exec();
    int rowsAffected() const { return m_rowsAffected; }

private:
    QString m_text;
    QStringList m_markers;
    QSqlQuery m_query;
    int m_rowsAffected = -1;
};

// While one exists, the query of a statement the server refuses is kept, not freed, until
// Release() or the end of the hold. PostgreSQL cannot free a prepared statement inside a
// transaction that the refusal has aborted (Qt then warns "Unable to free statement"): a
// caller that rolls back to its savepoint after a refusal holds the query over the rollback
// and releases it afterwards. Holds may nest; releasing frees every kept query.
class RefusedCommandHold {
public:
    RefusedCommandHold();
    ~RefusedCommandHold();
    RefusedCommandHold(const RefusedCommandHold &) = delete;
    RefusedCommandHold &operator=(const RefusedCommandHold &) = delete;
    void Release();
};

// While the outermost one lives, the program's connection only reads (PostgreSQL: each
// statement a read-only transaction of its own; SQLite: query_only), so a statement
// that carries a text a person typed writes nothing, whatever it calls. Scopes may nest.
// Throws EDatabaseError when it cannot begin.
class ReadOnlyStatements {
public:
    ReadOnlyStatements();
    ~ReadOnlyStatements();
    ReadOnlyStatements(const ReadOnlyStatements &) = delete;
    ReadOnlyStatements &operator=(const ReadOnlyStatements &) = delete;
};

// The named markers of a statement text, in order, without their colons; markers
// inside quoted literals and PostgreSQL's "::" casts are not markers.
QStringList CommandMarkers(const QString &text);

// A query of the program's connection prepared with `text`, each of its `markers` bound
// to its value in `values` (null when it has none) as the engine takes it, and reading
// numbers with the engine's precision. Throws EDatabaseError when there is no connection
// or the server refuses the text.
QSqlQuery PrepareQuery(const QString &text, const QStringList &markers,
                       const QHash<QString, QVariant> &values);
// Runs a prepared query with its bound values; throws EDatabaseError with the
// driver's text when it fails.
void ExecQueryOrThrow(QSqlQuery &query, const QString &what);
// Runs `text` forward-only, each of its `markers` bound to its value in `values`, as
// PrepareQuery and ExecQueryOrThrow do; throws EDatabaseError the same way.
QSqlQuery ExecReadingQuery(const QString &text, const QStringList &markers,
                           const QHash<QString, QVariant> &values);
