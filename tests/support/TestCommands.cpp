#include "support/TestCommands.h"

#include "core/database/Commands.h"

#include <QSqlQuery>
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
