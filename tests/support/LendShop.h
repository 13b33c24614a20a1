#pragma once
#include <QString>

// Rows of a shop for the lend tests, written with plain statements on the program's
// connection, and the lend tables read back as text. Each throws EDatabaseError when a
// statement is refused.

// Sets the fee, late fee and deposit of a medium of the seed rows ("DVD", "VHS" ...).
void SetMediumPrices(const QString &medium, const QString &fee, const QString &lateFee, const QString &deposit);
// A customer; `restriction` 0 "!", 1 "$", 2 "-", 3 "+".
void AddLendCustomer(qint64 number, const QString &name, int restriction, int lends = 0);
// A video of the first genre on `medium`.
void AddLendVideo(qint64 video, const QString &title, const QString &medium = QStringLiteral("DVD"));

// The rows of a statement as TestRows gives them (null "-"), one line each.
QString LendRows(const QString &sql);
// What a lend changes, as text: the customers' and videos' lend counts, the documents and
// their lines (without the server's time stamps).
QString LendTables();
