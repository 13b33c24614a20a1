#include "support/TestShop.h"

RentalSettings TestShop(const QList<int> &closedWeekdays, const QList<QDate> &closedDates, int maxDays)
{
    RentalSettings s;
    s.isOpen = [closedWeekdays, closedDates](const QDate &day) {
        return !closedWeekdays.contains(day.dayOfWeek()) && !closedDates.contains(day);
    };
    s.openDaySearchLimit = 7 * (int(closedDates.size()) + 1);
    s.maxDays = maxDays;
    return s;
}
