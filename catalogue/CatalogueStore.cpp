#include "catalogue/CatalogueStore.h"

#include "core/database/Errors.h"
#include "core/Log.h"
#include "core/controls/Int64Edit.h"
#include "core/database/Commands.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/SqlServer.h"

#include <exception>

const SqlDialect &CatalogueDialect()
{
    SqlServer *server = CurrentServer();
    if (!server)
        throw EDatabaseError(QStringLiteral("Databáze není připojena"));
    return server->dialect();
}

qint64 LowestFreeNumber(const QString &table, const QString &column)
{
    // Only numbers below the highest are followed by one: a row restored from elsewhere with
    // a number beyond the desk's range neither counts nor overflows the addition.
    SetCommand(QStringLiteral("SELECT CASE WHEN NOT EXISTS (SELECT 1 FROM %1 WHERE %2=1) THEN 1 "
                              "ELSE (SELECT MIN(a.%2)+1 FROM %1 a WHERE a.%2>=1 AND a.%2<%3 AND NOT EXISTS "
                              "(SELECT 1 FROM %1 b WHERE b.%2=a.%2+1)) END")
                   .arg(table, column)
                   .arg(TInt64Edit::HighestNumber));
    const QVariant free = ExecCommandValue();
    if (free.isNull())
        throw EDatabaseError(QStringLiteral("Všechny kódy 1 až %1 jsou obsazeny, volný kód není")
                                 .arg(TInt64Edit::HighestNumber));
    return free.toLongLong();
}

bool RunLoggedChange(const QString &operation, const QVariant &number,
                     const std::function<void()> &change)
{
    const quint32 start = TickCount();
    bool result = true;
    try {
        change();
    } catch (const std::exception &) {
        result = false;
    }
    LogTransaction(operation, start, number, result);
    return result;
}

QString StoredText(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

void AddWhereLine(QString &where, const QString &condition)
{
    where += WhereOrAnd(where) + condition + QLatin1Char('\n');
}

QString FilterDate(const QDate &date, bool wholeDay)
{
    return date.toString(QStringLiteral("yyyy-MM-dd ")) + (wholeDay ? QStringLiteral("23:59:59") : QStringLiteral("00:00:00"));
}
