#pragma once
#include "reports/Report.h"

class DataSet;

// A customer's history: under a head naming the current customer of the customer list
// (number, name, address, registration), every line of his history, one line each
// (video, title, medium, whether it was free, when lent and when returned), with their
// count at the end.
class TFormQRCustomerHistoryA4 {
public:
    TFormQRCustomerHistoryA4(DataSet *customers, DataSet *history);
    Report QuickRep;
};
