#include "rental/LendsStore.h"

#include "core/database/BrowseQuery.h"
#include "core/database/DataSet.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

namespace {

QString dayText(const QDate &day, const char *time)
{
    return day.toString(QStringLiteral("yyyy-MM-dd ")) + QLatin1String(time);
}

} // namespace

std::pair<QDate, QDate> LendsPeriodDays(LendsPeriod period, const QDate &runDate)
{
    switch (period) {
    case LendsPeriod::Week: {
        const int weekday = runDate.dayOfWeek(); // 1 Monday … 7 Sunday
        return {runDate.addDays(1 - weekday), runDate.addDays(7 - weekday)};
    }
    case LendsPeriod::Month:
        return {QDate(runDate.year(), runDate.month(), 1),
                QDate(runDate.year(), runDate.month(), runDate.daysInMonth())};
    case LendsPeriod::Year:
        return {QDate(runDate.year(), 1, 1), QDate(runDate.year(), 12, 31)};
    case LendsPeriod::All:
    case LendsPeriod::Today:
    case LendsPeriod::Other:
        break;
    }
    return {runDate, runDate};
}

QString LendsFilterWhere(const LendsFilterInput &f)
{
    QString where;
    auto add = [&where](const QString &condition) { where += WhereOrAnd(where) + condition + QLatin1Char('\n'); };
    if (f.operation == LendsOperation::Lend)
        add(QStringLiteral("OPERACE=1"));
    else if (f.operation == LendsOperation::Back)
        add(QStringLiteral("OPERACE=0"));
    if (f.days)
        add(QStringLiteral("tab_pujcky.CAS BETWEEN '%1' AND '%2'")
                .arg(dayText(f.days->first, "00:00:00"), dayText(f.days->second, "23:59:59")));
    const auto range = [&add](const char *column, const std::optional<qint64> &first,
                              const std::optional<qint64> &second) {
        if (first)
            add(QStringLiteral("%1>=%2").arg(QLatin1String(column)).arg(*first));
        if (second)
            add(QStringLiteral("%1<=%2").arg(QLatin1String(column)).arg(*second));
    };
    if (f.documentsOn)
        range("tab_pujcky.DOKLAD", f.documentFirst, f.documentSecond);
    if (f.customersOn)
        range("tab_pujcky.ZAKAZNIK", f.customerFirst, f.customerSecond);
    if (f.user)
        add(QStringLiteral("tab_pujcky.UZIVATEL=%1").arg(*f.user));
    return where;
}

JournalTotals SumJournal(const DataSet &lends)
{
    JournalTotals totals;
    if (!lends.isOpen())
        return totals;
    totals.documents = lends.recordCount();
    const int payment = lends.fieldIndex(QStringLiteral("PLATBA_CELKEM"));
    const int deposit = lends.fieldIndex(QStringLiteral("ZALOHA_CELKEM"));
    for (int row = 0; row < totals.documents; ++row) {
        totals.payments += Money::fromVariant(lends.valueAt(row, payment));
        totals.deposits += Money::fromVariant(lends.valueAt(row, deposit));
    }
    return totals;
}

JournalTotals DocumentTotals(qint64 document)
{
    BrowseQuery lends;
    OpenJournalDocument(lends, document);
    return SumJournal(lends);
}
