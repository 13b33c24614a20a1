#include "rental/ULendPage.h"

TLendPage::TLendPage(QWidget *parent)
    : TValmedoPage(QStringLiteral("Půjčení"), QStringLiteral("TabSheetLend"), QStringLiteral("Int64EditLendCustomer"), parent)
{
}
