#include "core/Grids.h"

#include "core/database/BrowseQuery.h"
#include "core/database/DataSet.h"
#include "core/database/Errors.h"
#include "core/database/MemoryTable.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"
#include "core/RunReported.h"
#include "core/controls/RxDBGridEx.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCursor>
#include <QComboBox>
#include <QHash>
#include <QMenu>
#include <QPointer>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

namespace {

const QString kOrderBy = QStringLiteral("ORDER BY");

bool isTokenStart(QChar c)
{
    return c == u' ' || c == u',' || c == u'(' || c == u'\n' || c == u'\r' || c == u'\t';
}

bool isTokenEnd(QChar c)
{
    return c == u' ' || c == u',' || c == u')' || c == u'\n' || c == u'\r' || c == u'\t';
}

std::function<GridColors()> &colorsProvider()
{
    static std::function<GridColors()> provider;
    return provider;
}

} // namespace

int FindWholeToken(const QString &text, const QString &token, int from)
{
    if (token.isEmpty())
        return -1;
    for (int i = text.indexOf(token, from); i >= 0; i = text.indexOf(token, i + 1)) {
        const int end = i + int(token.size());
        const bool startOk = i == 0 || isTokenStart(text.at(i - 1));
        const bool endOk = end == text.size() || isTokenEnd(text.at(end));
        if (startOk && endOk)
            return i;
    }
    return -1;
}

QString NextQuerySortText(const QString &text, const QString &key)
{
    const int o = text.indexOf(kOrderBy);
    if (o >= 0) {
        const QString before = text.left(o);
        if (FindWholeToken(text, key + QLatin1String(" DESC"), o) >= 0)
            return before;
        if (FindWholeToken(text, QLatin1String("ORDER BY ") + key, o) >= 0)
            return before + QLatin1String("ORDER BY ") + key + QLatin1String(" DESC");
        return before + QLatin1String("ORDER BY ") + key;
    }
    // A statement text ends with a line break; one that does not gets it here, so
    // that the ORDER BY never runs into the last word.
    QString t = text;
    if (!t.isEmpty() && !t.endsWith(u'\n'))
        t += u'\n';
    return t + QLatin1String("ORDER BY ") + key;
}

SortMarker QuerySortMarker(const QString &text, const QString &key)
{
    const int o = text.indexOf(kOrderBy);
    if (o < 0)
        return SortMarker::None;
    if (FindWholeToken(text, key + QLatin1String(" DESC"), o) >= 0)
        return SortMarker::Up;
    if (FindWholeToken(text, QLatin1String("ORDER BY ") + key, o) >= 0)
        return SortMarker::Down;
    return SortMarker::None;
}

QString GridSortKey(const TRxDBGridEx *grid, int column)
{
    const DataSet *ds = grid ? grid->dataSet() : nullptr;
    if (!ds || column < 0 || column >= ds->fieldCount())
        return QString();
    const QString origin = ds->origin(column);
    QString key = origin.isEmpty() ? ds->fieldName(column) : origin + u'.' + ds->fieldName(column);
    if (ds->fieldKind(column) == FieldKind::Text && CurrentServer())
        key = CurrentServer()->dialect().textOrder(key);
    return key;
}

namespace {

// Reopens the query and stands on the row whose key is `key` (null: the first row).
void openOnKey(BrowseQuery &query, const QVariant &key)
{
    query.open();
    if (!key.isNull() && query.fieldCount() > 0)
        query.locate(query.fieldName(0), key);
}

} // namespace

void RxDBGridTitleBtnClick(TRxDBGridEx *grid, int column)
{
    auto *query = qobject_cast<BrowseQuery *>(grid ? grid->dataSet() : nullptr);
    const QString key = GridSortKey(grid, column);
    if (!query || key.isEmpty())
        return;
    const QVariant kept = query->isOpen() && !query->isEmpty() ? query->value(0) : QVariant();
    query->close();
    const QString old = query->sqlText();
    query->setSqlText(NextQuerySortText(old, key));
    try {
        openOnKey(*query, kept);
    } catch (const EDatabaseError &) {
        // The list must not stay closed on a text the engine refuses.
        query->setSqlText(old);
        try {
            openOnKey(*query, kept);
        } catch (const EDatabaseError &) {
        }
        throw;
    }
}

void RxDBGridGetBtnParams(TRxDBGridEx *grid, int column, QFont &, QColor &, SortMarker &marker)
{
    auto *query = qobject_cast<BrowseQuery *>(grid ? grid->dataSet() : nullptr);
    const QString key = GridSortKey(grid, column);
    marker = query && !key.isEmpty() ? QuerySortMarker(query->sqlText(), key) : SortMarker::None;
}

void BindQueryGridSort(TRxDBGridEx *grid)
{
    grid->OnTitleBtnClick = [](TRxDBGridEx *g, int column) {
        RunReported([g, column] { RxDBGridTitleBtnClick(g, column); });
        g->horizontalHeader()->viewport()->update();
    };
    grid->OnGetBtnParams = RxDBGridGetBtnParams;
}

void RxDBGridMemTitleBtnClick(TRxDBGridEx *grid, int column)
{
    auto *table = qobject_cast<MemoryTable *>(grid ? grid->dataSet() : nullptr);
    if (!table || column < 0 || column >= table->fieldCount() || !grid->ColumnTitleNormal(column))
        return;
    const QString text = NextBasketSortText(table->sortText(), table->fieldName(column));
    table->setSortText(text);
    table->sortOnFields(BasketSortField(text), true, BasketSortDescending(text));
}

void RxDBGridMemGetBtnParams(TRxDBGridEx *grid, int column, QFont &, QColor &, SortMarker &marker)
{
    auto *table = qobject_cast<MemoryTable *>(grid ? grid->dataSet() : nullptr);
    if (table && column >= 0 && column < table->fieldCount())
        marker = BasketSortMarker(table->sortText(), table->fieldName(column), marker);
}

void BindBasketGridSort(TRxDBGridEx *grid)
{
    grid->OnTitleBtnClick = [](TRxDBGridEx *g, int column) {
        RunReported([g, column] { RxDBGridMemTitleBtnClick(g, column); });
        g->horizontalHeader()->viewport()->update();
    };
    grid->OnGetBtnParams = RxDBGridMemGetBtnParams;
}

QString NextBasketSortText(const QString &sortText, const QString &fieldName)
{
    if (sortText == u'_' + fieldName)
        return fieldName + u'_';
    return u'_' + fieldName;
}

bool BasketSortDescending(const QString &sortText)
{
    return !sortText.startsWith(u'_');
}

QString BasketSortField(const QString &sortText)
{
    if (sortText.startsWith(u'_'))
        return sortText.mid(1);
    if (sortText.endsWith(u'_'))
        return sortText.chopped(1);
    return QString();
}

SortMarker BasketSortMarker(const QString &sortText, const QString &fieldName, SortMarker proposed)
{
    if (sortText == fieldName + u'_')
        return SortMarker::Down;
    if (sortText == u'_' + fieldName)
        return SortMarker::Up;
    return proposed;
}

void SetGridColorsProvider(std::function<GridColors()> provider)
{
    colorsProvider() = std::move(provider);
}

GridColors CurrentGridColors()
{
    return colorsProvider() ? colorsProvider()() : GridColors();
}

void GridCellColor(bool overdue, bool highlighted, QColor &font, QColor &background)
{
    const GridColors colors = CurrentGridColors();
    const QColor state = overdue ? colors.delayed : colors.lent;
    if (highlighted) {
        font = QApplication::palette().color(QPalette::WindowText);
        background = state;
    } else {
        font = state;
    }
}

QRect CheckBoxSquare(const QRect &cell)
{
    // Edges as the grid counts them: right and bottom exclusive.
    const int left = cell.left() + 1;
    const int top = cell.top() + 1;
    const int right = cell.left() + cell.width() - 1;
    const int bottom = cell.top() + cell.height() - 1;
    const int h = bottom - top;
    if (h <= 0 || right <= left)
        return QRect();
    const int squareLeft = (left + right - h) / 2;
    return QRect(squareLeft, top, h, h);
}

bool GridCheckBoxHit(const TRxDBGridEx *grid, int x, int y, QString *field)
{
    if (!grid || !grid->model())
        return false;
    const QModelIndex index = grid->indexAt(QPoint(x, y));
    if (!index.isValid() || !grid->IsBooleanColumn(index.column()))
        return false;
    if (field)
        *field = grid->FieldName(index.column());
    return CheckBoxSquare(grid->visualRect(index)).contains(x, y);
}

bool GridPointInData(const TRxDBGridEx *grid, const QPoint &globalPos)
{
    if (!grid)
        return false;
    const QPoint local = grid->mapFromGlobal(globalPos);
    for (const QHeaderView *header : {grid->horizontalHeader(), grid->verticalHeader()}) {
        if (!header->isHidden() && header->geometry().contains(local))
            return false;
    }
    // The corner where the two headers meet belongs to neither data nor titles.
    if (!grid->horizontalHeader()->isHidden() && !grid->verticalHeader()->isHidden()
        && local.x() < grid->verticalHeader()->geometry().right()
        && local.y() < grid->horizontalHeader()->geometry().bottom())
        return false;
    return true;
}

bool GridMouseInData(const TRxDBGridEx *grid)
{
    return GridPointInData(grid, QCursor::pos());
}

// ---- the popup menu -------------------------------------------------------------------

namespace {

QHash<const QMenu *, QPointer<TRxDBGridEx>> &menuGrids()
{
    static QHash<const QMenu *, QPointer<TRxDBGridEx>> grids;
    return grids;
}

// The grid of the menu an item belongs to (the columns submenu's items included).
TRxDBGridEx *itemGrid(const QAction *item)
{
    for (QObject *o = item ? item->parent() : nullptr; o; o = o->parent()) {
        if (auto *menu = qobject_cast<QMenu *>(o); menu && menuGrids().contains(menu))
            return menuGrids().value(menu);
    }
    return nullptr;
}

// The width a hidden column comes back with: the tag of its field in the grid's data
// set, so that two grids on one data set share it.
int restoreWidth(const TRxDBGridEx *grid, int column)
{
    if (DataSet *ds = grid->dataSet())
        return column < ds->fieldCount() ? ds->fieldTag(column) : 0;
    return grid->property("RestoreWidths").toMap().value(QString::number(column)).toInt();
}

void setRestoreWidth(TRxDBGridEx *grid, int column, int width)
{
    if (DataSet *ds = grid->dataSet()) {
        if (column < ds->fieldCount())
            ds->setFieldTag(ds->fieldName(column), width);
        return;
    }
    QVariantMap widths = grid->property("RestoreWidths").toMap();
    widths.insert(QString::number(column), width);
    grid->setProperty("RestoreWidths", widths);
}

struct OptionItem {
    const char *name;
    const char *caption;
    void (*handler)(QAction *);
};

const OptionItem OptionItems[] = {
    {"PopupItemRowSelect", "Výběr reprezentuje celý řádek", PopupItemRowSelectClick},
    {"PopupItemRowLines", "Zobrazit oddělovací čáry mezi řádky", PopupItemRowLinesClick},
    {"PopupItemColumnLines", "Zobrazit oddělovací čáry mezi sloupci", PopupItemColumnLinesClick},
    {"PopupItemMultiSelect", "Vícenásobný výběr", PopupItemMultiSelectClick},
};

// Connects the four option items of the menu to their handlers, once per menu, so a
// menu whose items the main window made itself works as well.
void wireOptionItems(QMenu *menu)
{
    if (menu->property("GridHandlersWired").toBool())
        return;
    menu->setProperty("GridHandlersWired", true);
    for (const OptionItem &option : OptionItems) {
        if (auto *item = menu->findChild<QAction *>(QLatin1String(option.name))) {
            item->setCheckable(true);
            QObject::connect(item, &QAction::triggered, item,
                             [item, handler = option.handler] { handler(item); });
        }
    }
    QObject::connect(menu, &QObject::destroyed, [menu] { menuGrids().remove(menu); });
}

} // namespace

void BuildPopupMenuRxDBGrid(QMenu *menu)
{
    if (!menu->findChild<QMenu *>(QStringLiteral("PopupItemColumns"))) {
        auto *columns = new QMenu(QStringLiteral("Zobrazit sloupce"), menu);
        columns->setObjectName(QStringLiteral("PopupItemColumns"));
        menu->addMenu(columns);
        QAction *space = menu->addSeparator();
        space->setObjectName(QStringLiteral("PopupItemSpaceOne"));
    }
    for (const OptionItem &option : OptionItems) {
        if (menu->findChild<QAction *>(QLatin1String(option.name)))
            continue;
        auto *item = new QAction(QString::fromUtf8(option.caption), menu);
        item->setObjectName(QLatin1String(option.name));
        menu->addAction(item);
    }
    wireOptionItems(menu);
}

TRxDBGridEx *PopupMenuGrid(const QMenu *menu)
{
    return menuGrids().value(menu);
}

void PopupMenuPopup(QMenu *menu, TRxDBGridEx *grid)
{
    if (!menu || !grid)
        return;
    menuGrids().insert(menu, grid);
    wireOptionItems(menu);
    if (auto *columns = menu->findChild<QMenu *>(QStringLiteral("PopupItemColumns"))) {
        columns->clear();
        const int count = grid->model() ? grid->model()->columnCount() : 0;
        for (int c = 0; c < count; ++c) {
            // A field without a column of its own has no item.
            if (grid->isColumnHidden(c))
                continue;
            const QString caption = grid->ColumnTitle(c);
            if (caption.isEmpty())
                continue;
            auto *item = new QAction(caption, columns);
            item->setCheckable(true);
            item->setChecked(grid->columnWidth(c) != 0);
            item->setData(c);
            QObject::connect(item, &QAction::triggered, item, [item] { PopupItemColumnsClick(item); });
            columns->addAction(item);
        }
    }
    const auto check = [menu](const char *name, bool on) {
        if (auto *item = menu->findChild<QAction *>(QLatin1String(name)))
            item->setChecked(on);
    };
    check("PopupItemRowSelect", grid->RowSelect());
    check("PopupItemRowLines", grid->RowLines());
    check("PopupItemColumnLines", grid->ColumnLines());
    check("PopupItemMultiSelect", grid->MultiSelect());
}

void PopupItemColumnsClick(QAction *item)
{
    TRxDBGridEx *grid = itemGrid(item);
    if (!grid || !item->data().isValid())
        return;
    const int column = item->data().toInt();
    const int width = grid->columnWidth(column);
    if (width != 0) {
        setRestoreWidth(grid, column, width);
        grid->setColumnWidth(column, 0);
    } else {
        grid->setColumnWidth(column, restoreWidth(grid, column));
    }
}

void PopupItemRowSelectClick(QAction *item)
{
    if (TRxDBGridEx *grid = itemGrid(item))
        grid->SetRowSelect(!grid->RowSelect());
}

void PopupItemRowLinesClick(QAction *item)
{
    if (TRxDBGridEx *grid = itemGrid(item))
        grid->SetRowLines(!grid->RowLines());
}

void PopupItemColumnLinesClick(QAction *item)
{
    if (TRxDBGridEx *grid = itemGrid(item))
        grid->SetColumnLines(!grid->ColumnLines());
}

void PopupItemMultiSelectClick(QAction *item)
{
    if (TRxDBGridEx *grid = itemGrid(item))
        grid->SetMultiSelect(!grid->MultiSelect());
}

void ToggleDefaultButton(QWidget *container)
{
    if (!container)
        return;
    for (QObject *child : container->children()) {
        if (auto *button = qobject_cast<QPushButton *>(child)) {
            button->setDefault(!button->isDefault());
            return;
        }
    }
}

namespace {

// Selects the text of an edit field or a combo box; false for any other control.
bool selectAllText(QWidget *w)
{
    if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        edit->selectAll();
        return true;
    }
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(w)) {
        spin->selectAll();
        return true;
    }
    if (auto *combo = qobject_cast<QComboBox *>(w)) {
        if (combo->lineEdit())
            combo->lineEdit()->selectAll();
        return true;
    }
    return false;
}

} // namespace

void ActiveControlSelectAll(QWidget *control, QWidget *window)
{
    if (!window)
        window = QApplication::activeWindow();
    QWidget *focused = window ? window->focusWidget() : QApplication::focusWidget();
    if (focused && selectAllText(focused))
        return;
    if (control) {
        control->setFocus();
        selectAllText(control);
    }
}
