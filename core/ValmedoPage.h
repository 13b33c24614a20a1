#pragma once
#include "core/Desk.h"
#include "core/ValmedoActions.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <utility>

class BrowseQuery;
class QAction;
class QLabel;

// An action of the main window (null without the window).
QAction *WindowAction(ValmedoAction action);
// Selects the text of the main window's focused field for overtyping, as every action of
// a page ends.
void SelectAllInMainWindow();
// The control of the main window that has the focus (it gets it back after a message).
QWidget *MainWindowFocus();

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
    // Answers the desk's changes of `subject`: by `answer`, or without one by requeryList.
    void followDesk(DeskSubject subject, std::function<void(const QVariant &key)> answer = {});
    // Runs each handler (reporting its errors) when its action of the main window fires.
    void connectActions(std::initializer_list<std::pair<ValmedoAction, std::function<void()>>> actions);

private:
    QString m_caption;
    QString m_numberFieldName;
    QLabel *m_filterLabel = nullptr;
    BrowseQuery *m_listQuery = nullptr;
};
