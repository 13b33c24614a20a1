#include "support/TestCommands.h"

#include "core/database/Commands.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

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
    SetCommand(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table));
    QSqlQuery q = ExecCommandRecordset();
    QStringList rows;
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << q.value(i).toString();
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}
