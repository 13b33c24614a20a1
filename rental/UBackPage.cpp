#include "rental/UBackPage.h"

#include "catalogue/FindProposals.h"
#include "catalogue/ListPage.h"
#include "catalogue/VideoStore.h"
#include "core/Desk.h"
#include "core/DeskLists.h"
#include "core/Grids.h"
#include "core/LentLines.h"
#include "core/Messages.h"
#include "core/Modal.h"
#include "core/NamedWidget.h"
#include "core/RunGlobals.h"
#include "core/RunReported.h"
#include "core/UValmedo.h"
#include "core/Utils.h"
#include "core/controls/FindBoxes.h"
#include "core/controls/GridDrag.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/Database.h"
#include "core/database/Lookups.h"
#include "rental/BackBasket.h"
#include "rental/BackStore.h"
#include "rental/Basket.h"
#include "rental/DeskHooks.h"
#include "rental/UBack.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QToolButton>
#include <optional>

namespace {

const QString Video = QStringLiteral("VIDEO");
const QString Title = QStringLiteral("TITUL");
const QString Customer = QStringLiteral("ZAKAZNIK");

const QString NotLentText = QStringLiteral("Toto video není půjčené...");

// The lent-videos list and the basket: their columns in order, with their widths.
const QList<std::pair<QString, int>> LentColumns = {
    {QStringLiteral("VIDEO"), 100}, {QStringLiteral("TITUL"), 380}, {QStringLiteral("NOSIC"), 90},
    {QStringLiteral("PUJCENO"), 120}, {QStringLiteral("VRATIT"), 90}, {QStringLiteral("DNY"), 44},
    {QStringLiteral("ZALOHA"), 100},
};
const QList<std::pair<QString, int>> BasketColumns = {
    {QStringLiteral("VIDEO"), 100}, {QStringLiteral("TITUL"), 230},       {QStringLiteral("NOSIC"), 70},
    {QStringLiteral("PUJCENO"), 112}, {QStringLiteral("VRATIT"), 76},     {QStringLiteral("DNY"), 38},
    {QStringLiteral("PRES"), 40},   {QStringLiteral("VRATNE"), 100},      {QStringLiteral("VRATNE_CELKEM"), 80},
    {QStringLiteral("ZALOHA"), 86},
};

bool focusIn(const QWidget *focused, const QWidget *box)
{
    return focused && (focused == box || box->isAncestorOf(focused));
}

// The open line Enter on a video means: the only one; among several (copies of one title
// out) the current customer's, so that his return goes on; none when all are others'.
std::optional<LentVideo> ChosenLine(const QList<LentVideo> &lines, qint64 current)
{
    if (lines.size() == 1)
        return lines.first();
    for (const LentVideo &line : lines)
        if (line.customer == current)
            return line;
    return std::nullopt;
}

} // namespace

TBackPage::TBackPage(QWidget *parent)
    : TValmedoPage(QStringLiteral("Vracení"), QStringLiteral("TabSheetBack"), QStringLiteral("Int64EditBackCustomer"), parent)
{
    createQueries();
    followDesk(DeskSubject::LentVideos);
    QWidget *functionColumn = createFunctionColumn();
    QWidget *findPanels = createFindPanels();
    QWidget *lists = createLists();
    AssemblePage(this, functionColumn, findPanels, lists, createStatusBar());

    connectActions({
        {ValmedoAction::BackSelect, [this] { ActionBackSelectExecute(); }},
        {ValmedoAction::BackDelete, [this] { ActionBackDeleteExecute(); }},
        {ValmedoAction::BackBack, [this] { ActionBackBackExecute(); }},
    });
    followCustomers();
    registerOpenSteps();
    DataSourceBackDataChange();
}

TBackPage::~TBackPage() = default;

void TBackPage::createQueries()
{
    ADOQueryBackVideo = new BrowseQuery(this);
    ADOQueryBackVideo->setObjectName(QStringLiteral("ADOQueryBackVideo"));
    PrepareBackVideoQuery(*ADOQueryBackVideo);
    ADOQueryBackVideo->setParameter(Customer, QVariant(QMetaType::fromType<qint64>()));
    ADOQueryBackVideo->setAlignment(Video, Qt::AlignLeft);
    setListQuery(ADOQueryBackVideo);
    connect(ADOQueryBackVideo, &DataSet::currentRowChanged, this,
            [this] { RunReported([this] { DataSourceBackVideoDataChange(); }); });

    TableBack = new TTableBack(this);
    TableBack->setAlignment(Video, Qt::AlignLeft);
    const auto changed = [this] { DataSourceBackDataChange(); };
    connect(TableBack, &DataSet::currentRowChanged, this, changed);
    connect(TableBack, &QAbstractItemModel::rowsInserted, this, changed);
    connect(TableBack, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(TableBack, &QAbstractItemModel::modelReset, this, changed);
}

QWidget *TBackPage::createFunctionColumn()
{
    PanelBackFunction = Named<QFrame>(this, "PanelBackFunction");
    PanelBackFunction->setFixedWidth(68);
    PanelBackFunction->setFrameShape(QFrame::StyledPanel);
    // Placed by hand: the basket's two buttons move with the splitter (SplitterBackMoved).
    const std::pair<QToolButton **, FunctionButton> buttons[] = {
        {&SpeedButtonBackEdit, {"SpeedButtonBackEdit", "Editace\nzákazníka", ValmedoAction::CustomerEdit}},
        {&SpeedButtonBackSelect, {"SpeedButtonBackSelect", "Vybrat\n[Enter]", ValmedoAction::BackSelect}},
        {&SpeedButtonBackDelete, {"SpeedButtonBackDelete", "Odebrat\n[Del]", ValmedoAction::BackDelete}},
        {&SpeedButtonBackBack, {"SpeedButtonBackBack", "Vrátit\n[+]", ValmedoAction::BackBack}},
    };
    int top = 2;
    for (const auto &[member, button] : buttons) {
        *member = CreateFunctionButton(PanelBackFunction, button);
        (*member)->setGeometry(3, top, 62, 48);
        top += 50;
    }
    return PanelBackFunction;
}

QWidget *TBackPage::createFindPanels()
{
    auto *panels = new QWidget(this);
    auto *row = new QHBoxLayout(panels);
    row->setContentsMargins(2, 2, 2, 2);
    row->addWidget(createCustomerPanel(), 3);
    row->addWidget(createVideoPanel(), 2);
    return panels;
}

QWidget *TBackPage::createCustomerPanel()
{
    m_customerPanel = CreateCustomerFindPanel(
        this, QStringLiteral("Back"), [this] { Int64EditBackCustomerChange(); }, [this] { ComboBoxBackNameChange(); });
    PanelBackCustomerFind = m_customerPanel.group;
    Int64EditBackCustomer = m_customerPanel.number;
    ComboBoxBackName = m_customerPanel.name;
    DBTextBackCustomerBirth = m_customerPanel.birth;
    DBTextBackCustomerAddress = m_customerPanel.address;
    DBTextBackCustomerText = m_customerPanel.text;
    return PanelBackCustomerFind;
}

QWidget *TBackPage::createVideoPanel()
{
    const VideoFindPanel video = CreateVideoFindPanel(this, QStringLiteral("Back"));
    PanelBackVideoFind = video.group;
    Int64EditBackVideo = video.number;
    ComboBoxBackTitle = video.title;

    // The scanned number searches the customer's lent videos; the title box completes
    // from the whole catalogue, since Enter looks for any holder of the title.
    MakeNumberFindBox(Int64EditBackVideo, [this] { Int64EditBackVideoChange(); }, {});
    ProposeVideoTitles(ComboBoxBackTitle);
    ComboBoxBackTitle->OnChange = [this] { ComboBoxBackTitleChange(); };
    connect(ComboBoxBackTitle, &TFindComboBox::Entered, this, [] { KeyboardCzech(); });
    return PanelBackVideoFind;
}

QWidget *TBackPage::createLists()
{
    const ListPair pair = CreateListPair(this,
                                         {"SplitterBack", "PanelGridBackLends", QStringLiteral(" Video k vrácení"),
                                          "RxDBGridBackVideo", "PanelGridBack",
                                          QStringLiteral(" Video které bude vrácené"), "RxDBGridBack"},
                                         ADOQueryBackVideo, TableBack, {1, 1, true});
    SplitterBack = pair.splitter;
    PanelGridBackLends = pair.listTitle;
    RxDBGridBackVideo = pair.list;
    PanelGridBack = pair.detailTitle;
    RxDBGridBack = pair.detail;
    for (TRxDBGridEx *grid : {RxDBGridBackVideo, RxDBGridBack}) {
        grid->installEventFilter(this);
        DeleteKeyWhileFocused(grid, ValmedoAction::BackDelete);
    }
    connect(SplitterBack, &QSplitter::splitterMoved, this, [this] { SplitterBackMoved(); });

    // Every row is a line out: lent, or overdue when due before the run date.
    ColorLentRows(RxDBGridBackVideo, [this](int row) -> std::optional<bool> {
        const QDateTime due = ADOQueryBackVideo->valueAt(row, ADOQueryBackVideo->fieldIndex(QStringLiteral("VRATIT"))).toDateTime();
        return due.isValid() && due.date() < RunDate();
    });
    ShowBasketColumns(RxDBGridBack, BasketColumns);
    // The late fee is worked out from the other columns: the basket is not sorted by it.
    RxDBGridBack->SetColumnTitleColor(TableBack->fieldIndex(QStringLiteral("VRATNE_CELKEM")), QColor(128, 128, 128));
    BindBasketGridSort(RxDBGridBack); // in place of the list's sort

    DragGridRows(RxDBGridBackVideo);
    DragGridRows(RxDBGridBack);
    DropGridRows(RxDBGridBack, [this](TRxDBGridEx *source) { RxDBGridBackDragDrop(source); });
    DropGridRows(RxDBGridBackVideo, [this](TRxDBGridEx *source) { RxDBGridBackVideoDragDrop(source); });
    connect(RxDBGridBack, &TRxDBGridEx::DblClick, this, [this] { RunReported([this] { RxDBGridBackDblClick(); }); });
    return SplitterBack;
}

QWidget *TBackPage::createStatusBar()
{
    const StatusBar status = CreateStatusBar(this, "StatusBarBack", {200, 300, 300}, true);
    StatusBarBack = status.bar;
    m_statusPanels = status.panels;
    return StatusBarBack;
}

void TBackPage::followCustomers()
{
    if (TCustomerList *customers = MainCustomers())
        customers->followCurrent(this, [this](qint64 customer, const QString &name) {
            RunReported([&] { CurrentCustomerChanged(customer, name); });
        });
}

void TBackPage::registerOpenSteps()
{
    RegisterOpenStep(60, [this] {
        FollowCustomer();
        TableBack->emptyTable();
        SetStatusBarBack();
        layoutGrids();
        return true;
    });
}

void TBackPage::layoutGrids()
{
    if (m_gridsLaidOut || !ADOQueryBackVideo->isOpen())
        return;
    m_gridsLaidOut = true;
    ShowBasketColumns(RxDBGridBackVideo, LentColumns);
    UseDeskPopupMenu({RxDBGridBackVideo, RxDBGridBack});
}

bool TBackPage::eventFilter(QObject *watched, QEvent *event)
{
    const bool grid = watched == RxDBGridBack || watched == RxDBGridBackVideo;
    if (grid && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        SplitterBackMoved();
    return TValmedoPage::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------
// The current customer

BrowseQuery *TBackPage::CustomerList() const
{
    const TCustomerList *customers = MainCustomers();
    return customers ? customers->list() : nullptr;
}

qint64 TBackPage::CurrentCustomer() const
{
    const BrowseQuery *list = CustomerList();
    return list && list->currentRow() >= 0 ? list->value(0).toLongLong() : 0;
}

QString TBackPage::CurrentName() const
{
    const BrowseQuery *list = CustomerList();
    return list && list->currentRow() >= 0 ? list->value(QStringLiteral("JMENO")).toString() : QString();
}

void TBackPage::CurrentCustomerChanged(qint64 customer, const QString &name)
{
    if (!ClerkTypesIn(Int64EditBackCustomer))
        Int64EditBackCustomer->SetValue(customer);
    if (!ClerkTypesIn(ComboBoxBackName))
        ComboBoxBackName->setEditText(name);
    ShowCustomerTexts(true);
    FollowCustomer();
    // The basket holds the videos of the customer who was current.
    if (!TableBack->isEmpty()) {
        TableBack->emptyTable();
        SetStatusBarBack();
    }
}

void TBackPage::FollowCustomer()
{
    const BrowseQuery *list = CustomerList();
    ADOQueryBackVideo->setParameter(Customer, list && list->currentRow() >= 0
                                                  ? QVariant(CurrentCustomer())
                                                  : QVariant(QMetaType::fromType<qint64>()));
    ADOQueryBackVideo->requery();
}

void TBackPage::ShowCustomerTexts(bool shown)
{
    ::ShowCustomerTexts(m_customerPanel, CustomerList(), shown);
}

void TBackPage::Int64EditBackCustomerChange()
{
    TCustomerList *customers = MainCustomers();
    if (customers && customers->FindCustomerByNumber(Int64EditBackCustomer->text()))
        return;
    ComboBoxBackName->ClearBox();
    ShowCustomerTexts(false);
}

void TBackPage::ComboBoxBackNameChange()
{
    TCustomerList *customers = MainCustomers();
    if (customers && customers->FindCustomerOfBox(ComboBoxBackName))
        return;
    Int64EditBackCustomer->setText(QString());
    ShowCustomerTexts(false);
}

// ---------------------------------------------------------------------------------------
// The lent videos and the basket

void TBackPage::DataSourceBackVideoDataChange()
{
    const bool row = ADOQueryBackVideo->currentRow() >= 0;
    if (!ClerkTypesIn(Int64EditBackVideo))
        Int64EditBackVideo->SetValue(row ? ADOQueryBackVideo->value(Video).toLongLong() : 0);
    if (!ClerkTypesIn(ComboBoxBackTitle))
        ComboBoxBackTitle->setEditText(row ? ADOQueryBackVideo->value(Title).toString() : QString());
}

void TBackPage::Int64EditBackVideoChange()
{
    if (LocateExact(*ADOQueryBackVideo, Video, Int64EditBackVideo->text()))
        DataSourceBackVideoDataChange();
    else
        ComboBoxBackTitle->ClearBox();
}

void TBackPage::ComboBoxBackTitleChange()
{
    if (LocatePartial(*ADOQueryBackVideo, Title, ComboBoxBackTitle->currentText()))
        DataSourceBackVideoDataChange();
    else
        Int64EditBackVideo->setText(QString());
}

void TBackPage::DataSourceBackDataChange()
{
    const bool lines = !TableBack->isEmpty();
    for (ValmedoAction basketAction : {ValmedoAction::BackDelete, ValmedoAction::BackBack})
        if (QAction *action = WindowAction(basketAction))
            action->setEnabled(lines);
}

void TBackPage::SetStatusBarBack()
{
    ShowBasketTotals(TableBack->totals(), TableBack->recordCount(), QStringLiteral(" Vratné: %m"), m_statusPanels);
}

QStringList TBackPage::StatusTexts() const
{
    return BasketStatusTexts(m_statusPanels);
}

void TBackPage::SplitterBackMoved()
{
    // The basket's two buttons stand beside the basket.
    const int top = PanelGridBack->mapTo(this, QPoint(0, 0)).y() - PanelBackFunction->y();
    SpeedButtonBackDelete->move(SpeedButtonBackDelete->x(), qMax(top, 102));
    SpeedButtonBackBack->move(SpeedButtonBackBack->x(), qMax(top, 102) + 72);
}

// ---------------------------------------------------------------------------------------
// The actions

BackPageHooks TBackPage::Hooks()
{
    return {[](qint64 document, bool copy) { PrintReceipt(document, copy); }, [this] { SetStatusBarBack(); }};
}

void TBackPage::BackStart(bool addAtOnce, qint64 video)
{
    TFormBack form(*TableBack, *ADOQueryBackVideo, CurrentCustomer(), FormValmedo);
    connect(&form, &TFormBack::BasketChanged, this, [this] { SetStatusBarBack(); });
    // Moves the list and the basket onto the video, as the clerk's typing there would.
    form.Int64EditVideo->SetValue(video);
    if (!addAtOnce)
        form.ClearActivate();
    if (ExecModal(&form) == QDialog::Accepted)
        ActionBackBackExecute();
}

void TBackPage::ActionBackBackExecute()
{
    ::ActionBackBackExecute(*TableBack, CurrentCustomer(), Hooks());
    Int64EditBackCustomer->setFocus();
    Int64EditBackCustomer->selectAll();
}

void TBackPage::ActionBackDeleteExecute()
{
    DeleteBackItem(*TableBack);
    SetStatusBarBack();
    if (TableBack->isEmpty())
        ActiveControlSelectAll(Int64EditBackCustomer, FormValmedo);
}

void TBackPage::StartForLentLine(const QList<LentVideo> &lines, bool videoExists, const QString &notLentText,
                                 const QString &notFoundText, const QString &detail)
{
    QWidget *focused = MainWindowFocus();
    if (lines.isEmpty()) {
        ShowInformation(videoExists ? notLentText : notFoundText, detail, true, focused);
        return;
    }
    const std::optional<LentVideo> line = ChosenLine(lines, CurrentCustomer());
    if (!line) {
        ShowInformation(QStringLiteral("Video tohoto názvu má půjčené více zákazníků..."), detail, true, focused);
        return;
    }
    // Its holder becomes the current customer: another one empties the basket and has his
    // lent videos read. A holder the customer filter hides is not there to become current,
    // and no other customer's video may be taken in his place.
    if (!CustomerList()->locate(Customer, line->customer)) {
        ShowInformation(QStringLiteral("Zákazník, který má video půjčené, není v seznamu..."), CheckFilterText,
                        true, focused);
        return;
    }
    if (!ADOQueryBackVideo->locate(Video, line->video)) {
        // Lent to him since his list was read.
        RequeryLocate(*ADOQueryBackVideo, QVariant());
        if (!ADOQueryBackVideo->locate(Video, line->video)) {
            ShowInformation(NotLentText, detail, true, focused);
            return;
        }
    }
    BackStart(true, line->video);
}

void TBackPage::ActionBackSelectExecute()
{
    QWidget *focused = MainWindowFocus();
    if (!DataSetHasRecords(*CustomerList())) {
        ShowInformation(QStringLiteral("V evidenci není žádný zákazník..."), CheckFilterText, true, focused);
    } else if (focused == Int64EditBackVideo) {
        const qint64 video = Int64EditBackVideo->Value();
        const QList<LentVideo> lines = LentLinesOfVideo(video);
        StartForLentLine(lines, lines.isEmpty() && VideoExists(video), NotLentText,
                         QStringLiteral("Hledaný kód videa nenalezen..."), QStringLiteral("Hledaný kód: [%1]").arg(video));
    } else if (focusIn(focused, ComboBoxBackTitle)) {
        const QString title = ComboBoxBackTitle->currentText();
        const QList<LentVideo> lines = LentLinesOfTitle(title);
        StartForLentLine(lines, lines.isEmpty() && TitleExists(title), NotLentText,
                         QStringLiteral("Hledaný název videa nenalezen..."),
                         QStringLiteral("Hledaný název: [%1]").arg(title));
    } else if (focused == RxDBGridBack && !TableBack->isEmpty()) {
        // Opened on the basket's line, which is in the basket already.
        BackStart(true, TableBack->currentVideo());
        return;
    } else if (Int64EditBackCustomer->Value() != CurrentCustomer()) {
        ShowInformation(QStringLiteral("Hledaný kód zákazníka nenalezen..."),
                        QStringLiteral("Hledaný kód: [%1]").arg(Int64EditBackCustomer->Value()), true, focused);
    } else if (!ComboBoxBackName->currentText().contains(CurrentName())) {
        ShowInformation(QStringLiteral("Hledané jméno zákazníka nenalezeno..."),
                        QStringLiteral("Hledané jméno: [%1]").arg(ComboBoxBackName->currentText()), true, focused);
    } else if (CustomerHasLent(CurrentCustomer())) {
        if (ADOQueryBackVideo->isEmpty())
            RequeryLocate(*ADOQueryBackVideo, QVariant()); // lent to him since his list was read
        BackStart(true, ADOQueryBackVideo->currentRow() >= 0 ? ADOQueryBackVideo->value(Video).toLongLong() : 0);
    } else {
        ShowInformation(QStringLiteral("Zadaný zákazník nemá nic vypůjčeno..."), QStringLiteral("Není co vracet..."),
                        true, focused);
    }
    SelectAllInMainWindow();
}

// ---------------------------------------------------------------------------------------
// The mouse on the grids

void TBackPage::RxDBGridBackDblClick()
{
    if (!TableBack->isEmpty() && GridMouseInData(RxDBGridBack))
        BackStart(false, TableBack->currentVideo());
}

void TBackPage::RxDBGridBackDragDrop(TRxDBGridEx *source)
{
    if (source == RxDBGridBackVideo && ADOQueryBackVideo->currentRow() >= 0)
        BackStart(true, ADOQueryBackVideo->value(Video).toLongLong());
}

void TBackPage::RxDBGridBackVideoDragDrop(TRxDBGridEx *source)
{
    if (source == RxDBGridBack)
        ActionBackDeleteExecute();
}
