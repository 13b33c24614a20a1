#include "catalogue/FilterStore.h"

#include "catalogue/FilterRules.h"
#include "core/database/Errors.h"
#include "core/Log.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"

bool ApplyFreeFilter(BrowseQuery &query, const QString &selectPart, const QString &where,
                     const QString &orderPart)
{
    const QString refused = RefusedFilterWord(where);
    if (refused.isEmpty()) {
        try {
            ReadOnlyStatements readOnly;
            query.setSqlText(selectPart + where + orderPart);
            query.open();
            return true;
        } catch (const EDatabaseError &) {
            // Refused by the server: the list goes on without a filter.
        }
    } else if (TLog *log = MainLog()) {
        log->AddLog(QStringLiteral("Filtr [%1] [%2]").arg(refused, ResultText(false)));
    }
    query.setSqlText(selectPart + orderPart);
    query.open();
    return false;
}
