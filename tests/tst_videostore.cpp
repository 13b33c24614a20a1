// The video catalogue's statements on both engines, without windows: the count over the
// list's joins, the history with a customer who is gone, the title proposals and searches,
// and the changes with their history statements, refusals and rollback. What it shares
// with the customer register (the filter conditions with the count and the exact sum) is
// tested in tst_cataloguestore.
#include "catalogue/VideoStore.h"
#include "core/database/Errors.h"
#include "core/RunGlobals.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/Lookups.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"
#include "support/ShopRows.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"
#include "support/VideoShop.h"

#include <QTest>
#include <memory>

namespace {

const QDate Today = VideoShopToday;

QString VideoRows()
{
    SetCommand("SELECT VIDEO,TITUL,ZAMERENI,NOSIC,CENA FROM tab_video ORDER BY VIDEO");
    QSqlQuery q = ExecCommandRecordset();
    QStringList rows;
    while (q.next())
        rows << QStringLiteral("%1=%2/%3/%4/%5")
                    .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                         Money::fromVariant(q.value(4)).toSqlText());
    return rows.join(',');
}

} // namespace

class TestVideoStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetRunDate(Today); }

    // The free filter may name the genre's and medium's columns: the count goes over the
    // list's joins and counts what the list shows.
    void countOverJoins_data() { AddEngineRows(); }
    void countOverJoins()
    {
        OPEN_TEST_DATABASE(db);
        AddVideoShop();
        const VideoTotals totals = CountVideos("WHERE tab_nosic.NOSIC='DVD' AND tab_zamereni.ZAMERENI='Komedie'\n");
        QCOMPARE(totals.count, 2);
        QCOMPARE(totals.sum.toSqlText(), QString("92.2600"));
    }

    // The history keeps the lines of a customer no longer in the register, with no name;
    // lines out of the history lists are not shown.
    void history_data() { AddEngineRows(); }
    void history()
    {
        OPEN_TEST_DATABASE(db);
        AddVideoShop();
        AddLine({4, 1, 77, Today.addDays(-30), false});
        AddLine({5, 1, 1, Today.addDays(-40), false, false});
        BrowseQuery history;
        history.setSql(VideoHistorySql());
        history.setParameter("VIDEO", qint64(1));
        history.open();
        QStringList rows;
        for (int row = 0; row < history.recordCount(); ++row)
            rows << history.valueAt(row, 0).toString() + "=" + history.valueAt(row, 2).toString();
        rows.sort();
        QCOMPARE(rows, QStringList({"1=Novák", "77="}));
    }

    // Proposals and the search dialog's statement fold case and Czech letters; a "%" or a
    // backslash typed is a letter of the title; the proposals come in Czech order ("ch"
    // after "h").
    void titleSearches_data() { AddEngineRows(); }
    void titleSearches()
    {
        OPEN_TEST_DATABASE(db);
        AddVideoShop();
        AddVideo({6, "Chobotnice"});
        AddVideo({7, "Hory"});
        QCOMPARE(VideoTitleProposals("ČA"), QStringList({"Čapkova Matka", "čarodějův učeň"}));
        QVERIFY(VideoTitleProposals("%100").isEmpty());
        QCOMPARE(VideoTitleProposals("a\\b 100%"), QStringList({"A\\b 100%"}));
        const QStringList all = VideoTitleProposals("");
        QCOMPARE(all.indexOf("Chobotnice"), all.indexOf("Hory") + 1);
        QVERIFY(VideoTitleProposals("x").isEmpty());
        BrowseQuery search;
        search.setSql(VideoSearchSql());
        search.setParameter("TITUL", SqlDialect::likeBegin("ČAP"));
        search.open();
        QCOMPARE(ListedNumbers(search), QList<qint64>({1}));
        QCOMPARE(search.valueAt(0, 2).toString(), QString("DVD"));
    }

    // A new video with all its values; a number taken meanwhile and a genre or medium
    // identity 0 (none chosen) are refused and write nothing.
    void insertVideo_data() { AddEngineRows(); }
    void insertVideo()
    {
        OPEN_TEST_DATABASE(db);
        const int dvd = GetMediumId("DVD");
        InsertVideo({7, "Nový", 1, dvd, Money::fromString("199.99")});
        QCOMPARE(VideoRows(), QString("7=Nový/1/%1/199.9900").arg(dvd));
        QCOMPARE(VideoColumn(7, "VYPUJCENA").toInt(), 0);
        QVERIFY(!VideoColumn(7, "REGISTRACE").isNull());
        InsertVideo({8, QString(), 1, 1, Money()});
        QVERIFY(!VideoColumn(8, "TITUL").isNull()); // an empty title is stored empty, not null
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, InsertVideo({7, "Jiný", 1, 1, Money()}));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, InsertVideo({9, "Bez nosiče", 1, 0, Money()}));
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, InsertVideo({9, "Bez žánru", 0, 1, Money()}));
        QCOMPARE(VideoRows(), QString("7=Nový/1/%1/199.9900,8=/1/1/0.0000").arg(dvd));
    }

    // "Vymazat historii": the returned lines whose documents are gone are deleted, every
    // other line of the video leaves the history lists (one still out too); the update
    // writes all four fields either way.
    void updateVideo_data() { AddEngineFlagRows("erase", "keep", "erase"); }
    void updateVideo()
    {
        QFETCH(bool, erase);
        OPEN_TEST_DATABASE(db);
        AddVideoShop();
        AddLine({4, 1, 1, Today.addDays(-20), false, true, false}); // returned, documents gone
        AddLine({5, 1, 1, Today.addDays(-10), false, true, true});  // returned, documented
        const QString others = VideoLines(2);
        UpdateVideo({1, "Matka", 3, 4, Money::fromString("10.5")}, erase);
        QCOMPARE(VideoRows().section(',', 0, 0), QString("1=Matka/3/4/10.5000"));
        QCOMPARE(VideoLines(1), erase ? QString("1:1/0,5:0/0") : QString("1:1/1,4:0/1,5:0/1"));
        QCOMPARE(VideoLines(2), others);
    }

    // A statement that fails undoes the whole change: the history erased before it comes
    // back. A video removed meanwhile fails the change too.
    void failingUpdateRollsBack_data() { AddEngineRows(); }
    void failingUpdateRollsBack()
    {
        OPEN_TEST_DATABASE(db);
        AddVideoShop();
        AddLine({4, 1, 1, Today.addDays(-20), false, true, false});
        const QString lines = VideoLines(1);
        const QString rows = VideoRows();
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, UpdateVideo({1, "X", 2, 0, Money()}, true));
        QCOMPARE(VideoLines(1), lines);
        QCOMPARE(VideoRows(), rows);
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, UpdateVideo({99, "X", 1, 1, Money()}, false));
        // The connection goes on working after the rollbacks.
        UpdateVideo({1, "Y", 1, 1, Money()}, false);
        QCOMPARE(VideoColumn(1, "TITUL").toString(), QString("Y"));
    }

    // The lines whose documents are gone go with the video; the journal's lines stay, out
    // of the history lists.
    void removeVideo_data() { AddEngineRows(); }
    void removeVideo()
    {
        OPEN_TEST_DATABASE(db);
        AddVideoShop();
        AddLine({4, 3, 1, Today.addDays(-20), false, true, false});
        RemoveVideo(3);
        QVERIFY(VideoColumn(3, "TITUL").isNull());
        QCOMPARE(VideoLines(3), QString("3:0/0"));
        QCOMPARE(VideoLines(1), QString("1:1/1"));
        QCOMPARE(CountVideos(QString()).count, 4);
    }
};

QTEST_GUILESS_MAIN(TestVideoStore)
#include "tst_videostore.moc"
