#pragma once
#include <QString>
#include <QStringList>

class BrowseQuery;

// What a receipt reads: its document's row and lines by the journal's statements
// (reports/layouts/JournalDocument.h), and the customer's name and address.

// Opens `lends` on the journal's row of `document` (empty when there is no such document)
// and `lines` on its lines, with the fields' kinds.
void OpenReceiptDocument(BrowseQuery &lends, BrowseQuery &lines, qint64 document);

// The customer's name and first address line; empty when he no longer exists.
struct ReceiptCustomer {
    QString name;
    QString address;
};
ReceiptCustomer ReadReceiptCustomer(qint64 customer);
