// The rules of a lend without a window or a database: open days and lend days over closed
// weekdays and closed dates, the day buttons and the calendar, the extension of a line up
// to the longest lend, the prices of a line for each kind of customer, the free lines by
// both rules, the customer's limit, the basket with its charges and totals, and the
// recapitulation's amount.
#include "core/USetupVideo.h"
#include "core/controls/IntegerEdit.h"
#include "rental/LendBasket.h"
#include "rental/LendRules.h"
#include "support/FormStateFile.h"
#include "support/TestShop.h"

#include <QCheckBox>
#include <QListWidget>
#include <QTest>

namespace {

const QList<int> Weekend = {6, 7};
const QDate Friday(2005, 11, 4);

Money Kc(const char *text)
{
    return Money::fromString(QString::fromLatin1(text));
}

LendLine Line(qint64 video, int days, const char *fee, const char *deposit = "0")
{
    LendLine line;
    line.video = video;
    line.title = QStringLiteral("Titul %1").arg(video);
    line.medium = QStringLiteral("DVD");
    line.due = Friday.addDays(days); // the shop is open every day
    line.prices = {Kc(fee), Kc("10"), Kc(deposit)};
    return line;
}

QList<bool> FreeFlags(const TTableLend &basket)
{
    QList<bool> flags;
    for (int row = 0; row < basket.recordCount(); ++row)
        flags << basket.valueAt(row, basket.fieldIndex("ZDARMA")).toBool();
    return flags;
}

} // namespace

class TestLendRules : public QObject {
    Q_OBJECT

private slots:
    void lendDays_data();
    void lendDays();
    void openDaySearchesEnd();
    void dayButtonsAndCalendar();
    void extension_data();
    void extension();
    void prices_data();
    void prices();
    void freeItems_data();
    void freeItems();
    void customerLimit();
    void basketFreeLinesFollowItsOrder();
    void basketChargesAndTotals();
    void basketRedatesAndExtendsItsCurrentLine();
    void recapitulationAmount_data();
    void recapitulationAmount();
    void settingsComeFromTheDialog();
};

void TestLendRules::lendDays_data()
{
    QTest::addColumn<QList<int>>("closedWeekdays");
    QTest::addColumn<QList<QDate>>("closedDates");
    QTest::addColumn<int>("n");
    QTest::addColumn<QDate>("nthOpenDay");

    // The run date is Friday 4 November 2005; the n-th open day after it has n lend days.
    QTest::newRow("all open, 1") << QList<int>{} << QList<QDate>{} << 1 << QDate(2005, 11, 5);
    QTest::newRow("weekend, 1 is Monday") << Weekend << QList<QDate>{} << 1 << QDate(2005, 11, 7);
    QTest::newRow("weekend, 5 is Friday") << Weekend << QList<QDate>{} << 5 << QDate(2005, 11, 11);
    QTest::newRow("weekend and Tuesday closed, 2 is Wednesday")
        << Weekend << QList<QDate>{QDate(2005, 11, 8)} << 2 << QDate(2005, 11, 9);
    QTest::newRow("only Mondays open, 2 is the next Monday")
        << QList<int>{2, 3, 4, 5, 6, 7} << QList<QDate>{} << 2 << QDate(2005, 11, 14);
}

void TestLendRules::lendDays()
{
    QFETCH(QList<int>, closedWeekdays);
    QFETCH(QList<QDate>, closedDates);
    QFETCH(int, n);
    QFETCH(QDate, nthOpenDay);
    const RentalSettings shop = TestShop(closedWeekdays, closedDates);
    QCOMPARE(NthOpenDay(shop, Friday, n), nthOpenDay);
    QCOMPARE(CountLendDays(shop, Friday, nthOpenDay), quint16(n));
    if (n == 1)
        QCOMPARE(NextOpenDate(shop, Friday), nthOpenDay);
    // A closed day after the due date is not counted; the due date itself always is.
    QCOMPARE(CountLendDays(shop, Friday, nthOpenDay.addDays(-1)), quint16(n - 1));
}

void TestLendRules::openDaySearchesEnd()
{
    // Every weekday closed: no open day ever follows, and no search runs on for ever.
    const RentalSettings closed = TestShop({1, 2, 3, 4, 5, 6, 7});
    QVERIFY(!NextOpenDate(closed, Friday).isValid());
    QVERIFY(!NthOpenDay(closed, Friday, 5).isValid());
    QCOMPARE(ExtendLine(closed, Friday, Friday.addDays(1), 1).outcome, LineExtension::NoOpenDay);
    // A due date not after the run date has no lend days (nothing ever asks for one).
    const RentalSettings open = TestShop({});
    QCOMPARE(CountLendDays(open, Friday, Friday), quint16(0));
    QCOMPARE(CountLendDays(open, Friday, Friday.addDays(-30)), quint16(0));
    // Many closed dates in a row are searched past.
    QList<QDate> holidays;
    for (int d = 1; d <= 20; ++d)
        holidays << Friday.addDays(d);
    QCOMPARE(NextOpenDate(TestShop({}, holidays), Friday), Friday.addDays(21));
}

void TestLendRules::dayButtonsAndCalendar()
{
    const RentalSettings shop = TestShop(Weekend, {}, 3);
    QCOMPARE((QList<bool>{DayButtonEnabled(shop, 1), DayButtonEnabled(shop, 2), DayButtonEnabled(shop, 3),
                          DayButtonEnabled(shop, 4), DayButtonEnabled(shop, 5)}),
             (QList<bool>{true, true, true, false, false}));
    QVERIFY(CalendarDayAccepted(shop, Friday, QDate(2005, 11, 7)));   // Monday, 1 day
    QVERIFY(CalendarDayAccepted(shop, Friday, QDate(2005, 11, 9)));   // Wednesday, 3 days
    QVERIFY(!CalendarDayAccepted(shop, Friday, QDate(2005, 11, 10))); // the 4th open day
    QVERIFY(!CalendarDayAccepted(shop, Friday, QDate(2005, 11, 5)));  // a closed Saturday
    QVERIFY(!CalendarDayAccepted(shop, Friday, Friday));              // no lend day
    QVERIFY(!CalendarDayAccepted(TestShop(Weekend, {QDate(2005, 11, 8)}, 3), Friday, QDate(2005, 11, 8)));
}

void TestLendRules::extension_data()
{
    QTest::addColumn<QList<QDate>>("closedDates");
    QTest::addColumn<int>("maxDays");
    QTest::addColumn<QDate>("due");
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QDate>("newDue");

    QTest::newRow("Friday to Monday over the weekend")
        << QList<QDate>{} << 10 << QDate(2005, 11, 11) << 5 << int(LineExtension::Extended) << QDate(2005, 11, 14);
    QTest::newRow("over a closed date")
        << QList<QDate>{QDate(2005, 11, 8)} << 10 << QDate(2005, 11, 7) << 1 << int(LineExtension::Extended)
        << QDate(2005, 11, 9);
    QTest::newRow("up to the longest lend")
        << QList<QDate>{} << 6 << QDate(2005, 11, 11) << 5 << int(LineExtension::Extended) << QDate(2005, 11, 14);
    QTest::newRow("at the longest lend nothing changes")
        << QList<QDate>{} << 5 << QDate(2005, 11, 11) << 5 << int(LineExtension::AtLimit) << QDate();
}

void TestLendRules::extension()
{
    QFETCH(QList<QDate>, closedDates);
    QFETCH(int, maxDays);
    QFETCH(QDate, due);
    QFETCH(int, days);
    QFETCH(int, outcome);
    QFETCH(QDate, newDue);
    const LineExtension e = ExtendLine(TestShop(Weekend, closedDates, maxDays), Friday, due, days);
    QCOMPARE(int(e.outcome), outcome);
    QCOMPARE(e.due, newDue);
    if (outcome == LineExtension::Extended)
        QCOMPARE(int(e.days), days + 1);
}

void TestLendRules::prices_data()
{
    QTest::addColumn<QString>("restriction");
    QTest::addColumn<int>("vip");
    QTest::addColumn<QString>("fee");
    QTest::addColumn<QString>("lateFee");
    QTest::addColumn<QString>("deposit");
    QTest::addColumn<QString>("lineFee");
    QTest::addColumn<QString>("lineLateFee");
    QTest::addColumn<QString>("lineDeposit");

    QTest::newRow("no restriction") << "-" << 15 << "30" << "10" << "100" << "30" << "10" << "0";
    QTest::newRow("deposit") << "$" << 15 << "30" << "10" << "100.5" << "30" << "10" << "100.5";
    QTest::newRow("barred") << "!" << 15 << "30" << "10" << "100" << "30" << "10" << "0";
    QTest::newRow("VIP 15 %") << "+" << 15 << "30" << "10" << "100" << "25.5" << "8.5" << "0";
    QTest::newRow("VIP 100 %") << "+" << 100 << "30" << "10" << "100" << "0" << "0" << "0";
    QTest::newRow("VIP 0 %") << "+" << 0 << "30.25" << "10" << "100" << "30.25" << "10" << "0";
    // Priced in single precision and rounded to hellers, halves to even, as always.
    QTest::newRow("VIP 10 % of 12.35") << "+" << 10 << "12.35" << "12.35" << "0" << "11.11" << "11.11" << "0";
    QTest::newRow("VIP 25 % of 19.90") << "+" << 25 << "19.9" << "19.9" << "0" << "14.93" << "14.93" << "0";
}

void TestLendRules::prices()
{
    QFETCH(QString, restriction);
    QFETCH(int, vip);
    const auto money = [](const QString &text) { return Money::fromString(text); };
    QFETCH(QString, fee);
    QFETCH(QString, lateFee);
    QFETCH(QString, deposit);
    QFETCH(QString, lineFee);
    QFETCH(QString, lineLateFee);
    QFETCH(QString, lineDeposit);
    const LinePrices line = CustomerPrices({money(fee), money(lateFee), money(deposit)}, restriction.at(0), vip);
    QCOMPARE(line.fee, money(lineFee));
    QCOMPARE(line.lateFee, money(lineLateFee));
    QCOMPARE(line.deposit, money(lineDeposit));
}

void TestLendRules::freeItems_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("customerLends");
    QTest::addColumn<int>("amountOff");
    QTest::addColumn<int>("loyalOff");
    QTest::addColumn<QList<bool>>("free");

    QTest::newRow("both rules off") << 4 << 9 << 0 << 0 << QList<bool>{false, false, false, false};
    QTest::newRow("every line") << 3 << 0 << 1 << 0 << QList<bool>{true, true, true};
    QTest::newRow("every 2nd line") << 3 << 0 << 2 << 0 << QList<bool>{false, true, false};
    QTest::newRow("loyalty: 3 before, 5th video") << 3 << 3 << 0 << 5 << QList<bool>{false, true, false};
    QTest::newRow("loyalty: none before") << 5 << 0 << 0 << 5 << QList<bool>{false, false, false, false, true};
    QTest::newRow("loyalty: 10th and 20th") << 12 << 8 << 0 << 10
                                            << QList<bool>{false, true, false, false, false, false,
                                                           false, false, false, false, false, true};
    QTest::newRow("both rules, apart") << 3 << 8 << 3 << 10 << QList<bool>{false, true, true};
    QTest::newRow("both rules, one line") << 3 << 2 << 2 << 4 << QList<bool>{false, true, false};
}

void TestLendRules::freeItems()
{
    QFETCH(int, lines);
    QFETCH(int, customerLends);
    QFETCH(int, amountOff);
    QFETCH(int, loyalOff);
    QFETCH(QList<bool>, free);
    QList<bool> result;
    for (int i = 1; i <= lines; ++i)
        result << IsFreeItem(i, customerLends, amountOff, loyalOff);
    QCOMPARE(result, free);
}

void TestLendRules::customerLimit()
{
    // Limit 2: one video out and one line in the basket reach it; either alone does not.
    QVERIFY(CustomerLimitReached(1, 1, 2));
    QVERIFY(!CustomerLimitReached(1, 0, 2));
    QVERIFY(!CustomerLimitReached(0, 1, 2));
    QVERIFY(CustomerLimitReached(0, 3, 2));
}

void TestLendRules::basketFreeLinesFollowItsOrder()
{
    RentalSettings shop = TestShop({});
    shop.amountOff = 2;
    TTableLend basket;
    for (qint64 video : {11, 12, 13}) {
        basket.appendLine(Line(video, 3, "20"), shop, Friday);
        basket.setFreeItems(shop, 0);
    }
    QCOMPARE(FreeFlags(basket), (QList<bool>{false, true, false}));
    QCOMPARE(basket.currentVideo(), qint64(13)); // the line just added stays current

    // The first line goes: the former third line is now the second, and free.
    basket.first();
    basket.deleteRecord();
    basket.setFreeItems(shop, 0);
    QCOMPARE(FreeFlags(basket), (QList<bool>{false, true}));
    QCOMPARE(basket.currentVideo(), qint64(12));
    QCOMPARE(basket.valueAt(1, basket.fieldIndex("PUJCOVNE_CELKEM")).value<Money>(), Kc("40"));

    // Sorted the other way, the recomputation follows the new order.
    basket.sortOnFields("VIDEO", true, true);
    basket.setFreeItems(shop, 0);
    QCOMPARE(basket.valueAt(1, basket.fieldIndex("VIDEO")).toLongLong(), qint64(12));
    QCOMPARE(FreeFlags(basket), (QList<bool>{false, true}));

    basket.emptyTable();
    QCOMPARE(basket.currentVideo(), qint64(0));
}

void TestLendRules::basketChargesAndTotals()
{
    RentalSettings shop = TestShop({});
    shop.amountOff = 3;
    TTableLend basket;
    // Three lines at 30.00 a day with a deposit of 100; the third one is free.
    basket.appendLine(Line(1, 1, "30", "100"), shop, Friday);
    basket.appendLine(Line(2, 3, "30", "100"), shop, Friday);
    basket.appendLine(Line(3, 1, "30", "100"), shop, Friday);
    basket.setFreeItems(shop, 0);
    const int charge = basket.fieldIndex("PUJCOVNE_CELKEM");
    QCOMPARE(basket.valueAt(0, charge).value<Money>(), Kc("30"));
    QCOMPARE(basket.valueAt(1, charge).value<Money>(), Kc("90"));
    QCOMPARE(basket.valueAt(2, charge).value<Money>(), Money()); // free for its one day
    const BasketTotals totals = basket.totals();
    QCOMPARE(totals.payment, 120.0f);
    QCOMPARE(totals.deposit, 300.0f); // the free line's deposit is still due
    QCOMPARE(basket.amount().payment, Kc("120"));
    QCOMPARE(basket.amount().deposit, Kc("300"));
    QCOMPARE(LendRecapitulationText(basket.amount()), QString("Platba:   420,00 Kč"));
    QCOMPARE(basket.displayText(0, charge), QString("30,00"));
    QCOMPARE(basket.displayText(0, basket.fieldIndex("VIDEO")), QString("0000000000001"));
    QCOMPARE(basket.displayText(0, basket.fieldIndex("VRATIT")), QString("05.11.2005"));
    QCOMPARE(TTableLend().totals().payment, 0.0f);
}

void TestLendRules::basketRedatesAndExtendsItsCurrentLine()
{
    const RentalSettings shop = TestShop(Weekend, {}, 6);
    TTableLend basket;
    basket.appendLine(Line(7, 3, "20"), shop, Friday); // Monday: one open day
    QCOMPARE(basket.value("DNY").toInt(), 1);
    basket.redateCurrent(shop, Friday, QDate(2005, 11, 11)); // "5 dnů"
    QCOMPARE(basket.value("DNY").toInt(), 5);
    QCOMPARE(basket.extendCurrent(shop, Friday).outcome, LineExtension::Extended);
    QCOMPARE(basket.value("VRATIT").toDate(), QDate(2005, 11, 14));
    QCOMPARE(basket.value("DNY").toInt(), 6);
    QCOMPARE(basket.value("PUJCOVNE_CELKEM").value<Money>(), Kc("120"));
    // At the longest lend the line stays as it is.
    QCOMPARE(basket.extendCurrent(shop, Friday).outcome, LineExtension::AtLimit);
    QCOMPARE(basket.value("VRATIT").toDate(), QDate(2005, 11, 14));
    QCOMPARE(basket.value("DNY").toInt(), 6);
    // A day button may shorten it.
    basket.redateCurrent(shop, Friday, QDate(2005, 11, 7));
    QCOMPARE(basket.value("DNY").toInt(), 1);
    QCOMPARE(basket.value("PUJCOVNE_CELKEM").value<Money>(), Kc("20"));
}

void TestLendRules::recapitulationAmount_data()
{
    QTest::addColumn<QStringList>("charges");
    QTest::addColumn<QStringList>("deposits");
    QTest::addColumn<QString>("text");

    // The fee total and the deposit total each in whole crowns, halves away from zero, as
    // the journal books the document.
    QTest::newRow("fees and deposit") << QStringList{"40.5"} << QStringList{"100"} << "Platba:   141,00 Kč";
    QTest::newRow("half up") << QStringList{"12.5"} << QStringList{} << "Platba:   13,00 Kč";
    QTest::newRow("half up again") << QStringList{"13.5"} << QStringList{} << "Platba:   14,00 Kč";
    QTest::newRow("below half") << QStringList{"22.4999"} << QStringList{} << "Platba:   22,00 Kč";
    QTest::newRow("halves in both") << QStringList{"0.5"} << QStringList{"0.5"} << "Platba:   2,00 Kč";
    QTest::newRow("each total rounded") << QStringList{"20.25", "50.25"} << QStringList{"125", "125"}
                                        << "Platba:   321,00 Kč";
    QTest::newRow("empty") << QStringList{} << QStringList{} << "Platba:   0,00 Kč";
    QTest::newRow("five fees") << QStringList{"44.35", "44.40", "47.91", "25.36", "43.48"} << QStringList{}
                               << "Platba:   206,00 Kč";
}

void TestLendRules::recapitulationAmount()
{
    QFETCH(QStringList, charges);
    QFETCH(QStringList, deposits);
    QFETCH(QString, text);
    Money fees;
    Money deposit;
    for (const QString &c : charges)
        fees += Money::fromString(c);
    for (const QString &d : deposits)
        deposit += Money::fromString(d);
    QCOMPARE(LendRecapitulationText(BookedAmount(fees, deposit)), text);
}

void TestLendRules::settingsComeFromTheDialog()
{
    FormInWorkingFolder<TFormSetupVideo> form;
    QVERIFY(form.make());
    FormSetupVideo = form.get();
    form->CheckBoxSu->setChecked(true);
    form->ListBoxDate->addItem(QStringLiteral("8.11.2005"));
    form->IntegerEditMaxDays->SetValue(4);
    form->IntegerEditCustomerLimit->SetValue(3);
    form->IntegerEditAmountOff->SetValue(2);
    form->IntegerEditLoyalOff->SetValue(7);
    form->IntegerEditVIP->SetValue(15);
    const RentalSettings s = CurrentRentalSettings();
    FormSetupVideo = nullptr;
    QCOMPARE(s.maxDays, 4);
    QCOMPARE(s.customerLimit, 3);
    QCOMPARE(s.amountOff, 2);
    QCOMPARE(s.loyalOff, 7);
    QCOMPARE(s.vipPercent, 15);
    QCOMPARE(s.openDaySearchLimit, 14);
    // Sunday 6 and Tuesday 8 November are closed.
    QCOMPARE(CountLendDays(s, Friday, QDate(2005, 11, 9)), quint16(3));
}

QTEST_MAIN(TestLendRules)
#include "tst_lendrules.moc"
