#pragma once
#include <QString>
#include <span>

class DataSet;
class TRxDBGridEx;

// A grid column in field order: title (empty: the field's name), width (0 hidden), and the
// width a hidden column gets back when the grid's popup menu shows it again.
struct ListColumn {
    const char *field;
    const char *title;
    int width;
    int restoreWidth = 0;
};
// Gives the data set's fields their titles and restore widths, and the origin table a
// title click sorts by (none given: each field keeps its own).
void DescribeFields(DataSet *dataSet, std::span<const ListColumn> columns, const QString &origin = QString());
// Gives a grid the widths of its columns; a field without a column of its own is hidden.
void LayOutGrid(TRxDBGridEx *grid, std::span<const ListColumn> columns);
// Widens each column whose texts have a fixed shape (numbers with leading zeros, dates by
// their display format) or whose title would be cut to what the grid's font needs, and
// takes what they gain from the column of `stretchField` (down to its title's width), so
// that the grid keeps the width its columns were given.
void FitColumns(TRxDBGridEx *grid, const QString &stretchField);
