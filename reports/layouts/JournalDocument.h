#pragma once
#include <QStringList>

class BrowseQuery;
class SqlDialect;

// The statements of the document journal (the lend and return documents of `tab_pujcky`)
// for both engines: what the journal page lists and what a receipt prints of its document.

// The journal `ADOQueryLends`: one row per document with its number of lines (`POLOZKY`)
// and its totals rounded to whole crowns by the database, halves away from zero: for a
// lend the rental fees of its lines, (DNY - ZDARMA) days at PUJCOVNE, and the deposits
// taken (`PLATBA_CELKEM`, `ZALOHA_CELKEM`); for a return the late fees, PRES days at
// VRATNE (none counted as 0), and the deposits handed back as a negative sum. Its
// sub-selects write "where" in lower case, so the statement has no WHERE part of its own;
// it is ordered by document number.
QStringList LendsSql(const SqlDialect &dialect);
// The lines of one document `ADOQueryLendsDetail` (parameter DOKLAD), lent or returned by
// it, in the order of the videos, with each line's fee ((DNY - ZDARMA) x PUJCOVNE) and late
// fee (PRES x VRATNE).
QStringList LendsDetailSql(const SqlDialect &dialect);
// These two statements for the engine of the server connected now, with the kinds of
// their fields: what the journal page and the receipts read.
void PrepareLendsQuery(BrowseQuery &query);
void PrepareLendsDetailQuery(BrowseQuery &query);
// The journal's row of one document (none when there is no such document): what its
// receipt prints.
void OpenJournalDocument(BrowseQuery &lends, qint64 document);
