#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/EmbeddedServer.h"
#include "core/database/Errors.h"
#include "core/database/MemoryTable.h"
#include "core/database/Money.h"
#include "core/database/SqlServer.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QDateTime>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace {

const QString CustomerList = QStringLiteral(
    "SELECT ZAKAZNIK, JMENO, RC, REGISTRACE, OMEZENI FROM tab_zakaznik\n"
    "ORDER BY tab_zakaznik.ZAKAZNIK\n");

void addCustomer(qint64 number, const QString &name, const QString &rc = QString())
{
    SetCommand(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO, RC, REGISTRACE, OMEZENI) "
                              "VALUES (:ZAKAZNIK, :JMENO, :RC, :REGISTRACE, :OMEZENI)"));
    SetCommandParam(QStringLiteral("ZAKAZNIK"), number);
    SetCommandParam(QStringLiteral("JMENO"), name);
    SetCommandParam(QStringLiteral("RC"), rc.isEmpty() ? QVariant() : QVariant(rc));
    SetCommandParam(QStringLiteral("REGISTRACE"), QDateTime(QDate(2024, 3, 1), QTime(9, 30)).addDays(number));
    SetCommandParam(QStringLiteral("OMEZENI"), 2);
    ExecCommand();
}

// Five customers in number order; the names test Czech case folding.
void addCustomers()
{
    addCustomer(1, QStringLiteral("Adam"), QStringLiteral("7001011234"));
    addCustomer(2, QStringLiteral("Čapek"), QStringLiteral("7102021234"));
    addCustomer(3, QStringLiteral("Chalupa"));
    addCustomer(4, QStringLiteral("čermák"), QStringLiteral("7304041234"));
    addCustomer(5, QStringLiteral("Adam"), QStringLiteral("7505051234"));
}

QList<qint64> keys(DataSet &ds)
{
    QList<qint64> out;
    const int keep = ds.currentRow();
    for (ds.first(); !ds.eof(); ds.next()) {
        out << ds.value(0).toLongLong();
        if (ds.currentRow() == ds.recordCount() - 1)
            break;
    }
    ds.moveTo(keep);
    return out;
}

// Customers 1 to count, "Zákazník <n>", in one transaction.
bool addNumberedCustomers(int count)
{
    QSqlDatabase db = CurrentConnection();
    if (!db.transaction())
        return false;
    for (int i = 1; i <= count; ++i)
        addCustomer(i, QStringLiteral("Zákazník %1").arg(i));
    return db.commit();
}

// A lend basket: its money fields and the calculated charge of a line.
void defineBasket(MemoryTable &t)
{
    t.addField(QStringLiteral("VIDEO"), FieldKind::Int64);
    t.addField(QStringLiteral("TITUL"), FieldKind::Text);
    t.addField(QStringLiteral("DNY"), FieldKind::Integer);
    t.addField(QStringLiteral("ZDARMA"), FieldKind::Boolean);
    t.addField(QStringLiteral("PUJCOVNE"), FieldKind::Money);
    t.addField(QStringLiteral("VRATIT"), FieldKind::DateTime);
    t.addField(QStringLiteral("PUJCOVNE_CELKEM"), FieldKind::Money, true);
    t.setCalcFields([](CalcRecord &r) {
        const int days = r.value(QStringLiteral("DNY")).toInt() - (r.value(QStringLiteral("ZDARMA")).toBool() ? 1 : 0);
        r.setValue(QStringLiteral("PUJCOVNE_CELKEM"),
                   QVariant::fromValue(r.value(QStringLiteral("PUJCOVNE")).value<Money>() * days));
    });
    t.open();
}

} // namespace

class TestDataSets : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splitSql_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("selectPart");
        QTest::addColumn<QString>("wherePart");
        QTest::addColumn<QString>("orderPart");
        QTest::newRow("neither") << "SELECT * FROM t\n" << "SELECT * FROM t\n" << "" << "";
        QTest::newRow("both") << "SELECT * FROM t\nWHERE A=1\nAND B=2\nORDER BY A\n"
                              << "SELECT * FROM t\n" << "WHERE A=1\nAND B=2\n" << "ORDER BY A\n";
        QTest::newRow("order only") << "SELECT * FROM t\nORDER BY t.A DESC\n" << "SELECT * FROM t\n" << ""
                                    << "ORDER BY t.A DESC\n";
        QTest::newRow("where only") << "SELECT * FROM t\nWHERE A=1\n" << "SELECT * FROM t\n" << "WHERE A=1\n" << "";
        QTest::newRow("lower-case nested where")
            << "SELECT (SELECT 1 FROM u where u.X=t.X) FROM t\nWHERE A=1\n"
            << "SELECT (SELECT 1 FROM u where u.X=t.X) FROM t\n" << "WHERE A=1\n" << "";
    }
    void splitSql()
    {
        QFETCH(QString, text);
        QFETCH(QString, selectPart);
        QFETCH(QString, wherePart);
        QFETCH(QString, orderPart);
        QString s = QStringLiteral("x"), w = QStringLiteral("x"), o = QStringLiteral("x");
        SplitSQL(text, s, w, o);
        QCOMPARE(s, selectPart);
        QCOMPARE(w, wherePart);
        QCOMPARE(o, orderPart);
        QCOMPARE(s + w + o, text);
    }

    void sqlLines()
    {
        BrowseQuery q;
        q.setSqlText(QStringLiteral("SELECT :A\nFROM t\n"));
        QCOMPARE(q.sql(), (QStringList{QStringLiteral("SELECT :A"), QStringLiteral("FROM t")}));
        q.setSql({QStringLiteral("SELECT :A"), QStringLiteral("FROM t WHERE B=:B")});
        QCOMPARE(q.sqlText(), QStringLiteral("SELECT :A\nFROM t WHERE B=:B\n"));
        QCOMPARE(q.parameterNames(), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q.setParameter(QStringLiteral("C"), 1));
        QCOMPARE(WhereOrAnd(QString()), QStringLiteral("WHERE "));
        QCOMPARE(WhereOrAnd(QStringLiteral("WHERE A=1\n")), QStringLiteral("AND "));
    }

    void values_data() { AddEngineRows(); }
    void values()
    {
        OPEN_TEST_DATABASE(database);
        addCustomer(7, QStringLiteral("Novák   "), QStringLiteral("8001011234"));
        SetCommand(QStringLiteral("INSERT INTO tab_nosic (NOSIC, DABING, PUJCOVNE, VRATNE, ZALOHA, VYCHOZI) "
                                  "VALUES ('BD', 1, :P, 0, :Z, 0)"));
        SetCommandParam(QStringLiteral("P"), QVariant::fromValue(Money::fromString(QStringLiteral("44.35"))));
        SetCommandParam(QStringLiteral("Z"), QVariant::fromValue(Money::fromString(QStringLiteral("1234.5"))));
        ExecCommand();

        BrowseQuery q;
        q.setSqlText(CustomerList);
        q.open();
        QCOMPARE(q.fieldNames(), (QStringList{"ZAKAZNIK", "JMENO", "RC", "REGISTRACE", "OMEZENI"}));
        QCOMPARE(q.fieldKind(0), FieldKind::Int64);
        QCOMPARE(q.fieldKind(1), FieldKind::Text);
        QCOMPARE(q.fieldKind(3), FieldKind::DateTime);
        QCOMPARE(q.fieldKind(4), FieldKind::Integer);
        QCOMPARE(q.value(QStringLiteral("zakaznik")).toLongLong(), 7);
        QCOMPARE(q.value(1).toString(), QStringLiteral("Novák"));
        QCOMPARE(q.value(3).toDateTime(), QDateTime(QDate(2024, 3, 8), QTime(9, 30)));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q.value(QStringLiteral("NENI")));
        q.setDisplayFormat(QStringLiteral("ZAKAZNIK"), QStringLiteral("0000000000000"));
        q.setDisplayFormat(QStringLiteral("REGISTRACE"), QStringLiteral("dd.MM.yyyy hh:mm"));
        q.setDisplayLabel(QStringLiteral("JMENO"), QStringLiteral("Jméno"));
        QCOMPARE(q.data(q.index(0, 0)).toString(), QStringLiteral("0000000000007"));
        QCOMPARE(q.data(q.index(0, 3)).toString(), QStringLiteral("08.03.2024 09:30"));
        QCOMPARE(q.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Jméno"));

        // Money exact from both drivers; a bit declared Boolean by the page.
        BrowseQuery m;
        m.setSqlText(QStringLiteral("SELECT ID_NOSIC, NOSIC, DABING, PUJCOVNE, ZALOHA FROM tab_nosic\n"
                                    "WHERE NOSIC='BD'\n"));
        m.setFieldKind(QStringLiteral("DABING"), FieldKind::Boolean);
        m.setDisplayFormat(QStringLiteral("ZALOHA"), QStringLiteral(",0.00"));
        m.open();
        QCOMPARE(m.fieldKind(3), FieldKind::Money);
        QCOMPARE(m.value(3).value<Money>(), Money::fromString(QStringLiteral("44.35")));
        QCOMPARE(m.value(QStringLiteral("DABING")), QVariant(true));
        QCOMPARE(m.data(m.index(0, 2), Qt::CheckStateRole).toInt(), int(Qt::Checked));
        // With texts for true and false it is shown as text, not as a check box.
        m.setDisplayFormat(QStringLiteral("DABING"), QStringLiteral("->;<-"));
        QCOMPARE(m.data(m.index(0, 2)).toString(), QStringLiteral("->"));
        QVERIFY(!m.data(m.index(0, 2), Qt::CheckStateRole).isValid());
        m.setDisplayFormat(QStringLiteral("DABING"), QStringLiteral("$;-"));
        QCOMPARE(m.displayText(0, 2), QStringLiteral("$"));
        QCOMPARE(m.data(m.index(0, 4)).toString(), QStringLiteral("1\u00A0234,50"));
        // A quotient with more decimals than money keeps comes to the ten-thousandth.
        BrowseQuery share;
        share.setSqlText(QStringLiteral("SELECT PUJCOVNE/3 AS TRETINA FROM tab_nosic WHERE NOSIC='BD'\n"));
        share.setFieldKind(QStringLiteral("TRETINA"), FieldKind::Money);
        share.open();
        QCOMPARE(share.value(0).value<Money>(), Money::fromString(QStringLiteral("14.7833")));

        // A parameter bound to the statement; an SQL error leaves the query closed.
        BrowseQuery p;
        p.setSqlText(QStringLiteral("SELECT ZAKAZNIK FROM tab_zakaznik WHERE ZAKAZNIK=:ZAKAZNIK\n"));
        p.setParameter(QStringLiteral("ZAKAZNIK"), qint64(7));
        p.open();
        QCOMPARE(p.recordCount(), 1);
        p.setSqlText(QStringLiteral("SELECT NIC FROM tab_neni\n"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, p.open());
        QVERIFY(!p.isOpen());
    }

    void setQueryWhere_data() { AddEngineRows(); }
    void setQueryWhere()
    {
        OPEN_TEST_DATABASE(database);
        addCustomers();
        BrowseQuery q;

        // Closed: opened, nothing located; the WHERE goes before the ORDER BY.
        q.setSqlText(CustomerList);
        SetQueryWhere(q, QStringLiteral("WHERE JMENO='Adam'\n"));
        QVERIFY(q.isOpen());
        QCOMPARE(q.sqlText(), QStringLiteral("SELECT ZAKAZNIK, JMENO, RC, REGISTRACE, OMEZENI FROM tab_zakaznik\n"
                                             "WHERE JMENO='Adam'\nORDER BY tab_zakaznik.ZAKAZNIK\n"));
        QCOMPARE(keys(q), (QList<qint64>{1, 5}));
        QCOMPARE(q.currentRow(), 0);

        // The current row is kept; an empty WHERE removes the filter and keeps the order.
        q.last();
        SetQueryWhere(q, QString());
        QCOMPARE(q.sqlText(), CustomerList);
        QCOMPARE(keys(q), (QList<qint64>{1, 2, 3, 4, 5}));
        QCOMPARE(q.value(0).toLongLong(), 5);

        // Open but empty: the key kept is null and the next filter stays on its first row.
        SetQueryWhere(q, QStringLiteral("WHERE ZAKAZNIK>100\n"));
        QVERIFY(q.isEmpty());
        SetQueryWhere(q, QStringLiteral("WHERE ZAKAZNIK>2\n"));
        QCOMPARE(q.value(0).toLongLong(), 3);

        // A text with neither part gets the WHERE at its end.
        BrowseQuery plain;
        plain.setSqlText(QStringLiteral("SELECT ZAKAZNIK FROM tab_zakaznik\n"));
        plain.open();
        SetQueryWhere(plain, QStringLiteral("WHERE ZAKAZNIK=4\n"));
        QCOMPARE(plain.sqlText(), QStringLiteral("SELECT ZAKAZNIK FROM tab_zakaznik\nWHERE ZAKAZNIK=4\n"));
        QCOMPARE(plain.recordCount(), 1);

        // A refused filter: the error reaches the caller, the query stays closed with
        // its new text and the cursor is the default again.
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, SetQueryWhere(q, QStringLiteral("WHERE NENI=1\n")));
        QVERIFY(!q.isOpen());
        QVERIFY(q.sqlText().contains(QLatin1String("WHERE NENI=1\n")));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void requeryLocate_data() { AddEngineRows(); }
    void requeryLocate()
    {
        OPEN_TEST_DATABASE(database);
        BrowseQuery q;
        q.setSqlText(CustomerList);
        q.open();
        // Null on an empty data set: still empty, no error.
        RequeryLocate(q, QVariant());
        QVERIFY(q.isEmpty());
        QCOMPARE(q.currentRow(), -1);

        addCustomers();
        RequeryLocate(q, QVariant(qint64(4)));
        QCOMPARE(q.value(0).toLongLong(), 4);
        addCustomer(0, QStringLiteral("Nula"));
        RequeryLocate(q, QVariant()); // stays on its customer although he moved down a row
        QCOMPARE(q.value(0).toLongLong(), 4);
        QCOMPARE(q.currentRow(), 4);
        RequeryLocate(q, QVariant(qint64(99)));
        QCOMPARE(q.currentRow(), 0);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void priorKeyAndSignals_data() { AddEngineRows(); }
    void priorKeyAndSignals()
    {
        OPEN_TEST_DATABASE(database);
        addCustomers();
        BrowseQuery q;
        q.setSqlText(CustomerList);
        QSignalSpy spy(&q, &DataSet::currentRowChanged);
        q.open();
        QCOMPARE(spy.count(), 1);
        QVERIFY(q.bof() && !q.eof());

        // On the first row GetPriorKey gives its own key; elsewhere the row before's.
        QCOMPARE(GetPriorKey(q).toLongLong(), 1);
        q.moveTo(3);
        spy.clear();
        QCOMPARE(GetPriorKey(q).toLongLong(), 3);
        QCOMPARE(q.value(0).toLongLong(), 4);
        QCOMPARE(spy.count(), 0); // the controls never saw the look back

        q.next();
        QCOMPARE(spy.count(), 1);
        q.next(); // already the last row
        QVERIFY(q.eof());
        QCOMPARE(spy.count(), 1);
        q.disableControls();
        q.first();
        q.next();
        q.enableControls();
        QCOMPARE(spy.count(), 2); // one signal for the row that ends up current
        q.requery();
        QCOMPARE(spy.count(), 3);
        q.close();
        QCOMPARE(spy.count(), 4);
        QCOMPARE(q.currentRow(), -1);
    }

    void locates_data() { AddEngineRows(); }
    void locates()
    {
        OPEN_TEST_DATABASE(database);
        addCustomers();
        BrowseQuery q;
        q.setSqlText(CustomerList);
        q.open();
        q.moveTo(2);
        // Empty texts give false without moving.
        QVERIFY(!LocateExact(q, QStringLiteral("JMENO"), QString()));
        QVERIFY(!LocatePartial(q, QStringLiteral("JMENO"), QString()));
        QVERIFY(!LocateValues(q, QStringLiteral("JMENO;RC"), {QStringLiteral("Chalupa"), QString()}));
        QCOMPARE(q.currentRow(), 2);

        struct Case {
            const char *name;
            int kind; // 0 exact, 1 partial
            QString text;
            bool found;
            qint64 key;
        };
        const Case cases[] = {
            {"exact name", 0, QStringLiteral("Adam"), true, 1},
            {"exact is case-sensitive", 0, QStringLiteral("čapek"), false, 0},
            {"exact ignores trailing blanks", 0, QStringLiteral("Chalupa  "), true, 3},
            {"partial folds Czech", 1, QStringLiteral("čAP"), true, 2},
            {"partial upper Č", 1, QStringLiteral("ČER"), true, 4},
            {"partial ch", 1, QStringLiteral("ch"), true, 3},
            {"partial nothing", 1, QStringLiteral("Zz"), false, 0},
        };
        for (const Case &c : cases) {
            q.moveTo(4);
            const bool found = c.kind == 0 ? LocateExact(q, QStringLiteral("JMENO"), c.text)
                                           : LocatePartial(q, QStringLiteral("JMENO"), c.text);
            QVERIFY2(found == c.found, c.name);
            QVERIFY2(q.value(0).toLongLong() == (c.found ? c.key : 5), c.name);
        }
        // A number typed as text finds its key; a text that is no number finds nothing.
        QVERIFY(LocateExact(q, QStringLiteral("ZAKAZNIK"), QStringLiteral("0000000000003")));
        QCOMPARE(q.currentRow(), 2);
        QVERIFY(!LocateExact(q, QStringLiteral("ZAKAZNIK"), QStringLiteral("tři")));
        // Name and birth number together pick the second Adam.
        QVERIFY(LocateValues(q, QStringLiteral("JMENO;RC"), {QStringLiteral("Adam"), QStringLiteral("7505051234")}));
        QCOMPARE(q.value(0).toLongLong(), 5);
    }

    void bookmarks_data() { AddEngineRows(); }
    void bookmarks()
    {
        OPEN_TEST_DATABASE(database);
        addCustomers();
        BrowseQuery q;
        q.setSqlText(CustomerList);
        q.open();
        q.moveTo(3);
        const DataSet::Bookmark b = q.bookmark();
        q.first();
        QVERIFY(q.bookmarkValid(b));
        QVERIFY(q.gotoBookmark(b));
        QCOMPARE(q.value(0).toLongLong(), 4);
        q.requery(); // new rows: the old bookmark names none of them
        QVERIFY(!q.bookmarkValid(b));
        QVERIFY(!q.gotoBookmark(b));
        QCOMPARE(q.currentRow(), 0);
        q.freeBookmark(b);

        MemoryTable t;
        defineBasket(t);
        for (int v = 1; v <= 3; ++v)
            t.append({{QStringLiteral("VIDEO"), v}});
        t.moveTo(1);
        const DataSet::Bookmark mb = t.bookmark();
        t.moveTo(0);
        t.deleteRecord(); // the bookmarked row moves up but stays valid
        QVERIFY(t.gotoBookmark(mb));
        QCOMPARE(t.value(0).toLongLong(), 2);
        t.deleteRecord();
        QVERIFY(!t.bookmarkValid(mb));
        t.freeBookmark(mb);
    }

    void lazyRows_data() { AddEngineRows(); }
    void lazyRows()
    {
        OPEN_TEST_DATABASE(database);
        QSqlDatabase db = CurrentConnection();
        QVERIFY(db.transaction());
        for (int i = 1; i <= 1000; ++i)
            addCustomer(i, QStringLiteral("Zákazník %1").arg(i));
        QVERIFY(db.commit());
        QCOMPARE(TableHasRecords(QStringLiteral("tab_zakaznik")), true);
        QCOMPARE(TableHasRecords(QStringLiteral("tab_pujcky")), false);

        BrowseQuery q;
        q.setFetchBlock(100);
        q.setSqlText(CustomerList);
        q.open();
        QVERIFY(DataSetHasRecords(q));
        QCOMPARE(q.recordCount(), 1000);
        QCOMPARE(q.rowCount(), 100);
        QVERIFY(q.canFetchMore(QModelIndex()));
        QSignalSpy inserted(&q, &QAbstractItemModel::rowsInserted);
        QVERIFY(LocateExact(q, QStringLiteral("ZAKAZNIK"), QStringLiteral("1000")));
        QCOMPARE(q.currentRow(), 999);
        QCOMPARE(q.rowCount(), 1000);
        QVERIFY(!q.canFetchMore(QModelIndex()));
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(q.data(q.index(999, 1)).toString(), QStringLiteral("Zákazník 1000"));
        // A requery with the same fields shows the first block again.
        q.requery();
        QCOMPARE(q.rowCount(), 100);
        q.fetchMore(QModelIndex());
        QCOMPARE(q.rowCount(), 200);
    }

    // An open list leaves nothing running on the connection: a second desk's commit
    // and then this desk's own transaction both go through, and a requery shows them.
    void writesWhileListOpen_data() { AddEngineRows(); }
    void writesWhileListOpen()
    {
        OPEN_TEST_DATABASE(database);
        QVERIFY(addNumberedCustomers(600));
        QSqlDatabase db = CurrentConnection();
        BrowseQuery q;
        q.setFetchBlock(100);
        q.setSqlText(CustomerList);
        q.open();
        QCOMPARE(q.rowCount(), 100);
        QCOMPARE(q.value(4).toInt(), 2);
        {
            QSqlDatabase desk = QSqlDatabase::cloneDatabase(db, QStringLiteral("desk2"));
            QVERIFY2(desk.open(), qPrintable(desk.lastError().text()));
            if (desk.driverName() == QLatin1String("QSQLITE")) // as the program prepares a desk's
                EmbeddedServer::prepareConnection(desk);
            QSqlQuery other(desk);
            QVERIFY(desk.transaction());
            QVERIFY2(other.exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO, OMEZENI) "
                                               "VALUES (700, 'Druhý pult', 2)")),
                     qPrintable(other.lastError().text()));
            QVERIFY2(desk.commit(), qPrintable(desk.lastError().text()));
            other.finish();
            desk.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("desk2"));

        QVERIFY(db.transaction());
        addCustomer(701, QStringLiteral("Tento pult"));
        QVERIFY2(db.commit(), qPrintable(db.lastError().text()));
        QCOMPARE(q.recordCount(), 600);
        RequeryLocate(q, QVariant(qint64(701)));
        QCOMPARE(q.recordCount(), 602);
        QCOMPARE(q.value(1).toString(), QStringLiteral("Tento pult"));
        QVERIFY(LocateExact(q, QStringLiteral("JMENO"), QStringLiteral("Druhý pult")));
        QCOMPARE(q.currentRow(), 600);

        // A kind declared after the cells were read applies to them too.
        q.setFieldKind(QStringLiteral("OMEZENI"), FieldKind::Boolean);
        QCOMPARE(q.value(QStringLiteral("OMEZENI")), QVariant(true));
        QCOMPARE(q.data(q.index(0, 4), Qt::CheckStateRole).toInt(), int(Qt::Checked));
    }

    // An expression whose rows give nulls, then a padded text, then numbers (SQLite
    // types each value on its own): typed by its first value, every cell read as it
    // came, and read the same after a requery refills the same column.
    void mixedKindsInColumn()
    {
        OPEN_TEST_DATABASE_ON(database, Engine::SQLite);
        addCustomers();
        BrowseQuery q;
        q.setSqlText(QStringLiteral("SELECT ZAKAZNIK,\n"
                                    "CASE WHEN ZAKAZNIK<3 THEN NULL WHEN ZAKAZNIK=3 THEN 'tři  ' ELSE ZAKAZNIK*1.5 END AS X\n"
                                    "FROM tab_zakaznik\nORDER BY tab_zakaznik.ZAKAZNIK\n"));
        const QVariantList expected{QVariant(QMetaType::fromType<QString>()), QVariant(QMetaType::fromType<QString>()),
                                    QStringLiteral("tři"), QStringLiteral("6"), QStringLiteral("7.5")};
        for (int round = 0; round < 2; ++round) {
            q.requery();
            QCOMPARE(q.fieldKind(1), FieldKind::Text);
            QVariantList values;
            for (int row = 0; row < q.recordCount(); ++row)
                values << q.valueAt(row, 1);
            QCOMPARE(values, expected);
            QVERIFY(values[0].isNull());
        }
    }

    // A statement that fails after some of its rows: refused whole, the query closed.
    void failedRead_data() { AddEngineRows(); }
    void failedRead()
    {
        OPEN_TEST_DATABASE(database);
        addCustomers();
        BrowseQuery q;
        q.setSqlText(QStringLiteral("SELECT ZAKAZNIK,\n"
                                    "CASE WHEN ZAKAZNIK=3 THEN abs(ZAKAZNIK-9223372036854775807-4) ELSE 0 END AS X\n"
                                    "FROM tab_zakaznik\nORDER BY tab_zakaznik.ZAKAZNIK\n"));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, q.open());
        QVERIFY(!q.isOpen());
        QCOMPARE(q.recordCount(), 0);
    }

    // A list's text that carries a second statement, however it reached the list, never
    // runs it: the text is refused and nothing is changed. A semicolon inside a text in
    // apostrophes or closing the statement is no second statement.
    void secondStatementRefused_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("refused");
        const QList<std::tuple<const char *, QString, bool>> texts = {
            {"after the statement", "SELECT ZAKAZNIK FROM tab_zakaznik; DELETE FROM tab_zakaznik", true},
            {"after a quoted semicolon", "SELECT ZAKAZNIK FROM tab_zakaznik WHERE JMENO<>';'; DELETE FROM tab_zakaznik",
             true},
            {"behind an escaped quote",
             "SELECT ZAKAZNIK FROM tab_zakaznik WHERE JMENO=E'\\''; DELETE FROM tab_zakaznik; SELECT E'\\''", true},
            {"behind a dollar quote",
             "SELECT ZAKAZNIK FROM tab_zakaznik WHERE JMENO<>$$'$$; DELETE FROM tab_zakaznik; SELECT ';'", true},
            {"behind a comment", "SELECT ZAKAZNIK FROM tab_zakaznik -- '\n; DELETE FROM tab_zakaznik; SELECT ';'",
             true},
            {"in a quoted text", "SELECT ZAKAZNIK FROM tab_zakaznik WHERE JMENO<>'a;''b' ORDER BY ZAKAZNIK", false},
            {"closing the statement", "SELECT ZAKAZNIK FROM tab_zakaznik ORDER BY ZAKAZNIK;\n", false},
        };
        for (const auto &[engineName, engine] : {std::pair{"sqlite", Engine::SQLite}, std::pair{"postgres", Engine::PostgreSQL}})
            for (const auto &[name, text, refused] : texts)
                QTest::addRow("%s: %s", engineName, name) << engine << text << refused;
    }
    void secondStatementRefused()
    {
        QFETCH(QString, text);
        QFETCH(bool, refused);
        OPEN_TEST_DATABASE(database);
        addCustomers();
        BrowseQuery q;
        q.setSqlText(text);
        if (refused) {
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, q.open());
            QVERIFY(!q.isOpen());
        } else {
            q.open();
            QCOMPARE(keys(q), (QList<qint64>{1, 2, 3, 4, 5}));
        }
        SetCommand(QStringLiteral("SELECT COUNT(*) FROM tab_zakaznik"));
        QCOMPARE(ExecCommandValue().toInt(), 5);
    }

    void memoryTable()
    {
        MemoryTable t;
        defineBasket(t);
        t.append({{QStringLiteral("VIDEO"), QStringLiteral("12")},
                  {QStringLiteral("TITUL"), QStringLiteral("Hrad")},
                  {QStringLiteral("DNY"), 3},
                  {QStringLiteral("PUJCOVNE"), QStringLiteral("12.50")},
                  {QStringLiteral("VRATIT"), QDate(2024, 5, 2)}});
        QCOMPARE(t.value(QStringLiteral("VIDEO")), QVariant(qint64(12)));
        QCOMPARE(t.value(QStringLiteral("PUJCOVNE_CELKEM")).value<Money>(), Money::fromString(QStringLiteral("37.5")));
        QCOMPARE(t.value(QStringLiteral("VRATIT")).toDateTime(), QDateTime(QDate(2024, 5, 2), QTime(0, 0)));
        t.setFieldValue(QStringLiteral("ZDARMA"), true); // one day free: the charge follows
        QCOMPARE(t.value(QStringLiteral("PUJCOVNE_CELKEM")).value<Money>(), Money::fromCrowns(25));

        // Values of the wrong kind, unknown and calculated fields are refused whole.
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.edit({{QStringLiteral("DNY"), 5}, {QStringLiteral("PUJCOVNE"), QStringLiteral("12,50")}}));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.append({{QStringLiteral("NENI"), 1}}));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.setFieldValue(QStringLiteral("PUJCOVNE_CELKEM"), 1));
        QCOMPARE(t.value(QStringLiteral("DNY")).toInt(), 3);
        QCOMPARE(t.recordCount(), 1);

        // Czech order, ignoring case: "ch" after "h", accented letters in place.
        const QStringList titles{QStringLiteral("chata"), QStringLiteral("Zámek"), QStringLiteral("čaj"),
                                 QStringLiteral("Cesta"), QStringLiteral("ábel"), QStringLiteral("Hrad 2")};
        for (int i = 0; i < titles.size(); ++i)
            t.append({{QStringLiteral("VIDEO"), 20 + i}, {QStringLiteral("TITUL"), titles[i]},
                      {QStringLiteral("DNY"), i}, {QStringLiteral("PUJCOVNE"), 10}});
        LocateExact(t, QStringLiteral("TITUL"), QStringLiteral("čaj"));
        QSignalSpy layout(&t, &QAbstractItemModel::layoutChanged);
        t.setSortText(QStringLiteral("_TITUL"));
        t.sortOnFields(QStringLiteral("TITUL"));
        QCOMPARE(layout.count(), 1);
        auto column = [&t](int field) {
            QStringList out;
            for (int r = 0; r < t.recordCount(); ++r)
                out << t.valueAt(r, field).toString();
            return out;
        };
        QCOMPARE(column(1), (QStringList{"ábel", "Cesta", "čaj", "Hrad", "Hrad 2", "chata", "Zámek"}));
        QCOMPARE(t.value(QStringLiteral("TITUL")).toString(), QStringLiteral("čaj")); // still current
        QCOMPARE(t.sortText(), QStringLiteral("_TITUL"));
        t.sortOnFields(QStringLiteral("TITUL"), true, true);
        QCOMPARE(column(1), (QStringList{"Zámek", "chata", "Hrad 2", "Hrad", "čaj", "Cesta", "ábel"}));
        t.sortOnFields(QStringLiteral("PUJCOVNE_CELKEM"));
        QCOMPARE(t.valueAt(0, 1).toString(), QStringLiteral("chata")); // 0 days: nothing to pay

        t.emptyTable();
        QVERIFY(t.isEmpty());
        QVERIFY(t.bof() && t.eof());
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, t.deleteRecord());
    }
};

QTEST_MAIN(TestDataSets)
#include "tst_datasets.moc"
