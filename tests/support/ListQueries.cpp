#include "support/ListQueries.h"

#include "catalogue/CustomerStore.h"
#include "core/database/BrowseQuery.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

void SetCustomerListSql(BrowseQuery &query)
{
    query.setSql(CustomerListSql());
}

void SetVideoListSql(BrowseQuery &query)
{
    query.setSql({"SELECT", "tab_video.VIDEO,", "tab_video.TITUL,", "tab_zamereni.ZAMERENI,",
                  "tab_nosic.NOSIC,", "tab_video.CENA,", "tab_video.REGISTRACE,", "tab_video.VYPUJCENA",
                  "FROM tab_video", "JOIN tab_zamereni ON (tab_video.ZAMERENI=tab_zamereni.ID_ZAMERENI)",
                  "JOIN tab_nosic ON (tab_video.NOSIC=tab_nosic.ID_NOSIC)", "ORDER BY tab_video.VIDEO"});
}

void SetLendsListSql(BrowseQuery &query)
{
    const SqlDialect &d = CurrentServer()->dialect();
    const QString lines = QStringLiteral(
        "FROM tab_pujckydetail where (tab_pujcky.DOKLAD=tab_pujckydetail.DOKLAD_PUJ) or "
        "(tab_pujcky.DOKLAD=tab_pujckydetail.DOKLAD_VRA))");
    query.setSql({"SELECT", "tab_pujcky.DOKLAD,", "tab_pujcky.OPERACE,", "tab_pujcky.CAS,",
                  "tab_pujcky.ZAKAZNIK,", "tab_zakaznik.JMENO,", "tab_uzivatel.UZIVATEL,",
                  "(SELECT COUNT(*) " + lines + " AS POLOZKY,",
                  "(SELECT ROUND(" + d.money("CASE WHEN tab_pujcky.OPERACE=1 THEN SUM(PUJCOVNE*(DNY-ZDARMA)) "
                                             "ELSE SUM(VRATNE*COALESCE(PRES,0)) END") + ",0) " + lines
                      + " AS PLATBA_CELKEM,",
                  "(SELECT ROUND(" + d.money("CASE WHEN tab_pujcky.OPERACE=1 THEN SUM(ZALOHA) ELSE -SUM(ZALOHA) END")
                      + ",0) " + lines + " AS ZALOHA_CELKEM",
                  "FROM tab_pujcky", "LEFT JOIN tab_zakaznik ON (tab_pujcky.ZAKAZNIK=tab_zakaznik.ZAKAZNIK)",
                  "JOIN tab_uzivatel ON (tab_pujcky.UZIVATEL=tab_uzivatel.ID_UZIVATEL)",
                  "ORDER BY tab_pujcky.DOKLAD"});
}
