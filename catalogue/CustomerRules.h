#pragma once
#include "catalogue/CatalogueRules.h"

#include <QString>
#include <QStringList>
#include <functional>

// The rules of the customer register, without database or windows.

// `TCustomerLimit`, the restriction `OMEZENI`: 0 lending barred "!", 1 lending against a
// deposit "$", 2 no restriction "-" (a new customer's), 3 VIP customer "+".
enum TCustomerLimit { LimitBarred = 0, LimitDeposit = 1, LimitNone = 2, LimitVip = 3 };
inline const QString CustomerLimitCodes = QStringLiteral("!$-+");
// "Půjčování zakázané", "Půjčování proti záloze", "Půjčování bez omezení", "VIP zákazník".
QStringList CustomerLimitCaptions();
// The restriction of a code; -1 for none (an empty code: no restriction stored, or one
// outside the four).
int CustomerLimitOfCode(const QString &code);

// What the customer dialogs check while the clerk types, and the database questions the
// checks ask (the number and texts of the customer being entered, and the number of the
// customer edited, 0 for a new one).
struct CustomerCheckInput {
    qint64 number = 0;
    QString birthNumber;
    QString identityCard;
    bool verifyBirth = false;    // the rental setting "Kontrola RČ"
    bool verifyIdentity = false; // the rental setting "Kontrola OP"
};
struct CustomerLookups {
    std::function<bool(qint64 number)> customerExists;
    std::function<bool(qint64 own, const QString &birthNumber)> birthNumberTaken;
    std::function<bool(qint64 own, const QString &identityCard)> identityCardTaken;
};

// The red warnings beside the fields; each visible one is a reason why Ok is disabled.
struct CustomerWarnings {
    bool prohibition = false;   // "Nepovolený kód..."
    bool exist = false;         // "Kód již v databázi existuje..."
    bool birthValid = false;    // "Neplatné RČ..."
    bool birthExist = false;    // "RČ již existuje..."
    bool identityExist = false; // "OP již existuje..."
    bool any() const { return prohibition || exist || birthValid || birthExist || identityExist; }
};

// A new customer: the number must not be 0 (an empty box counts as 0) nor taken; with the
// birth-number check on, the birth number must be valid (so it is required) and no other
// customer's; with the identity-card check on, a given card must be no other customer's.
CustomerWarnings CheckNewCustomer(const CustomerCheckInput &input, const CustomerLookups &lookups);
// An edited customer: the birth-number and identity-card checks, his own ones not counting
// as taken; the number is not checked.
CustomerWarnings CheckEditedCustomer(const CustomerCheckInput &input, const CustomerLookups &lookups);
