#include "reports/layouts/ReceiptStore.h"

#include "core/Texts.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "reports/layouts/JournalDocument.h"

#include <QSqlQuery>

void OpenReceiptDocument(BrowseQuery &lends, BrowseQuery &lines, qint64 document)
{
    OpenJournalDocument(lends, document);
    PrepareLendsDetailQuery(lines);
    lines.setParameter(QStringLiteral("DOKLAD"), document);
    lines.open();
}

ReceiptCustomer ReadReceiptCustomer(qint64 customer)
{
    SetCommand(QStringLiteral("SELECT JMENO,ADRESA1 FROM tab_zakaznik WHERE ZAKAZNIK=:ZAKAZNIK"));
    SetCommandParam(QStringLiteral("ZAKAZNIK"), customer);
    QSqlQuery row = ExecCommandRecordset();
    if (!row.next())
        return {};
    return {TrimmedRight(row.value(0).toString()), TrimmedRight(row.value(1).toString())};
}
