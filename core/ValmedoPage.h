#pragma once
#include <QString>
#include <QWidget>

class BrowseQuery;
class QLabel;

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
