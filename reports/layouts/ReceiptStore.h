#pragma once
#include <QString>
#include <QStringList>

class BrowseQuery;

// The statements a receipt is printed from: the journal's row of one document and the
// document's lines, as the journal reads them.

// The journal: every document (number, operation, time, customer, name, user) with its
// count of lines and its fee and deposit totals, rounded to whole crowns by the database (a
// return's deposits handed back as a negative sum), in the order of the numbers.
QStringList LendsListSql();
// The journal's statement with the kinds of its fields.
void PrepareLendsQuery(BrowseQuery &query);
// The lines of document :DOKLAD (lent or returned on it) in the order of the videos, each
// with its charge PUJCOVNE_CELKEM ((DNY - ZDARMA) x PUJCOVNE) and late fee VRATNE_CELKEM
// (PRES x VRATNE), with the kinds of their fields.
void PrepareLendsDetailQuery(BrowseQuery &query);

// Opens `lends` on the journal's row of `document` (empty when there is no such document)
// and `lines` on its lines, with the fields' kinds.
void OpenReceiptDocument(BrowseQuery &lends, BrowseQuery &lines, qint64 document);

// The customer's name and first address line; empty when he no longer exists.
struct ReceiptCustomer {
    QString name;
    QString address;
};
ReceiptCustomer ReadReceiptCustomer(qint64 customer);
