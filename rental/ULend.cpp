#include "rental/ULend.h"

#include "core/Grids.h"
#include "core/Messages.h"
#include "core/Modal.h"
#include "core/NamedWidget.h"
#include "core/RunGlobals.h"
#include "core/RunReported.h"
#include "core/USetupVideo.h"
#include "core/Utils.h"
#include "core/controls/ActionKeys.h"
#include "core/controls/Int64Edit.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/Lookups.h"
#include "rental/LendBasket.h"
#include "rental/LendDesk.h"
#include "rental/LendStore.h"
#include "rental/LendTransaction.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

const QString Video = QStringLiteral("VIDEO");
const QString Title = QStringLiteral("TITUL");
const QString Medium = QStringLiteral("NOSIC");
const QString Due = QStringLiteral("VRATIT");

// The unit's state, kept for the whole run.
int g_wheelCounter = 0;  // only every second wheel notification moves the list

QDate FirstOpenDay()
{
    return NextOpenDate(CurrentRentalSettings(), RunDate());
}

QToolButton *ActionButton(QWidget *parent, const char *name, QAction *action)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setMinimumHeight(28);
    return button;
}

} // namespace

QDate LendDate;
bool VideoFound = false;

TFormLend::TFormLend(TLendDesk &desk, QWidget *parent)
    : QDialog(parent), m_desk(desk)
{
    setObjectName(QStringLiteral("FormLend"));
    setWindowTitle(QStringLiteral(" Půjčení na (do)"));
    setFixedSize(413, 357);
    createActions();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    createSearch();
    createCalendar();
    createButtons();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
    // The wheel, wherever it is turned over the dialog, and a click that enters the title box again.
    qApp->installEventFilter(this);
    Int64EditVideo->setFocus();     // the first control of the tab order
}

TFormLend::~TFormLend()
{
    qApp->removeEventFilter(this);
}

void TFormLend::createActions()
{
    auto action = [this](const char *name, const QString &text, const QList<QKeySequence> &keys) {
        auto *a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        return a;
    };
    ActionSelect = action("ActionSelect", QStringLiteral("Vybrat [Enter]"),
                          {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    ActionLend = action("ActionLend", QStringLiteral("Půjčit [+]"),
                        {QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)});
    ActionDelete = action("ActionDelete", QStringLiteral("Odebrat [Del]"), {QKeySequence(Qt::Key_Delete)});
    ActionUp = action("ActionUp", QString(), {QKeySequence(Qt::Key_Up)});
    ActionDown = action("ActionDown", QString(), {QKeySequence(Qt::Key_Down)});
    connect(ActionSelect, &QAction::triggered, this,
            [this] { RunReported([this] { ActionSelectExecute(SelectSender::ActionSelect); }); });
    connect(ActionLend, &QAction::triggered, this, &TFormLend::ActionLendExecute);
    connect(ActionDelete, &QAction::triggered, this, [this] { RunReported([this] { ActionDeleteExecute(); }); });
    connect(ActionUp, &QAction::triggered, this, [this] { RunReported([this] { ActionUpExecute(); }); });
    connect(ActionDown, &QAction::triggered, this, [this] { RunReported([this] { ActionDownExecute(); }); });
}

void TFormLend::createSearch()
{
    auto *grid = new QGridLayout;
    LabelGoods = Named<QLabel>(this, "LabelGoods", QStringLiteral("Kód:"));
    Int64EditVideo = Named<TInt64Edit>(this, "Int64EditVideo");
    Int64EditVideo->SetMax(9999999999999);
    Int64EditVideo->SetValue(0);
    Int64EditVideo->setFixedWidth(140);
    LabelTitle = Named<QLabel>(this, "LabelTitle", QStringLiteral("Název:"));
    EditTitle = Named<QLineEdit>(this, "EditTitle");
    EditTitle->setMaxLength(32);
    PassActionKeys(EditTitle);
    grid->addWidget(LabelGoods, 0, 0);
    grid->addWidget(Int64EditVideo, 0, 1, Qt::AlignLeft);
    grid->addWidget(LabelTitle, 1, 0);
    grid->addWidget(EditTitle, 1, 1);
    grid->setColumnStretch(1, 1);
    static_cast<QVBoxLayout *>(layout())->addLayout(grid);

    connect(Int64EditVideo, &QLineEdit::textChanged, this, [this] {
        if (m_videoChangeAttached)
            RunReported([this] { Int64EditVideoChange(); });
    });
    connect(EditTitle, &QLineEdit::textChanged, this, [this] {
        if (m_titleChangeAttached)
            RunReported([this] { EditTitleChange(); });
    });
}

void TFormLend::createCalendar()
{
    LabelLend = Named<QLabel>(this, "LabelLend", QStringLiteral("Půjčit na (do):"));
    static_cast<QVBoxLayout *>(layout())->addWidget(LabelLend);

    auto *row = new QHBoxLayout;
    MonthCalendar = Named<QCalendarWidget>(this, "MonthCalendar");
    MonthCalendar->setLocale(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    MonthCalendar->setFirstDayOfWeek(Qt::Monday);
    MonthCalendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    MonthCalendar->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    // The shop's closed days are its settings', not the weekend: no day is drawn in red.
    for (Qt::DayOfWeek day : {Qt::Saturday, Qt::Sunday})
        MonthCalendar->setWeekdayTextFormat(day, MonthCalendar->weekdayTextFormat(Qt::Monday));
    connect(MonthCalendar, &QCalendarWidget::clicked, this,
            [this](const QDate &date) { RunReported([this, date] { MonthCalendarClick(date); }); });
    connect(MonthCalendar, &QCalendarWidget::selectionChanged, this, &TFormLend::MonthCalendarSelectionChanged);
    row->addWidget(MonthCalendar, 1);

    auto *days = new QVBoxLayout;
    const QString captions[5] = {QStringLiteral("1 den"), QStringLiteral("2 dny"), QStringLiteral("3 dny"),
                                 QStringLiteral("4 dny"), QStringLiteral("5 dnů")};
    for (int n = 1; n <= 5; ++n) {
        QPushButton *button = ButtonDay[n - 1] =
            Named<QPushButton>(this, qPrintable(QStringLiteral("Button%1Day").arg(n)), captions[n - 1]);
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumWidth(90);
        connect(button, &QPushButton::clicked, this, [this, n] { RunReported([this, n] { ButtonDayClick(n); }); });
        days->addWidget(button);
    }
    days->addStretch();
    row->addLayout(days);
    static_cast<QVBoxLayout *>(layout())->addLayout(row, 1);
}

void TFormLend::createButtons()
{
    auto *row = new QHBoxLayout;
    SpeedButtonSelect = ActionButton(this, "SpeedButtonSelect", ActionSelect);
    SpeedButtonDelete = ActionButton(this, "SpeedButtonDelete", ActionDelete);
    BitBtnLend = ActionButton(this, "BitBtnLend", ActionLend);
    BitBtnCancel = Named<QPushButton>(this, "BitBtnCancel", QStringLiteral("Zavřít [Esc]"));
    BitBtnCancel->setMinimumHeight(28);
    connect(BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QWidget *button : {static_cast<QWidget *>(SpeedButtonSelect), static_cast<QWidget *>(SpeedButtonDelete),
                            static_cast<QWidget *>(BitBtnLend), static_cast<QWidget *>(BitBtnCancel)}) {
        button->setFocusPolicy(Qt::NoFocus);
        row->addWidget(button);
    }
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
}

void TFormLend::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
    // The dialog stands over the top of the main window, leaving the basket below it visible.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center().x() - width() / 2, 96);
    // The first activation, once the dialog is up.
    if (m_addOnActivate)
        QTimer::singleShot(0, this, [this] {
            if (m_addOnActivate && isVisible())
                RunReported([this] { FormActivate(); });
        });
}

void TFormLend::FormShow()
{
    LendDate = FirstOpenDay();
    if (LendDate.isValid())
        MonthCalendar->setMinimumDate(LendDate);
    EnableButtons();
    const RentalSettings settings = CurrentRentalSettings();
    for (int n = 1; n <= 5; ++n)
        ButtonDay[n - 1]->setEnabled(DayButtonEnabled(settings, n));
}

void TFormLend::FormActivate()
{
    // Later activations (after a message window) add nothing.
    m_addOnActivate = false;
    ActionSelectExecute(SelectSender::Activation);
}

void TFormLend::EnableButtons()
{
    const bool lines = !m_desk.TableLend().isEmpty();
    ActionLend->setEnabled(lines);
    ActionDelete->setEnabled(lines);
}

void TFormLend::focusChanged(QWidget *now)
{
    // Only moves between the dialog's own controls enter and leave them: a message window
    // that comes and goes does not.
    if (!now || now->window() != this || now == m_focused)
        return;
    QWidget *old = m_focused;
    m_focused = now;
    if (old == Int64EditVideo)
        m_videoChangeAttached = false;
    if (old == EditTitle)
        m_titleChangeAttached = false;
    if (now == Int64EditVideo)
        m_videoChangeAttached = true;
    if (now == EditTitle)
        EditTitleEnter();
}

bool TFormLend::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (widget == this || isAncestorOf(widget))
            wheelSeen(event);
    } else if (watched == EditTitle && event->type() == QEvent::MouseButtonRelease) {
        EditTitleEnter();
    }
    return QDialog::eventFilter(watched, event);
}

void TFormLend::wheelSeen(QEvent *event)
{
    auto *wheel = static_cast<QWheelEvent *>(event);
    // One turn reaches several widgets (sent on to the parents, passed on by a control), all
    // with the time stamp the window system gave it: it is one notification.
    if (wheel->timestamp() == m_lastWheel)
        return;
    m_lastWheel = wheel->timestamp();
    // Fine-grained wheels send parts of a notch: they count once a notch is complete.
    m_wheelDelta += wheel->angleDelta().y();
    const int notches = m_wheelDelta / 120;
    if (notches == 0)
        return;
    m_wheelDelta -= notches * 120;
    RunReported([this, notches] { FormMouseWheel(notches * 120); });
}

void TFormLend::Int64EditVideoChange()
{
    DataSet &videos = m_desk.ADOQueryVideo();
    const QString text = Int64EditVideo->text();
    VideoFound = LocateExact(videos, Video, text);
    EditTitle->setText(videos.value(Title).toString());
    calendarFromBasket(text);
}

void TFormLend::StartOn(qint64 video)
{
    {
        const QSignalBlocker once(Int64EditVideo);
        Int64EditVideo->SetValue(video);
    }
    Int64EditVideoChange();
}

void TFormLend::EditTitleEnter()
{
    m_titleChangeAttached = true;
    EditTitle->selectAll();
}

void TFormLend::EditTitleChange()
{
    DataSet &videos = m_desk.ADOQueryVideo();
    VideoFound = LocatePartial(videos, Title, EditTitle->text());
    Int64EditVideo->SetValue(videos.value(Video).toLongLong());
    calendarFromBasket(Int64EditVideo->text());
}

void TFormLend::calendarFromBasket(const QString &video)
{
    TTableLend &basket = m_desk.TableLend();
    if (VideoFound && LocateExact(basket, Video, video))
        setCalendar(basket.value(Due).toDate());
    else
        setCalendar(FirstOpenDay());
}

void TFormLend::setCalendar(const QDate &date)
{
    if (!date.isValid())
        return;
    m_settingCalendar = true;
    MonthCalendar->setSelectedDate(date);
    m_settingCalendar = false;
}

void TFormLend::ButtonDayClick(int days)
{
    const QDate due = NthOpenDay(CurrentRentalSettings(), RunDate(), days);
    if (!due.isValid()) {
        TFormSetupVideo::ReportNoOpenDay();
        return;
    }
    setCalendar(due);
    LendDate = MonthCalendar->selectedDate();
    ActionSelectExecute(SelectSender::DayButton);
}

void TFormLend::MonthCalendarClick(const QDate &date)
{
    if (CalendarDayAccepted(CurrentRentalSettings(), RunDate(), date)) {
        LendDate = date;
        ActionSelectExecute(SelectSender::Calendar);
    } else {
        setCalendar(LendDate); // silently back
    }
}

void TFormLend::MonthCalendarSelectionChanged()
{
    // A day reached by the keyboard that no line may have goes back as a refused click does.
    if (m_settingCalendar)
        return;
    if (!CalendarDayAccepted(CurrentRentalSettings(), RunDate(), MonthCalendar->selectedDate()))
        setCalendar(LendDate);
}

void TFormLend::ActionSelectExecute(SelectSender sender)
{
    if (!VideoFound) {
        if (focusWidget() == EditTitle)
            inform(QStringLiteral("Hledaný titul videa nenalezen..."),
                   QStringLiteral("Hledaný titul: [%1]").arg(EditTitle->text()));
        else
            inform(QStringLiteral("Hledaný kód videa nenalezen..."),
                   QStringLiteral("Hledaný kód: [%1]").arg(Int64EditVideo->Value()));
    } else if (!FirstOpenDay().isValid()) {
        TFormSetupVideo::ReportNoOpenDay();
    } else {
        selectVideo(sender == SelectSender::ActionSelect);
    }
    selectFocusedText();
    EnableButtons();
}

void TFormLend::selectVideo(bool extend)
{
    TTableLend &basket = m_desk.TableLend();
    DataSet &videos = m_desk.ADOQueryVideo();
    const RentalSettings settings = CurrentRentalSettings();
    const LendCustomer customer = m_desk.CurrentCustomer();
    const qint64 video = videos.value(Video).toLongLong();
    const QString caption = VideoCaption(video, videos.value(Title).toString());
    const QDate due = MonthCalendar->selectedDate();

    // The limit counts the basket before it is known whether the video is new to it, so at
    // the limit even a line of the basket can be neither re-dated nor extended.
    if (CustomerLimitReached(basket.recordCount(), CustomerVideosOut(customer.number), settings.customerLimit))
        inform(QStringLiteral("Zákazník si nemůže půjčit více videa..."),
               QStringLiteral("Zákazník může mít u sebe maximálně %1 ks videa...").arg(settings.customerLimit));
    else if (VideoIsLent(video))
        inform(QStringLiteral("Toto video je půjčeno..."), caption);
    else if (video == basket.currentVideo())
        AddLendItem(m_desk, extend, due);
    else if (!CustomerHadVideo(customer.number, video)
             || ShowQuestion(QStringLiteral("Video měl už zákazník půjčené. Půjčit ?"), caption, true))
        AddLendItem(m_desk, extend, due);

    if (video == basket.currentVideo())
        setCalendar(basket.value(Due).toDate());
}

void TFormLend::ActionLendExecute()
{
    accept();
}

void TFormLend::ActionDeleteExecute()
{
    TTableLend &basket = m_desk.TableLend();
    DeleteLendItem(m_desk);
    if (basket.isEmpty()) {
        DataSet &videos = m_desk.ADOQueryVideo();
        Int64EditVideo->SetValue(videos.value(Video).toLongLong());
        EditTitle->setText(videos.value(Title).toString());
        setCalendar(FirstOpenDay());
    } else {
        showBasketLine();
    }
    EnableButtons();
    selectFocusedText();
}

void TFormLend::ActionUpExecute()
{
    walkBasket(-1);
}

void TFormLend::ActionDownExecute()
{
    walkBasket(+1);
}

void TFormLend::walkBasket(int step)
{
    // At either end the basket stays on the line it is on.
    TTableLend &basket = m_desk.TableLend();
    if (!basket.isEmpty()) {
        basket.moveTo(qBound(0, basket.currentRow() + step, basket.recordCount() - 1));
        showBasketLine();
    }
    selectFocusedText();
}

void TFormLend::showBasketLine()
{
    TTableLend &basket = m_desk.TableLend();
    const qint64 video = basket.currentVideo();
    LocateExact(m_desk.ADOQueryVideo(), Video, QString::number(video));
    // Written in this order, so that whichever box has the focus searches as it would typed.
    Int64EditVideo->SetValue(video);
    EditTitle->setText(basket.value(Title).toString());
    setCalendar(basket.value(Due).toDate());
}

void TFormLend::FormMouseWheel(int wheelDelta)
{
    if (g_wheelCounter != 1) {
        ++g_wheelCounter;
        return;
    }
    g_wheelCounter = 0;
    DataSet &videos = m_desk.ADOQueryVideo();
    if (!videos.isEmpty()) {
        const int row = videos.currentRow() - wheelDelta / 120; // away from the user: up the list
        videos.moveTo(qBound(0, row, videos.recordCount() - 1));
    }
    Int64EditVideo->SetValue(videos.value(Video).toLongLong());
    EditTitle->setText(videos.value(Title).toString());
    selectFocusedText();
}

void TFormLend::selectFocusedText()
{
    if (auto *edit = qobject_cast<QLineEdit *>(focusWidget()))
        edit->selectAll();
}

void TFormLend::inform(const QString &text, const QString &detail)
{
    // Closes itself after a moment, so that scanning goes on meanwhile.
    ShowInformation(text, detail, true, focusWidget() ? focusWidget() : this);
}

// ---- The basket's routines --------------------------------------------------------------

void AddLendItem(TLendDesk &desk, bool extend, const QDate &due)
{
    TTableLend &basket = desk.TableLend();
    DataSet &videos = desk.ADOQueryVideo();
    const RentalSettings settings = CurrentRentalSettings();
    const qint64 video = videos.value(Video).toLongLong();

    if (video == basket.currentVideo()) {
        if (extend) {
            const LineExtension extension = basket.extendCurrent(settings, RunDate());
            if (extension.outcome == LineExtension::NoOpenDay)
                TFormSetupVideo::ReportNoOpenDay();
            if (extension.outcome != LineExtension::Extended)
                return; // at the longest lend nothing changes, and nothing is said
            LendDate = extension.due;
        } else {
            basket.redateCurrent(settings, RunDate(), due);
        }
    } else {
        const LendCustomer customer = desk.CurrentCustomer();
        // The prices are read before the line goes in, so a failure leaves no line behind.
        const QString medium = videos.value(Medium).toString();
        LendLine line;
        line.video = video;
        line.title = videos.value(Title).toString();
        line.medium = medium;
        line.due = due;
        line.prices = CustomerPrices(MediumPrices(medium), customer.restriction,
                                     settings.vipPercent);
        basket.appendLine(line, settings, RunDate());
        basket.setFreeItems(settings, customer.lends);
    }
    desk.SetStatusBarLend();

    const QString sort = basket.sortText();
    if (!sort.isEmpty())
        basket.sortOnFields(BasketSortField(sort), true, BasketSortDescending(sort));
}

void DeleteLendItem(TLendDesk &desk)
{
    desk.TableLend().deleteRecord();
    SetFreeItems(desk);
    desk.SetStatusBarLend();
}

void SetFreeItems(TLendDesk &desk)
{
    desk.TableLend().setFreeItems(CurrentRentalSettings(), desk.CurrentCustomer().lends);
}

void LendStart(TLendDesk &desk, bool addAtOnce, qint64 video)
{
    bool lend = false;
    {
        TFormLend form(desk);
        form.StartOn(video);
        if (!addAtOnce)
            form.RemoveFormActivate();
        lend = ExecModal(&form) == QDialog::Accepted;
    }
    if (lend)
        ActionLendLendExecute(desk);
}
