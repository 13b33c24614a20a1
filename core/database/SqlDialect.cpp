#include "core/database/SqlDialect.h"

namespace {
QString doubledQuotes(QString text)
{
    return text.replace(QLatin1Char('\''), QLatin1String("''"));
}
} // namespace

QString SqliteDialect::money(const QString &expr) const
{
    return QStringLiteral("ROUND(%1,4)").arg(expr);
}

QString SqliteDialect::foldLike(const QString &column, const QString &pattern) const
{
    // like() is replaced on every connection by a Unicode case-folding one.
    return QStringLiteral("%1 LIKE %2").arg(column, pattern);
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

QString SqliteDialect::likeText(const QString &text) const
{
    return doubledQuotes(text);
}

QString PostgresDialect::money(const QString &expr) const
{
    return expr;
}

QString PostgresDialect::foldLike(const QString &column, const QString &pattern) const
{
    return QStringLiteral("lower(%1) LIKE lower(%2)").arg(column, pattern);
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

QString PostgresDialect::likeText(const QString &text) const
{
    QString t = text;
    t.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return doubledQuotes(t);
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
