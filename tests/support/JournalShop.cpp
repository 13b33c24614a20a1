#include "support/JournalShop.h"

#include "core/database/Commands.h"
#include "core/database/Money.h"
#include "support/CustomerDesk.h"
#include "support/ShopRows.h"

void AddDocument(qint64 document, bool lend, const QDateTime &time, qint64 customer, int user)
{
    SetCommand(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,CAS,ZAKAZNIK,UZIVATEL) "
                              "VALUES (:DOKLAD,:OPERACE,:CAS,:ZAKAZNIK,:UZIVATEL)"));
    SetCommandParam(QStringLiteral("DOKLAD"), document);
    SetCommandParam(QStringLiteral("OPERACE"), lend ? 1 : 0);
    SetCommandParam(QStringLiteral("CAS"), time);
    SetCommandParam(QStringLiteral("ZAKAZNIK"), customer);
    SetCommandParam(QStringLiteral("UZIVATEL"), user);
    ExecCommand();
}

void AddJournalLine(const JournalLine &l)
{
    SetCommand(QStringLiteral(
        "INSERT INTO tab_pujckydetail (DOKLAD_PUJ,DOKLAD_VRA,VIDEO,ZAKAZNIK,PUJCENA,ZDARMA,PUJCOVNE,VRATNE,ZALOHA,"
        "VRATIT,DNY,VRACENO,PRES) VALUES (:DOKLAD_PUJ,:DOKLAD_VRA,:VIDEO,:ZAKAZNIK,:PUJCENA,:ZDARMA,:PUJCOVNE,"
        ":VRATNE,:ZALOHA,:VRATIT,:DNY,:VRACENO,:PRES)"));
    SetCommandParam(QStringLiteral("DOKLAD_PUJ"), l.document);
    SetCommandParam(QStringLiteral("DOKLAD_VRA"), l.back ? l.returnDocument : QVariant(QMetaType::fromType<qint64>()));
    SetCommandParam(QStringLiteral("VIDEO"), l.video);
    SetCommandParam(QStringLiteral("ZAKAZNIK"), l.customer);
    SetCommandParam(QStringLiteral("PUJCENA"), l.back ? 0 : 1);
    SetCommandParam(QStringLiteral("ZDARMA"), l.free ? 1 : 0);
    SetCommandParam(QStringLiteral("PUJCOVNE"), QVariant::fromValue(Money::fromString(QLatin1String(l.fee))));
    SetCommandParam(QStringLiteral("VRATNE"), QVariant::fromValue(Money::fromString(QLatin1String(l.lateFee))));
    SetCommandParam(QStringLiteral("ZALOHA"), QVariant::fromValue(Money::fromString(QLatin1String(l.deposit))));
    SetCommandParam(QStringLiteral("VRATIT"), QDateTime(l.due, QTime(0, 0)));
    SetCommandParam(QStringLiteral("DNY"), l.days);
    SetCommandParam(QStringLiteral("VRACENO"), l.back ? QVariant(QDateTime(JournalToday, QTime(16, 0)))
                                                      : QVariant(QMetaType::fromType<QDateTime>()));
    SetCommandParam(QStringLiteral("PRES"), l.back ? QVariant(l.over) : QVariant(QMetaType::fromType<int>()));
    ExecCommand();
}

void AddJournal()
{
    const QDate today = JournalToday;
    AddUser(QStringLiteral("Pokladní"), QStringLiteral("x"), {}); // ID_UZIVATEL 2
    AddCustomer({1, QStringLiteral("Novák")});
    AddCustomer({2, QStringLiteral("Zálohový Jan"), QString(), QString(), 1});
    AddCustomer({3, QStringLiteral("Vip Věra"), QString(), QString(), 3});
    for (int v = 1; v <= 11; ++v)
        AddVideo(v, QStringLiteral("Titul %1").arg(v));

    AddDocument(1, true, QDateTime(today, QTime(9, 0)), 2, 1);
    AddJournalLine({1, 1, 2, "44.35", "10.50", "100.50", 1, false, today, true, 3, 3});
    AddJournalLine({1, 2, 2, "44.40", "10", "100", 1, false, today});
    AddJournalLine({1, 3, 2, "47.91", "10", "0", 2, true, today, true, QVariant(), 1});
    AddJournalLine({1, 4, 2, "25.36", "10", "0", 1, false, today, true, 3, 0});
    AddJournalLine({1, 5, 2, "43.48", "10", "0", 1, false, today.addDays(2)});
    AddJournalLine({1, 6, 2, "30", "10", "0", 1, true, today.addDays(2)});

    AddDocument(2, true, QDateTime(QDate(2026, 12, 8), QTime(14, 30)), 3, 2);
    AddJournalLine({2, 7, 3, "25.50", "8.50", "0", 2, false, today.addDays(3)});
    AddJournalLine({2, 8, 3, "22.25", "8.50", "0", 1, false, today.addDays(3)});

    AddDocument(3, false, QDateTime(today, QTime(23, 59)), 2, 1);

    AddDocument(4, true, QDateTime(QDate(2026, 12, 1), QTime(0, 0)), 1, 1);
    AddJournalLine({4, 9, 1, "30", "10", "0", 2, false, QDate(2026, 12, 20)});
    AddJournalLine({4, 10, 1, "20", "10", "0", 1, false, QDate(2026, 12, 3)});

    AddDocument(5, true, QDateTime(QDate(2025, 12, 10), QTime(10, 0)), 99, 1);
    AddJournalLine({5, 11, 99, "20", "10", "0", 1, false, QDate(2025, 12, 11), true, 6, 5});
    AddDocument(6, false, QDateTime(QDate(2026, 1, 15), QTime(11, 0)), 99, 1);
}
