#pragma once
#include "rental/RentalSettings.h"

#include <QDate>
#include <QList>

// Rental settings of a shop closed on the given ISO weekdays (1 Monday … 7 Sunday) and
// dates, for the rule tests that need no settings dialog.
RentalSettings TestShop(const QList<int> &closedWeekdays, const QList<QDate> &closedDates = {},
                        int maxDays = 10);
