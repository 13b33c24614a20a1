#pragma once
#include <QAction>
#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <memory>

#include "core/Desk.h"
#include "core/ValmedoActions.h"
#include "core/ValmedoPage.h"

class QDialog;
class QLabel;
class QListWidget;
class QMenu;
class QStackedWidget;
class QTimer;
class QToolButton;
class QFrame;
class TLog;
class BrowseQuery;
class TFormStorage;
class TDesk;

class TCustomerPage;
class TVideoPage;
class TLendPage;
class TBackPage;
class TLendsPage;

// The five pages of the notebook, built by the program's wiring (app/Wiring.h): each as
// its own class for the wiring (the pages themselves reach each other only through the
// desk), and all in the notebook's order (Page) for what the frame does with every page.
struct TValmedoPages {
    TCustomerPage *customer = nullptr;
    TVideoPage *video = nullptr;
    TLendPage *lend = nullptr;
    TBackPage *back = nullptr;
    TLendsPage *lends = nullptr;
    std::array<TValmedoPage *, 5> inOrder{};
};

// The windows and prints the pages and the window's actions call on, brought by the
// folders above the core:

// The free filter dialog " Filtr" over a page's list query (the customer, video or
// document list); it applies its text to that query and refreshes the pages' counts.
using FilterWindowFactory = std::function<QDialog *(BrowseQuery *query)>;
// The import and export window " Import / Export"; it sees by the main window's page
// whether customers or videos are meant, and works on that page's list query.
using ImportExportWindowFactory = std::function<QDialog *()>;
// The print of a page: the choice dialog and the reports. The page checks first that its
// list is not empty.
using PrintHandler = std::function<void()>;
// A code-book or users window, opened on its starting row, that the window's action runs
// inside one transaction (core/TransactionFrame.h).
using FrameWindowFactory = std::function<QDialog *()>;
// The receipt of the lend or return document just written, printed or previewed as the
// receipt settings say, with a copy when asked.
using ReceiptPrint = std::function<void(qint64 document, bool copy)>;
// The receipt of a journal document printed again (a lend's or a return's), with a copy
// when `copy`.
using JournalReceipt = std::function<void(qint64 document, bool lend, bool copy)>;

// The pieces kept by the action that calls on them.
template <typename Piece>
using ActionTable = std::map<ValmedoAction, Piece>;

// The actions whose piece the wiring must give: the pages' prints and the windows of the
// transaction frame.
inline constexpr ValmedoAction PrintActions[] = {ValmedoAction::CustomerPrint, ValmedoAction::VideoPrint,
                                                 ValmedoAction::LendsTotalPrint};
inline constexpr ValmedoAction FrameActions[] = {ValmedoAction::Medium, ValmedoAction::Direction,
                                                 ValmedoAction::User};

// What the wiring hands the main window from the folders above the core. The window
// refuses to be made without any of them, naming each one left out.
struct TValmedoParts {
    // Builds the pages on the notebook, one after the other into the window's own
    // `pages`, and hands the desk the lists that a page built later finds through it.
    std::function<void(QStackedWidget *notebook, TDesk &desk, TValmedoPages &pages)> pages;
    // The day's overview that SpeedButtonView opens.
    std::function<std::unique_ptr<QDialog>()> view;
    FilterWindowFactory filterWindow;
    ImportExportWindowFactory importExportWindow;
    // By the print action (PrintActions).
    ActionTable<PrintHandler> prints;
    // By the action that opens the window (FrameActions).
    ActionTable<FrameWindowFactory> frameWindows;
    ReceiptPrint receiptPrint;
    JournalReceipt journalReceipt;
};

// The program's main window: the function panel, the five pages, the clock and the
// log, the actions with their keys, the menu and the rights.
class TFormValmedo : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormValmedo(const TValmedoParts &parts, QWidget *parent = nullptr);
    ~TFormValmedo() override;

    enum Page { PageCustomer = 0, PageVideo, PageLend, PageBack, PageLends };

    QAction *action(ValmedoAction action) const;
    QStackedWidget *notebook() const { return Notebook; }
    int pageIndex() const;
    void setPageIndex(int index);
    TLog *log() const { return Log; }
    TFormStorage *formStorage() const { return FormStorage.get(); }
    // The pieces the wiring handed in, each there for the window's life. A test replaces
    // one of them here by its own.
    const TValmedoParts &parts() const { return m_parts; }
    TValmedoParts &parts() { return m_parts; }

    TCustomerPage *customerPage() const { return m_pages.customer; }
    TVideoPage *videoPage() const { return m_pages.video; }
    TLendPage *lendPage() const { return m_pages.lend; }
    TBackPage *backPage() const { return m_pages.back; }
    TLendsPage *lendsPage() const { return m_pages.lends; }

    // What the pages share: the change signal, the grid pop-up menu, the dialog parent.
    TDesk *desk() const { return m_desk; }
    QMenu *popupMenuRxDBGrid() const;

    // Handlers of the window (public so that the pages and tests can run them).
    void NotebookPageChanged();
    void MenuItemFunctionClick(int menuPosition);
    void SpeedButtonFunctionsClick(int tag);
    void SpeedButtonRefreshClick();
    void SpeedButtonViewClick();
    void TimerTimer();
    void ActionSetupVideoExecute();
    void ActionSetupPrintExecute();
    void ActionBackupExecute();
    void ActionDatabaseExecute();
    void ActionAboutExecute();
    void ActionMediumExecute();
    void ActionDirectionExecute();
    void ActionUserExecute();
    void ActionCloseExecute();
    // Whether the window may close: only "&Ano" to "Ukončit program ?" lets it.
    void FormCloseQuery(bool &canClose);
    void LogChangeLog();
    void LogErrorLog(const QString &textWarning, const QString &textDetail);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void createActions();
    void createMenu();
    void createFunctionPanel();
    QAction *addWindowAction(ValmedoAction action, const QString &text,
                             const QKeySequence &shortcut = QKeySequence());
    void runFrameWindow(ValmedoAction action, DeskSubjects changed);

    std::array<QAction *, ValmedoActionCount> m_actions{};
    QFrame *PanelFunction = nullptr;
    QStackedWidget *Notebook = nullptr;
    QFrame *PanelStatus = nullptr;
    QLabel *LabelDateTime = nullptr;
    QListWidget *ListBox = nullptr;
    QTimer *Timer = nullptr;
    TLog *Log = nullptr;
    // Keeps the placement and the page in section "Valmedo".
    std::unique_ptr<TFormStorage> FormStorage;
    TDesk *m_desk = nullptr;
    QList<QToolButton *> m_pageButtons;
    TValmedoPages m_pages;
    TValmedoParts m_parts;
    bool m_shown = false;
};

// The one main window of the run (null before start-up creates it and after it ends).
extern TFormValmedo *FormValmedo;

// Enables the actions that follow the logged-in user's rights: `NASTAVENI` for the
// rental settings, media, backup and database actions, `ADMIN` for the users window.
void ApplyRights();

