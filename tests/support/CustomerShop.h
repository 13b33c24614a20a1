#pragma once
#include <QDate>

// The small register the customer store tests share, on the program's connection:
//  1 "Čapek Karel"  7801011229  OP 111  restriction 2  registered 1.1.2026 10:00   out, due today
//  2 "čermák"       7901011234  OP 222  restriction 0  31.12.2026 23:59            out and overdue
//  3 "O'Neil"                           restriction 3  1.6.2025 8:00               only a returned line
//  4 "Novák"                            none           3.3.2026 12:00
//  5 "A\b"          8001011234          restriction 1  3.3.2026 12:00
// Names for case and Czech folding, an apostrophe and a backslash; videos 1 to 4 "Titul n".
inline const QDate CustomerShopToday(2026, 12, 10);
void AddCustomerShop();
