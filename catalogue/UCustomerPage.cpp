#include "catalogue/UCustomerPage.h"

#include "catalogue/CatalogueStore.h"
#include "catalogue/CustomerStore.h"
#include "catalogue/LentLines.h"
#include "catalogue/PageHooks.h"
#include "catalogue/UCustomerEdit.h"
#include "catalogue/UCustomerFind.h"
#include "catalogue/UCustomerNew.h"
#include "core/Grids.h"
#include "core/Messages.h"
#include "core/Modal.h"
#include "core/NamedWidget.h"
#include "core/RunGlobals.h"
#include "core/RunReported.h"
#include "core/UValmedo.h"
#include "core/Utils.h"
#include "core/controls/DateTimePicker.h"
#include "core/controls/FilterPanel.h"
#include "core/controls/FindBoxes.h"
#include "core/controls/GridColumns.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/Database.h"
#include "core/database/Lookups.h"
#include "core/database/SqlServer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <memory>

namespace {

const QString NoCustomerText = QStringLiteral("V evidenci není žádný zákazník...");
const QString CheckFilterText = QStringLiteral("Zkontrolujte zda není aktivní filtr...");
const QString TransactionFailedText = QStringLiteral("Transakce skončila s chybou...");

const GridColumn CustomerColumns[] = {
    {"ZAKAZNIK", "Kód - zákazník", 82, 0}, {"JMENO", "Jméno", 234, 0},   {"TELEFON", "Telefon", 0, 60},
    {"ADRESA1", "Adresa", 258, 0},         {"ADRESA2", "Adresa", 0, 258}, {"RC", "RČ", 74, 0},
    {"OP", "", 68, 0},                     {"REGISTRACE", "Registrace", 90, 0},
    {"OMEZENI", "Om.", 36, 0},             {"PUJCKY", ">>", 30, 0},      {"TEXT", "Text", 0, 512},
};
const GridColumn HistoryColumns[] = {
    {"VIDEO", "Kód - video", 82, 0}, {"TITUL", "Titul", 445, 0},    {"NOSIC", "Nosič", 76, 0},
    {"ZDARMA", "$", 26, 0},          {"PUJCENO", "Půjčeno", 90, 0}, {"VRATIT", "Do", 60, 0},
    {"VRACENO", "Vráceno", 90, 0},
};

bool isNameBox(const QObject *sender)
{
    static const QStringList names{QStringLiteral("ComboBoxCustomerName"), QStringLiteral("ComboBoxLendName"),
                                   QStringLiteral("ComboBoxBackName")};
    return sender && names.contains(sender->objectName());
}

QAction *windowAction(const char *name)
{
    return FormValmedo ? FormValmedo->action(QString::fromLatin1(name)) : nullptr;
}

void selectAll()
{
    ActiveControlSelectAll(nullptr, FormValmedo);
}

} // namespace

void ProposeCustomerNames(TFindComboBox *box)
{
    box->OnPropose = [](const QString &typed) {
        QList<FindProposal> proposals;
        for (const CustomerProposal &p : CustomerNameProposals(typed))
            proposals.append({CustomerProposalText(p), p.number});
        return proposals;
    };
}

TCustomerPage::TCustomerPage(QWidget *parent)
    : TValmedoPage(QStringLiteral("Zákazníci"), QStringLiteral("TabSheetCustomer"),
                   QStringLiteral("Int64EditCustomerCustomer"), parent)
{
    setFilterLabel(QStringLiteral("LabelCustomerFilter"));
    createQueries();
    QWidget *functionColumn = createFunctionColumn();
    QWidget *findPanel = createFindPanel();
    QWidget *lists = createLists();
    QWidget *statusBar = createStatusBar();
    createFilterPanel();
    layOutListPage(functionColumn, findPanel, lists, statusBar, FilterPanel);

    connectActions();
    registerOpenSteps();
}

TCustomerPage::~TCustomerPage() = default;

void TCustomerPage::createQueries()
{
    ADOQueryCustomer = new BrowseQuery(this);
    ADOQueryCustomer->setObjectName(QStringLiteral("ADOQueryCustomer"));
    ADOQueryCustomer->setSql(CustomerListSql());
    ADOQueryCustomer->setFieldKind(QStringLiteral("ZAKAZNIK"), FieldKind::Int64);
    ADOQueryCustomer->setFieldKind(QStringLiteral("REGISTRACE"), FieldKind::DateTime);
    ADOQueryCustomer->setFieldKind(QStringLiteral("OMEZENI"), FieldKind::Text);
    ADOQueryCustomer->setFieldKind(QStringLiteral("PUJCKY"), FieldKind::Integer);
    DescribeColumns(ADOQueryCustomer, CustomerColumns, QStringLiteral("tab_zakaznik"));
    ADOQueryCustomer->setDisplayFormat(QStringLiteral("ZAKAZNIK"), QStringLiteral("0000000000000"));
    ADOQueryCustomer->setAlignment(QStringLiteral("ZAKAZNIK"), Qt::AlignLeft);
    ADOQueryCustomer->setDisplayFormat(QStringLiteral("REGISTRACE"), QStringLiteral("dd.MM.yyyy hh:mm"));
    ADOQueryCustomer->setAlignment(QStringLiteral("OMEZENI"), Qt::AlignHCenter);
    setListQuery(ADOQueryCustomer);

    ADOQueryCustomerVideo = new BrowseQuery(this);
    ADOQueryCustomerVideo->setObjectName(QStringLiteral("ADOQueryCustomerVideo"));
    ADOQueryCustomerVideo->setSql(CustomerHistorySql());
    ADOQueryCustomerVideo->setParameter(QStringLiteral("ZAKAZNIK"), QVariant(QMetaType::fromType<qint64>()));
    ADOQueryCustomerVideo->setFieldKind(QStringLiteral("VIDEO"), FieldKind::Int64);
    for (const char *flag : {"PUJCENA", "ZDARMA"})
        ADOQueryCustomerVideo->setFieldKind(QLatin1String(flag), FieldKind::Boolean);
    for (const char *when : {"PUJCENO", "VRATIT", "VRACENO"})
        ADOQueryCustomerVideo->setFieldKind(QLatin1String(when), FieldKind::DateTime);
    DescribeColumns(ADOQueryCustomerVideo, HistoryColumns);
    for (const char *field : {"VIDEO", "PUJCENA", "ZDARMA", "PUJCENO", "VRATIT", "VRACENO"})
        ADOQueryCustomerVideo->setOrigin(QLatin1String(field), QStringLiteral("tab_pujckydetail"));
    ADOQueryCustomerVideo->setOrigin(QStringLiteral("TITUL"), QStringLiteral("tab_video"));
    ADOQueryCustomerVideo->setOrigin(QStringLiteral("NOSIC"), QStringLiteral("tab_nosic"));
    ADOQueryCustomerVideo->setDisplayFormat(QStringLiteral("VIDEO"), QStringLiteral("0000000000000"));
    ADOQueryCustomerVideo->setAlignment(QStringLiteral("VIDEO"), Qt::AlignLeft);
    ADOQueryCustomerVideo->setDisplayFormat(QStringLiteral("ZDARMA"), QStringLiteral("$;-"));
    ADOQueryCustomerVideo->setDisplayFormat(QStringLiteral("PUJCENO"), QStringLiteral("dd.MM.yyyy hh:mm"));
    ADOQueryCustomerVideo->setDisplayFormat(QStringLiteral("VRATIT"), QStringLiteral("dd.MM.yyyy"));
    ADOQueryCustomerVideo->setDisplayFormat(QStringLiteral("VRACENO"), QStringLiteral("dd.MM.yyyy hh:mm"));

    m_lentLines = new TLentLines(this);
    connect(ADOQueryCustomer, &DataSet::currentRowChanged, this,
            [this] { RunReported([this] { CustomerRowChanged(); }); });
}

QWidget *TCustomerPage::createFunctionColumn()
{
    static const FunctionButton buttons[] = {
        {"SpeedButtonCustomerNew", "Nový\n[F2]", "ActionCustomerNew"},
        {"SpeedButtonCustomerEdit", "Editace\n[Enter]", "ActionCustomerEdit"},
        {"SpeedButtonCustomerDelete", "Vyřadit\n[Del]", "ActionCustomerDelete"},
        {"SpeedButtonCustomerExportImport", "Import\nExport", "ActionCustomerExportImport"},
        {"SpeedButtonCustomerPrint", "Tisk", "ActionCustomerPrint"},
    };
    PanelCustomerFunction = createFunctionButtons("PanelCustomerFunction", 68, QSize(62, 48), buttons);
    return PanelCustomerFunction;
}

QWidget *TCustomerPage::createFindPanel()
{
    QHBoxLayout *row = nullptr;
    PanelCustomerFind = createFindStrip("PanelCustomerFind", QStringLiteral("Kód:"), "Int64EditCustomerCustomer",
                                        Int64EditCustomerCustomer, row);
    ComboBoxCustomerName = Named<TFindComboBox>(PanelCustomerFind, "ComboBoxCustomerName");
    ComboBoxCustomerName->SetMaxTyped(32);
    auto *name = new QLabel(QStringLiteral("Jméno:"), PanelCustomerFind);
    name->setBuddy(ComboBoxCustomerName);
    row->addSpacing(12);
    row->addWidget(name);
    row->addWidget(ComboBoxCustomerName);
    row->addStretch(1);
    // The name box takes the find panel's width less 376 pixels.
    PanelCustomerFind->installEventFilter(this);

    MakeNumberFindBox(Int64EditCustomerCustomer, [this] { Int64EditCustomerCustomerChange(); },
                      [this] { ActionCustomerFindExecute(Int64EditCustomerCustomer); });
    ProposeCustomerNames(ComboBoxCustomerName);
    ComboBoxCustomerName->OnChange = [this] { ComboBoxCustomerNameChange(); };
    connect(ComboBoxCustomerName, &TFindComboBox::DblClick, this,
            [this] { RunReported([this] { ActionCustomerFindExecute(ComboBoxCustomerName); }); });
    return PanelCustomerFind;
}

QWidget *TCustomerPage::createLists()
{
    SplitterCustomer = Named<QSplitter>(this, "SplitterCustomer");
    SplitterCustomer->setOrientation(Qt::Vertical);
    SplitterCustomer->setChildrenCollapsible(false);
    auto *top = new QWidget(SplitterCustomer);
    top->setMinimumHeight(86);
    auto *topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->setSpacing(0);
    PanelCustomerGrid = createListTitle(top, "PanelCustomerGrid", QStringLiteral(" Zákazníci"));
    RxDBGridCustomer = Named<TRxDBGridEx>(top, "RxDBGridCustomer");
    topLayout->addWidget(PanelCustomerGrid);
    topLayout->addWidget(RxDBGridCustomer, 1);

    auto *bottom = new QWidget(SplitterCustomer);
    auto *bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->setSpacing(0);
    PanelCustomerDetailPanel = createListTitle(bottom, "PanelCustomerDetailPanel", QStringLiteral(" Detail - video"));
    RxDBGridCustomerVideo = Named<TRxDBGridEx>(bottom, "RxDBGridCustomerVideo");
    bottomLayout->addWidget(PanelCustomerDetailPanel);
    bottomLayout->addWidget(RxDBGridCustomerVideo, 1);
    SplitterCustomer->addWidget(top);
    SplitterCustomer->addWidget(bottom);
    SplitterCustomer->setStretchFactor(0, 3);
    SplitterCustomer->setStretchFactor(1, 1);

    for (TRxDBGridEx *grid : {RxDBGridCustomer, RxDBGridCustomerVideo}) {
        grid->SetRowSelect(true);
        BindQueryGridSort(grid);
    }
    RxDBGridCustomer->setModel(ADOQueryCustomer);
    RxDBGridCustomerVideo->setModel(ADOQueryCustomerVideo);
    colourGrids();
    connect(RxDBGridCustomer, &TRxDBGridEx::DblClick, this,
            [this] { RunReported([this] { ActionCustomerEditExecute(RxDBGridCustomer); }); });
    RxDBGridCustomer->installEventFilter(this);
    return SplitterCustomer;
}

void TCustomerPage::colourGrids()
{
    // The customers with something out, from the cache of lent lines.
    ColorLentRows(RxDBGridCustomer, [this](int row) -> std::optional<bool> {
        const QVariant customer = ADOQueryCustomer->valueAt(row, 0);
        if (customer.isNull())
            return std::nullopt;
        return m_lentLines->CustomerOverdue(customer.toLongLong());
    });
    // The history's lines still out, from the history itself.
    ColorLentRows(RxDBGridCustomerVideo, [this](int row) { return LineOverdue(*ADOQueryCustomerVideo, row); });
}

QWidget *TCustomerPage::createStatusBar()
{
    StatusBarCustomer = Named<QFrame>(this, "StatusBarCustomer");
    auto *panels = new QHBoxLayout(StatusBarCustomer);
    panels->setContentsMargins(0, 2, 0, 0);
    panels->setSpacing(2);
    StatusBarCustomerPanel0 = Named<QLabel>(StatusBarCustomer, "StatusBarCustomerPanel0");
    StatusBarCustomerPanel0->setFixedWidth(224);
    auto *second = Named<QLabel>(StatusBarCustomer, "StatusBarCustomerPanel1");
    for (QLabel *panel : {StatusBarCustomerPanel0, second}) {
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setMinimumHeight(19);
    }
    panels->addWidget(StatusBarCustomerPanel0);
    panels->addWidget(second, 1);
    return StatusBarCustomer;
}

void TCustomerPage::createFilterPanel()
{
    FilterPanel = new TFilterPanel(this, QStringLiteral("PanelCustomerSplitter"),
                                   QStringLiteral("PanelCustomerFilter"), filterLabel(), Int64EditCustomerCustomer);
    createFilterControls(FilterPanel->Panel());
    for (QWidget *part : {static_cast<QWidget *>(PanelCustomerFind), static_cast<QWidget *>(PanelCustomerGrid),
                          static_cast<QWidget *>(RxDBGridCustomer), static_cast<QWidget *>(PanelCustomerDetailPanel),
                          static_cast<QWidget *>(RxDBGridCustomerVideo), static_cast<QWidget *>(StatusBarCustomer)})
        TFilterPanel::CloseOnMouseMove(part);
}

void TCustomerPage::createFilterControls(QWidget *panel)
{
    TFilterColumn column(panel);
    CheckBoxCustomerCustomer = column.CheckBox("CheckBoxCustomerCustomer", QStringLiteral("Kód (od - do):"));
    Int64EditCustomerCustomerFirst = column.NumberBox("Int64EditCustomerCustomerFirst", 0);
    Int64EditCustomerCustomerSecond = column.NumberBox("Int64EditCustomerCustomerSecond", TInt64Edit::HighestNumber);
    CheckBoxCustomerName = column.CheckBox("CheckBoxCustomerName", QStringLiteral("Jména začínající na:"));
    EditCustomerName = Named<QLineEdit>(panel, "EditCustomerName");
    EditCustomerName->setMaxLength(32);
    column.Layout()->addWidget(EditCustomerName);
    CheckBoxCustomerLimit = column.CheckBox("CheckBoxCustomerLimit", QStringLiteral("Omezení:"));
    ComboBoxCustomerLimit = Named<QComboBox>(panel, "ComboBoxCustomerLimit");
    ComboBoxCustomerLimit->addItems(CustomerLimitCaptions());
    ComboBoxCustomerLimit->setCurrentIndex(-1);
    column.Layout()->addWidget(ComboBoxCustomerLimit);
    CheckBoxCustomerRegistration = column.CheckBox("CheckBoxCustomerRegistration", QStringLiteral("Registrace (od - do):"));
    for (TDateTimePicker **picker : {&DateTimePickerCustomerRegistrationFirst, &DateTimePickerCustomerRegistrationSecond}) {
        *picker = new TDateTimePicker(panel);
        (*picker)->SetDate(RunDate());
        column.Layout()->addWidget(*picker);
    }
    DateTimePickerCustomerRegistrationFirst->setObjectName(QStringLiteral("DateTimePickerCustomerRegistrationFirst"));
    DateTimePickerCustomerRegistrationSecond->setObjectName(QStringLiteral("DateTimePickerCustomerRegistrationSecond"));
    CheckBoxCustomerLend = column.CheckBox("CheckBoxCustomerLend", QStringLiteral("Zákazníci kteří mají něco půjčeno"));
    CheckBoxCustomerLater = column.CheckBox("CheckBoxCustomerLater", QStringLiteral("Zákazníci kteří video již měli vrátit"));
    column.FootButtons("ButtonCustomerFilter", ButtonCustomerFilter, "ButtonCustomerReset", ButtonCustomerReset);
    connectFilterControls(panel);
}

void TCustomerPage::connectFilterControls(QWidget *panel)
{
    // Every box's click and every editor's change by the clerk filters the list again.
    const auto filter = [this] { RunReported([this] { CustomerFilter(); }); };
    for (QCheckBox *b : panel->findChildren<QCheckBox *>(Qt::FindDirectChildrenOnly))
        connect(b, &QCheckBox::clicked, this, filter);
    for (QLineEdit *e : {static_cast<QLineEdit *>(Int64EditCustomerCustomerFirst),
                         static_cast<QLineEdit *>(Int64EditCustomerCustomerSecond), EditCustomerName})
        connect(e, &QLineEdit::textEdited, this, filter);
    connect(ComboBoxCustomerLimit, &QComboBox::activated, this, filter);
    for (TDateTimePicker *picker : {DateTimePickerCustomerRegistrationFirst, DateTimePickerCustomerRegistrationSecond})
        connect(picker, &TDateTimePicker::Change, this, filter);
    connect(ButtonCustomerFilter, &QPushButton::clicked, this,
            [this] { RunReported([this] { ButtonCustomerFilterClick(); }); });
    connect(ButtonCustomerReset, &QPushButton::clicked, this,
            [this] { RunReported([this] { ButtonCustomerResetClick(); }); });
}

void TCustomerPage::connectActions()
{
    const std::pair<const char *, std::function<void()>> actions[] = {
        {"ActionCustomerFind", [this] { ActionCustomerFindExecute(); }},
        {"ActionCustomerNew", [this] { ActionCustomerNewExecute(); }},
        {"ActionCustomerEdit", [this] { ActionCustomerEditExecute(); }},
        {"ActionCustomerDelete", [this] { ActionCustomerDeleteExecute(); }},
        {"ActionCustomerExportImport", [this] { ActionCustomerExportImportExecute(); }},
        {"ActionCustomerPrint", [this] { ActionCustomerPrintExecute(); }},
    };
    connectWindowActions(actions);
}

void TCustomerPage::registerOpenSteps()
{
    RegisterOpenStep(10, [this] {
        ADOQueryCustomerVideo->requery();
        return true;
    });
    RegisterOpenStep(20, [this] {
        CustomerFilter();
        // An empty list has no row to change to: its boxes show 0 and no name all the same.
        if (ADOQueryCustomer->isEmpty())
            DataSourceCustomerDataChange();
        layoutGrids();
        return true;
    });
}

void TCustomerPage::layoutGrids()
{
    if (m_gridsLaidOut || !ADOQueryCustomer->isOpen() || !ADOQueryCustomerVideo->isOpen())
        return;
    m_gridsLaidOut = true;
    LayOutColumns(RxDBGridCustomer, CustomerColumns);
    LayOutColumns(RxDBGridCustomerVideo, HistoryColumns);
    if (FormValmedo) {
        for (TRxDBGridEx *grid : {RxDBGridCustomer, RxDBGridCustomerVideo})
            grid->SetPopupMenu(FormValmedo->popupMenuRxDBGrid());
    }
}

bool TCustomerPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == PanelCustomerFind && event->type() == QEvent::Resize)
        ComboBoxCustomerName->setFixedWidth(qMax(80, PanelCustomerFind->width() - 376));
    if (watched == RxDBGridCustomer && event->type() == QEvent::FocusIn)
        RxDBGridCustomerEnter();
    if (watched == RxDBGridCustomer && event->type() == QEvent::FocusOut)
        RxDBGridCustomerExit();
    return TValmedoPage::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------
// The list, its filter and the current customer

qint64 TCustomerPage::CurrentCustomer() const
{
    return ADOQueryCustomer->isOpen() ? ADOQueryCustomer->value(0).toLongLong() : 0;
}

QString TCustomerPage::CurrentName() const
{
    return ADOQueryCustomer->isOpen() ? ADOQueryCustomer->value(QStringLiteral("JMENO")).toString() : QString();
}

void TCustomerPage::CustomerFilter()
{
    Int64EditCustomerCustomerFirst->setEnabled(CheckBoxCustomerCustomer->isChecked());
    Int64EditCustomerCustomerSecond->setEnabled(CheckBoxCustomerCustomer->isChecked());
    EditCustomerName->setEnabled(CheckBoxCustomerName->isChecked());
    ComboBoxCustomerLimit->setEnabled(CheckBoxCustomerLimit->isChecked());
    DateTimePickerCustomerRegistrationFirst->setEnabled(CheckBoxCustomerRegistration->isChecked());
    DateTimePickerCustomerRegistrationSecond->setEnabled(CheckBoxCustomerRegistration->isChecked());

    CustomerFilterInput input;
    auto bound = [](TInt64Edit *edit) {
        return edit->text().isEmpty() ? std::optional<qint64>() : std::optional<qint64>(edit->Value());
    };
    input.codeOn = CheckBoxCustomerCustomer->isChecked();
    input.codeFirst = bound(Int64EditCustomerCustomerFirst);
    input.codeSecond = bound(Int64EditCustomerCustomerSecond);
    input.nameOn = CheckBoxCustomerName->isChecked();
    input.name = EditCustomerName->text();
    input.limitOn = CheckBoxCustomerLimit->isChecked();
    input.limit = ComboBoxCustomerLimit->currentIndex();
    input.registrationOn = CheckBoxCustomerRegistration->isChecked();
    auto date = [](TDateTimePicker *picker) {
        return picker->Checked() ? std::optional<QDate>(picker->Date()) : std::optional<QDate>();
    };
    input.registrationFirst = date(DateTimePickerCustomerRegistrationFirst);
    input.registrationSecond = date(DateTimePickerCustomerRegistrationSecond);
    input.lent = CheckBoxCustomerLend->isChecked();
    input.overdue = CheckBoxCustomerLater->isChecked();
    input.runDate = RunDate();
    {
        OneRowChange once(*ADOQueryCustomer);
        SetQueryWhere(*ADOQueryCustomer, CustomerFilterWhere(input, CurrentServer()->dialect()));
    }
    SetStatusBarCustomer();
}

void TCustomerPage::SetStatusBarCustomer()
{
    QString select, where, order;
    SplitSQL(ADOQueryCustomer->sqlText(), select, where, order);
    StatusBarCustomerPanel0->setText(QStringLiteral(" Zákazníků: %1").arg(CountCustomers(where)));
}

QString TCustomerPage::StatusText() const
{
    return StatusBarCustomerPanel0->text();
}

void TCustomerPage::ButtonCustomerFilterClick()
{
    if (const FilterWindowFactory factory = FilterWindow()) {
        std::unique_ptr<QDialog> window(factory(ADOQueryCustomer));
        if (window)
            ExecModal(window.get());
    }
}

void TCustomerPage::ButtonCustomerResetClick()
{
    // The overdue box keeps its state.
    for (QCheckBox *box : {CheckBoxCustomerCustomer, CheckBoxCustomerName, CheckBoxCustomerLimit,
                           CheckBoxCustomerRegistration, CheckBoxCustomerLend})
        box->setChecked(false);
    CustomerFilter();
}

void TCustomerPage::CustomerRowChanged()
{
    const qint64 customer = CurrentCustomer();
    ADOQueryCustomerVideo->setParameter(QStringLiteral("ZAKAZNIK"),
                                        ADOQueryCustomer->currentRow() >= 0
                                            ? QVariant(customer)
                                            : QVariant(QMetaType::fromType<qint64>()));
    if (ADOQueryCustomerVideo->isOpen())
        ADOQueryCustomerVideo->requery();
    DataSourceCustomerDataChange();
}

void TCustomerPage::DataSourceCustomerDataChange()
{
    const qint64 customer = CurrentCustomer();
    const QString name = CurrentName();
    if (!ClerkTypesIn(Int64EditCustomerCustomer))
        Int64EditCustomerCustomer->SetValue(customer);
    if (!ClerkTypesIn(ComboBoxCustomerName))
        ComboBoxCustomerName->setEditText(name);
    ADOQueryCustomerVideo->first();
    emit CurrentCustomerChanged(customer, name);
}

bool TCustomerPage::FindCustomerByNumber(const QString &text)
{
    if (!LocateExact(*ADOQueryCustomer, QStringLiteral("ZAKAZNIK"), text))
        return false;
    DataSourceCustomerDataChange();
    return true;
}

bool TCustomerPage::FindCustomerOfBox(const TFindComboBox *box)
{
    // The customer behind the proposal, also one without a birth number or with a "/" in
    // his name, which the text itself could not tell apart.
    const QVariant customer = box->ProposalData();
    if (customer.isNull() || !ADOQueryCustomer->locate(QStringLiteral("ZAKAZNIK"), customer))
        return false;
    DataSourceCustomerDataChange();
    return true;
}

void TCustomerPage::Int64EditCustomerCustomerChange()
{
    if (!FindCustomerByNumber(Int64EditCustomerCustomer->text()))
        ComboBoxCustomerName->ClearBox();
}

void TCustomerPage::ComboBoxCustomerNameChange()
{
    if (!FindCustomerOfBox(ComboBoxCustomerName))
        Int64EditCustomerCustomer->setText(QString());
}

void TCustomerPage::RxDBGridCustomerEnter()
{
    if (QAction *action = windowAction("ActionCustomerDelete"))
        action->setShortcut(QKeySequence(Qt::Key_Delete));
}

void TCustomerPage::RxDBGridCustomerExit()
{
    if (QAction *action = windowAction("ActionCustomerDelete"))
        action->setShortcut(QKeySequence());
}

void TCustomerPage::requeryList()
{
    {
        OneRowChange once(*ADOQueryCustomer);
        TValmedoPage::requeryList();
    }
    // The count follows the rows the list shows now (after the refresh button too).
    if (ADOQueryCustomer->isOpen())
        SetStatusBarCustomer();
}

void TCustomerPage::RequeryOtherLists()
{
    if (!FormValmedo)
        return;
    for (int index : {TFormValmedo::PageVideo, TFormValmedo::PageBack, TFormValmedo::PageLends})
        static_cast<TValmedoPage *>(FormValmedo->notebook()->widget(index))->requeryList();
}

QWidget *TCustomerPage::FocusedControl() const
{
    return FormValmedo ? FormValmedo->focusWidget() : nullptr;
}

// ---------------------------------------------------------------------------------------
// The actions

void TCustomerPage::ActionCustomerFindExecute(QObject *sender)
{
    TFormCustomerFind form(FormValmedo);
    form.StartIn(isNameBox(sender));
    form.OpenOn(CurrentCustomer());
    ExecModal(&form);
    selectAll();
}

void TCustomerPage::ActionCustomerNewExecute()
{
    TFormCustomerNew form(FormValmedo);
    form.Int64EditCustomer->setText(QString::number(LowestFreeCustomer()));
    if (ExecModal(&form) == QDialog::Accepted) {
        const CustomerRecord customer = form.Record();
        const bool done = RunLoggedChange(QStringLiteral("Nový zákazník"), customer.number,
                                          [&] { InsertCustomer(customer); });
        ShowWarning(done, TransactionFailedText, QStringLiteral("Přidání nového zákazníka neproběhlo..."));
        {
            OneRowChange once(*ADOQueryCustomer);
            RequeryLocate(*ADOQueryCustomer, customer.number);
        }
        RequeryOtherLists();
        SetStatusBarCustomer();
    }
    selectAll();
}

bool TCustomerPage::FindBoxMissed() const
{
    QWidget *active = FocusedControl();
    if (active == Int64EditCustomerCustomer && Int64EditCustomerCustomer->Value() != CurrentCustomer()) {
        ShowInformation(QStringLiteral("Hledaný kód zákazníka nenalezen..."),
                        QStringLiteral("Hledaný kód: [%1]").arg(Int64EditCustomerCustomer->Value()), true, active);
        return true;
    }
    if (active && (active == ComboBoxCustomerName || ComboBoxCustomerName->isAncestorOf(active))
        && !ComboBoxCustomerName->currentText().contains(CurrentName())) {
        ShowInformation(QStringLiteral("Hledané jméno zákazníka nenalezeno..."),
                        QStringLiteral("Hledané jméno: [%1]").arg(ComboBoxCustomerName->currentText()), true, active);
        return true;
    }
    return false;
}

CustomerRecord TCustomerPage::CurrentRecord() const
{
    const auto text = [this](const char *field) { return ADOQueryCustomer->value(QLatin1String(field)).toString(); };
    CustomerRecord shown;
    shown.number = CurrentCustomer();
    shown.name = CurrentName();
    shown.phone = text("TELEFON");
    shown.address1 = text("ADRESA1");
    shown.address2 = text("ADRESA2");
    shown.birthNumber = text("RC");
    shown.identityCard = text("OP");
    shown.limit = CustomerLimitOfCode(text("OMEZENI")); // -1: none chosen, none changed
    shown.text = text("TEXT");
    return shown;
}

void TCustomerPage::ActionCustomerEditExecute(QObject *sender)
{
    if (auto *grid = qobject_cast<TRxDBGridEx *>(sender); grid && !GridMouseInData(grid))
        return;
    if (!DataSetHasRecords(*ADOQueryCustomer)) {
        ShowInformation(NoCustomerText, CheckFilterText, true, FocusedControl());
        selectAll();
        return;
    }
    if (FindBoxMissed())
        return;
    const qint64 customer = CurrentCustomer();
    TFormCustomerEdit form(FormValmedo);
    form.Fill(CurrentRecord());
    if (ExecModal(&form) == QDialog::Accepted) {
        CustomerRecord edited = form.Record();
        edited.number = customer;
        const bool eraseHistory = form.CheckBoxHistory->isChecked();
        const bool done = RunLoggedChange(QStringLiteral("Editace zákazníka"), customer,
                                          [&] { UpdateCustomer(edited, eraseHistory); });
        ShowWarning(done, TransactionFailedText, QStringLiteral("Editace zákazníka neproběhla..."));
        {
            OneRowChange once(*ADOQueryCustomer);
            RequeryLocate(*ADOQueryCustomer, customer);
        }
        RequeryOtherLists();
        SetStatusBarCustomer();
    }
    selectAll();
}

void TCustomerPage::ActionCustomerDeleteExecute()
{
    const auto finish = qScopeGuard([] { selectAll(); });
    if (!DataSetHasRecords(*ADOQueryCustomer)) {
        ShowInformation(NoCustomerText, CheckFilterText, true, FocusedControl());
        return;
    }
    const qint64 customer = CurrentCustomer();
    const QString caption = CustomerCaption(customer, CurrentName());
    if (CustomerHasLent(customer)) {
        ShowInformation(QStringLiteral("Tohoto zákazníka nelze odebrat..."),
                        QStringLiteral("%1 má půjčené video...").arg(caption), true, FocusedControl());
        return;
    }
    if (!GetUserRight(UserName(), QStringLiteral("ZAKAZNIK_ODEBRAT"))) {
        ShowInformation(QStringLiteral("Zákazníka nelze odebrat..."),
                        QStringLiteral("Přihlášený uživatel nemá oprávnění pro tuto operaci..."));
        return;
    }
    if (!ShowQuestion(QStringLiteral("Opravdu chcete vyřadit tohoto zákazníka ?"), caption, false))
        return;
    const QVariant prior = GetPriorKey(*ADOQueryCustomer);
    const bool done = RunLoggedChange(QStringLiteral("Vyřazení zákazníka"), customer,
                                      [&] { RemoveCustomer(customer); });
    ShowWarning(done, TransactionFailedText, QStringLiteral("Vyřazení zákazníka neproběhlo..."));
    {
        OneRowChange once(*ADOQueryCustomer);
        RequeryLocate(*ADOQueryCustomer, prior);
    }
    RequeryOtherLists();
    SetStatusBarCustomer();
}

void TCustomerPage::ActionCustomerExportImportExecute()
{
    if (const ImportExportWindowFactory factory = ImportExportWindow()) {
        std::unique_ptr<QDialog> window(factory());
        if (window)
            ExecModal(window.get());
    }
    SetStatusBarCustomer();
    selectAll();
}

void TCustomerPage::ActionCustomerPrintExecute()
{
    if (!DataSetHasRecords(*ADOQueryCustomer))
        ShowInformation(NoCustomerText, CheckFilterText, true, FocusedControl());
    else if (const PrintHandler print = PrintHandlerOf(QStringLiteral("ActionCustomerPrint")))
        print();
    selectAll();
}
