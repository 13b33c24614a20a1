#pragma once
#include "reports/Report.h"

class DataSet;
class QWidget;

// The video list: every video of the video page's list, as filtered and sorted there,
// one line each (number, title, genre, medium, registration, price), with their count and
// the sum of their prices at the end.
class TFormQRVideoA4 {
public:
    explicit TFormQRVideoA4(DataSet *videos);
    Report QuickRep;
};

// The video page's print: previews the list under the title " Video". An empty list is
// not printed; the clerk is told so and the focus goes back to `focus`.
void PrintVideoList(DataSet &videos, QWidget *focus = nullptr);
