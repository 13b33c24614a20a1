#include "support/CustomerShop.h"

#include "support/ShopRows.h"

void AddCustomerShop()
{
    const QDate today = CustomerShopToday;
    AddCustomer({1, QStringLiteral("Čapek Karel"), QStringLiteral("7801011229"), QStringLiteral("111"), 2,
                 QDateTime(QDate(2026, 1, 1), QTime(10, 0))});
    AddCustomer({2, QStringLiteral("čermák"), QStringLiteral("7901011234"), QStringLiteral("222"), 0,
                 QDateTime(QDate(2026, 12, 31), QTime(23, 59))});
    AddCustomer({3, QStringLiteral("O'Neil"), QString(), QString(), 3, QDateTime(QDate(2025, 6, 1), QTime(8, 0))});
    AddCustomer({4, QStringLiteral("Novák"), QString(), QString(), QVariant(), QDateTime(QDate(2026, 3, 3), QTime(12, 0))});
    AddCustomer({5, QStringLiteral("A\\b"), QStringLiteral("8001011234"), QString(), 1,
                 QDateTime(QDate(2026, 3, 3), QTime(12, 0))});
    for (int v = 1; v <= 4; ++v)
        AddVideo(v, QStringLiteral("Titul %1").arg(v));
    AddLine({1, 1, 1, today});                    // out, due today: not overdue
    AddLine({2, 2, 2, today.addDays(-1)});        // out and overdue
    AddLine({3, 3, 3, today.addDays(-5), false}); // returned
}
