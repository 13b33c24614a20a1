#pragma once
#include "catalogue/CustomerRules.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class SqlDialect;

// Every statement of the customer register, for both engines. Nothing here catches: an
// error of the server reaches the caller as EDatabaseError.

// The customer list `ADOQueryCustomer` (one line per list line; no WHERE part of its own,
// ordered by number) and the history of its current customer `ADOQueryCustomerVideo`
// (parameter ZAKAZNIK; no ORDER BY part of its own).
QStringList CustomerListSql();
QStringList CustomerHistorySql();

// The search dialog's list: every customer at first, then those whose name, first address
// line and birth number begin with the texts typed, bound as JMENO, ADRESA1 and RC (each
// made by SqlDialect::likeBegin; letter case folded).
QStringList CustomerSearchAllSql();
QStringList CustomerSearchSql();

// The conditions of the customer page's filter panel. A bound that is not set adds nothing.
struct CustomerFilterInput {
    bool codeOn = false;
    std::optional<qint64> codeFirst;
    std::optional<qint64> codeSecond;
    bool nameOn = false;
    QString name; // the beginning of the names, also empty
    bool limitOn = false;
    int limit = -1; // the restriction chosen, -1 for none
    bool registrationOn = false;
    std::optional<QDate> registrationFirst;
    std::optional<QDate> registrationSecond;
    bool lent = false;    // customers who have something out
    bool overdue = false; // customers who have something out that was due before the run date
    QDate runDate;
};
// The WHERE part of the list for these conditions: lines joined by "AND", the first
// beginning with "WHERE ", each ended by "\n"; empty when no condition applies. Only
// validated values are pasted: numbers as numbers, dates by the program's formatter, the
// name as pasted pattern text, taken as typed (so the free filter can show it).
QString CustomerFilterWhere(const CustomerFilterInput &input, const SqlDialect &dialect);
// The number of customers a WHERE part (as the list's text holds it) selects, counted by
// the server.
int CountCustomers(const QString &wherePart);

// The customers whose names begin with `typed` (letter case and Czech letters folded;
// every character typed, "%" and "_" too, stands for itself), in Czech order of the names.
struct CustomerProposal {
    QString name;
    QString birthNumber;
    qint64 number = 0;
};
QList<CustomerProposal> CustomerNameProposals(const QString &typed);
// The text of a proposal: "name / birth number".
QString CustomerProposalText(const CustomerProposal &proposal);

// The lowest free customer number.
qint64 LowestFreeCustomer();

// A customer as the dialogs enter him. `limit` -1 means that no restriction was chosen:
// an edit then keeps the stored one.
struct CustomerRecord {
    qint64 number = 0;
    QString name;
    QString phone;
    QString address1;
    QString address2;
    QString birthNumber;
    QString identityCard;
    int limit = LimitNone;
    QString text;
};

// Each change runs in one transaction and is rolled back whole when a statement fails.
// A new customer; a number taken meanwhile fails on the key.
void InsertCustomer(const CustomerRecord &customer);
// The customer's data; with `eraseHistory` his lines first leave the history lists (the
// returned ones whose documents are gone are deleted). A customer no longer in the table
// fails the change.
void UpdateCustomer(const CustomerRecord &customer, bool eraseHistory);
// Removes the customer; his document lines leave the history lists and those whose
// documents are gone are deleted.
void RemoveCustomer(qint64 number);
