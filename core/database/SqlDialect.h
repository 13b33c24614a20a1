#pragma once
#include <QString>
#include <QStringList>

// The few pieces of SQL in which the two engines differ. Every other statement is
// written once in the SQL both run. Reached through CurrentServer()->dialect().
class SqlDialect {
public:
    virtual ~SqlDialect() = default;

    // A sum or product of money, rounded back to the ten-thousandth where the
    // engine computes in floating point.
    virtual QString money(const QString &expr) const = 0;
    // `column LIKE pattern` without regard to letter case (Czech letters too).
    virtual QString foldLike(const QString &column, const QString &pattern) const = 0;
    // `a = b` without regard to letter case.
    virtual QString foldEq(const QString &a, const QString &b) const = 0;
    // A text column in Czech order, for ORDER BY.
    virtual QString textOrder(const QString &column) const = 0;
    // The statements that begin a transaction which hands out "the highest plus one"
    // of the journal: they take the write lock first. Run them in place of
    // QSqlDatabase::transaction(), then commit() or rollback() as usual.
    virtual QStringList journalLock() const = 0;
    // The text of a pasted LIKE pattern (without its quotes and wildcards): apostrophes
    // doubled, and on PostgreSQL backslashes too, since its LIKE escapes with them.
    virtual QString likeText(const QString &text) const = 0;
    // The statements around a statement a person typed (the free filter): between
    // them the connection only reads. PostgreSQL runs each statement as a read-only
    // transaction, SQLite switches the connection to query_only for the while.
    virtual QStringList readOnlyBegin() const = 0;
    virtual QStringList readOnlyEnd() const = 0;
};

class SqliteDialect : public SqlDialect {
public:
    QString money(const QString &expr) const override;
    QString foldLike(const QString &column, const QString &pattern) const override;
    QString foldEq(const QString &a, const QString &b) const override;
    QString textOrder(const QString &column) const override;
    QStringList journalLock() const override;
    QString likeText(const QString &text) const override;
    QStringList readOnlyBegin() const override;
    QStringList readOnlyEnd() const override;
};

class PostgresDialect : public SqlDialect {
public:
    QString money(const QString &expr) const override;
    QString foldLike(const QString &column, const QString &pattern) const override;
    QString foldEq(const QString &a, const QString &b) const override;
    QString textOrder(const QString &column) const override;
    QStringList journalLock() const override;
    QString likeText(const QString &text) const override;
    QStringList readOnlyBegin() const override;
    QStringList readOnlyEnd() const override;
};
