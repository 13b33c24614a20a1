#pragma once
#include "core/database/MemoryTable.h"
#include "rental/BackRules.h"
#include "rental/Basket.h"

#include <QDate>
#include <QDateTime>

// The return basket `TableBack`: the current customer's lent videos being taken back, each
// a copy of its open lend line with the moment it came back (VRACENO), its days over (PRES)
// and the calculated late fee VRATNE_CELKEM. Nothing of it is stored until the return is
// written.
class TTableBack : public MemoryTable {
    Q_OBJECT
public:
    explicit TTableBack(QObject *parent = nullptr);

    qint64 currentVideo() const { return BasketCurrentVideo(*this); }

    // Appends a copy of row `row` of the lent-videos list (its fields VIDEO, TITUL, NOSIC,
    // PUJCENO, VRATIT, DNY, VRATNE, ZALOHA), back at `clock` cut to the minute and over its
    // due date by the open days up to `runDate`; the new line is current.
    void appendLentLine(const DataSet &lentVideos, int row, const RentalSettings &settings,
                        const QDate &runDate, const QDateTime &clock);

    // The late fees and the deposits handed back of the whole basket.
    BasketTotals totals() const;
    // What the return document of this basket will book (the deposits negative); a return
    // left out of the takings shows the same.
    DocumentAmount amount() const;
};
