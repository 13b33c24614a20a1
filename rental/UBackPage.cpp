#include "rental/UBackPage.h"

TBackPage::TBackPage(QWidget *parent)
    : TValmedoPage(QStringLiteral("Vracení"), QStringLiteral("TabSheetBack"), QStringLiteral("Int64EditBackCustomer"), parent)
{
}
