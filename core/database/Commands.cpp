#include "core/database/Commands.h"

#include "core/Errors.h"
#include "core/database/Money.h"
#include "core/database/SqlServer.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QTime>
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

bool isSqlite(const QSqlDatabase &db)
{
    return db.driverName() == QLatin1String("QSQLITE");
}

// A query of the program's connection with the text prepared.
QSqlQuery preparedText(const QString &text)
{
    QSqlDatabase db = CurrentConnection();
    if (!db.isValid() || !db.isOpen())
        throw EDatabaseError(QStringLiteral("Databáze není připojena"));
    QSqlQuery q(db);
    if (!isSqlite(db))
        q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!q.prepare(text))
        throw EDatabaseError(q.lastError().text());
    return q;
}

QSqlQuery prepared(const Command &c)
{
    QSqlQuery q = preparedText(c.text);
    const bool sqlite = isSqlite(CurrentConnection());
    for (const QString &m : c.markers)
        q.bindValue(QLatin1Char(':') + m, SqlBindValue(c.values.value(m), sqlite));
    return q;
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

QVariant SqlBindValue(const QVariant &value, bool sqlite)
{
    if (!value.isValid() || value.isNull())
        return QVariant(value.isValid() ? value.metaType() : QMetaType::fromType<QString>());
    if (value.metaType() == QMetaType::fromType<Money>()) {
        const Money m = value.value<Money>();
        return sqlite ? QVariant(m.toDouble()) : QVariant(m.toSqlText());
    }
    switch (value.metaType().id()) {
    case QMetaType::QDateTime:
        // Stored times are to the minute (the seconds are cut, not rounded).
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:00"));
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    case QMetaType::QString: {
        QString s = value.toString();
        qsizetype n = s.size();
        while (n > 0 && s[n - 1] == u' ')
            --n;
        s.truncate(n);
        return s;
    }
    default:
        return value;
    }
}

void ExecQueryOrThrow(QSqlQuery &query, const QString &what)
{
    if (!query.exec()) {
        const QString err = query.lastError().text();
        throw EDatabaseError(err.isEmpty() ? what : err);
    }
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
    QSqlQuery q = prepared(c);
    execCommandQuery(q, c.text);
    c.rowsAffected = q.numRowsAffected();
}

QVariant ExecCommandValue()
{
    Command &c = command();
    QSqlQuery q = prepared(c);
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
    QSqlQuery q = prepared(c);
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
    : m_text(text), m_markers(CommandMarkers(text)), m_query(preparedText(text)),
      m_sqlite(isSqlite(CurrentConnection()))
{
    for (const QString &m : m_markers)
        m_query.bindValue(QLatin1Char(':') + m, SqlBindValue(QVariant(), m_sqlite));
}

void RepeatedCommand::setParam(const QString &name, const QVariant &value)
{
    if (!m_markers.contains(name))
        throw EDatabaseError(QStringLiteral("Parametr %1 v příkazu není").arg(name));
    m_query.bindValue(QLatin1Char(':') + name, SqlBindValue(value, m_sqlite));
}

void RepeatedCommand::exec()
{
    ExecQueryOrThrow(m_query, m_text);
    m_rowsAffected = m_query.numRowsAffected();
}
