#include "catalogue/CustomerRules.h"

#include "core/Utils.h"

QStringList CustomerLimitCaptions()
{
    return {QStringLiteral("Půjčování zakázané"), QStringLiteral("Půjčování proti záloze"),
            QStringLiteral("Půjčování bez omezení"), QStringLiteral("VIP zákazník")};
}

int CustomerLimitOfCode(const QString &code)
{
    return code.size() == 1 ? int(CustomerLimitCodes.indexOf(code)) : -1;
}

namespace {

// The birth-number and identity-card warnings, `own` being the customer's own number.
void checkIdentity(const CustomerCheckInput &input, const CustomerLookups &lookups, qint64 own,
                   CustomerWarnings &w)
{
    w.birthValid = input.verifyBirth && !CheckBirthNumber(input.birthNumber);
    w.birthExist = !w.birthValid && input.verifyBirth
        && lookups.birthNumberTaken(own, input.birthNumber);
    w.identityExist = !input.identityCard.isEmpty() && input.verifyIdentity
        && lookups.identityCardTaken(own, input.identityCard);
}

} // namespace

CustomerWarnings CheckNewCustomer(const CustomerCheckInput &input, const CustomerLookups &lookups)
{
    CustomerWarnings w;
    const NewNumberWarnings number = CheckNewNumber(input.number, lookups.customerExists);
    w.prohibition = number.prohibition;
    w.exist = number.exist;
    checkIdentity(input, lookups, 0, w);
    return w;
}

CustomerWarnings CheckEditedCustomer(const CustomerCheckInput &input, const CustomerLookups &lookups)
{
    CustomerWarnings w;
    checkIdentity(input, lookups, input.number, w);
    return w;
}
