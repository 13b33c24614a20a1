#pragma once
#include "catalogue/ListPage.h"

#include <QStringList>
#include <QVariant>
#include <functional>

class BrowseQuery;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QObject;
class QPushButton;
class QRadioButton;
class QSplitter;
class TDateTimePicker;
class TFilterPanel;
class TInt64Edit;
class TRxDBGridEx;
enum class LendsPeriod;

// The main window's page "Doklady": the journal of lend and return documents. Its list
// `ADOQueryLends` shows the documents the filter panel lets through (all operations of the
// run date at first), each with its line count and totals; below it `ADOQueryLendsDetail`
// shows the lines of the current document. The status bar sums the documents listed. From
// here a document's receipt is printed again (Enter, double click), the takings of the
// documents listed are printed and their statistics shown.
//
// The page connects the main window's journal actions and registers its log-in step: the
// journal filtered and standing on its newest document.
class TLendsPage : public TListPage {
    Q_OBJECT
public:
    explicit TLendsPage(QWidget *parent = nullptr);
    ~TLendsPage() override;

    BrowseQuery *ADOQueryLends = nullptr;
    BrowseQuery *ADOQueryLendsDetail = nullptr;

    // Function column, find strip, lists and status bar.
    QFrame *PanelLendsFunction = nullptr;
    QFrame *PanelLendsFind = nullptr;
    TInt64Edit *Int64EditLendsVoucher = nullptr;
    QLabel *PanelGridLends = nullptr;
    TRxDBGridEx *RxDBGridLends = nullptr;
    QSplitter *SplitterLends = nullptr;
    QLabel *PanelGridLendsDetail = nullptr;
    TRxDBGridEx *RxDBGridLendsDetail = nullptr;
    QFrame *StatusBarLends = nullptr;
    QList<QLabel *> StatusBarLendsPanels;

    // The filter panel (strip PanelLendsSplitter, panel PanelLendsFilter).
    TFilterPanel *FilterPanel = nullptr;
    QRadioButton *RadioButtonOperationAll = nullptr;
    QRadioButton *RadioButtonOperationLend = nullptr;
    QRadioButton *RadioButtonOperationBack = nullptr;
    QRadioButton *RadioButtonLendsAll = nullptr;
    QRadioButton *RadioButtonLendsToday = nullptr;
    QRadioButton *RadioButtonLendsWeek = nullptr;
    QRadioButton *RadioButtonLendsMonth = nullptr;
    QRadioButton *RadioButtonLendsYear = nullptr;
    QRadioButton *RadioButtonLendsOther = nullptr;
    TDateTimePicker *DateTimePickerLendsFirst = nullptr;
    TDateTimePicker *DateTimePickerLendsSecond = nullptr;
    QCheckBox *CheckBoxLendsVoucher = nullptr;
    TInt64Edit *Int64EditLendsVoucherFirst = nullptr;
    TInt64Edit *Int64EditLendsVoucherSecond = nullptr;
    QCheckBox *CheckBoxLendsCustomer = nullptr;
    TInt64Edit *Int64EditLendsCustomerFirst = nullptr;
    TInt64Edit *Int64EditLendsCustomerSecond = nullptr;
    QCheckBox *CheckBoxLendsUser = nullptr;
    QComboBox *ComboBoxLendsUser = nullptr;
    QPushButton *ButtonLendsFilter = nullptr;
    QPushButton *ButtonLendsReset = nullptr;

    // Builds the journal's WHERE part from the filter panel (a period sets the two date
    // pickers first), applies it (the current document stays current while it is still
    // listed) and sums the journal in the status bar.
    void LendsFilter();
    // " Dokladů: %d", " Tržba: %m", " Zálohy: %m" over the documents listed now.
    void SetStatusBarLends();
    // After a lend or a return: the journal read again and standing on `document`, the one
    // just written (when the filter lists it); with a null `document` (a return left out
    // of the takings) it only moves to its newest document. Then SetStatusBarLends.
    void DocumentWritten(const QVariant &document);

    void ButtonLendsFilterClick();
    void ButtonLendsResetClick();
    void ComboBoxLendsUserEnter();
    void Int64EditLendsVoucherChange();

    // The actions. `sender` is the control that started the reprint: a double click on the
    // journal prints only over a data cell.
    void ActionLendsPrintExecute(QObject *sender = nullptr);
    void ActionLendsTotalPrintExecute();
    void ActionLendsStatisticsExecute();

    // The texts of the status bar's three panels.
    QStringList StatusTexts() const;

protected:
    void FilterList() override { LendsFilter(); }
    void CountList() override { SetStatusBarLends(); }
    // The number box shows the current document (the lines follow it by themselves).
    void HandOn() override;
    // At log-in: the statements for the engine of the server connected, the journal
    // filtered and standing on its newest document.
    void OpenLists() override;

private:
    // What the lend and return transactions, the receipts and the takings report hand in.
    void registerHooks();
    void createQueries();
    void createFindPanel();
    void createLists();
    void createStatusBar();
    void createFilterControls(QWidget *panel);
    void colourGrids();
    LendsPeriod CheckedPeriod() const;
    qint64 CurrentDocument() const;
};
