#pragma once
#include "reports/layouts/ReceiptLayout.h"

// The receipt on half an A4 sheet: one pass of the loop band fills the upper half with ten
// fixed rows for the lines, the totals following the last line used; a second pass (print
// count 2) puts the same receipt, as the copy, on the lower half. The cutting line between
// the halves is printed on every sheet.
class TFormQRReceiptA5 : public TFormQRReceipt {
public:
    ReportBand *QRLoopBand = nullptr;

protected:
    TFormQRReceiptA5(ReceiptKind kind, DataSet *lends, DataSet *lines);

private:
    // Row `row` (1 to 10) prints the line the cursor stands on and moves it on; the rows
    // after the last line print nothing.
    void addRow(int row, const QList<ListColumn> &columns);
};

class TFormQRLendA5 : public TFormQRReceiptA5 {
public:
    TFormQRLendA5(DataSet *lends, DataSet *lines) : TFormQRReceiptA5(ReceiptKind::Lend, lends, lines) {}
};

class TFormQRBackA5 : public TFormQRReceiptA5 {
public:
    TFormQRBackA5(DataSet *lends, DataSet *lines) : TFormQRReceiptA5(ReceiptKind::Back, lends, lines) {}
};
