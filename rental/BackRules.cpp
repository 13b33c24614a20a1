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

QString BackRecapitulationText(const DocumentAmount &amount)
{
    const Money net = amount.sum();
    const bool customerPays = net >= Money();
    return (customerPays ? QStringLiteral("Platba:   %1,00 Kč") : QStringLiteral("Vrátit:   %1,00 Kč"))
        .arg((customerPays ? net : -net).units() / Money::Scale);
}
