#pragma once

class BrowseQuery;

// The list statements of the customer, video and journal pages, for tests of windows
// that work on a page's list (the free filter, the spreadsheet exchange).
void SetCustomerListSql(BrowseQuery &query);
void SetVideoListSql(BrowseQuery &query);
void SetLendsListSql(BrowseQuery &query);
