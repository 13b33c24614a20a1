#pragma once
#include "catalogue/ListPage.h"
#include "core/DeskLists.h"

#include <QString>

struct CustomerRecord;
class BrowseQuery;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QToolButton;
class TDateTimePicker;
class TFilterPanel;
class TFindComboBox;
class TInt64Edit;
class TLentLines;
class TRxDBGridEx;

// The main window's page "Zákazníci": the customer register. Its list `ADOQueryCustomer`
// shows the customers the filter panel lets through, with the history of the current one
// below; the find boxes above it find a customer by number or by name as the clerk types.
//
// The current row of `ADOQueryCustomer` is the one current customer of the program: every
// change of it (scrolling, a filter, a requery, a choice in the search dialog) is handed on
// by DataSourceCustomerDataChange, which shows him in this page's boxes and then emits
// CurrentCustomerChanged, the signal through which the lend and return pages show him in
// their boxes and empty a basket that holds lines. Those pages reach the list through the
// desk (TCustomerList, which the page implements) and move him with its searches.
//
// The page connects the main window's customer actions (find, new, edit, remove,
// import/export, print) and registers its log-in steps: the history and the list
// (CustomerFilter), and the main window's cache of lent lines.
class TCustomerPage : public TListPage, public TCustomerList {
    Q_OBJECT
public:
    explicit TCustomerPage(QWidget *parent = nullptr);
    ~TCustomerPage() override;

    BrowseQuery *ADOQueryCustomer = nullptr;
    BrowseQuery *ADOQueryCustomerVideo = nullptr;
    // The main window's cache of lent lines (`ADOQueryLended`): the lend and return
    // transactions run it again.
    TLentLines *LentLines() const override { return m_lentLines; }
    BrowseQuery *list() const override { return ADOQueryCustomer; }
    void followCurrent(QObject *context, std::function<void(qint64 customer, const QString &name)> shown) override;

    // Function column, find panel, lists and status bar.
    QFrame *PanelCustomerFunction = nullptr;
    QFrame *PanelCustomerFind = nullptr;
    TInt64Edit *Int64EditCustomerCustomer = nullptr;
    TFindComboBox *ComboBoxCustomerName = nullptr;
    QLabel *PanelCustomerGrid = nullptr;
    TRxDBGridEx *RxDBGridCustomer = nullptr;
    QSplitter *SplitterCustomer = nullptr;
    QLabel *PanelCustomerDetailPanel = nullptr;
    TRxDBGridEx *RxDBGridCustomerVideo = nullptr;
    QFrame *StatusBarCustomer = nullptr;
    QLabel *StatusBarCustomerPanel0 = nullptr;

    // The filter panel (strip PanelCustomerSplitter, panel PanelCustomerFilter).
    TFilterPanel *FilterPanel = nullptr;
    QCheckBox *CheckBoxCustomerCustomer = nullptr;
    TInt64Edit *Int64EditCustomerCustomerFirst = nullptr;
    TInt64Edit *Int64EditCustomerCustomerSecond = nullptr;
    QCheckBox *CheckBoxCustomerName = nullptr;
    QLineEdit *EditCustomerName = nullptr;
    QCheckBox *CheckBoxCustomerLimit = nullptr;
    QComboBox *ComboBoxCustomerLimit = nullptr;
    QCheckBox *CheckBoxCustomerRegistration = nullptr;
    TDateTimePicker *DateTimePickerCustomerRegistrationFirst = nullptr;
    TDateTimePicker *DateTimePickerCustomerRegistrationSecond = nullptr;
    QCheckBox *CheckBoxCustomerLend = nullptr;
    QCheckBox *CheckBoxCustomerLater = nullptr;
    QPushButton *ButtonCustomerFilter = nullptr;
    QPushButton *ButtonCustomerReset = nullptr;

    // Builds the list's WHERE part from the filter panel, applies it (the current customer
    // stays current while the filter still selects him) and counts the list.
    void CustomerFilter();
    // " Zákazníků: %d": the customers the list's present WHERE part selects, counted by the
    // server (also after the free filter).
    void SetStatusBarCustomer();
    // Hands the current customer to the pages that show him (see the class comment).
    void DataSourceCustomerDataChange();
    // The searches of the customer boxes of this page and of the lend and return pages:
    // each moves the list to the customer found (among those the filter lets through) and
    // hands him on; false, and nothing moves, when there is none. By the number typed, and
    // by the customer behind the proposal a name box holds (ProposeCustomerNames).
    bool FindCustomerByNumber(const QString &text) override;
    bool FindCustomerOfBox(const TFindComboBox *box) override;
    void ButtonCustomerFilterClick();
    void ButtonCustomerResetClick();
    void Int64EditCustomerCustomerChange();
    void ComboBoxCustomerNameChange();

    // The actions. `sender` is the control that started the action: a name box opens the
    // search dialog in its name field, a double click on a grid edits only over a data cell.
    void ActionCustomerFindExecute(QObject *sender = nullptr) override;
    void ActionCustomerNewExecute() override;
    void ActionCustomerEditExecute(QObject *sender = nullptr);
    void ActionCustomerDeleteExecute();
    void ActionCustomerExportImportExecute();
    void ActionCustomerPrintExecute();

    // The text of the status bar's first panel.
    QString StatusText() const;

signals:
    // The current customer (0 and an empty name for an empty list), after this page's boxes
    // show him.
    void CurrentCustomerChanged(qint64 customer, const QString &name);

protected:
    void FilterList() override { CustomerFilter(); }
    void CountList() override { SetStatusBarCustomer(); }
    void HandOn() override { DataSourceCustomerDataChange(); }

private:
    void createQueries();
    void createFindPanel();
    void createLists();
    void createFilterControls(QWidget *panel);
    // The current customer's number and name, and all his data as the edit dialog shows it.
    qint64 CurrentCustomer() const;
    QString CurrentName() const;
    CustomerRecord CurrentRecord() const;
    // Enter in a find box whose number or name is not the current customer's: the clerk is
    // told that the customer was not found (true), so that no other customer is edited.
    bool FindBoxMissed() const;

    TLentLines *m_lentLines = nullptr;
};
