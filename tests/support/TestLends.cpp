#include "support/TestLends.h"

#include "core/database/Commands.h"
#include "support/JournalShop.h"
#include "support/ShopRows.h"

namespace {

void Run(const QString &sql, const QList<std::pair<QString, QVariant>> &params)
{
    SetCommand(sql);
    for (const auto &[name, value] : params)
        SetCommandParam(name, value);
    ExecCommand();
}

} // namespace

void AddTestCustomer(qint64 customer, const QString &name, int restriction)
{
    Run(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,OMEZENI) VALUES (:ZAKAZNIK,:JMENO,:OMEZENI)"),
        {{"ZAKAZNIK", customer}, {"JMENO", name}, {"OMEZENI", restriction}});
}

void AddTestVideo(qint64 video, const QString &title, int medium)
{
    AddVideo({video, title, 1, medium, QStringLiteral("499")});
}

void AddTestLend(qint64 document, qint64 customer, const QDateTime &lent, const QList<TestLentLine> &lines)
{
    Run(QStringLiteral("UPDATE tab_zakaznik SET PUJCKY=PUJCKY+:PUJCKY WHERE ZAKAZNIK=:ZAKAZNIK"),
        {{"PUJCKY", int(lines.size())}, {"ZAKAZNIK", customer}});
    AddDocument(document, true, lent, customer, 1);
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
