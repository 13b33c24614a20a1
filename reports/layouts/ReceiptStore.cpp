#include "reports/layouts/ReceiptStore.h"

#include "core/Texts.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "rental/LendsStore.h"

#include <QSqlQuery>

void OpenReceiptDocument(BrowseQuery &lends, BrowseQuery &lines, qint64 document)
{
    PrepareLendsQuery(lends);
    QStringList sql = lends.sql();
    sql.insert(sql.size() - 1, QStringLiteral("WHERE tab_pujcky.DOKLAD=:DOKLAD"));
    lends.setSql(sql);
    lends.setParameter(QStringLiteral("DOKLAD"), document);
    lends.open();
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
