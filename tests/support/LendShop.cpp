#include "support/LendShop.h"

#include "core/database/Commands.h"
#include "core/database/Money.h"
#include "support/TestCommands.h"

#include <QStringList>

void SetMediumPrices(const QString &medium, const QString &fee, const QString &lateFee, const QString &deposit)
{
    SetCommand(QStringLiteral("UPDATE tab_nosic SET PUJCOVNE=:PUJCOVNE,VRATNE=:VRATNE,ZALOHA=:ZALOHA WHERE NOSIC=:NOSIC"));
    SetCommandParam(QStringLiteral("PUJCOVNE"), QVariant::fromValue(Money::fromString(fee)));
    SetCommandParam(QStringLiteral("VRATNE"), QVariant::fromValue(Money::fromString(lateFee)));
    SetCommandParam(QStringLiteral("ZALOHA"), QVariant::fromValue(Money::fromString(deposit)));
    SetCommandParam(QStringLiteral("NOSIC"), medium);
    ExecCommand();
}

void AddLendCustomer(qint64 number, const QString &name, int restriction, int lends)
{
    SetCommand(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,RC,OMEZENI,PUJCKY) "
                              "VALUES (:ZAKAZNIK,:JMENO,:RC,:OMEZENI,:PUJCKY)"));
    SetCommandParam(QStringLiteral("ZAKAZNIK"), number);
    SetCommandParam(QStringLiteral("JMENO"), name);
    SetCommandParam(QStringLiteral("RC"), QStringLiteral("%1").arg(number, 10, 10, QLatin1Char('0')));
    SetCommandParam(QStringLiteral("OMEZENI"), restriction);
    SetCommandParam(QStringLiteral("PUJCKY"), lends);
    ExecCommand();
}

void AddLendVideo(qint64 video, const QString &title, const QString &medium)
{
    SetCommand(QStringLiteral("INSERT INTO tab_video (VIDEO,TITUL,ZAMERENI,NOSIC) VALUES (:VIDEO,:TITUL,"
                              "(SELECT MIN(ID_ZAMERENI) FROM tab_zamereni),"
                              "(SELECT ID_NOSIC FROM tab_nosic WHERE NOSIC=:NOSIC))"));
    SetCommandParam(QStringLiteral("VIDEO"), video);
    SetCommandParam(QStringLiteral("TITUL"), title);
    SetCommandParam(QStringLiteral("NOSIC"), medium);
    ExecCommand();
}

QString LendRows(const QString &sql)
{
    return TestRows(sql, QStringLiteral("-")).join(QLatin1Char('\n'));
}

QString LendTables()
{
    return QStringList{
        LendRows(QStringLiteral("SELECT ZAKAZNIK,PUJCKY FROM tab_zakaznik ORDER BY ZAKAZNIK")),
        LendRows(QStringLiteral("SELECT VIDEO,VYPUJCENA FROM tab_video ORDER BY VIDEO")),
        LendRows(QStringLiteral("SELECT DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL FROM tab_pujcky ORDER BY DOKLAD")),
        LendRows(QStringLiteral("SELECT DOKLAD_PUJ,DOKLAD_VRA,VIDEO,ZAKAZNIK,PUJCENA,HISTORIE,DOKLAD,ZDARMA,"
                                "PUJCOVNE,VRATNE,ZALOHA,VRATIT,DNY,VRACENO,PRES FROM tab_pujckydetail "
                                "ORDER BY DOKLAD_PUJ,VIDEO")),
    }.join(QStringLiteral("\n--\n"));
}
