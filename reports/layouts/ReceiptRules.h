#pragma once
#include "core/database/Money.h"

#include <QString>

// The pure rules of the lend and return receipts.

// The VAT lines of a receipt: the VAT share of the gross amount at `rate` percent (the
// TaxCoefficient of the rate) rounded to the heller, and the price without VAT as the rest,
// so that the two printed amounts always add up to the gross one. Rate 0 has no VAT.
struct TaxSplit {
    Money base;
    Money vat;
};
TaxSplit SplitTax(Money gross, int rate);

// What the amount column of a lend line shows: "zdarma" for a free line that costs nothing,
// otherwise its charge (",0.00"). A free line lent for several days is charged for the days
// beyond the free one, and the receipt shows that charge.
QString LendAmountText(bool free, Money charge);

// Whether a receipt goes on half a sheet: with the automatic choice of paper, a document of
// 1 to 10 lines; every other receipt is printed on a whole A4 page.
bool HalfPageReceipt(bool automaticPaper, int lines);

// The receipt's title, the document's number in 13 digits: the preview's caption, the name
// of the print job and of a saved or exported copy.
QString ReceiptTitle(qint64 document);
