#pragma once
#include "reports/Report.h"

class DataSet;

// The customer list: every customer of the customer page's list, as filtered and sorted
// there, one line each (number, name, telephone, address, birth number, registration),
// with their count at the end.
class TFormQRCustomerA4 {
public:
    explicit TFormQRCustomerA4(DataSet *customers);
    Report QuickRep;
};
