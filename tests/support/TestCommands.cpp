#include "support/TestCommands.h"

#include "core/database/Commands.h"
#include "core/database/DataSet.h"
#include "core/database/Money.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <functional>

namespace {

// The rows of a statement, each value made text by `text` from the value and its field's name.
QStringList rows(const QString &sql, const std::function<QString(const QVariant &value, const QString &field)> &text)
{
    SetCommand(sql);
    QSqlQuery q = ExecCommandRecordset();
    QStringList rows;
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << text(q.value(i), q.record().fieldName(i));
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

bool IsMoneyColumn(const QString &name)
{
    static const QStringList money{"PUJCOVNE", "VRATNE", "ZALOHA", "CENA"};
    return money.contains(name.toUpper()) || name.toUpper().endsWith(QLatin1String("_CELKEM"));
}

} // namespace

void Exec(const QString &sql)
{
    SetCommand(sql);
    ExecCommand();
}

qint64 ValueOf(const QString &sql)
{
    SetCommand(sql);
    return ExecCommandValue().toLongLong();
}

QString CustomerRows()
{
    SetCommand(QStringLiteral("SELECT ZAKAZNIK, JMENO FROM tab_zakaznik ORDER BY ZAKAZNIK"));
    QSqlQuery q = ExecCommandRecordset();
    QStringList rows;
    while (q.next())
        rows << q.value(0).toString() + QLatin1Char('=') + q.value(1).toString();
    return rows.join(QLatin1Char(','));
}

QStringList TableRows(const QString &table)
{
    return rows(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table),
                [](const QVariant &value, const QString &) { return value.toString(); });
}

QStringList TestRows(const QString &sql, const QString &nullText)
{
    // SQLite keeps money as a number of its own choosing (30 or 30.5), PostgreSQL as NUMERIC.
    return rows(sql, [&nullText](const QVariant &value, const QString &field) {
        static const QRegularExpression storedTime(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"));
        static const QRegularExpression decimal(QStringLiteral("^-?\\d+\\.\\d+$"));
        if (value.isNull())
            return nullText;
        if (value.metaType().id() == QMetaType::QDateTime)
            return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
        if (IsMoneyColumn(field) || value.metaType().id() == QMetaType::Double)
            return Money::fromVariant(value).toSqlText();
        const QString text = value.toString();
        if (storedTime.match(text).hasMatch())
            return text.left(16);
        if (decimal.match(text).hasMatch())
            return Money::fromVariant(value).toSqlText();
        return text;
    });
}

QList<qint64> ListedNumbers(const DataSet &list)
{
    QList<qint64> numbers;
    for (int row = 0; row < list.recordCount(); ++row)
        numbers << list.valueAt(row, 0).toLongLong();
    return numbers;
}
