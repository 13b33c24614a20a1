#include "reports/layouts/ReceiptStore.h"

#include "core/Texts.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

#include <QSqlQuery>

QStringList LendsListSql()
{
    const SqlDialect &d = CurrentServer()->dialect();
    // The sub-selects write "where" in lower case: the journal's filter finds its own WHERE
    // part by the upper-case word.
    const QString lines = QStringLiteral(
        "FROM tab_pujckydetail where (tab_pujcky.DOKLAD=tab_pujckydetail.DOKLAD_PUJ) or "
        "(tab_pujcky.DOKLAD=tab_pujckydetail.DOKLAD_VRA))");
    return {"SELECT", "tab_pujcky.DOKLAD,", "tab_pujcky.OPERACE,", "tab_pujcky.CAS,", "tab_pujcky.ZAKAZNIK,",
            "tab_zakaznik.JMENO,", "tab_uzivatel.UZIVATEL,", "(SELECT COUNT(*) " + lines + " AS POLOZKY,",
            "(SELECT ROUND(" + d.money("CASE WHEN tab_pujcky.OPERACE=1 THEN SUM(PUJCOVNE*(DNY-ZDARMA)) "
                                       "ELSE SUM(VRATNE*COALESCE(PRES,0)) END") + ",0) " + lines
                + " AS PLATBA_CELKEM,",
            "(SELECT ROUND(" + d.money("CASE WHEN tab_pujcky.OPERACE=1 THEN SUM(ZALOHA) ELSE -SUM(ZALOHA) END")
                + ",0) " + lines + " AS ZALOHA_CELKEM",
            "FROM tab_pujcky", "LEFT JOIN tab_zakaznik ON (tab_pujcky.ZAKAZNIK=tab_zakaznik.ZAKAZNIK)",
            "JOIN tab_uzivatel ON (tab_pujcky.UZIVATEL=tab_uzivatel.ID_UZIVATEL)", "ORDER BY tab_pujcky.DOKLAD"};
}

void PrepareLendsQuery(BrowseQuery &query)
{
    query.setSql(LendsListSql());
    const std::pair<const char *, FieldKind> kinds[] = {
        {"DOKLAD", FieldKind::Int64},   {"OPERACE", FieldKind::Boolean}, {"CAS", FieldKind::DateTime},
        {"ZAKAZNIK", FieldKind::Int64}, {"POLOZKY", FieldKind::Integer}, {"PLATBA_CELKEM", FieldKind::Money},
        {"ZALOHA_CELKEM", FieldKind::Money}};
    for (const auto &[field, kind] : kinds)
        query.setFieldKind(QString::fromLatin1(field), kind);
}

void PrepareLendsDetailQuery(BrowseQuery &query)
{
    const SqlDialect &d = CurrentServer()->dialect();
    query.setSql({"SELECT", "tab_pujckydetail.VIDEO,", "tab_pujckydetail.PUJCENA,", "tab_video.TITUL,",
                  "tab_nosic.NOSIC,", "tab_pujckydetail.PUJCENO,", "tab_pujckydetail.VRATIT,",
                  "tab_pujckydetail.DNY,", "tab_pujckydetail.VRACENO,", "tab_pujckydetail.PRES,",
                  "tab_pujckydetail.ZDARMA,",
                  d.money("(tab_pujckydetail.DNY-tab_pujckydetail.ZDARMA)*tab_pujckydetail.PUJCOVNE")
                      + " AS PUJCOVNE_CELKEM,",
                  d.money("tab_pujckydetail.PRES*tab_pujckydetail.VRATNE") + " AS VRATNE_CELKEM,",
                  "tab_pujckydetail.ZALOHA", "FROM tab_pujckydetail",
                  "LEFT JOIN tab_video ON (tab_pujckydetail.VIDEO=tab_video.VIDEO)",
                  "LEFT JOIN tab_nosic ON (tab_video.NOSIC=tab_nosic.ID_NOSIC)",
                  "WHERE tab_pujckydetail.DOKLAD_PUJ=:DOKLAD or tab_pujckydetail.DOKLAD_VRA=:DOKLAD",
                  "ORDER BY tab_pujckydetail.VIDEO"});
    const std::pair<const char *, FieldKind> kinds[] = {
        {"VIDEO", FieldKind::Int64},      {"PUJCENA", FieldKind::Boolean},
        {"PUJCENO", FieldKind::DateTime}, {"VRATIT", FieldKind::DateTime},
        {"DNY", FieldKind::Integer},      {"VRACENO", FieldKind::DateTime},
        {"PRES", FieldKind::Integer},     {"ZDARMA", FieldKind::Boolean},
        {"ZALOHA", FieldKind::Money},     {"PUJCOVNE_CELKEM", FieldKind::Money},
        {"VRATNE_CELKEM", FieldKind::Money}};
    for (const auto &[field, kind] : kinds)
        query.setFieldKind(QString::fromLatin1(field), kind);
}

void OpenReceiptDocument(BrowseQuery &lends, BrowseQuery &lines, qint64 document)
{
    PrepareLendsQuery(lends);
    QStringList sql = lends.sql();
    sql.insert(sql.size() - 1, QStringLiteral("WHERE tab_pujcky.DOKLAD=:DOKLAD"));
    lends.setSql(sql);
    lends.setParameter(QStringLiteral("DOKLAD"), document);
    lends.open();
    PrepareLendsDetailQuery(lines);
    lines.setParameter(QStringLiteral("DOKLAD"), document);
    lines.open();
}

ReceiptCustomer ReadReceiptCustomer(qint64 customer)
{
    SetCommand(QStringLiteral("SELECT JMENO,ADRESA1 FROM tab_zakaznik WHERE ZAKAZNIK=:ZAKAZNIK"));
    SetCommandParam(QStringLiteral("ZAKAZNIK"), customer);
    QSqlQuery row = ExecCommandRecordset();
    if (!row.next())
        return {};
    return {TrimmedRight(row.value(0).toString()), TrimmedRight(row.value(1).toString())};
}
