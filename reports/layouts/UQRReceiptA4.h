#pragma once
#include "reports/layouts/ReceiptLayout.h"

// The receipt on whole A4 pages, for any number of lines: the shop's texts and the title on
// the first page, the document's head and the column titles on every page, one row per
// line, and the totals once at the end.
class TFormQRReceiptA4 : public TFormQRReceipt {
protected:
    TFormQRReceiptA4(ReceiptKind kind, DataSet *lends, DataSet *lines);
};

class TFormQRLendA4 : public TFormQRReceiptA4 {
public:
    TFormQRLendA4(DataSet *lends, DataSet *lines) : TFormQRReceiptA4(ReceiptKind::Lend, lends, lines) {}
};

class TFormQRBackA4 : public TFormQRReceiptA4 {
public:
    TFormQRBackA4(DataSet *lends, DataSet *lines) : TFormQRReceiptA4(ReceiptKind::Back, lends, lines) {}
};
