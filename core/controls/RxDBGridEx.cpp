#include "core/controls/RxDBGridEx.h"

#include "core/database/DataSet.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QScopeGuard>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStyleOptionHeader>

// ---- TRxDBGridEx ---------------------------------------------------------------------

TRxDBGridEx::TRxDBGridEx(QWidget *parent) : QTableView(parent)
{
    setHorizontalHeader(new TRxDBGridTitle(this));
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(0);
    // A right-click on the title row or the indicator column opens the grid's popup
    // menu as one on the data does.
    for (QHeaderView *header : {horizontalHeader(), verticalHeader()}) {
        header->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(header, &QWidget::customContextMenuRequested, this, [this, header](const QPoint &pos) {
            ShowPopupMenu(header->viewport()->mapToGlobal(pos));
        });
    }
    // The delegate draws row and column lines, each on its own.
    setShowGrid(false);
    setItemDelegate(new TRxDBGridDelegate(this));
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    setEditTriggers(NoEditTriggers);
    // A text wider than its column is cut at the edge, on one line, never shortened with "...".
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->setFixedWidth(12);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (OnTitleBtnClick)
            OnTitleBtnClick(this, column);
    });
    UpdateLayout();
}

void TRxDBGridEx::setModel(QAbstractItemModel *model)
{
    if (DataSet *old = dataSet())
        disconnect(old, nullptr, this, nullptr);
    QTableView::setModel(model);
    if (selectionModel())
        connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &TRxDBGridEx::FollowView);
    if (DataSet *ds = dataSet()) {
        connect(ds, &DataSet::currentRowChanged, this, &TRxDBGridEx::FollowDataSet);
        connect(ds, &QAbstractItemModel::modelReset, this, &TRxDBGridEx::FollowDataSet);
        FollowDataSet();
    }
    UpdateLayout();
}

DataSet *TRxDBGridEx::dataSet() const
{
    return qobject_cast<DataSet *>(model());
}

// The data set moved: the grid shows its current row.
void TRxDBGridEx::FollowDataSet()
{
    DataSet *ds = dataSet();
    if (!ds || m_following)
        return;
    m_following = true;
    // A slot on the data set's signals may throw; the grid must follow it again after.
    const auto followed = qScopeGuard([this] { m_following = false; });
    const int row = ds->currentRow();
    if (row < 0 || row >= model()->rowCount()) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
    } else {
        int column = currentIndex().isValid() ? currentIndex().column() : -1;
        if (column < 0 || isColumnHidden(column)) {
            column = 0;
            while (column < model()->columnCount() - 1 && isColumnHidden(column))
                ++column;
        }
        const QModelIndex index = model()->index(row, column);
        QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
        if (RowSelect())
            flags |= QItemSelectionModel::Rows;
        selectionModel()->setCurrentIndex(index, flags);
        scrollTo(index);
    }
}

// The person moved the grid: the data set follows.
void TRxDBGridEx::FollowView(const QModelIndex &current)
{
    DataSet *ds = dataSet();
    if (!ds || m_following || !current.isValid() || current.row() == ds->currentRow())
        return;
    m_following = true;
    const auto followed = qScopeGuard([this] { m_following = false; });
    ds->moveTo(current.row()); // its row-change slots may throw
}

void TRxDBGridEx::SetTitleHeight(int height)
{
    if (height == m_titleHeight)
        return;
    m_titleHeight = height;
    UpdateLayout();
}

void TRxDBGridEx::SetShowTitles(bool show)
{
    horizontalHeader()->setHidden(!show);
    UpdateLayout();
}

void TRxDBGridEx::UpdateLayout()
{
    if (ShowTitles())
        horizontalHeader()->setFixedHeight(m_titleHeight);
}

void TRxDBGridEx::SetColumnTitle(int column, const QString &caption)
{
    m_titles.insert(column, caption);
    horizontalHeader()->viewport()->update();
}

QString TRxDBGridEx::ColumnTitle(int column) const
{
    if (auto it = m_titles.constFind(column); it != m_titles.constEnd())
        return *it;
    return model() ? model()->headerData(column, Qt::Horizontal).toString() : QString();
}

void TRxDBGridEx::SetColumnTitleColor(int column, const QColor &color)
{
    m_titleColors.insert(column, color);
    horizontalHeader()->viewport()->update();
}

QColor TRxDBGridEx::ColumnTitleColor(int column) const
{
    return m_titleColors.value(column);
}

void TRxDBGridEx::SetColumnTitleAlignment(int column, Qt::Alignment alignment)
{
    m_titleAlignments.insert(column, alignment & Qt::AlignHorizontal_Mask);
    horizontalHeader()->viewport()->update();
}

Qt::Alignment TRxDBGridEx::ColumnTitleAlignment(int column) const
{
    return m_titleAlignments.value(column, Qt::AlignLeft);
}

int TRxDBGridEx::ColumnTitleWidth(int column) const
{
    return static_cast<const TRxDBGridTitle *>(horizontalHeader())->TitleWidth(column);
}

bool TRxDBGridEx::ColumnTitleNormal(int column) const
{
    const QColor c = ColumnTitleColor(column);
    return !c.isValid() || c == QApplication::palette().color(QPalette::WindowText);
}

void TRxDBGridEx::SetRowSelect(bool on)
{
    setSelectionBehavior(on ? SelectRows : SelectItems);
    FollowDataSet();
    viewport()->update();
}

void TRxDBGridEx::SetRowLines(bool on)
{
    m_rowLines = on;
    viewport()->update();
}

void TRxDBGridEx::SetColumnLines(bool on)
{
    m_columnLines = on;
    viewport()->update();
}

void TRxDBGridEx::SetMultiSelect(bool on)
{
    setSelectionMode(on ? ExtendedSelection : SingleSelection);
}

QString TRxDBGridEx::FieldName(int column) const
{
    if (DataSet *ds = dataSet())
        return column >= 0 && column < ds->fieldCount() ? ds->fieldName(column) : QString();
    return model() ? model()->headerData(column, Qt::Horizontal).toString() : QString();
}

bool TRxDBGridEx::IsBooleanColumn(int column) const
{
    DataSet *ds = dataSet();
    return ds && column >= 0 && column < ds->fieldCount() && ds->isCheckBoxField(column);
}

QPair<int, int> TRxDBGridEx::CellAt(const QPoint &viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    if (!index.isValid())
        return {-1, -1};
    return {index.column(), index.row()};
}

bool TRxDBGridEx::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (index.isValid() && IsBooleanColumn(index.column()))
        return false;
    return QTableView::edit(index, trigger, event);
}

void TRxDBGridEx::mousePressEvent(QMouseEvent *event)
{
    QTableView::mousePressEvent(event);
    const QPoint pos = event->position().toPoint();
    if (OnMouseDown)
        OnMouseDown(this, event);
    if (OnClickCheckBox) {
        QString field;
        if (GridCheckBoxHit(this, pos.x(), pos.y(), &field))
            OnClickCheckBox(this, field);
    }
}

void TRxDBGridEx::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit DblClick();
}

void TRxDBGridEx::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_popupMenu) {
        QTableView::contextMenuEvent(event);
        return;
    }
    ShowPopupMenu(event->globalPos());
    event->accept();
}

void TRxDBGridEx::ShowPopupMenu(const QPoint &globalPos)
{
    if (!m_popupMenu)
        return;
    PopupMenuPopup(m_popupMenu, this);
    m_popupMenu->popup(globalPos);
}

// ---- TRxDBGridTitle ------------------------------------------------------------------

namespace {
constexpr int TitleMargin = 3; // on either side of a title's text
constexpr int MarkerWidth = 10;
} // namespace

TRxDBGridTitle::TRxDBGridTitle(TRxDBGridEx *grid) : QHeaderView(Qt::Horizontal, grid), m_grid(grid)
{
}

SortMarker TRxDBGridTitle::Params(int column, QFont *font, QColor *background) const
{
    *font = this->font();
    SortMarker marker = SortMarker::None;
    if (m_grid->OnGetBtnParams)
        m_grid->OnGetBtnParams(m_grid, column, *font, *background, marker);
    return marker;
}

SortMarker TRxDBGridTitle::Marker(int column) const
{
    QFont font;
    QColor background;
    return Params(column, &font, &background);
}

bool TRxDBGridTitle::Wraps(int height, const QFont &font)
{
    return height >= 2 * QFontMetrics(font).height();
}

int TRxDBGridTitle::TitleWidth(int column) const
{
    QFont font;
    QColor background;
    const SortMarker marker = Params(column, &font, &background);
    const QFontMetrics metrics(font);
    const QString title = m_grid->ColumnTitle(column);
    const QStringList words = Wraps(m_grid->TitleHeight(), font)
        ? title.split(u' ', Qt::SkipEmptyParts) : QStringList{title};
    int text = 0;
    for (const QString &word : words)
        text = qMax(text, metrics.horizontalAdvance(word));
    return text + 2 * TitleMargin + (marker == SortMarker::None ? 0 : MarkerWidth);
}

void TRxDBGridTitle::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    QFont font;
    QColor background;
    const SortMarker marker = Params(logicalIndex, &font, &background);

    painter->save();
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = rect;
    opt.section = logicalIndex;
    style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, this);
    if (background.isValid())
        painter->fillRect(rect.adjusted(1, 1, -1, -1), background);

    const int markerWidth = marker == SortMarker::None ? 0 : MarkerWidth;
    const QColor color = m_grid->ColumnTitleColor(logicalIndex);
    painter->setPen(color.isValid() ? color : palette().color(QPalette::ButtonText));
    painter->setFont(font);
    painter->setClipRect(rect);
    const QRect textRect = rect.adjusted(TitleMargin, 0, -TitleMargin - markerWidth, 0);
    const bool twoLines = Wraps(textRect.height(), font);
    painter->drawText(textRect,
                      m_grid->ColumnTitleAlignment(logicalIndex) | Qt::AlignVCenter
                          | (twoLines ? Qt::TextWordWrap : Qt::TextSingleLine),
                      m_grid->ColumnTitle(logicalIndex));
    if (marker != SortMarker::None) {
        // A small triangle at the right: its point down or up.
        const qreal cx = rect.right() - 7;
        const qreal cy = rect.center().y() + 0.5;
        QPainterPath path;
        if (marker == SortMarker::Down) {
            path.moveTo(cx - 4, cy - 2);
            path.lineTo(cx + 4, cy - 2);
            path.lineTo(cx, cy + 2);
        } else {
            path.moveTo(cx - 4, cy + 2);
            path.lineTo(cx + 4, cy + 2);
            path.lineTo(cx, cy - 2);
        }
        path.closeSubpath();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillPath(path, palette().color(QPalette::ButtonText));
    }
    painter->restore();
}

// ---- TRxDBGridDelegate ----------------------------------------------------------------

TRxDBGridDelegate::TRxDBGridDelegate(TRxDBGridEx *grid) : QStyledItemDelegate(grid), m_grid(grid)
{
}

void TRxDBGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    // With whole-row selection no cell shows a focus rectangle.
    if (m_grid->RowSelect())
        opt.state &= ~QStyle::State_HasFocus;

    const bool highlight = opt.state & QStyle::State_Selected;
    if (m_grid->OnGetCellParams) {
        QFont font = opt.font;
        QColor fontColor = opt.palette.color(highlight ? QPalette::HighlightedText : QPalette::Text);
        QColor background = highlight ? opt.palette.color(QPalette::Highlight)
            : (opt.backgroundBrush.style() != Qt::NoBrush ? opt.backgroundBrush.color()
                                                           : opt.palette.color(QPalette::Base));
        m_grid->OnGetCellParams(m_grid, index, highlight, font, fontColor, background);
        opt.font = font;
        if (highlight) {
            opt.palette.setColor(QPalette::Highlight, background);
            opt.palette.setColor(QPalette::HighlightedText, fontColor);
        } else {
            opt.backgroundBrush = background;
            opt.palette.setColor(QPalette::Text, fontColor);
        }
    }

    QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
    if (m_grid->IsBooleanColumn(index.column())) {
        // The cell without its text, then the box in its square; a null value
        // leaves the cell empty.
        opt.text.clear();
        opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
        const QVariant value = index.data(Qt::EditRole);
        if (!value.isNull()) {
            QStyleOptionButton box;
            box.rect = CheckBoxSquare(opt.rect);
            box.state = QStyle::State_Enabled | (value.toBool() ? QStyle::State_On : QStyle::State_Off);
            box.palette = opt.palette;
            style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, opt.widget);
        }
    } else {
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    }

    if (m_grid->RowLines() || m_grid->ColumnLines()) {
        painter->save();
        painter->setPen(QColor(static_cast<QRgb>(
            m_grid->style()->styleHint(QStyle::SH_Table_GridLineColor, &opt, m_grid))));
        const QRect r = opt.rect;
        if (m_grid->RowLines())
            painter->drawLine(r.bottomLeft(), r.bottomRight());
        if (m_grid->ColumnLines())
            painter->drawLine(r.topRight(), r.bottomRight());
        painter->restore();
    }
}
