#include "rental/StatisticsRules.h"

#include "core/Utils.h"

namespace {

int BucketCount(StatisticsView view)
{
    switch (view) {
    case StatisticsView::Week: return 7;
    case StatisticsView::Month: return 31;
    case StatisticsView::Year: return 12;
    }
    return 0;
}

// The bucket of a moment, from 0.
int BucketOf(StatisticsView view, const QDate &day)
{
    switch (view) {
    case StatisticsView::Week: return DayOfWeekISO(day) - 1;
    case StatisticsView::Month: return day.day() - 1;
    case StatisticsView::Year: return day.month() - 1;
    }
    return 0;
}

} // namespace

QString StatisticsTitle(StatisticsView view)
{
    switch (view) {
    case StatisticsView::Week: return QStringLiteral("Týdenní statistika");
    case StatisticsView::Month: return QStringLiteral("Měsíční statistika");
    case StatisticsView::Year: return QStringLiteral("Roční statistika");
    }
    return QString();
}

QStringList StatisticsLabels(StatisticsView view)
{
    if (view == StatisticsView::Week)
        return {QStringLiteral("Po"), QStringLiteral("Út"), QStringLiteral("St"), QStringLiteral("Čt"),
                QStringLiteral("Pá"), QStringLiteral("So"), QStringLiteral("Ne")};
    QStringList labels;
    for (int n = 1; n <= BucketCount(view); ++n)
        labels << QStringLiteral("%1.").arg(n, 2, 10, QChar(u'0'));
    return labels;
}

QList<float> TakingsBuckets(StatisticsView view, const QList<TakingsRow> &rows)
{
    QList<float> buckets(BucketCount(view), 0.0f);
    for (const TakingsRow &row : rows) {
        if (!row.time.isValid())
            continue;
        float &bucket = buckets[BucketOf(view, row.time.date())];
        bucket = float(double(bucket) + row.payment.toDouble());
    }
    return buckets;
}
