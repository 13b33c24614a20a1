#pragma once
#include <QList>
#include <QSql>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

class Money;
class QSqlQuery;
enum class FieldKind;

// The few pieces of SQL in which the two engines differ. Every other statement is
// written once in the SQL both run. Reached through CurrentServer()->dialect().
class SqlDialect {
public:
    virtual ~SqlDialect() = default;

    // A sum or product of money, rounded back to the ten-thousandth where the
    // engine computes in floating point.
    virtual QString money(const QString &expr) const = 0;
    // `column LIKE pattern` without regard to letter case (Czech letters too). A backslash
    // escapes the next character of the pattern on both engines (an ESCAPE clause).
    virtual QString foldLike(const QString &column, const QString &pattern) const = 0;
    // `a = b` without regard to letter case.
    virtual QString foldEq(const QString &a, const QString &b) const = 0;
    // A text column in Czech order, for ORDER BY.
    virtual QString textOrder(const QString &column) const = 0;
    // The statements that begin a transaction which hands out "the highest plus one"
    // of the journal: they take the write lock first. Run them in place of
    // QSqlDatabase::transaction(), then commit() or rollback() as usual.
    virtual QStringList journalLock() const = 0;
    // The pattern of foldLike that the texts beginning with `text` match, every character
    // of `text` taken as it is ("%", "_" and the backslash escaped): for a bound parameter.
    static QString likeBegin(const QString &text);
    // `text` taken as it is in a pasted pattern: the body of a string literal, "%", "_"
    // and the backslash escaped and apostrophes doubled; the wildcards follow it.
    static QString likeText(const QString &text);

    // The value a statement parameter is bound as: a text right-trimmed (the fixed-width
    // columns never keep trailing blanks), a date or a time as the 'yyyy-mm-dd hh:mm:00'
    // text both engines compare correctly (times to the minute, the seconds cut), a
    // Boolean as 0 or 1, money as the engine computes with it, a null as a typed null.
    QVariant bindValue(const QVariant &value) const;
    // The precision a query reads numbers with, so that money reads exactly.
    virtual QSql::NumericalPrecisionPolicy readPrecision() const = 0;
    // The kinds of the columns of an executed query, in order; none for a column whose
    // kind only its values tell (an expression).
    virtual QList<std::optional<FieldKind>> columnKinds(const QSqlQuery &query) const = 0;
    // The statements around a statement a person typed (the free filter): between
    // them the connection only reads. PostgreSQL runs each statement as a read-only
    // transaction, SQLite switches the connection to query_only for the while.
    virtual QStringList readOnlyBegin() const = 0;
    virtual QStringList readOnlyEnd() const = 0;

protected:
    virtual QVariant moneyValue(const Money &money) const = 0;
};

class SqliteDialect : public SqlDialect {
public:
    QString money(const QString &expr) const override;
    QString foldLike(const QString &column, const QString &pattern) const override;
    QString foldEq(const QString &a, const QString &b) const override;
    QString textOrder(const QString &column) const override;
    QStringList journalLock() const override;
    QSql::NumericalPrecisionPolicy readPrecision() const override;
    QList<std::optional<FieldKind>> columnKinds(const QSqlQuery &query) const override;
    QStringList readOnlyBegin() const override;
    QStringList readOnlyEnd() const override;

protected:
    QVariant moneyValue(const Money &money) const override;
};

class PostgresDialect : public SqlDialect {
public:
    QString money(const QString &expr) const override;
    QString foldLike(const QString &column, const QString &pattern) const override;
    QString foldEq(const QString &a, const QString &b) const override;
    QString textOrder(const QString &column) const override;
    QStringList journalLock() const override;
    QSql::NumericalPrecisionPolicy readPrecision() const override;
    QList<std::optional<FieldKind>> columnKinds(const QSqlQuery &query) const override;
    QStringList readOnlyBegin() const override;
    QStringList readOnlyEnd() const override;

protected:
    QVariant moneyValue(const Money &money) const override;
};
