// The change calculator: an amount to pay with the change worked out from the amount
// received, an amount to hand back with nothing to receive, and a sum of nothing.
#include "rental/UCash.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

Money Kc(const char *text)
{
    return Money::fromString(QString::fromLatin1(text));
}

} // namespace

class TestCash : public QObject {
    Q_OBJECT

private slots:
    void amountToPay();
    void decimalReceived_data();
    void decimalReceived();
    void amountToReturn();
    void nothingToPay();
};

void TestCash::amountToPay()
{
    // The fees 35 and a deposit of 100.
    TFormCash form(Kc("35"), Kc("100"));
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), QString(" Pokladna"));
    QVERIFY(form.LabelPayment->isVisible());
    QVERIFY(!form.LabelReturn->isVisible());
    QCOMPARE(form.PanelPayment->text(), QString("135,00 Kč"));
    QVERIFY(form.RxSpinEditReceived->isEnabled());
    QVERIFY(form.PanelDifference->text().isEmpty());

    // Typed over the selected zero: 200 received gives 65 back.
    QVERIFY(form.RxSpinEditReceived->hasFocus());
    QTest::keyClicks(form.RxSpinEditReceived, "200");
    QCOMPARE(form.RxSpinEditReceived->value(), 200.0);
    QCOMPARE(form.PanelDifference->text(), QString("65,00 Kč"));
    // Less than the sum: a negative difference.
    form.RxSpinEditReceived->setValue(100.0);
    QCOMPARE(form.PanelDifference->text(), QString("-35,00 Kč"));
    // The buttons step by 50.
    form.RxSpinEditReceived->stepUp();
    QCOMPARE(form.RxSpinEditReceived->value(), 150.0);
    QCOMPARE(form.PanelDifference->text(), QString("15,00 Kč"));

    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(!form.isVisible());
}

// The received amount's decimals after a comma, a point or the keypad's decimal key, which
// gives "," or "." by the keyboard layout.
void TestCash::decimalReceived_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("comma") << QChar(',') << Qt::KeyboardModifiers();
    QTest::newRow("point") << QChar('.') << Qt::KeyboardModifiers();
    QTest::newRow("keypad point") << QChar('.') << Qt::KeyboardModifiers(Qt::KeypadModifier);
    QTest::newRow("keypad comma") << QChar(',') << Qt::KeyboardModifiers(Qt::KeypadModifier);
}

void TestCash::decimalReceived()
{
    QFETCH(QChar, separator);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    TFormCash form(Kc("35"), Kc("100"));
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClicks(form.RxSpinEditReceived, "200");
    QTest::keyClick(form.RxSpinEditReceived, separator.toLatin1(), modifiers);
    QTest::keyClicks(form.RxSpinEditReceived, "50");
    QCOMPARE(form.RxSpinEditReceived->value(), 200.5);
    QCOMPARE(form.PanelDifference->text(), QString("65,50 Kč"));
}

void TestCash::amountToReturn()
{
    // A return: late fees 40, deposits 200 handed back.
    TFormCash form(Kc("40"), Kc("-200"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!form.LabelPayment->isVisible());
    QVERIFY(form.LabelReturn->isVisible());
    QCOMPARE(form.PanelPayment->text(), QString("160,00 Kč"));
    QVERIFY(!form.RxSpinEditReceived->isEnabled());
    QVERIFY(form.PanelDifference->text().isEmpty());
    QVERIFY(form.ButtonCancel->isDefault());
    QTest::keyClick(&form, Qt::Key_Return);
    QVERIFY(!form.isVisible());
}

void TestCash::nothingToPay()
{
    TFormCash form(Money{}, Money{});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.LabelPayment->isVisible());
    QCOMPARE(form.PanelPayment->text(), QString("0,00 Kč"));
    QVERIFY(form.RxSpinEditReceived->isEnabled());
}

QTEST_MAIN(TestCash)
#include "tst_cash.moc"
