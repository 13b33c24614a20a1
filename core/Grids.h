#pragma once
#include <QColor>
#include <QRect>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QWidget;
class TRxDBGridEx;

// The marker drawn in a column title: none, a triangle pointing down or one
// pointing up. Query lists show "down" for ascending, the baskets "up".
enum class SortMarker { None, Down, Up };

// ---- Sorting of query grids: the ORDER BY part of the statement text -------------

// The text sorted by `key` ("tab_zakaznik.JMENO", with " COLLATE CZECH" on SQLite
// for text columns) one step further: unsorted or sorted by another column →
// ascending → descending → unsorted. The key is matched as a whole token only, so
// "tab_video.TITUL" is never taken for "tab_video.TITUL2".
QString NextQuerySortText(const QString &text, const QString &key);
// The marker of the column with that key in the text.
SortMarker QuerySortMarker(const QString &text, const QString &key);
// Whether `text` holds `token` as a whole token: after the start, a blank, a comma,
// a bracket or a line break, and before the end, a blank, a comma or a line break.
// The position of the first such occurrence from `from`, or -1.
int FindWholeToken(const QString &text, const QString &token, int from = 0);

// ---- Sorting of the baskets: the sort text kept by the in-memory table ------------

// "" unsorted, "_" + field ascending, field + "_" descending. A click on a column
// sorted ascending sorts it descending; any other click sorts ascending.
QString NextBasketSortText(const QString &sortText, const QString &fieldName);
// True when the sort text orders descending (it does not begin with "_").
bool BasketSortDescending(const QString &sortText);
// The field the sort text orders by (empty when unsorted).
QString BasketSortField(const QString &sortText);
// The basket's marker for that column; `proposed` stays when it is not the sort column.
SortMarker BasketSortMarker(const QString &sortText, const QString &fieldName,
                            SortMarker proposed = SortMarker::None);

// ---- Row colours -----------------------------------------------------------------

// The two colours of the rental settings; the settings dialog sets a provider, until
// then the defaults (grey for lent, white for overdue) hold.
struct GridColors {
    QColor lent = QColor(128, 128, 128);
    QColor delayed = QColor(255, 255, 255);
};
void SetGridColorsProvider(std::function<GridColors()> provider);
GridColors CurrentGridColors();

// Colours a cell of a lent or overdue row: a highlighted cell gets the normal text
// colour on the state colour, another one the state colour as its text colour.
void GridCellColor(bool overdue, bool highlighted, QColor &font, QColor &background);

// ---- Check-box cells ---------------------------------------------------------------

// The check-box square of a cell: the cell shrunk by one pixel on every side, then
// narrowed to a square of its height, centred horizontally.
QRect CheckBoxSquare(const QRect &cell);

// ---- Small routines for dialogs ----------------------------------------------------

// Inverts the default flag of the first push button among the container's children.
void ToggleDefaultButton(QWidget *container);
// Selects all text of the focused edit field or combo box of the main window, ready
// for overtyping; otherwise focuses `control` (when given) and selects its text.
// `window` is the main window; null takes the active window.
void ActiveControlSelectAll(QWidget *control = nullptr, QWidget *window = nullptr);
