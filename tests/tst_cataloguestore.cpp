// What the customer register and the video catalogue do alike, on both engines and without
// windows, one table over both: the lowest free number, and the filter panel's conditions
// run as the page runs them against each one's small shop, with the status bar's count
// (and the videos' exact sum). Each subject is described by its store's functions and its
// shop.
#include "catalogue/CustomerStore.h"
#include "catalogue/VideoStore.h"
#include "core/RunGlobals.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/SqlServer.h"
#include "support/CustomerShop.h"
#include "support/ShopRows.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"
#include "support/VideoShop.h"

#include <QTest>
#include <limits>
#include <optional>

namespace {

const QDate Today = VideoShopToday;

// The filter panel's conditions of either list; a condition that one list does not have
// (the restriction, the genre, the medium) is left off its rows.
struct Conditions {
    bool codeOn = false;
    std::optional<qint64> codeFirst;
    std::optional<qint64> codeSecond;
    bool textOn = false;
    QString text; // the beginning of the names or titles
    bool limitOn = false;
    int limit = -1;
    bool directionOn = false;
    std::optional<int> direction;
    bool mediumOn = false;
    std::optional<int> medium;
    bool registrationOn = false;
    std::optional<QDate> registrationFirst;
    std::optional<QDate> registrationSecond;
    bool lent = false;
    bool overdue = false;
};

// A list's filter input with the conditions both lists have (their fields are named alike).
template <class Input>
Input PanelInput(const Conditions &c)
{
    Input f;
    f.codeOn = c.codeOn;
    f.codeFirst = c.codeFirst;
    f.codeSecond = c.codeSecond;
    f.registrationOn = c.registrationOn;
    f.registrationFirst = c.registrationFirst;
    f.registrationSecond = c.registrationSecond;
    f.lent = c.lent;
    f.overdue = c.overdue;
    f.runDate = Today;
    return f;
}

// What the status bar shows for a list: the count, and for the videos the sum in units.
struct Totals {
    int count = 0;
    std::optional<qint64> sum;
};

// The customer register or the video catalogue, by its store's functions and its shop.
struct StoreSubject {
    const char *table;
    void (*addRow)(qint64 number);
    qint64 (*lowestFree)();
    void (*addShop)();
    QStringList (*listSql)();
    QString (*where)(const Conditions &conditions, const SqlDialect &dialect);
    Totals (*totals)(const QString &where);
    // The shop's price of a video in units; null for the customers, who have none.
    qint64 (*price)(qint64 number);
};

const StoreSubject Customers{
    "tab_zakaznik",
    [](qint64 number) { AddCustomer({number, "X"}); },
    LowestFreeCustomer,
    AddCustomerShop,
    CustomerListSql,
    [](const Conditions &c, const SqlDialect &dialect) {
        auto f = PanelInput<CustomerFilterInput>(c);
        f.nameOn = c.textOn;
        f.name = c.text;
        f.limitOn = c.limitOn;
        f.limit = c.limit;
        return CustomerFilterWhere(f, dialect);
    },
    [](const QString &where) { return Totals{CountCustomers(where), std::nullopt}; },
    nullptr,
};

const StoreSubject Videos{
    "tab_video",
    [](qint64 number) { AddVideo(number, "X"); },
    LowestFreeVideo,
    AddVideoShop,
    VideoListSql,
    [](const Conditions &c, const SqlDialect &dialect) {
        auto f = PanelInput<VideoFilterInput>(c);
        f.titleOn = c.textOn;
        f.title = c.text;
        f.directionOn = c.directionOn;
        f.direction = c.direction;
        f.mediumOn = c.mediumOn;
        f.medium = c.medium;
        return VideoFilterWhere(f, dialect);
    },
    [](const QString &where) {
        const VideoTotals totals = CountVideos(where);
        return Totals{totals.count, totals.sum.units()};
    },
    [](qint64 video) {
        static const QHash<qint64, qint64> prices{{1, 443500}, {2, 444000}, {3, 479100}, {4, 253600}, {5, 434800}};
        return prices.value(video);
    },
};

const std::pair<const char *, const StoreSubject *> Subjects[] = {{"customer", &Customers}, {"video", &Videos}};
const std::pair<const char *, Engine> Engines[] = {{"sqlite", Engine::SQLite}, {"postgres", Engine::PostgreSQL}};

} // namespace

Q_DECLARE_METATYPE(const StoreSubject *)
Q_DECLARE_METATYPE(Conditions)

class TestCatalogueStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetRunDate(Today); }
    void cleanupTestCase() { m_shop.reset(); }

    void lowestFreeNumber_data()
    {
        QTest::addColumn<const StoreSubject *>("subject");
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QList<qint64>>("used");
        QTest::addColumn<qint64>("free");
        const qint64 highest = std::numeric_limits<qint64>::max();
        for (const auto &[s, subject] : Subjects) {
            for (const auto &[e, engine] : Engines) {
                auto row = [&](const char *tag, const QList<qint64> &used, qint64 free) {
                    QTest::addRow("%s-%s-%s", s, e, tag) << subject << engine << used << free;
                };
                row("none", {}, 1);
                row("gap in the middle", {1, 2, 4}, 3);
                row("1 missing", {2, 3}, 1);
                row("no gap", {1, 2, 3}, 4);
                row("far", {1, 9999999999999LL}, 2);
                // Numbers the desk never gives, in a database restored from elsewhere.
                row("highest of the engine", {1, 2, highest}, 3);
                row("highest alone", {highest}, 1);
                row("beyond 13 digits", {1, 10000000000000LL, 10000000000001LL}, 2);
                row("negative and zero", {-5, 0, 1}, 2);
            }
        }
    }
    void lowestFreeNumber()
    {
        QFETCH(const StoreSubject *, subject);
        QFETCH(QList<qint64>, used);
        QFETCH(qint64, free);
        keepShop(subject, nullptr); // each row empties the table
        OPEN_SHARED_TEST_DATABASE(m_shop);
        SetCommand(QStringLiteral("DELETE FROM %1").arg(QLatin1String(subject->table)));
        ExecCommand();
        for (qint64 n : used)
            subject->addRow(n);
        QCOMPARE(subject->lowestFree(), free);
    }

    // Each condition alone and combined, run as the page runs it; the count (and the sum)
    // that the status bar shows agrees with the list, the sum exact.
    void filterSelects_data()
    {
        QTest::addColumn<const StoreSubject *>("subject");
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<Conditions>("conditions");
        QTest::addColumn<QList<qint64>>("listed");
        // The cases with what each list shows; a list without the condition has no row.
        struct Case {
            const char *tag;
            Conditions conditions;
            std::optional<QList<qint64>> customers;
            std::optional<QList<qint64>> videos;
        };
        QList<Case> cases;
        Conditions c;
        auto both = [&](const char *tag, const QList<qint64> &customers, const QList<qint64> &videos) {
            cases.append({tag, c, customers, videos});
        };
        auto customersOnly = [&](const char *tag, const QList<qint64> &customers) {
            cases.append({tag, c, customers, std::nullopt});
        };
        auto videosOnly = [&](const char *tag, const QList<qint64> &videos) {
            cases.append({tag, c, std::nullopt, videos});
        };
        const QList<qint64> all{1, 2, 3, 4, 5};
        both("none", all, all);
        c.textOn = true;
        both("empty text", all, all);
        c.text = "čap";
        both("text folds Czech case", {1}, {1});
        c.text = "Č";
        both("text capital", {1, 2}, {1, 2});
        c.text = "o'n";
        customersOnly("apostrophe", {3}); // "O'Neil"
        c.text = "o'b";
        videosOnly("apostrophe", {3}); // "O'Brien"
        c.text = "a\\";
        both("backslash", {5}, {4});
        c.text = "_orro";
        videosOnly("an underscore typed is no wildcard", {});
        c = {};
        c.codeOn = true;
        c.codeFirst = 2;
        c.codeSecond = 3;
        both("code range", {2, 3}, {2, 3});
        c.codeFirst = 0;
        c.codeSecond = 0;
        both("code 0 to 0", {}, {});
        c.codeFirst = 4;
        c.codeSecond.reset();
        both("code from", {4, 5}, {4, 5});
        c = {};
        c.limitOn = true;
        c.limit = 0;
        customersOnly("restriction", {2});
        c = {};
        c.directionOn = true;
        videosOnly("no genre chosen", all);
        c.direction = 2;
        videosOnly("genre", {1, 3});
        c = {};
        c.mediumOn = true;
        c.medium = 2;
        videosOnly("medium", {1, 3});
        c = {};
        c.registrationOn = true;
        both("registration, no bound ticked", all, all);
        c.registrationFirst = QDate(2026, 12, 31);
        c.registrationSecond = QDate(2026, 12, 31);
        both("registration at 23:59 of the last day", {2}, {2});
        c.registrationFirst = QDate(2026, 3, 3);
        c.registrationSecond.reset();
        both("registration from", {2, 4, 5}, {2, 4, 5});
        c = {};
        c.lent = true;
        both("lent", {1, 2}, {1, 2});
        c.lent = false;
        c.overdue = true;
        both("overdue, not due today", {2}, {2});
        c.overdue = false;
        c.lent = true;
        c.textOn = true;
        c.text = "č";
        c.limitOn = true;
        c.limit = 2;
        customersOnly("combined", {1});
        c = {};
        c.directionOn = true;
        c.direction = 2;
        c.textOn = true;
        c.text = "o";
        videosOnly("combined", {3});
        // One subject's rows after the other's, each engine's together: the shop of the
        // rows is kept while they stay on it.
        for (const auto &[s, subject] : Subjects) {
            for (const auto &[e, engine] : Engines) {
                for (const Case &each : cases) {
                    const std::optional<QList<qint64>> &listed = subject == &Customers ? each.customers : each.videos;
                    if (listed)
                        QTest::addRow("%s-%s-%s", s, e, each.tag) << subject << engine << each.conditions << *listed;
                }
            }
        }
    }
    void filterSelects()
    {
        QFETCH(const StoreSubject *, subject);
        QFETCH(Conditions, conditions);
        QFETCH(QList<qint64>, listed);
        keepShop(subject, subject->addShop); // the rows only read
        OPEN_SHARED_TEST_DATABASE(m_shop);
        BrowseQuery list;
        list.setSql(subject->listSql());
        const QString where = subject->where(conditions, CurrentServer()->dialect());
        SetQueryWhere(list, where);
        QCOMPARE(ListedNumbers(list), listed);
        QCOMPARE(list.sqlText().contains(QLatin1String("WHERE")), !where.isEmpty());
        const Totals totals = subject->totals(where);
        QCOMPARE(totals.count, int(listed.size()));
        if (subject->price) {
            qint64 sum = 0;
            for (qint64 number : listed)
                sum += subject->price(number);
            QCOMPARE(totals.sum, std::optional<qint64>(sum)); // 205.5000 for all five videos, exactly
        }
    }

private:
    // The rows of one test on one subject share a database per engine, filled by `fill`
    // when it is made: a fresh one for each row would take a second on PostgreSQL.
    void keepShop(const StoreSubject *subject, void (*fill)())
    {
        const QByteArray key = QTest::currentTestFunction() + QByteArray::number(quintptr(subject));
        if (key != m_shopKey) {
            m_shop.reset();
            m_shopKey = key;
            m_fill = fill;
        }
    }

    QByteArray m_shopKey;
    void (*m_fill)() = nullptr;
    SharedTestDatabase m_shop{[this] {
        if (m_fill)
            m_fill();
    }};
};

QTEST_GUILESS_MAIN(TestCatalogueStore)
#include "tst_cataloguestore.moc"
