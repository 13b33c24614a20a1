#pragma once
#include "core/ValmedoPage.h"
#include "rental/BackTransaction.h"
#include "rental/DeskFindPanels.h"

#include <QList>
#include <QString>
#include <QStringList>

class BrowseQuery;
class QFrame;
class QGroupBox;
class QLabel;
class QSplitter;
class QToolButton;
class TFindComboBox;
class TInt64Edit;
class TRxDBGridEx;
class TTableBack;
struct LentVideo;

// The main window's page "Vracení", the return desk. The clerk names a video (its number,
// scanned, or its exact title), whose holder becomes the current customer, or the customer
// himself (number, or name completed as he types); Enter opens the return dialog on the
// customer's lent videos `ADOQueryBackVideo`, which fills the return basket `TableBack`
// shown below them with its totals; the numeric "+" confirms the return.
//
// The current customer is the customer page's, reached through the desk (TDesk::customers):
// the page shows him in its boxes when that list hands him on, reads his lent videos again
// and empties a basket that holds lines. It moves him by locating him in the customer list. Its log-in step opens the lent-videos list and
// the basket; the lent-videos list is the page's list, which the frame's refresh requeries.
class TBackPage : public TValmedoPage {
    Q_OBJECT
public:
    explicit TBackPage(QWidget *parent = nullptr);
    ~TBackPage() override;

    BrowseQuery *ADOQueryBackVideo = nullptr;
    TTableBack *TableBack = nullptr;

    QFrame *PanelBackFunction = nullptr;
    QToolButton *SpeedButtonBackEdit = nullptr;
    QToolButton *SpeedButtonBackSelect = nullptr;
    QToolButton *SpeedButtonBackDelete = nullptr;
    QToolButton *SpeedButtonBackBack = nullptr;
    QGroupBox *PanelBackCustomerFind = nullptr;
    TInt64Edit *Int64EditBackCustomer = nullptr;
    TFindComboBox *ComboBoxBackName = nullptr;
    QLabel *DBTextBackCustomerBirth = nullptr;
    QLabel *DBTextBackCustomerAddress = nullptr;
    QLabel *DBTextBackCustomerText = nullptr;
    QGroupBox *PanelBackVideoFind = nullptr;
    TInt64Edit *Int64EditBackVideo = nullptr;
    TFindComboBox *ComboBoxBackTitle = nullptr;
    QLabel *PanelGridBackLends = nullptr;
    TRxDBGridEx *RxDBGridBackVideo = nullptr;
    QSplitter *SplitterBack = nullptr;
    QLabel *PanelGridBack = nullptr;
    TRxDBGridEx *RxDBGridBack = nullptr;
    QFrame *StatusBarBack = nullptr;

    // The basket's totals into TotalPayment and TotalDeposit and its status bar.
    void SetStatusBarBack();
    // The texts of the status bar's three panels.
    QStringList StatusTexts() const;
    // Opens the return dialog on `video`: added at once, or only shown (its line is in the
    // basket already); the numeric "+" there goes on to the recapitulation and the return.
    void BackStart(bool addAtOnce, qint64 video);
    // What a return asks of this page: the receipt and the status bars.
    BackPageHooks Hooks();

    // Handlers.
    void ActionBackSelectExecute();
    void ActionBackDeleteExecute();
    void ActionBackBackExecute();
    void DataSourceBackVideoDataChange();
    void DataSourceBackDataChange();
    void Int64EditBackCustomerChange();
    void ComboBoxBackNameChange();
    void Int64EditBackVideoChange();
    void ComboBoxBackTitleChange();
    void RxDBGridBackDblClick();
    void RxDBGridBackDragDrop(TRxDBGridEx *source);
    void RxDBGridBackVideoDragDrop(TRxDBGridEx *source);
    void SplitterBackMoved();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *createFunctionColumn();
    QWidget *createFindPanels();
    QWidget *createCustomerPanel();
    QWidget *createVideoPanel();
    QWidget *createLists();
    QWidget *createStatusBar();
    void createQueries();
    void followCustomers();
    void registerOpenSteps();
    void layoutGrids();

    BrowseQuery *CustomerList() const;
    // The current customer's number; 0 when the customer list has no current row.
    qint64 CurrentCustomer() const;
    QString CurrentName() const;
    // The customer list hands on the current customer.
    void CurrentCustomerChanged(qint64 customer, const QString &name);
    // The lent-videos list read again for the current customer.
    void FollowCustomer();
    // The birth number, address and note of the current customer, or nothing.
    void ShowCustomerTexts(bool shown);
    // Enter on a video or a title whose open lend lines are `lines`: the return dialog for
    // the holder of the one chosen, or the message why none is; `detail` is the messages'
    // second line ("Hledaný kód: [4]").
    void StartForLentLine(const QList<LentVideo> &lines, bool videoExists, const QString &notLentText,
                          const QString &notFoundText, const QString &detail);

    CustomerFindPanel m_customerPanel;
    QList<QLabel *> m_statusPanels;
    bool m_gridsLaidOut = false;
};
