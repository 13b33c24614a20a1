#include "support/LendShop.h"

#include "core/database/Commands.h"
#include "core/database/Money.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace {

// SQLite keeps money as a number of its own choosing (30 or 30.5), PostgreSQL as NUMERIC.
bool IsMoneyColumn(const QString &name)
{
    static const QStringList money{QStringLiteral("PUJCOVNE"), QStringLiteral("VRATNE"), QStringLiteral("ZALOHA"),
                                   QStringLiteral("CENA")};
    return money.contains(name.toUpper());
}

QString ValueText(const QVariant &value, bool money)
{
    static const QRegularExpression storedTime(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"));
    if (value.isNull())
        return QStringLiteral("-");
    if (money)
        return Money::fromVariant(value).toSqlText();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    const QString text = value.toString();
    return storedTime.match(text).hasMatch() ? text.left(16) : text;
}

} // namespace

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
    SetCommand(sql);
    QSqlQuery q = ExecCommandRecordset();
    QStringList rows;
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << ValueText(q.value(i), IsMoneyColumn(q.record().fieldName(i)));
        rows << values.join(QLatin1Char('|'));
    }
    return rows.join(QLatin1Char('\n'));
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
