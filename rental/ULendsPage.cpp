#include "rental/ULendsPage.h"

TLendsPage::TLendsPage(QWidget *parent)
    : TValmedoPage(QStringLiteral("Doklady"), QStringLiteral("TabSheetLends"), QStringLiteral("Int64EditLendsVoucher"), parent)
{
    setFilterLabel(QStringLiteral("LabelLendsFilter"));
}
