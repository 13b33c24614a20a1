#include "rental/Basket.h"

#include "core/Grids.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/Money.h"
#include "rental/RentalTotals.h"

#include <QLabel>

void DefineBasketFields(MemoryTable &basket, const QList<BasketField> &fields)
{
    for (const BasketField &f : fields) {
        basket.addField(f.name, f.kind, f.calculated);
        basket.setFieldDisplay(f.name, FieldDisplay{f.label, f.format, {}, 0, {}});
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

Money BasketSum(const DataSet &basket, const QString &field)
{
    Money sum;
    const int index = basket.fieldIndex(field);
    for (int row = 0; row < basket.recordCount(); ++row)
        sum += Money::fromVariant(basket.valueAt(row, index));
    return sum;
}

void ShowBasketTotals(const BasketTotals &totals, int lines, const QString &paymentFormat,
                      std::span<QLabel *const> panels)
{
    TotalPayment = totals.payment;
    TotalDeposit = totals.deposit;
    panels[0]->setText(QStringLiteral(" Položek: %1").arg(lines));
    panels[1]->setText(FormatMoney(paymentFormat, double(TotalPayment)));
    panels[2]->setText(FormatMoney(QStringLiteral(" Záloha: %m"), double(TotalDeposit)));
}

QStringList BasketStatusTexts(std::span<QLabel *const> panels)
{
    QStringList texts;
    for (const QLabel *panel : panels.first(3))
        texts << panel->text();
    return texts;
}

void ResortBasket(MemoryTable &basket)
{
    const QString text = basket.sortText();
    if (!text.isEmpty())
        basket.sortOnFields(BasketSortField(text), true, BasketSortDescending(text));
}

void ShowBasketColumns(TRxDBGridEx *grid, const QList<std::pair<QString, int>> &columns)
{
    const DataSet *basket = grid->dataSet();
    QHeaderView *header = grid->horizontalHeader();
    for (int field = 0; field < basket->fieldCount(); ++field)
        grid->setColumnHidden(field, true);
    for (int position = 0; position < columns.size(); ++position) {
        const int field = basket->fieldIndex(columns[position].first);
        grid->setColumnHidden(field, false);
        grid->setColumnWidth(field, columns[position].second);
        header->moveSection(header->visualIndex(field), position);
    }
}
