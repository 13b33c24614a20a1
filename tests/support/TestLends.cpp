#include "support/TestLends.h"

#include "core/database/Commands.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

void Run(const QString &sql, const QList<std::pair<QString, QVariant>> &params)
{
    SetCommand(sql);
    for (const auto &[name, value] : params)
        SetCommandParam(name, value);
    ExecCommand();
}

bool IsMoneyColumn(const QString &name)
{
    static const QStringList money{"PUJCOVNE", "VRATNE", "ZALOHA", "CENA"};
    return money.contains(name.toUpper()) || name.toUpper().endsWith(QLatin1String("_CELKEM"));
}

QString CellText(const QVariant &value, bool money)
{
    static const QRegularExpression storedTime(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"));
    static const QRegularExpression decimal(QStringLiteral("^-?\\d+\\.\\d+$"));
    if (value.isNull())
        return QStringLiteral("NULL");
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    if (money || value.metaType().id() == QMetaType::Double)
        return Money::fromVariant(value).toSqlText();
    const QString text = value.toString();
    if (storedTime.match(text).hasMatch())
        return text.left(16);
    if (decimal.match(text).hasMatch())
        return Money::fromVariant(value).toSqlText();
    return text;
}

} // namespace

void AddTestCustomer(qint64 customer, const QString &name, int restriction)
{
    Run(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,OMEZENI) VALUES (:ZAKAZNIK,:JMENO,:OMEZENI)"),
        {{"ZAKAZNIK", customer}, {"JMENO", name}, {"OMEZENI", restriction}});
}

void AddTestVideo(qint64 video, const QString &title, int medium)
{
    Run(QStringLiteral("INSERT INTO tab_video (VIDEO,TITUL,ZAMERENI,NOSIC,CENA) VALUES (:VIDEO,:TITUL,1,:NOSIC,499)"),
        {{"VIDEO", video}, {"TITUL", title}, {"NOSIC", medium}});
}

void AddTestLend(qint64 document, qint64 customer, const QDateTime &lent, const QList<TestLentLine> &lines)
{
    Run(QStringLiteral("UPDATE tab_zakaznik SET PUJCKY=PUJCKY+:PUJCKY WHERE ZAKAZNIK=:ZAKAZNIK"),
        {{"PUJCKY", int(lines.size())}, {"ZAKAZNIK", customer}});
    Run(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,CAS,ZAKAZNIK,UZIVATEL) "
                       "VALUES (:DOKLAD,1,:CAS,:ZAKAZNIK,1)"),
        {{"DOKLAD", document}, {"CAS", lent}, {"ZAKAZNIK", customer}});
    for (const TestLentLine &line : lines) {
        Run(QStringLiteral("UPDATE tab_video SET VYPUJCENA=VYPUJCENA+1 WHERE VIDEO=:VIDEO"), {{"VIDEO", line.video}});
        Run(QStringLiteral("INSERT INTO tab_pujckydetail (DOKLAD_PUJ,VIDEO,ZAKAZNIK,ZDARMA,PUJCOVNE,VRATNE,ZALOHA,"
                           "PUJCENO,VRATIT,DNY) VALUES (:DOKLAD_PUJ,:VIDEO,:ZAKAZNIK,:ZDARMA,:PUJCOVNE,:VRATNE,"
                           ":ZALOHA,:PUJCENO,:VRATIT,:DNY)"),
            {{"DOKLAD_PUJ", document},
             {"VIDEO", line.video},
             {"ZAKAZNIK", customer},
             {"ZDARMA", line.free},
             {"PUJCOVNE", QVariant::fromValue(line.fee)},
             {"VRATNE", QVariant::fromValue(line.lateFee)},
             {"ZALOHA", QVariant::fromValue(line.deposit)},
             {"PUJCENO", lent},
             {"VRATIT", line.due},
             {"DNY", line.days}});
    }
}

QStringList TestRows(const QString &sql)
{
    SetCommand(sql);
    QSqlQuery q = ExecCommandRecordset();
    QStringList rows;
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << CellText(q.value(i), IsMoneyColumn(q.record().fieldName(i)));
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}
