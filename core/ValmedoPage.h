#pragma once
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <span>
#include <utility>

class BrowseQuery;
class QFrame;
class QHBoxLayout;
class QLabel;
class TFilterPanel;
class TInt64Edit;

// A button of a list page's function column: its name, its caption (lines split by "\n")
// and the main window's action it runs; it is enabled while that action is.
struct FunctionButton {
    const char *name;
    const char *caption;
    const char *action;
};

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
    // The parts of a list page: the function column `name` of `width` with its buttons of
    // `buttonSize` one under the other; a list's title bar.
    QFrame *createFunctionButtons(const char *name, int width, QSize buttonSize,
                                  std::span<const FunctionButton> buttons);
    QLabel *createListTitle(QWidget *parent, const char *name, const QString &text);
    // The find strip `name`: the label `caption` and the number box `boxName` (numbers of up
    // to 13 digits, 1 at first) in its row, where the page adds its other boxes.
    QFrame *createFindStrip(const char *name, const QString &caption, const char *boxName, TInt64Edit *&box,
                            QHBoxLayout *&row);
    // Runs each handler, its errors reported, when the main window's action of that name
    // is triggered.
    void connectWindowActions(std::span<const std::pair<const char *, std::function<void()>>> actions);
    // Lays a list page out: the function column on the left, the find panel, the lists and
    // the status bar one over the other, the filter strip and panel (when the page has one)
    // on the right edge.
    void layOutListPage(QWidget *functionColumn, QWidget *findPanel, QWidget *lists, QWidget *statusBar,
                        TFilterPanel *filterPanel);

private:
    QString m_caption;
    QString m_numberFieldName;
    QLabel *m_filterLabel = nullptr;
    BrowseQuery *m_listQuery = nullptr;
};
