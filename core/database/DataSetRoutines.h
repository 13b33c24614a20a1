#pragma once
#include <QString>
#include <QVariant>
#include <QVariantList>

class BrowseQuery;
class DataSet;

// The hour-glass over the whole application while it lives; the cursor before it
// comes back also when the work inside throws.
class HourGlass {
public:
    HourGlass();
    ~HourGlass();
    HourGlass(const HourGlass &) = delete;
    HourGlass &operator=(const HourGlass &) = delete;

private:
    bool m_set = false;
};

// While it lives the controls of a data set are not told of row changes: its current row
// changes once, when the work is done, however often the work moves it (a refilter closes,
// opens and locates).
class OneRowChange {
public:
    explicit OneRowChange(DataSet &dataSet);
    ~OneRowChange();
    OneRowChange(const OneRowChange &) = delete;
    OneRowChange &operator=(const OneRowChange &) = delete;

private:
    DataSet &m_dataSet;
};

// The routines the pages use on their browse queries. None of them catches: an
// error of the server reaches the caller as EDatabaseError.

// Cuts a statement into its select part (up to the first "WHERE"), its WHERE part
// (up to the first "ORDER BY") and its ORDER BY part; the keywords are found
// case-sensitively and nothing is trimmed.
void SplitSQL(const QString &text, QString &selectPart, QString &wherePart, QString &orderPart);
// "WHERE " when nothing has been collected yet, "AND " otherwise.
QString WhereOrAnd(const QString &whereSoFar);
// Puts `where` (lines of its own, each ended by "\n"; empty for no filter) between
// the query's select and ORDER BY parts, reopens it and returns to the row it stood
// on (its first field's value), else stays on the first row.
void SetQueryWhere(BrowseQuery &query, const QString &where);
// Runs the query again and moves to the row whose first field is `key`; a null key
// means the row current before. A key no row has leaves the first row current.
void RequeryLocate(BrowseQuery &query, const QVariant &key);
// The first field of the row before the current one (of the current one on the
// first row); the current row does not change and the controls are not told.
QVariant GetPriorKey(DataSet &dataSet);
// False for an empty text; else whether the row whose key field equals the text
// was found.
bool LocateExact(DataSet &dataSet, const QString &keyFields, const QString &text);
// False for an empty text; else whether the first row whose key field begins with
// the text, ignoring case, was found (the incremental search by name or title).
bool LocatePartial(DataSet &dataSet, const QString &keyFields, const QString &text);
// False when any value is an empty text; else whether the row whose fields (names
// separated by ";") equal the values was found.
bool LocateValues(DataSet &dataSet, const QString &keyFields, const QVariantList &values);
bool DataSetHasRecords(const DataSet &dataSet);
// Counts the rows of a table of the program through the command routines.
bool TableHasRecords(const QString &tableName);
