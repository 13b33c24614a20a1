#pragma once
#include "core/database/Money.h"
#include "rental/RentalSettings.h"

#include <QChar>
#include <QDate>
#include <QString>

// The rules of a lend: open days and lend days, the extension of a basket line, the prices
// of a line for a customer, the free lines, the customer's limit and the amounts the
// recapitulation shows. Plain functions of their arguments: no window, no database.
//
// Every search for an open day is bounded by the settings' search limit; a search that
// finds none gives an invalid date, so that a shop closed on every weekday never hangs the
// desk (the caller says so with TFormSetupVideo::ReportNoOpenDay).

// The first open day after `runDate`.
QDate NextOpenDate(const RentalSettings &settings, const QDate &runDate);
// The n-th open day after `after` (n from 1).
QDate NthOpenDay(const RentalSettings &settings, const QDate &after, int n);
// The open days after `after` up to and including `upTo`; 0 when `upTo` is not later.
quint16 OpenDaysBetween(const RentalSettings &settings, const QDate &after, const QDate &upTo);
// The open days after `runDate` up to and including `due`; 0 when `due` is not later.
quint16 CountLendDays(const RentalSettings &settings, const QDate &runDate, const QDate &due);

// Day button n ("1 den" … "5 dnů") is enabled while a line may have n days.
bool DayButtonEnabled(const RentalSettings &settings, int n);
// A day picked on the calendar is taken when the shop is open then and the line would have
// 1 to the longest lend of days; otherwise the calendar goes back without a word.
bool CalendarDayAccepted(const RentalSettings &settings, const QDate &runDate, const QDate &day);

// Enter on a video whose line is the basket's current one: the line is lent one open day
// longer, up to the longest lend. At that limit nothing changes and nothing is said.
struct LineExtension {
    enum Outcome { Extended, AtLimit, NoOpenDay };
    Outcome outcome = AtLimit;
    QDate due;         // the new due date (Extended)
    quint16 days = 0;  // its lend days, one more than before (Extended)
};
LineExtension ExtendLine(const RentalSettings &settings, const QDate &runDate,
                         const QDate &due, int days);

// The fee per day, the late fee per day and the deposit of a medium, or of a basket line.
struct LinePrices {
    Money fee;
    Money lateFee;
    Money deposit;
};
// The prices of a line for a customer of that restriction ("!", "$", "-", "+"): a VIP
// customer ("+") pays both fees less the VIP per cent, rounded to hellers in single
// precision; only a customer who lends against deposit ("$") leaves the medium's deposit,
// never discounted or rounded.
LinePrices CustomerPrices(const LinePrices &medium, QChar restriction, int vipPercent);

// Whether the line at `position` (from 1, in the basket's order) is free: every amountOff-th
// line of the basket, and the line that makes the customer's loyalOff-th, 2·loyalOff-th …
// video, counting the `customerLends` videos of his earlier lends. 0 switches a rule off; a
// line hit by both rules is free once.
bool IsFreeItem(int position, int customerLends, int amountOff, int loyalOff);
// What a line costs: a free line is charged one day less.
Money LineCharge(int days, bool free, Money feePerDay);

// Whether the customer may take no more videos: the basket's lines and the videos he has
// out reach his limit.
bool CustomerLimitReached(int basketLines, int videosOut, int limit);

// The running totals of a basket (fees, deposits) are single-precision amounts in crowns:
// each new sum is formed from the money values and stored back in single precision.
float AddToRunningTotal(float total, Money amount);
struct BasketTotals {
    float payment = 0.0f;
    float deposit = 0.0f;
};
// What one document books, as the journal rounds it: its fee total (of a return, the late
// fees) and its deposit total (of a return, the deposits handed back: negative), each in
// whole crowns, halves away from zero. The recapitulations, the change calculator and the
// receipts show this amount, so that the clerk collects what the takings record.
struct DocumentAmount {
    Money payment;
    Money deposit;
    Money sum() const { return payment + deposit; }
};
// Whole crowns, halves away from zero (12.50 gives 13, -12.50 gives -13).
Money WholeCrowns(Money amount);
// The document of these exact fee and deposit sums.
DocumentAmount BookedAmount(Money fees, Money deposits);
// "Platba:   %d,00 Kč": what the lend document books.
QString LendRecapitulationText(const DocumentAmount &amount);
