#include "core/controls/GridColumns.h"

#include "core/controls/RxDBGridEx.h"
#include "core/database/DataSet.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QStyle>

void DescribeFields(DataSet *dataSet, std::span<const ListColumn> columns, const QString &origin)
{
    for (const ListColumn &column : columns) {
        const QString field = QLatin1String(column.field);
        dataSet->setDisplayLabel(field, QString::fromUtf8(column.title));
        dataSet->setFieldTag(field, column.restoreWidth);
        if (!origin.isEmpty())
            dataSet->setOrigin(field, origin);
    }
}

void LayOutGrid(TRxDBGridEx *grid, std::span<const ListColumn> columns)
{
    DataSet *ds = grid->dataSet();
    for (int f = 0; f < ds->fieldCount(); ++f) {
        grid->setColumnHidden(f, true);
        for (const ListColumn &column : columns) {
            if (ds->fieldName(f) == QLatin1String(column.field)) {
                grid->setColumnHidden(f, false);
                grid->setColumnWidth(f, column.width);
            }
        }
    }
}

namespace {

// The widest text a field of a fixed shape shows; empty for the others.
QString fixedShapeSample(const DataSet *ds, int field)
{
    const QString format = ds->fieldDisplay(ds->fieldName(field)).format;
    if (format.isEmpty())
        return QString();
    switch (ds->fieldKind(field)) {
    case FieldKind::Int64:
    case FieldKind::Integer:
        return format.count(u'0') == format.size() ? format : QString();
    case FieldKind::DateTime:
        return QDateTime(QDate(2000, 12, 28), QTime(20, 28)).toString(format);
    default:
        return QString();
    }
}

} // namespace

void FitColumns(TRxDBGridEx *grid, const QString &stretchField)
{
    const DataSet *ds = grid->dataSet();
    const QFontMetrics metrics(grid->font());
    const int margins = 2 * grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 6;
    int stretch = -1;
    int gained = 0;
    for (int column = 0; column < ds->fieldCount(); ++column) {
        if (grid->isColumnHidden(column) || grid->columnWidth(column) == 0)
            continue;
        if (ds->fieldName(column) == stretchField) {
            stretch = column;
            continue;
        }
        const QString sample = fixedShapeSample(ds, column);
        const int needed = qMax(grid->ColumnTitleWidth(column),
                                sample.isEmpty() ? 0 : metrics.horizontalAdvance(sample) + margins);
        if (needed > grid->columnWidth(column)) {
            gained += needed - grid->columnWidth(column);
            grid->setColumnWidth(column, needed);
        }
    }
    if (stretch >= 0)
        grid->setColumnWidth(stretch, qMax(grid->ColumnTitleWidth(stretch), grid->columnWidth(stretch) - gained));
}
