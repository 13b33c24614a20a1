#pragma once
#include <QAction>
#include <QHash>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>

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

class TCustomerPage;
class TVideoPage;
class TLendPage;
class TBackPage;
class TLendsPage;

// One page of the main window's notebook. The page's own code (its list, filter and
// actions) lives in its class; the frame asks it only for what the frame itself does:
// its caption, the number field that gets the focus, the list query whose filter the
// "Filtr..." label shows, and the requery of that list.
class TValmedoPage : public QWidget {
    Q_OBJECT
public:
    TValmedoPage(const QString &caption, const QString &objectName,
                 const QString &numberFieldName, QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    // The page's number field (found by its name once the page has one).
    QWidget *numberField() const;
    // The "Filtr..." label of a filtered page list, or null.
    QLabel *filterLabel() const { return m_filterLabel; }
    // The page's list query, null until the page has one.
    BrowseQuery *listQuery() const { return m_listQuery; }
    void setListQuery(BrowseQuery *query) { m_listQuery = query; }
    // The statement text of the page's list; the label blinks while it holds "WHERE".
    virtual QString filterQueryText() const;
    // Requeries the page's list and stays on its current row (RequeryLocate with null).
    virtual void requeryList();

protected:
    void setFilterLabel(const QString &objectName);

private:
    QString m_caption;
    QString m_numberFieldName;
    QLabel *m_filterLabel = nullptr;
    BrowseQuery *m_listQuery = nullptr;
};

// The program's main window: the function panel, the five pages, the clock and the
// log, the actions with their keys, the menu and the rights.
class TFormValmedo : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormValmedo(QWidget *parent = nullptr);
    ~TFormValmedo() override;

    enum Page { PageCustomer = 0, PageVideo, PageLend, PageBack, PageLends };

    QAction *action(const QString &name) const;
    QStackedWidget *notebook() const { return Notebook; }
    int pageIndex() const;
    void setPageIndex(int index);
    TLog *log() const { return Log; }
    TFormStorage *formStorage() const { return FormStorage.get(); }

    TCustomerPage *customerPage() const { return m_customerPage; }
    TVideoPage *videoPage() const { return m_videoPage; }
    TLendPage *lendPage() const { return m_lendPage; }
    TBackPage *backPage() const { return m_backPage; }
    TLendsPage *lendsPage() const { return m_lendsPage; }

    QMenu *popupMenuRxDBGrid() const { return PopupMenuRxDBGrid; }

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
    void createGridPopupMenu();
    QAction *addWindowAction(const QString &name, const QString &text,
                             const QKeySequence &shortcut = QKeySequence());
    void runFrameWindow(const QString &actionName, const QList<TValmedoPage *> &requery);

    QHash<QString, QAction *> m_actions;
    QFrame *PanelFunction = nullptr;
    QStackedWidget *Notebook = nullptr;
    QFrame *PanelStatus = nullptr;
    QLabel *LabelDateTime = nullptr;
    QListWidget *ListBox = nullptr;
    QTimer *Timer = nullptr;
    TLog *Log = nullptr;
    // Keeps the placement and the page in section "Valmedo".
    std::unique_ptr<TFormStorage> FormStorage;
    QMenu *PopupMenuRxDBGrid = nullptr;
    QList<QToolButton *> m_pageButtons;
    TCustomerPage *m_customerPage = nullptr;
    TVideoPage *m_videoPage = nullptr;
    TLendPage *m_lendPage = nullptr;
    TBackPage *m_backPage = nullptr;
    TLendsPage *m_lendsPage = nullptr;
    bool m_shown = false;
};

// The one main window of the run (null before start-up creates it and after it ends).
extern TFormValmedo *FormValmedo;

// Enables the actions that follow the logged-in user's rights: `NASTAVENI` for the
// rental settings, media, backup and database actions, `ADMIN` for the users window.
void ApplyRights();

// The code-book and users windows (media, genres, users) run inside one transaction:
// their unit registers how the window is made, and the frame's action creates it,
// begins the transaction, shows it modally, commits on Ok (then requeries the lists)
// and rolls back on any other close, and destroys it. The factory opens the window's
// own query on its starting row; the window's destructor closes it.
using FrameWindowFactory = std::function<QDialog *()>;
void SetFrameWindowFactory(const QString &actionName, FrameWindowFactory factory);

// Runs `window` modally inside a transaction of the program's connection: commit when
// it closes with Ok, roll back otherwise. True when it was committed.
bool ExecInTransaction(QDialog *window);
// True while a code-book or users window's transaction is open.
bool InTransactionFrame();
// Runs one statement of a window inside the transaction frame under a savepoint, so
// that a statement the server refuses undoes only itself and the transaction goes on
// (PostgreSQL would otherwise abort the whole transaction). Outside a frame it just
// runs `statement`. Rethrows the statement's error.
void FrameStatement(const std::function<void()> &statement);

// Runs a handler of the main loop and reports an error that leaves it in a warning
// window, as the application's default error report.
void RunReported(const std::function<void()> &handler);

// The "Ok" and "Storno" buttons of a dialog: Ok accepts, Storno rejects (in a
// TStoredDialog also Esc); only `okIsDefault` makes Ok the button that Enter presses.
// `onCancel` runs before Storno closes the dialog.
void AddDialogButtons(QDialog *dialog, class QBoxLayout *layout, bool okIsDefault,
                      const std::function<void()> &onCancel = {});
