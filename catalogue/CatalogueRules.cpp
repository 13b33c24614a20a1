#include "catalogue/CatalogueRules.h"

NewNumberWarnings CheckNewNumber(qint64 number, const std::function<bool(qint64 number)> &numberExists)
{
    NewNumberWarnings w;
    w.prohibition = number == 0;
    w.exist = !w.prohibition && numberExists(number);
    return w;
}

bool IdentityEditable(bool editRight, bool hasLent, bool specialRight)
{
    return (editRight && !hasLent) || specialRight;
}
