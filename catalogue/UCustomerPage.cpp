#include "catalogue/UCustomerPage.h"

TCustomerPage::TCustomerPage(QWidget *parent)
    : TValmedoPage(QStringLiteral("Zákazníci"), QStringLiteral("TabSheetCustomer"), QStringLiteral("Int64EditCustomerCustomer"), parent)
{
    setFilterLabel(QStringLiteral("LabelCustomerFilter"));
}
