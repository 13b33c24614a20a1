#pragma once
#include "core/database/MemoryTable.h"
#include "rental/LendRules.h"

#include <QList>
#include <QString>
#include <utility>

class TRxDBGridEx;

// What the lend and the return basket have in common.

// One field of a basket with the way its grids show it.
struct BasketField {
    QString name;
    FieldKind kind;
    QString label;
    QString format;
    bool calculated = false;
};
void DefineBasketFields(MemoryTable &basket, const QList<BasketField> &fields);

// VIDEO of the basket's current line; 0 (a number no video has) on an empty basket.
qint64 BasketCurrentVideo(const DataSet &basket);
// The running totals of the two money fields over every line, in single precision.
BasketTotals BasketSums(const DataSet &basket, const QString &paymentField, const QString &depositField);

// After a line is added: the basket sorted again as its sort state says (nothing when it
// is unsorted), letters without regard to case.
void ResortBasket(MemoryTable &basket);

// A grid shows these fields of its basket, in this order and with these widths; the other
// fields get no column.
void ShowBasketColumns(TRxDBGridEx *grid, const QList<std::pair<QString, int>> &columns);
