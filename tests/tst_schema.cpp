#include "catalogue/CustomerStore.h"
#include "catalogue/VideoStore.h"
#include "core/database/Commands.h"
#include "core/database/Errors.h"
#include "core/Grids.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <optional>

namespace {

struct Column {
    QString name;
    bool notNull;
    QString defaultValue; // "" none, "now" the current time, else the literal
};

// What every column of the seven tables must be: order, null rule, default.
const QList<QPair<QString, QList<Column>>> &expectedTables()
{
    static const QList<QPair<QString, QList<Column>>> tables{
        {"tab_zakaznik",
         {{"ZAKAZNIK", true, ""}, {"JMENO", false, ""}, {"TELEFON", false, ""}, {"ADRESA1", false, ""},
          {"ADRESA2", false, ""}, {"RC", false, ""}, {"OP", false, ""}, {"REGISTRACE", false, "now"},
          {"OMEZENI", false, ""}, {"PUJCKY", true, "0"}, {"TEXT", false, ""}}},
        {"tab_zamereni", {{"ID_ZAMERENI", true, ""}, {"ZAMERENI", false, ""}, {"VYCHOZI", false, ""}}},
        {"tab_nosic",
         {{"ID_NOSIC", true, ""}, {"NOSIC", false, ""}, {"DABING", false, ""}, {"PUJCOVNE", false, ""},
          {"VRATNE", false, ""}, {"ZALOHA", false, ""}, {"VYCHOZI", false, ""}}},
        {"tab_video",
         {{"VIDEO", true, ""}, {"TITUL", false, ""}, {"ZAMERENI", true, ""}, {"NOSIC", true, ""},
          {"CENA", false, ""}, {"REGISTRACE", false, "now"}, {"VYPUJCENA", true, "0"}}},
        {"tab_uzivatel",
         {{"ID_UZIVATEL", true, ""}, {"UZIVATEL", false, ""}, {"HESLO", false, ""},
          {"ZAKAZNIK_EDITACE", false, "1"}, {"ZAKAZNIK_HISTORIE", false, "0"},
          {"ZAKAZNIK_ODEBRAT", false, "0"}, {"VIDEO_EDITACE", false, "1"}, {"VIDEO_HISTORIE", false, "0"},
          {"VIDEO_ODEBRAT", false, "0"}, {"NASTAVENI", false, "0"}, {"SPECIAL", false, "0"},
          {"ADMIN", false, "0"}}},
        {"tab_pujcky",
         {{"DOKLAD", true, ""}, {"OPERACE", false, ""}, {"CAS", false, "now"}, {"ZAKAZNIK", true, ""},
          {"UZIVATEL", true, ""}}},
        {"tab_pujckydetail",
         {{"DOKLAD_PUJ", true, ""}, {"DOKLAD_VRA", false, ""}, {"VIDEO", true, ""}, {"ZAKAZNIK", true, ""},
          {"PUJCENA", false, "1"}, {"HISTORIE", false, "1"}, {"DOKLAD", false, "1"}, {"ZDARMA", false, ""},
          {"PUJCOVNE", false, ""}, {"VRATNE", false, ""}, {"ZALOHA", false, ""}, {"PUJCENO", false, "now"},
          {"VRATIT", false, ""}, {"DNY", false, ""}, {"VRACENO", false, ""}, {"PRES", false, ""}}},
    };
    return tables;
}

struct ActualColumn {
    QString name;
    bool notNull;
    QString defaultText;
};

QList<ActualColumn> actualColumns(Engine engine, const QString &table)
{
    QList<ActualColumn> columns;
    QSqlQuery q(CurrentConnection());
    if (engine == Engine::SQLite) {
        q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table));
        while (q.next())
            columns << ActualColumn{q.value(1).toString(), q.value(3).toInt() != 0,
                                    q.value(4).toString()};
    } else {
        q.prepare(QStringLiteral("SELECT upper(column_name), is_nullable, COALESCE(column_default,'') "
                                 "FROM information_schema.columns WHERE table_name=:T ORDER BY ordinal_position"));
        q.bindValue(QStringLiteral(":T"), table);
        q.exec();
        while (q.next())
            columns << ActualColumn{q.value(0).toString(), q.value(1).toString() == QLatin1String("NO"),
                                    q.value(2).toString()};
    }
    return columns;
}

// Runs a statement that must be refused; leaves no trace of it.
bool refused(const QString &sql)
{
    try {
        SetCommand(sql);
        ExecCommand();
        return false;
    } catch (const EDatabaseError &) {
        return true;
    }
}

// The program's indexes on the customers' names and the videos' titles that the
// database holds, their names in upper case.
QStringList sortIndexes(Engine engine)
{
    QSqlQuery q(CurrentConnection());
    q.exec(engine == Engine::SQLite
               ? QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' "
                                "AND name IN ('index_JMENO','index_TITUL') ORDER BY name")
               : QStringLiteral("SELECT indexname FROM pg_indexes "
                                "WHERE indexname IN ('index_jmeno','index_titul') ORDER BY indexname"));
    QStringList names;
    while (q.next())
        names << q.value(0).toString().toUpper();
    return names;
}

// The lines of the engine's plan for a statement.
QStringList planOf(Engine engine, const QString &text)
{
    QSqlQuery q(CurrentConnection());
    if (!q.exec((engine == Engine::SQLite ? QStringLiteral("EXPLAIN QUERY PLAN ") : QStringLiteral("EXPLAIN "))
                + text))
        return {q.lastError().text()};
    QStringList lines;
    while (q.next())
        lines << q.value(engine == Engine::SQLite ? 3 : 0).toString().trimmed();
    return lines;
}

// What the engine reports as the statement that made the index `name`.
QString indexDefinition(Engine engine, const QString &name)
{
    QSqlQuery q(CurrentConnection());
    q.prepare(engine == Engine::SQLite ? QStringLiteral("SELECT sql FROM sqlite_master WHERE type='index' AND name=:NAME")
                                       : QStringLiteral("SELECT indexdef FROM pg_indexes WHERE indexname=lower(:NAME)"));
    q.bindValue(QStringLiteral(":NAME"), name);
    return q.exec() && q.next() ? q.value(0).toString() : q.lastError().text();
}

// What changes whenever an index of the database is made again: the schema's version
// counter on SQLite, each index's object number on PostgreSQL.
QStringList indexIdentities(Engine engine)
{
    return TestRows(engine == Engine::SQLite
                        ? QStringLiteral("SELECT (SELECT schema_version FROM pragma_schema_version) || ':' || name "
                                         "FROM sqlite_master WHERE type='index' ORDER BY name")
                        : QStringLiteral("SELECT relname || ':' || oid FROM pg_class WHERE relkind='i' "
                                         "AND relnamespace=current_schema()::regnamespace ORDER BY relname"));
}

// The lock wait of the desk's connection: busy_timeout in ms on SQLite, lock_timeout
// on PostgreSQL.
QString lockWait(Engine engine)
{
    return TestRows(engine == Engine::SQLite ? QStringLiteral("PRAGMA busy_timeout")
                                             : QStringLiteral("SELECT current_setting('lock_timeout')"))
        .value(0);
}

// Runs `work` with the engines' log collected; the lines written meanwhile.
QStringList loggedWhile(const std::function<void()> &work)
{
    QStringList log;
    SqlServer::setLogSink([&log](const QString &line) { log << line; });
    const auto unset = qScopeGuard([] { SqlServer::setLogSink({}); });
    work();
    return log;
}

// Runs a statement unprepared on the desk's connection: PostgreSQL prepares no DDL.
bool execText(const QString &text)
{
    return QSqlQuery(CurrentConnection()).exec(text);
}

// Another desk's connection in the middle of a transaction that wrote a customer: it
// holds the customers' table against a change of its indexes until it ends.
class WritingDesk {
public:
    explicit WritingDesk(const TestDatabase &db) : m_db(db.openOtherDesk(Name))
    {
        m_ready = m_db.isOpen() && m_db.transaction()
            && QSqlQuery(m_db).exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (900, 'Jiný')"));
    }
    ~WritingDesk()
    {
        end();
        QSqlDatabase::removeDatabase(QLatin1String(Name));
    }
    bool isReady() const { return m_ready; }
    void end()
    {
        if (m_db.isOpen()) {
            m_db.rollback();
            m_db.close();
        }
        m_db = QSqlDatabase();
    }

private:
    static constexpr const char *Name = "writing-desk";
    QSqlDatabase m_db;
    bool m_ready = false;
};

// The list sorted by `key` as a title click sorts it, `clicks` times, is read in the
// order of `index` and from it alone: the engine sorts nothing. (PostgreSQL is asked
// without sorting, as it plans a list of 100 000 customers: a table of a few rows it
// reads whole instead.) An empty text when it is, else the plan.
QString notReadFromIndex(Engine engine, const QStringList &list, const QString &key, int clicks, const QString &index)
{
    QString text = list.join(QLatin1Char('\n')) + QLatin1Char('\n');
    for (int i = 0; i < clicks; ++i)
        text = NextQuerySortText(text, CurrentServer()->dialect().textOrder(key));
    if (engine == Engine::PostgreSQL) {
        // Vacuumed, as autovacuum leaves a shop's table, so the index alone may answer.
        QSqlQuery(CurrentConnection()).exec("VACUUM ANALYZE " + key.section(u'.', 0, 0));
        QSqlQuery(CurrentConnection()).exec("SET enable_sort=off");
    }
    const QString shown = planOf(engine, text).join(QLatin1Char('\n'));
    if (engine == Engine::PostgreSQL)
        QSqlQuery(CurrentConnection()).exec("RESET enable_sort");
    const bool alone = !shown.contains(QLatin1String("TEMP B-TREE")) && !shown.contains(QLatin1String("Sort"))
        && (engine == Engine::SQLite
                ? shown.contains(QLatin1String("USING COVERING INDEX ") + index)
                : shown.contains(QRegularExpression(QLatin1String("Index Only Scan (Backward )?using ") + index.toLower())));
    return alone ? QString() : shown;
}

} // namespace

class TestSchema : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void columns_data() { AddEngineRows(); }
    void columns()
    {
        OPEN_TEST_DATABASE(db);
        for (const auto &[table, expected] : expectedTables()) {
            const QList<ActualColumn> actual = actualColumns(engine, table);
            QCOMPARE(actual.size(), expected.size());
            for (qsizetype i = 0; i < expected.size(); ++i) {
                const Column &e = expected[i];
                const ActualColumn &a = actual[i];
                const QString where = table + QLatin1Char('.') + e.name;
                QVERIFY2(a.name.compare(e.name, Qt::CaseInsensitive) == 0, qPrintable(where + " vs " + a.name));
                // Identity keys count as not null on both engines.
                const bool identity = e.name.startsWith(QLatin1String("ID_"));
                if (!(identity && engine == Engine::SQLite))
                    QVERIFY2(a.notNull == e.notNull, qPrintable(where));
                if (e.defaultValue.isEmpty())
                    QVERIFY2(a.defaultText.isEmpty() || identity, qPrintable(where + " default " + a.defaultText));
                else if (e.defaultValue == QLatin1String("now"))
                    QVERIFY2(a.defaultText.contains(QLatin1String("localtime"))
                                 || a.defaultText.contains(QLatin1String("LOCALTIMESTAMP"), Qt::CaseInsensitive),
                             qPrintable(where + " default " + a.defaultText));
                else
                    QVERIFY2(a.defaultText == e.defaultValue, qPrintable(where + " default " + a.defaultText));
            }
        }
    }

    void seedRows_data() { AddEngineRows(); }
    void seedRows()
    {
        OPEN_TEST_DATABASE(db);

        QSqlQuery q = (SetCommand("SELECT ID_ZAMERENI, ZAMERENI, VYCHOZI FROM tab_zamereni"), ExecCommandRecordset());
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 1);
        QCOMPARE(q.value(1).toString(), QString("-"));
        QCOMPARE(q.value(2).toInt(), 1);
        QVERIFY(!q.next());

        const QStringList media{"-", "DVD", "DVD CZ", "VHS", "VHS CZ"};
        const QList<int> dubbed{0, 0, 1, 0, 1};
        q = (SetCommand("SELECT ID_NOSIC, NOSIC, DABING, PUJCOVNE, VRATNE, ZALOHA, VYCHOZI FROM tab_nosic "
                        "ORDER BY ID_NOSIC"),
             ExecCommandRecordset());
        for (int i = 0; i < media.size(); ++i) {
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toInt(), i + 1);
            QCOMPARE(q.value(1).toString(), media[i]);
            QCOMPARE(q.value(2).toInt(), dubbed[i]);
            for (int c = 3; c <= 5; ++c)
                QCOMPARE(q.value(c).toDouble(), 0.0);
            QCOMPARE(q.value(6).toInt(), i == 0 ? 1 : 0);
        }
        QVERIFY(!q.next());

        q = (SetCommand("SELECT * FROM tab_uzivatel"), ExecCommandRecordset());
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 1);
        QCOMPARE(q.value(1).toString(), QString("sa"));
        QVERIFY(q.value(2).isNull());
        for (int c = 3; c < 12; ++c)
            QCOMPARE(q.value(c).toInt(), 1);
        QVERIFY(!q.next());

        for (const char *empty : {"tab_zakaznik", "tab_video", "tab_pujcky", "tab_pujckydetail"})
            QCOMPARE(ValueOf(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(empty))), 0);
        // The first document is number 1.
        QCOMPARE(ValueOf("SELECT COALESCE(MAX(DOKLAD),0)+1 FROM tab_pujcky"), 1);
    }

    void indexes_data() { AddEngineRows(); }
    void indexes()
    {
        OPEN_TEST_DATABASE(db);
        QSqlQuery q(CurrentConnection());
        if (engine == Engine::SQLite)
            QVERIFY(q.exec("SELECT name, sql FROM sqlite_master WHERE type='index' AND tbl_name='tab_pujckydetail' "
                           "AND sql IS NOT NULL ORDER BY name"));
        else
            QVERIFY(q.exec("SELECT indexname, indexdef FROM pg_indexes WHERE tablename='tab_pujckydetail' "
                           "AND indexname LIKE 'index_%' ORDER BY indexname"));
        QStringList found;
        while (q.next()) {
            const QString column = q.value(1).toString().section(QLatin1Char('('), -1).section(QLatin1Char(')'), 0, 0);
            found << q.value(0).toString().toUpper() + QLatin1Char(':') + column.trimmed().toUpper();
        }
        QCOMPARE(found, (QStringList{"INDEX_DOKLAD_PUJ:DOKLAD_PUJ", "INDEX_DOKLAD_VRA:DOKLAD_VRA",
                                     "INDEX_VIDEO:VIDEO", "INDEX_ZAKAZNIK:ZAKAZNIK"}));
    }

    // A list sorted by a title click on the customer's name or the video's title, either
    // way, is read from the index alone.
    void titleSortsReadTheIndex_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("index");
        for (const auto &[engine, tag] : {std::pair{Engine::SQLite, "sqlite"}, {Engine::PostgreSQL, "postgres"}}) {
            QTest::newRow(qPrintable(QStringLiteral("%1 customers by name").arg(QLatin1String(tag))))
                << engine << CustomerListSql() << "tab_zakaznik.JMENO" << 1 << "index_JMENO";
            QTest::newRow(qPrintable(QStringLiteral("%1 customers by name, descending").arg(QLatin1String(tag))))
                << engine << CustomerListSql() << "tab_zakaznik.JMENO" << 2 << "index_JMENO";
            QTest::newRow(qPrintable(QStringLiteral("%1 videos by title").arg(QLatin1String(tag))))
                << engine << VideoListSql() << "tab_video.TITUL" << 1 << "index_TITUL";
        }
    }
    void titleSortsReadTheIndex()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, key);
        QFETCH(int, clicks);
        QFETCH(QString, index);
        OPEN_TEST_DATABASE(db);
        const QString plan = notReadFromIndex(engine, list, key, clicks, index);
        QVERIFY2(plan.isEmpty(), qPrintable(plan));
    }

    // A database of an older version has neither of those indexes: opening it, or
    // restoring its backup, adds them, and its names sort in Czech order from them.
    void olderDatabaseGetsIndexes_data() { AddEngineFlagRows("restored", "opened", "restored"); }
    void olderDatabaseGetsIndexes()
    {
        QFETCH(bool, restored);
        OPEN_TEST_DATABASE(db);
        for (const char *name : {"Novák", "Chalupa", "Čapek", "Hrubý", "Cyril"})
            Exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (%1, '%2')")
                     .arg(ValueOf("SELECT COUNT(*) FROM tab_zakaznik") + 1)
                     .arg(QString::fromUtf8(name)));
        for (const char *index : {"index_JMENO", "index_TITUL"})
            QVERIFY(QSqlQuery(CurrentConnection()).exec(QStringLiteral("DROP INDEX %1").arg(QLatin1String(index))));
        QCOMPARE(sortIndexes(engine), QStringList());
        if (restored) {
            const QString path = db.scratchDir() + "/older.bak";
            CurrentServer()->backup(path);
            CurrentServer()->restore(path);
        } else {
            QVERIFY(CurrentServer()->reopen(SqlServer::ProgramDatabase));
        }
        QCOMPARE(sortIndexes(engine), (QStringList{"INDEX_JMENO", "INDEX_TITUL"}));
        QCOMPARE(TestRows(QStringLiteral("SELECT JMENO FROM tab_zakaznik ORDER BY ")
                          + CurrentServer()->dialect().textOrder("JMENO")),
                 (QStringList{"Cyril", "Čapek", "Hrubý", "Chalupa", "Novák"}));
    }

    // A database of an older version whose name or title index has an older shape (no
    // covered or included columns, another collation) gets the schema's index in its
    // place when it is opened or its backup restored, and its sorted list is read from it.
    void olderIndexShapeIsReplaced_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<bool>("restored");
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("older");
        const QString customers = QStringLiteral("tab_zakaznik (JMENO%1)");
        const QString included = QStringLiteral(" INCLUDE (ZAKAZNIK, TELEFON, ADRESA1, ADRESA2, RC, OP, REGISTRACE, "
                                                "OMEZENI, PUJCKY, TEXT)");
        const struct {
            const char *tag;
            Engine engine;
            bool restored;
            const char *index;
            QString older;
        } cases[]{
            {"sqlite name plain, opened", Engine::SQLite, false, "index_JMENO", customers.arg("")},
            {"sqlite name plain, restored", Engine::SQLite, true, "index_JMENO", customers.arg("")},
            {"sqlite name not covering", Engine::SQLite, false, "index_JMENO", customers.arg(" COLLATE CZECH")},
            {"sqlite title without collation", Engine::SQLite, false, "index_TITUL",
             "tab_video (TITUL, VIDEO, ZAMERENI, NOSIC, CENA, REGISTRACE, VYPUJCENA)"},
            {"postgres name plain, opened", Engine::PostgreSQL, false, "index_JMENO", customers.arg("")},
            {"postgres name plain, restored", Engine::PostgreSQL, true, "index_JMENO", customers.arg("")},
            {"postgres name in another collation", Engine::PostgreSQL, false, "index_JMENO",
             customers.arg(" COLLATE \"C\"") + included},
            {"postgres title plain, restored", Engine::PostgreSQL, true, "index_TITUL", "tab_video (TITUL)"},
        };
        for (const auto &c : cases)
            QTest::newRow(c.tag) << c.engine << c.restored << QString(c.index)
                                 << QStringLiteral("CREATE INDEX %1 ON %2").arg(c.index, c.older);
    }
    void olderIndexShapeIsReplaced()
    {
        QFETCH(bool, restored);
        QFETCH(QString, index);
        QFETCH(QString, older);
        OPEN_TEST_DATABASE(db);
        const bool names = index == QLatin1String("index_JMENO");
        const QStringList list = names ? CustomerListSql() : VideoListSql();
        const QString key = names ? QStringLiteral("tab_zakaznik.JMENO") : QStringLiteral("tab_video.TITUL");
        const QString schemas = indexDefinition(engine, index);
        QVERIFY(execText("DROP INDEX " + index));
        QVERIFY2(execText(older), qPrintable(older));
        QVERIFY2(!notReadFromIndex(engine, list, key, 1, index).isEmpty(), "the older index answers alone");
        bool connected = true;
        const QStringList log = loggedWhile([&] {
            if (restored) {
                const QString path = db.scratchDir() + "/older.bak";
                CurrentServer()->backup(path);
                CurrentServer()->restore(path);
            } else {
                connected = CurrentServer()->reopen(SqlServer::ProgramDatabase);
            }
        });
        QVERIFY(connected);
        QCOMPARE(log, QStringList());
        QCOMPARE(indexDefinition(engine, index), schemas);
        const QString plan = notReadFromIndex(engine, list, key, 1, index);
        QVERIFY2(plan.isEmpty(), qPrintable(plan));
    }

    // An open of a database whose indexes are the schema's makes none of them again, nor
    // waits for a table that another desk is writing to.
    void indexesAsTheSchemaHasThemStay_data() { AddEngineRows(); }
    void indexesAsTheSchemaHasThemStay()
    {
        OPEN_TEST_DATABASE(db);
        const QStringList before = indexIdentities(engine);
        WritingDesk other(db);
        QVERIFY(other.isReady());
        bool connected = false;
        QCOMPARE(loggedWhile([&] { connected = CurrentServer()->reopen(SqlServer::ProgramDatabase); }), QStringList());
        QVERIFY(connected);
        QCOMPARE(indexIdentities(engine), before);
    }

    // An older index that cannot be replaced, its table being written to by another desk
    // or belonging to another role, stays: the open gives up on it soon, writes that to
    // the log and goes on with the older index and the desk's usual lock wait; the next
    // open, the table free again, replaces it.
    void indexNotReplacedStays_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<bool>("otherOwner");
        QTest::newRow("sqlite another desk writing") << Engine::SQLite << false;
        QTest::newRow("postgres another desk writing") << Engine::PostgreSQL << false;
        QTest::newRow("postgres table of another role") << Engine::PostgreSQL << true;
    }
    void indexNotReplacedStays()
    {
        QFETCH(bool, otherOwner);
        OPEN_TEST_DATABASE(db);
        const QString schemas = indexDefinition(engine, "index_JMENO");
        const QString usualWait = lockWait(engine);
        QVERIFY(execText("DROP INDEX index_JMENO"));
        QVERIFY(execText("CREATE INDEX index_JMENO ON tab_zakaznik (JMENO)"));
        const QString older = indexDefinition(engine, "index_JMENO");
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (1, 'Novák')");
        const auto server = PgTestServerFromEnv();
        const auto asAdmin = [&](const QString &statement) {
            QString error;
            const bool done = ExecAsPgAdmin(*server, statement, &error, db.databaseName());
            if (!done)
                qWarning("%s: %s", qPrintable(statement), qPrintable(error));
            return done;
        };
        std::optional<WritingDesk> other;
        if (otherOwner) {
            QVERIFY(server);
            QVERIFY(asAdmin(QStringLiteral("ALTER TABLE tab_zakaznik OWNER TO %1").arg(server->admin)));
            QVERIFY(asAdmin("GRANT ALL ON tab_zakaznik TO sa"));
        } else {
            other.emplace(db);
            QVERIFY(other->isReady());
        }
        bool connected = false;
        const QStringList log = loggedWhile([&] { connected = CurrentServer()->reopen(SqlServer::ProgramDatabase); });
        QVERIFY(connected);
        QCOMPARE(log.size(), 1);
        QVERIFY2(log[0].startsWith("Index index_JMENO nelze nahradit: "), qPrintable(log[0]));
        QCOMPARE(indexDefinition(engine, "index_JMENO"), older);
        QCOMPARE(lockWait(engine), usualWait);
        QCOMPARE(CustomerRows(), QString("1=Novák"));
        if (otherOwner)
            QVERIFY(asAdmin("ALTER TABLE tab_zakaznik OWNER TO sa"));
        else
            other->end();
        QVERIFY(CurrentServer()->reopen(SqlServer::ProgramDatabase));
        QCOMPARE(indexDefinition(engine, "index_JMENO"), schemas);
    }

    // An index the login may not make (its table belongs to another role) is written to
    // the log, and the desk opens the database all the same.
    void indexNotMadeIsLogged()
    {
        OPEN_TEST_DATABASE_ON(db, Engine::PostgreSQL);
        const auto server = PgTestServerFromEnv();
        QVERIFY(server);
        QVERIFY(QSqlQuery(CurrentConnection()).exec("DROP INDEX index_JMENO"));
        QString error;
        for (const QString &statement : {QStringLiteral("ALTER TABLE tab_zakaznik OWNER TO %1").arg(server->admin),
                                         QStringLiteral("GRANT ALL ON tab_zakaznik TO sa")})
            QVERIFY2(ExecAsPgAdmin(*server, statement, &error, db.databaseName()), qPrintable(error));
        QStringList log;
        SqlServer::setLogSink([&log](const QString &line) { log << line; });
        const bool connected = CurrentServer()->reopen(SqlServer::ProgramDatabase);
        SqlServer::setLogSink({});
        QVERIFY(connected);
        QCOMPARE(log.size(), 1);
        QVERIFY2(log[0].startsWith("Index index_JMENO nelze vytvořit: "), qPrintable(log[0]));
        QCOMPARE(sortIndexes(Engine::PostgreSQL), QStringList{"INDEX_TITUL"});
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (1, 'Novák')");
        QCOMPARE(CustomerRows(), QString("1=Novák"));
    }

    void defaultsOnInsert_data() { AddEngineRows(); }
    void defaultsOnInsert()
    {
        OPEN_TEST_DATABASE(db);
        SetCommand("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (:ZAKAZNIK, :JMENO)");
        SetCommandParam("ZAKAZNIK", qint64(1234567890123LL));
        SetCommandParam("JMENO", QString("Novák"));
        ExecCommand();
        SetCommand("SELECT PUJCKY FROM tab_zakaznik WHERE ZAKAZNIK=1234567890123");
        const QVariant lends = ExecCommandValue();
        QVERIFY(!lends.isNull());
        QCOMPARE(lends.toInt(), 0);
        // The registration time is the desk's local time, to the minute.
        SetCommand("SELECT REGISTRACE FROM tab_zakaznik");
        const QVariant reg = ExecCommandValue();
        const QDateTime when = reg.metaType().id() == QMetaType::QDateTime
            ? reg.toDateTime()
            : QDateTime::fromString(reg.toString(), "yyyy-MM-dd hh:mm:ss");
        QVERIFY2(when.isValid(), qPrintable(reg.toString()));
        QCOMPARE(when.time().second(), 0);
        QVERIFY(qAbs(when.secsTo(QDateTime::currentDateTime())) < 120);
        // Counters that a lend raises never become null.
        QVERIFY(refused("UPDATE tab_zakaznik SET PUJCKY=NULL"));
        QVERIFY(refused("INSERT INTO tab_video (VIDEO, TITUL, ZAMERENI, NOSIC, VYPUJCENA) VALUES (1,'x',1,1,NULL)"));
    }

    void refusals_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("statement");
        const QList<QPair<const char *, const char *>> cases{
            {"genre unique", "INSERT INTO tab_zamereni (ZAMERENI, VYCHOZI) VALUES ('-', 0)"},
            {"medium unique", "INSERT INTO tab_nosic (NOSIC) VALUES ('DVD')"},
            {"user unique", "INSERT INTO tab_uzivatel (UZIVATEL) VALUES ('sa')"},
            {"video genre key", "INSERT INTO tab_video (VIDEO, TITUL, ZAMERENI, NOSIC) VALUES (1, 'x', 99, 1)"},
            {"video medium key", "INSERT INTO tab_video (VIDEO, TITUL, ZAMERENI, NOSIC) VALUES (1, 'x', 1, 99)"},
            {"document user key", "INSERT INTO tab_pujcky (DOKLAD, OPERACE, ZAKAZNIK, UZIVATEL) VALUES (1, 1, 5, 99)"},
            {"line primary key", "INSERT INTO tab_pujckydetail (DOKLAD_PUJ, VIDEO, ZAKAZNIK) VALUES (7, 8, 9)"},
            {"customer primary key", "INSERT INTO tab_zakaznik (ZAKAZNIK) VALUES (42)"},
            {"customer key not null", "INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (NULL, 'x')"},
            {"name too long", "INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (2, '123456789012345678901234567890123')"},
            {"bit range", "INSERT INTO tab_nosic (NOSIC, DABING) VALUES ('X', 2)"},
            {"restriction range", "INSERT INTO tab_zakaznik (ZAKAZNIK, OMEZENI) VALUES (3, 256)"},
            {"user removed with documents", "DELETE FROM tab_uzivatel WHERE ID_UZIVATEL=1"},
        };
        for (const auto &[name, sql] : cases) {
            QTest::newRow(qPrintable(QStringLiteral("sqlite %1").arg(name))) << Engine::SQLite << QString(sql);
            QTest::newRow(qPrintable(QStringLiteral("postgres %1").arg(name))) << Engine::PostgreSQL << QString(sql);
        }
    }
    void refusals()
    {
        QFETCH(QString, statement);
        OPEN_TEST_DATABASE(db);
        // Rows the refusals collide with; documents and lines with numbers that exist
        // nowhere are accepted (no foreign keys there).
        for (const char *sql : {"INSERT INTO tab_pujckydetail (DOKLAD_PUJ, VIDEO, ZAKAZNIK) VALUES (7, 8, 9)",
                                "INSERT INTO tab_zakaznik (ZAKAZNIK) VALUES (42)",
                                "INSERT INTO tab_pujcky (DOKLAD, OPERACE, ZAKAZNIK, UZIVATEL) VALUES (5, 1, 777, 1)"}) {
            SetCommand(sql);
            ExecCommand();
        }
        const qint64 before = ValueOf("SELECT (SELECT COUNT(*) FROM tab_zamereni)+(SELECT COUNT(*) FROM tab_nosic)"
                                      "+(SELECT COUNT(*) FROM tab_uzivatel)+(SELECT COUNT(*) FROM tab_video)"
                                      "+(SELECT COUNT(*) FROM tab_zakaznik)+(SELECT COUNT(*) FROM tab_pujcky)"
                                      "+(SELECT COUNT(*) FROM tab_pujckydetail)");
        QVERIFY(refused(statement));
        QCOMPARE(ValueOf("SELECT (SELECT COUNT(*) FROM tab_zamereni)+(SELECT COUNT(*) FROM tab_nosic)"
                         "+(SELECT COUNT(*) FROM tab_uzivatel)+(SELECT COUNT(*) FROM tab_video)"
                         "+(SELECT COUNT(*) FROM tab_zakaznik)+(SELECT COUNT(*) FROM tab_pujcky)"
                         "+(SELECT COUNT(*) FROM tab_pujckydetail)"),
                 before);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
