#pragma once
#include <QDate>
#include <QString>
#include <QVariant>
#include <functional>

class SqlDialect;

// What the customer and video registers share.

// The dialect of the connected server; EDatabaseError when none is connected.
const SqlDialect &CatalogueDialect();

// The lowest free positive number of a table's key column (`tab_zakaznik`.`ZAKAZNIK`,
// `tab_video`.`VIDEO`) within the desk's numbers (1 to 13 digits): 1 for an empty table or
// when 1 is free, else the lowest number after a used one that is itself unused; numbers
// outside that range are passed over. Throws EDatabaseError when every number is taken.
// The names are the program's own, never typed.
qint64 LowestFreeNumber(const QString &table, const QString &column);

// One change made at the desk: runs `change` (its statements in one DeskTransaction), timed
// from its start, and writes "Transakce [operation] [n ms] [number] [Ok|Error]" to the log.
// True when the change was committed; a failure has been rolled back when this returns, so
// the caller shows its warning with no lock held.
bool RunLoggedChange(const QString &operation, const QVariant &number,
                     const std::function<void()> &change);

// A text field as it is stored: an empty field as an empty text. The text of an empty edit
// is a null string, which the drivers would bind as NULL (and a search by that field would
// then miss the row).
QString StoredText(const QString &text);

// The page filters' WHERE parts. A condition line: "WHERE " before the first, "AND " before
// every later one, each ended by "\n".
void AddWhereLine(QString &where, const QString &condition);
// A date bound as the filters paste it inside quotes: the first moment of the day
// ("yyyy-mm-dd 00:00:00"), or with `wholeDay` its last ("yyyy-mm-dd 23:59:59").
QString FilterDate(const QDate &date, bool wholeDay = false);
