#include "support/PageDesk.h"

#include "core/Log.h"
#include "core/UValmedo.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/Database.h"
#include "support/TestCommands.h"

#include <QAction>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTest>

PageDesk::PageDesk(TestDatabase &db, int pageIndex, const QString &user)
    : LoggedInDesk(db, user, QStringLiteral("x")), m_page(pageIndex)
{
    if (!isReady())
        return;
    window()->setPageIndex(pageIndex);
    window()->activateWindow();
    // Best effort: the offscreen platform activates a window when it can.
    static_cast<void>(QTest::qWaitForWindowActive(window()));
}

BrowseQuery *PageDesk::list() const
{
    return static_cast<TValmedoPage *>(window()->notebook()->widget(m_page))->listQuery();
}

QList<qint64> PageDesk::listed() const
{
    return ListedNumbers(*list());
}

qint64 PageDesk::current() const
{
    return list()->value(0).toLongLong();
}

bool PageDesk::moveTo(qint64 number) const
{
    return list()->locate(list()->fieldName(0), number);
}

QStringList ShownOnRows(PageDesk &desk, const char *action, const QList<qint64> &rows,
                        const QList<Answer> &answers)
{
    QStringList shown;
    ModalAnswers answering(answers);
    for (qint64 row : rows) {
        if (!desk.moveTo(row))
            shown << QStringLiteral("no row %1").arg(row);
        else
            desk.action(action)->trigger();
    }
    for (const ShownWindow &w : answering.shown())
        shown << w.text + QStringLiteral(" / ") + w.detail + (w.modal ? QStringLiteral(" (modal)") : QString());
    return shown;
}

void AddUser(const QString &user, const QString &password, const QStringList &rights)
{
    QStringList sets;
    for (const QString &right : UserRightColumns())
        sets << QStringLiteral("%1=%2").arg(right).arg(rights.contains(right) ? 1 : 0);
    SetCommand(QStringLiteral("INSERT INTO tab_uzivatel (UZIVATEL,HESLO) VALUES (:UZIVATEL,:HESLO)"));
    SetCommandParam(QStringLiteral("UZIVATEL"), user);
    SetCommandParam(QStringLiteral("HESLO"), password);
    ExecCommand();
    SetCommand(QStringLiteral("UPDATE tab_uzivatel SET %1 WHERE UZIVATEL=:UZIVATEL").arg(sets.join(QLatin1Char(','))));
    SetCommandParam(QStringLiteral("UZIVATEL"), user);
    ExecCommand();
}

QString LastLogLine(const LoggedInDesk &desk)
{
    return desk.window()->log()->Lines().constLast();
}

bool LoggedTransaction(const LoggedInDesk &desk, const QString &name, qint64 number, const QString &result)
{
    const QRegularExpression line(QStringLiteral(" Transakce \\[%1\\] \\[\\d+ ms\\] \\[%2\\] \\[%3\\]$")
                                      .arg(QRegularExpression::escape(name))
                                      .arg(number, 13, 10, QChar('0'))
                                      .arg(result));
    return line.match(LastLogLine(desk)).hasMatch();
}

void EnterIn(QWidget *control, const char *enterAction)
{
    QAction *edit = NamedAction(FormValmedo, QLatin1String(enterAction));
    const QList<QKeySequence> keys = edit->shortcuts();
    edit->setShortcuts({});
    QTest::keyClick(control, Qt::Key_Return);
    edit->setShortcuts(keys);
}

void PressOn(QWidget *widget, Qt::Key key)
{
    widget->setFocus();
    QTest::keyClick(widget, key);
}

void TypeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        const Qt::Key key = c.isDigit() ? Qt::Key(Qt::Key_0 + c.digitValue())
                                        : (c.unicode() < 128 && c.isLetter() ? Qt::Key(c.toUpper().unicode())
                                                                             : Qt::Key_unknown);
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}
