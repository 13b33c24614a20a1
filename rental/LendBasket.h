#pragma once
#include "core/database/MemoryTable.h"
#include "rental/Basket.h"
#include "rental/LendRules.h"

#include <QDate>
#include <QString>

// One line of a lend as it enters the basket.
struct LendLine {
    qint64 video = 0;
    QString title;
    QString medium;
    QDate due;
    LinePrices prices;
};

// The lend basket `TableLend`: the lines of the lend being prepared for the current
// customer, each one video with its due date, lend days, the customer's prices, deposit
// and free flag, and the calculated charge PUJCOVNE_CELKEM. Nothing of it is stored until
// the lend is written.
class TTableLend : public MemoryTable {
    Q_OBJECT
public:
    explicit TTableLend(QObject *parent = nullptr);

    qint64 currentVideo() const { return BasketCurrentVideo(*this); }

    // Appends the line with its lend days (not yet free) and makes it current; the caller
    // recomputes the free lines (setFreeItems) once it is in.
    void appendLine(const LendLine &line, const RentalSettings &settings, const QDate &runDate);
    // Gives the current line the due date `due` and its lend days (a day button or a
    // calendar day on the line's video; it may shorten the line).
    void redateCurrent(const RentalSettings &settings, const QDate &runDate, const QDate &due);
    // Lends the current line one open day longer, up to the longest lend; the outcome
    // says what happened (nothing at all at the limit).
    LineExtension extendCurrent(const RentalSettings &settings, const QDate &runDate);
    // Recomputes ZDARMA of every line in the basket's present order for a customer who
    // has had `customerLends` videos so far. The current line stays current.
    void setFreeItems(const RentalSettings &settings, int customerLends);

    // The fees (the lines' charges) and the deposits of the whole basket.
    BasketTotals totals() const;
    // What the lend document of this basket will book.
    DocumentAmount amount() const;
};
