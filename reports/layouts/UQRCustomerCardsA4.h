#pragma once
#include "reports/EAN.h"
#include "reports/Report.h"

class DataSet;
class ReportImage;

// The customer cards, four to an A4 page: each in the left half of a framed band, with
// the customer's number as an EAN-13 barcode, his name, address, birth number, identity
// card, registration and his number in large print. The texts read the current row of
// the customer list: with the list as the report's data set it prints one card per
// customer in it, without one the current customer's card alone.
class TFormQRCustomerCardsA4 {
public:
    explicit TFormQRCustomerCardsA4(DataSet *customers);
    Report QuickRep;
    TEAN EAN;

private:
    // Draws the barcode of the row's customer before his card prints.
    void QRBandBeforePrint();

    DataSet *m_customers;
    ReportImage *m_image = nullptr;
};
