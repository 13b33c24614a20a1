#include "rental/BackBasket.h"

#include "core/database/Errors.h"

namespace {

const QString Video = QStringLiteral("VIDEO");
const QString Title = QStringLiteral("TITUL");
const QString Medium = QStringLiteral("NOSIC");
const QString Lent = QStringLiteral("PUJCENO");
const QString Due = QStringLiteral("VRATIT");
const QString Days = QStringLiteral("DNY");
const QString Returned = QStringLiteral("VRACENO");
const QString Over = QStringLiteral("PRES");
const QString LateFeeField = QStringLiteral("VRATNE");
const QString Deposit = QStringLiteral("ZALOHA");
const QString LateFees = QStringLiteral("VRATNE_CELKEM");

// The fields copied from the lent line as they stand.
const QString Copied[] = {Video, Title, Medium, Lent, Due, Days, LateFeeField, Deposit};

} // namespace

TTableBack::TTableBack(QObject *parent) : MemoryTable(parent)
{
    setObjectName(QStringLiteral("TableBack"));
    DefineBasketFields(*this, {
        {Video, FieldKind::Int64, QStringLiteral("Kód - video"), QStringLiteral("0000000000000")},
        {Title, FieldKind::Text, QStringLiteral("Titul"), {}},
        {Medium, FieldKind::Text, QStringLiteral("Nosič"), {}},
        {Lent, FieldKind::DateTime, QStringLiteral("Půjčeno"), QStringLiteral("dd.MM.yyyy hh:mm")},
        {Due, FieldKind::DateTime, QStringLiteral("Do"), QStringLiteral("dd.MM.yyyy")},
        {Days, FieldKind::Integer, QStringLiteral("Dny"), {}},
        {Returned, FieldKind::DateTime, QStringLiteral("Vráceno"), {}},
        {Over, FieldKind::Integer, QStringLiteral("Přes"), {}},
        {LateFeeField, FieldKind::Money, QStringLiteral("Vratné [Kč/den]"), QStringLiteral(",0.00")},
        {Deposit, FieldKind::Money, QStringLiteral("Záloha [Kč]"), QStringLiteral(",0.00")},
        {LateFees, FieldKind::Money, QStringLiteral("Vratné [Kč]"), QStringLiteral(",0.00"), true},
    });
    setCalcFields([](CalcRecord &record) {
        record.setValue(LateFees, QVariant::fromValue(LateFee(record.value(Over).toInt(),
                                                              Money::fromVariant(record.value(LateFeeField)))));
    });
    open();
}

void TTableBack::appendLentLine(const DataSet &lentVideos, int row, const RentalSettings &settings,
                                const QDate &runDate, const QDateTime &clock)
{
    QHash<QString, QVariant> line;
    for (const QString &name : Copied) {
        const int field = lentVideos.fieldIndex(name);
        if (field < 0)
            throw EDatabaseError(QStringLiteral("Pole %1 v seznamu půjčených videí chybí").arg(name));
        line.insert(name, lentVideos.valueAt(row, field));
    }
    line.insert(Returned, ReturnMoment(clock));
    line.insert(Over, int(DaysOver(settings, line.value(Due).toDate(), runDate)));
    append(line);
}

BasketTotals TTableBack::totals() const
{
    return BasketSums(*this, LateFees, Deposit);
}

DocumentAmount TTableBack::amount() const
{
    return BookedAmount(BasketSum(*this, LateFees), -BasketSum(*this, Deposit));
}
