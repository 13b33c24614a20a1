#pragma once
#include "core/database/MemoryTable.h"
#include "rental/LendRules.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <span>
#include <utility>

class QLabel;
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
// The exact sum of a money field over every line.
Money BasketSum(const DataSet &basket, const QString &field);

// A basket's totals become the desk's running totals (TotalPayment, TotalDeposit) and its
// status bar's three panels show " Položek: %d", the payment as `paymentFormat` says
// (" Platba: %m") and " Záloha: %m".
void ShowBasketTotals(const BasketTotals &totals, int lines, const QString &paymentFormat,
                      std::span<QLabel *const> panels);
QStringList BasketStatusTexts(std::span<QLabel *const> panels);

// After a line is added: the basket sorted again as its sort state says (nothing when it
// is unsorted), letters without regard to case.
void ResortBasket(MemoryTable &basket);

// A grid shows these fields of its basket, in this order and with these widths; the other
// fields get no column.
void ShowBasketColumns(TRxDBGridEx *grid, const QList<std::pair<QString, int>> &columns);
