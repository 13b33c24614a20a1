#pragma once
#include <QtGlobal>

class DataSet;

// The receipts of lends and returns, as the receipt settings ask: previewed ("Manuální tisk
// dokladů") or printed at once; on half a sheet when the paper is chosen automatically and
// the document has 1 to 10 lines (a copy then goes on the sheet's lower half), otherwise on
// A4 pages (a copy then prints the receipt twice in one job; the preview shows it once).

// The receipt of the document `lends` stands on, whose lines are `lines` (the journal's
// current document and its lines). Neither set is moved; without a current document
// nothing is printed.
void PrintDocumentReceipt(DataSet &lends, DataSet &lines, bool copy);

// The receipt of document `document`, read with the journal's statements: what a lend, a
// return and the journal's reprint call. False, and nothing printed, when there is no
// such document.
bool PrintDocumentReceipt(qint64 document, bool copy);
