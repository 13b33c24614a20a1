#pragma once
#include <QDate>
#include <functional>

// The rental settings the rules of a lend and a return read, taken from the controls of the
// rental settings dialog at the moment of use (CurrentRentalSettings), so that the rules
// themselves stay plain functions of their arguments.
struct RentalSettings {
    // Whether the shop is open on that day (closed weekdays and closed dates).
    std::function<bool(const QDate &)> isOpen;
    // How far ahead a search for an open day may look before it gives up: with every
    // weekday closed no open day ever comes, and the desk must not hang looking for one.
    int openDaySearchLimit = 7;
    int maxDays = 10;        // the most lend days of one line
    int customerLimit = 10;  // the most videos a customer may have, basket included
    int amountOff = 0;       // every n-th line of one basket is free; 0: off
    int loyalOff = 0;        // every n-th video of the customer's history is free; 0: off
    int vipPercent = 0;      // the discount of a VIP customer's fees

    bool open(const QDate &day) const { return isOpen && isOpen(day); }
};

// The settings as the rental settings dialog shows them now.
RentalSettings CurrentRentalSettings();
