#include "core/UValmedo.h"
#include "core/RunReported.h"
#include "core/TransactionFrame.h"

#include "core/database/Database.h"
#include "core/Desk.h"
#include "core/FormStorage.h"
#include "core/Grids.h"
#include "core/Log.h"
#include "core/Modal.h"
#include "core/RunGlobals.h"
#include "core/Messages.h"
#include "core/Texts.h"
#include "core/UAbout.h"
#include "core/UBackup.h"
#include "core/UDatabase.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/Utils.h"
#include "core/controls/FilterPanel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>
#include <stdexcept>

TFormValmedo *FormValmedo = nullptr;

// ---------------------------------------------------------------------------------------
// The window

namespace {

// The eleven actions whose keys follow the page.
const ValmedoAction PageKeyActions[] = {
    ValmedoAction::CustomerEdit, ValmedoAction::CustomerDelete, ValmedoAction::VideoEdit,
    ValmedoAction::VideoDelete, ValmedoAction::LendSelect, ValmedoAction::LendLend,
    ValmedoAction::LendDelete, ValmedoAction::BackSelect, ValmedoAction::BackBack,
    ValmedoAction::BackDelete, ValmedoAction::LendsPrint,
};

struct PageKeys {
    ValmedoAction enter;
    std::optional<ValmedoAction> plus;
};
const PageKeys PageKeyTable[] = {
    {ValmedoAction::CustomerEdit, std::nullopt},
    {ValmedoAction::VideoEdit, std::nullopt},
    {ValmedoAction::LendSelect, ValmedoAction::LendLend},
    {ValmedoAction::BackSelect, ValmedoAction::BackBack},
    {ValmedoAction::LendsPrint, std::nullopt},
};

const char *const PageButtonNames[] = {
    "SpeedButtonCustomer", "SpeedButtonVideo", "SpeedButtonLend", "SpeedButtonBack",
    "SpeedButtonLends",
};
const char *const PageButtonCaptions[] = {
    "Zákazníci [F5]", "Video [F6]", "Půjčení [F7]", "Vracení [F8]", "Doklady [F9]",
};

bool UserHasRight(const QString &right)
{
    return GetUserRight(UserName(), right);
}

// The parts, refused when a piece is left unset, naming each one left out: a run or a test
// wired without it stops as the window is made instead of doing without it later.
const TValmedoParts &checkedParts(const TValmedoParts &parts)
{
    QStringList unset;
    const auto need = [&unset](bool set, const QString &name) {
        if (!set)
            unset << name;
    };
    need(bool(parts.pages), QStringLiteral("pages"));
    need(bool(parts.view), QStringLiteral("view"));
    need(bool(parts.filterWindow), QStringLiteral("filterWindow"));
    need(bool(parts.importExportWindow), QStringLiteral("importExportWindow"));
    const auto needTable = [&need](const auto &table, const auto &actions, const char *name) {
        for (ValmedoAction action : actions) {
            const auto piece = table.find(action);
            need(piece != table.end() && piece->second,
                 QStringLiteral("%1[%2]").arg(QLatin1String(name), ValmedoActionObjectName(action)));
        }
    };
    needTable(parts.prints, PrintActions, "prints");
    needTable(parts.frameWindows, FrameActions, "frameWindows");
    need(bool(parts.receiptPrint), QStringLiteral("receiptPrint"));
    need(bool(parts.journalReceipt), QStringLiteral("journalReceipt"));
    if (!unset.isEmpty())
        throw std::logic_error(QStringLiteral("TFormValmedo: the wiring left %1 unset")
                                   .arg(unset.join(QStringLiteral(", ")))
                                   .toStdString());
    return parts;
}

} // namespace

TFormValmedo::TFormValmedo(const TValmedoParts &parts, QWidget *parent)
    : QMainWindow(parent), m_parts(checkedParts(parts))
{
    setObjectName(QStringLiteral("FormValmedo"));
    FormValmedo = this;
    m_desk = new TDesk(this);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    createActions();
    createFunctionPanel();
    layout->addWidget(PanelFunction);

    Notebook = new QStackedWidget(central);
    Notebook->setObjectName(QStringLiteral("Notebook"));
    // The pages register what OpenDatabase opens at log-in; one window's steps only.
    ClearOpenSteps();
    m_parts.pages(Notebook, *m_desk, m_pages);
    for (TValmedoPage *page : m_pages.inOrder)
        Notebook->addWidget(page);
    Notebook->setCurrentIndex(PageLends); // the designed page, until the stored one is restored
    Notebook->hide();
    layout->addWidget(Notebook, 1);
    connect(Notebook, &QStackedWidget::currentChanged, this,
            [this] { RunReported([this] { NotebookPageChanged(); }); });

    PanelStatus = new QFrame(central);
    PanelStatus->setObjectName(QStringLiteral("PanelStatus"));
    PanelStatus->setFixedHeight(54);
    PanelStatus->setAutoFillBackground(true);
    PanelStatus->setBackgroundRole(QPalette::Highlight);
    auto *statusLayout = new QHBoxLayout(PanelStatus);
    statusLayout->setContentsMargins(4, 4, 4, 4);
    LabelDateTime = new QLabel(PanelStatus);
    LabelDateTime->setObjectName(QStringLiteral("LabelDateTime"));
    LabelDateTime->setStyleSheet(QStringLiteral("color: white;"));
    LabelDateTime->setMinimumWidth(90);
    statusLayout->addWidget(LabelDateTime);
    ListBox = new QListWidget(PanelStatus);
    ListBox->setObjectName(QStringLiteral("ListBox"));
    statusLayout->addWidget(ListBox, 1);
    layout->addWidget(PanelStatus);
    // Moving over the frame's panels folds away an open filter panel.
    TFilterPanel::CloseOnMouseMove(PanelFunction);
    TFilterPanel::CloseOnMouseMove(PanelStatus);

    central->setFixedSize(1014, 692);

    createMenu();
    // A fixed single border: the whole window, menu included, keeps the size of its
    // contents and cannot be resized.
    QMainWindow::layout()->setSizeConstraint(QLayout::SetFixedSize);

    // The log loads its file as the window is created.
    Log = new TLog(this);
    Log->setObjectName(QStringLiteral("Log"));
    Log->LogFile = QStringLiteral("Valmedo4.log");
    Log->LogSave = true;
    connect(Log, &TLog::OnChangeLog, this, &TFormValmedo::LogChangeLog);
    connect(Log, &TLog::OnErrorLog, this, &TFormValmedo::LogErrorLog);
    SetMainLog(Log);
    Log->Loaded();
    // The database layer's long routines show the core's wait window from now on.
    SetWaitWindow({ShowProgress, HideProgress});

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(1000);
    connect(Timer, &QTimer::timeout, this, [this] { RunReported([this] { TimerTimer(); }); });
    Timer->start();

    FormStorage = std::make_unique<TFormStorage>(this, QStringLiteral("Valmedo"),
                                                 QStringList{QStringLiteral("Notebook.PageIndex")},
                                                 true, true);
    FormCreate();
}

TFormValmedo::~TFormValmedo()
{
    ClearOpenSteps();
    if (MainLog() == Log)
        SetMainLog(nullptr);
    if (FormValmedo == this)
        FormValmedo = nullptr;
}

QAction *TFormValmedo::addWindowAction(ValmedoAction action, const QString &text,
                                       const QKeySequence &shortcut)
{
    auto *a = new QAction(text, this);
    a->setObjectName(ValmedoActionObjectName(action));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    addAction(a); // keys act in the whole window, whatever control has the focus
    m_actions[static_cast<std::size_t>(action)] = a;
    return a;
}

QAction *TFormValmedo::action(ValmedoAction action) const
{
    return m_actions[static_cast<std::size_t>(action)];
}

void TFormValmedo::createActions()
{
    auto reported = [this](QAction *a, void (TFormValmedo::*handler)()) {
        connect(a, &QAction::triggered, this, [this, handler] {
            RunReported([this, handler] { (this->*handler)(); });
        });
    };
    QAction *close = addWindowAction(ValmedoAction::Close, QStringLiteral("Konec..."),
                                     QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(close, &QAction::triggered, this, &TFormValmedo::ActionCloseExecute);
    reported(addWindowAction(ValmedoAction::SetupVideo, QStringLiteral("Půjčovna...")),
             &TFormValmedo::ActionSetupVideoExecute);
    reported(addWindowAction(ValmedoAction::SetupPrint, QStringLiteral("Tisk dokladů...")),
             &TFormValmedo::ActionSetupPrintExecute);
    reported(addWindowAction(ValmedoAction::Medium, QStringLiteral("Nosiče a ceny...")),
             &TFormValmedo::ActionMediumExecute);
    reported(addWindowAction(ValmedoAction::Direction, QStringLiteral("Žánry...")),
             &TFormValmedo::ActionDirectionExecute);
    reported(addWindowAction(ValmedoAction::User, QStringLiteral("Uživatelé a hesla...")),
             &TFormValmedo::ActionUserExecute);
    reported(addWindowAction(ValmedoAction::Backup, QStringLiteral("Zálohování...")),
             &TFormValmedo::ActionBackupExecute);
    reported(addWindowAction(ValmedoAction::Database, QStringLiteral("Údržba databáze...")),
             &TFormValmedo::ActionDatabaseExecute);
    reported(addWindowAction(ValmedoAction::About, QStringLiteral("O programu...")),
             &TFormValmedo::ActionAboutExecute);

    // The actions of the pages; the pages connect their handlers.
    addWindowAction(ValmedoAction::CustomerFind, QStringLiteral("Hledat zákazníka..."));
    addWindowAction(ValmedoAction::CustomerNew, QStringLiteral("Nový zákazník..."),
                    QKeySequence(Qt::Key_F2));
    addWindowAction(ValmedoAction::CustomerEdit, QStringLiteral("Editace zákazníka..."));
    addWindowAction(ValmedoAction::CustomerDelete, QStringLiteral("Vyřazení zákazníka..."));
    addWindowAction(ValmedoAction::CustomerExportImport, QStringLiteral("Import / Export..."));
    addWindowAction(ValmedoAction::CustomerPrint, QStringLiteral("Tisk..."));
    addWindowAction(ValmedoAction::VideoFind, QStringLiteral("Hledat video..."));
    addWindowAction(ValmedoAction::VideoNew, QStringLiteral("Nové video..."),
                    QKeySequence(Qt::Key_F3));
    addWindowAction(ValmedoAction::VideoEdit, QStringLiteral("Editace videa..."));
    addWindowAction(ValmedoAction::VideoDelete, QStringLiteral("Vyřazení videa..."));
    addWindowAction(ValmedoAction::VideoExportImport, QStringLiteral("Import / Export..."));
    addWindowAction(ValmedoAction::VideoPrint, QStringLiteral("Tisk..."));
    addWindowAction(ValmedoAction::LendNew, QStringLiteral("Nový zákazník..."),
                    QKeySequence(Qt::Key_F4));
    addWindowAction(ValmedoAction::LendSelect, QStringLiteral("Vybrat..."));
    addWindowAction(ValmedoAction::LendDelete, QStringLiteral("Odebrat"));
    addWindowAction(ValmedoAction::LendLend, QStringLiteral("Půjčit"));
    addWindowAction(ValmedoAction::BackSelect, QStringLiteral("Vybrat..."));
    addWindowAction(ValmedoAction::BackDelete, QStringLiteral("Odebrat"));
    addWindowAction(ValmedoAction::BackBack, QStringLiteral("Vrátit"));
    addWindowAction(ValmedoAction::LendsPrint, QStringLiteral("Tisk dokladu..."));
    addWindowAction(ValmedoAction::LendsStatistics, QStringLiteral("Statistiky..."));
    addWindowAction(ValmedoAction::LendsTotalPrint, QStringLiteral("Tisk tržeb..."));

    // F5 to F9: a menu title takes no key, so the page menus' keys are window actions.
    for (int page = 0; page < 5; ++page) {
        QAction *key = new QAction(this);
        key->setObjectName(QStringLiteral("MenuItemFunctionKey%1").arg(page + 5));
        key->setShortcut(QKeySequence(Qt::Key_F5 + page));
        addAction(key);
        connect(key, &QAction::triggered, this, [this, page] {
            RunReported([this, page] { MenuItemFunctionClick(page + 1); });
        });
    }
}

void TFormValmedo::createMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    auto menu = [bar](const QString &name, const QString &title) {
        QMenu *m = bar->addMenu(title);
        m->setObjectName(name);
        return m;
    };
    // A menu's items; an empty place is a separator.
    using Item = std::optional<ValmedoAction>;
    auto fill = [this](QMenu *m, const QList<Item> &items) {
        for (const Item &item : items) {
            if (!item)
                m->addSeparator();
            else
                m->addAction(action(*item));
        }
    };
    fill(menu(QStringLiteral("MenuItemValmedo"), QStringLiteral("Valmedo")), {ValmedoAction::Close});
    const QList<std::pair<QString, QString>> pageMenus = {
        {QStringLiteral("MenuItemCustomer"), QStringLiteral("Zákazníci")},
        {QStringLiteral("MenuItemVideo"), QStringLiteral("Video")},
        {QStringLiteral("MenuItemLend"), QStringLiteral("Půjčení")},
        {QStringLiteral("MenuItemBack"), QStringLiteral("Vracení")},
        {QStringLiteral("MenuItemLends"), QStringLiteral("Doklady")},
    };
    const QList<QList<Item>> pageItems = {
        {ValmedoAction::CustomerNew, ValmedoAction::CustomerEdit, ValmedoAction::CustomerDelete, Item(),
         ValmedoAction::CustomerExportImport, ValmedoAction::CustomerPrint},
        {ValmedoAction::VideoNew, ValmedoAction::VideoEdit, ValmedoAction::VideoDelete, Item(),
         ValmedoAction::VideoExportImport, ValmedoAction::VideoPrint},
        {ValmedoAction::LendNew, ValmedoAction::CustomerEdit, Item(), ValmedoAction::LendSelect,
         ValmedoAction::LendLend, ValmedoAction::LendDelete},
        {ValmedoAction::CustomerEdit, Item(), ValmedoAction::BackSelect, ValmedoAction::BackBack,
         ValmedoAction::BackDelete},
        {ValmedoAction::LendsPrint, ValmedoAction::LendsTotalPrint, Item(), ValmedoAction::LendsStatistics},
    };
    for (int i = 0; i < pageMenus.size(); ++i) {
        QMenu *m = menu(pageMenus[i].first, pageMenus[i].second);
        fill(m, pageItems[i]);
        const int position = i + 1; // the menu's position in the main menu
        // Opening a page menu by a click switches to its page, as its key does.
        connect(m, &QMenu::aboutToShow, this, [this, position] {
            RunReported([this, position] { MenuItemFunctionClick(position); });
        });
    }
    fill(menu(QStringLiteral("MenuItemSetup"), QStringLiteral("Nastavení")),
         {ValmedoAction::SetupVideo, ValmedoAction::SetupPrint, ValmedoAction::Medium,
          ValmedoAction::Direction, ValmedoAction::User, ValmedoAction::Backup, ValmedoAction::Database});
    bar->addAction(action(ValmedoAction::About));
}

void TFormValmedo::createFunctionPanel()
{
    PanelFunction = new QFrame(centralWidget());
    PanelFunction->setObjectName(QStringLiteral("PanelFunction"));
    PanelFunction->setFixedHeight(52);
    PanelFunction->setAutoFillBackground(true);
    PanelFunction->setBackgroundRole(QPalette::Highlight);
    auto *layout = new QHBoxLayout(PanelFunction);
    layout->setContentsMargins(4, 4, 4, 4);
    auto *group = new QButtonGroup(PanelFunction);
    group->setExclusive(true);
    for (int tag = 0; tag < 5; ++tag) {
        auto *b = new QToolButton(PanelFunction);
        b->setObjectName(QString::fromLatin1(PageButtonNames[tag]));
        b->setText(QString::fromUtf8(PageButtonCaptions[tag]));
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setMinimumWidth(110);
        b->setProperty("Tag", tag);
        group->addButton(b, tag);
        layout->addWidget(b);
        m_pageButtons << b;
        connect(b, &QToolButton::clicked, this,
                [this, tag] { RunReported([this, tag] { SpeedButtonFunctionsClick(tag); }); });
    }
    layout->addStretch(1);
    auto tool = [this, layout](const QString &name, const QString &tip) {
        auto *b = new QToolButton(PanelFunction);
        b->setObjectName(name);
        b->setToolTip(tip);
        b->setAutoRaise(true);
        layout->addWidget(b);
        return b;
    };
    QToolButton *refresh = tool(QStringLiteral("SpeedButtonRefresh"), QStringLiteral("Obnovit"));
    refresh->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    connect(refresh, &QToolButton::clicked, this,
            [this] { RunReported([this] { SpeedButtonRefreshClick(); }); });
    QToolButton *customerSearch = tool(QStringLiteral("SpeedButtonCustomerSearch"), QString());
    customerSearch->setDefaultAction(action(ValmedoAction::CustomerFind));
    customerSearch->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    QToolButton *videoSearch = tool(QStringLiteral("SpeedButtonVideoSearch"), QString());
    videoSearch->setDefaultAction(action(ValmedoAction::VideoFind));
    videoSearch->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    QToolButton *view = tool(QStringLiteral("SpeedButtonView"), QStringLiteral("Přehled dne"));
    view->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
    connect(view, &QToolButton::clicked, this,
            [this] { RunReported([this] { SpeedButtonViewClick(); }); });
}

QMenu *TFormValmedo::popupMenuRxDBGrid() const
{
    return m_desk->popupMenuRxDBGrid();
}

void TFormValmedo::FormCreate()
{
    TimerTimer();
}

int TFormValmedo::pageIndex() const
{
    return Notebook->currentIndex();
}

void TFormValmedo::setPageIndex(int index)
{
    if (index >= 0 && index < Notebook->count())
        Notebook->setCurrentIndex(index);
}

void TFormValmedo::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        RunReported([this] { FormShow(); });
    }
}

void TFormValmedo::FormShow()
{
    ApplyRights();
    NotebookPageChanged();
    Notebook->show();
    auto *page = static_cast<TValmedoPage *>(Notebook->currentWidget());
    if (QWidget *field = page ? page->numberField() : nullptr)
        field->setFocus();
    KeyboardEnglish();
}

void TFormValmedo::NotebookPageChanged()
{
    for (QToolButton *b : m_pageButtons) {
        QPalette p = PanelFunction->palette();
        p.setColor(QPalette::ButtonText, Qt::black);
        b->setPalette(p);
    }
    for (ValmedoAction pageAction : PageKeyActions) {
        QAction *a = action(pageAction);
        a->setShortcuts({});
        const QString text = a->text().section(QLatin1Char('\t'), 0, 0); // no "Num +" shown
        a->setText(text);
        a->setIconText(text); // a button never shows the key
    }

    const int index = Notebook->currentIndex();
    auto *page = static_cast<TValmedoPage *>(Notebook->currentWidget());
    // A page switched to at the desk takes the keys in its number field, its text selected,
    // so that the next scan or number typed replaces it instead of being appended.
    if (page && isVisible() && Notebook->isVisible()) {
        if (QWidget *field = page->numberField()) {
            field->setFocus();
            ActiveControlSelectAll(field, this);
        }
    }
    setWindowTitle(QStringLiteral("%1 - %2 - [%3]")
                       .arg(ProgramTitle(), page ? page->caption() : QString(), UserName()));
    if (index < 0 || index > 4)
        return;
    QToolButton *button = m_pageButtons[index];
    button->setChecked(true);
    // The pressed face is drawn from the button colour: a dark shade of the panel's
    // highlight, so that the highlight-text caption reads as well as the others' black.
    QPalette p = button->palette();
    p.setColor(QPalette::ButtonText, p.color(QPalette::HighlightedText));
    p.setColor(QPalette::Button, p.color(QPalette::Highlight).darker(170));
    button->setPalette(p);
    const PageKeys &keys = PageKeyTable[index];
    // The menu shows the first key: "Enter", not "Return".
    action(keys.enter)
        ->setShortcuts({QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_Return)});
    if (keys.plus) {
        QAction *plus = action(*keys.plus);
        plus->setShortcut(QKeySequence(Qt::KeypadModifier | Qt::Key_Plus));
        // A menu would show the keypad key as "Num++"; the text after a tab is shown
        // in its place.
        plus->setText(plus->text() + QStringLiteral("\tNum +"));
    }
}

void TFormValmedo::MenuItemFunctionClick(int menuPosition)
{
    setPageIndex(menuPosition - 1);
}

void TFormValmedo::SpeedButtonFunctionsClick(int tag)
{
    setPageIndex(tag);
}

void TFormValmedo::SpeedButtonRefreshClick()
{
    ShowProgress(QStringLiteral("Probíhá refresh databáze..."));
    struct Hide {
        ~Hide() { HideProgress(); }
    } hide;
    for (Page page : {PageCustomer, PageVideo, PageBack, PageLends})
        m_pages.inOrder[page]->requeryList();
}

void TFormValmedo::SpeedButtonViewClick()
{
    {
        const std::unique_ptr<QDialog> view = m_parts.view();
        ExecModal(view.get());
    }
    ActiveControlSelectAll(nullptr, this);
}

void TFormValmedo::TimerTimer()
{
    LabelDateTime->setText(ShortDateText(RunDate()) + QLatin1Char('\n')
                           + LongTimeText(Now().time()));
    for (Page index : {PageCustomer, PageVideo, PageLends}) {
        TValmedoPage *page = m_pages.inOrder[index];
        QLabel *label = page->filterLabel();
        if (!label)
            continue;
        if (!label->isHidden())
            label->hide();
        else if (page->filterQueryText().contains(QLatin1String("WHERE")))
            label->show();
    }
}

// ---------------------------------------------------------------------------------------
// Windows opened by the actions

namespace {

void execSettingsWindow(QDialog *window)
{
    if (window)
        ExecModal(window);
    ActiveControlSelectAll(nullptr, FormValmedo);
}

} // namespace

void TFormValmedo::ActionSetupVideoExecute()
{
    execSettingsWindow(FormSetupVideo);
}

void TFormValmedo::ActionSetupPrintExecute()
{
    execSettingsWindow(FormSetupPrint);
}

void TFormValmedo::ActionBackupExecute()
{
    execSettingsWindow(FormBackup);
}

void TFormValmedo::ActionDatabaseExecute()
{
    execSettingsWindow(FormDatabase);
}

void TFormValmedo::ActionAboutExecute()
{
    TFormAbout about;
    ExecModal(&about);
    ActiveControlSelectAll(nullptr, this);
}

void TFormValmedo::ActionMediumExecute()
{
    runFrameWindow(ValmedoAction::Medium, DeskSubject::Customers | DeskSubject::Videos
                                               | DeskSubject::LentVideos | DeskSubject::Journal);
}

void TFormValmedo::ActionDirectionExecute()
{
    runFrameWindow(ValmedoAction::Direction, DeskSubject::Videos);
}

void TFormValmedo::ActionUserExecute()
{
    runFrameWindow(ValmedoAction::User, DeskSubject::Journal);
}

void TFormValmedo::runFrameWindow(ValmedoAction frameAction, DeskSubjects changed)
{
    std::unique_ptr<QDialog> window(m_parts.frameWindows.at(frameAction)());
    if (window && ExecInTransaction(window.get())) {
        m_desk->announce(changed);
        if (frameAction == ValmedoAction::User)
            ApplyRights(); // a change of the user's own rights takes effect at once
    }
    ActiveControlSelectAll(nullptr, this);
}

// ---------------------------------------------------------------------------------------
// Rights

void ApplyRights()
{
    if (!FormValmedo)
        return;
    const bool setup = UserHasRight(QStringLiteral("NASTAVENI"));
    for (ValmedoAction setupAction : {ValmedoAction::SetupVideo, ValmedoAction::Medium, ValmedoAction::Backup,
                                      ValmedoAction::Database})
        FormValmedo->action(setupAction)->setEnabled(setup);
    FormValmedo->action(ValmedoAction::User)->setEnabled(UserHasRight(QStringLiteral("ADMIN")));
}

// ---------------------------------------------------------------------------------------
// Closing and the log

void TFormValmedo::FormCloseQuery(bool &canClose)
{
    canClose = ShowQuestion(QStringLiteral("Ukončit program ?"),
                            QStringLiteral("Ukončení programu ") + ProgramTitle(), false);
}

void TFormValmedo::ActionCloseExecute()
{
    close(); // asks FormCloseQuery first
}

void TFormValmedo::closeEvent(QCloseEvent *event)
{
    bool canClose = false;
    RunReported([this, &canClose] { FormCloseQuery(canClose); });
    if (!canClose) {
        event->ignore();
        return;
    }
    RunReported([this] { FormClose(); });
    event->accept();
    // The main window ends the run even while another window is still open (a
    // preview, say). Only a running loop is told: a quit asked outside it would make
    // every later loop return at once.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

void TFormValmedo::FormClose()
{
    DailyBackup(FormBackup ? FormBackup->EditBackupPathDay->text() : QString());
    Log->AddLog(QStringLiteral("Ukončování programu [Ok]"));
}

void TFormValmedo::LogChangeLog()
{
    Log->ShowLog(ListBox);
}

void TFormValmedo::LogErrorLog(const QString &textWarning, const QString &textDetail)
{
    ShowWarning(false, textWarning, textDetail);
}
