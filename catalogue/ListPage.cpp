#include "catalogue/ListPage.h"

#include "core/Grids.h"
#include "core/LentLines.h"
#include "core/Messages.h"
#include "core/Modal.h"
#include "core/NamedWidget.h"
#include "core/RunGlobals.h"
#include "core/RunReported.h"
#include "core/UValmedo.h"
#include "core/controls/FilterPanel.h"
#include "core/controls/FindBoxes.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/Database.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

namespace {

// Runs `onEvent` for the events of the watched widget.
class EventHook : public QObject {
public:
    EventHook(QObject *watched, std::function<void(QEvent *)> onEvent)
        : QObject(watched), m_onEvent(std::move(onEvent))
    {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        m_onEvent(event);
        return false;
    }

private:
    std::function<void(QEvent *)> m_onEvent;
};

QWidget *titledGrid(QWidget *parent, const char *titleName, const QString &caption, const char *gridName,
                    QLabel *&title, TRxDBGridEx *&grid)
{
    auto *box = new QWidget(parent);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    title = Named<QLabel>(box, titleName, caption);
    title->setFrameShape(QFrame::StyledPanel);
    title->setMinimumHeight(20);
    grid = Named<TRxDBGridEx>(box, gridName);
    grid->SetRowSelect(true);
    BindQueryGridSort(grid);
    layout->addWidget(title);
    layout->addWidget(grid, 1);
    return box;
}

} // namespace

void DescribeHistory(BrowseQuery *history, const QString &keyField)
{
    history->setFieldKind(keyField, FieldKind::Int64);
    history->setDisplayFormat(keyField, QStringLiteral("0000000000000"));
    history->setAlignment(keyField, Qt::AlignLeft);
    history->setOrigin(keyField, QStringLiteral("tab_pujckydetail"));
    for (const char *flag : {"PUJCENA", "ZDARMA"})
        history->setFieldKind(QLatin1String(flag), FieldKind::Boolean);
    history->setDisplayFormat(QStringLiteral("ZDARMA"), QStringLiteral("$;-"));
    const QList<std::pair<const char *, const char *>> moments = {
        {"PUJCENO", "dd.MM.yyyy hh:mm"}, {"VRATIT", "dd.MM.yyyy"}, {"VRACENO", "dd.MM.yyyy hh:mm"}};
    for (const auto &[field, format] : moments) {
        history->setFieldKind(QLatin1String(field), FieldKind::DateTime);
        history->setDisplayFormat(QLatin1String(field), QLatin1String(format));
    }
    for (const char *field : {"PUJCENA", "ZDARMA", "PUJCENO", "VRATIT", "VRACENO"})
        history->setOrigin(QLatin1String(field), QStringLiteral("tab_pujckydetail"));
}

void ColourHistoryRows(TRxDBGridEx *grid, BrowseQuery *history)
{
    ColorLentRows(grid, [history](int row) -> std::optional<bool> {
        if (!history->valueAt(row, history->fieldIndex(QStringLiteral("PUJCENA"))).toBool())
            return std::nullopt;
        const QDateTime due = history->valueAt(row, history->fieldIndex(QStringLiteral("VRATIT"))).toDateTime();
        return due.isValid() && due < QDateTime(RunDate(), QTime(0, 0));
    });
}

QToolButton *CreateFunctionButton(QWidget *panel, const FunctionButton &b)
{
    auto *button = Named<QToolButton>(panel, b.name, QString::fromUtf8(b.caption));
    button->setAutoRaise(true);
    if (QAction *action = WindowAction(b.action)) {
        QObject::connect(button, &QToolButton::clicked, action, &QAction::trigger);
        QObject::connect(action, &QAction::changed, button,
                         [button, action] { button->setEnabled(action->isEnabled()); });
        button->setEnabled(action->isEnabled());
    }
    return button;
}

QFrame *CreateFunctionColumn(QWidget *page, const char *name, std::initializer_list<FunctionButton> buttons, int width,
                             QSize buttonSize)
{
    auto *panel = Named<QFrame>(page, name);
    panel->setFixedWidth(width);
    panel->setFrameShape(QFrame::StyledPanel);
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(2, 2, 2, 2);
    for (const FunctionButton &b : buttons) {
        QToolButton *button = CreateFunctionButton(panel, b);
        button->setFixedSize(buttonSize);
        column->addWidget(button);
    }
    column->addStretch(1);
    return panel;
}

ListPair CreateListPair(QWidget *page, const ListPairNames &names, DataSet *list, DataSet *detail,
                        ListPairShare share)
{
    ListPair pair;
    pair.splitter = Named<QSplitter>(page, names.splitter);
    pair.splitter->setOrientation(Qt::Vertical);
    pair.splitter->setChildrenCollapsible(false);
    QWidget *top = titledGrid(pair.splitter, names.listTitle, names.listCaption, names.list, pair.listTitle,
                              pair.list);
    top->setMinimumHeight(86);
    QWidget *bottom = titledGrid(pair.splitter, names.detailTitle, names.detailCaption, names.detail,
                                 pair.detailTitle, pair.detail);
    if (share.detailMinimum)
        bottom->setMinimumHeight(86);
    pair.splitter->addWidget(top);
    pair.splitter->addWidget(bottom);
    pair.splitter->setStretchFactor(0, share.list);
    pair.splitter->setStretchFactor(1, share.detail);
    pair.list->setModel(list);
    pair.detail->setModel(detail);
    return pair;
}

StatusBar CreateStatusBar(QWidget *page, const char *name, std::initializer_list<int> widths, bool lastSunken)
{
    StatusBar status;
    status.bar = Named<QFrame>(page, name);
    auto *row = new QHBoxLayout(status.bar);
    row->setContentsMargins(0, 2, 0, 0);
    row->setSpacing(2);
    const int count = int(widths.size()) + 1;
    for (int i = 0; i < count; ++i) {
        auto *panel = new QLabel(status.bar);
        panel->setObjectName(QString::fromLatin1(name) + QStringLiteral("Panel%1").arg(i));
        panel->setMinimumHeight(19);
        if (i < count - 1)
            panel->setFixedWidth(std::data(widths)[i]);
        if (i < count - 1 || lastSunken) {
            panel->setFrameShape(QFrame::Panel);
            panel->setFrameShadow(QFrame::Sunken);
        }
        row->addWidget(panel, i == count - 1 ? 1 : 0);
        status.panels << panel;
    }
    return status;
}

namespace {

// The panel and its row with `numberCaption` and the number box, where the caller adds
// the rest.
FindPanel findPanel(QWidget *page, const char *panelName, const QString &numberCaption, const char *numberName,
                    QHBoxLayout *&row)
{
    FindPanel find;
    find.panel = Named<QFrame>(page, panelName);
    find.panel->setFrameShape(QFrame::StyledPanel);
    row = new QHBoxLayout(find.panel);
    row->setContentsMargins(6, 4, 6, 4);
    find.number = Named<TInt64Edit>(find.panel, numberName);
    find.number->SetMax(TInt64Edit::HighestNumber);
    find.number->SetValue(1);
    find.number->setFixedWidth(120);
    auto *caption = new QLabel(numberCaption, find.panel);
    caption->setBuddy(find.number);
    row->addWidget(caption);
    row->addWidget(find.number);
    return find;
}

} // namespace

FindPanel CreateFindPanel(QWidget *page, const char *panelName, const char *numberName, const QString &textCaption,
                          const char *textName)
{
    QHBoxLayout *row = nullptr;
    FindPanel find = findPanel(page, panelName, QStringLiteral("Kód:"), numberName, row);
    find.text = Named<TFindComboBox>(find.panel, textName);
    find.text->SetMaxTyped(32);
    auto *caption = new QLabel(textCaption, find.panel);
    caption->setBuddy(find.text);
    row->addSpacing(12);
    row->addWidget(caption);
    row->addWidget(find.text);
    row->addStretch(1);
    new EventHook(find.panel, [panel = find.panel, box = find.text](QEvent *event) {
        if (event->type() == QEvent::Resize)
            box->setFixedWidth(qMax(80, panel->width() - 376));
    });
    return find;
}

FindPanel CreateNumberFindPanel(QWidget *page, const char *panelName, const QString &numberCaption,
                                const char *numberName)
{
    QHBoxLayout *row = nullptr;
    FindPanel find = findPanel(page, panelName, numberCaption, numberName, row);
    row->addStretch(1);
    return find;
}

void AssemblePage(QWidget *page, QWidget *functionColumn, QWidget *findPanel, QWidget *lists, QWidget *statusBar,
                  TFilterPanel *filter)
{
    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(functionColumn);
    auto *centre = new QVBoxLayout;
    centre->setSpacing(0);
    centre->addWidget(findPanel);
    centre->addWidget(lists, 1);
    centre->addWidget(statusBar);
    layout->addLayout(centre, 1);
    if (filter) {
        layout->addWidget(filter->Strip());
        layout->addWidget(filter->Panel());
    }
}

void OnEvent(QObject *watched, std::function<void(QEvent *event)> onEvent)
{
    new EventHook(watched, std::move(onEvent));
}

void RefillPickList(QComboBox *box, void (*fill)(QComboBox *box), Qt::MatchFlags match)
{
    const QString chosen = box->currentIndex() >= 0 ? box->currentText() : QString();
    const QSignalBlocker quiet(box);
    fill(box);
    box->setCurrentIndex(chosen.isEmpty() ? -1 : box->findText(chosen, match));
}

void DeleteKeyWhileFocused(TRxDBGridEx *grid, ValmedoAction deleteAction)
{
    new EventHook(grid, [deleteAction](QEvent *event) {
        QAction *action = WindowAction(deleteAction);
        if (!action)
            return;
        if (event->type() == QEvent::FocusIn)
            action->setShortcut(QKeySequence(Qt::Key_Delete));
        else if (event->type() == QEvent::FocusOut)
            action->setShortcut(QKeySequence());
    });
}

void RunFilterWindow(BrowseQuery *query)
{
    std::unique_ptr<QDialog> window(FormValmedo->parts().filterWindow(query));
    if (window)
        ExecModal(window.get());
}

void RunImportExportWindow()
{
    std::unique_ptr<QDialog> window(FormValmedo->parts().importExportWindow());
    if (window)
        ExecModal(window.get());
}

void RunPagePrint(ValmedoAction printAction, const DataSet &list, const QString &emptyText)
{
    if (!DataSetHasRecords(list))
        ShowInformation(emptyText, CheckFilterText, true, MainWindowFocus());
    else
        FormValmedo->parts().prints.at(printAction)();
    SelectAllInMainWindow();
}

IdentityGroup CreateIdentityGroup(QDialog *dialog, const QString &title)
{
    IdentityGroup identity;
    auto *layout = new QVBoxLayout(dialog);
    auto *top = new QHBoxLayout;
    identity.image = Named<QLabel>(dialog, "Image");
    identity.image->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    identity.image->setFixedWidth(48);
    identity.group = Named<QGroupBox>(dialog, "GroupBoxIdentity");
    identity.group->setTitle(title);
    identity.grid = new QGridLayout(identity.group);
    top->addWidget(identity.image);
    top->addWidget(identity.group, 1);
    layout->addLayout(top);
    return identity;
}

bool FindBoxMissed(TInt64Edit *numberBox, qint64 current, QComboBox *textBox, const QString &currentText,
                   const FindBoxTexts &texts)
{
    QWidget *active = MainWindowFocus();
    if (active == numberBox && numberBox->Value() != current) {
        ShowInformation(texts.numberMissed, QStringLiteral("Hledaný kód: [%1]").arg(numberBox->Value()), true, active);
        return true;
    }
    // An empty text is found in no box: a row without a name or title is never edited from it.
    if (active && (active == textBox || textBox->isAncestorOf(active))
        && (currentText.isEmpty() || !textBox->currentText().contains(currentText))) {
        ShowInformation(texts.textMissed, texts.textDetail.arg(textBox->currentText()), true, active);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------
// TListPage

TListPage::TListPage(const QString &caption, const QString &objectName, const QString &numberFieldName,
                     const QString &filterLabelName, QWidget *parent)
    : TValmedoPage(caption, objectName, numberFieldName, parent)
{
    setFilterLabel(filterLabelName);
}

void TListPage::FollowList(BrowseQuery *list, BrowseQuery *detail, const QString &keyParameter)
{
    m_list = list;
    m_detail = detail;
    m_keyParameter = keyParameter;
    setListQuery(list);
    connect(list, &DataSet::currentRowChanged, this, [this] { RunReported([this] { ListRowChanged(); }); });
}

void TListPage::SetDetailKey()
{
    m_detail->setParameter(m_keyParameter, m_list->currentRow() >= 0 ? QVariant(m_list->value(0).toLongLong())
                                                                     : QVariant(QMetaType::fromType<qint64>()));
}

void TListPage::ListRowChanged()
{
    SetDetailKey();
    if (m_detail->isOpen())
        m_detail->requery();
    HandOn();
}

TFilterPanel *TListPage::CreateFilter(const char *stripName, const char *panelName, QWidget *numberBox,
                                      std::initializer_list<QWidget *> closers)
{
    auto *filter = new TFilterPanel(this, QLatin1String(stripName), QLatin1String(panelName), filterLabel(), numberBox);
    for (QWidget *part : closers)
        TFilterPanel::CloseOnMouseMove(part);
    return filter;
}

void TListPage::RegisterOpenSteps(int order, GridColumns list, GridColumns detail)
{
    m_listColumns = list;
    m_detailColumns = detail;
    RegisterOpenStep(order, [this] {
        OpenLists();
        LayOutGrids();
        return true;
    });
}

void TListPage::OpenLists()
{
    SetDetailKey();
    m_detail->requery();
    FilterList();
    // An empty list has no row to change to: its boxes show 0 and no text all the same.
    if (m_list->isEmpty())
        HandOn();
}

void TListPage::LayOutGrids()
{
    if (m_gridsLaidOut || !m_list->isOpen() || !m_detail->isOpen())
        return;
    m_gridsLaidOut = true;
    for (const GridColumns &g : {m_listColumns, m_detailColumns}) {
        LayOutGrid(g.grid, g.columns);
        if (g.stretchField)
            FitColumns(g.grid, QLatin1String(g.stretchField));
        UseDeskPopupMenu({g.grid});
    }
}

void TListPage::requeryList()
{
    {
        OneRowChange once(*m_list);
        TValmedoPage::requeryList();
    }
    // The count follows the rows the list shows now (after the refresh button too).
    if (m_list->isOpen())
        CountList();
}

void TListPage::RequeryAfterChange(const QVariant &key, DeskSubjects others)
{
    {
        OneRowChange once(*m_list);
        RequeryLocate(*m_list, key);
    }
    if (TDesk *desk = MainDesk())
        desk->announce(others);
    CountList();
}
