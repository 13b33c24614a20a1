#include "support/ShopRows.h"

#include "core/database/Commands.h"

#include <QSqlQuery>
#include <QStringList>

void AddCustomer(const ShopCustomer &c)
{
    // Empty texts as the program stores them: empty, not null.
    const auto text = [](const QString &s) { return s.isNull() ? QStringLiteral("") : s; };
    SetCommand(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,RC,OP,OMEZENI,ADRESA1%1) "
                              "VALUES (:ZAKAZNIK,:JMENO,:RC,:OP,:OMEZENI,:ADRESA1%2)")
                   .arg(c.registered.isValid() ? QStringLiteral(",REGISTRACE") : QString(),
                        c.registered.isValid() ? QStringLiteral(",:REGISTRACE") : QString()));
    SetCommandParam(QStringLiteral("ZAKAZNIK"), c.number);
    SetCommandParam(QStringLiteral("JMENO"), text(c.name));
    SetCommandParam(QStringLiteral("RC"), text(c.birthNumber));
    SetCommandParam(QStringLiteral("OP"), text(c.identityCard));
    SetCommandParam(QStringLiteral("OMEZENI"), c.limit.isNull() ? QVariant(QMetaType::fromType<int>()) : c.limit);
    SetCommandParam(QStringLiteral("ADRESA1"), text(c.address1));
    if (c.registered.isValid())
        SetCommandParam(QStringLiteral("REGISTRACE"), c.registered);
    ExecCommand();
}

void AddVideo(qint64 video, const QString &title)
{
    SetCommand(QStringLiteral("INSERT INTO tab_video (VIDEO,TITUL,ZAMERENI,NOSIC,CENA) "
                              "VALUES (:VIDEO,:TITUL,1,1,100)"));
    SetCommandParam(QStringLiteral("VIDEO"), video);
    SetCommandParam(QStringLiteral("TITUL"), title);
    ExecCommand();
}

void AddLine(const ShopLine &l)
{
    SetCommand(QStringLiteral("INSERT INTO tab_pujckydetail (DOKLAD_PUJ,VIDEO,ZAKAZNIK,PUJCENA,HISTORIE,DOKLAD,"
                              "ZDARMA,PUJCOVNE,VRATNE,ZALOHA,VRATIT,DNY) VALUES (:DOKLAD_PUJ,:VIDEO,:ZAKAZNIK,"
                              ":PUJCENA,:HISTORIE,:DOKLAD,:ZDARMA,30,10,0,:VRATIT,1)"));
    SetCommandParam(QStringLiteral("DOKLAD_PUJ"), l.document);
    SetCommandParam(QStringLiteral("VIDEO"), l.video);
    SetCommandParam(QStringLiteral("ZAKAZNIK"), l.customer);
    SetCommandParam(QStringLiteral("PUJCENA"), l.out ? 1 : 0);
    SetCommandParam(QStringLiteral("HISTORIE"), l.history ? 1 : 0);
    SetCommandParam(QStringLiteral("DOKLAD"), l.documented ? 1 : 0);
    SetCommandParam(QStringLiteral("ZDARMA"), l.free ? 1 : 0);
    SetCommandParam(QStringLiteral("VRATIT"), QDateTime(l.due, QTime(0, 0)));
    ExecCommand();
}

QVariant CustomerColumn(qint64 customer, const QString &column)
{
    SetCommand(QStringLiteral("SELECT %1 FROM tab_zakaznik WHERE ZAKAZNIK=:ZAKAZNIK").arg(column));
    SetCommandParam(QStringLiteral("ZAKAZNIK"), customer);
    QSqlQuery q = ExecCommandRecordset();
    return q.next() ? q.value(0) : QVariant();
}

QString CustomerLines(qint64 customer)
{
    SetCommand(QStringLiteral("SELECT VIDEO,PUJCENA,HISTORIE FROM tab_pujckydetail WHERE ZAKAZNIK=:ZAKAZNIK "
                              "ORDER BY VIDEO"));
    SetCommandParam(QStringLiteral("ZAKAZNIK"), customer);
    QSqlQuery q = ExecCommandRecordset();
    QStringList lines;
    while (q.next())
        lines << QStringLiteral("%1:%2/%3").arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
    return lines.join(QLatin1Char(','));
}
