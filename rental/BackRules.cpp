#include "rental/BackRules.h"

quint16 DaysOver(const RentalSettings &settings, const QDate &due, const QDate &runDate)
{
    return OpenDaysBetween(settings, due, runDate);
}

Money LateFee(int daysOver, Money lateFeePerDay)
{
    return lateFeePerDay * qint64(daysOver);
}

QDateTime ReturnMoment(const QDateTime &clock)
{
    const QTime t = clock.time();
    return QDateTime(clock.date(), QTime(t.hour(), t.minute()));
}

NetAmount ReturnNetAmount(const BasketTotals &totals)
{
    const double lateFees = totals.payment;
    const double deposits = totals.deposit;
    NetAmount net;
    net.customerPays = lateFees >= deposits;
    net.crowns = RoundCrowns(net.customerPays ? lateFees - deposits : deposits - lateFees);
    return net;
}

QString BackRecapitulationText(const BasketTotals &totals)
{
    const NetAmount net = ReturnNetAmount(totals);
    return (net.customerPays ? QStringLiteral("Platba:   %1,00 Kč") : QStringLiteral("Vrátit:   %1,00 Kč"))
        .arg(net.crowns);
}
