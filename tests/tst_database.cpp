#include "core/database/Commands.h"
#include "core/database/Database.h"
#include "core/database/Errors.h"
#include "core/database/Lookups.h"
#include "core/database/Money.h"
#include "core/RunGlobals.h"
#include "core/database/SqlServer.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QTest>

namespace {

// A lend line of customer 100 for video `video`, due on `due` (00:00).
void lendLine(qint64 document, qint64 video, QDate due, int out = 1, int history = 1)
{
    SetCommand("INSERT INTO tab_pujckydetail (DOKLAD_PUJ, VIDEO, ZAKAZNIK, PUJCENA, HISTORIE, VRATIT) "
               "VALUES (:DOKLAD_PUJ, :VIDEO, :ZAKAZNIK, :PUJCENA, :HISTORIE, :VRATIT)");
    SetCommandParam("DOKLAD_PUJ", document);
    SetCommandParam("VIDEO", video);
    SetCommandParam("ZAKAZNIK", qint64(100));
    SetCommandParam("PUJCENA", out);
    SetCommandParam("HISTORIE", history);
    SetCommandParam("VRATIT", QDateTime(due, QTime(0, 0)));
    ExecCommand();
}

} // namespace

class TestDatabaseRoutines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void passwords_data() { AddEngineRows(); }
    void passwords()
    {
        OPEN_TEST_DATABASE(db);
        Exec("INSERT INTO tab_uzivatel (UZIVATEL, HESLO) VALUES ('novak', 'tajne')");
        // Stored padded to the column, as old databases and imports have it: the
        // comparison ignores the stored blanks, never the typed ones.
        SetCommand("INSERT INTO tab_uzivatel (UZIVATEL, HESLO) VALUES ('dvorak', :HESLO)");
        SetCommandParam("HESLO", QString("heslo"));
        ExecCommand();
        QSqlQuery(CurrentConnection()).exec("UPDATE tab_uzivatel SET HESLO='heslo           ' WHERE UZIVATEL='dvorak'");

        const struct {
            const char *user, *password;
            bool ok;
        } cases[] = {
            {"novak", "tajne", true},     {"novak", "Tajne", false},  {"novak", "tajne ", false},
            {"novak", "", false},         {"Novak", "tajne", false},  {"nikdo", "tajne", false},
            {"dvorak", "heslo", true},    {"dvorak", "heslo ", false},
            {"sa", "", false}, // no password of its own: the server login checks sa
        };
        for (const auto &c : cases)
            QVERIFY2(CheckUserPassword(c.user, c.password) == c.ok, qPrintable(QString("%1/%2").arg(c.user, c.password)));
    }

    void rights_data() { AddEngineRows(); }
    void rights()
    {
        OPEN_TEST_DATABASE(db);
        for (const QString &right : UserRightColumns())
            QVERIFY2(GetUserRight("sa", right), qPrintable(right));
        // A new user has the two edit rights only (the column defaults).
        Exec("INSERT INTO tab_uzivatel (UZIVATEL, HESLO) VALUES ('novak', 'x')");
        for (const QString &right : UserRightColumns())
            QVERIFY2(GetUserRight("novak", right) == (right == "ZAKAZNIK_EDITACE" || right == "VIDEO_EDITACE"),
                     qPrintable(right));
        // Read at every call: a change counts at once.
        Exec("UPDATE tab_uzivatel SET ADMIN=1 WHERE UZIVATEL='novak'");
        QVERIFY(GetUserRight("novak", "ADMIN"));
        for (const QString &right : UserRightColumns())
            QVERIFY(!GetUserRight("nikdo", right));
        // Only the nine right columns reach the statement.
        for (const char *bad : {"HESLO", "admin", "ADMIN FROM tab_uzivatel --", ""})
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, GetUserRight("sa", bad));
    }

    void existence_data() { AddEngineRows(); }
    void existence()
    {
        OPEN_TEST_DATABASE(db);
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO, RC, OP) VALUES (5, 'Novák', '8001011234', 'AB123')");
        Exec("INSERT INTO tab_video (VIDEO, TITUL, ZAMERENI, NOSIC) VALUES (9, 'Pelíšky', 1, 2)");
        QVERIFY(CustomerExists(5));
        QVERIFY(!CustomerExists(6));
        QVERIFY(BirthNumberExistsOther(0, "8001011234"));
        QVERIFY(!BirthNumberExistsOther(5, "8001011234"));
        QVERIFY(IdentityCardExistsOther(0, "AB123"));
        QVERIFY(!IdentityCardExistsOther(5, "AB123"));
        QVERIFY(VideoExists(9));
        // Titles match without regard to letter case, Czech letters too, but not to accents.
        for (const char *title : {"Pelíšky", "pelíšky", "PELÍŠKY"})
            QVERIFY2(TitleExists(QString::fromUtf8(title)), title);
        QVERIFY(!TitleExists("Pelisky"));
        QVERIFY(!TitleExists("Pelíšk"));
        // Names are bound right-trimmed, as the fixed-width columns compared.
        QVERIFY(MediumExists("DVD "));
        QVERIFY(MediumExistsOther(0, "DVD"));
        QVERIFY(!MediumExistsOther(2, "DVD"));
        QVERIFY(DirectionExists("-"));
        QVERIFY(!DirectionExistsOther(1, "-"));
        QVERIFY(UserExists("sa"));
        QVERIFY(!UserExists("SA"));
        QVERIFY(!UserExistsOther(1, "sa"));
        QCOMPARE(GetMediumId("VHS CZ"), 5);
        QCOMPARE(GetMediumId("Blu-ray"), 0);
        QCOMPARE(GetDirectionId("-"), 1);
        QCOMPARE(GetUserId("sa"), 1);
        QCOMPARE(GetUserId("nikdo"), 0);
    }

    void defaultRows_data() { AddEngineRows(); }
    void defaultRows()
    {
        OPEN_TEST_DATABASE(db);
        QCOMPARE(GetDefaultMedium(), QString("-"));
        QCOMPARE(GetDefaultMediumId(), 1);
        QCOMPARE(GetDefaultDirection(), QString("-"));
        QCOMPARE(GetDefaultDirectionId(), 1);
        Exec("UPDATE tab_nosic SET VYCHOZI=CASE WHEN ID_NOSIC=3 THEN 1 ELSE 0 END");
        QCOMPARE(GetDefaultMedium(), QString("DVD CZ"));
        QCOMPARE(GetDefaultMediumId(), 3);
        Exec("UPDATE tab_nosic SET VYCHOZI=0");
        Exec("UPDATE tab_zamereni SET VYCHOZI=0");
        QCOMPARE(GetDefaultMedium(), QString());
        QCOMPARE(GetDefaultMediumId(), 0);
        QCOMPARE(GetDefaultDirection(), QString());
        QCOMPARE(GetDefaultDirectionId(), 0);
    }

    void lentAndOverdue_data() { AddEngineRows(); }
    void lentAndOverdue()
    {
        OPEN_TEST_DATABASE(db);
        const QDate today(2026, 3, 11);
        SetRunDate(today);
        QVERIFY(CustomerOverdue(100).isNull());
        QVERIFY(VideoOverdue(1).isNull());
        QVERIFY(!CustomerHasLent(100));

        lendLine(1, 1, today);                // due today: not overdue
        QCOMPARE(CustomerOverdue(100), QVariant(false));
        QCOMPARE(VideoOverdue(1), QVariant(false));
        lendLine(2, 2, today.addDays(-1));    // due yesterday
        QCOMPARE(CustomerOverdue(100), QVariant(true));
        QCOMPARE(VideoOverdue(2), QVariant(true));
        QCOMPARE(VideoOverdue(1), QVariant(false));
        lendLine(3, 3, today.addDays(-30), 0); // returned long ago: not out
        QVERIFY(VideoOverdue(3).isNull());

        QVERIFY(CustomerHasLent(100));
        QVERIFY(VideoIsLent(1));
        QVERIFY(!VideoIsLent(3));
        QVERIFY(CustomerHasVideo(100, 1));
        QVERIFY(!CustomerHasVideo(100, 3));
        QVERIFY(CustomerHadVideo(100, 3));
        QVERIFY(!CustomerHadVideo(101, 3));
        Exec("UPDATE tab_pujckydetail SET HISTORIE=0 WHERE VIDEO=3");
        QVERIFY(!CustomerHadVideo(100, 3));
        SetRunDate(QDate());
    }

    void pricesAndLists_data() { AddEngineRows(); }
    void pricesAndLists()
    {
        OPEN_TEST_DATABASE(db);
        Exec("UPDATE tab_nosic SET PUJCOVNE=44.35, VRATNE=10.5, ZALOHA=200 WHERE NOSIC='DVD'");
        QSqlQuery prices = GetMediumPrices("DVD");
        QVERIFY(prices.next());
        QCOMPARE(Money::fromVariant(prices.value(0)), Money::fromUnits(443500));
        QCOMPARE(Money::fromVariant(prices.value(1)), Money::fromUnits(105000));
        QCOMPARE(Money::fromVariant(prices.value(2)), Money::fromCrowns(200));
        QVERIFY(!prices.next());
        QVERIFY(!GetMediumPrices("Blu-ray").next());

        // Czech order: "Č" after "C", "ch" after "h", letter case aside.
        for (const char *genre : {"Horor", "Akce", "chůze", "Čas", "Cesta"})
            Exec(QString("INSERT INTO tab_zamereni (ZAMERENI, VYCHOZI) VALUES ('%1', 0)").arg(genre));
        QComboBox box;
        box.setEditable(true);
        box.setEditText("stary text");
        FillDirectionList(&box);
        QStringList items;
        for (int i = 0; i < box.count(); ++i)
            items << box.itemText(i);
        QCOMPARE(items, (QStringList{"-", "Akce", "Cesta", "Čas", "Horor", "chůze"}));
        QCOMPARE(box.currentText(), QString());
        QCOMPARE(box.currentIndex(), -1);

        FillMediumList(&box);
        QCOMPARE(box.count(), 5);
        QCOMPARE(box.itemText(2), QString("DVD CZ"));
        FillUserList(&box);
        QCOMPARE(box.count(), 1);
        Exec("DELETE FROM tab_nosic");
        FillMediumList(&box);
        QCOMPARE(box.count(), 0);
    }
};

QTEST_MAIN(TestDatabaseRoutines)
#include "tst_database.moc"
