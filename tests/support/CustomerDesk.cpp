#include "support/CustomerDesk.h"

#include "catalogue/UCustomerPage.h"
#include "core/UValmedo.h"

CustomerDesk::CustomerDesk(TestDatabase &db, const QString &user)
    : PageDesk(db, TFormValmedo::PageCustomer, user)
{
}

TCustomerPage *CustomerDesk::page() const
{
    return window()->customerPage();
}
