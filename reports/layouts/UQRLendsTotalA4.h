#pragma once
#include "reports/Report.h"

#include <QDate>

class DataSet;
class QWidget;

// The period the journal's rows were chosen by: every period, or the first to the last
// day of one.
struct TakingsPeriod {
    bool all = false;
    QDate first;
    QDate second;
};

// The takings: the journal's documents now selected, one line each (number, operation,
// time, customer, lines, fees, deposits), under a head with the period, with the count of
// documents and the sums of their lines and fees at the end (deposits are not summed).
class TFormQRLendsTotalA4 {
public:
    TFormQRLendsTotalA4(DataSet *lends, const TakingsPeriod &period);
    Report QuickRep;

private:
    // "Období: " with the period, or with "všechna období".
    void QRLabelLendsTimesPrint(QString &text) const;

    TakingsPeriod m_period;
};

// The journal's takings print: previews the documents under the title " Tržby". An empty
// journal is not printed; the clerk is told so and the focus goes back to `focus`.
void PrintLendsTotal(DataSet &lends, const TakingsPeriod &period, QWidget *focus = nullptr);
