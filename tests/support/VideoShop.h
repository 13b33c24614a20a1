#pragma once
#include <QDate>
#include <QString>

// The small catalogue the video tests share, on the program's connection:
//  1 "Čapkova Matka"   Komedie / DVD     44.35  registered 1.1.2026 10:00   out to 1, due today
//  2 "čarodějův učeň"  Drama / VHS       44.40  31.12.2026 23:59            out to 2, overdue
//  3 "O'Brien"         Komedie / DVD     47.91  1.6.2025 8:00               returned by 1
//  4 "A\b 100%"        - / -             25.36  3.3.2026 12:00
//  5 "Zorro"           Drama / VHS CZ    43.48  3.3.2026 12:00
// The prices sum to 205.50 exactly (a sum of REAL values would not). Customers 1 "Novák"
// and 2 "Svoboda"; the genres "Komedie" and "Drama" beside the seed's "-".
inline const QDate VideoShopToday(2026, 12, 10);
void AddVideoShop();
// Adds a genre that is not the default; its identity.
int AddDirection(const QString &name);
