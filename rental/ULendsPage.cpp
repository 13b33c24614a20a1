#include "rental/ULendsPage.h"

#include "core/Grids.h"
#include "core/LentLines.h"
#include "core/Messages.h"
#include "core/Modal.h"
#include "core/NamedWidget.h"
#include "core/RunGlobals.h"
#include "core/RunReported.h"
#include "core/USetupPrint.h"
#include "core/UValmedo.h"
#include "core/controls/DateTimePicker.h"
#include "core/controls/FindBoxes.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/Lookups.h"
#include "core/database/SqlServer.h"
#include "rental/LendsStore.h"
#include "rental/UStatistics.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

const QString NoDocumentText = QStringLiteral("V evidenci není žádný doklad...");
const QString NothingToPrintText = QStringLiteral("Není co tisknout...");

const ListColumn LendsColumns[] = {
    {"DOKLAD", "Doklad", 82},
    {"OPERACE", "Op.", 36},
    {"CAS", "Čas", 90},
    {"ZAKAZNIK", "Zákazník", 82},
    {"JMENO", "Jméno", 175},
    {"UZIVATEL", "Uživatel", 96},
    {"POLOZKY", "Položek", 54},
    {"PLATBA_CELKEM", "Půjčovné / Vratné [Kč]", 114},
    {"ZALOHA_CELKEM", "Přijatá / Vrácená záloha [Kč]", 138},
};
const ListColumn DetailColumns[] = {
    {"VIDEO", "Kód - Video", 68},
    {"TITUL", "Titul", 212},
    {"NOSIC", "Nosič", 66},
    {"PUJCENO", "Půjčeno", 75},
    {"VRATIT", "Do", 50},
    {"DNY", "Dny", 38},
    {"VRACENO", "Vráceno", 75},
    {"PRES", "Přes", 38},
    {"ZDARMA", "$", 26},
    {"PUJCOVNE_CELKEM", "Půjčovné [Kč]", 80},
    {"VRATNE_CELKEM", "Vratné [Kč]", 68},
    {"ZALOHA", "Záloha [Kč]", 68},
};

// Adds a bold font to the cells of the columns `bold` names, over the grid's colours.
void boldColumns(TRxDBGridEx *grid, std::function<bool(const QString &field)> bold)
{
    grid->OnGetCellParams = [colour = grid->OnGetCellParams, bold = std::move(bold)](
                                TRxDBGridEx *g, const QModelIndex &index, bool highlight, QFont &font,
                                QColor &fontColor, QColor &background) {
        if (colour)
            colour(g, index, highlight, font, fontColor, background);
        if (bold(g->FieldName(index.column())))
            font.setBold(true);
    };
}

} // namespace

TLendsPage::TLendsPage(QWidget *parent)
    : TListPage(QStringLiteral("Doklady"), QStringLiteral("TabSheetLends"), QStringLiteral("Int64EditLendsVoucher"),
                QStringLiteral("LabelLendsFilter"), parent)
{
    createQueries();
    PanelLendsFunction = CreateFunctionColumn(this, "PanelLendsFunction",
                                              {{"SpeedButtonLendsPrint", "Tisk\n[Enter]", ValmedoAction::LendsPrint},
                                               {"SpeedButtonLendsTotalPrint", "Tisk tržeb", ValmedoAction::LendsTotalPrint},
                                               {"SpeedButtonStatistics", "Statistiky", ValmedoAction::LendsStatistics}},
                                              70, QSize(64, 64));
    createFindPanel();
    createLists();
    createStatusBar();
    FilterPanel = CreateFilter("PanelLendsSplitter", "PanelLendsFilter", Int64EditLendsVoucher,
                               {PanelLendsFind, PanelGridLends, RxDBGridLends, PanelGridLendsDetail,
                                RxDBGridLendsDetail, StatusBarLends});
    createFilterControls(FilterPanel->Panel());
    AssemblePage(this, PanelLendsFunction, PanelLendsFind, SplitterLends, StatusBarLends, FilterPanel);

    connectActions({
        {ValmedoAction::LendsPrint, [this] { ActionLendsPrintExecute(); }},
        {ValmedoAction::LendsTotalPrint, [this] { ActionLendsTotalPrintExecute(); }},
        {ValmedoAction::LendsStatistics, [this] { ActionLendsStatisticsExecute(); }},
    });
    // Numbers and dates shown whole, titles uncut; the name and the title give way.
    RegisterOpenSteps(70, {RxDBGridLends, LendsColumns, "JMENO"}, {RxDBGridLendsDetail, DetailColumns, "TITUL"});
    registerHooks();
}

TLendsPage::~TLendsPage() = default;

void TLendsPage::registerHooks()
{
    const QPointer<TLendsPage> page(this);
    // A lend or a return just written: the journal stands on its document. Without a
    // document a lend leaves the journal on its row; a return moves it to its end.
    followDesk(DeskSubject::Document, [this](const QVariant &document) {
        if (document.isNull())
            requeryList();
        else
            DocumentWritten(document);
    });
    followDesk(DeskSubject::JournalLast, [this](const QVariant &) { DocumentWritten(QVariant()); });
    followDesk(DeskSubject::Journal);
}

void TLendsPage::createQueries()
{
    // Their statements and the kinds of their fields come at log-in, for the engine of the
    // server then connected.
    ADOQueryLends = new BrowseQuery(this);
    ADOQueryLends->setObjectName(QStringLiteral("ADOQueryLends"));
    ADOQueryLends->setOnlyReads(true); // the free filter's text stays in it
    for (const char *number : {"DOKLAD", "ZAKAZNIK"})
        ADOQueryLends->setDisplayFormat(QLatin1String(number), QStringLiteral("0000000000000"));
    ADOQueryLends->setDisplayFormat(QStringLiteral("OPERACE"), QStringLiteral("->;<-"));
    ADOQueryLends->setDisplayFormat(QStringLiteral("CAS"), QStringLiteral("dd.MM.yyyy hh:mm"));
    for (const char *total : {"PLATBA_CELKEM", "ZALOHA_CELKEM"})
        ADOQueryLends->setDisplayFormat(QLatin1String(total), QStringLiteral(",0.00"));
    DescribeFields(ADOQueryLends, LendsColumns);
    // A title click sorts by the column of its table; the totals, worked out in the
    // statement, sort by their own names.
    for (const char *field : {"DOKLAD", "OPERACE", "CAS", "ZAKAZNIK"})
        ADOQueryLends->setOrigin(QLatin1String(field), QStringLiteral("tab_pujcky"));
    ADOQueryLends->setOrigin(QStringLiteral("JMENO"), QStringLiteral("tab_zakaznik"));
    ADOQueryLends->setOrigin(QStringLiteral("UZIVATEL"), QStringLiteral("tab_uzivatel"));

    ADOQueryLendsDetail = new BrowseQuery(this);
    ADOQueryLendsDetail->setObjectName(QStringLiteral("ADOQueryLendsDetail"));
    ADOQueryLendsDetail->setDisplayFormat(QStringLiteral("VIDEO"), QStringLiteral("0000000000000"));
    ADOQueryLendsDetail->setDisplayFormat(QStringLiteral("ZDARMA"), QStringLiteral("$;-"));
    ADOQueryLendsDetail->setDisplayFormat(QStringLiteral("PUJCENO"), QStringLiteral("dd.MM.yyyy hh:mm"));
    ADOQueryLendsDetail->setDisplayFormat(QStringLiteral("VRATIT"), QStringLiteral("dd.MM.yyyy"));
    ADOQueryLendsDetail->setDisplayFormat(QStringLiteral("VRACENO"), QStringLiteral("dd.MM.yyyy hh:mm"));
    for (const char *amount : {"PUJCOVNE_CELKEM", "VRATNE_CELKEM", "ZALOHA"})
        ADOQueryLendsDetail->setDisplayFormat(QLatin1String(amount), QStringLiteral(",0.00"));
    DescribeFields(ADOQueryLendsDetail, DetailColumns);
    for (const char *field : {"VIDEO", "PUJCENA", "PUJCENO", "VRATIT", "DNY", "VRACENO", "PRES", "ZDARMA", "ZALOHA"})
        ADOQueryLendsDetail->setOrigin(QLatin1String(field), QStringLiteral("tab_pujckydetail"));
    ADOQueryLendsDetail->setOrigin(QStringLiteral("TITUL"), QStringLiteral("tab_video"));
    ADOQueryLendsDetail->setOrigin(QStringLiteral("NOSIC"), QStringLiteral("tab_nosic"));
    FollowList(ADOQueryLends, ADOQueryLendsDetail, QStringLiteral("DOKLAD"));
}

void TLendsPage::createFindPanel()
{
    const FindPanel find = CreateNumberFindPanel(this, "PanelLendsFind", QStringLiteral("Doklad:"),
                                                 "Int64EditLendsVoucher");
    PanelLendsFind = find.panel;
    Int64EditLendsVoucher = find.number;
    // The box searches only while the clerk types in it: the numbers shown in it by the
    // journal's moves search nothing.
    connect(Int64EditLendsVoucher, &QLineEdit::textEdited, this, [this] {
        if (Int64EditLendsVoucher->hasFocus())
            RunReported([this] { Int64EditLendsVoucherChange(); });
    });
}

void TLendsPage::createLists()
{
    const ListPair pair = CreateListPair(this,
                                         {"SplitterLends", "PanelGridLends", QStringLiteral(" Doklady"),
                                          "RxDBGridLends", "PanelGridLendsDetail",
                                          QStringLiteral(" Detail dokladu - Video"), "RxDBGridLendsDetail"},
                                         ADOQueryLends, ADOQueryLendsDetail, {3, 2, true});
    SplitterLends = pair.splitter;
    PanelGridLends = pair.listTitle;
    RxDBGridLends = pair.list;
    PanelGridLendsDetail = pair.detailTitle;
    RxDBGridLendsDetail = pair.detail;
    // The desk's form font: the journal's many columns fit the page in it.
    for (TRxDBGridEx *grid : {RxDBGridLends, RxDBGridLendsDetail})
        grid->setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    colourGrids();
    connect(RxDBGridLends, &TRxDBGridEx::DblClick, this,
            [this] { RunReported([this] { ActionLendsPrintExecute(RxDBGridLends); }); });
}

void TLendsPage::createStatusBar()
{
    const StatusBar status = CreateStatusBar(this, "StatusBarLends", {224, 300, 300}, true);
    StatusBarLends = status.bar;
    StatusBarLendsPanels = status.panels;
    QFont font(QStringLiteral("Arial Black"));
    font.setBold(true);
    font.setPixelSize(12);
    StatusBarLends->setFont(font);
}

void TLendsPage::colourGrids()
{
    // A document with lines out, from the cache of lent lines.
    ColorLentRows(RxDBGridLends, [this](int row) -> std::optional<bool> {
        const QVariant document = ADOQueryLends->valueAt(row, 0);
        const TLentLines *lines = WindowLentLines();
        if (document.isNull() || !lines)
            return std::nullopt;
        return lines->DocumentOverdue(document.toLongLong());
    });
    boldColumns(RxDBGridLends, [](const QString &field) { return field == QLatin1String("PLATBA_CELKEM"); });
    // The lines still out, from the lines themselves; the fee of a lend, the late fee of a
    // return in bold.
    ColorLentRows(RxDBGridLendsDetail, [this](int row) { return LineOverdue(*ADOQueryLendsDetail, row); });
    boldColumns(RxDBGridLendsDetail, [this](const QString &field) {
        if (ADOQueryLends->currentRow() < 0)
            return false;
        const bool lend = ADOQueryLends->value(QStringLiteral("OPERACE")).toBool();
        return field == QLatin1String(lend ? "PUJCOVNE_CELKEM" : "VRATNE_CELKEM");
    });
}

void TLendsPage::createFilterControls(QWidget *panel)
{
    FilterColumn column(panel);
    column.Layout()->setSpacing(3);
    auto group = [panel, &column](const char *name) {
        auto *frame = Named<QFrame>(panel, name);
        frame->setFrameShape(QFrame::StyledPanel);
        auto *layout = new QVBoxLayout(frame);
        layout->setContentsMargins(4, 2, 4, 2);
        layout->setSpacing(1);
        column.Layout()->addWidget(frame);
        return frame;
    };
    auto radio = [](QFrame *frame, const char *name, const QString &caption) {
        auto *b = Named<QRadioButton>(frame, name, caption);
        frame->layout()->addWidget(b);
        return b;
    };
    QFrame *operation = group("PanelOperation");
    RadioButtonOperationAll = radio(operation, "RadioButtonOperationAll", QStringLiteral("všechny operace <--/-->"));
    RadioButtonOperationLend = radio(operation, "RadioButtonOperationLend", QStringLiteral("půjčení -->"));
    RadioButtonOperationBack = radio(operation, "RadioButtonOperationBack", QStringLiteral("vracení <--"));
    RadioButtonOperationAll->setChecked(true);
    QFrame *period = group("PanelPeriod");
    RadioButtonLendsAll = radio(period, "RadioButtonLendsAll", QStringLiteral("všechna období"));
    RadioButtonLendsToday = radio(period, "RadioButtonLendsToday", QStringLiteral("dnešní den"));
    RadioButtonLendsWeek = radio(period, "RadioButtonLendsWeek", QStringLiteral("tento týden"));
    RadioButtonLendsMonth = radio(period, "RadioButtonLendsMonth", QStringLiteral("tento měsíc"));
    RadioButtonLendsYear = radio(period, "RadioButtonLendsYear", QStringLiteral("tento rok"));
    RadioButtonLendsOther = radio(period, "RadioButtonLendsOther", QStringLiteral("jiné období"));
    RadioButtonLendsToday->setChecked(true);
    for (TDateTimePicker **picker : {&DateTimePickerLendsFirst, &DateTimePickerLendsSecond}) {
        *picker = new TDateTimePicker(period);
        (*picker)->CheckBox()->hide(); // always a bound: the box is for the customer filter
        (*picker)->SetDate(RunDate());
        period->layout()->addWidget(*picker);
    }
    DateTimePickerLendsFirst->setObjectName(QStringLiteral("DateTimePickerLendsFirst"));
    DateTimePickerLendsSecond->setObjectName(QStringLiteral("DateTimePickerLendsSecond"));

    CheckBoxLendsVoucher = column.CheckBox("CheckBoxLendsVoucher", QStringLiteral("Doklady (od - do):"));
    Int64EditLendsVoucherFirst = column.Number("Int64EditLendsVoucherFirst", 1);
    Int64EditLendsVoucherSecond = column.Number("Int64EditLendsVoucherSecond", TInt64Edit::HighestNumber);
    CheckBoxLendsCustomer = column.CheckBox("CheckBoxLendsCustomer", QStringLiteral("Zákazníci (od - do):"));
    Int64EditLendsCustomerFirst = column.Number("Int64EditLendsCustomerFirst", 1);
    Int64EditLendsCustomerSecond = column.Number("Int64EditLendsCustomerSecond", TInt64Edit::HighestNumber);
    CheckBoxLendsUser = column.CheckBox("CheckBoxLendsUser", QStringLiteral("Uživatel:"));
    ComboBoxLendsUser = column.PickList("ComboBoxLendsUser");
    ButtonLendsFilter = column.BottomButton("ButtonLendsFilter", QStringLiteral("Filtr..."));
    ButtonLendsReset = column.BottomButton("ButtonLendsReset", QStringLiteral("Vypnout filtr"));

    // Every click and every change the clerk makes filters the journal again.
    for (QWidget *controls : {panel, static_cast<QWidget *>(operation), static_cast<QWidget *>(period)})
        ConnectFilterChanges(controls, [this] { LendsFilter(); });
    // Entering the user box (not the focus coming back from its own list or with the
    // window) reads the users again.
    OnEvent(ComboBoxLendsUser, [this](QEvent *event) {
        if (event->type() != QEvent::FocusIn)
            return;
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            RunReported([this] { ComboBoxLendsUserEnter(); });
    });
    connect(ButtonLendsFilter, &QPushButton::clicked, this,
            [this] { RunReported([this] { ButtonLendsFilterClick(); }); });
    connect(ButtonLendsReset, &QPushButton::clicked, this,
            [this] { RunReported([this] { ButtonLendsResetClick(); }); });
}

void TLendsPage::OpenLists()
{
    PrepareLendsDetailQuery(*ADOQueryLendsDetail);
    PrepareLendsQuery(*ADOQueryLends);
    TListPage::OpenLists();
    ADOQueryLends->last(); // the newest document
}

// ---------------------------------------------------------------------------------------
// The journal, its filter and the current document

qint64 TLendsPage::CurrentDocument() const
{
    return ADOQueryLends->isOpen() ? ADOQueryLends->value(0).toLongLong() : 0;
}

LendsPeriod TLendsPage::CheckedPeriod() const
{
    const std::pair<QRadioButton *, LendsPeriod> periods[] = {
        {RadioButtonLendsAll, LendsPeriod::All},     {RadioButtonLendsToday, LendsPeriod::Today},
        {RadioButtonLendsWeek, LendsPeriod::Week},   {RadioButtonLendsMonth, LendsPeriod::Month},
        {RadioButtonLendsYear, LendsPeriod::Year},   {RadioButtonLendsOther, LendsPeriod::Other},
    };
    for (const auto &[button, period] : periods) {
        if (button->isChecked())
            return period;
    }
    return LendsPeriod::All;
}

void TLendsPage::LendsFilter()
{
    LendsFilterInput input;
    if (RadioButtonOperationLend->isChecked())
        input.operation = LendsOperation::Lend;
    else if (RadioButtonOperationBack->isChecked())
        input.operation = LendsOperation::Back;
    const LendsPeriod period = CheckedPeriod();
    if (period != LendsPeriod::All && period != LendsPeriod::Other) {
        const auto [first, last] = LendsPeriodDays(period, RunDate());
        DateTimePickerLendsFirst->SetDate(first);
        DateTimePickerLendsSecond->SetDate(last);
    }
    if (period != LendsPeriod::All)
        input.days = std::pair(DateTimePickerLendsFirst->Date(), DateTimePickerLendsSecond->Date());
    DateTimePickerLendsFirst->setEnabled(period == LendsPeriod::Other);
    DateTimePickerLendsSecond->setEnabled(period == LendsPeriod::Other);

    input.documentsOn = CheckBoxLendsVoucher->isChecked();
    Int64EditLendsVoucherFirst->setEnabled(input.documentsOn);
    Int64EditLendsVoucherSecond->setEnabled(input.documentsOn);
    input.documentFirst = NumberBound(Int64EditLendsVoucherFirst);
    input.documentSecond = NumberBound(Int64EditLendsVoucherSecond);
    input.customersOn = CheckBoxLendsCustomer->isChecked();
    Int64EditLendsCustomerFirst->setEnabled(input.customersOn);
    Int64EditLendsCustomerSecond->setEnabled(input.customersOn);
    input.customerFirst = NumberBound(Int64EditLendsCustomerFirst);
    input.customerSecond = NumberBound(Int64EditLendsCustomerSecond);
    ComboBoxLendsUser->setEnabled(CheckBoxLendsUser->isChecked());
    if (CheckBoxLendsUser->isChecked() && ComboBoxLendsUser->currentIndex() >= 0)
        input.user = GetUserId(ComboBoxLendsUser->currentText());

    ShowProgress(QStringLiteral("Probíhá filtrování databáze..."));
    {
        const auto hide = qScopeGuard([] { HideProgress(); });
        OneRowChange once(*ADOQueryLends);
        SetQueryWhere(*ADOQueryLends, LendsFilterWhere(input));
    }
    SetStatusBarLends();
}

void TLendsPage::SetStatusBarLends()
{
    HourGlass hourGlass;
    const JournalTotals totals = SumJournal(*ADOQueryLends);
    StatusBarLendsPanels[0]->setText(QStringLiteral(" Dokladů: %1").arg(totals.documents));
    StatusBarLendsPanels[1]->setText(FormatMoney(QStringLiteral(" Tržba: %m"), totals.payments));
    StatusBarLendsPanels[2]->setText(FormatMoney(QStringLiteral(" Zálohy: %m"), totals.deposits));
}

QStringList TLendsPage::StatusTexts() const
{
    return {StatusBarLendsPanels[0]->text(), StatusBarLendsPanels[1]->text(), StatusBarLendsPanels[2]->text()};
}

void TLendsPage::DocumentWritten(const QVariant &document)
{
    if (document.isNull()) {
        if (ADOQueryLends->isOpen())
            ADOQueryLends->last();
    } else {
        OneRowChange once(*ADOQueryLends);
        RequeryLocate(*ADOQueryLends, document);
    }
    SetStatusBarLends();
}

void TLendsPage::HandOn()
{
    if (!ClerkTypesIn(Int64EditLendsVoucher))
        Int64EditLendsVoucher->SetValue(CurrentDocument());
}

void TLendsPage::Int64EditLendsVoucherChange()
{
    // An empty text or a number no document listed has leaves the journal where it is.
    LocateExact(*ADOQueryLends, QStringLiteral("DOKLAD"), Int64EditLendsVoucher->text());
}

void TLendsPage::ComboBoxLendsUserEnter()
{
    // The user list is read again each time; the user chosen stays chosen while he exists
    // (user names tell letter case apart).
    RefillPickList(ComboBoxLendsUser, FillUserList, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void TLendsPage::ButtonLendsFilterClick()
{
    RunFilterWindow(ADOQueryLends);
    SetStatusBarLends();
}

void TLendsPage::ButtonLendsResetClick()
{
    // The customer range keeps its state.
    RadioButtonOperationAll->setChecked(true);
    RadioButtonLendsAll->setChecked(true);
    CheckBoxLendsVoucher->setChecked(false);
    CheckBoxLendsUser->setChecked(false);
    LendsFilter();
}

// ---------------------------------------------------------------------------------------
// The actions

void TLendsPage::ActionLendsPrintExecute(QObject *sender)
{
    if (auto *grid = qobject_cast<TRxDBGridEx *>(sender); grid && !GridMouseInData(grid))
        return;
    const auto finish = qScopeGuard([] { SelectAllInMainWindow(); });
    QWidget *active = MainWindowFocus();
    if (!DataSetHasRecords(*ADOQueryLends)) {
        ShowInformation(NoDocumentText, NothingToPrintText, true, active);
        return;
    }
    if (active == Int64EditLendsVoucher && Int64EditLendsVoucher->Value() != CurrentDocument()) {
        ShowInformation(QStringLiteral("Hledaný doklad o prodeji nenalezen..."),
                        QStringLiteral("Doklad: [%1]").arg(Int64EditLendsVoucher->Value()), true, active);
        return;
    }
    FormValmedo->parts().journalReceipt(CurrentDocument(), ADOQueryLends->value(QStringLiteral("OPERACE")).toBool(),
                                        FormSetupPrint && FormSetupPrint->CheckBoxCopy->isChecked());
}

void TLendsPage::ActionLendsTotalPrintExecute()
{
    const auto finish = qScopeGuard([] { SelectAllInMainWindow(); });
    if (!DataSetHasRecords(*ADOQueryLends)) {
        ShowInformation(NoDocumentText, NothingToPrintText, true, MainWindowFocus());
        return;
    }
    const PrintHandler &print = FormValmedo->parts().prints.at(ValmedoAction::LendsTotalPrint);
    // The report walks the journal's rows; the journal stays on its document.
    OneRowChange once(*ADOQueryLends);
    const DataSet::Bookmark mark = ADOQueryLends->bookmark();
    const auto back = qScopeGuard([this, mark] {
        ADOQueryLends->gotoBookmark(mark);
        ADOQueryLends->freeBookmark(mark);
    });
    print();
}

void TLendsPage::ActionLendsStatisticsExecute()
{
    {
        TFormStatistics statistics(*ADOQueryLends, FormValmedo);
        ExecModal(&statistics);
    }
    SelectAllInMainWindow();
}
