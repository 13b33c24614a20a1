#include "rental/RentalSettings.h"

#include "core/USetupVideo.h"

RentalSettings CurrentRentalSettings()
{
    TFormSetupVideo *setup = FormSetupVideo;
    RentalSettings s;
    s.isOpen = [setup](const QDate &day) { return setup->TestDate(day); };
    s.openDaySearchLimit = setup->OpenDaySearchLimit();
    s.maxDays = setup->IntegerEditMaxDays->Value();
    s.customerLimit = setup->IntegerEditCustomerLimit->Value();
    s.amountOff = setup->IntegerEditAmountOff->Value();
    s.loyalOff = setup->IntegerEditLoyalOff->Value();
    s.vipPercent = setup->IntegerEditVIP->Value();
    return s;
}
