#include "rental/ULendPage.h"

#include "catalogue/FindProposals.h"
#include "catalogue/ListPage.h"
#include "core/Desk.h"
#include "core/DeskLists.h"
#include "core/Grids.h"
#include "core/LentLines.h"
#include "core/Messages.h"
#include "core/Modal.h"
#include "core/RunReported.h"
#include "core/USetupVideo.h"
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
#include "rental/DeskHooks.h"
#include "rental/LendBasket.h"
#include "rental/LendTransaction.h"
#include "rental/UInformationLend.h"
#include "rental/ULend.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScopeGuard>
#include <QSplitter>
#include <QToolButton>

namespace {

const QString Video = QStringLiteral("VIDEO");
const QString Title = QStringLiteral("TITUL");

// The video list as this page shows it (its titles are the video page's).
const ListColumn VideoColumns[] = {
    {"VIDEO", "", 100, 0},     {"TITUL", "", 380, 0},      {"ZAMERENI", "", 140, 0},
    {"NOSIC", "", 76, 0},      {"REGISTRACE", "", 100, 0}, {"VYPUJCENA", "", 30, 0},
};
const QList<std::pair<QString, int>> BasketColumns = {
    {QStringLiteral("VIDEO"), 100}, {QStringLiteral("TITUL"), 290},   {QStringLiteral("NOSIC"), 70},
    {QStringLiteral("VRATIT"), 76}, {QStringLiteral("DNY"), 38},      {QStringLiteral("ZDARMA"), 26},
    {QStringLiteral("PUJCOVNE"), 112}, {QStringLiteral("PUJCOVNE_CELKEM"), 92}, {QStringLiteral("ZALOHA"), 86},
};

bool FocusIn(const QWidget *focused, const QWidget *box)
{
    return focused && (focused == box || box->isAncestorOf(focused));
}

} // namespace

TLendPage::TLendPage(QWidget *parent)
    : TValmedoPage(QStringLiteral("Půjčení"), QStringLiteral("TabSheetLend"), QStringLiteral("Int64EditLendCustomer"), parent)
{
    createBasket();
    // The find panels first: a switch to the page gives the focus to the customer's number.
    QWidget *findPanels = createFindPanels();
    createFunctionColumn();
    QWidget *lists = createLists();
    const StatusBar status = CreateStatusBar(this, "StatusBarLend", {200, 300, 300}, true);
    StatusBarLend = status.bar;
    m_statusPanels = status.panels;
    AssemblePage(this, PanelLendFunction, findPanels, lists, StatusBarLend);

    connectActions({
        {ValmedoAction::LendNew, [this] { ActionLendNewExecute(); }},
        {ValmedoAction::LendSelect, [this] { ActionLendSelectExecute(); }},
        {ValmedoAction::LendDelete, [this] { ActionLendDeleteExecute(); }},
        {ValmedoAction::LendLend, [this] { ActionLendLendExecute(); }},
    });
    followLists();
    registerOpenStep();
    DataSourceLendDataChange();
}

TLendPage::~TLendPage() = default;

void TLendPage::createBasket()
{
    m_tableLend = new TTableLend(this);
    m_tableLend->setAlignment(Video, Qt::AlignLeft);
    const auto changed = [this] { DataSourceLendDataChange(); };
    connect(m_tableLend, &DataSet::currentRowChanged, this, changed);
    connect(m_tableLend, &QAbstractItemModel::rowsInserted, this, changed);
    connect(m_tableLend, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(m_tableLend, &QAbstractItemModel::modelReset, this, changed);
}

void TLendPage::createFunctionColumn()
{
    PanelLendFunction = CreateFunctionColumn(this, "PanelLendFunction",
                                             {{"SpeedButtonLendNew", "Nový\nzákazník [F4]", ValmedoAction::CustomerNew},
                                              {"SpeedButtonLendEdit", "Editace\nzákazníka", ValmedoAction::CustomerEdit},
                                              {"SpeedButtonLendSelect", "Vybrat\n[Enter]", ValmedoAction::LendSelect},
                                              {"SpeedButtonLendDelete", "Odebrat\n[Del]", ValmedoAction::LendDelete},
                                              {"SpeedButtonLendLend", "Půjčit\n[+]", ValmedoAction::LendLend}});
    const auto button = [this](const char *name) {
        return PanelLendFunction->findChild<QToolButton *>(QLatin1String(name));
    };
    SpeedButtonLendNew = button("SpeedButtonLendNew");
    SpeedButtonLendEdit = button("SpeedButtonLendEdit");
    SpeedButtonLendSelect = button("SpeedButtonLendSelect");
    SpeedButtonLendDelete = button("SpeedButtonLendDelete");
    SpeedButtonLendLend = button("SpeedButtonLendLend");
    // The column is as wide as its widest caption.
    const int width = qMax(SpeedButtonLendNew->width(),
                           SpeedButtonLendNew->fontMetrics().horizontalAdvance(QStringLiteral("zákazník [F4]")) + 10);
    for (QToolButton *each : PanelLendFunction->findChildren<QToolButton *>())
        each->setFixedWidth(width);
    PanelLendFunction->setFixedWidth(width + 6);
    // The basket's two buttons stand beside the basket, wherever the splitter puts it.
    for (QToolButton *basketButton : {SpeedButtonLendDelete, SpeedButtonLendLend})
        PanelLendFunction->layout()->removeWidget(basketButton);
}

QWidget *TLendPage::createFindPanels()
{
    auto *panels = new QWidget(this);
    auto *row = new QHBoxLayout(panels);
    row->setContentsMargins(2, 2, 2, 2);

    m_customerPanel = CreateCustomerFindPanel(
        this, QStringLiteral("Lend"), [this] { Int64EditLendCustomerChange(); }, [this] { ComboBoxLendNameChange(); });
    PanelLendCustomerFind = m_customerPanel.group;
    Int64EditLendCustomer = m_customerPanel.number;
    ComboBoxLendName = m_customerPanel.name;
    DBTextLendCustomerBirth = m_customerPanel.birth;
    DBTextLendCustomerAddress = m_customerPanel.address;
    DBTextLendCustomerText = m_customerPanel.text;

    const VideoFindPanel video = CreateVideoFindPanel(this, QStringLiteral("Lend"));
    PanelLendVideoFind = video.group;
    Int64EditLendVideo = video.number;
    ComboBoxLendTitle = video.title;
    const auto findVideo = [this](QObject *sender) {
        RunReported([this, sender] {
            if (TVideoList *videos = MainVideos())
                videos->ActionVideoFindExecute(sender);
        });
    };
    MakeNumberFindBox(Int64EditLendVideo, [this] { Int64EditLendVideoChange(); },
                      [this, findVideo] { findVideo(Int64EditLendVideo); });
    ProposeVideoTitles(ComboBoxLendTitle);
    ComboBoxLendTitle->OnChange = [this] { ComboBoxLendTitleChange(); };
    connect(ComboBoxLendTitle, &TFindComboBox::DblClick, this, [this, findVideo] { findVideo(ComboBoxLendTitle); });

    row->addWidget(PanelLendCustomerFind, 3);
    row->addWidget(PanelLendVideoFind, 2);
    return panels;
}

QWidget *TLendPage::createLists()
{
    const ListPair pair = CreateListPair(this,
                                         {"SplitterLend", "PanelGridLendVideo", QStringLiteral(" Video k půjčení"),
                                          "RxDBGridLendVideo", "PanelGridLend", QStringLiteral(" Právě půjčované video"),
                                          "RxDBGridLend"},
                                         VideoList(), m_tableLend, {1, 1});
    SplitterLend = pair.splitter;
    PanelGridLendVideo = pair.listTitle;
    RxDBGridLendVideo = pair.list;
    PanelGridLend = pair.detailTitle;
    RxDBGridLend = pair.detail;
    connect(SplitterLend, &QSplitter::splitterMoved, this, [this] { SplitterLendMoved(); });

    if (TVideoList *videos = MainVideos())
        videos->UseVideoColours(RxDBGridLendVideo);
    ShowBasketColumns(RxDBGridLend, BasketColumns);
    // The charge is worked out from the other columns: the basket is not sorted by it.
    RxDBGridLend->SetColumnTitleColor(m_tableLend->fieldIndex(QStringLiteral("PUJCOVNE_CELKEM")),
                                      QColor(128, 128, 128));
    BindBasketGridSort(RxDBGridLend);

    for (TRxDBGridEx *grid : {RxDBGridLendVideo, RxDBGridLend}) {
        DeleteKeyWhileFocused(grid, ValmedoAction::LendDelete);
        DragGridRows(grid);
        OnEvent(grid, [this](QEvent *event) {
            if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
                SplitterLendMoved();
        });
    }
    DropGridRows(RxDBGridLend, [this](TRxDBGridEx *source) { RxDBGridLendDragDrop(source); });
    DropGridRows(RxDBGridLendVideo, [this](TRxDBGridEx *source) { RxDBGridLendVideoDragDrop(source); });
    connect(RxDBGridLend, &TRxDBGridEx::DblClick, this, [this] { RunReported([this] { RxDBGridLendDblClick(); }); });
    return SplitterLend;
}

void TLendPage::followLists()
{
    if (TCustomerList *customers = MainCustomers())
        customers->followCurrent(this, [this](qint64 customer, const QString &name) {
            RunReported([&] { CurrentCustomerChanged(customer, name); });
        });
    if (TVideoList *videos = MainVideos())
        videos->followCurrent(this, [this](qint64 video, const QString &title) {
            RunReported([&] { CurrentVideoChanged(video, title); });
        });
}

void TLendPage::registerOpenStep()
{
    RegisterOpenStep(50, [this] {
        m_tableLend->emptyTable();
        SetStatusBarLend();
        layOutVideoList();
        return true;
    });
}

void TLendPage::layOutVideoList()
{
    const BrowseQuery *videos = VideoList();
    if (m_videoListLaidOut || !videos || !videos->isOpen())
        return;
    m_videoListLaidOut = true;
    LayOutGrid(RxDBGridLendVideo, VideoColumns);
    UseDeskPopupMenu({RxDBGridLendVideo, RxDBGridLend});
}

// ---------------------------------------------------------------------------------------
// The customer and the video of the desk's lists

BrowseQuery *TLendPage::CustomerList() const
{
    const TCustomerList *customers = MainCustomers();
    return customers ? customers->list() : nullptr;
}

BrowseQuery *TLendPage::VideoList() const
{
    const TVideoList *videos = MainVideos();
    return videos ? videos->list() : nullptr;
}

DataSet &TLendPage::ADOQueryVideo()
{
    return *VideoList();
}

LendCustomer TLendPage::CurrentCustomer()
{
    LendCustomer customer;
    const BrowseQuery *list = CustomerList();
    if (!list || list->currentRow() < 0)
        return customer;
    customer.number = list->value(0).toLongLong();
    customer.name = list->value(QStringLiteral("JMENO")).toString();
    const QString restriction = list->value(QStringLiteral("OMEZENI")).toString();
    customer.restriction = restriction.isEmpty() ? QChar() : restriction.front();
    customer.lends = list->value(QStringLiteral("PUJCKY")).toInt();
    return customer;
}

qint64 TLendPage::CurrentVideo() const
{
    const BrowseQuery *list = VideoList();
    return list && list->currentRow() >= 0 ? list->value(0).toLongLong() : 0;
}

void TLendPage::CurrentCustomerChanged(qint64 customer, const QString &name)
{
    if (!ClerkTypesIn(Int64EditLendCustomer))
        Int64EditLendCustomer->SetValue(customer);
    if (!ClerkTypesIn(ComboBoxLendName))
        ComboBoxLendName->setEditText(name);
    ShowCustomerTexts(m_customerPanel, CustomerList(), true);
    // The basket holds the videos of the customer who was current.
    if (!m_tableLend->isEmpty()) {
        m_tableLend->emptyTable();
        SetStatusBarLend();
    }
}

void TLendPage::CurrentVideoChanged(qint64 video, const QString &title)
{
    if (!ClerkTypesIn(Int64EditLendVideo))
        Int64EditLendVideo->SetValue(video);
    if (!ClerkTypesIn(ComboBoxLendTitle))
        ComboBoxLendTitle->setEditText(title);
}

void TLendPage::Int64EditLendCustomerChange()
{
    TCustomerList *customers = MainCustomers();
    if (customers && customers->FindCustomerByNumber(Int64EditLendCustomer->text()))
        return;
    ComboBoxLendName->ClearBox();
    ShowCustomerTexts(m_customerPanel, CustomerList(), false);
}

void TLendPage::ComboBoxLendNameChange()
{
    TCustomerList *customers = MainCustomers();
    if (customers && customers->FindCustomerOfBox(ComboBoxLendName))
        return;
    Int64EditLendCustomer->setText(QString());
    ShowCustomerTexts(m_customerPanel, CustomerList(), false);
}

void TLendPage::Int64EditLendVideoChange()
{
    TVideoList *videos = MainVideos();
    if (!videos || !videos->FindVideoByNumber(Int64EditLendVideo->text()))
        ComboBoxLendTitle->ClearBox();
}

void TLendPage::ComboBoxLendTitleChange()
{
    TVideoList *videos = MainVideos();
    if (!videos || !videos->FindVideoByTitle(ComboBoxLendTitle->currentText()))
        Int64EditLendVideo->setText(QString());
}

// ---------------------------------------------------------------------------------------
// The basket

void TLendPage::DataSourceLendDataChange()
{
    const bool lines = !m_tableLend->isEmpty();
    for (ValmedoAction basketAction : {ValmedoAction::LendDelete, ValmedoAction::LendLend})
        if (QAction *action = WindowAction(basketAction))
            action->setEnabled(lines);
}

void TLendPage::SetStatusBarLend()
{
    ShowBasketTotals(m_tableLend->totals(), m_tableLend->recordCount(), QStringLiteral(" Platba: %m"), m_statusPanels);
}

QStringList TLendPage::StatusTexts() const
{
    return BasketStatusTexts(m_statusPanels);
}

void TLendPage::SplitterLendMoved()
{
    // The basket's two buttons stand beside the basket, below the buttons above them.
    const int header = PanelGridLend->mapTo(this, QPoint(0, 0)).y() - PanelLendFunction->y();
    const int top = qMax(header, SpeedButtonLendSelect->geometry().bottom() + 4);
    SpeedButtonLendDelete->move(SpeedButtonLendSelect->x(), top);
    SpeedButtonLendLend->move(SpeedButtonLendSelect->x(), top + 72);
}

void TLendPage::FocusLendCustomer()
{
    Int64EditLendCustomer->setFocus();
    Int64EditLendCustomer->selectAll();
}

// ---------------------------------------------------------------------------------------
// The actions

void TLendPage::LendStart(bool addAtOnce, qint64 video)
{
    ::LendStart(*this, addAtOnce, video);
}

void TLendPage::ActionLendNewExecute()
{
    if (TCustomerList *customers = MainCustomers())
        customers->ActionCustomerNewExecute();
}

void TLendPage::ActionLendLendExecute()
{
    ::ActionLendLendExecute(*this);
}

void TLendPage::ActionLendDeleteExecute()
{
    DeleteLendItem(*this);
    if (m_tableLend->isEmpty())
        ActiveControlSelectAll(Int64EditLendCustomer, FormValmedo);
}

void TLendPage::ActionLendSelectExecute(QObject *sender)
{
    // A video dropped on the titles or the indicator column of the basket.
    if (auto *grid = qobject_cast<TRxDBGridEx *>(sender); grid && !GridMouseInData(grid))
        return;
    QWidget *focused = MainWindowFocus();
    bool selectText = true;
    const auto finish = qScopeGuard([&selectText] {
        if (selectText)
            SelectAllInMainWindow();
    });
    const auto inform = [focused](const QString &text, const QString &detail) {
        ShowInformation(text, detail, true, focused);
    };

    // The customer, whatever has the focus.
    if (!DataSetHasRecords(*CustomerList())) {
        inform(QStringLiteral("V evidenci není žádný zákazník..."), CheckFilterText);
        return;
    }
    const LendCustomer customer = CurrentCustomer();
    if (Int64EditLendCustomer->Value() != customer.number) {
        inform(QStringLiteral("Hledaný kód zákazníka nenalezen..."),
               QStringLiteral("Hledaný kód: [%1]").arg(Int64EditLendCustomer->Value()));
        return;
    }
    if (!ComboBoxLendName->currentText().contains(customer.name)) {
        inform(QStringLiteral("Hledané jméno zákazníka nenalezeno..."),
               QStringLiteral("Hledané jméno: [%1]").arg(ComboBoxLendName->currentText()));
        return;
    }
    if (customer.restriction == QLatin1Char('!')) {
        inform(QStringLiteral("Tento zákazník má zákaz půjčování..."), CustomerCaption(customer.number, customer.name));
        return;
    }
    // The clerk has just picked the customer: what he has out, then the dialog on the
    // current video, not yet added.
    if (FocusIn(focused, Int64EditLendCustomer) || FocusIn(focused, ComboBoxLendName)) {
        if (FormSetupVideo->CheckBoxLendInformation->isChecked() && CustomerHasLent(customer.number)) {
            PlayWave(QStringLiteral("Information.wav"));
            TFormInformationLend information(customer.number, customer.name);
            ExecModal(&information);
        }
        LendStart(false, CurrentVideo());
        return;
    }

    // The video.
    if (!DataSetHasRecords(*VideoList())) {
        inform(QStringLiteral("V evidenci není žádné video..."), CheckFilterText);
        return;
    }
    if (focused == RxDBGridLend && !m_tableLend->isEmpty()) {
        // Opened on the basket's line, which is in the basket already.
        selectText = false;
        LendStart(true, m_tableLend->currentVideo());
        return;
    }
    if (focused == Int64EditLendVideo && Int64EditLendVideo->Value() != CurrentVideo()) {
        inform(QStringLiteral("Hledaný kód videa nenalezen..."),
               QStringLiteral("Hledaný kód: [%1]").arg(Int64EditLendVideo->Value()));
        return;
    }
    if (FocusIn(focused, ComboBoxLendTitle)
        && ComboBoxLendTitle->currentText() != VideoList()->value(Title).toString()) {
        inform(QStringLiteral("Hledaný název videa nenalezen..."),
               QStringLiteral("Hledaný název: [%1]").arg(ComboBoxLendTitle->currentText()));
        return;
    }
    LendStart(true, CurrentVideo());
}

// ---------------------------------------------------------------------------------------
// The mouse on the grids

void TLendPage::RxDBGridLendDblClick()
{
    if (GridMouseInData(RxDBGridLend) && !m_tableLend->isEmpty())
        LendStart(false, m_tableLend->currentVideo());
}

void TLendPage::RxDBGridLendDragDrop(TRxDBGridEx *source)
{
    if (source == RxDBGridLendVideo)
        ActionLendSelectExecute(RxDBGridLend);
}

void TLendPage::RxDBGridLendVideoDragDrop(TRxDBGridEx *source)
{
    if (source == RxDBGridLend)
        ActionLendDeleteExecute();
}
