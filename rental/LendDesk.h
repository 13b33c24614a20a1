#pragma once
#include <QChar>
#include <QString>

class DataSet;
class TTableLend;

// The current customer of a lend, from the customer list's current row.
struct LendCustomer {
    qint64 number = 0;  // ZAKAZNIK
    QString name;       // JMENO
    QChar restriction;  // OMEZENI as its code: "!", "$", "-" or "+"
    int lends = 0;      // PUJCKY, the videos lent to him so far
};

// What the lend dialog and the lend transaction ask of the lend page around them. The page
// provides it over its basket and the desk's lists; a test gives its own. The lists after
// a lend follow the desk's change signal (TDesk::announce).
class TLendDesk {
public:
    virtual ~TLendDesk() = default;

    // The lend basket.
    virtual TTableLend &TableLend() = 0;
    // The video list with at least VIDEO, TITUL and NOSIC (the medium's name); the dialog
    // moves its current row.
    virtual DataSet &ADOQueryVideo() = 0;
    virtual LendCustomer CurrentCustomer() = 0;

    // Recomputes the running totals from the basket and shows them in its status bar.
    virtual void SetStatusBarLend() = 0;
    // The focus to the customer code box, its text selected for the next customer.
    virtual void FocusLendCustomer() = 0;
};
