#include "support/VideoShop.h"

#include "core/database/Commands.h"
#include "core/database/Lookups.h"
#include "support/ShopRows.h"

int AddDirection(const QString &name)
{
    SetCommand(QStringLiteral("INSERT INTO tab_zamereni (ZAMERENI,VYCHOZI) VALUES (:ZAMERENI,0)"));
    SetCommandParam(QStringLiteral("ZAMERENI"), name);
    ExecCommand();
    return GetDirectionId(name);
}

void AddVideoShop()
{
    const QDate today = VideoShopToday;
    const int comedy = AddDirection(QStringLiteral("Komedie"));
    const int drama = AddDirection(QStringLiteral("Drama"));
    const int dvd = GetMediumId(QStringLiteral("DVD"));
    AddVideo({1, QStringLiteral("Čapkova Matka"), comedy, dvd, QStringLiteral("44.35"),
              QDateTime(QDate(2026, 1, 1), QTime(10, 0))});
    AddVideo({2, QStringLiteral("čarodějův učeň"), drama, GetMediumId(QStringLiteral("VHS")), QStringLiteral("44.40"),
              QDateTime(QDate(2026, 12, 31), QTime(23, 59))});
    AddVideo({3, QStringLiteral("O'Brien"), comedy, dvd, QStringLiteral("47.91"), QDateTime(QDate(2025, 6, 1), QTime(8, 0))});
    AddVideo({4, QStringLiteral("A\\b 100%"), 1, 1, QStringLiteral("25.36"), QDateTime(QDate(2026, 3, 3), QTime(12, 0))});
    AddVideo({5, QStringLiteral("Zorro"), drama, GetMediumId(QStringLiteral("VHS CZ")), QStringLiteral("43.48"),
              QDateTime(QDate(2026, 3, 3), QTime(12, 0))});
    AddCustomer({1, QStringLiteral("Novák")});
    AddCustomer({2, QStringLiteral("Svoboda")});
    AddLine({1, 1, 1, today});                    // out, due today: not overdue
    AddLine({2, 2, 2, today.addDays(-1)});        // out and overdue
    AddLine({3, 3, 1, today.addDays(-5), false}); // returned
}
