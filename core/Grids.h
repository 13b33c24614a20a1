#pragma once
#include <QColor>
#include <QPoint>
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

class QFont;

// The sort key of a grid column: its field's origin table, "." and the field name (the
// field name alone when the field has no origin), in Czech order for text fields.
QString GridSortKey(const TRxDBGridEx *grid, int column);
// Title click of a grid over a BrowseQuery: the next sort state of that column, then
// back on the row that was current. When the engine refuses the sorted statement the
// old text is put back, the list reopened on its row, and the error is thrown on.
void RxDBGridTitleBtnClick(TRxDBGridEx *grid, int column);
// The marker of a query grid's column, from the query's text.
void RxDBGridGetBtnParams(TRxDBGridEx *grid, int column, QFont &font, QColor &background,
                          SortMarker &marker);
// Binds both to the grid; a refused sort is reported in the warning window.
void BindQueryGridSort(TRxDBGridEx *grid);

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

// Title click of a basket grid over a MemoryTable: columns with a title in the normal
// text colour alternate between ascending and descending.
void RxDBGridMemTitleBtnClick(TRxDBGridEx *grid, int column);
void RxDBGridMemGetBtnParams(TRxDBGridEx *grid, int column, QFont &font, QColor &background,
                             SortMarker &marker);
void BindBasketGridSort(TRxDBGridEx *grid);

// ---- Row colours -----------------------------------------------------------------

// The two colours of the rental settings; the settings dialog sets a provider, until
// then the dialog's defaults hold (grey for lent, red for overdue: white would not
// show on the grid's white background).
struct GridColors {
    QColor lent = QColor(128, 128, 128);
    QColor delayed = QColor(255, 0, 0);
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

// True when the point (grid viewport coordinates) lies in the check-box square of a
// Boolean cell; `field` receives that cell's field name.
bool GridCheckBoxHit(const TRxDBGridEx *grid, int x, int y, QString *field = nullptr);

// True when the mouse cursor is over neither the title row nor the indicator column of
// the grid; a point outside all cells (below the last row) counts as data, so a double
// click there acts on the current row.
bool GridMouseInData(const TRxDBGridEx *grid);
bool GridPointInData(const TRxDBGridEx *grid, const QPoint &globalPos);

// ---- The popup menu of the grids ----------------------------------------------------

// Gives the main window's popup menu PopupMenuRxDBGrid the items it lacks (the submenu
// PopupItemColumns "Zobrazit sloupce", the separator PopupItemSpaceOne and the four
// check items PopupItemRowSelect, PopupItemRowLines, PopupItemColumnLines and
// PopupItemMultiSelect, found by their object names) and wires the option items to
// their handlers below. Every grid that names this menu as its own gets it by
// TRxDBGridEx::SetPopupMenu and calls PopupMenuPopup before showing it, which wires
// the items too when the main window made them itself.
void BuildPopupMenuRxDBGrid(QMenu *menu);
// Fills and checks the menu for the grid it is opened on: one check item per column
// with a caption, checked when the column's width is not 0.
void PopupMenuPopup(QMenu *menu, TRxDBGridEx *grid);
// The grid the menu was last opened on (null when none or gone).
TRxDBGridEx *PopupMenuGrid(const QMenu *menu);
// Hides the item's column (its width kept in the tag of its field) or shows it again
// with that width.
void PopupItemColumnsClick(QAction *item);
// Each inverts one option of the grid the menu was opened on.
void PopupItemRowSelectClick(QAction *item);
void PopupItemRowLinesClick(QAction *item);
void PopupItemColumnLinesClick(QAction *item);
void PopupItemMultiSelectClick(QAction *item);

// ---- Small routines for dialogs ----------------------------------------------------

// Inverts the default flag of the first push button among the container's children.
void ToggleDefaultButton(QWidget *container);
// Selects all text of the focused edit field or combo box of the main window, ready
// for overtyping; otherwise focuses `control` (when given) and selects its text.
// `window` is the main window; null takes the active window.
void ActiveControlSelectAll(QWidget *control = nullptr, QWidget *window = nullptr);
