// The customer register's rules without a database: the restriction codes, the checks of
// the customer dialogs, the identity rights and the WHERE part the filter panel builds.
#include "catalogue/CustomerRules.h"
#include "catalogue/CustomerStore.h"
#include "core/database/SqlDialect.h"

#include <QTest>

Q_DECLARE_METATYPE(CustomerFilterInput)

namespace {

// Lookups over a fixed register: customer 5 exists; birth number 7801011229 and identity
// card 111 belong to customer 5.
CustomerLookups Register(QList<qint64> *asked = nullptr)
{
    CustomerLookups l;
    l.customerExists = [](qint64 n) { return n == 5; };
    l.birthNumberTaken = [asked](qint64 own, const QString &rc) {
        if (asked)
            asked->append(own);
        return rc == QLatin1String("7801011229") && own != 5;
    };
    l.identityCardTaken = [asked](qint64 own, const QString &op) {
        if (asked)
            asked->append(own);
        return op == QLatin1String("111") && own != 5;
    };
    return l;
}

QString Flags(const CustomerWarnings &w)
{
    QStringList on;
    if (w.prohibition)
        on << "prohibition";
    if (w.exist)
        on << "exist";
    if (w.birthValid)
        on << "birthValid";
    if (w.birthExist)
        on << "birthExist";
    if (w.identityExist)
        on << "identityExist";
    return on.join(',');
}

} // namespace

class TestCustomerRules : public QObject {
    Q_OBJECT

private slots:
    void limitCodes()
    {
        QCOMPARE(CustomerLimitCaptions(), QStringList({"Půjčování zakázané", "Půjčování proti záloze",
                                                       "Půjčování bez omezení", "VIP zákazník"}));
        const QList<std::pair<QString, int>> cases = {{"!", 0}, {"$", 1}, {"-", 2}, {"+", 3},
                                                       {"", -1}, {"x", -1}, {"!$", -1}};
        for (const auto &[code, limit] : cases)
            QCOMPARE(CustomerLimitOfCode(code), limit);
    }

    void newCustomerChecks_data()
    {
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QString>("birth");
        QTest::addColumn<QString>("identity");
        QTest::addColumn<bool>("verifyBirth");
        QTest::addColumn<bool>("verifyIdentity");
        QTest::addColumn<QString>("warnings");
        QTest::newRow("all fine") << qint64(6) << "" << "" << false << false << "";
        QTest::newRow("number 0 or empty") << qint64(0) << "" << "" << false << false << "prohibition";
        QTest::newRow("number taken") << qint64(5) << "" << "" << false << false << "exist";
        QTest::newRow("birth required when checked") << qint64(6) << "" << "" << true << false << "birthValid";
        QTest::newRow("birth malformed") << qint64(6) << "7801011234" << "" << true << false << "birthValid";
        QTest::newRow("birth taken") << qint64(6) << "7801011229" << "" << true << false << "birthExist";
        QTest::newRow("birth unchecked never warns") << qint64(6) << "7801011229" << "" << false << false << "";
        QTest::newRow("empty card never taken") << qint64(6) << "" << "" << false << true << "";
        QTest::newRow("card taken") << qint64(6) << "" << "111" << false << true << "identityExist";
        QTest::newRow("card unchecked") << qint64(6) << "" << "111" << false << false << "";
        QTest::newRow("several") << qint64(0) << "12" << "111" << true << true
                                 << "prohibition,birthValid,identityExist";
    }
    void newCustomerChecks()
    {
        QFETCH(qint64, number);
        QFETCH(QString, birth);
        QFETCH(QString, identity);
        QFETCH(bool, verifyBirth);
        QFETCH(bool, verifyIdentity);
        QFETCH(QString, warnings);
        const CustomerWarnings w =
            CheckNewCustomer({number, birth, identity, verifyBirth, verifyIdentity}, Register());
        QCOMPARE(Flags(w), warnings);
        QCOMPARE(w.any(), !warnings.isEmpty());
    }

    // The edited customer's own birth number and card are his: the lookups leave him out,
    // and his number is never checked.
    void editedCustomerChecks()
    {
        QList<qint64> asked;
        CustomerWarnings w = CheckEditedCustomer({5, "7801011229", "111", true, true}, Register(&asked));
        QCOMPARE(Flags(w), QString());
        QCOMPARE(asked, QList<qint64>({5, 5}));
        w = CheckEditedCustomer({6, "7801011229", "111", true, true}, Register());
        QCOMPARE(Flags(w), QString("birthExist,identityExist"));
        w = CheckEditedCustomer({0, "", "", true, false}, Register());
        QCOMPARE(Flags(w), QString("birthValid"));
    }

    void identityEditable()
    {
        QVERIFY(IdentityEditable(true, false, false));
        QVERIFY(!IdentityEditable(true, true, false)); // something out: only with SPECIAL
        QVERIFY(IdentityEditable(true, true, true));
        QVERIFY(!IdentityEditable(false, false, false));
        QVERIFY(IdentityEditable(false, true, true));
    }

    // The WHERE part of each condition alone (SQLite's text, which the free filter shows).
    void filterConditions_data()
    {
        QTest::addColumn<CustomerFilterInput>("input");
        QTest::addColumn<QString>("where");
        CustomerFilterInput f;
        QTest::newRow("nothing ticked") << f << "";
        f.codeFirst = 0;
        f.codeSecond = 9999999999999LL;
        QTest::newRow("bounds without their box") << f << "";
        f.codeOn = true;
        QTest::newRow("code range") << f
                                    << "WHERE tab_zakaznik.ZAKAZNIK>=0\nAND tab_zakaznik.ZAKAZNIK<=9999999999999\n";
        f.codeFirst.reset();
        QTest::newRow("emptied bound") << f << "WHERE tab_zakaznik.ZAKAZNIK<=9999999999999\n";
        f = {};
        f.nameOn = true;
        QTest::newRow("empty name") << f << "WHERE tab_zakaznik.JMENO LIKE '%' ESCAPE '\\'\n";
        f.name = "O'Neil";
        QTest::newRow("apostrophe") << f << "WHERE tab_zakaznik.JMENO LIKE 'O''Neil%' ESCAPE '\\'\n";
        f = {};
        f.limitOn = true;
        QTest::newRow("restriction not chosen") << f << "";
        f.limit = 0;
        QTest::newRow("restriction") << f << "WHERE tab_zakaznik.OMEZENI=0\n";
        f = {};
        f.registrationOn = true;
        QTest::newRow("registration without dates") << f << "";
        f.registrationFirst = QDate(2026, 1, 2);
        f.registrationSecond = QDate(2026, 12, 31);
        QTest::newRow("registration") << f
                                      << "WHERE tab_zakaznik.REGISTRACE>='2026-01-02 00:00:00'\n"
                                         "AND tab_zakaznik.REGISTRACE<='2026-12-31 23:59:59'\n";
        f = {};
        f.lent = true;
        QTest::newRow("lent") << f
                              << "WHERE EXISTS (SELECT * FROM tab_pujckydetail where tab_zakaznik.ZAKAZNIK="
                                 "tab_pujckydetail.ZAKAZNIK AND tab_pujckydetail.PUJCENA=1)\n";
        f = {};
        f.overdue = true;
        f.runDate = QDate(2026, 12, 10);
        QTest::newRow("overdue") << f
                                 << "WHERE EXISTS (SELECT * FROM tab_pujckydetail where tab_zakaznik.ZAKAZNIK="
                                    "tab_pujckydetail.ZAKAZNIK AND tab_pujckydetail.VRATIT<'2026-12-10 00:00:00' "
                                    "AND tab_pujckydetail.PUJCENA=1)\n";
        // Combined, in the panel's order, joined by AND.
        f.codeOn = true;
        f.codeSecond = 7;
        f.nameOn = true;
        f.name = "N";
        f.limitOn = true;
        f.limit = 3;
        QTest::newRow("combined") << f
                                  << "WHERE tab_zakaznik.ZAKAZNIK<=7\nAND tab_zakaznik.JMENO LIKE 'N%' ESCAPE '\\'\n"
                                     "AND tab_zakaznik.OMEZENI=3\nAND EXISTS (SELECT * FROM tab_pujckydetail "
                                     "where tab_zakaznik.ZAKAZNIK=tab_pujckydetail.ZAKAZNIK AND "
                                     "tab_pujckydetail.VRATIT<'2026-12-10 00:00:00' AND tab_pujckydetail.PUJCENA=1)\n";
    }
    void filterConditions()
    {
        QFETCH(CustomerFilterInput, input);
        QFETCH(QString, where);
        QCOMPARE(CustomerFilterWhere(input, SqliteDialect()), where);
    }

    // PostgreSQL folds the name's case; both engines escape with a backslash: a backslash,
    // "%" or "_" typed is escaped, so each stays one character of the name.
    void filterNameOnPostgres()
    {
        CustomerFilterInput f;
        f.nameOn = true;
        f.name = "O'N\\x%_";
        QCOMPARE(CustomerFilterWhere(f, PostgresDialect()),
                 QString("WHERE lower(tab_zakaznik.JMENO) LIKE lower('O''N\\\\x\\%\\_%') ESCAPE '\\'\n"));
        QCOMPARE(CustomerFilterWhere(f, SqliteDialect()),
                 QString("WHERE tab_zakaznik.JMENO LIKE 'O''N\\\\x\\%\\_%' ESCAPE '\\'\n"));
    }
};


QTEST_APPLESS_MAIN(TestCustomerRules)
#include "tst_customerrules.moc"
