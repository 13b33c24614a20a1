#include "catalogue/CustomerStore.h"

#include "catalogue/CatalogueStore.h"
#include "core/DeskTransaction.h"
#include "core/database/Errors.h"
#include "core/database/Commands.h"
#include "core/database/SqlDialect.h"

#include <QSqlQuery>

namespace {

void bindCustomer(const CustomerRecord &c)
{
    SetCommandParam(QStringLiteral("ZAKAZNIK"), c.number);
    SetCommandParam(QStringLiteral("JMENO"), StoredText(c.name));
    SetCommandParam(QStringLiteral("TELEFON"), StoredText(c.phone));
    SetCommandParam(QStringLiteral("ADRESA1"), StoredText(c.address1));
    SetCommandParam(QStringLiteral("ADRESA2"), StoredText(c.address2));
    SetCommandParam(QStringLiteral("RC"), StoredText(c.birthNumber));
    SetCommandParam(QStringLiteral("OP"), StoredText(c.identityCard));
    SetCommandParam(QStringLiteral("OMEZENI"),
                    c.limit >= 0 ? QVariant(c.limit) : QVariant(QMetaType::fromType<int>()));
    SetCommandParam(QStringLiteral("TEXT"), StoredText(c.text));
}

void execFor(const QString &statement, qint64 number)
{
    SetCommand(statement);
    SetCommandParam(QStringLiteral("ZAKAZNIK"), number);
    ExecCommand();
}

} // namespace

QStringList CustomerListSql()
{
    return {QStringLiteral("SELECT"), QStringLiteral("ZAKAZNIK,"), QStringLiteral("JMENO,"),
            QStringLiteral("TELEFON,"), QStringLiteral("ADRESA1,"), QStringLiteral("ADRESA2,"),
            QStringLiteral("RC,"), QStringLiteral("OP,"), QStringLiteral("REGISTRACE,"),
            QStringLiteral("CASE"), QStringLiteral(" WHEN OMEZENI=0 THEN '!'"),
            QStringLiteral(" WHEN OMEZENI=1 THEN '$'"), QStringLiteral(" WHEN OMEZENI=2 THEN '-'"),
            QStringLiteral(" WHEN OMEZENI=3 THEN '+'"), QStringLiteral("END AS OMEZENI,"),
            QStringLiteral("PUJCKY,"), QStringLiteral("TEXT"), QStringLiteral("FROM tab_zakaznik"),
            QStringLiteral("ORDER BY tab_zakaznik.ZAKAZNIK")};
}

QStringList CustomerHistorySql()
{
    return {QStringLiteral("SELECT"),
            QStringLiteral("tab_pujckydetail.VIDEO,"),
            QStringLiteral("tab_pujckydetail.PUJCENA,"),
            QStringLiteral("tab_video.TITUL,"),
            QStringLiteral("tab_nosic.NOSIC,"),
            QStringLiteral("tab_pujckydetail.ZDARMA,"),
            QStringLiteral("tab_pujckydetail.PUJCENO,"),
            QStringLiteral("tab_pujckydetail.VRATIT,"),
            QStringLiteral("tab_pujckydetail.VRACENO"),
            QStringLiteral("FROM tab_pujckydetail"),
            QStringLiteral("JOIN tab_video ON (tab_pujckydetail.VIDEO=tab_video.VIDEO)"),
            QStringLiteral("JOIN tab_nosic ON (tab_video.NOSIC=tab_nosic.ID_NOSIC)"),
            QStringLiteral("WHERE (tab_pujckydetail.HISTORIE=1)and(tab_pujckydetail.ZAKAZNIK=:ZAKAZNIK)")};
}

QStringList CustomerSearchAllSql()
{
    return {QStringLiteral("SELECT"), QStringLiteral("ZAKAZNIK,"), QStringLiteral("JMENO,"), QStringLiteral("ADRESA1,"),
            QStringLiteral("RC"), QStringLiteral("FROM tab_zakaznik")};
}

QStringList CustomerSearchSql()
{
    const SqlDialect &d = CatalogueDialect();
    return {QStringLiteral("SELECT ZAKAZNIK,JMENO,ADRESA1,RC FROM tab_zakaznik WHERE %1 AND %2 AND %3")
                .arg(d.foldLike(QStringLiteral("JMENO"), QStringLiteral(":JMENO")),
                     d.foldLike(QStringLiteral("ADRESA1"), QStringLiteral(":ADRESA1")),
                     d.foldLike(QStringLiteral("RC"), QStringLiteral(":RC")))};
}

QString CustomerFilterWhere(const CustomerFilterInput &f, const SqlDialect &dialect)
{
    QString where;
    if (f.codeOn) {
        if (f.codeFirst)
            AddWhereLine(where, QStringLiteral("tab_zakaznik.ZAKAZNIK>=%1").arg(*f.codeFirst));
        if (f.codeSecond)
            AddWhereLine(where, QStringLiteral("tab_zakaznik.ZAKAZNIK<=%1").arg(*f.codeSecond));
    }
    if (f.nameOn)
        AddWhereLine(where, dialect.foldLike(QStringLiteral("tab_zakaznik.JMENO"),
                                             QLatin1Char('\'') + dialect.likeText(f.name) + QStringLiteral("%'")));
    if (f.limitOn && f.limit >= 0 && f.limit <= LimitVip)
        AddWhereLine(where, QStringLiteral("tab_zakaznik.OMEZENI=%1").arg(f.limit));
    if (f.registrationOn) {
        if (f.registrationFirst)
            AddWhereLine(where, QStringLiteral("tab_zakaznik.REGISTRACE>='%1'").arg(FilterDate(*f.registrationFirst)));
        if (f.registrationSecond)
            AddWhereLine(where,
                         QStringLiteral("tab_zakaznik.REGISTRACE<='%1'").arg(FilterDate(*f.registrationSecond, true)));
    }
    if (f.lent)
        AddWhereLine(where, QStringLiteral("EXISTS (SELECT * FROM tab_pujckydetail where "
                                           "tab_zakaznik.ZAKAZNIK=tab_pujckydetail.ZAKAZNIK AND tab_pujckydetail.PUJCENA=1)"));
    if (f.overdue)
        AddWhereLine(where, QStringLiteral("EXISTS (SELECT * FROM tab_pujckydetail where "
                                           "tab_zakaznik.ZAKAZNIK=tab_pujckydetail.ZAKAZNIK AND tab_pujckydetail.VRATIT<'%1' "
                                           "AND tab_pujckydetail.PUJCENA=1)")
                                .arg(FilterDate(f.runDate)));
    return where;
}

int CountCustomers(const QString &wherePart)
{
    ReadOnlyStatements readOnly; // the WHERE part may be the free filter's
    SetCommand(QStringLiteral("SELECT COUNT(*) FROM tab_zakaznik ") + wherePart);
    return ExecCommandValue().toInt();
}

QList<CustomerProposal> CustomerNameProposals(const QString &typed)
{
    const SqlDialect &d = CatalogueDialect();
    SetCommand(QStringLiteral("SELECT JMENO,RC,ZAKAZNIK FROM tab_zakaznik WHERE %1 ORDER BY %2")
                   .arg(d.foldLike(QStringLiteral("JMENO"), QStringLiteral(":JMENO")),
                        d.textOrder(QStringLiteral("JMENO"))));
    SetCommandParam(QStringLiteral("JMENO"), SqlDialect::likeBegin(typed));
    QSqlQuery rows = ExecCommandRecordset();
    QList<CustomerProposal> proposals;
    while (rows.next()) {
        CustomerProposal p;
        p.name = rows.value(0).toString();
        p.birthNumber = rows.value(1).toString();
        p.number = rows.value(2).toLongLong();
        for (QString *text : {&p.name, &p.birthNumber})
            while (text->endsWith(QLatin1Char(' ')))
                text->chop(1);
        proposals << p;
    }
    return proposals;
}

QString CustomerProposalText(const CustomerProposal &proposal)
{
    return QStringLiteral("%1 / %2").arg(proposal.name, proposal.birthNumber);
}

qint64 LowestFreeCustomer()
{
    return LowestFreeNumber(QStringLiteral("tab_zakaznik"), QStringLiteral("ZAKAZNIK"));
}

void InsertCustomer(const CustomerRecord &customer)
{
    DeskTransaction transaction;
    SetCommand(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,TELEFON,ADRESA1,ADRESA2,RC,OP,OMEZENI,TEXT) "
                              "VALUES (:ZAKAZNIK,:JMENO,:TELEFON,:ADRESA1,:ADRESA2,:RC,:OP,:OMEZENI,:TEXT)"));
    bindCustomer(customer);
    ExecCommand();
    transaction.commit();
}

void UpdateCustomer(const CustomerRecord &customer, bool eraseHistory)
{
    DeskTransaction transaction;
    if (eraseHistory) {
        execFor(QStringLiteral("DELETE FROM tab_pujckydetail WHERE PUJCENA=0 AND DOKLAD=0 AND ZAKAZNIK=:ZAKAZNIK"),
                customer.number);
        execFor(QStringLiteral("UPDATE tab_pujckydetail SET HISTORIE=0 WHERE ZAKAZNIK=:ZAKAZNIK"), customer.number);
    }
    SetCommand(QStringLiteral("UPDATE tab_zakaznik SET JMENO=:JMENO,TELEFON=:TELEFON,ADRESA1=:ADRESA1,"
                              "ADRESA2=:ADRESA2,RC=:RC,OP=:OP,OMEZENI=COALESCE(:OMEZENI,OMEZENI),TEXT=:TEXT "
                              "WHERE ZAKAZNIK=:ZAKAZNIK"));
    bindCustomer(customer);
    ExecCommand();
    // Removed at another desk meanwhile: nothing was saved, and the clerk must hear so.
    if (CommandRowsAffected() != 1)
        throw EDatabaseError(QStringLiteral("Zákazník %1 v databázi není").arg(customer.number));
    transaction.commit();
}

void RemoveCustomer(qint64 number)
{
    DeskTransaction transaction;
    execFor(QStringLiteral("DELETE FROM tab_pujckydetail WHERE DOKLAD=0 AND ZAKAZNIK=:ZAKAZNIK"), number);
    execFor(QStringLiteral("UPDATE tab_pujckydetail SET HISTORIE=0 WHERE ZAKAZNIK=:ZAKAZNIK"), number);
    execFor(QStringLiteral("DELETE FROM tab_zakaznik WHERE ZAKAZNIK=:ZAKAZNIK"), number);
    transaction.commit();
}
