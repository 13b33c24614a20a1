#include "core/Utils.h"

#include <QtTest>

class TestCalculations : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        SetBarcodeSettingProvider(nullptr);
    }

    void checkBirthNumber_data()
    {
        QTest::addColumn<QString>("rc");
        QTest::addColumn<bool>("valid");
        QTest::newRow("78 sums to 1314") << "7801011234" << false;
        QTest::newRow("78 sums to 1318") << "7801011238" << false;
        QTest::newRow("78 sums to 1309") << "7801011229" << true;
        QTest::newRow("nine digits") << "780101123" << true;
        QTest::newRow("nine digits, year 99") << "995555555" << true;
        QTest::newRow("eight characters") << "78010112" << false;
        QTest::newRow("eleven characters") << "78010112290" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("year 05, any rest") << "0501019999" << true;
        QTest::newRow("year 53 is not tested") << "5301011234" << true;
        QTest::newRow("year 54 is tested") << "5401011234" << false;
        QTest::newRow("year 54 divisible") << "5401010010" << true;
        QTest::newRow("divisible by 11") << "8551150003" << true;
        QTest::newRow("letters in the year") << "ab01011229" << false;
        QTest::newRow("letters in the rest") << "780101x229" << false;
        QTest::newRow("slash in place of a digit") << "780101/229" << false;
    }
    void checkBirthNumber()
    {
        QFETCH(QString, rc);
        QFETCH(bool, valid);
        QCOMPARE(CheckBirthNumber(rc), valid);
    }

    void joinPath_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain folder") << "Pondělí.bak" << "/zalohy" << "/zalohy/Pondělí.bak";
        QTest::newRow("folder ends in a separator") << "Pondělí.bak" << "/zalohy/" << "/zalohy/Pondělí.bak";
        QTest::newRow("root") << "a.bak" << "/" << "/a.bak";
        QTest::newRow("empty folder") << "a.bak" << "" << "";
    }
    void joinPath()
    {
        QFETCH(QString, file);
        QFETCH(QString, folder);
        QFETCH(QString, path);
        QCOMPARE(JoinPath(file, folder), path);
    }

    void dayOfWeekISO_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("day");
        QTest::newRow("Monday") << QDate(2024, 3, 4) << 1;
        QTest::newRow("Wednesday") << QDate(2024, 3, 6) << 3;
        QTest::newRow("Sunday") << QDate(2024, 3, 10) << 7;
        QTest::newRow("1 January of the year 1, a Monday") << QDate(1, 1, 1) << 1;
        QTest::newRow("leap day") << QDate(2000, 2, 29) << 2;
    }
    void dayOfWeekISO()
    {
        QFETCH(QDate, date);
        QFETCH(int, day);
        QCOMPARE(DayOfWeekISO(date), day);
    }

    void taxCoefficient_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<float>("coefficient");
        QTest::newRow("0 %") << 0 << 0.0f;
        QTest::newRow("5 %") << 5 << 0.0476f;
        QTest::newRow("19 % is cut, not rounded") << 19 << 0.1596f;
        QTest::newRow("22 %") << 22 << 0.1803f;
        QTest::newRow("25 % exactly") << 25 << 0.2f;
        QTest::newRow("21 %") << 21 << 0.1735f;
        QTest::newRow("100 %") << 100 << 0.5f;
    }
    void taxCoefficient()
    {
        QFETCH(int, rate);
        QFETCH(float, coefficient);
        QCOMPARE(TaxCoefficient(rate), coefficient);  // the same single-precision value, exactly
    }

    void roundMoney_data()
    {
        QTest::addColumn<float>("amount");
        QTest::addColumn<float>("rounded");
        QTest::newRow("0.125 to the even 0.12") << 0.125f << 0.12f;
        QTest::newRow("0.375 to the even 0.38") << 0.375f << 0.38f;
        QTest::newRow("2.5 hellers less") << 0.025f << 0.03f;  // 0.025f is a little above the half
        QTest::newRow("nearest down") << 12.344f << 12.34f;
        QTest::newRow("nearest up") << 12.346f << 12.35f;
        QTest::newRow("whole") << 30.0f << 30.0f;
        QTest::newRow("negative half to even") << -0.125f << -0.12f;
        QTest::newRow("fee times factor") << float(1.5 * 12.35) << 18.52f;
    }
    void roundMoney()
    {
        QFETCH(float, amount);
        QFETCH(float, rounded);
        QCOMPARE(RoundMoney(amount), rounded);
    }

    void captions_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("expected");
        QTest::newRow("customer padded") << CustomerCaption(42, "Novák Jan     ") << "Zákazník (42/Novák Jan)";
        QTest::newRow("customer 13 digits") << CustomerCaption(9999999999999, "A") << "Zákazník (9999999999999/A)";
        QTest::newRow("video") << VideoCaption(7, "Pelíšky   ") << "Video (7/Pelíšky)";
        QTest::newRow("leading blanks stay") << VideoCaption(1, "  X ") << "Video (1/  X)";
    }
    void captions()
    {
        QFETCH(QString, caption);
        QFETCH(QString, expected);
        QCOMPARE(caption, expected);
    }

    void keyboardFollowsTheBarcodeSetting()
    {
        QVERIFY(!BarcodeSettingOn());  // off until the settings dialog says otherwise
        const int before = RequestedKeyboardLayout();
        KeyboardEnglish();
        QCOMPARE(RequestedKeyboardLayout(), before);
        bool on = true;
        SetBarcodeSettingProvider([&on] { return on; });
        KeyboardEnglish();
        QCOMPARE(RequestedKeyboardLayout(), LayoutEnglish);
        KeyboardCzech();
        QCOMPARE(RequestedKeyboardLayout(), LayoutCzech);
        on = false;
        KeyboardEnglish();
        QCOMPARE(RequestedKeyboardLayout(), LayoutCzech);
    }

    void czechNumberRow()
    {
        QString digits;
        for (QChar c : QStringLiteral("+ěščřžýáíéa5Ě"))
            digits += CzechNumberRowDigit(c);
        QCOMPARE(digits, QStringLiteral("1234567890a5Ě"));
    }
};

QTEST_GUILESS_MAIN(TestCalculations)
#include "tst_calculations.moc"
