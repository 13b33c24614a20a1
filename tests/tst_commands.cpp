#include "core/database/Commands.h"
#include "core/database/Errors.h"
#include "core/database/Money.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTest>

class TestCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void markers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("markers");
        QTest::newRow("plain") << "SELECT * FROM t WHERE A=:A AND B=:B_2" << QStringList{"A", "B_2"};
        QTest::newRow("quoted colon") << "SELECT ':X' FROM t WHERE A=:A" << QStringList{"A"};
        QTest::newRow("cast") << "SELECT x::text FROM t WHERE A=:A" << QStringList{"A"};
        QTest::newRow("repeated") << "SELECT :A, :A" << QStringList{"A"};
        QTest::newRow("time literal") << "SELECT '10:30' WHERE :Z=1" << QStringList{"Z"};
        QTest::newRow("none") << "SELECT 1" << QStringList{};
    }
    void markers()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, markers);
        QCOMPARE(CommandMarkers(text), markers);
    }

    void repeatedMarkerBoundOnce_data() { AddEngineRows(); }
    void repeatedMarkerBoundOnce()
    {
        OPEN_TEST_DATABASE(db);
        SetCommand("SELECT COUNT(*) FROM tab_nosic WHERE ID_NOSIC=:ID OR ID_NOSIC=:ID+1");
        SetCommandParam("ID", 2);
        QCOMPARE(ExecCommandValue().toInt(), 2);
        // The same text again still has its parameter.
        SetCommand("SELECT COUNT(*) FROM tab_nosic WHERE ID_NOSIC=:ID OR ID_NOSIC=:ID+1");
        SetCommandParam("ID", 5);
        QCOMPARE(ExecCommandValue().toInt(), 1);
    }

    void errorsRaise_data() { AddEngineRows(); }
    void errorsRaise()
    {
        OPEN_TEST_DATABASE(db);
        SetCommand("SELECT NOSIC FROM tab_nosic WHERE ID_NOSIC=:ID_NOSIC");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, SetCommandParam("NOSIC", "DVD"));
        SetCommandParam("ID_NOSIC", 99);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, ExecCommandValue());
        SetCommand("SELECT * FROM tab_neni");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, ExecCommandRecordset());
        SetCommand("INSERT INTO tab_nosic (NOSIC) VALUES ('DVD')");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, ExecCommand());
        // Row counts of changes.
        SetCommand("UPDATE tab_nosic SET DABING=1-DABING WHERE NOSIC LIKE :NOSIC");
        SetCommandParam("NOSIC", "DVD%");
        ExecCommand();
        QCOMPARE(CommandRowsAffected(), 2);
    }

    void moneySumRoundsLikeServer_data() { AddEngineRows(); }
    void moneySumRoundsLikeServer()
    {
        OPEN_TEST_DATABASE(db);
        const char *prices[] = {"44.35", "44.40", "47.91", "25.36", "43.48"};
        int video = 1;
        for (const char *price : prices) {
            SetCommand("INSERT INTO tab_video (VIDEO, TITUL, ZAMERENI, NOSIC, CENA) VALUES (:VIDEO, 'x', 1, 1, :CENA)");
            SetCommandParam("VIDEO", qint64(video++));
            SetCommandParam("CENA", QVariant::fromValue(Money::fromString(price)));
            ExecCommand();
        }
        const SqlDialect &d = CurrentServer()->dialect();
        SetCommand(QString("SELECT ROUND(%1,0) FROM tab_video").arg(d.money("SUM(CENA)")));
        QCOMPARE(ExecCommandValue().toDouble(), 206.0);
        SetCommand(QString("SELECT %1 FROM tab_video").arg(d.money("SUM(CENA)")));
        QCOMPARE(Money::fromVariant(ExecCommandValue()), Money::fromString("205.50"));
    }

    void foldingAndOrder_data() { AddEngineRows(); }
    void foldingAndOrder()
    {
        OPEN_TEST_DATABASE(db);
        int n = 1;
        for (const char *name : {"Čapek", "Chalupa", "Hrabal", "cibulka", "Žák"})
            Exec(QString("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (%1, '%2')").arg(n++).arg(name));
        const SqlDialect &d = CurrentServer()->dialect();
        const struct {
            const char *pattern;
            qint64 found;
        } likes[] = {{"čap%", 1}, {"ČAP%", 1}, {"cap%", 0}, {"%a%", 4}, {"_ák", 1}, {"ž%", 1}, {"c%", 2}};
        for (const auto &l : likes) {
            SetCommand(QString("SELECT COUNT(*) FROM tab_zakaznik WHERE %1").arg(d.foldLike("JMENO", ":JMENO")));
            SetCommandParam("JMENO", QString(l.pattern));
            QVERIFY2(ExecCommandValue().toLongLong() == l.found, l.pattern);
        }
        SetCommand(QString("SELECT COUNT(*) FROM tab_zakaznik WHERE %1").arg(d.foldEq("JMENO", ":JMENO")));
        SetCommandParam("JMENO", QString("čAPEK"));
        QCOMPARE(ExecCommandValue().toInt(), 1);
        // A pasted pattern with an apostrophe and a backslash matches them literally.
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (9, 'O''Brien\\x')");
        QCOMPARE(ValueOf(QString("SELECT COUNT(*) FROM tab_zakaznik WHERE %1")
                             .arg(d.foldLike("JMENO", "'" + d.likeText("o'brien\\") + "%'"))),
                 1);
        SetCommand(QString("SELECT JMENO FROM tab_zakaznik WHERE ZAKAZNIK<9 ORDER BY %1").arg(d.textOrder("JMENO")));
        QSqlQuery q = ExecCommandRecordset();
        QStringList order;
        while (q.next())
            order << q.value(0).toString();
        QCOMPARE(order, (QStringList{"cibulka", "Čapek", "Hrabal", "Chalupa", "Žák"}));
    }

    void foreignKeysEnforced_data() { AddEngineRows(); }
    void foreignKeysEnforced()
    {
        OPEN_TEST_DATABASE(db);
        Exec("INSERT INTO tab_video (VIDEO, TITUL, ZAMERENI, NOSIC) VALUES (1, 'x', 1, 2)");
        SetCommand("DELETE FROM tab_nosic WHERE ID_NOSIC=2");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, ExecCommand());
        SetCommand("INSERT INTO tab_video (VIDEO, TITUL, ZAMERENI, NOSIC) VALUES (2, 'y', 0, 1)");
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, ExecCommand());
        QCOMPARE(ValueOf("SELECT COUNT(*) FROM tab_video"), 1);
    }

    // A statement refused inside a transaction under a savepoint: its query is kept over
    // the rollback to the savepoint and freed after it (PostgreSQL cannot free it inside
    // the aborted transaction); the transaction goes on and commits.
    void refusalUnderSavepoint_data() { AddEngineRows(); }
    void refusalUnderSavepoint()
    {
        OPEN_TEST_DATABASE(db);
        QTest::failOnWarning(QRegularExpression("Unable to free statement"));
        QSqlDatabase connection = CurrentConnection();
        const auto run = [&](const char *sql) { return QSqlQuery(connection).exec(QString::fromLatin1(sql)); };
        QVERIFY(connection.transaction());
        Exec("INSERT INTO tab_video (VIDEO, TITUL, ZAMERENI, NOSIC) VALUES (1, 'x', 1, 2)");
        QVERIFY(run("SAVEPOINT s"));
        {
            RefusedCommandHold hold;
            SetCommand("INSERT INTO tab_video (VIDEO, TITUL, ZAMERENI, NOSIC) VALUES (2, 'y', 0, 1)");
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, ExecCommand());
            QVERIFY(run("ROLLBACK TO SAVEPOINT s"));
        }
        QVERIFY(run("RELEASE SAVEPOINT s"));
        Exec("INSERT INTO tab_video (VIDEO, TITUL, ZAMERENI, NOSIC) VALUES (3, 'z', 1, 2)");
        QVERIFY(connection.commit());
        QCOMPARE(ValueOf("SELECT COUNT(*) FROM tab_video"), 2);
    }

    void dateTimeBinding_data() { AddEngineRows(); }
    void dateTimeBinding()
    {
        OPEN_TEST_DATABASE(db);
        const QDateTime lent(QDate(2026, 12, 10), QTime(8, 30, 45));
        SetCommand("INSERT INTO tab_pujckydetail (DOKLAD_PUJ, VIDEO, ZAKAZNIK, PUJCENO, VRATIT) "
                   "VALUES (1, 1, 1, :PUJCENO, :VRATIT)");
        SetCommandParam("PUJCENO", lent);
        SetCommandParam("VRATIT", QDate(2026, 12, 12));
        ExecCommand();
        const struct {
            const char *test;
            QVariant bound;
            qint64 expected;
        } cases[] = {
            {"PUJCENO<:T", QDateTime(QDate(2026, 12, 10), QTime(8, 31)), 1},
            {"PUJCENO<:T", QDateTime(QDate(2026, 12, 10), QTime(8, 30)), 0}, // stored to the minute
            {"PUJCENO>=:T", QDate(2026, 12, 10), 1},
            {"PUJCENO<:T", QDate(2026, 12, 11), 1},
            {"PUJCENO>=:T", QDate(2026, 12, 11), 0},
            {"VRATIT=:T", QDate(2026, 12, 12), 1},
            {"VRATIT<:T", QDateTime(QDate(2026, 12, 12), QTime(0, 1)), 1},
            {"VRATIT<:T", QDate(2026, 12, 12), 0},
        };
        for (const auto &c : cases) {
            SetCommand(QString("SELECT COUNT(*) FROM tab_pujckydetail WHERE %1").arg(c.test));
            SetCommandParam("T", c.bound);
            QVERIFY2(ExecCommandValue().toLongLong() == c.expected,
                     qPrintable(QString("%1 %2").arg(c.test, c.bound.toString())));
        }
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
