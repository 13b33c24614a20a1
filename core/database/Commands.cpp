#include "core/database/Commands.h"

#include "core/database/Errors.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

#include <QSqlError>
#include <utility>

namespace {

struct Command {
    QString text;
    QStringList markers;
    QHash<QString, QVariant> values;
    int rowsAffected = -1;
};

Command &command()
{
    static Command c;
    return c;
}

// The refused queries kept by the open holds.
struct RefusedQueries {
    int holds = 0;
    QList<QSqlQuery> kept;
};

RefusedQueries &refused()
{
    static RefusedQueries r;
    return r;
}

// Runs a prepared query of the command; a refused one is kept while a hold is open.
void execCommandQuery(QSqlQuery &query, const QString &what)
{
    try {
        ExecQueryOrThrow(query, what);
    } catch (const EDatabaseError &) {
        if (refused().holds > 0)
            refused().kept.append(std::exchange(query, QSqlQuery()));
        throw;
    }
}

} // namespace

QStringList CommandMarkers(const QString &text)
{
    QStringList markers;
    QChar quote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (!quote.isNull()) {
            if (ch == quote)
                quote = QChar();
            continue;
        }
        if (ch == u'\'' || ch == u'"') {
            quote = ch;
        } else if (ch == u':') {
            if (i + 1 < text.size() && text[i + 1] == u':') {
                ++i; // a PostgreSQL cast
                continue;
            }
            qsizetype j = i + 1;
            while (j < text.size() && (text[j].isLetterOrNumber() || text[j] == u'_'))
                ++j;
            if (j > i + 1 && !text[i + 1].isDigit()) {
                const QString name = text.mid(i + 1, j - i - 1);
                if (!markers.contains(name))
                    markers << name;
            }
            i = j - 1;
        }
    }
    return markers;
}

namespace {

// A query of the program's connection reading numbers with the engine's precision.
QSqlQuery ConnectionQuery()
{
    QSqlDatabase db = CurrentConnection();
    SqlServer *server = CurrentServer();
    if (!server || !db.isValid() || !db.isOpen())
        throw EDatabaseError(QStringLiteral("Databáze není připojena"));
    QSqlQuery q(db);
    q.setNumericalPrecisionPolicy(server->dialect().readPrecision());
    return q;
}

// Refuses a text that holds more than one statement. PostgreSQL's driver prepares a
// text by sending "PREPARE ... AS <text>" as a query of its own, so a second statement
// in it would run there and then. Only a semicolon outside texts in apostrophes and
// names in quotes ends a statement; a text whose quoting the scan might read otherwise
// than the server (a backslash escape, a dollar quote, a comment) is refused whenever it
// holds a semicolon at all.
void RefuseSecondStatement(const QString &text)
{
    if (!text.contains(QLatin1Char(';')))
        return;
    bool one = !text.contains(QLatin1Char('\\')) && !text.contains(QLatin1Char('$'))
        && !text.contains(QLatin1String("--")) && !text.contains(QLatin1String("/*"));
    QChar quote;
    bool ended = false;
    for (qsizetype i = 0; one && i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (!quote.isNull()) {
            if (ch == quote)
                quote = QChar(); // a doubled quote opens again at once
        } else if (ended) {
            one = ch.isSpace();
        } else if (ch == QLatin1Char('\'') || ch == QLatin1Char('"')) {
            quote = ch;
        } else if (ch == QLatin1Char(';')) {
            ended = true;
        }
    }
    if (!one || !quote.isNull())
        throw EDatabaseError(QStringLiteral("Text dotazu obsahuje více než jeden příkaz: %1").arg(text));
}

} // namespace

QSqlQuery PrepareQuery(const QString &text, const QStringList &markers,
                       const QHash<QString, QVariant> &values)
{
    RefuseSecondStatement(text);
    QSqlQuery q = ConnectionQuery();
    const SqlDialect &dialect = CurrentServer()->dialect();
    if (!q.prepare(text))
        throw EDatabaseError(q.lastError().text());
    for (const QString &m : markers)
        q.bindValue(QLatin1Char(':') + m, dialect.bindValue(values.value(m)));
    return q;
}

namespace {

[[noreturn]] void ThrowQueryError(const QSqlQuery &query, const QString &what)
{
    const QString err = query.lastError().text();
    throw EDatabaseError(err.isEmpty() ? what : err);
}

} // namespace

void ExecQueryOrThrow(QSqlQuery &query, const QString &what)
{
    if (!query.exec())
        ThrowQueryError(query, what);
}

QSqlQuery ExecReadingQuery(const QString &text, const QStringList &markers,
                           const QHash<QString, QVariant> &values)
{
    // A text without parameters goes to the server as it stands: on PostgreSQL a
    // prepared statement is made, run and dropped by three statements and reads
    // 100 000 rows a tenth more slowly.
    if (markers.isEmpty()) {
        RefuseSecondStatement(text);
        QSqlQuery q = ConnectionQuery();
        q.setForwardOnly(true);
        if (!q.exec(text))
            ThrowQueryError(q, text);
        return q;
    }
    QSqlQuery q = PrepareQuery(text, markers, values);
    q.setForwardOnly(true);
    ExecQueryOrThrow(q, text);
    return q;
}

RefusedCommandHold::RefusedCommandHold()
{
    ++refused().holds;
}

RefusedCommandHold::~RefusedCommandHold()
{
    Release();
    --refused().holds;
}

void RefusedCommandHold::Release()
{
    refused().kept.clear();
}

namespace {

int g_readOnlyDepth = 0;

void runAll(const QStringList &statements)
{
    QSqlDatabase db = CurrentConnection();
    for (const QString &text : statements) {
        QSqlQuery q(db);
        if (!q.exec(text))
            throw EDatabaseError(q.lastError().text());
    }
}

} // namespace

ReadOnlyStatements::ReadOnlyStatements()
{
    if (g_readOnlyDepth == 0)
        runAll(CurrentServer()->dialect().readOnlyBegin());
    ++g_readOnlyDepth;
}

ReadOnlyStatements::~ReadOnlyStatements()
{
    if (--g_readOnlyDepth > 0)
        return;
    try {
        runAll(CurrentServer()->dialect().readOnlyEnd());
    } catch (const EDatabaseError &) {
        // A lost connection: the next statement reports it.
    }
}

void SetCommand(const QString &text)
{
    Command &c = command();
    c.values.clear();
    c.text = text;
    c.markers = CommandMarkers(text);
    c.rowsAffected = -1;
}

void SetCommandParam(const QString &name, const QVariant &value)
{
    Command &c = command();
    if (!c.markers.contains(name))
        throw EDatabaseError(QStringLiteral("Parametr %1 v příkazu není").arg(name));
    c.values.insert(name, value);
}

void ExecCommand()
{
    Command &c = command();
    QSqlQuery q = PrepareQuery(c.text, c.markers, c.values);
    execCommandQuery(q, c.text);
    c.rowsAffected = q.numRowsAffected();
}

QVariant ExecCommandValue()
{
    Command &c = command();
    QSqlQuery q = PrepareQuery(c.text, c.markers, c.values);
    q.setForwardOnly(true);
    execCommandQuery(q, c.text);
    c.rowsAffected = q.numRowsAffected();
    if (!q.next())
        throw EDatabaseError(QStringLiteral("Příkaz nevrátil žádný řádek"));
    return q.value(0);
}

QSqlQuery ExecCommandRecordset()
{
    Command &c = command();
    QSqlQuery q = PrepareQuery(c.text, c.markers, c.values);
    // Not forward-only: QPSQL fetches a forward-only result row by row, and the next
    // statement on the connection (a lookup while the caller reads) would cut it off.
    execCommandQuery(q, c.text);
    return q;
}

int CommandRowsAffected()
{
    return command().rowsAffected;
}

RepeatedCommand::RepeatedCommand(const QString &text)
    : m_text(text), m_markers(CommandMarkers(text)), m_query(PrepareQuery(text, m_markers, {}))
{
}

void RepeatedCommand::setParam(const QString &name, const QVariant &value)
{
    if (!m_markers.contains(name))
        throw EDatabaseError(QStringLiteral("Parametr %1 v příkazu není").arg(name));
    m_query.bindValue(QLatin1Char(':') + name, CurrentServer()->dialect().bindValue(value));
}

void RepeatedCommand::exec()
{
    ExecQueryOrThrow(m_query, m_text);
    m_rowsAffected = m_query.numRowsAffected();
}
