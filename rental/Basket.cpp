#include "rental/Basket.h"

void DefineBasketFields(MemoryTable &basket, const QList<BasketField> &fields)
{
    for (const BasketField &f : fields) {
        basket.addField(f.name, f.kind, f.calculated);
        basket.setFieldDisplay(f.name, FieldDisplay{f.label, f.format, {}, 0});
    }
}

qint64 BasketCurrentVideo(const DataSet &basket)
{
    return basket.currentRow() < 0 ? 0 : basket.value(QStringLiteral("VIDEO")).toLongLong();
}

BasketTotals BasketSums(const DataSet &basket, const QString &paymentField, const QString &depositField)
{
    BasketTotals totals;
    const int payment = basket.fieldIndex(paymentField);
    const int deposit = basket.fieldIndex(depositField);
    for (int row = 0; row < basket.recordCount(); ++row) {
        totals.payment = AddToRunningTotal(totals.payment, Money::fromVariant(basket.valueAt(row, payment)));
        totals.deposit = AddToRunningTotal(totals.deposit, Money::fromVariant(basket.valueAt(row, deposit)));
    }
    return totals;
}
