#include "reports/layouts/UQRCustomerHistoryA4.h"

#include "reports/layouts/ListLayout.h"

namespace {

// "Zákazník:" and the like at `left`, the current customer's field at `valueLeft`.
void CustomerItem(ReportBand *head, DataSet *customers, const char *caption, const char *field, qreal left,
                  qreal valueLeft, qreal top, qreal valueWidth, const QString &mask = QString())
{
    head->add<ReportLabel>(QString::fromUtf8(caption), left, top)->font = ReportFont(9);
    auto *value = head->add<ReportDBText>(customers, QString::fromLatin1(field), valueLeft, top);
    value->setName(QStringLiteral("QRDBTextCustomer") + QString::fromLatin1(field));
    value->font = ReportFont(9, true);
    value->mask = mask;
    value->setBox(valueWidth);
}

} // namespace

TFormQRCustomerHistoryA4::TFormQRCustomerHistoryA4(DataSet *customers, DataSet *history)
{
    QuickRep.dataSet = history;
    ReportBand *head = AddListHead(QuickRep, 128);
    CustomerItem(head, customers, "Zákazník:", "ZAKAZNIK", 0, 56, 48, 200, QStringLiteral("0000000000000"));
    CustomerItem(head, customers, "Adresa:", "ADRESA1", 264, 330, 48, 388);
    CustomerItem(head, customers, "Jméno:", "JMENO", 0, 56, 72, 200);
    CustomerItem(head, customers, "Registrace:", "REGISTRACE", 264, 330, 72, 388,
                 QStringLiteral("dd.MM.yyyy hh:mm"));

    const QList<ListColumn> columns = {
        {QStringLiteral("Kód"), QStringLiteral("VIDEO"), 0, 90, QStringLiteral("0000000000000")},
        {QStringLiteral("Titul"), QStringLiteral("TITUL"), 96, 290},
        {QStringLiteral("Nosič"), QStringLiteral("NOSIC"), 392, 68},
        {QStringLiteral("$"), QStringLiteral("ZDARMA"), 466, 14, QStringLiteral("$;-"), TextAlign::Centre, true},
        {QStringLiteral("Půjčeno"), QStringLiteral("PUJCENO"), 486, 113, QStringLiteral("dd.MM.yyyy hh:mm")},
        {QStringLiteral("Vráceno"), QStringLiteral("VRACENO"), 605, 113, QStringLiteral("dd.MM.yyyy hh:mm")},
    };
    ReportBand *detail = QuickRep.addBand(BandType::Detail, 16);
    AddListColumns(head, detail, history, columns, 104, 124, 9);
    AddListSummary(QuickRep, columns, QStringLiteral("Počet položek:"), 96);
}
