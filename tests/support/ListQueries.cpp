#include "support/ListQueries.h"

#include "catalogue/CustomerStore.h"
#include "core/database/BrowseQuery.h"
#include "reports/layouts/ReceiptStore.h"

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
    query.setSql(LendsListSql());
}
