#pragma once
#include "support/LoggedInDesk.h"
#include "support/TestDatabase.h"

#include <QList>
#include <QPoint>
#include <QVariant>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>

class ModalAnswers;
class QWidget;
class TCustomerPage;
class TFormValmedo;
class TRxDBGridEx;

// What a lend or a return hands on, recorded: the documents the desk puts the journal on
// (null: moved to its end), and the receipts, printed by a stand-in for the main window's
// receipt print. Installed after the log-in, over the print the window is made with; both
// go with the window.
struct RecordedDeskHooks {
    QList<QVariant> journal;
    QList<std::pair<qint64, bool>> receipts;
    void install();
};

// A desk for the tests of the lend and return pages: a database of `engine` filled by
// `addShop`, a log-in on it, the shop closed at the weekend, no change calculator, receipts
// printed without a copy, `hooks` installed when given, then `afterLogIn` (what else the
// test needs), the main window active.
class DeskFixture {
public:
    DeskFixture(Engine engine, const std::function<void()> &addShop, RecordedDeskHooks *hooks,
                const std::function<void()> &afterLogIn);

    TestDatabase db;
    std::unique_ptr<LoggedInDesk> desk;

    bool loggedIn() const { return desk && desk->isReady(); }
    QString error() const;
    TFormValmedo *window() const { return desk->window(); }
    TCustomerPage *customers() const;
    qint64 currentCustomer() const;
    void activate() const;
    // Puts the focus in a box of the page (an edit or a combo box) and types `text` over
    // its content.
    void type(QWidget *box, const QString &text) const;
    // A key to the control that has the focus, or to the window when none has.
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;
};

// The information windows that closed themselves, as "text / detail".
QStringList SelfClosedMessages(const ModalAnswers &answers);

// A row of `from` dropped at `at` (viewport coordinates) on `onto`, the mouse left where the
// drop was; true when the target took it. The drop has acted when this returns.
bool DropGridRow(TRxDBGridEx *from, TRxDBGridEx *onto, QPoint at = QPoint(20, 20));
