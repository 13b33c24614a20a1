// The customer register's statements on both engines, without windows: the lowest free
// number, the filter conditions run against a small shop, the name proposals, the
// changes with their history statements and rollback, and the cache of lent lines.
#include "catalogue/CatalogueStore.h"
#include "catalogue/CustomerStore.h"
#include "core/LentLines.h"
#include "core/database/Errors.h"
#include "core/Log.h"
#include "core/RunGlobals.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/Database.h"
#include "core/database/SqlServer.h"
#include "support/ShopRows.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QRegularExpression>
#include <QTest>
#include <limits>
#include <memory>

Q_DECLARE_METATYPE(CustomerFilterInput)

namespace {

const QDate Today(2026, 12, 10);

// Five customers: names for case and Czech folding, an apostrophe and a backslash; two
// with something out (one overdue), one with only a returned line.
void AddShop()
{
    AddCustomer({1, "Čapek Karel", "7801011229", "111", 2, QDateTime(QDate(2026, 1, 1), QTime(10, 0))});
    AddCustomer({2, "čermák", "7901011234", "222", 0, QDateTime(QDate(2026, 12, 31), QTime(23, 59))});
    AddCustomer({3, "O'Neil", "", "", 3, QDateTime(QDate(2025, 6, 1), QTime(8, 0))});
    AddCustomer({4, "Novák", "", "", QVariant(), QDateTime(QDate(2026, 3, 3), QTime(12, 0))});
    AddCustomer({5, "A\\b", "8001011234", "", 1, QDateTime(QDate(2026, 3, 3), QTime(12, 0))});
    for (int v = 1; v <= 4; ++v)
        AddVideo(v, QStringLiteral("Titul %1").arg(v));
    AddLine({1, 1, 1, Today});                           // out, due today: not overdue
    AddLine({2, 2, 2, Today.addDays(-1)});               // out and overdue
    AddLine({3, 3, 3, Today.addDays(-5), false});        // returned
}

} // namespace

class TestCustomerStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetRunDate(Today); }
    void init()
    {
        if (qstrcmp(QTest::currentTestFunction(), "filterSelects") != 0)
            m_shop.reset();
    }
    void cleanupTestCase() { m_shop.reset(); }

    void lowestFreeNumber_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QList<qint64>>("used");
        QTest::addColumn<qint64>("free");
        for (const auto &[name, engine] : {std::pair{"sqlite", Engine::SQLite}, std::pair{"postgres", Engine::PostgreSQL}}) {
            QTest::addRow("%s-none", name) << engine << QList<qint64>{} << qint64(1);
            QTest::addRow("%s-gap in the middle", name) << engine << QList<qint64>{1, 2, 4} << qint64(3);
            QTest::addRow("%s-1 missing", name) << engine << QList<qint64>{2, 3} << qint64(1);
            QTest::addRow("%s-no gap", name) << engine << QList<qint64>{1, 2, 3} << qint64(4);
            QTest::addRow("%s-far", name) << engine << QList<qint64>{1, 9999999999999LL} << qint64(2);
            // Numbers the desk never gives, in a database restored from elsewhere.
            QTest::addRow("%s-highest of the engine", name)
                << engine << QList<qint64>{1, 2, std::numeric_limits<qint64>::max()} << qint64(3);
            QTest::addRow("%s-highest alone", name) << engine << QList<qint64>{std::numeric_limits<qint64>::max()}
                                                    << qint64(1);
            QTest::addRow("%s-beyond 13 digits", name)
                << engine << QList<qint64>{1, 10000000000000LL, 10000000000001LL} << qint64(2);
            QTest::addRow("%s-negative and zero", name) << engine << QList<qint64>{-5, 0, 1} << qint64(2);
        }
    }
    void lowestFreeNumber()
    {
        QFETCH(QList<qint64>, used);
        QFETCH(qint64, free);
        OPEN_TEST_DATABASE(db);
        for (qint64 n : used)
            AddCustomer({n, "X"});
        QCOMPARE(LowestFreeCustomer(), free);
        for (qint64 n : used)
            AddVideo(n, "X");
        QCOMPARE(LowestFreeNumber("tab_video", "VIDEO"), free);
    }

    // Each condition alone and combined, run as the page runs it; the count that the
    // status bar shows agrees with the list.
    void filterSelects_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<CustomerFilterInput>("input");
        QTest::addColumn<QList<qint64>>("listed");
        const std::pair<const char *, Engine> engines[] = {{"sqlite", Engine::SQLite},
                                                           {"postgres", Engine::PostgreSQL}};
        for (const auto &[e, engine] : engines) {
            auto row = [&](const char *tag, const CustomerFilterInput &f, const QList<qint64> &listed) {
                QTest::addRow("%s-%s", e, tag) << engine << f << listed;
            };
            CustomerFilterInput f;
            f.runDate = Today;
            row("none", f, {1, 2, 3, 4, 5});
            f.nameOn = true;
            row("empty name", f, {1, 2, 3, 4, 5});
            f.name = "čap";
            row("name folds Czech case", f, {1});
            f.name = "Č";
            row("name capital", f, {1, 2});
            f.name = "o'n";
            row("apostrophe", f, {3});
            f.name = "a\\";
            row("backslash", f, {5});
            f = {};
            f.runDate = Today;
            f.codeOn = true;
            f.codeFirst = 2;
            f.codeSecond = 3;
            row("code range", f, {2, 3});
            f.codeFirst = 0;
            f.codeSecond = 0;
            row("code 0 to 0", f, {});
            f = {};
            f.runDate = Today;
            f.limitOn = true;
            f.limit = 0;
            row("restriction", f, {2});
            f = {};
            f.runDate = Today;
            f.registrationOn = true;
            f.registrationFirst = QDate(2026, 12, 31);
            f.registrationSecond = QDate(2026, 12, 31);
            row("registration at 23:59 of the last day", f, {2});
            f.registrationFirst = QDate(2026, 3, 3);
            f.registrationSecond.reset();
            row("registration from", f, {2, 4, 5});
            f = {};
            f.runDate = Today;
            f.lent = true;
            row("lent", f, {1, 2});
            f.lent = false;
            f.overdue = true;
            row("overdue, not due today", f, {2});
            f.overdue = false;
            f.lent = true;
            f.nameOn = true;
            f.name = "č";
            f.limitOn = true;
            f.limit = 2;
            row("combined", f, {1});
        }
    }
    void filterSelects()
    {
        QFETCH(CustomerFilterInput, input);
        QFETCH(QList<qint64>, listed);
        OPEN_SHARED_TEST_DATABASE(m_shop);
        BrowseQuery list;
        list.setSql(CustomerListSql());
        const QString where = CustomerFilterWhere(input, CurrentServer()->dialect());
        SetQueryWhere(list, where);
        QCOMPARE(ListedNumbers(list), listed);
        QCOMPARE(CountCustomers(where), int(listed.size()));
        QCOMPARE(list.sqlText().contains(QLatin1String("WHERE")), !where.isEmpty());
    }

    // The restriction comes as its code, NULL (and a value outside the four) as nothing.
    void listShowsRestrictionCodes_data() { AddEngineRows(); }
    void listShowsRestrictionCodes()
    {
        OPEN_TEST_DATABASE(db);
        AddShop();
        AddCustomer({6, "Mimo", "", "", 7});
        BrowseQuery list;
        list.setSql(CustomerListSql());
        list.open();
        QStringList codes;
        for (int row = 0; row < list.recordCount(); ++row)
            codes << list.valueAt(row, list.fieldIndex("OMEZENI")).toString();
        QCOMPARE(codes, QStringList({"-", "!", "+", "", "$", ""}));
    }

    void nameProposals_data() { AddEngineRows(); }
    void nameProposals()
    {
        OPEN_TEST_DATABASE(db);
        AddShop();
        AddCustomer({6, "Chalupa", "6001011234"});
        AddCustomer({7, "Hrubý", "6101011234"});
        auto texts = [](const QString &typed) {
            QStringList out;
            for (const CustomerProposal &p : CustomerNameProposals(typed))
                out << CustomerProposalText(p) + QStringLiteral(" #%1").arg(p.number);
            return out;
        };
        QCOMPARE(texts("ČA"), QStringList({"Čapek Karel / 7801011229 #1"}));
        QCOMPARE(texts("č"), QStringList({"Čapek Karel / 7801011229 #1", "čermák / 7901011234 #2"}));
        QCOMPARE(texts("nov"), QStringList({"Novák /  #4"}));
        // A "%" typed is no wildcard; Czech order puts "ch" after "h".
        QVERIFY(texts("%ák").isEmpty());
        QCOMPARE(texts("h"), QStringList({"Hrubý / 6101011234 #7"}));
        QCOMPARE(texts("")[3], QString("Hrubý / 6101011234 #7"));
        QCOMPARE(texts("")[4], QString("Chalupa / 6001011234 #6"));
        QVERIFY(texts("x").isEmpty());
    }

    void insertCustomer_data() { AddEngineRows(); }
    void insertCustomer()
    {
        OPEN_TEST_DATABASE(db);
        CustomerRecord c{7, "Nový", "602111222", "Ulice 1", QString(), "7801011229", "", 3, "pozn."};
        InsertCustomer(c);
        QCOMPARE(CustomerColumn(7, "JMENO").toString(), QString("Nový"));
        QCOMPARE(CustomerColumn(7, "OMEZENI").toInt(), 3);
        QCOMPARE(CustomerColumn(7, "PUJCKY").toInt(), 0);
        QVERIFY(!CustomerColumn(7, "REGISTRACE").isNull());
        QVERIFY(!CustomerColumn(7, "ADRESA2").isNull()); // an empty field is stored empty, not null
        QCOMPARE(CustomerColumn(7, "ADRESA2").toString(), QString());
        // A number taken meanwhile fails on the key and changes nothing.
        c.name = "Jiný";
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, InsertCustomer(c));
        QCOMPARE(CustomerRows(), QString("7=Nový"));
    }

    // "Vymazat historii": the returned lines whose documents are gone are deleted, every
    // other line of his leaves the history lists (one still out too); others' stay.
    void updateCustomer_data() { AddEngineFlagRows("erase", "keep", "erase"); }
    void updateCustomer()
    {
        QFETCH(bool, erase);
        OPEN_TEST_DATABASE(db);
        AddShop();
        AddLine({4, 2, 1, Today, false, true, false});   // returned, documents gone
        AddLine({5, 4, 1, Today, false, true, true});    // returned, documented
        const QString others = CustomerLines(2);
        UpdateCustomer({1, "Čapek Josef", "1", "A1", "A2", "7801011229", "111", 0, "t"}, erase);
        QCOMPARE(CustomerColumn(1, "JMENO").toString(), QString("Čapek Josef"));
        QCOMPARE(CustomerColumn(1, "OMEZENI").toInt(), 0);
        QCOMPARE(CustomerLines(1), erase ? QString("1:1/0,4:0/0") : QString("1:1/1,2:0/1,4:0/1"));
        QCOMPARE(CustomerLines(2), others);
    }

    // No restriction chosen keeps the stored one, also none at all.
    void updateKeepsUnchosenRestriction_data() { AddEngineRows(); }
    void updateKeepsUnchosenRestriction()
    {
        OPEN_TEST_DATABASE(db);
        AddShop();
        UpdateCustomer({4, "Novák", "", "", "", "", "", -1, ""}, false);
        QVERIFY(CustomerColumn(4, "OMEZENI").isNull());
        UpdateCustomer({3, "O'Neil", "", "", "", "", "", -1, ""}, false);
        QCOMPARE(CustomerColumn(3, "OMEZENI").toInt(), 3);
    }

    // A statement that fails undoes the whole change: the history erased before it comes
    // back. A customer removed meanwhile fails the change too.
    void failingUpdateRollsBack_data() { AddEngineRows(); }
    void failingUpdateRollsBack()
    {
        OPEN_TEST_DATABASE(db);
        AddShop();
        AddLine({4, 2, 1, Today, false, true, false});
        const QString lines = CustomerLines(1);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError,
                                 UpdateCustomer({1, "X", "", "", "", "", "", 2, QString(65, u'x')}, true));
        QCOMPARE(CustomerLines(1), lines);
        QCOMPARE(CustomerColumn(1, "JMENO").toString(), QString("Čapek Karel"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, UpdateCustomer({99, "X", "", "", "", "", "", 2, ""}, false));
        // The connection goes on working after the rollbacks.
        UpdateCustomer({1, "Y", "", "", "", "", "", 2, ""}, false);
        QCOMPARE(CustomerColumn(1, "JMENO").toString(), QString("Y"));
    }

    void removeCustomer_data() { AddEngineRows(); }
    void removeCustomer()
    {
        OPEN_TEST_DATABASE(db);
        AddShop();
        AddLine({4, 2, 3, Today, false, true, false}); // documents gone: deleted
        RemoveCustomer(3);
        QVERIFY(CustomerColumn(3, "JMENO").isNull());
        QCOMPARE(CustomerLines(3), QString("3:0/0")); // documented: kept, out of the history
        QCOMPARE(CustomerRows(), QString("1=Čapek Karel,2=čermák,4=Novák,5=A\\b"));
    }

    // The change frame logs its line with the result and the number, and reports a
    // failure as false.
    void loggedChange_data() { AddEngineRows(); }
    void loggedChange()
    {
        OPEN_TEST_DATABASE(db);
        TLog log;
        log.LogSave = false;
        SetMainLog(&log);
        AddShop();
        QVERIFY(RunLoggedChange("Vyřazení zákazníka", qint64(4), [] { RemoveCustomer(4); }));
        QVERIFY(!RunLoggedChange("Nový zákazník", qint64(1), [] { InsertCustomer({1, "X", "", "", "", "", "", 2, ""}); }));
        SetMainLog(nullptr);
        QCOMPARE(log.LogCount(), 2);
        QVERIFY2(log.Lines()[0].contains(QRegularExpression(" Transakce \\[Vyřazení zákazníka\\] \\[\\d+ ms\\] "
                                                            "\\[0000000000004\\] \\[Ok\\]$")),
                 qPrintable(log.Lines()[0]));
        QVERIFY2(log.Lines()[1].endsWith("[0000000000001] [Error]"), qPrintable(log.Lines()[1]));
    }

    // A customer with any line overdue is overdue, whatever line comes first; a line due
    // today is lent, not overdue; the cache sees new lines after its requery only.
    void lentLines_data() { AddEngineRows(); }
    void lentLines()
    {
        OPEN_TEST_DATABASE(db);
        AddShop();
        AddLine({4, 3, 1, Today.addDays(3)});
        AddLine({5, 4, 1, Today.addDays(-2)});
        TLentLines lent;
        ClearOpenSteps();
        lent.Requery();
        QCOMPARE(lent.CustomerOverdue(1), std::optional<bool>(true));
        QCOMPARE(lent.CustomerOverdue(2), std::optional<bool>(true));
        QCOMPARE(lent.CustomerOverdue(3), std::optional<bool>());
        QCOMPARE(lent.VideoOverdue(1), std::optional<bool>(false));
        QCOMPARE(lent.VideoOverdue(3), std::optional<bool>(false));
        AddLine({6, 1, 4, Today});
        QCOMPARE(lent.CustomerOverdue(4), std::optional<bool>());
        lent.Requery();
        QCOMPARE(lent.CustomerOverdue(4), std::optional<bool>(false));
    }

private:
    // The rows of filterSelects only read: one shop per engine serves them all.
    SharedTestDatabase m_shop{AddShop};
};

QTEST_GUILESS_MAIN(TestCustomerStore)
#include "tst_customerstore.moc"
