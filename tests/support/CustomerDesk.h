#pragma once
#include "support/LoggedInDesk.h"

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;
class TCustomerPage;

// A logged-in desk on the test's database, shown on the customer page, with its main
// window active so that the clerk's typing reaches the page.
class CustomerDesk : public LoggedInDesk {
public:
    explicit CustomerDesk(TestDatabase &db, const QString &user = QStringLiteral("sa"));
    TCustomerPage *page() const;
    // The numbers the customer list shows, in its order, and its current one (0: none).
    QList<qint64> listed() const;
    qint64 current() const;
    // Moves the list to that customer; false when the list does not show him.
    bool moveTo(qint64 customer) const;
};

// Adds a user with a password and the named rights (every other right off).
void AddUser(const QString &user, const QString &password, const QStringList &rights);

// Types `text` into the widget as the keyboard does, letter by letter, Czech letters too.
void TypeText(QWidget *widget, const QString &text);
