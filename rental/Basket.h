#pragma once
#include "core/database/MemoryTable.h"
#include "rental/LendRules.h"

#include <QList>
#include <QString>

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
