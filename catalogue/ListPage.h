#pragma once
#include "core/ValmedoPage.h"
#include "core/controls/FilterPanel.h"
#include "core/controls/GridColumns.h"
#include "core/database/DataSetRoutines.h"

#include <QList>
#include <QSize>
#include <QString>
#include <functional>
#include <initializer_list>
#include <span>

class BrowseQuery;
class DataSet;
class QComboBox;
class QDialog;
class QEvent;
class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QSplitter;
class QToolButton;
class QWidget;
class TFilterPanel;
class TFindComboBox;
class TInt64Edit;
class TRxDBGridEx;

// The parts the main window's list pages (customers, videos, the journal; the return page
// takes some) are made of, and the handlers they share. Each page keeps its own queries,
// filter and actions.

inline const QString CheckFilterText = QStringLiteral("Zkontrolujte zda není aktivní filtr...");
inline const QString TransactionFailedText = QStringLiteral("Transakce skončila s chybou...");

// The history of a customer or video (its lines in the documents): `keyField` is the other
// side's number, shown with 13 digits; PUJCENA (out now) and ZDARMA (lent free, "$" or "-")
// are flags; PUJCENO and VRACENO show date and time, VRATIT the date.
void DescribeHistory(BrowseQuery *history, const QString &keyField);
// Colours the history's lines still out: lent, or overdue when due before the run date.
void ColourHistoryRows(TRxDBGridEx *grid, BrowseQuery *history);

// A button of a page's function column: its name, its caption (lines split by "\n") and
// the main window's action it runs; it is enabled while that action is.
struct FunctionButton {
    const char *name;
    const char *caption;
    ValmedoAction action;
};
// One such button on `panel`, the page placing it.
QToolButton *CreateFunctionButton(QWidget *panel, const FunctionButton &button);
// The function column on the page's left: its buttons of two-line captions one under the
// other.
QFrame *CreateFunctionColumn(QWidget *page, const char *name, std::initializer_list<FunctionButton> buttons,
                             int width = 68, QSize buttonSize = QSize(62, 48));

// The list and below it its detail (what belongs to its current row), each under its title
// bar, in a splitter that keeps the list at least 86 pixels high and shares the height as
// `share` says. Both grids select whole rows and sort by a click on a column title.
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
// The parts of the height the list and the detail take, and whether the detail too keeps
// 86 pixels.
struct ListPairShare {
    int list = 3;
    int detail = 1;
    bool detailMinimum = false;
};
ListPair CreateListPair(QWidget *page, const ListPairNames &names, DataSet *list, DataSet *detail,
                        ListPairShare share = {});

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
// The find panel with the number box alone, after `numberCaption`.
FindPanel CreateNumberFindPanel(QWidget *page, const char *panelName, const QString &numberCaption,
                                const char *numberName);
// Lays a page of the main window out: the function column on the left; the find panel, the
// lists and the status bar one over the other; the filter strip and panel (when the page has
// one) on the right edge.
void AssemblePage(QWidget *page, QWidget *functionColumn, QWidget *findPanel, QWidget *lists, QWidget *statusBar,
                  TFilterPanel *filter = nullptr);
// Runs `onEvent` for every event of `watched` (which goes on to its receiver), as long as
// `watched` lives.
void OnEvent(QObject *watched, std::function<void(QEvent *event)> onEvent);
// Fills a pick list again (by FillMediumList, FillDirectionList...) and chooses the name
// chosen before when it is still there (`match`: letter case ignored unless told); nothing
// is chosen otherwise. The box signals no change meanwhile.
void RefillPickList(QComboBox *box, void (*fill)(QComboBox *box), Qt::MatchFlags match = Qt::MatchFixedString);
// Gives the main window's action the key Del while `grid` has the focus, and takes it
// away again when the grid loses it.
void DeleteKeyWhileFocused(TRxDBGridEx *grid, ValmedoAction deleteAction);

// The windows the wiring hands the main window (TValmedoParts): the free filter over the
// list, the import and export, and the print of the page, which first checks that the list
// is not empty (`emptyText` with CheckFilterText, closing by itself, when it is).
void RunFilterWindow(BrowseQuery *query);
void RunImportExportWindow();
void RunPagePrint(ValmedoAction printAction, const DataSet &list, const QString &emptyText);

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

// A list page of the main window: the function column on the left; the find panel, the
// list (the page's list query, its first field the key number) above the detail of its
// current row, and the status bar in the middle; the filter strip and panel on the right.
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
    // number (from the log-in step on): the detail follows every change of the current row,
    // which is then handed on.
    void FollowList(BrowseQuery *list, BrowseQuery *detail, const QString &keyParameter);
    // The filter strip and panel on the page's right; moving the mouse over `closers`
    // folds the panel away.
    TFilterPanel *CreateFilter(const char *stripName, const char *panelName, QWidget *numberBox,
                               std::initializer_list<QWidget *> closers);
    // The log-in step at `order` (OpenLists), after which the grids' columns are laid out
    // once: each grid's table, then fitted to its font (FitColumns) at the cost of the
    // column of `stretchField`, when it names one.
    struct GridColumns {
        TRxDBGridEx *grid = nullptr;
        std::span<const ListColumn> columns;
        const char *stretchField = nullptr;
    };
    void RegisterOpenSteps(int order, GridColumns list, GridColumns detail);
    // What the log-in step opens: the detail's first reading, then the list filtered (an
    // empty list handed on too).
    virtual void OpenLists();
    // After a change of the page: the list on `key` (null: on its row), the lists of the
    // other pages on theirs, the count.
    void RequeryAfterChange(const QVariant &key, DeskSubjects others);

private:
    // The detail's parameter: the list's current number, none without a current row.
    void SetDetailKey();
    void ListRowChanged();
    void LayOutGrids();

    BrowseQuery *m_list = nullptr;
    BrowseQuery *m_detail = nullptr;
    QString m_keyParameter;
    GridColumns m_listColumns;
    GridColumns m_detailColumns;
    bool m_gridsLaidOut = false;
};
