#include "core/database/Money.h"

#include <QLocale>
#include <QTest>


class TestMoney : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        // The texts must not follow the machine's locale.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void parsing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("units");
        QTest::newRow("whole") << "123" << true << qint64(1230000);
        QTest::newRow("negative") << "-12.5" << true << qint64(-125000);
        QTest::newRow("numeric text") << "44.3500" << true << qint64(443500);
        QTest::newRow("blanks") << " 7.25 " << true << qint64(72500);
        QTest::newRow("fraction only") << ".5" << true << qint64(5000);
        QTest::newRow("too precise") << "1.23456" << false << qint64(0);
        QTest::newRow("decimal comma") << "1,5" << false << qint64(0);
        QTest::newRow("letters") << "12a" << false << qint64(0);
        QTest::newRow("empty") << "" << false << qint64(0);
    }
    void parsing()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(qint64, units);
        bool good = !ok;
        const Money m = Money::fromString(text, &good);
        QCOMPARE(good, ok);
        QCOMPARE(m.units(), units);
    }

    void exactSums()
    {
        // A sum of REAL values would give 205.49999999999997 and round to 205.
        Money sum;
        for (const char *t : {"44.35", "44.40", "47.91", "25.36", "43.48"})
            sum += Money::fromString(QLatin1String(t));
        QCOMPARE(sum, Money::fromString(QStringLiteral("205.50")));
        QCOMPARE(Money::fromDouble(0.1) + Money::fromDouble(0.2), Money::fromDouble(0.3));
        QCOMPARE(Money::fromVariant(QVariant(QStringLiteral("44.3500"))).units(), qint64(443500));
        QCOMPARE(Money::fromVariant(QVariant(44.35)).units(), qint64(443500));
        QCOMPARE(Money::fromString(QStringLiteral("-0.5")).toSqlText(), QStringLiteral("-0.5000"));
    }

    void formatter_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("text");
        const QString nb(QChar(0x00A0));
        QTest::newRow("groups") << ",0.00" << "1234.5" << "1" + nb + "234,50";
        QTest::newRow("millions") << ",0.00" << "1234567.891" << "1" + nb + "234" + nb + "567,89";
        QTest::newRow("small") << ",0.00" << "0.5" << "0,50";
        QTest::newRow("no groups") << "0.00" << "1234.5" << "1234,50";
        QTest::newRow("half away from zero") << "0.00" << "0.005" << "0,01";
        QTest::newRow("negative half") << "0.00" << "-0.005" << "-0,01";
        QTest::newRow("negative zero") << "0.00" << "-0.004" << "0,00";
        QTest::newRow("whole crowns") << ",0" << "-1234567" << "-1" + nb + "234" + nb + "567";
        QTest::newRow("currency") << "%m" << "-1234.5" << "-1" + nb + "234,50 Kč";
        QTest::newRow("currency in text") << " Celkem: %m" << "0" << " Celkem: 0,00 Kč";
        QTest::newRow("mask with suffix") << ",0.00 Kč" << "99" << "99,00 Kč";
        QTest::newRow("mask with prefix") << "Celkem [Kč]: ,0.00" << "1234.5" << "Celkem [Kč]: 1" + nb + "234,50";
        QTest::newRow("quoted literal") << "\"Cena 1.\" 0.00" << "3" << "Cena 1. 3,00";
        QTest::newRow("general") << "" << "44.35" << "44,35";
        QTest::newRow("general whole") << "" << "40" << "40";
        QTest::newRow("optional decimals") << "0.##" << "2.5" << "2,5";
    }
    void formatter()
    {
        QFETCH(QString, format);
        QFETCH(QString, amount);
        QFETCH(QString, text);
        bool ok = false;
        const Money m = Money::fromString(amount, &ok);
        QVERIFY(ok);
        QCOMPARE(FormatMoney(format, m), text);
    }
};

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
