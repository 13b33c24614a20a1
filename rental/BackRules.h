#pragma once
#include "core/database/Money.h"
#include "rental/LendRules.h"
#include "rental/RentalSettings.h"

#include <QDate>
#include <QDateTime>
#include <QString>

// The rules of a return: the days a video is over its due date, its late fee and the net
// amount of the whole return. Plain functions: no window, no database.

// The open days after the due date up to and including `runDate`; 0 for a video due on
// `runDate` or later. Closed weekdays and closed dates are never charged.
quint16 DaysOver(const RentalSettings &settings, const QDate &due, const QDate &runDate);
// The late fee of a line: its days over times the late fee per day fixed when it was lent
// (no cap, no rounding). The deposit is handed back whole.
Money LateFee(int daysOver, Money lateFeePerDay);
// When a video came back: the clock cut to the minute, as the database keeps it.
QDateTime ReturnMoment(const QDateTime &clock);

// What the return comes to: its late fees less the deposits handed back, as its document
// books them. "Platba:   %d,00 Kč" when the customer pays (also nothing), otherwise
// "Vrátit:   %d,00 Kč" with what the shop pays out.
QString BackRecapitulationText(const DocumentAmount &amount);
