#include "support/CustomerDesk.h"

#include "catalogue/UCustomerPage.h"
#include "core/UValmedo.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/Database.h"

#include <QTest>

CustomerDesk::CustomerDesk(TestDatabase &db, const QString &user) : LoggedInDesk(db, user, QStringLiteral("x"))
{
    if (!isReady())
        return;
    window()->setPageIndex(TFormValmedo::PageCustomer);
    window()->activateWindow();
    // Best effort: the offscreen platform activates a window when it can.
    static_cast<void>(QTest::qWaitForWindowActive(window()));
}

TCustomerPage *CustomerDesk::page() const
{
    return window()->customerPage();
}

QList<qint64> CustomerDesk::listed() const
{
    QList<qint64> numbers;
    BrowseQuery *q = page()->ADOQueryCustomer;
    for (int row = 0; row < q->recordCount(); ++row)
        numbers << q->valueAt(row, 0).toLongLong();
    return numbers;
}

qint64 CustomerDesk::current() const
{
    return page()->ADOQueryCustomer->value(0).toLongLong();
}

bool CustomerDesk::moveTo(qint64 customer) const
{
    return page()->ADOQueryCustomer->locate(QStringLiteral("ZAKAZNIK"), customer);
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

void TypeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        const Qt::Key key = c.isDigit() ? Qt::Key(Qt::Key_0 + c.digitValue())
                                        : (c.unicode() < 128 && c.isLetter() ? Qt::Key(c.toUpper().unicode())
                                                                             : Qt::Key_unknown);
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}
