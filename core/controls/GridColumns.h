#pragma once
#include <QString>
#include <span>

class DataSet;
class TRxDBGridEx;

// The columns a list page shows of its data set, in field order: the field, its title
// (empty: the field's name), its width (0: hidden) and the width a hidden column gets back
// when the grid's popup menu shows it again.
struct GridColumn {
    const char *field;
    const char *title;
    int width;
    int restoreWidth = 0;
};

// Gives the data set's fields their titles and restore widths, and the origin table a
// title click sorts by (none given: each field keeps its own).
void DescribeColumns(DataSet *dataSet, std::span<const GridColumn> columns, const QString &origin = QString());
// Gives a grid the widths of its columns; a field without a column of its own is hidden.
void LayOutColumns(TRxDBGridEx *grid, std::span<const GridColumn> columns);
// Widens each column whose texts have a fixed shape (numbers with leading zeros, dates by
// their display format) or whose title would be cut to what the grid's font needs, and
// takes what they gain from the column of `stretchField` (down to its title's width), so
// that the grid keeps the width its columns were given.
void FitColumns(TRxDBGridEx *grid, const QString &stretchField);
