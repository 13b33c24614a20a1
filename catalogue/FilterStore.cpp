#include "catalogue/FilterStore.h"

#include "catalogue/FilterRules.h"
#include "core/Errors.h"
#include "core/database/BrowseQuery.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {
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
    runAll(CurrentServer()->dialect().readOnlyBegin());
}

ReadOnlyStatements::~ReadOnlyStatements()
{
    try {
        runAll(CurrentServer()->dialect().readOnlyEnd());
    } catch (const EDatabaseError &) {
        // A lost connection: the next statement reports it.
    }
}

bool ApplyFreeFilter(BrowseQuery &query, const QString &selectPart, const QString &where,
                     const QString &orderPart)
{
    if (!HasStatementSeparator(where)) {
        try {
            ReadOnlyStatements readOnly;
            query.setSqlText(selectPart + where + orderPart);
            query.open();
            return true;
        } catch (const EDatabaseError &) {
            // Refused: the list goes on without a filter.
        }
    }
    query.setSqlText(selectPart + orderPart);
    query.open();
    return false;
}
