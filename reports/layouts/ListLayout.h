#pragma once
#include "reports/Report.h"

#include <QList>
#include <QString>

class DataSet;
class QWidget;

// The pieces the printed lists share: the head on every page, the columns with their
// titles, and the end with the count of rows.

// A column of a list: its title at the column's left edge over a short line of the
// column's width, and a field of the current row under it. `mask` is how the field is
// shown ("0000000000000", "dd.MM.yyyy hh:mm", ",0.00"; "$;-" for a flag: the text for
// true and for false); empty, as the data set shows it. A left-aligned text is cut at the
// next column; a right-aligned one ends at the column's right edge; a centred one stands
// in the middle of the column.
struct ListColumn {
    ListColumn(const QString &title, const QString &field, qreal left, qreal width, const QString &mask = QString(),
               TextAlign align = TextAlign::Left, bool centredTitle = false,
               const QString &family = QStringLiteral("Arial"))
        : title(title), field(field), left(left), width(width), mask(mask), align(align), centredTitle(centredTitle),
          family(family)
    {
    }
    QString title;
    QString field;
    qreal left;
    qreal width;
    QString mask;
    TextAlign align;
    bool centredTitle;
    QString family;
};

// The head printed on every page of a list (a column-header band `height` high): at top
// 8 the page number after "Strana: " (left 0), the date and time the pages began (left
// 128), and the report's title centred on the band in 16 points bold. The page number and
// the date are bold with `boldPageAndDate`.
ReportBand *AddListHead(Report &report, qreal height, bool boldPageAndDate = false);

// The columns' titles at `titleTop` of the head with their short lines at `lineTop`, and
// their fields in the detail band, all in `points`.
void AddListColumns(ReportBand *head, ReportBand *detail, DataSet *data, const QList<ListColumn> &columns,
                    qreal titleTop, qreal lineTop, qreal points);
// The pieces of it: the titles in `points` with their short lines; one row of fields at
// `top` of a band (returned in the columns' order); a short line under each column.
void AddColumnTitles(ReportBand *band, const QList<ListColumn> &columns, qreal titleTop, qreal lineTop,
                     qreal points);
QList<ReportDBText *> AddColumnTexts(ReportBand *band, DataSet *data, const QList<ListColumn> &columns, qreal top,
                                     qreal points);
QList<ReportShape *> AddColumnLines(ReportBand *band, const QList<ListColumn> &columns, qreal top);

// The end of a list, after its last row: the short closing lines under the columns and,
// at top 8, `caption` with the number of rows of the report's data set at `countLeft`.
ReportBand *AddListSummary(Report &report, const QList<ListColumn> &columns, const QString &caption,
                           qreal countLeft);

// The text of a summary, in the lists' summary font.
ReportFont SummaryFont();

// Previews a report over a list of a page: its current row is bookmarked and the
// controls showing it held back while the pages are made and looked at; afterwards it
// stands on that row again when the row still exists.
void PreviewOverList(Report &report, DataSet &list);

// Whether the list has rows to print; when it has none the clerk is told so by a
// window that closes by itself, and the focus goes back to `focus`.
bool HasRowsToPrint(const DataSet &list, const QString &text, const QString &detail, QWidget *focus);
