#include "support/ShopRows.h"

#include "core/database/Commands.h"
#include "core/database/Money.h"

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
    AddVideo(ShopVideo(video, title));
}

void AddVideo(const ShopVideo &v)
{
    SetCommand(QStringLiteral("INSERT INTO tab_video (VIDEO,TITUL,ZAMERENI,NOSIC,CENA%1) "
                              "VALUES (:VIDEO,:TITUL,:ZAMERENI,:NOSIC,:CENA%2)")
                   .arg(v.registered.isValid() ? QStringLiteral(",REGISTRACE") : QString(),
                        v.registered.isValid() ? QStringLiteral(",:REGISTRACE") : QString()));
    SetCommandParam(QStringLiteral("VIDEO"), v.number);
    SetCommandParam(QStringLiteral("TITUL"), v.title);
    SetCommandParam(QStringLiteral("ZAMERENI"), v.direction);
    SetCommandParam(QStringLiteral("NOSIC"), v.medium);
    SetCommandParam(QStringLiteral("CENA"), QVariant::fromValue(Money::fromString(v.price)));
    if (v.registered.isValid())
        SetCommandParam(QStringLiteral("REGISTRACE"), v.registered);
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

namespace {

QVariant column(const char *table, const char *key, qint64 number, const QString &column)
{
    SetCommand(QStringLiteral("SELECT %1 FROM %2 WHERE %3=:KEY").arg(column, QLatin1String(table), QLatin1String(key)));
    SetCommandParam(QStringLiteral("KEY"), number);
    QSqlQuery q = ExecCommandRecordset();
    return q.next() ? q.value(0) : QVariant();
}

QString lines(const char *of, const char *by, qint64 number)
{
    SetCommand(QStringLiteral("SELECT %1,PUJCENA,HISTORIE FROM tab_pujckydetail WHERE %2=:KEY ORDER BY %1")
                   .arg(QLatin1String(by), QLatin1String(of)));
    SetCommandParam(QStringLiteral("KEY"), number);
    QSqlQuery q = ExecCommandRecordset();
    QStringList found;
    while (q.next())
        found << QStringLiteral("%1:%2/%3").arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
    return found.join(QLatin1Char(','));
}

} // namespace

QVariant CustomerColumn(qint64 customer, const QString &name)
{
    return column("tab_zakaznik", "ZAKAZNIK", customer, name);
}

QString CustomerLines(qint64 customer)
{
    return lines("ZAKAZNIK", "VIDEO", customer);
}

QVariant VideoColumn(qint64 video, const QString &name)
{
    return column("tab_video", "VIDEO", video, name);
}

QString VideoLines(qint64 video)
{
    return lines("VIDEO", "DOKLAD_PUJ", video);
}
