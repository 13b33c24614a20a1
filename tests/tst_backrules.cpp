// The rules of a return without a window or a database: days over across closed weekdays
// and closed dates, the late fee, the return basket as a copy of the lent lines with the
// moment they came back, and the net amount with its sign.
#include "core/database/MemoryTable.h"
#include "rental/BackBasket.h"
#include "rental/BackRules.h"
#include "support/TestShop.h"

#include <QTest>

namespace {

Money Kc(const char *text)
{
    return Money::fromString(QString::fromLatin1(text));
}

// The customer's lent videos as the return page lists them.
struct LentVideos : MemoryTable {
    LentVideos()
    {
        const std::pair<const char *, FieldKind> fields[] = {
            {"VIDEO", FieldKind::Int64},      {"PUJCENA", FieldKind::Boolean}, {"TITUL", FieldKind::Text},
            {"NOSIC", FieldKind::Text},       {"PUJCENO", FieldKind::DateTime}, {"VRATIT", FieldKind::DateTime},
            {"DNY", FieldKind::Integer},      {"VRACENO", FieldKind::DateTime}, {"PRES", FieldKind::Integer},
            {"VRATNE", FieldKind::Money},     {"ZALOHA", FieldKind::Money},
        };
        for (const auto &[name, kind] : fields)
            addField(QString::fromLatin1(name), kind);
        open();
    }
    void add(qint64 video, const QDate &due, const char *lateFee, const char *deposit)
    {
        append({{"VIDEO", video},
                {"PUJCENA", true},
                {"TITUL", QStringLiteral("Titul %1").arg(video)},
                {"NOSIC", "DVD"},
                {"PUJCENO", QDateTime(QDate(2005, 11, 4), QTime(9, 30))},
                {"VRATIT", QDateTime(due, QTime(0, 0))},
                {"DNY", 3},
                {"VRATNE", QVariant::fromValue(Kc(lateFee))},
                {"ZALOHA", QVariant::fromValue(Kc(deposit))}});
    }
};

} // namespace

class TestBackRules : public QObject {
    Q_OBJECT

private slots:
    void daysOver_data();
    void daysOver();
    void netAmount_data();
    void netAmount();
    void basketCopiesTheLentLines();
};

void TestBackRules::daysOver_data()
{
    QTest::addColumn<QList<int>>("closedWeekdays");
    QTest::addColumn<QList<QDate>>("closedDates");
    QTest::addColumn<QDate>("due");
    QTest::addColumn<QDate>("runDate");
    QTest::addColumn<int>("daysOver");

    const QDate monday(2005, 11, 7);
    QTest::newRow("due today") << QList<int>{} << QList<QDate>{} << monday << monday << 0;
    QTest::newRow("due tomorrow") << QList<int>{} << QList<QDate>{} << monday.addDays(1) << monday << 0;
    QTest::newRow("due three days ago") << QList<int>{} << QList<QDate>{} << monday.addDays(-3) << monday << 3;
    QTest::newRow("three days ago, Sunday closed") << QList<int>{7} << QList<QDate>{} << monday.addDays(-3)
                                                   << monday << 2;
    QTest::newRow("due yesterday, a closed Sunday") << QList<int>{7} << QList<QDate>{} << monday.addDays(-1)
                                                    << monday << 1;
    QTest::newRow("due Saturday, Sunday closed") << QList<int>{7} << QList<QDate>{} << monday.addDays(-2)
                                                 << monday << 1;
    QTest::newRow("due a week ago, Sunday closed") << QList<int>{7} << QList<QDate>{} << monday.addDays(-7)
                                                   << monday << 6;
    QTest::newRow("a closed date between") << QList<int>{} << QList<QDate>{QDate(2005, 11, 5)}
                                           << monday.addDays(-3) << monday << 2;
    QTest::newRow("the run date closed") << QList<int>{1} << QList<QDate>{} << monday.addDays(-3) << monday << 2;
}

void TestBackRules::daysOver()
{
    QFETCH(QList<int>, closedWeekdays);
    QFETCH(QList<QDate>, closedDates);
    QFETCH(QDate, due);
    QFETCH(QDate, runDate);
    QFETCH(int, daysOver);
    QCOMPARE(int(DaysOver(TestShop(closedWeekdays, closedDates), due, runDate)), daysOver);
    QCOMPARE(LateFee(daysOver, Kc("12.5")), Kc("12.5") * daysOver);
}

void TestBackRules::netAmount_data()
{
    QTest::addColumn<QString>("lateFees");
    QTest::addColumn<QString>("deposits");
    QTest::addColumn<QString>("text");

    // The late fees and the deposits handed back each in whole crowns, halves away from
    // zero, as the return document books them.
    QTest::newRow("deposit back") << "30" << "100" << "Vrátit:   70,00 Kč";
    QTest::newRow("late fee to pay") << "100" << "0" << "Platba:   100,00 Kč";
    QTest::newRow("nothing") << "0" << "0" << "Platba:   0,00 Kč";
    QTest::newRow("equal") << "50" << "50" << "Platba:   0,00 Kč";
    QTest::newRow("half up, paid") << "12.5" << "0" << "Platba:   13,00 Kč";
    QTest::newRow("half up, back") << "0" << "13.5" << "Vrátit:   14,00 Kč";
    QTest::newRow("late fee rounded, back") << "50.5" << "250" << "Vrátit:   199,00 Kč";
    QTest::newRow("both halves, back") << "0.5" << "2.5" << "Vrátit:   2,00 Kč";
    QTest::newRow("just below the deposits") << "99.5" << "100" << "Platba:   0,00 Kč";
}

void TestBackRules::netAmount()
{
    QFETCH(QString, lateFees);
    QFETCH(QString, deposits);
    QFETCH(QString, text);
    QCOMPARE(BackRecapitulationText(BookedAmount(Money::fromString(lateFees), -Money::fromString(deposits))), text);
}

void TestBackRules::basketCopiesTheLentLines()
{
    // Lent on Friday 4 November 2005 for the weekend-closed shop, back on Thursday the 10th.
    const RentalSettings shop = TestShop({6, 7});
    const QDate runDate(2005, 11, 10);
    const QDateTime clock(runDate, QTime(16, 42, 31, 500));
    LentVideos lent;
    lent.add(1, QDate(2005, 11, 7), "10", "100");
    lent.add(2, QDate(2005, 11, 9), "10", "100");
    lent.add(3, QDate(2005, 11, 8), "10", "100");
    lent.add(4, QDate(2005, 11, 11), "10", "0");

    TTableBack basket;
    QCOMPARE(basket.currentVideo(), qint64(0));
    for (int row = 0; row < lent.recordCount(); ++row)
        basket.appendLentLine(lent, row, shop, runDate, clock);
    QCOMPARE(basket.currentVideo(), qint64(4));

    const QList<int> over = {3, 1, 2, 0};
    const QList<Money> fees = {Kc("30"), Kc("10"), Kc("20"), Money()};
    for (int row = 0; row < 4; ++row) {
        QCOMPARE(basket.valueAt(row, basket.fieldIndex("PRES")).toInt(), over[row]);
        QCOMPARE(basket.valueAt(row, basket.fieldIndex("VRATNE_CELKEM")).value<Money>(), fees[row]);
        QCOMPARE(basket.valueAt(row, basket.fieldIndex("VRACENO")).toDateTime(),
                 QDateTime(runDate, QTime(16, 42)));
        for (const char *copied : {"VIDEO", "TITUL", "NOSIC", "PUJCENO", "VRATIT", "DNY", "VRATNE", "ZALOHA"})
            QCOMPARE(basket.valueAt(row, basket.fieldIndex(copied)), lent.valueAt(row, lent.fieldIndex(copied)));
    }
    const BasketTotals totals = basket.totals();
    QCOMPARE(totals.payment, 60.0f);
    QCOMPARE(totals.deposit, 300.0f);
    QCOMPARE(basket.amount().payment, Kc("60"));
    QCOMPARE(basket.amount().deposit, -Kc("300"));
    QCOMPARE(BackRecapitulationText(basket.amount()), QString("Vrátit:   240,00 Kč"));
    QCOMPARE(basket.displayText(0, basket.fieldIndex("PUJCENO")), QString("04.11.2005 09:30"));
}

QTEST_MAIN(TestBackRules)
#include "tst_backrules.moc"
