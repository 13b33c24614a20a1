#include "catalogue/UVideoPage.h"

#include "catalogue/CatalogueStore.h"
#include "catalogue/FindProposals.h"
#include "catalogue/ListPage.h"
#include "catalogue/UVideoEdit.h"
#include "catalogue/UVideoFind.h"
#include "catalogue/UVideoNew.h"
#include "catalogue/VideoStore.h"
#include "core/LentLines.h"
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
#include "core/controls/Int64Edit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/Database.h"
#include "core/database/Lookups.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSplitter>

namespace {

const QString NoVideoText = QStringLiteral("V evidenci není žádné video...");

const ListColumn VideoColumns[] = {
    {"VIDEO", "Kód - video", 100, 0}, {"TITUL", "Titul", 272, 0},       {"ZAMERENI", "Žánr", 140, 0},
    {"NOSIC", "Nosič", 76, 0},         {"CENA", "Cena [Kč]", 80, 0},     {"REGISTRACE", "Registrace", 100, 0},
    {"VYPUJCENA", ">>", 30, 0},
};
const ListColumn HistoryColumns[] = {
    {"ZAKAZNIK", "Kód - zákazník", 100, 0}, {"JMENO", "Jméno", 220, 0},     {"ADRESA1", "Adresa", 240, 0},
    {"ZDARMA", "$", 26, 0},                 {"PUJCENO", "Půjčeno", 100, 0}, {"VRATIT", "Do:", 70, 0},
    {"VRACENO", "Vráceno", 100, 0},
};

// The other lists that show videos' data.
const DeskSubjects OtherLists = DeskSubject::Customers | DeskSubject::LentVideos | DeskSubject::Journal;

bool isTitleBox(const QObject *sender)
{
    static const QStringList names{QStringLiteral("ComboBoxVideoTitle"), QStringLiteral("ComboBoxLendTitle")};
    return sender && names.contains(sender->objectName());
}

} // namespace

TVideoPage::TVideoPage(QWidget *parent)
    : TListPage(QStringLiteral("Video"), QStringLiteral("TabSheetVideo"), QStringLiteral("Int64EditVideoVideo"),
                QStringLiteral("LabelVideoFilter"), parent)
{
    createQueries();
    followDesk(DeskSubject::Videos);
    PanelVideoFunction = CreateFunctionColumn(this, "PanelVideoFunction",
                                              {{"SpeedButtonVideoNew", "Nové\n[F3]", ValmedoAction::VideoNew},
                                               {"SpeedButtonVideoEdit", "Editace\n[Enter]", ValmedoAction::VideoEdit},
                                               {"SpeedButtonVideoDelete", "Vyřadit\n[Del]", ValmedoAction::VideoDelete},
                                               {"SpeedButtonVideoImportExport", "Import\nExport",
                                                ValmedoAction::VideoExportImport},
                                               {"SpeedButtonVideoPrint", "Tisk", ValmedoAction::VideoPrint}});
    createFindPanel();
    createLists();
    const StatusBar status = CreateStatusBar(this, "StatusBarVideo", {224, 300}, false);
    StatusBarVideo = status.bar;
    StatusBarVideoPanel0 = status.panels[0];
    StatusBarVideoPanel1 = status.panels[1];
    FilterPanel = CreateFilter("PanelVideoSplitter", "PanelVideoFilter", Int64EditVideoVideo,
                               {PanelVideoFind, PanelVideoGrid, RxDBGridVideo, PanelVideoCustomerGrid,
                                RxDBGridVideoCustomer, StatusBarVideo});
    createFilterControls(FilterPanel->Panel());
    AssemblePage(this, PanelVideoFunction, PanelVideoFind, SplitterVideo, StatusBarVideo, FilterPanel);

    connectActions({
        {ValmedoAction::VideoFind, [this] { ActionVideoFindExecute(); }},
        {ValmedoAction::VideoNew, [this] { ActionVideoNewExecute(); }},
        {ValmedoAction::VideoEdit, [this] { ActionVideoEditExecute(); }},
        {ValmedoAction::VideoDelete, [this] { ActionVideoDeleteExecute(); }},
        {ValmedoAction::VideoExportImport, [this] { ActionVideoExportImportExecute(); }},
        {ValmedoAction::VideoPrint, [this] { ActionVideoPrintExecute(); }},
    });
    // Numbers and dates shown whole; the title and the name give way.
    RegisterOpenSteps(30, {RxDBGridVideo, VideoColumns, "TITUL"}, {RxDBGridVideoCustomer, HistoryColumns, "JMENO"});
}

TVideoPage::~TVideoPage() = default;

void TVideoPage::createQueries()
{
    ADOQueryVideo = new BrowseQuery(this);
    ADOQueryVideo->setObjectName(QStringLiteral("ADOQueryVideo"));
    ADOQueryVideo->setOnlyReads(true); // the free filter's text stays in it
    ADOQueryVideo->setSql(VideoListSql());
    ADOQueryVideo->setFieldKind(QStringLiteral("VIDEO"), FieldKind::Int64);
    ADOQueryVideo->setFieldKind(QStringLiteral("CENA"), FieldKind::Money);
    ADOQueryVideo->setFieldKind(QStringLiteral("REGISTRACE"), FieldKind::DateTime);
    ADOQueryVideo->setFieldKind(QStringLiteral("VYPUJCENA"), FieldKind::Integer);
    DescribeFields(ADOQueryVideo, VideoColumns, QStringLiteral("tab_video"));
    ADOQueryVideo->setOrigin(QStringLiteral("ZAMERENI"), QStringLiteral("tab_zamereni"));
    ADOQueryVideo->setOrigin(QStringLiteral("NOSIC"), QStringLiteral("tab_nosic"));
    ADOQueryVideo->setDisplayFormat(QStringLiteral("VIDEO"), QStringLiteral("0000000000000"));
    ADOQueryVideo->setAlignment(QStringLiteral("VIDEO"), Qt::AlignLeft);
    ADOQueryVideo->setDisplayFormat(QStringLiteral("CENA"), QStringLiteral(",0.00"));
    ADOQueryVideo->setDisplayFormat(QStringLiteral("REGISTRACE"), QStringLiteral("dd.MM.yyyy hh:mm"));

    ADOQueryVideoCustomer = new BrowseQuery(this);
    ADOQueryVideoCustomer->setObjectName(QStringLiteral("ADOQueryVideoCustomer"));
    ADOQueryVideoCustomer->setSql(VideoHistorySql());
    DescribeFields(ADOQueryVideoCustomer, HistoryColumns, QStringLiteral("tab_zakaznik"));
    DescribeHistory(ADOQueryVideoCustomer, QStringLiteral("ZAKAZNIK"));
    FollowList(ADOQueryVideo, ADOQueryVideoCustomer, QStringLiteral("VIDEO"));
}

void TVideoPage::createFindPanel()
{
    const FindPanel find = CreateFindPanel(this, "PanelVideoFind", "Int64EditVideoVideo", QStringLiteral("Titul:"),
                                           "ComboBoxVideoTitle");
    PanelVideoFind = find.panel;
    Int64EditVideoVideo = find.number;
    ComboBoxVideoTitle = find.text;
    MakeNumberFindBox(Int64EditVideoVideo, [this] { Int64EditVideoVideoChange(); },
                      [this] { ActionVideoFindExecute(Int64EditVideoVideo); });
    ProposeVideoTitles(ComboBoxVideoTitle);
    ComboBoxVideoTitle->OnChange = [this] { ComboBoxVideoTitleChange(); };
    connect(ComboBoxVideoTitle, &TFindComboBox::DblClick, this,
            [this] { RunReported([this] { ActionVideoFindExecute(ComboBoxVideoTitle); }); });
}

void TVideoPage::createLists()
{
    const ListPair pair = CreateListPair(this,
                                         {"SplitterVideo", "PanelVideoGrid", QStringLiteral(" Video"), "RxDBGridVideo",
                                          "PanelVideoCustomerGrid", QStringLiteral(" Detail - zákazníci"),
                                          "RxDBGridVideoCustomer"},
                                         ADOQueryVideo, ADOQueryVideoCustomer);
    SplitterVideo = pair.splitter;
    PanelVideoGrid = pair.listTitle;
    RxDBGridVideo = pair.list;
    PanelVideoCustomerGrid = pair.detailTitle;
    RxDBGridVideoCustomer = pair.detail;
    UseVideoColours(RxDBGridVideo);
    ColourHistoryRows(RxDBGridVideoCustomer, ADOQueryVideoCustomer);
    RxDBGridVideoCustomer->SetColumnTitleAlignment(4, Qt::AlignHCenter); // "$" over ZDARMA, the fifth field
    connect(RxDBGridVideo, &TRxDBGridEx::DblClick, this,
            [this] { RunReported([this] { ActionVideoEditExecute(RxDBGridVideo); }); });
    DeleteKeyWhileFocused(RxDBGridVideo, ValmedoAction::VideoDelete);
}

void TVideoPage::createFilterControls(QWidget *panel)
{
    FilterColumn column(panel);
    CheckBoxVideoVideo = column.CheckBox("CheckBoxVideoVideo", QStringLiteral("Kód (od - do):"));
    Int64EditVideoVideoFirst = column.Number("Int64EditVideoVideoFirst", 0);
    Int64EditVideoVideoSecond = column.Number("Int64EditVideoVideoSecond", 0);
    CheckBoxVideoTitle = column.CheckBox("CheckBoxVideoTitle", QStringLiteral("Titul začínající na:"));
    EditVideoTitle = column.Edit("EditVideoTitle", 32);
    CheckBoxVideoDirection = column.CheckBox("CheckBoxVideoDirection", QStringLiteral("Zaměření:"));
    ComboBoxVideoDirection = column.PickList("ComboBoxVideoDirection");
    CheckBoxVideoMedium = column.CheckBox("CheckBoxVideoMedium", QStringLiteral("Nosič:"));
    ComboBoxVideoMedium = column.PickList("ComboBoxVideoMedium");
    CheckBoxVideoRegistration = column.CheckBox("CheckBoxVideoRegistration", QStringLiteral("Registrace (od - do):"));
    DateTimePickerVideoRegistrationFirst = column.DatePicker("DateTimePickerVideoRegistrationFirst");
    DateTimePickerVideoRegistrationSecond = column.DatePicker("DateTimePickerVideoRegistrationSecond");
    CheckBoxVideoLend = column.CheckBox("CheckBoxVideoLend", QStringLiteral("Půjčená videa"));
    CheckBoxVideoLater = column.CheckBox("CheckBoxVideoLater", QStringLiteral("Videa která již měla být vrácena"));
    ButtonVideoFilter = column.BottomButton("ButtonVideoFilter", QStringLiteral("Filtr..."));
    ButtonVideoReset = column.BottomButton("ButtonVideoReset", QStringLiteral("Vypnout filtr"));
    ConnectFilterChanges(panel, [this] { VideoFilter(); });
    // Entering a pick list (not its own popup closing) refills it.
    for (auto [box, enter] : {std::pair{ComboBoxVideoDirection, &TVideoPage::ComboBoxVideoDirectionEnter},
                              std::pair{ComboBoxVideoMedium, &TVideoPage::ComboBoxVideoMediumEnter}}) {
        OnEvent(box, [this, enter](QEvent *event) {
            if (event->type() == QEvent::FocusIn
                && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
                RunReported([this, enter] { (this->*enter)(); });
        });
    }
    connect(ButtonVideoFilter, &QPushButton::clicked, this, [this] { RunReported([this] { ButtonVideoFilterClick(); }); });
    connect(ButtonVideoReset, &QPushButton::clicked, this, [this] { RunReported([this] { ButtonVideoResetClick(); }); });
}

// ---------------------------------------------------------------------------------------
// The list, its filter and the current video

qint64 TVideoPage::CurrentVideo() const
{
    return ADOQueryVideo->isOpen() ? ADOQueryVideo->value(0).toLongLong() : 0;
}

QString TVideoPage::CurrentTitle() const
{
    return ADOQueryVideo->isOpen() ? ADOQueryVideo->value(QStringLiteral("TITUL")).toString() : QString();
}

void TVideoPage::VideoFilter()
{
    Int64EditVideoVideoFirst->setEnabled(CheckBoxVideoVideo->isChecked());
    Int64EditVideoVideoSecond->setEnabled(CheckBoxVideoVideo->isChecked());
    EditVideoTitle->setEnabled(CheckBoxVideoTitle->isChecked());
    ComboBoxVideoDirection->setEnabled(CheckBoxVideoDirection->isChecked());
    ComboBoxVideoMedium->setEnabled(CheckBoxVideoMedium->isChecked());
    DateTimePickerVideoRegistrationFirst->setEnabled(CheckBoxVideoRegistration->isChecked());
    DateTimePickerVideoRegistrationSecond->setEnabled(CheckBoxVideoRegistration->isChecked());

    VideoFilterInput input;
    auto chosen = [](QComboBox *box, int (*idOf)(const QString &)) {
        return box->currentIndex() >= 0 ? std::optional<int>(idOf(box->currentText())) : std::optional<int>();
    };
    input.codeOn = CheckBoxVideoVideo->isChecked();
    input.codeFirst = NumberBound(Int64EditVideoVideoFirst);
    input.codeSecond = NumberBound(Int64EditVideoVideoSecond);
    input.titleOn = CheckBoxVideoTitle->isChecked();
    input.title = EditVideoTitle->text();
    input.directionOn = CheckBoxVideoDirection->isChecked();
    if (input.directionOn)
        input.direction = chosen(ComboBoxVideoDirection, GetDirectionId);
    input.mediumOn = CheckBoxVideoMedium->isChecked();
    if (input.mediumOn)
        input.medium = chosen(ComboBoxVideoMedium, GetMediumId);
    input.registrationOn = CheckBoxVideoRegistration->isChecked();
    input.registrationFirst = DateBound(DateTimePickerVideoRegistrationFirst);
    input.registrationSecond = DateBound(DateTimePickerVideoRegistrationSecond);
    input.lent = CheckBoxVideoLend->isChecked();
    input.overdue = CheckBoxVideoLater->isChecked();
    input.runDate = RunDate();
    {
        OneRowChange once(*ADOQueryVideo);
        SetQueryWhere(*ADOQueryVideo, VideoFilterWhere(input, CatalogueDialect()));
    }
    SetStatusBarVideo();
}

void TVideoPage::SetStatusBarVideo()
{
    QString select, where, order;
    SplitSQL(ADOQueryVideo->sqlText(), select, where, order);
    const VideoTotals totals = CountVideos(where);
    StatusBarVideoPanel0->setText(QStringLiteral(" Videa: %1").arg(totals.count));
    StatusBarVideoPanel1->setText(FormatMoney(QStringLiteral(" Celkem: %m"), totals.sum));
}

QString TVideoPage::StatusText() const
{
    return StatusBarVideoPanel0->text();
}

QString TVideoPage::SumText() const
{
    return StatusBarVideoPanel1->text();
}

void TVideoPage::ButtonVideoFilterClick()
{
    RunFilterWindow(ADOQueryVideo);
}

void TVideoPage::ButtonVideoResetClick()
{
    // The overdue box keeps its state.
    for (QCheckBox *box : {CheckBoxVideoVideo, CheckBoxVideoTitle, CheckBoxVideoDirection, CheckBoxVideoMedium,
                           CheckBoxVideoRegistration, CheckBoxVideoLend})
        box->setChecked(false);
    VideoFilter();
}

void TVideoPage::ComboBoxVideoDirectionEnter()
{
    RefillPickList(ComboBoxVideoDirection, FillDirectionList);
}

void TVideoPage::ComboBoxVideoMediumEnter()
{
    RefillPickList(ComboBoxVideoMedium, FillMediumList);
}

void TVideoPage::DataSourceVideoDataChange()
{
    const qint64 video = CurrentVideo();
    const QString title = CurrentTitle();
    if (!ClerkTypesIn(Int64EditVideoVideo))
        Int64EditVideoVideo->SetValue(video);
    if (!ClerkTypesIn(ComboBoxVideoTitle))
        ComboBoxVideoTitle->setEditText(title);
    ADOQueryVideoCustomer->first();
    emit CurrentVideoChanged(video, title);
}

void TVideoPage::followCurrent(QObject *context, std::function<void(qint64, const QString &)> shown)
{
    connect(this, &TVideoPage::CurrentVideoChanged, context, std::move(shown));
}

bool TVideoPage::FindVideoByNumber(const QString &text)
{
    if (!LocateExact(*ADOQueryVideo, QStringLiteral("VIDEO"), text))
        return false;
    DataSourceVideoDataChange();
    return true;
}

bool TVideoPage::FindVideoByTitle(const QString &text)
{
    if (!LocatePartial(*ADOQueryVideo, QStringLiteral("TITUL"), text))
        return false;
    DataSourceVideoDataChange();
    return true;
}

void TVideoPage::Int64EditVideoVideoChange()
{
    if (!FindVideoByNumber(Int64EditVideoVideo->text()))
        ComboBoxVideoTitle->ClearBox();
}

void TVideoPage::ComboBoxVideoTitleChange()
{
    if (!FindVideoByTitle(ComboBoxVideoTitle->currentText()))
        Int64EditVideoVideo->setText(QString());
}

std::optional<bool> TVideoPage::VideoState(int row) const
{
    const QVariant video = ADOQueryVideo->valueAt(row, 0);
    const TLentLines *lent = WindowLentLines();
    if (video.isNull() || !lent)
        return std::nullopt;
    return lent->VideoOverdue(video.toLongLong());
}

void TVideoPage::UseVideoColours(TRxDBGridEx *grid)
{
    ColorLentRows(grid, [this](int row) { return VideoState(row); });
}

// ---------------------------------------------------------------------------------------
// The actions

void TVideoPage::ActionVideoFindExecute(QObject *sender)
{
    TFormVideoFind form(FormValmedo);
    form.StartIn(isTitleBox(sender));
    form.OpenOn(CurrentVideo());
    ExecModal(&form);
    SelectAllInMainWindow();
}

void TVideoPage::ActionVideoNewExecute()
{
    TFormVideoNew form(FormValmedo);
    form.FillPickLists(GetDefaultMedium(), GetDefaultDirection());
    form.Int64EditVideo->setText(QString::number(LowestFreeVideo()));
    form.Int64EditVideo->selectAll(); // the clerk's digits replace the proposal
    if (ExecModal(&form) == QDialog::Accepted) {
        const VideoRecord video = form.Record();
        const bool done = RunLoggedChange(QStringLiteral("Nové video"), video.number, [&] { InsertVideo(video); });
        ShowWarning(done, TransactionFailedText, QStringLiteral("Přidání nového videa neproběhlo..."));
        RequeryAfterChange(video.number, OtherLists);
    }
    SelectAllInMainWindow();
}

void TVideoPage::ActionVideoEditExecute(QObject *sender)
{
    if (auto *grid = qobject_cast<TRxDBGridEx *>(sender); grid && !GridMouseInData(grid))
        return;
    if (!DataSetHasRecords(*ADOQueryVideo)) {
        ShowInformation(NoVideoText, CheckFilterText, true, MainWindowFocus());
        SelectAllInMainWindow();
        return;
    }
    if (FindBoxMissed(Int64EditVideoVideo, CurrentVideo(), ComboBoxVideoTitle, CurrentTitle(),
                      {QStringLiteral("Hledaný kód videa nenalezen..."), QStringLiteral("Hledaný titul videa nenalezen..."),
                       QStringLiteral("Hledaný titul: [%1]")}))
        return;
    const qint64 video = CurrentVideo();
    TFormVideoEdit form(FormValmedo);
    form.Int64EditVideo->SetValue(video);
    form.EditTitle->setText(CurrentTitle());
    form.FillPickLists(ADOQueryVideo->value(QStringLiteral("NOSIC")).toString(),
                       ADOQueryVideo->value(QStringLiteral("ZAMERENI")).toString());
    form.SetPrice(Money::fromVariant(ADOQueryVideo->value(QStringLiteral("CENA"))));
    if (ExecModal(&form) == QDialog::Accepted) {
        VideoRecord edited = form.Record();
        edited.number = video;
        const bool eraseHistory = form.CheckBoxHistory->isChecked();
        const bool done = RunLoggedChange(QStringLiteral("Editace videa"), video,
                                          [&] { UpdateVideo(edited, eraseHistory); });
        ShowWarning(done, TransactionFailedText, QStringLiteral("Editace videa neproběhla..."));
        RequeryAfterChange(video, OtherLists);
    }
    SelectAllInMainWindow();
}

void TVideoPage::ActionVideoDeleteExecute()
{
    const auto finish = qScopeGuard([] { SelectAllInMainWindow(); });
    if (!DataSetHasRecords(*ADOQueryVideo)) {
        ShowInformation(NoVideoText, CheckFilterText, true, MainWindowFocus());
        return;
    }
    const qint64 video = CurrentVideo();
    const QString caption = VideoCaption(video, CurrentTitle());
    if (VideoIsLent(video)) {
        ShowInformation(QStringLiteral("Toto video nelze odebrat..."), QStringLiteral("%1 je půjčené...").arg(caption),
                        true, MainWindowFocus());
        return;
    }
    if (!GetUserRight(UserName(), QStringLiteral("VIDEO_ODEBRAT"))) {
        ShowInformation(QStringLiteral("Video nelze odebrat..."),
                        QStringLiteral("Přihlášený uživatel nemá oprávnění pro tuto operaci..."));
        return;
    }
    if (!ShowQuestion(QStringLiteral("Opravdu chcete vyřadit video ?"), caption, false))
        return;
    const QVariant prior = GetPriorKey(*ADOQueryVideo);
    const bool done = RunLoggedChange(QStringLiteral("Vyřazení videa"), video, [&] { RemoveVideo(video); });
    ShowWarning(done, TransactionFailedText, QStringLiteral("Vyřazení videa neproběhla..."));
    RequeryAfterChange(prior, OtherLists);
}

void TVideoPage::ActionVideoExportImportExecute()
{
    RunImportExportWindow();
    SetStatusBarVideo();
    SelectAllInMainWindow();
}

void TVideoPage::ActionVideoPrintExecute()
{
    RunPagePrint(ValmedoAction::VideoPrint, *ADOQueryVideo, NoVideoText);
}
