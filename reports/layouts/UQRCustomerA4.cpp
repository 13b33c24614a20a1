#include "reports/layouts/UQRCustomerA4.h"

#include "reports/layouts/ListLayout.h"

TFormQRCustomerA4::TFormQRCustomerA4(DataSet *customers)
{
    QuickRep.dataSet = customers;
    const QList<ListColumn> columns = {
        {QStringLiteral("Kód"), QStringLiteral("ZAKAZNIK"), 0, 76, QStringLiteral("0000000000000")},
        {QStringLiteral("Jméno"), QStringLiteral("JMENO"), 82, 144},
        {QStringLiteral("Telefon"), QStringLiteral("TELEFON"), 232, 52},
        {QStringLiteral("Adresa"), QStringLiteral("ADRESA1"), 290, 260},
        {QStringLiteral("RČ"), QStringLiteral("RC"), 556, 58},
        {QStringLiteral("Registrace"), QStringLiteral("REGISTRACE"), 620, 98, QStringLiteral("dd.MM.yyyy hh:mm")},
    };
    ReportBand *head = AddListHead(QuickRep, 64);
    ReportBand *detail = QuickRep.addBand(BandType::Detail, 16);
    AddListColumns(head, detail, customers, columns, 40, 60, 8);
    AddListSummary(QuickRep, columns, QStringLiteral("Počet položek:"), 82);
}
