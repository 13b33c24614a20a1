#pragma once
#include "core/ValmedoPage.h"
#include "core/database/DataSetRoutines.h"

#include <QList>
#include <QString>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>

class BrowseQuery;
class DataSet;
class QAction;
class QCheckBox;
class QComboBox;
class QDate;
class QDialog;
class QEvent;
class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QVBoxLayout;
class QWidget;
class TDateTimePicker;
class TFilterPanel;
class TFindComboBox;
class TInt64Edit;
class TRxDBGridEx;

// The parts the catalogue's list pages (customers, videos) are made of, and the handlers
// they share. Each page keeps its own queries, filter and actions.

inline const QString CheckFilterText = QStringLiteral("Zkontrolujte zda není aktivní filtr...");
inline const QString TransactionFailedText = QStringLiteral("Transakce skončila s chybou...");

// A grid column in field order: title (empty: the field's name), width (0 hidden), and the
// width a hidden column gets back when it is shown again.
struct ListColumn {
    const char *field;
    const char *title;
    int width;
    int restoreWidth;
};
// Gives the query's fields their titles and restore widths, and the origin table when one
// is given.
void DescribeFields(BrowseQuery *query, std::span<const ListColumn> columns, const QString &origin = QString());
// Gives a grid the widths of its columns; a field without a column of its own is hidden.
void LayOutGrid(TRxDBGridEx *grid, std::span<const ListColumn> columns);
// The history of a customer or video (its lines in the documents): `keyField` is the other
// side's number, shown with 13 digits; PUJCENA (out now) and ZDARMA (lent free, "$" or "-")
// are flags; PUJCENO and VRACENO show date and time, VRATIT the date.
void DescribeHistory(BrowseQuery *history, const QString &keyField);
// Colours the history's lines still out: lent, or overdue when due before the run date.
void ColourHistoryRows(TRxDBGridEx *grid, BrowseQuery *history);

// A named action of the main window (null without one).
QAction *WindowAction(const char *name);
// Selects the text of the main window's focused field for overtyping, as every action of
// a page ends.
void SelectAllInMainWindow();
// The control of the main window that has the focus (it gets it back after a message).
QWidget *MainWindowFocus();
// Requeries the lists of these pages of the main window, each on its row.
void RequeryPages(std::initializer_list<int> pageIndexes);

// The function column on the page's left: buttons of two-line captions, each running the
// main window's action of that name and enabled with it.
QFrame *CreateFunctionColumn(QWidget *page, const char *name, std::initializer_list<FunctionButton> buttons);

// The list and below it its detail (the history of the current row), each under its title
// bar, in a splitter that keeps the list at least 86 pixels high. Both grids select whole
// rows and sort by a click on a column title.
struct ListPairNames {
    const char *splitter;
    const char *listTitle;
    QString listCaption;
    const char *list;
    const char *detailTitle;
    QString detailCaption;
    const char *detail;
};
struct ListPair {
    QSplitter *splitter = nullptr;
    QLabel *listTitle = nullptr;
    TRxDBGridEx *list = nullptr;
    QLabel *detailTitle = nullptr;
    TRxDBGridEx *detail = nullptr;
};
ListPair CreateListPair(QWidget *page, const ListPairNames &names, DataSet *list, DataSet *detail);

// The status bar: sunken panels of the given widths, named `name` + "Panel0", "Panel1"...,
// and a last one that fills the rest, sunken too or without a bevel.
struct StatusBar {
    QFrame *bar = nullptr;
    QList<QLabel *> panels;
};
StatusBar CreateStatusBar(QWidget *page, const char *name, std::initializer_list<int> widths, bool lastSunken);

// The find panel above the list: "Kód:" with the number box (0 to 9999999999999, first
// showing 1), then the caption and the text box (32 characters typed at most) that takes the
// panel's width less 376 pixels.
struct FindPanel {
    QFrame *panel = nullptr;
    TInt64Edit *number = nullptr;
    TFindComboBox *text = nullptr;
};
FindPanel CreateFindPanel(QWidget *page, const char *panelName, const char *numberName, const QString &textCaption,
                          const char *textName);
// Runs `onEvent` for every event of `watched` (which goes on to its receiver), as long as
// `watched` lives.
void OnEvent(QObject *watched, std::function<void(QEvent *event)> onEvent);
// Fills a pick list again (by FillMediumList, FillDirectionList...) and chooses the name
// chosen before, letter case ignored, when it is still there; nothing is chosen otherwise.
// The box signals no change meanwhile.
void RefillPickList(QComboBox *box, void (*fill)(QComboBox *box));
// Gives the main window's action the key Del while `grid` has the focus, and takes it
// away again when the grid loses it.
void DeleteKeyWhileFocused(TRxDBGridEx *grid, const char *actionName);

// The controls of a filter panel, one under the other.
class FilterColumn {
public:
    explicit FilterColumn(QWidget *panel);
    QCheckBox *CheckBox(const char *name, const QString &caption);
    // A number box of 0 to 9999999999999.
    TInt64Edit *Number(const char *name, qint64 value);
    QLineEdit *Edit(const char *name, int maxLength);
    QComboBox *PickList(const char *name);
    // Starts on the run date.
    TDateTimePicker *DatePicker(const char *name);
    // The free filter and reset buttons stand at the bottom.
    QPushButton *BottomButton(const char *name, const QString &caption);

private:
    QWidget *m_panel;
    QVBoxLayout *m_column;
    bool m_bottom = false;
};
// A bound of the filter: the number of a range box (none while it is empty), the date of a
// picker (none while its own box is unticked).
std::optional<qint64> NumberBound(TInt64Edit *edit);
std::optional<QDate> DateBound(TDateTimePicker *picker);
// Every change the clerk makes in the panel runs `filter`: a click of a check box, typing
// in an edit or number box, a choice in a pick list, a change of a date picker.
void ConnectFilterChanges(QWidget *panel, const std::function<void()> &filter);

// The windows other units bring (PageHooks.h): the free filter over the list, the import
// and export, and the print of the page, which first checks that the list is not empty
// (`emptyText` with CheckFilterText, closing by itself, when it is).
void RunFilterWindow(BrowseQuery *query);
void RunImportExportWindow();
void RunPagePrint(const char *actionName, const DataSet &list, const QString &emptyText);

// The top of the catalogue's new and edit dialogs: the image on the left and beside it the
// group of the identity data, whose rows a grid lays out. The dialog's own layout runs from
// top to bottom, this first.
struct IdentityGroup {
    QLabel *image = nullptr;
    QGroupBox *group = nullptr;
    QGridLayout *grid = nullptr;
};
IdentityGroup CreateIdentityGroup(QDialog *dialog, const QString &title);

// Enter in a find box whose number or text is not the current row's: the clerk is told
// that it was not found (true), so that no other row is edited.
struct FindBoxTexts {
    QString numberMissed; // "Hledaný kód ... nenalezen..."
    QString textMissed;   // "Hledané jméno ... nenalezeno..."
    QString textDetail;   // "Hledané jméno: [%1]"
};
bool FindBoxMissed(TInt64Edit *numberBox, qint64 current, QComboBox *textBox, const QString &currentText,
                   const FindBoxTexts &texts);

// A list page of the catalogue: the function column on the left; the find panel, the list
// (the page's list query, its first field the key number) above the detail of its current
// row, and the status bar in the middle; the filter strip and panel on the right.
class TListPage : public TValmedoPage {
    Q_OBJECT
public:
    // Requeries the list on its current row and counts it again.
    void requeryList() override;

protected:
    TListPage(const QString &caption, const QString &objectName, const QString &numberFieldName,
              const QString &filterLabelName, QWidget *parent);

    // What each page does its own way: filters the list from its panel (at log-in too),
    // counts the list in the status bar, and hands the current row on.
    virtual void FilterList() = 0;
    virtual void CountList() = 0;
    virtual void HandOn() = 0;

    // The list and its detail, whose parameter `keyParameter` takes the list's current
    // number: the detail follows every change of the current row, which is then handed on.
    void FollowList(BrowseQuery *list, BrowseQuery *detail, const QString &keyParameter);
    // The filter strip and panel on the page's right; moving the mouse over `closers`
    // folds the panel away.
    TFilterPanel *CreateFilter(const char *stripName, const char *panelName, QWidget *numberBox,
                               std::initializer_list<QWidget *> closers);
    // Lays the parts out as the class comment says.
    void Assemble(QWidget *functionColumn, QWidget *findPanel, QWidget *lists, QWidget *statusBar,
                  TFilterPanel *filter);
    // Runs each handler (reporting its errors) when the main window's action of that name fires.
    void ConnectActions(std::initializer_list<std::pair<const char *, std::function<void()>>> actions);
    // The log-in steps: at `order` the detail's first reading, at `order` + 10 the list
    // filtered (an empty list handed on too) and the grids' columns laid out.
    struct GridColumns {
        TRxDBGridEx *grid = nullptr;
        std::span<const ListColumn> columns;
    };
    void RegisterOpenSteps(int order, GridColumns list, GridColumns detail);
    // After a change of the page: the list on `key` (null: on its row), the lists of the
    // other pages on theirs, the count.
    void RequeryAfterChange(const QVariant &key, std::initializer_list<int> otherPages);

private:
    void ListRowChanged();
    void LayOutGrids();

    BrowseQuery *m_list = nullptr;
    BrowseQuery *m_detail = nullptr;
    QString m_keyParameter;
    GridColumns m_listColumns;
    GridColumns m_detailColumns;
    bool m_gridsLaidOut = false;
};
