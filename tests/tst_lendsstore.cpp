// The document journal's statements on both engines, without windows: each document's
// line count and totals as the database rounds them, the lines of a document, each filter
// condition and period alone with the status bar's sums, and an empty journal; and the
// pure rules of the filter (the periods' days and the WHERE text).
#include "core/RunGlobals.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/SqlServer.h"
#include "rental/LendsStore.h"
#include "support/JournalShop.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(LendsFilterInput)
Q_DECLARE_METATYPE(LendsPeriod)

namespace {

QString Money0(const QVariant &value)
{
    return FormatMoney(QStringLiteral("0.00"), Money::fromVariant(value));
}

// The journal as the page opens it, with a WHERE part.
std::unique_ptr<BrowseQuery> OpenJournal(const QString &where = QString())
{
    auto journal = std::make_unique<BrowseQuery>();
    journal->setSql(LendsSql(CurrentServer()->dialect()));
    journal->setFieldKind(QStringLiteral("PLATBA_CELKEM"), FieldKind::Money);
    journal->setFieldKind(QStringLiteral("ZALOHA_CELKEM"), FieldKind::Money);
    SetQueryWhere(*journal, where);
    return journal;
}

LendsFilterInput AllPeriods()
{
    return {};
}

LendsFilterInput Days(QDate first, QDate last)
{
    LendsFilterInput f;
    f.days = std::pair(first, last);
    return f;
}

LendsFilterInput Period(LendsPeriod period)
{
    const auto [first, last] = LendsPeriodDays(period, JournalToday);
    return Days(first, last);
}

} // namespace

class TestLendsStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetRunDate(JournalToday); }
    void cleanupTestCase() { m_shop.reset(); }

    void periodDays_data()
    {
        QTest::addColumn<LendsPeriod>("period");
        QTest::addColumn<QDate>("runDate");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        const QDate thursday(2026, 12, 10);
        QTest::newRow("today") << LendsPeriod::Today << thursday << thursday << thursday;
        QTest::newRow("week of a Thursday") << LendsPeriod::Week << thursday << QDate(2026, 12, 7) << QDate(2026, 12, 13);
        QTest::newRow("week of a Sunday") << LendsPeriod::Week << QDate(2026, 12, 13) << QDate(2026, 12, 7)
                                          << QDate(2026, 12, 13);
        QTest::newRow("week of a Monday") << LendsPeriod::Week << QDate(2026, 12, 7) << QDate(2026, 12, 7)
                                          << QDate(2026, 12, 13);
        QTest::newRow("week over the new year") << LendsPeriod::Week << QDate(2026, 1, 1) << QDate(2025, 12, 29)
                                                << QDate(2026, 1, 4);
        QTest::newRow("month") << LendsPeriod::Month << thursday << QDate(2026, 12, 1) << QDate(2026, 12, 31);
        QTest::newRow("leap February") << LendsPeriod::Month << QDate(2028, 2, 10) << QDate(2028, 2, 1)
                                       << QDate(2028, 2, 29);
        QTest::newRow("February") << LendsPeriod::Month << QDate(2027, 2, 28) << QDate(2027, 2, 1) << QDate(2027, 2, 28);
        QTest::newRow("February of 2100") << LendsPeriod::Month << QDate(2100, 2, 3) << QDate(2100, 2, 1)
                                          << QDate(2100, 2, 28);
        QTest::newRow("year") << LendsPeriod::Year << thursday << QDate(2026, 1, 1) << QDate(2026, 12, 31);
    }
    void periodDays()
    {
        QFETCH(LendsPeriod, period);
        QFETCH(QDate, runDate);
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        QCOMPARE(LendsPeriodDays(period, runDate), std::pair(first, last));
    }

    // The conditions in their order, each on a line of its own; unset bounds and boxes
    // that are off add nothing.
    void filterText()
    {
        LendsFilterInput f;
        QCOMPARE(LendsFilterWhere(f), QString());
        f.operation = LendsOperation::Lend;
        f.days = std::pair(QDate(2005, 11, 8), QDate(2005, 11, 8));
        QCOMPARE(LendsFilterWhere(f), QString("WHERE OPERACE=1\n"
                                              "AND tab_pujcky.CAS BETWEEN '2005-11-08 00:00:00' AND '2005-11-08 23:59:59'\n"));
        f = {};
        f.operation = LendsOperation::Back;
        f.documentFirst = 5; // the box is off
        f.customersOn = true;
        f.customerSecond = 9999999999999LL;
        f.user = 2;
        QCOMPARE(LendsFilterWhere(f), QString("WHERE OPERACE=0\n"
                                              "AND tab_pujcky.ZAKAZNIK<=9999999999999\n"
                                              "AND tab_pujcky.UZIVATEL=2\n"));
        f = {};
        f.documentsOn = true;
        QCOMPARE(LendsFilterWhere(f), QString());
        f.documentFirst = 1;
        f.documentSecond = 4;
        QCOMPARE(LendsFilterWhere(f), QString("WHERE tab_pujcky.DOKLAD>=1\nAND tab_pujcky.DOKLAD<=4\n"));
    }

    // Every document's line count and totals, rounded by the database (halves away from
    // zero, the deposits handed back too), its customer (none once removed) and user.
    void documentTotals_data() { AddEngineRows(); }
    void documentTotals()
    {
        OPEN_SHARED_TEST_DATABASE(m_shop);
        const auto journal = OpenJournal();
        QVERIFY(!journal->sqlText().contains("WHERE"));
        QStringList rows;
        for (int row = 0; row < journal->recordCount(); ++row) {
            auto value = [&](const char *field) { return journal->valueAt(row, journal->fieldIndex(field)); };
            rows << QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                        .arg(value("DOKLAD").toString(), value("OPERACE").toString(), value("POLOZKY").toString(),
                             Money0(value("PLATBA_CELKEM")), Money0(value("ZALOHA_CELKEM")),
                             value("JMENO").toString(), value("UZIVATEL").toString());
        }
        QCOMPARE(rows, QStringList({"1 1 6 206,00 201,00 Zálohový Jan sa",
                                    "2 1 2 73,00 0,00 Vip Věra Pokladní",
                                    "3 0 2 32,00 -101,00 Zálohový Jan sa",
                                    "4 1 2 80,00 0,00 Novák sa",
                                    "5 1 1 20,00 0,00  sa",
                                    "6 0 1 50,00 0,00  sa"}));
        QCOMPARE(journal->valueAt(2, journal->fieldIndex("CAS")).toDateTime(), QDateTime(JournalToday, QTime(23, 59)));
    }

    // The lines of a lend and of a return, each with its fee and late fee.
    void documentLines_data() { AddEngineRows(); }
    void documentLines()
    {
        OPEN_SHARED_TEST_DATABASE(m_shop);
        BrowseQuery lines;
        lines.setSql(LendsDetailSql(CurrentServer()->dialect()));
        for (const char *amount : {"PUJCOVNE_CELKEM", "VRATNE_CELKEM"})
            lines.setFieldKind(QLatin1String(amount), FieldKind::Money);
        auto read = [&lines](qint64 document) {
            lines.setParameter("DOKLAD", document);
            lines.requery();
            QStringList texts;
            for (int row = 0; row < lines.recordCount(); ++row) {
                auto value = [&](const char *field) { return lines.valueAt(row, lines.fieldIndex(field)); };
                texts << QStringLiteral("%1:%2/%3/%4/%5")
                             .arg(value("VIDEO").toString(), value("TITUL").toString(), value("NOSIC").toString(),
                                  Money0(value("PUJCOVNE_CELKEM")),
                                  value("VRATNE_CELKEM").isNull() ? "-" : Money0(value("VRATNE_CELKEM")));
            }
            texts.sort();
            return texts;
        };
        QCOMPARE(read(1), QStringList({"1:Titul 1/-/44,35/31,50", "2:Titul 2/-/44,40/-", "3:Titul 3/-/47,91/10,00",
                                       "4:Titul 4/-/25,36/0,00", "5:Titul 5/-/43,48/-", "6:Titul 6/-/0,00/-"}));
        QCOMPARE(read(3), QStringList({"1:Titul 1/-/44,35/31,50", "4:Titul 4/-/25,36/0,00"}));
        QCOMPARE(read(7), QStringList());
    }

    // Each condition and each period alone: the documents listed and the status bar's
    // sums over them.
    void filterSelects_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<LendsFilterInput>("input");
        QTest::addColumn<QList<qint64>>("listed");
        QTest::addColumn<QString>("sums");
        for (const auto &[e, engine] : {std::pair{"sqlite", Engine::SQLite}, std::pair{"postgres", Engine::PostgreSQL}}) {
            auto row = [&](const char *tag, const LendsFilterInput &f, const QList<qint64> &listed, const char *sums) {
                QTest::addRow("%s-%s", e, tag) << engine << f << listed << QString(sums);
            };
            row("all periods", AllPeriods(), {1, 2, 3, 4, 5, 6}, "6 461,00 100,00");
            row("today, 23:59 included", Period(LendsPeriod::Today), {1, 3}, "2 238,00 100,00");
            row("week", Period(LendsPeriod::Week), {1, 2, 3}, "3 311,00 100,00");
            row("month from its first minute", Period(LendsPeriod::Month), {1, 2, 3, 4}, "4 391,00 100,00");
            row("year", Period(LendsPeriod::Year), {1, 2, 3, 4, 6}, "5 441,00 100,00");
            row("other period", Days(QDate(2026, 12, 8), QDate(2026, 12, 8)), {2}, "1 73,00 0,00");
            row("other period reversed", Days(QDate(2026, 12, 10), QDate(2026, 12, 8)), {}, "0 0,00 0,00");
            LendsFilterInput f;
            f.operation = LendsOperation::Lend;
            row("lends", f, {1, 2, 4, 5}, "4 379,00 201,00");
            f.operation = LendsOperation::Back;
            row("returns", f, {3, 6}, "2 82,00 -101,00");
            f = {};
            f.documentsOn = true;
            f.documentFirst = 2;
            f.documentSecond = 4;
            row("documents", f, {2, 3, 4}, "3 185,00 -101,00");
            f.documentSecond.reset();
            f.documentFirst = 4;
            row("documents from", f, {4, 5, 6}, "3 150,00 0,00");
            f.documentFirst.reset();
            row("documents with both bounds empty", f, {1, 2, 3, 4, 5, 6}, "6 461,00 100,00");
            f = {};
            f.customersOn = true;
            f.customerFirst = 2;
            f.customerSecond = 3;
            row("customers", f, {1, 2, 3}, "3 311,00 100,00");
            f = {};
            f.user = 2;
            row("user", f, {2}, "1 73,00 0,00");
        }
    }
    void filterSelects()
    {
        QFETCH(LendsFilterInput, input);
        QFETCH(QList<qint64>, listed);
        QFETCH(QString, sums);
        OPEN_SHARED_TEST_DATABASE(m_shop);
        const QString where = LendsFilterWhere(input);
        const auto journal = OpenJournal(where);
        QCOMPARE(ListedNumbers(*journal), listed);
        QCOMPARE(journal->sqlText().contains("WHERE"), !where.isEmpty());
        const JournalTotals totals = SumJournal(*journal);
        QCOMPARE(QStringLiteral("%1 %2 %3")
                     .arg(totals.documents)
                     .arg(FormatMoney(",0.00", totals.payments), FormatMoney(",0.00", totals.deposits)),
                 sums);
    }

    // No documents: the journal opens empty and sums to nothing; a closed one too.
    void emptyJournal_data() { AddEngineRows(); }
    void emptyJournal()
    {
        m_shop.reset(); // one database of this program's own at a time
        OPEN_TEST_DATABASE(db);
        const auto journal = OpenJournal();
        QVERIFY(journal->isOpen());
        QCOMPARE(journal->recordCount(), 0);
        const JournalTotals totals = SumJournal(*journal);
        QCOMPARE(totals.documents, 0);
        QCOMPARE(totals.payments, Money());
        QCOMPARE(totals.deposits, Money());
        journal->close();
        QCOMPARE(SumJournal(*journal).documents, 0);
    }

private:
    // The prepared journal only read: one per engine serves the tests in turn.
    SharedTestDatabase m_shop{AddJournal};
};

QTEST_MAIN(TestLendsStore)
#include "tst_lendsstore.moc"
