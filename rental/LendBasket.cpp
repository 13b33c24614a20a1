#include "rental/LendBasket.h"

#include <QDateTime>

namespace {

const QString Video = QStringLiteral("VIDEO");
const QString Title = QStringLiteral("TITUL");
const QString Medium = QStringLiteral("NOSIC");
const QString Free = QStringLiteral("ZDARMA");
const QString Due = QStringLiteral("VRATIT");
const QString Days = QStringLiteral("DNY");
const QString Fee = QStringLiteral("PUJCOVNE");
const QString LateFeeField = QStringLiteral("VRATNE");
const QString Deposit = QStringLiteral("ZALOHA");
const QString Charge = QStringLiteral("PUJCOVNE_CELKEM");

} // namespace

TTableLend::TTableLend(QObject *parent) : MemoryTable(parent)
{
    setObjectName(QStringLiteral("TableLend"));
    DefineBasketFields(*this, {
        {Video, FieldKind::Int64, QStringLiteral("Kód - video"), QStringLiteral("0000000000000")},
        {Title, FieldKind::Text, QStringLiteral("Titul"), {}},
        {Medium, FieldKind::Text, QStringLiteral("Nosič"), {}},
        {Free, FieldKind::Boolean, QStringLiteral("$"), QStringLiteral("$;-")},
        {Due, FieldKind::DateTime, QStringLiteral("Do"), QStringLiteral("dd.MM.yyyy")},
        {Days, FieldKind::Integer, QStringLiteral("Dny"), {}},
        {Fee, FieldKind::Money, QStringLiteral("Půjčovné [Kč/den]"), QStringLiteral(",0.00")},
        {LateFeeField, FieldKind::Money, QStringLiteral("Vratné [Kč/den]"), QStringLiteral(",0.00")},
        {Deposit, FieldKind::Money, QStringLiteral("Záloha [Kč]"), QStringLiteral(",0.00")},
        {Charge, FieldKind::Money, QStringLiteral("Půjčovné [Kč]"), QStringLiteral(",0.00"), true},
    });
    setCalcFields([](CalcRecord &record) {
        record.setValue(Charge, QVariant::fromValue(LineCharge(record.value(Days).toInt(),
                                                               record.value(Free).toBool(),
                                                               Money::fromVariant(record.value(Fee)))));
    });
    open();
}

void TTableLend::appendLine(const LendLine &line, const RentalSettings &settings, const QDate &runDate)
{
    append({{Video, line.video},
            {Title, line.title},
            {Medium, line.medium},
            {Free, false},
            {Due, QDateTime(line.due, QTime(0, 0))},
            {Days, int(CountLendDays(settings, runDate, line.due))},
            {Fee, QVariant::fromValue(line.prices.fee)},
            {LateFeeField, QVariant::fromValue(line.prices.lateFee)},
            {Deposit, QVariant::fromValue(line.prices.deposit)}});
}

void TTableLend::redateCurrent(const RentalSettings &settings, const QDate &runDate, const QDate &due)
{
    edit({{Due, QDateTime(due, QTime(0, 0))}, {Days, int(CountLendDays(settings, runDate, due))}});
}

LineExtension TTableLend::extendCurrent(const RentalSettings &settings, const QDate &runDate)
{
    const LineExtension extension = ExtendLine(settings, runDate, value(Due).toDate(), value(Days).toInt());
    if (extension.outcome == LineExtension::Extended)
        edit({{Due, QDateTime(extension.due, QTime(0, 0))}, {Days, int(extension.days)}});
    return extension;
}

void TTableLend::setFreeItems(const RentalSettings &settings, int customerLends)
{
    const Bookmark mark = bookmark();
    disableControls();
    for (int row = 0; row < recordCount(); ++row) {
        moveTo(row);
        edit({{Free, IsFreeItem(row + 1, customerLends, settings.amountOff, settings.loyalOff)}});
    }
    gotoBookmark(mark);
    freeBookmark(mark);
    enableControls();
}

BasketTotals TTableLend::totals() const
{
    return BasketSums(*this, Charge, Deposit);
}

DocumentAmount TTableLend::amount() const
{
    return BookedAmount(BasketSum(*this, Charge), BasketSum(*this, Deposit));
}
