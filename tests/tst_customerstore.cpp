// The customer register's statements on both engines, without windows: the restriction
// codes of the list, the name proposals, the changes with their history statements and
// rollback, and the cache of lent lines. What it shares with the video catalogue (the
// lowest free number, the filter conditions) is tested in tst_cataloguestore.
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
#include "support/CustomerShop.h"
#include "support/ShopRows.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QRegularExpression>
#include <QTest>
#include <memory>

const QDate Today = CustomerShopToday;

class TestCustomerStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetRunDate(Today); }

    // The restriction comes as its code, NULL (and a value outside the four) as nothing.
    void listShowsRestrictionCodes_data() { AddEngineRows(); }
    void listShowsRestrictionCodes()
    {
        OPEN_TEST_DATABASE(db);
        AddCustomerShop();
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
        AddCustomerShop();
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
        AddCustomerShop();
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
        AddCustomerShop();
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
        AddCustomerShop();
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
        AddCustomerShop();
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
        AddCustomerShop();
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
        AddCustomerShop();
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
};

QTEST_GUILESS_MAIN(TestCustomerStore)
#include "tst_customerstore.moc"
