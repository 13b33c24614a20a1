#include "catalogue/UCustomerPage.h"

#include "catalogue/CatalogueStore.h"
#include "catalogue/CustomerStore.h"
#include "catalogue/FindProposals.h"
#include "catalogue/ListPage.h"
#include "catalogue/UCustomerEdit.h"
#include "catalogue/UCustomerFind.h"
#include "catalogue/UCustomerNew.h"
#include "core/Grids.h"
#include "core/LentLines.h"
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
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

const QString NoCustomerText = QStringLiteral("V evidenci není žádný zákazník...");

const ListColumn CustomerColumns[] = {
    {"ZAKAZNIK", "Kód - zákazník", 82, 0}, {"JMENO", "Jméno", 234, 0},   {"TELEFON", "Telefon", 0, 60},
    {"ADRESA1", "Adresa", 258, 0},         {"ADRESA2", "Adresa", 0, 258}, {"RC", "RČ", 74, 0},
    {"OP", "", 68, 0},                     {"REGISTRACE", "Registrace", 90, 0},
    {"OMEZENI", "Om.", 36, 0},             {"PUJCKY", ">>", 30, 0},      {"TEXT", "Text", 0, 512},
};
const ListColumn HistoryColumns[] = {
    {"VIDEO", "Kód - video", 82, 0}, {"TITUL", "Titul", 445, 0},    {"NOSIC", "Nosič", 76, 0},
    {"ZDARMA", "$", 26, 0},          {"PUJCENO", "Půjčeno", 90, 0}, {"VRATIT", "Do", 60, 0},
    {"VRACENO", "Vráceno", 90, 0},
};

// The other lists that show customers' data.
const DeskSubjects OtherLists = DeskSubject::Videos | DeskSubject::LentVideos | DeskSubject::Journal;

bool isNameBox(const QObject *sender)
{
    static const QStringList names{QStringLiteral("ComboBoxCustomerName"), QStringLiteral("ComboBoxLendName"),
                                   QStringLiteral("ComboBoxBackName")};
    return sender && names.contains(sender->objectName());
}

} // namespace

TCustomerPage::TCustomerPage(QWidget *parent)
    : TListPage(QStringLiteral("Zákazníci"), QStringLiteral("TabSheetCustomer"),
                QStringLiteral("Int64EditCustomerCustomer"), QStringLiteral("LabelCustomerFilter"), parent)
{
    createQueries();
    PanelCustomerFunction = CreateFunctionColumn(this, "PanelCustomerFunction",
                                                 {{"SpeedButtonCustomerNew", "Nový\n[F2]", ValmedoAction::CustomerNew},
                                                  {"SpeedButtonCustomerEdit", "Editace\n[Enter]", ValmedoAction::CustomerEdit},
                                                  {"SpeedButtonCustomerDelete", "Vyřadit\n[Del]", ValmedoAction::CustomerDelete},
                                                  {"SpeedButtonCustomerExportImport", "Import\nExport",
                                                   ValmedoAction::CustomerExportImport},
                                                  {"SpeedButtonCustomerPrint", "Tisk", ValmedoAction::CustomerPrint}});
    createFindPanel();
    createLists();
    const StatusBar status = CreateStatusBar(this, "StatusBarCustomer", {224}, true);
    StatusBarCustomer = status.bar;
    StatusBarCustomerPanel0 = status.panels[0];
    FilterPanel = CreateFilter("PanelCustomerSplitter", "PanelCustomerFilter", Int64EditCustomerCustomer,
                               {PanelCustomerFind, PanelCustomerGrid, RxDBGridCustomer, PanelCustomerDetailPanel,
                                RxDBGridCustomerVideo, StatusBarCustomer});
    createFilterControls(FilterPanel->Panel());
    AssemblePage(this, PanelCustomerFunction, PanelCustomerFind, SplitterCustomer, StatusBarCustomer, FilterPanel);

    connectActions({
        {ValmedoAction::CustomerFind, [this] { ActionCustomerFindExecute(); }},
        {ValmedoAction::CustomerNew, [this] { ActionCustomerNewExecute(); }},
        {ValmedoAction::CustomerEdit, [this] { ActionCustomerEditExecute(); }},
        {ValmedoAction::CustomerDelete, [this] { ActionCustomerDeleteExecute(); }},
        {ValmedoAction::CustomerExportImport, [this] { ActionCustomerExportImportExecute(); }},
        {ValmedoAction::CustomerPrint, [this] { ActionCustomerPrintExecute(); }},
    });
    // Numbers and dates shown whole; the name and the title give way.
    RegisterOpenSteps(10, {RxDBGridCustomer, CustomerColumns, "JMENO"},
                      {RxDBGridCustomerVideo, HistoryColumns, "TITUL"});
}

TCustomerPage::~TCustomerPage() = default;

void TCustomerPage::createQueries()
{
    ADOQueryCustomer = new BrowseQuery(this);
    ADOQueryCustomer->setObjectName(QStringLiteral("ADOQueryCustomer"));
    ADOQueryCustomer->setOnlyReads(true); // the free filter's text stays in it
    ADOQueryCustomer->setSql(CustomerListSql());
    ADOQueryCustomer->setFieldKind(QStringLiteral("ZAKAZNIK"), FieldKind::Int64);
    ADOQueryCustomer->setFieldKind(QStringLiteral("REGISTRACE"), FieldKind::DateTime);
    ADOQueryCustomer->setFieldKind(QStringLiteral("OMEZENI"), FieldKind::Text);
    ADOQueryCustomer->setFieldKind(QStringLiteral("PUJCKY"), FieldKind::Integer);
    DescribeFields(ADOQueryCustomer, CustomerColumns, QStringLiteral("tab_zakaznik"));
    ADOQueryCustomer->setDisplayFormat(QStringLiteral("ZAKAZNIK"), QStringLiteral("0000000000000"));
    ADOQueryCustomer->setAlignment(QStringLiteral("ZAKAZNIK"), Qt::AlignLeft);
    ADOQueryCustomer->setDisplayFormat(QStringLiteral("REGISTRACE"), QStringLiteral("dd.MM.yyyy hh:mm"));
    ADOQueryCustomer->setAlignment(QStringLiteral("OMEZENI"), Qt::AlignHCenter);

    ADOQueryCustomerVideo = new BrowseQuery(this);
    ADOQueryCustomerVideo->setObjectName(QStringLiteral("ADOQueryCustomerVideo"));
    ADOQueryCustomerVideo->setSql(CustomerHistorySql());
    DescribeFields(ADOQueryCustomerVideo, HistoryColumns);
    DescribeHistory(ADOQueryCustomerVideo, QStringLiteral("VIDEO"));
    ADOQueryCustomerVideo->setOrigin(QStringLiteral("TITUL"), QStringLiteral("tab_video"));
    ADOQueryCustomerVideo->setOrigin(QStringLiteral("NOSIC"), QStringLiteral("tab_nosic"));

    m_lentLines = new TLentLines(this);
    followDesk(DeskSubject::Customers);
    followDesk(DeskSubject::LentLines, [this](const QVariant &) { m_lentLines->Requery(); });
    FollowList(ADOQueryCustomer, ADOQueryCustomerVideo, QStringLiteral("ZAKAZNIK"));
}

void TCustomerPage::createFindPanel()
{
    const FindPanel find = CreateFindPanel(this, "PanelCustomerFind", "Int64EditCustomerCustomer",
                                           QStringLiteral("Jméno:"), "ComboBoxCustomerName");
    PanelCustomerFind = find.panel;
    Int64EditCustomerCustomer = find.number;
    ComboBoxCustomerName = find.text;
    MakeNumberFindBox(Int64EditCustomerCustomer, [this] { Int64EditCustomerCustomerChange(); },
                      [this] { ActionCustomerFindExecute(Int64EditCustomerCustomer); });
    ProposeCustomerNames(ComboBoxCustomerName);
    ComboBoxCustomerName->OnChange = [this] { ComboBoxCustomerNameChange(); };
    connect(ComboBoxCustomerName, &TFindComboBox::DblClick, this,
            [this] { RunReported([this] { ActionCustomerFindExecute(ComboBoxCustomerName); }); });
}

void TCustomerPage::createLists()
{
    const ListPair pair = CreateListPair(this,
                                         {"SplitterCustomer", "PanelCustomerGrid", QStringLiteral(" Zákazníci"),
                                          "RxDBGridCustomer", "PanelCustomerDetailPanel",
                                          QStringLiteral(" Detail - video"), "RxDBGridCustomerVideo"},
                                         ADOQueryCustomer, ADOQueryCustomerVideo);
    SplitterCustomer = pair.splitter;
    PanelCustomerGrid = pair.listTitle;
    RxDBGridCustomer = pair.list;
    PanelCustomerDetailPanel = pair.detailTitle;
    RxDBGridCustomerVideo = pair.detail;
    // The customers with something out, from the cache of lent lines.
    ColorLentRows(RxDBGridCustomer, [this](int row) -> std::optional<bool> {
        const QVariant customer = ADOQueryCustomer->valueAt(row, 0);
        if (customer.isNull())
            return std::nullopt;
        return m_lentLines->CustomerOverdue(customer.toLongLong());
    });
    ColourHistoryRows(RxDBGridCustomerVideo, ADOQueryCustomerVideo);
    connect(RxDBGridCustomer, &TRxDBGridEx::DblClick, this,
            [this] { RunReported([this] { ActionCustomerEditExecute(RxDBGridCustomer); }); });
    DeleteKeyWhileFocused(RxDBGridCustomer, ValmedoAction::CustomerDelete);
}

void TCustomerPage::createFilterControls(QWidget *panel)
{
    FilterColumn column(panel);
    CheckBoxCustomerCustomer = column.CheckBox("CheckBoxCustomerCustomer", QStringLiteral("Kód (od - do):"));
    Int64EditCustomerCustomerFirst = column.Number("Int64EditCustomerCustomerFirst", 0);
    Int64EditCustomerCustomerSecond = column.Number("Int64EditCustomerCustomerSecond", TInt64Edit::HighestNumber);
    CheckBoxCustomerName = column.CheckBox("CheckBoxCustomerName", QStringLiteral("Jména začínající na:"));
    EditCustomerName = column.Edit("EditCustomerName", 32);
    CheckBoxCustomerLimit = column.CheckBox("CheckBoxCustomerLimit", QStringLiteral("Omezení:"));
    ComboBoxCustomerLimit = column.PickList("ComboBoxCustomerLimit");
    ComboBoxCustomerLimit->addItems(CustomerLimitCaptions());
    ComboBoxCustomerLimit->setCurrentIndex(-1);
    CheckBoxCustomerRegistration = column.CheckBox("CheckBoxCustomerRegistration", QStringLiteral("Registrace (od - do):"));
    DateTimePickerCustomerRegistrationFirst = column.DatePicker("DateTimePickerCustomerRegistrationFirst");
    DateTimePickerCustomerRegistrationSecond = column.DatePicker("DateTimePickerCustomerRegistrationSecond");
    CheckBoxCustomerLend = column.CheckBox("CheckBoxCustomerLend", QStringLiteral("Zákazníci kteří mají něco půjčeno"));
    CheckBoxCustomerLater = column.CheckBox("CheckBoxCustomerLater", QStringLiteral("Zákazníci kteří video již měli vrátit"));
    ButtonCustomerFilter = column.BottomButton("ButtonCustomerFilter", QStringLiteral("Filtr..."));
    ButtonCustomerReset = column.BottomButton("ButtonCustomerReset", QStringLiteral("Vypnout filtr"));
    ConnectFilterChanges(panel, [this] { CustomerFilter(); });
    connect(ButtonCustomerFilter, &QPushButton::clicked, this,
            [this] { RunReported([this] { ButtonCustomerFilterClick(); }); });
    connect(ButtonCustomerReset, &QPushButton::clicked, this,
            [this] { RunReported([this] { ButtonCustomerResetClick(); }); });
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
    input.codeOn = CheckBoxCustomerCustomer->isChecked();
    input.codeFirst = NumberBound(Int64EditCustomerCustomerFirst);
    input.codeSecond = NumberBound(Int64EditCustomerCustomerSecond);
    input.nameOn = CheckBoxCustomerName->isChecked();
    input.name = EditCustomerName->text();
    input.limitOn = CheckBoxCustomerLimit->isChecked();
    input.limit = ComboBoxCustomerLimit->currentIndex();
    input.registrationOn = CheckBoxCustomerRegistration->isChecked();
    input.registrationFirst = DateBound(DateTimePickerCustomerRegistrationFirst);
    input.registrationSecond = DateBound(DateTimePickerCustomerRegistrationSecond);
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
    RunFilterWindow(ADOQueryCustomer);
}

void TCustomerPage::ButtonCustomerResetClick()
{
    // The overdue box keeps its state.
    for (QCheckBox *box : {CheckBoxCustomerCustomer, CheckBoxCustomerName, CheckBoxCustomerLimit,
                           CheckBoxCustomerRegistration, CheckBoxCustomerLend})
        box->setChecked(false);
    CustomerFilter();
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

void TCustomerPage::followCurrent(QObject *context, std::function<void(qint64, const QString &)> shown)
{
    connect(this, &TCustomerPage::CurrentCustomerChanged, context, std::move(shown));
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

// ---------------------------------------------------------------------------------------
// The actions

void TCustomerPage::ActionCustomerFindExecute(QObject *sender)
{
    TFormCustomerFind form(FormValmedo);
    form.StartIn(isNameBox(sender));
    form.OpenOn(CurrentCustomer());
    ExecModal(&form);
    SelectAllInMainWindow();
}

void TCustomerPage::ActionCustomerNewExecute()
{
    TFormCustomerNew form(FormValmedo);
    form.Int64EditCustomer->setText(QString::number(LowestFreeCustomer()));
    form.Int64EditCustomer->selectAll(); // the clerk's digits replace the proposal
    if (ExecModal(&form) == QDialog::Accepted) {
        const CustomerRecord customer = form.Record();
        const bool done = RunLoggedChange(QStringLiteral("Nový zákazník"), customer.number,
                                          [&] { InsertCustomer(customer); });
        ShowWarning(done, TransactionFailedText, QStringLiteral("Přidání nového zákazníka neproběhlo..."));
        RequeryAfterChange(customer.number, OtherLists);
    }
    SelectAllInMainWindow();
}

bool TCustomerPage::FindBoxMissed() const
{
    return ::FindBoxMissed(Int64EditCustomerCustomer, CurrentCustomer(), ComboBoxCustomerName, CurrentName(),
                           {QStringLiteral("Hledaný kód zákazníka nenalezen..."),
                            QStringLiteral("Hledané jméno zákazníka nenalezeno..."),
                            QStringLiteral("Hledané jméno: [%1]")});
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
        ShowInformation(NoCustomerText, CheckFilterText, true, MainWindowFocus());
        SelectAllInMainWindow();
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
        RequeryAfterChange(customer, OtherLists);
    }
    SelectAllInMainWindow();
}

void TCustomerPage::ActionCustomerDeleteExecute()
{
    const auto finish = qScopeGuard([] { SelectAllInMainWindow(); });
    if (!DataSetHasRecords(*ADOQueryCustomer)) {
        ShowInformation(NoCustomerText, CheckFilterText, true, MainWindowFocus());
        return;
    }
    const qint64 customer = CurrentCustomer();
    const QString caption = CustomerCaption(customer, CurrentName());
    if (CustomerHasLent(customer)) {
        ShowInformation(QStringLiteral("Tohoto zákazníka nelze odebrat..."),
                        QStringLiteral("%1 má půjčené video...").arg(caption), true, MainWindowFocus());
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
    RequeryAfterChange(prior, OtherLists);
}

void TCustomerPage::ActionCustomerExportImportExecute()
{
    RunImportExportWindow();
    SetStatusBarCustomer();
    SelectAllInMainWindow();
}

void TCustomerPage::ActionCustomerPrintExecute()
{
    RunPagePrint(ValmedoAction::CustomerPrint, *ADOQueryCustomer, NoCustomerText);
}
