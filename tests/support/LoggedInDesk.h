#pragma once
#include "support/TestDatabase.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

class QAction;
class TFormValmedo;
class TValmedoPage;

// A desk as start-up leaves it after a log-in, on a fresh database of `engine` with a
// working folder of its own (the form-state file and the log start empty): the four settings
// dialogs made and restored, the main window made, `OpenDatabase` run (the pages' log-in
// steps) and the window shown. `user` other than "sa" is added to the user
// table with `password` and `rights` (names of the right columns) before the log-in.
//
//     LoggedInDesk desk(engine);
//     QVERIFY2(desk.isReady(), qPrintable(desk.error()));
//     desk.action("ActionCustomerNew")->trigger();
class LoggedInDesk {
public:
    explicit LoggedInDesk(Engine engine, const QString &user = QStringLiteral("sa"),
                          const QString &password = QStringLiteral("Heslo1"),
                          const QStringList &rights = {});
    // The same log-in on a database the test made and filled itself, in the test's own
    // working folder; `user` must already be in its user table unless he is "sa".
    explicit LoggedInDesk(TestDatabase &database, const QString &user = QStringLiteral("sa"),
                          const QString &password = QStringLiteral("Heslo1"));
    ~LoggedInDesk();
    LoggedInDesk(const LoggedInDesk &) = delete;
    LoggedInDesk &operator=(const LoggedInDesk &) = delete;

    bool isReady() const { return m_ready; }
    QString error() const { return m_error; }
    TFormValmedo *window() const { return m_window.get(); }
    TestDatabase &database() { return *m_db; }
    // The main window's action of that objectName, null without one.
    QAction *action(const QString &name) const;

    // Runs OpenDatabase again, as a new log-in does.
    bool reopen();

private:
    void logIn(const QString &user, const QString &password);

    std::unique_ptr<TestDatabase> m_ownDatabase;
    TestDatabase *m_db = nullptr;
    std::unique_ptr<QTemporaryDir> m_work; // the working folder of an own database
    QString m_previousDir;
    std::unique_ptr<TFormValmedo> m_window;
    bool m_ready = false;
    QString m_error;
};

// The action of that objectName ("ActionCustomerEdit" ...) that the window holds, null
// without one: the tests find the actions by their names.
QAction *NamedAction(const TFormValmedo *window, const QString &name);

// Whether the page's "Filtr..." label blinks: shown at one of two ticks of the main
// window's timer (stop the timer first, so that only these ticks count).
bool FilterLabelBlinks(TFormValmedo *window, TValmedoPage *page);
