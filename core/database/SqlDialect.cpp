#include "core/database/SqlDialect.h"

#include "core/database/Padding.h"
#include "core/database/DataSet.h"
#include "core/database/Money.h"

#include <QDateTime>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include <sqlite3.h>

namespace {

constexpr int PgNumericOid = 1700;

QString doubledQuotes(QString text)
{
    return text.replace(QLatin1Char('\''), QLatin1String("''"));
}

// One escape character for both engines, named in the clause: SQLite's LIKE has none
// without it. The literal holds a lone backslash, which PostgreSQL's standard strings keep.
const QString LikeEscape = QStringLiteral(" ESCAPE '\\'");

// `text` as LIKE pattern characters that match only themselves.
QString escapedForLike(const QString &text)
{
    QString pattern;
    pattern.reserve(text.size() * 2);
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            pattern += u'\\';
        pattern += c;
    }
    return pattern;
}

// The kind of an SQLite column by its declared type; none for an expression.
std::optional<FieldKind> kindFromDeclared(const QByteArray &declared)
{
    const QByteArray t = declared.toUpper();
    if (t.isEmpty())
        return std::nullopt;
    if (t.contains("BOOL"))
        return FieldKind::Boolean;
    if (t.contains("BIGINT"))
        return FieldKind::Int64;
    if (t.contains("INT")) // INTEGER, SMALLINT, TINYINT: 32-bit, as on PostgreSQL
        return FieldKind::Integer;
    if (t.contains("NUMERIC") || t.contains("DECIMAL") || t.contains("MONEY"))
        return FieldKind::Money;
    if (t.contains("REAL") || t.contains("DOUBLE") || t.contains("FLOAT"))
        return FieldKind::Float;
    if (t.contains("DATE") || t.contains("TIME"))
        return FieldKind::DateTime;
    return FieldKind::Text;
}

// The kind of a PostgreSQL column by the type the driver reports; NUMERIC is money.
FieldKind kindFromField(const QSqlField &field)
{
    switch (field.metaType().id()) {
    case QMetaType::Bool: return FieldKind::Boolean;
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt: return FieldKind::Integer;
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return FieldKind::Int64;
    case QMetaType::Double:
    case QMetaType::Float: return field.typeID() == PgNumericOid ? FieldKind::Money : FieldKind::Float;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
    case QMetaType::QTime: return FieldKind::DateTime;
    default: return FieldKind::Text;
    }
}

} // namespace

QVariant SqlDialect::bindValue(const QVariant &value) const
{
    if (!value.isValid() || value.isNull())
        return QVariant(value.isValid() ? value.metaType() : QMetaType::fromType<QString>());
    if (value.metaType() == QMetaType::fromType<Money>())
        return moneyValue(value.value<Money>());
    switch (value.metaType().id()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:00"));
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    case QMetaType::QString:
        return TrimmedRight(value.toString());
    default:
        return value;
    }
}

QString SqlDialect::likeBegin(const QString &text)
{
    return escapedForLike(text) + u'%';
}

QString SqlDialect::likeText(const QString &text)
{
    return doubledQuotes(escapedForLike(text));
}

QString SqliteDialect::money(const QString &expr) const
{
    return QStringLiteral("ROUND(%1,4)").arg(expr);
}

QString SqliteDialect::foldLike(const QString &column, const QString &pattern) const
{
    // like() is replaced on every connection by a Unicode case-folding one.
    return QStringLiteral("%1 LIKE %2").arg(column, pattern) + LikeEscape;
}

QString SqliteDialect::foldEq(const QString &a, const QString &b) const
{
    return QStringLiteral("fold(%1)=fold(%2)").arg(a, b);
}

QString SqliteDialect::textOrder(const QString &column) const
{
    return column + QLatin1String(" COLLATE CZECH");
}

QStringList SqliteDialect::journalLock() const
{
    return {QStringLiteral("BEGIN IMMEDIATE")};
}

QSql::NumericalPrecisionPolicy SqliteDialect::readPrecision() const
{
    // Money is a REAL here: the double is exact enough to round to the ten-thousandth.
    return QSql::LowPrecisionDouble;
}

QList<std::optional<FieldKind>> SqliteDialect::columnKinds(const QSqlQuery &query) const
{
    // The driver types a column by its first value; the declared type tells the column's.
    sqlite3_stmt *stmt = nullptr;
    const QVariant handle = query.result() ? query.result()->handle() : QVariant();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3_stmt*") == 0)
        stmt = *static_cast<sqlite3_stmt *const *>(handle.constData());
    QList<std::optional<FieldKind>> kinds;
    const int count = query.record().count();
    for (int i = 0; i < count; ++i)
        kinds << kindFromDeclared(QByteArray(stmt ? sqlite3_column_decltype(stmt, i) : nullptr));
    return kinds;
}

QVariant SqliteDialect::moneyValue(const Money &money) const
{
    return money.toDouble();
}

QString PostgresDialect::money(const QString &expr) const
{
    return expr;
}

QString PostgresDialect::foldLike(const QString &column, const QString &pattern) const
{
    return QStringLiteral("lower(%1) LIKE lower(%2)").arg(column, pattern) + LikeEscape;
}

QString PostgresDialect::foldEq(const QString &a, const QString &b) const
{
    return QStringLiteral("lower(%1)=lower(%2)").arg(a, b);
}

QString PostgresDialect::textOrder(const QString &column) const
{
    // The database is made with the ICU cs-CZ locale: plain order is Czech.
    return column;
}

QStringList PostgresDialect::journalLock() const
{
    return {QStringLiteral("BEGIN"), QStringLiteral("LOCK TABLE tab_pujcky IN EXCLUSIVE MODE")};
}

QSql::NumericalPrecisionPolicy PostgresDialect::readPrecision() const
{
    // NUMERIC as its decimal text ("44.3500"), never through a double.
    return QSql::HighPrecision;
}

QList<std::optional<FieldKind>> PostgresDialect::columnKinds(const QSqlQuery &query) const
{
    const QSqlRecord record = query.record();
    QList<std::optional<FieldKind>> kinds;
    for (int i = 0; i < record.count(); ++i)
        kinds << kindFromField(record.field(i));
    return kinds;
}

QVariant PostgresDialect::moneyValue(const Money &money) const
{
    return money.toSqlText();
}

QStringList SqliteDialect::readOnlyBegin() const
{
    return {QStringLiteral("PRAGMA query_only=ON")};
}

QStringList SqliteDialect::readOnlyEnd() const
{
    return {QStringLiteral("PRAGMA query_only=OFF")};
}

QStringList PostgresDialect::readOnlyBegin() const
{
    // Every statement until the end runs as a read-only transaction of its own, so a
    // refused one leaves no aborted transaction behind.
    return {QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY")};
}

QStringList PostgresDialect::readOnlyEnd() const
{
    return {QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ WRITE")};
}
