#pragma once
#include <QString>
#include <QVariant>
#include <functional>

// What the customer and video changes share.

// The lowest free positive number of a table's key column (`tab_zakaznik`.`ZAKAZNIK`,
// `tab_video`.`VIDEO`): 1 for an empty table or when 1 is free, else the lowest number
// after a used one that is itself unused. The names are the program's own, never typed.
qint64 LowestFreeNumber(const QString &table, const QString &column);

// One change made at the desk: runs `change` (its statements in one DeskTransaction), timed
// from its start, and writes "Transakce [operation] [n ms] [number] [Ok|Error]" to the log.
// True when the change was committed; a failure has been rolled back when this returns, so
// the caller shows its warning with no lock held.
bool RunLoggedChange(const QString &operation, const QVariant &number,
                     const std::function<void()> &change);
