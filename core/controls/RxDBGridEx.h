#pragma once
#include "core/Grids.h"

#include <QHash>
#include <QHeaderView>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

class DataSet;
#include <QMenu>

// The program's data grid over a data set (BrowseQuery or MemoryTable, or any table
// model). Model column n is field n of the data set; a field without a column of its
// own (the key of the users grid) is a hidden section. The vertical header is the
// indicator column, the horizontal header the title row.
//
// Beside a plain table view it has clickable titles with sort markers, a settable
// title height, Boolean fields drawn as check boxes (empty for null, no in-place
// editor) with OnClickCheckBox on a press inside the square, row and column lines
// switched separately, the cell-colour hook of the lists and the grids' popup menu.
class TRxDBGridEx : public QTableView {
    Q_OBJECT
public:
    explicit TRxDBGridEx(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;

    // Height of the title row, 17 for a new grid; applied while titles are shown.
    int TitleHeight() const { return m_titleHeight; }
    void SetTitleHeight(int height);
    bool ShowTitles() const { return !horizontalHeader()->isHidden(); }
    void SetShowTitles(bool show);

    // Column titles: the caption (default: the model's header text) and its colour
    // (invalid: the normal text colour).
    void SetColumnTitle(int column, const QString &caption);
    QString ColumnTitle(int column) const;
    void SetColumnTitleColor(int column, const QColor &color);
    QColor ColumnTitleColor(int column) const;
    // True when the title is drawn in the normal window-text colour.
    bool ColumnTitleNormal(int column) const;
    // The horizontal alignment of a title (default left). A title wraps onto a second line
    // when the title row is high enough for two.
    void SetColumnTitleAlignment(int column, Qt::Alignment alignment);
    Qt::Alignment ColumnTitleAlignment(int column) const;
    // The narrowest width at which a column's title shows whole: its widest word where the
    // title wraps, else the whole title, with the title's margins and its sort marker.
    int ColumnTitleWidth(int column) const;

    // The grid options of the popup menu.
    bool RowSelect() const { return selectionBehavior() == SelectRows; }
    void SetRowSelect(bool on);
    bool RowLines() const { return m_rowLines; }
    void SetRowLines(bool on);
    bool ColumnLines() const { return m_columnLines; }
    void SetColumnLines(bool on);
    bool MultiSelect() const { return selectionMode() == ExtendedSelection; }
    void SetMultiSelect(bool on);

    // The grid's data set, when its model is one.
    DataSet *dataSet() const;

    // The field shown in a column, and whether it is a Boolean field shown as a check box.
    QString FieldName(int column) const;
    bool IsBooleanColumn(int column) const;

    // The cell (model column, row) at a point of the viewport; -1, -1 outside all cells.
    QPair<int, int> CellAt(const QPoint &viewportPos) const;

    // The popup menu of the grid (the main window's PopupMenuRxDBGrid); it is filled
    // for this grid by PopupMenuPopup before it shows.
    void SetPopupMenu(QMenu *menu) { m_popupMenu = menu; }
    QMenu *PopupMenu() const { return m_popupMenu; }

    // A click on a column title (the model column).
    std::function<void(TRxDBGridEx *grid, int column)> OnTitleBtnClick;
    // Before a title is drawn: its font, background and sort marker (in/out).
    std::function<void(TRxDBGridEx *grid, int column, QFont &font, QColor &background,
                       SortMarker &marker)> OnGetBtnParams;
    // Before a data cell is drawn: its font and colours (in/out); `highlight` tells
    // that the cell belongs to the selection.
    std::function<void(TRxDBGridEx *grid, const QModelIndex &index, bool highlight, QFont &font,
                       QColor &fontColor, QColor &background)> OnGetCellParams;
    // A press inside the check box of a Boolean cell, with that field's name.
    std::function<void(TRxDBGridEx *grid, const QString &field)> OnClickCheckBox;
    // A press in the data area, after the grid has moved its current row there.
    std::function<void(TRxDBGridEx *grid, QMouseEvent *event)> OnMouseDown;

signals:
    // A double click anywhere in the data area, below the last row too; handlers
    // guard it with GridMouseInData.
    void DblClick();

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void UpdateLayout();
    void FollowDataSet();
    void FollowView(const QModelIndex &current);
    // Fills the popup menu for this grid and opens it at `globalPos` (none when unset).
    void ShowPopupMenu(const QPoint &globalPos);

    int m_titleHeight = 17;
    bool m_rowLines = true;
    bool m_columnLines = true;
    QHash<int, QString> m_titles;
    QHash<int, QColor> m_titleColors;
    QHash<int, Qt::Alignment> m_titleAlignments;
    QPointer<QMenu> m_popupMenu;
    bool m_following = false;
};

// The title row: captions in their colours and alignments, and the sort markers.
class TRxDBGridTitle : public QHeaderView {
    Q_OBJECT
public:
    explicit TRxDBGridTitle(TRxDBGridEx *grid);

    // The marker drawn in a title, after OnGetBtnParams.
    SortMarker Marker(int column) const;
    // See TRxDBGridEx::ColumnTitleWidth.
    int TitleWidth(int column) const;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    // The font and marker of a title, after OnGetBtnParams.
    SortMarker Params(int column, QFont *font, QColor *background) const;
    // Whether a title row of `height` pixels wraps a title onto a second line.
    static bool Wraps(int height, const QFont &font);

    TRxDBGridEx *m_grid;
};

// Draws the data cells: the colour hook, check boxes of Boolean fields, row and
// column lines.
class TRxDBGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TRxDBGridDelegate(TRxDBGridEx *grid);
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    TRxDBGridEx *m_grid;
};
