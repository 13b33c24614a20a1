// The free filter: a WHERE part typed as SQL runs only when the program's check reads it
// as one condition over the shop's tables (anything else is refused, logged and leaves
// the list unfiltered), every run of a kept text only reads, filter files keep the text
// in UTF-8 with CR LF and read the Windows-1250 files of old, and the dialog applies,
// clears, opens and saves.
#include "catalogue/CustomerStore.h"
#include "catalogue/FilterRules.h"
#include "catalogue/FilterStore.h"
#include "catalogue/UCustomerPage.h"
#include "catalogue/UFilter.h"
#include "catalogue/UVideoPage.h"
#include "catalogue/VideoStore.h"
#include "core/database/Errors.h"
#include "core/Grids.h"
#include "core/Log.h"
#include "core/RunGlobals.h"
#include "core/UValmedo.h"
#include "core/Texts.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"
#include "rental/LendsStore.h"
#include "rental/ULendsPage.h"
#include "support/LoggedInDesk.h"
#include "support/ModalAnswers.h"
#include "support/ShopRows.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTest>

namespace {

void addCustomer(qint64 number, const QString &name)
{
    SetCommand(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO) VALUES (:ZAKAZNIK,:JMENO)"));
    SetCommandParam(QStringLiteral("ZAKAZNIK"), number);
    SetCommandParam(QStringLiteral("JMENO"), name);
    ExecCommand();
}

void addCustomers()
{
    addCustomer(1, QStringLiteral("Novák"));
    addCustomer(2, QStringLiteral("Dvořák"));
    addCustomer(3, QStringLiteral("Nováková"));
}

QStringList customerNames()
{
    SetCommand(QStringLiteral("SELECT JMENO FROM tab_zakaznik ORDER BY ZAKAZNIK"));
    QSqlQuery q = ExecCommandRecordset();
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QList<qint64> keys(const DataSet &list)
{
    QList<qint64> out;
    for (int row = 0; row < list.recordCount(); ++row)
        out << list.valueAt(row, 0).toLongLong();
    return out;
}

const QString CustomerSelect = QStringLiteral(
    "SELECT\nZAKAZNIK,\nJMENO,\nTELEFON,\nADRESA1,\nADRESA2,\nRC,\nOP,\nREGISTRACE,\nCASE\n"
    " WHEN OMEZENI=0 THEN '!'\n WHEN OMEZENI=1 THEN '$'\n WHEN OMEZENI=2 THEN '-'\n"
    " WHEN OMEZENI=3 THEN '+'\nEND AS OMEZENI,\nPUJCKY,\nTEXT\nFROM tab_zakaznik\n");
const QString CustomerOrder = QStringLiteral("ORDER BY tab_zakaznik.ZAKAZNIK\n");

const QStringList ShopTables = {"tab_zakaznik", "tab_zamereni", "tab_nosic",       "tab_video",
                                "tab_uzivatel", "tab_pujcky",   "tab_pujckydetail"};

// Every row of every table, to see that nothing changed.
QStringList everyRow()
{
    QStringList rows;
    for (const QString &table : ShopTables)
        rows << table << TableRows(table);
    return rows;
}

// A shop to filter: customers with Czech names, an apostrophe and a backslash, a comedy
// on DVD and a VHS, the clerk "pokladni" (user 2), three documents and one video out.
void addShop()
{
    const auto day = [](int month, int d) { return QDateTime(QDate(2026, month, d), QTime(10, 0)); };
    AddCustomer(ShopCustomer(1, QStringLiteral("Novák"), {}, {}, 2, day(11, 15)));
    AddCustomer(ShopCustomer(2, QStringLiteral("Dvořák"), {}, {}, 2, day(12, 5)));
    AddCustomer(ShopCustomer(3, QStringLiteral("Čapek"), {}, {}, 2, day(12, 10)));
    AddCustomer(ShopCustomer(4, QStringLiteral("O'Neil"), {}, {}, 2, day(11, 20)));
    AddCustomer(ShopCustomer(5, QStringLiteral("Back\\slash"), {}, {}, 2, day(11, 21)));
    Exec(QStringLiteral("INSERT INTO tab_zamereni (ZAMERENI,VYCHOZI) VALUES ('Komedie',0)"));
    AddVideo(ShopVideo(10, QStringLiteral("Pelíšky"), 2, 2, QStringLiteral("22.50")));
    AddVideo(ShopVideo(11, QStringLiteral("Obecná škola"), 1, 4, QStringLiteral("30")));
    Exec(QStringLiteral("INSERT INTO tab_uzivatel (UZIVATEL,HESLO) SELECT 'pokladni','tajne' "
                        "WHERE NOT EXISTS (SELECT 1 FROM tab_uzivatel WHERE UZIVATEL='pokladni')"));
    for (const char *document : {"1,1,1,1", "2,1,3,2", "3,0,1,1"})
        Exec(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL) VALUES (%1)")
                 .arg(QLatin1String(document)));
    AddLine(ShopLine(1, 10, 1, QDate(2026, 12, 1)));
}

// The list's text cut around its WHERE part, as the dialog cuts it.
struct ListParts {
    QStringList sql;
    QString select;
    QString order;
};
ListParts listParts(const QStringList &sql)
{
    BrowseQuery query;
    query.setSql(sql);
    ListParts parts{sql, {}, {}};
    QString where;
    SplitSQL(query.sqlText(), parts.select, where, parts.order);
    return parts;
}
ListParts listParts(const QString &list)
{
    if (list == QLatin1String("videos"))
        return listParts(VideoListSql());
    if (list == QLatin1String("journal"))
        return listParts(LendsSql(CurrentServer()->dialect()));
    return listParts(CustomerListSql());
}

} // namespace

class TestFilter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The refused and accepted filters share one shop per engine (a refused one must leave it
    // as it was, which each row checks); every other test opens a database of its own.
    void init()
    {
        const char *test = QTest::currentTestFunction();
        if (qstrcmp(test, "applyRefused") != 0 && qstrcmp(test, "applyAccepted") != 0)
            m_shop.reset();
    }
    void cleanupTestCase() { m_shop.reset(); }

    // The check reads one condition of the subset both engines read alike and names the
    // first word it does not run (empty: it runs).
    void refusedWord_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("word");
        const QList<std::pair<const char *, std::pair<QString, QString>>> rows = {
            {"none", {"WHERE JMENO LIKE 'N%'\nAND ZAKAZNIK>1\n", ""}},
            {"empty", {"", ""}},
            {"; in a text", {"WHERE JMENO='a;b'\n", ""}},
            {"after a doubled quote", {"WHERE JMENO='O''Neil; x'\n", ""}},
            {"a backslash is a letter", {"WHERE JMENO='\\' OR JMENO='x\\'\n", ""}},
            {"in a name", {"WHERE \"a;b\"=1\n", "a;b"}},
            {"second statement", {"WHERE 1=1;\nDELETE FROM tab_zakaznik\n", ";"}},
            {"after a text", {"WHERE JMENO='x'; DELETE FROM tab_zakaznik\n", ";"}},
            {"in a comment", {"WHERE 1=1 -- a; b\n", "--"}},
            {"quote in a comment", {"WHERE 1=1 -- it's\n; DELETE FROM tab_zakaznik --'\n", "--"}},
            {"quote in a block comment", {"WHERE 1=1 /* ' */ ; DELETE FROM tab_video\n", "/*"}},
            {"text not closed", {"WHERE JMENO='x\n", "'"}},
            {"escaped text", {"WHERE JMENO=E'x'\n", "E"}},
            {"typed text", {"WHERE JMENO=TEXT 'x'\n", "'x'"}},
            {"texts glued", {"WHERE JMENO='a'\n'b'\n", "'b'"}},
            {"cast", {"WHERE ZAKAZNIK::text='1'\n", ":"}},
            {"marker", {"WHERE ZAKAZNIK=:ZAKAZNIK\n", ":"}},
            {"question mark", {"WHERE ZAKAZNIK=?\n", "?"}},
            {"brackets", {"WHERE [JMENO]='x'\n", "["}},
            {"bit operator", {"WHERE ZAKAZNIK & 1=1\n", "&"}},
            {"engine's own operator", {"WHERE ZAKAZNIK==1\n", "=="}},
            {"json arrow", {"WHERE JMENO->'a'=1\n", "->"}},
            {"a sign after an operator", {"WHERE ZAKAZNIK>-1 AND ZAKAZNIK<>+5\n", ""}},
            {"exponent", {"WHERE ZAKAZNIK<1e5\n", "1e"}},
            {"hexadecimal", {"WHERE ZAKAZNIK<0x10\n", "0x"}},
            {"decimal", {"WHERE tab_video.CENA<22.5\n", ""}},
            {"Czech letter outside a text", {"WHERE JMENO=Čapek\n", "Č"}},
            {"unknown column", {"WHERE NENI=1\n", "NENI"}},
            {"column of another table", {"WHERE tab_zakaznik.TITUL='x'\n", "TITUL"}},
            {"whole row", {"WHERE tab_uzivatel || '' LIKE '%a%'\n", "tab_uzivatel"}},
            {"every column", {"WHERE COUNT(tab_uzivatel.*)>0\n", "*"}},
            {"password column", {"WHERE tab_uzivatel.heslo LIKE 'a%'\n", "heslo"}},
            {"a right", {"WHERE tab_uzivatel.ADMIN=1\n", "ADMIN"}},
            {"clerk's name", {"WHERE tab_uzivatel.UZIVATEL='sa'\n", ""}},
            {"users' table read", {"WHERE EXISTS (SELECT 1 FROM tab_pujcky JOIN tab_uzivatel u ON 1=1)\n", "tab_uzivatel"}},
            {"users' table after a comma", {"WHERE EXISTS (SELECT 1 FROM tab_pujcky p, tab_uzivatel)\n", "tab_uzivatel"}},
            {"catalogue behind an alias", {"WHERE EXISTS (SELECT 1 FROM tab_video pg_user WHERE EXISTS (SELECT 1 FROM pg_user))\n", "pg_user"}},
            {"alias called", {"WHERE EXISTS (SELECT 1 FROM tab_video pg_sleep WHERE pg_sleep(1) IS NULL)\n", "pg_sleep"}},
            {"quoted function", {"WHERE \"upper\"(JMENO)='X'\n", "upper"}},
            {"alias before it is given", {"WHERE ZAKAZNIK IN (SELECT d.ZAKAZNIK FROM tab_pujckydetail d)\n", ""}},
            {"alias alone", {"WHERE EXISTS (SELECT 1 FROM tab_video v WHERE v IS NOT NULL)\n", "v"}},
            {"unknown qualifier", {"WHERE x.JMENO='a'\n", "x"}},
            {"three parts", {"WHERE tab_zakaznik.JMENO.x='a'\n", "."}},
            {"subselect in place of a table", {"WHERE ZAKAZNIK IN (SELECT s.ZAKAZNIK FROM (SELECT ZAKAZNIK FROM tab_pujcky) AS s)\n", ""}},
            {"parenthesis not closed", {"WHERE (ZAKAZNIK=1\n", "("}},
            {"parenthesis not opened", {"WHERE ZAKAZNIK=1)\nOR (1=1\n", ")"}},
            {"other keyword", {"WHERE ZAKAZNIK=1 LIMIT 1\n", "LIMIT"}},
        };
        for (const auto &[tag, row] : rows)
            QTest::newRow(tag) << row.first << row.second;
    }
    void refusedWord()
    {
        QFETCH(QString, sql);
        QFETCH(QString, word);
        QCOMPARE(RefusedFilterWord(sql), word);
    }

    // Saved as UTF-8 lines ended by CR LF, read back to the same text; a file of the
    // Windows desks (Windows-1250, maybe without a final line end) reads too.
    void filterFiles()
    {
        const QString memo = QStringLiteral("WHERE tab_zakaznik.JMENO LIKE 'Žluťoučký%'\nAND tab_zakaznik.ZAKAZNIK>=1\n");
        const QByteArray bytes = FilterFileBytes(memo);
        QCOMPARE(bytes, QStringLiteral("WHERE tab_zakaznik.JMENO LIKE 'Žluťoučký%'\r\nAND tab_zakaznik.ZAKAZNIK>=1\r\n").toUtf8());
        QCOMPARE(FilterFileText(bytes), memo);
        // A memo without its final line break is saved with one.
        QCOMPARE(FilterFileBytes(QStringLiteral("WHERE 1=1")), QByteArray("WHERE 1=1\r\n"));

        const QByteArray old = *EncodeWindows1250(QStringLiteral("WHERE JMENO LIKE 'Řehoř%'\r\nAND OP='ČŠ'"));
        QCOMPARE(FilterFileText(old), QStringLiteral("WHERE JMENO LIKE 'Řehoř%'\nAND OP='ČŠ'\n"));
        QCOMPARE(FilterFileText(QByteArray()), QString());
    }

    // While the guard lives the connection only reads; afterwards it writes again, and
    // a refused statement inside does not leave the connection unusable.
    void readOnlyStatements_data() { AddEngineRows(); }
    void readOnlyStatements()
    {
        OPEN_TEST_DATABASE(database);
        QTest::failOnWarning(QRegularExpression(QStringLiteral("Unable to free statement")));
        {
            ReadOnlyStatements readOnly;
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, addCustomer(1, QStringLiteral("Novák")));
            SetCommand(QStringLiteral("SELECT COUNT(*) FROM tab_zakaznik"));
            QCOMPARE(ExecCommandValue().toInt(), 0);
        }
        addCustomer(1, QStringLiteral("Novák"));
        QCOMPARE(customerNames(), QStringList{QStringLiteral("Novák")});
    }

    // A text that reads is applied on the first row; the list keeps its order.
    void applyReads_data() { AddEngineRows(); }
    void applyReads()
    {
        OPEN_TEST_DATABASE(database);
        addCustomers();
        BrowseQuery list;
        list.setSql(CustomerListSql());
        list.open();
        list.last();
        QVERIFY(ApplyFreeFilter(list, CustomerSelect, QStringLiteral("WHERE JMENO LIKE 'Nov%'\nAND ZAKAZNIK>0\n"),
                                CustomerOrder));
        QCOMPARE(list.sqlText(), CustomerSelect + "WHERE JMENO LIKE 'Nov%'\nAND ZAKAZNIK>0\n" + CustomerOrder);
        QCOMPARE(keys(list), (QList<qint64>{1, 3}));
        QCOMPARE(list.currentRow(), 0);
        // The empty text removes the filter.
        QVERIFY(ApplyFreeFilter(list, CustomerSelect, QString(), CustomerOrder));
        QCOMPARE(keys(list), (QList<qint64>{1, 2, 3}));
        // The connection writes again afterwards.
        addCustomer(4, QStringLiteral("Zeman"));
    }

    // Second statements, writes, the users' passwords, the catalogues, other functions and
    // texts the server refuses change nothing and leave the list open without any filter;
    // the check's refusal is logged with the word it refused.
    void applyRefused_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("word"); // empty: the server refuses it
        const QList<std::pair<const char *, std::pair<QString, QString>>> texts = {
            {"second statement", {"WHERE 1=1;\nDELETE FROM tab_zakaznik\n", ";"}},
            {"statement after the order", {"WHERE 1=1\nORDER BY 1; UPDATE tab_zakaznik SET JMENO='x'\n", ";"}},
            {"write in a nested statement",
             {"WHERE ZAKAZNIK IN (WITH d AS (DELETE FROM tab_zakaznik RETURNING ZAKAZNIK) SELECT ZAKAZNIK FROM d)\n",
              "WITH"}},
            {"no WHERE", {"tab_zakaznik.ZAKAZNIK=1\n", ""}},
            {"unknown column", {"WHERE NENI=1\n", "NENI"}},
            {"rights by escaped texts",
             {"WHERE JMENO=E'\\''; COMMIT; BEGIN READ WRITE; UPDATE tab_uzivatel SET ADMIN=1, NASTAVENI=1 "
              "WHERE ID_UZIVATEL>1; COMMIT; SELECT ZAKAZNIK, JMENO FROM tab_zakaznik WHERE E'\\''=E'\\''\n",
              "E"}},
            {"delete by escaped texts",
             {"WHERE JMENO=E'\\''; COMMIT; BEGIN READ WRITE; DELETE FROM tab_zakaznik; COMMIT; "
              "SELECT ZAKAZNIK, JMENO FROM tab_zakaznik WHERE E'\\''=E'\\''\n",
              "E"}},
            {"delete by dollar quotes",
             {"WHERE JMENO=$$'$$; COMMIT; BEGIN READ WRITE; DELETE FROM tab_zakaznik; COMMIT; "
              "SELECT ZAKAZNIK FROM tab_zakaznik WHERE $$'$$=$$'$$\n",
              "$"}},
            {"delete by tagged dollar quotes",
             {"WHERE JMENO=$q$'$q$; COMMIT; BEGIN READ WRITE; DELETE FROM tab_zakaznik; COMMIT; "
              "SELECT ZAKAZNIK FROM tab_zakaznik WHERE $q$'$q$=$q$'$q$\n",
              "$"}},
            {"comment hiding the rest", {"WHERE 1=1 -- '\n; DELETE FROM tab_zakaznik --'\n", "--"}},
            {"block comment hiding the rest", {"WHERE 1=1 /* '; DELETE FROM tab_zakaznik; ' */\n", "/*"}},
            {"password letter by letter",
             {"WHERE EXISTS (SELECT 1 FROM tab_uzivatel WHERE UZIVATEL='sa' AND HESLO LIKE 'a%')\n", "tab_uzivatel"}},
            {"password column", {"WHERE JMENO IN (SELECT UZIVATEL FROM tab_pujcky WHERE HESLO LIKE 'a%')\n", "HESLO"}},
            {"password quoted", {"WHERE \"HESLO\" LIKE 'a%'\n", "HESLO"}},
            {"users listed",
             {"WHERE 1=0 UNION SELECT ZAKAZNIK, JMENO, TELEFON, ADRESA1, ADRESA2, RC, OP, REGISTRACE, OMEZENI, "
              "PUJCKY, TEXT FROM tab_zakaznik\n",
              "UNION"}},
            {"schema", {"WHERE EXISTS (SELECT 1 FROM public.tab_zakaznik)\n", "public"}},
            {"schema of a function", {"WHERE pg_catalog.upper(JMENO)='X'\n", "pg_catalog"}},
            {"schema of the embedded engine", {"WHERE EXISTS (SELECT 1 FROM main.sqlite_master)\n", "main"}},
            {"sessions", {"WHERE EXISTS (SELECT 1 FROM pg_stat_activity)\n", "pg_stat_activity"}},
            {"ending sessions", {"WHERE pg_terminate_backend(0)\n", "pg_terminate_backend"}},
            {"sleep", {"WHERE pg_sleep(0.1) IS NULL\n", "pg_sleep"}},
            {"catalogue", {"WHERE EXISTS (SELECT 1 FROM sqlite_master WHERE sql LIKE '%HESLO%')\n", "sqlite_master"}},
            {"pragma function", {"WHERE EXISTS (SELECT 1 FROM pragma_table_info('tab_uzivatel'))\n", "pragma_table_info"}},
            {"extension", {"WHERE load_extension('/tmp/neni.so') IS NULL\n", "load_extension"}},
            {"settings written", {"WHERE set_config('default_transaction_read_only','off',false)='off'\n", "set_config"}},
            {"settings read", {"WHERE current_setting('is_superuser')='on'\n", "current_setting"}},
            {"statement built at run time",
             {"WHERE query_to_xml('DELETE FROM tab_zakaznik RETURNING 1',false,false,'') IS NOT NULL\n", "query_to_xml"}},
            {"server's file", {"WHERE lo_import('/etc/passwd')>0\n", "lo_import"}},
            {"copy", {"WHERE ZAKAZNIK IN (COPY tab_zakaznik TO STDOUT)\n", "COPY"}},
            {"attach", {"WHERE 1=1; ATTACH DATABASE '/tmp/neni.db' AS x\n", ";"}},
            {"attach as a word", {"WHERE ZAKAZNIK=(ATTACH DATABASE '/tmp/neni.db' AS x)\n", "ATTACH"}},
            {"read-only switched off", {"WHERE 1=1; PRAGMA query_only=OFF; DELETE FROM tab_zakaznik\n", ";"}},
            {"sequence", {"WHERE nextval('tab_nosic_id_nosic_seq')>0\n", "nextval"}},
        };
        // The rows of one engine together: they share its database.
        for (const auto &[name, engine] : {std::pair{"sqlite", Engine::SQLite}, std::pair{"postgres", Engine::PostgreSQL}})
            for (const auto &[tag, row] : texts)
                QTest::newRow(qPrintable(QStringLiteral("%1-%2").arg(QLatin1String(name), tag)))
                    << engine << row.first << row.second;
    }
    void applyRefused()
    {
        QFETCH(QString, where);
        QFETCH(QString, word);
        OPEN_SHARED_TEST_DATABASE(m_shop);
        QTest::failOnWarning(QRegularExpression(QStringLiteral("Unable to free statement")));
        const auto sequence = [&] {
            if (engine != Engine::PostgreSQL)
                return 0;
            SetCommand(QStringLiteral("SELECT last_value FROM tab_nosic_id_nosic_seq"));
            return ExecCommandValue().toInt();
        };
        const int before = sequence();
        const QStringList rows = everyRow();
        TLog log;
        log.LogSave = false;
        SetMainLog(&log);
        const auto noLog = qScopeGuard([] { SetMainLog(nullptr); });
        BrowseQuery list;
        list.setSql(CustomerListSql());
        list.open();
        QCOMPARE(RefusedFilterWord(where), word);
        QVERIFY(!ApplyFreeFilter(list, CustomerSelect, where, CustomerOrder));
        QVERIFY(list.isOpen());
        QCOMPARE(list.sqlText(), CustomerSelect + CustomerOrder);
        QCOMPARE(keys(list), (QList<qint64>{1, 2, 3, 4, 5}));
        QCOMPARE(everyRow(), rows);
        QCOMPARE(sequence(), before);
        if (word.isEmpty())
            QCOMPARE(log.LogCount(), 0);
        else
            QVERIFY2(log.LogCount() == 1 && log.Lines().constLast().endsWith("Filtr [" + word + "] [Error]"),
                     qPrintable(log.Lines().join(u'\n')));
        addCustomer(6, QStringLiteral("Zeman")); // the connection writes again
        SetCommand(QStringLiteral("DELETE FROM tab_zakaznik WHERE ZAKAZNIK=6")); // the shop as it was, for the next row
        ExecCommand();
    }

    // Ordinary conditions run on both engines and give the rows they mean.
    void applyAccepted_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QList<qint64>>("rows");
        const QList<std::tuple<const char *, const char *, QString, QList<qint64>>> texts = {
            {"Czech letters", "customers", "WHERE JMENO='Dvořák'\n", {2}},
            {"like", "customers", "WHERE JMENO LIKE 'Čap%'\n", {3}},
            {"doubled quote", "customers", "WHERE tab_zakaznik.JMENO='O''Neil'\n", {4}},
            {"backslash", "customers", "WHERE JMENO='Back\\slash'\n", {5}},
            {"date", "customers", "WHERE REGISTRACE >= '2026-12-01'\n", {2, 3}},
            {"video out", "customers",
             "WHERE EXISTS (SELECT * FROM tab_pujckydetail where tab_zakaznik.ZAKAZNIK=tab_pujckydetail.ZAKAZNIK "
             "AND tab_pujckydetail.PUJCENA=1)\n",
             {1}},
            {"alias of a subselect's table", "customers",
             "WHERE ZAKAZNIK IN (SELECT d.ZAKAZNIK FROM tab_pujckydetail d WHERE d.PUJCENA=1)\n", {1}},
            {"functions", "customers",
             "WHERE UPPER(SUBSTR(JMENO,1,3))='NOV' AND LENGTH(TRIM(JMENO))>=5 AND COALESCE(TEXT,'')=''\n"
             "AND ABS(-ZAKAZNIK)=ROUND(ZAKAZNIK,0)\n",
             {1}},
            {"case and arithmetic", "customers",
             "WHERE CASE WHEN ZAKAZNIK % 2 = 0 THEN 'sudý' ELSE 'lichý' END = 'sudý' AND ZAKAZNIK*2-1 <> 7\n"
             "OR ZAKAZNIK BETWEEN 3 AND 3 OR JMENO || '!' = 'Novák!'\n",
             {1, 2, 3}},
            {"counted documents", "customers",
             "WHERE (SELECT COUNT(*) FROM tab_pujcky AS p WHERE p.ZAKAZNIK=tab_zakaznik.ZAKAZNIK) >= 2\n", {1}},
            {"join in a subselect", "customers",
             "WHERE EXISTS (SELECT 1 FROM tab_pujckydetail LEFT JOIN tab_video v ON v.VIDEO=tab_pujckydetail.VIDEO\n"
             "WHERE tab_pujckydetail.ZAKAZNIK=tab_zakaznik.ZAKAZNIK AND v.TITUL LIKE 'Pel%')\n",
             {1}},
            {"subselect as a table", "customers",
             "WHERE ZAKAZNIK IN (SELECT s.ZAKAZNIK FROM (SELECT ZAKAZNIK FROM tab_pujcky WHERE OPERACE=1) s)\n", {1, 3}},
            {"grouped", "customers",
             "WHERE ZAKAZNIK IN (SELECT ZAKAZNIK FROM tab_pujcky GROUP BY ZAKAZNIK HAVING MAX(DOKLAD)>MIN(DOKLAD))\n",
             {1}},
            {"lower-case words", "customers", "where zakaznik in (1, 3) and not jmeno is null\n", {1, 3}},
            {"genre", "videos", "WHERE tab_zamereni.ZAMERENI='Komedie'\n", {10}},
            {"medium and price", "videos", "WHERE tab_nosic.NOSIC='VHS' AND tab_video.CENA<100\n", {11}},
            {"price with halers", "videos", "WHERE tab_video.CENA=22.5\n", {10}},
            {"clerk's name", "journal", "WHERE tab_uzivatel.UZIVATEL='pokladni'\n", {2}},
            {"customer's name", "journal", "WHERE tab_zakaznik.JMENO LIKE 'Nov%'\nAND OPERACE=0\n", {3}},
        };
        for (const auto &[name, engine] : {std::pair{"sqlite", Engine::SQLite}, std::pair{"postgres", Engine::PostgreSQL}})
            for (const auto &[tag, list, where, rows] : texts)
                QTest::newRow(qPrintable(QStringLiteral("%1-%2").arg(QLatin1String(name), tag)))
                    << engine << QString::fromLatin1(list) << where << rows;
    }
    void applyAccepted()
    {
        QFETCH(QString, list);
        QFETCH(QString, where);
        QFETCH(QList<qint64>, rows);
        OPEN_SHARED_TEST_DATABASE(m_shop);
        QCOMPARE(RefusedFilterWord(where), QString());
        const ListParts parts = listParts(list);
        BrowseQuery query;
        query.setSql(parts.sql);
        QVERIFY(ApplyFreeFilter(query, parts.select, where, parts.order));
        QCOMPARE(keys(query), rows);
    }

    // Every WHERE part the pages' own filter panels build runs as the free filter and
    // gives the rows the panel gives.
    void pageFilters_data() { AddEngineRows(); }
    void pageFilters()
    {
        OPEN_TEST_DATABASE(database);
        addShop();
        const SqlDialect &dialect = CurrentServer()->dialect();
        const QDate from(2026, 11, 1), to(2026, 12, 31), run(2026, 12, 11);
        CustomerFilterInput customer{true, 1, 9, true, QStringLiteral("O'N"), true, 2, true, from, to, false, false, run};
        CustomerFilterInput lent;
        lent.lent = true;
        CustomerFilterInput overdue;
        overdue.overdue = true;
        overdue.runDate = run;
        VideoFilterInput video{true, 1, 99, true, QStringLiteral("Pelíš"), true, 2, true, 2, false, {}, {}, false, false, run};
        VideoFilterInput videoLent;
        videoLent.lent = true;
        videoLent.overdue = true;
        videoLent.runDate = run;
        VideoFilterInput registered;
        registered.registrationOn = true;
        registered.registrationFirst = QDate(2020, 1, 1);
        registered.registrationSecond = QDate::currentDate();
        LendsFilterInput journal;
        journal.operation = LendsOperation::Lend;
        journal.days = std::pair{QDate(2020, 1, 1), QDate::currentDate()};
        journal.documentsOn = true;
        journal.documentFirst = 1;
        journal.documentSecond = 5;
        journal.customersOn = true;
        journal.customerFirst = 1;
        journal.customerSecond = 3;
        journal.user = 2;
        const QList<std::pair<QString, QString>> filters = {
            {"customers", CustomerFilterWhere(customer, dialect)},
            {"customers", CustomerFilterWhere(lent, dialect)},
            {"customers", CustomerFilterWhere(overdue, dialect)},
            {"videos", VideoFilterWhere(video, dialect)},
            {"videos", VideoFilterWhere(videoLent, dialect)},
            {"videos", VideoFilterWhere(registered, dialect)},
            {"journal", LendsFilterWhere(journal)},
        };
        for (const auto &[list, where] : filters) {
            QCOMPARE(RefusedFilterWord(where), QString());
            const ListParts parts = listParts(list);
            BrowseQuery byPanel;
            byPanel.setSql(parts.sql);
            SetQueryWhere(byPanel, where);
            QVERIFY2(!byPanel.isEmpty(), qPrintable(where));
            BrowseQuery byFilter;
            byFilter.setSql(parts.sql);
            QVERIFY2(ApplyFreeFilter(byFilter, parts.select, where, parts.order), qPrintable(where));
            QCOMPARE(keys(byFilter), keys(byPanel));
        }
    }

    // A kept text is run again by the title sort, the refresh and the status-bar counts
    // of the customer, video and journal pages, each inside the read-only scope: a probe
    // of the scope lets every row through, a text that would write is refused each time
    // and changes nothing.
    void keptTextReruns_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("writes");
        QTest::newRow("sqlite-read-only") << Engine::SQLite
                                          << QStringLiteral("WHERE 1=(SELECT query_only FROM pragma_query_only)\n")
                                          << false;
        QTest::newRow("postgres-read-only")
            << Engine::PostgreSQL << QStringLiteral("WHERE current_setting('transaction_read_only')='on'\n") << false;
        QTest::newRow("postgres-sequence") << Engine::PostgreSQL
                                           << QStringLiteral("WHERE nextval('tab_nosic_id_nosic_seq')>0\n") << true;
    }
    void keptTextReruns()
    {
        QFETCH(Engine, engine);
        QFETCH(QString, kept);
        QFETCH(bool, writes);
        LoggedInDesk desk(engine, QStringLiteral("pokladni"));
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        addShop();
        TCustomerPage *customers = desk.window()->customerPage();
        TVideoPage *videos = desk.window()->videoPage();
        TLendsPage *journal = desk.window()->lendsPage();
        const auto sequence = [&] {
            return engine == Engine::PostgreSQL ? ValueOf(QStringLiteral("SELECT last_value FROM tab_nosic_id_nosic_seq"))
                                                : 0;
        };
        const qint64 before = sequence();
        const QStringList rows = everyRow();
        const auto keep = [&](BrowseQuery *query) {
            QString select, where, order;
            SplitSQL(query->sqlText(), select, where, order);
            query->close();
            query->setSqlText(select + kept + order);
        };
        for (BrowseQuery *query : {customers->ADOQueryCustomer, videos->ADOQueryVideo, journal->ADOQueryLends})
            keep(query);
        // Each re-run, and the rows it shows when the text only reads.
        const QList<std::tuple<const char *, std::function<void()>, std::function<bool()>>> reruns = {
            {"customer sort", [&] { RxDBGridTitleBtnClick(customers->RxDBGridCustomer, 1); },
             [&] { return customers->ADOQueryCustomer->recordCount() == 5; }},
            {"video sort", [&] { RxDBGridTitleBtnClick(videos->RxDBGridVideo, 1); },
             [&] { return videos->ADOQueryVideo->recordCount() == 2; }},
            {"refresh", [&] { desk.window()->SpeedButtonRefreshClick(); },
             [&] {
                 return customers->ADOQueryCustomer->recordCount() == 5 && videos->ADOQueryVideo->recordCount() == 2
                     && journal->ADOQueryLends->recordCount() == 3;
             }},
            {"customer count", [&] { customers->SetStatusBarCustomer(); },
             [&] { return customers->StatusText() == QStringLiteral(" Zákazníků: 5"); }},
            {"video count", [&] { videos->SetStatusBarVideo(); },
             [&] { return videos->StatusText() == QLatin1String(" Videa: 2"); }},
        };
        for (const auto &[what, rerun, shown] : reruns) {
            if (writes) {
                QVERIFY_THROWS_EXCEPTION(EDatabaseError, rerun());
            } else {
                rerun();
                QVERIFY2(shown(), qPrintable(QStringLiteral("%1: %2").arg(what, customers->StatusText())));
            }
        }
        QCOMPARE(sequence(), before);
        QCOMPARE(everyRow(), rows);
        Exec(QStringLiteral("UPDATE tab_zakaznik SET JMENO='Zeman' WHERE ZAKAZNIK=5")); // it writes again
    }

    // A server whose texts take backslash escapes (standard_conforming_strings off): the
    // program's connection reads a backslash as a letter all the same, as the check does.
    void backslashOnEveryServer()
    {
        OPEN_TEST_DATABASE_ON(database, Engine::PostgreSQL);
        addShop();
        QVERIFY(QSqlQuery(CurrentConnection())
                    .exec(QStringLiteral("ALTER DATABASE %1 SET standard_conforming_strings = off")
                              .arg(database.databaseName())));
        {
            QSqlDatabase plain = database.openOtherDesk(QStringLiteral("plain"));
            QSqlQuery q(plain);
            QVERIFY(q.exec(QStringLiteral("SHOW standard_conforming_strings")) && q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("off"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("plain"));
        QVERIFY(database.server()->open(QString::fromLatin1(SqlServer::ProgramDatabase), database.user(),
                                        database.password()));
        QCOMPARE(TestRows(QStringLiteral("SELECT current_setting('standard_conforming_strings')")), QStringList{QStringLiteral("on")});
        BrowseQuery list;
        list.setSql(CustomerListSql());
        QVERIFY(ApplyFreeFilter(list, CustomerSelect, QStringLiteral("WHERE JMENO='Back\\slash'\n"), CustomerOrder));
        QCOMPARE(keys(list), QList<qint64>{5});
    }

    // The dialog: the memo shows the WHERE part as the page built it; "Použít" applies
    // the edited text and refreshes the counts; a refused text warns and the list
    // shows every row; "Vymazat" empties the memo and applies nothing.
    void dialogApplies_data() { AddEngineRows(); }
    void dialogApplies()
    {
        OPEN_TEST_DATABASE(database);
        addCustomers();
        BrowseQuery list;
        list.setSql(CustomerListSql());
        list.setSqlText(CustomerSelect + "WHERE tab_zakaznik.ZAKAZNIK>=1\nAND tab_zakaznik.JMENO LIKE 'N%'\n"
                        + CustomerOrder);
        list.open();
        int counts = 0;
        TFormFilter filter(list, [&] { ++counts; });
        filter.show();
        QCOMPARE(filter.windowTitle(), QStringLiteral(" Filtr"));
        QCOMPARE(filter.SQLMemo->toPlainText(),
                 QStringLiteral("WHERE tab_zakaznik.ZAKAZNIK>=1\nAND tab_zakaznik.JMENO LIKE 'N%'\n"));

        filter.SQLMemo->setPlainText(QStringLiteral("WHERE tab_zakaznik.JMENO='Dvořák'\n"));
        QTest::mouseClick(filter.ButtonApply, Qt::LeftButton);
        QCOMPARE(keys(list), QList<qint64>{2});
        QCOMPARE(counts, 1);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

        {
            ModalAnswers answers({ClickButton(QStringLiteral("ButtonOk"))});
            filter.SQLMemo->setPlainText(QStringLiteral("WHERE 1=1;\nDELETE FROM tab_zakaznik\n"));
            QTest::mouseClick(filter.ButtonApply, Qt::LeftButton);
            QCOMPARE(answers.shown().size(), 1);
            QCOMPARE(answers.shown().at(0).caption, QStringLiteral(" Upozornění"));
            QCOMPARE(answers.shown().at(0).text, QStringLiteral("Chyba při filtrování databáze..."));
            QCOMPARE(answers.shown().at(0).detail, QStringLiteral("Specifikace není k dispozici"));
        }
        QCOMPARE(keys(list), (QList<qint64>{1, 2, 3}));
        QCOMPARE(counts, 2);
        QCOMPARE(filter.SQLMemo->toPlainText(), QStringLiteral("WHERE 1=1;\nDELETE FROM tab_zakaznik\n"));

        QTest::mouseClick(filter.ButtonClear, Qt::LeftButton);
        QVERIFY(filter.SQLMemo->toPlainText().isEmpty());
        QCOMPARE(counts, 2);

        // Tab leaves the memo for the buttons rather than typing a tab.
        filter.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&filter));
        filter.SQLMemo->setFocus();
        QTest::keyClick(filter.SQLMemo, Qt::Key_Tab);
        QVERIFY(filter.SQLMemo->toPlainText().isEmpty());
        QCOMPARE(QApplication::focusWidget(), filter.ButtonApply);
    }

    // A condition typed by the clerk ends without a line break; it still runs before the
    // list's ORDER BY, on the list as it opened and on the journal as the program has it.
    void dialogAppliesTyped_data() { AddEngineRows(); }
    void dialogAppliesTyped()
    {
        QFETCH(Engine, engine);
        LoggedInDesk desk(engine, QStringLiteral("sa"));
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        addShop();
        const QList<std::tuple<BrowseQuery *, QString, QList<qint64>>> lists = {
            {desk.window()->customerPage()->ADOQueryCustomer, QStringLiteral("WHERE tab_zakaznik.ZAKAZNIK<=2"),
             {1, 2}},
            {desk.window()->lendsPage()->ADOQueryLends, QStringLiteral("WHERE tab_pujcky.DOKLAD = 1"), {1}},
        };
        for (const auto &[query, typed, rows] : lists) {
            query->open();
            TFormFilter filter(*query, {});
            filter.show();
            filter.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&filter));
            filter.SQLMemo->selectAll();
            QTest::keyClicks(filter.SQLMemo, typed);
            QCOMPARE(filter.SQLMemo->toPlainText(), typed);
            ModalAnswers noWarning; // a warning would fail the test
            QTest::mouseClick(filter.ButtonApply, Qt::LeftButton);
            QCOMPARE(keys(*query), rows);
        }
    }

    // A clerk's text typed into the memo that reads a password: "Použít" warns, logs the
    // refused word, runs nothing and the list shows every row.
    void dialogRefusesTyped_data() { AddEngineRows(); }
    void dialogRefusesTyped()
    {
        OPEN_TEST_DATABASE(database);
        addShop();
        TLog log;
        log.LogSave = false;
        SetMainLog(&log);
        const auto noLog = qScopeGuard([] { SetMainLog(nullptr); });
        BrowseQuery list;
        list.setSql(CustomerListSql());
        list.open();
        const QStringList rows = everyRow();
        TFormFilter filter(list, {});
        filter.show();
        filter.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&filter));
        QTest::keyClicks(filter.SQLMemo, QStringLiteral("WHERE EXISTS (SELECT 1 FROM tab_pujcky"));
        QTest::keyClick(filter.SQLMemo, Qt::Key_Return);
        QTest::keyClicks(filter.SQLMemo, QStringLiteral("WHERE tab_uzivatel.HESLO LIKE 'a%')"));
        QCOMPARE(filter.SQLMemo->toPlainText(),
                 QStringLiteral("WHERE EXISTS (SELECT 1 FROM tab_pujcky\nWHERE tab_uzivatel.HESLO LIKE 'a%')"));
        {
            ModalAnswers answers({ClickButton(QStringLiteral("ButtonOk"))});
            QTest::mouseClick(filter.ButtonApply, Qt::LeftButton);
            QCOMPARE(answers.shown().size(), 1);
            QCOMPARE(answers.shown().at(0).text, QStringLiteral("Chyba při filtrování databáze..."));
        }
        QCOMPARE(keys(list), (QList<qint64>{1, 2, 3, 4, 5}));
        QCOMPARE(everyRow(), rows);
        QVERIFY2(log.LogCount() == 1 && log.Lines().constLast().endsWith(QLatin1String("Filtr [HESLO] [Error]")),
                 qPrintable(log.Lines().join(u'\n')));
    }

    // A filter saved from the customer list opens in the journal's dialog and is applied
    // to the journal; both dialogs start in the program's folder; a cancelled dialog
    // changes nothing; a file that cannot be read leaves the memo as it was.
    void dialogFiles_data() { AddEngineRows(); }
    void dialogFiles()
    {
        OPEN_TEST_DATABASE(database);
        SetProgramDir(database.scratchDir());
        BrowseQuery customers;
        customers.setSql(CustomerListSql());
        customers.open();
        const QString file = database.scratchDir() + "/Doklady.txt";
        const QString text = QStringLiteral("WHERE tab_pujcky.DOKLAD>=2\n");
        {
            TFormFilter filter(customers, {});
            filter.show();
            filter.SQLMemo->setPlainText(text);
            FileDialogSeen seen;
            ModalAnswers answers({ChooseFile(file, &seen)});
            QTest::mouseClick(filter.ButtonSave, Qt::LeftButton);
            QCOMPARE(seen.title, QStringLiteral("Uložit Filtr"));
            QCOMPARE(seen.proposed, QStringLiteral("*.txt"));
            QCOMPARE(filter.SaveDialog->directory().absolutePath(), database.scratchDir());
            QCOMPARE(filter.SaveDialog->nameFilters(), QStringList{QStringLiteral("Filtr (*.txt)")});
            QCOMPARE(ReadBytes(file), QByteArray("WHERE tab_pujcky.DOKLAD>=2\r\n"));
        }

        SetCommand(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL) VALUES (1,1,1,1)"));
        ExecCommand();
        SetCommand(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL) VALUES (2,1,1,1)"));
        ExecCommand();
        BrowseQuery lends;
        lends.setSql(LendsSql(CurrentServer()->dialect()));
        lends.open();
        TFormFilter filter(lends, {});
        filter.show();
        QVERIFY(filter.SQLMemo->toPlainText().isEmpty());
        {
            ModalAnswers answers({Reject()});
            QTest::mouseClick(filter.ButtonOpen, Qt::LeftButton);
            QVERIFY(filter.SQLMemo->toPlainText().isEmpty());
        }
        {
            FileDialogSeen seen;
            ModalAnswers answers({ChooseFile(file, &seen)});
            QTest::mouseClick(filter.ButtonOpen, Qt::LeftButton);
            QCOMPARE(seen.title, QStringLiteral("Otevřít Filtr"));
            QCOMPARE(filter.SQLMemo->toPlainText(), text);
        }
        QCOMPARE(keys(lends), (QList<qint64>{1, 2})); // nothing applied yet
        QTest::mouseClick(filter.ButtonApply, Qt::LeftButton);
        QCOMPARE(keys(lends), QList<qint64>{2});

        // A file that went away meanwhile: the error is reported, the memo stays.
        {
            ModalAnswers answers({ChooseFile(database.scratchDir() + "/Neni.txt"), Accept()});
            filter.OpenDialog->setFileMode(QFileDialog::AnyFile);
            QTest::mouseClick(filter.ButtonOpen, Qt::LeftButton);
            QCOMPARE(answers.shown().value(1).caption, QStringLiteral(" Upozornění"));
        }
        QCOMPARE(filter.SQLMemo->toPlainText(), text);
    }

private:
    SharedTestDatabase m_shop{addShop};
};

QTEST_MAIN(TestFilter)
#include "tst_filter.moc"
