#pragma once
#include "support/LoggedInDesk.h"
#include "support/ModalAnswers.h"

#include <QList>
#include <QString>
#include <QStringList>

class BrowseQuery;
class QWidget;

// A logged-in desk on the test's database, shown on one page of the main window (by its
// index), with its main window active so that the clerk's typing reaches the page.
class PageDesk : public LoggedInDesk {
public:
    PageDesk(TestDatabase &db, int pageIndex, const QString &user);
    // The numbers the page's list shows, in its order, and its current one (0: none).
    QList<qint64> listed() const;
    qint64 current() const;
    // Moves the list to that number; false when the list does not show it.
    bool moveTo(qint64 number) const;

private:
    BrowseQuery *list() const;
    int m_page;
};

// The windows that the desk's `action` shows on each of `rows` in turn (the list moved
// to the row first), the modal ones answered by `answers`: "text / detail", a modal one
// with " (modal)" after it; a row the list does not show as "no row N".
QStringList ShownOnRows(PageDesk &desk, const char *action, const QList<qint64> &rows,
                        const QList<Answer> &answers);

// Adds a user with a password and the named rights (every other right off).
void AddUser(const QString &user, const QString &password, const QStringList &rights);

// The log's last line, and whether it is the line of a desk transaction ("Transakce [name]
// [n ms] [number in 13 digits] [result]").
QString LastLogLine(const LoggedInDesk &desk);
bool LoggedTransaction(const LoggedInDesk &desk, const QString &name, qint64 number, const QString &result);

// Enter in a control of an answered dialog. An answered dialog is shown without blocking
// and the offscreen platform may leave the main window the active one, whose action on
// Enter (`enterAction`) would take the key; a modal dialog keeps the key from that window,
// as this does.
void EnterIn(QWidget *control, const char *enterAction);
// Gives the widget the focus and presses the key in it.
void PressOn(QWidget *widget, Qt::Key key);

// Types `text` into the widget as the keyboard does, letter by letter, Czech letters too.
void TypeText(QWidget *widget, const QString &text);
