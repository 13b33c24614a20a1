#pragma once
#include "reports/Report.h"

class DataSet;

// The lent-videos overview, on landscape pages: one line per document line of a list of
// the day overview (video, title, medium, lent, due, and the customer with his name,
// telephone and address), with their count at the end. The lines are the report's data
// set, which the caller gives it.
class TFormQRViewVideoA4 {
public:
    TFormQRViewVideoA4();
    Report QuickRep;

private:
    // Gives the line texts the report's data set before the pages are made.
    void QuickRepBeforePrint();

    QList<ReportDBText *> m_lineTexts;
};

// The day overview's print: previews `lines` under `title`. The overview keeps its row
// and its grid still meanwhile.
void PrintLentVideos(DataSet &lines, const QString &title);
