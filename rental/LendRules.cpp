#include "rental/LendRules.h"

#include "core/Utils.h"

#include <QtMath>

QDate NextOpenDate(const RentalSettings &settings, const QDate &runDate)
{
    return NthOpenDay(settings, runDate, 1);
}

QDate NthOpenDay(const RentalSettings &settings, const QDate &after, int n)
{
    if (n < 1 || !after.isValid())
        return QDate();
    // Within one search limit every open weekday comes round, so n of them come within n.
    const qint64 limit = qint64(qMax(7, settings.openDaySearchLimit)) * n;
    int found = 0;
    for (qint64 step = 1; step <= limit; ++step) {
        const QDate day = after.addDays(step);
        if (settings.open(day) && ++found == n)
            return day;
    }
    return QDate();
}

quint16 OpenDaysBetween(const RentalSettings &settings, const QDate &after, const QDate &upTo)
{
    quint16 days = 0;
    for (QDate day = after.addDays(1); day.isValid() && day <= upTo; day = day.addDays(1)) {
        if (settings.open(day))
            ++days;
    }
    return days;
}

quint16 CountLendDays(const RentalSettings &settings, const QDate &runDate, const QDate &due)
{
    return OpenDaysBetween(settings, runDate, due);
}

bool DayButtonEnabled(const RentalSettings &settings, int n)
{
    return settings.maxDays >= n;
}

bool CalendarDayAccepted(const RentalSettings &settings, const QDate &runDate, const QDate &day)
{
    if (!settings.open(day))
        return false;
    const int days = CountLendDays(settings, runDate, day);
    return days >= 1 && days <= settings.maxDays;
}

LineExtension ExtendLine(const RentalSettings &settings, const QDate &runDate,
                         const QDate &due, int days)
{
    LineExtension extension;
    if (days + 1 > settings.maxDays)
        return extension;
    const QDate next = NthOpenDay(settings, due, 1);
    if (!next.isValid()) {
        extension.outcome = LineExtension::NoOpenDay;
        return extension;
    }
    extension.outcome = LineExtension::Extended;
    extension.due = next;
    extension.days = CountLendDays(settings, runDate, next);
    return extension;
}

namespace {

// factor × amount taken in floating point, handed on in single precision and rounded to
// hellers, as the desk has always priced a discounted line.
Money Discounted(float factor, Money amount)
{
    const float product = float(double(factor) * amount.toDouble());
    return Money::fromDouble(double(RoundMoney(product)));
}

} // namespace

LinePrices CustomerPrices(const LinePrices &medium, QChar restriction, int vipPercent)
{
    const int v = restriction == u'+' ? vipPercent : 0;
    const float factor = float(double(100 - v) / 100.0);
    LinePrices line;
    line.fee = Discounted(factor, medium.fee);
    line.lateFee = Discounted(factor, medium.lateFee);
    line.deposit = restriction == u'$' ? medium.deposit : Money();
    return line;
}

bool IsFreeItem(int position, int customerLends, int amountOff, int loyalOff)
{
    const qint64 i = position;
    const qint64 history = i + customerLends;
    const bool byAmount = amountOff != 0 && i >= amountOff && i % amountOff == 0;
    const bool byLoyalty = loyalOff != 0 && history >= loyalOff && history % loyalOff == 0;
    return byAmount || byLoyalty;
}

Money LineCharge(int days, bool free, Money feePerDay)
{
    return feePerDay * qint64(free ? days - 1 : days);
}

bool CustomerLimitReached(int basketLines, int videosOut, int limit)
{
    return basketLines + videosOut >= limit;
}

float AddToRunningTotal(float total, Money amount)
{
    return float((double(amount.units()) + double(total) * Money::Scale) / Money::Scale);
}

Money WholeCrowns(Money amount)
{
    const qint64 half = Money::Scale / 2;
    const qint64 units = amount.units();
    const qint64 crowns = units >= 0 ? (units + half) / Money::Scale : -((-units + half) / Money::Scale);
    return Money::fromCrowns(crowns);
}

DocumentAmount BookedAmount(Money fees, Money deposits)
{
    return {WholeCrowns(fees), WholeCrowns(deposits)};
}

QString LendRecapitulationText(const DocumentAmount &amount)
{
    return QStringLiteral("Platba:   %1,00 Kč").arg(amount.sum().units() / Money::Scale);
}
