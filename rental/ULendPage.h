#pragma once
#include "core/ValmedoPage.h"
#include "rental/DeskFindPanels.h"
#include "rental/LendDesk.h"

#include <QList>
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

// The main window's page "Půjčení", the lend desk. The clerk names the customer (his number,
// or his name completed as he types) and a video (its number or the beginning of its title,
// or a row of the video list); Enter checks both and opens the lend dialog, which fills the
// lend basket `TableLend` shown below the video list with its totals; the numeric "+"
// confirms the lend.
//
// The current customer is the customer page's and the video list is the video page's
// `ADOQueryVideo`, both reached through the desk (TDesk::customers, TDesk::videos): those
// pages hand on their current rows, which this page shows in its boxes (except in the box
// the clerk is typing in); a change of the current customer empties a basket that holds
// lines. The page moves them through the lists' searches. Its log-in step empties the
// basket and lays the video list out.
class TLendPage : public TValmedoPage, public TLendDesk {
    Q_OBJECT
public:
    explicit TLendPage(QWidget *parent = nullptr);
    ~TLendPage() override;

    QFrame *PanelLendFunction = nullptr;
    QToolButton *SpeedButtonLendNew = nullptr;
    QToolButton *SpeedButtonLendEdit = nullptr;
    QToolButton *SpeedButtonLendSelect = nullptr;
    QToolButton *SpeedButtonLendDelete = nullptr;
    QToolButton *SpeedButtonLendLend = nullptr;
    QGroupBox *PanelLendCustomerFind = nullptr;
    TInt64Edit *Int64EditLendCustomer = nullptr;
    TFindComboBox *ComboBoxLendName = nullptr;
    QLabel *DBTextLendCustomerBirth = nullptr;
    QLabel *DBTextLendCustomerAddress = nullptr;
    QLabel *DBTextLendCustomerText = nullptr;
    QGroupBox *PanelLendVideoFind = nullptr;
    TInt64Edit *Int64EditLendVideo = nullptr;
    TFindComboBox *ComboBoxLendTitle = nullptr;
    QSplitter *SplitterLend = nullptr;
    QLabel *PanelGridLendVideo = nullptr;
    TRxDBGridEx *RxDBGridLendVideo = nullptr;
    QLabel *PanelGridLend = nullptr;
    TRxDBGridEx *RxDBGridLend = nullptr;
    QFrame *StatusBarLend = nullptr;

    // What the lend dialog and the lend transaction ask of the desk.
    TTableLend &TableLend() override { return *m_tableLend; }
    DataSet &ADOQueryVideo() override;
    LendCustomer CurrentCustomer() override;
    // The basket's totals into TotalPayment and TotalDeposit and its status bar.
    void SetStatusBarLend() override;
    void FocusLendCustomer() override;

    // The texts of the status bar's three panels.
    QStringList StatusTexts() const;
    // Opens the lend dialog on `video`: with `addAtOnce` the video is added as it opens;
    // Ok there goes on to the recapitulation and the lend.
    void LendStart(bool addAtOnce, qint64 video);

    // Handlers. `sender` of the select action is the grid a video was dropped on, if any.
    void ActionLendNewExecute();
    void ActionLendSelectExecute(QObject *sender = nullptr);
    void ActionLendDeleteExecute();
    void ActionLendLendExecute();
    void DataSourceLendDataChange();
    void Int64EditLendCustomerChange();
    void ComboBoxLendNameChange();
    void Int64EditLendVideoChange();
    void ComboBoxLendTitleChange();
    void RxDBGridLendDblClick();
    void RxDBGridLendDragDrop(TRxDBGridEx *source);
    void RxDBGridLendVideoDragDrop(TRxDBGridEx *source);
    void SplitterLendMoved();

private:
    void createFunctionColumn();
    QWidget *createFindPanels();
    QWidget *createLists();
    void createBasket();
    void followLists();
    void registerOpenStep();
    void layOutVideoList();

    BrowseQuery *CustomerList() const;
    BrowseQuery *VideoList() const;
    // The customer and the video lists hand on their current rows.
    void CurrentCustomerChanged(qint64 customer, const QString &name);
    void CurrentVideoChanged(qint64 video, const QString &title);
    // The number of the video list's current video; 0 when it has none.
    qint64 CurrentVideo() const;

    TTableLend *m_tableLend = nullptr;
    CustomerFindPanel m_customerPanel;
    QList<QLabel *> m_statusPanels;
    bool m_videoListLaidOut = false;
};
