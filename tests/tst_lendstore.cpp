// The statements of a lend on both engines, without a window: the document numbers, the
// refusals that leave nothing written, and two desks lending one video at the same moment.
#include "core/DeskTransaction.h"
#include "core/database/Errors.h"
#include "core/RunGlobals.h"
#include "rental/LendStore.h"
#include "support/LendDesks.h"
#include "support/LendShop.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTest>
#include <QThread>

namespace {

LendDocumentLine Line(qint64 video, const char *deposit = "0")
{
    LendDocumentLine line;
    line.video = video;
    line.title = QStringLiteral("Video %1").arg(video);
    line.fee = Money::fromCrowns(30);
    line.lateFee = Money::fromCrowns(10);
    line.deposit = Money::fromString(QString::fromLatin1(deposit));
    line.due = QDate(2005, 11, 7);
    line.days = 1;
    return line;
}

QList<LendDocumentLine> Lines(const QList<qint64> &videos)
{
    QList<LendDocumentLine> lines;
    for (qint64 video : videos)
        lines << Line(video);
    return lines;
}

} // namespace

Q_DECLARE_METATYPE(LendDocumentLine)

class TestLendStore : public QObject {
    Q_OBJECT

private slots:
    void init();
    void documentNumbers_data() { AddEngineRows(); }
    void documentNumbers();
    void refusalsWriteNothing_data();
    void refusalsWriteNothing();
    void twoDesksLendOneVideoAtOnce_data() { AddEngineRows(); }
    void twoDesksLendOneVideoAtOnce();
};

void TestLendStore::init()
{
    SetUserName(QStringLiteral("sa"));
}

void TestLendStore::documentNumbers()
{
    OPEN_TEST_DATABASE(db);
    AddLendCustomer(1, QStringLiteral("Novák"), 2);
    for (qint64 video = 1; video <= 3; ++video)
        AddLendVideo(video, QStringLiteral("Video %1").arg(video));

    // The first document of an empty journal is 1; later ones the highest plus one, even
    // when lower numbers are free.
    LendWriteResult first = WriteLendDocument(1, Lines({1}));
    QCOMPARE(first.outcome, LendWriteResult::Written);
    QCOMPARE(first.document, qint64(1));
    Exec(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL) VALUES (7,0,1,1)"));
    LendWriteResult next = WriteLendDocument(1, Lines({2, 3}));
    QCOMPARE(next.outcome, LendWriteResult::Written);
    QCOMPARE(next.document, qint64(8));
    QCOMPARE(LendRows(QStringLiteral("SELECT DOKLAD_PUJ,VIDEO FROM tab_pujckydetail ORDER BY VIDEO")),
             QStringLiteral("1|1\n8|2\n8|3"));
    QCOMPARE(CustomerVideosOut(1), 3);
    QCOMPARE(ValueOf(QStringLiteral("SELECT PUJCKY FROM tab_zakaznik WHERE ZAKAZNIK=1")), qint64(3));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, MediumPrices(QStringLiteral("Betamax")));
}

void TestLendStore::refusalsWriteNothing_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::addColumn<qint64>("customer");
    QTest::addColumn<QList<LendDocumentLine>>("lines");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<qint64>("document");
    QTest::addColumn<qint64>("refusedVideo");

    // Video 3 is out with customer 2 (document 1); each lend below would be document 2.
    const std::pair<const char *, Engine> engines[] = {{"sqlite", Engine::SQLite}, {"postgres", Engine::PostgreSQL}};
    for (const auto &[name, engine] : engines) {
        QTest::addRow("%s: no such customer", name)
            << engine << qint64(99) << Lines({1}) << int(LendWriteResult::CustomerMissing) << qint64(0) << qint64(0);
        QTest::addRow("%s: no such video", name)
            << engine << qint64(1) << Lines({1, 98}) << int(LendWriteResult::VideoMissing) << qint64(2) << qint64(98);
        QTest::addRow("%s: video out with another customer", name)
            << engine << qint64(1) << Lines({1, 3}) << int(LendWriteResult::VideoOut) << qint64(2) << qint64(3);
        QTest::addRow("%s: one video twice", name)
            << engine << qint64(1) << Lines({1, 2, 1}) << int(LendWriteResult::VideoOut) << qint64(2) << qint64(1);
        QTest::addRow("%s: a line the server refuses", name)
            << engine << qint64(1) << QList<LendDocumentLine>{Line(1), Line(2, "999999")}
            << int(LendWriteResult::Failed) << qint64(2) << qint64(2);
    }
}

void TestLendStore::refusalsWriteNothing()
{
    QFETCH(qint64, customer);
    QFETCH(QList<LendDocumentLine>, lines);
    QFETCH(int, outcome);
    QFETCH(qint64, document);
    QFETCH(qint64, refusedVideo);
    OPEN_TEST_DATABASE(db);
    AddLendCustomer(1, QStringLiteral("Novák"), 2);
    AddLendCustomer(2, QStringLiteral("Svoboda"), 2);
    for (qint64 video = 1; video <= 3; ++video)
        AddLendVideo(video, QStringLiteral("Video %1").arg(video));
    QVERIFY(WriteLendDocument(2, Lines({3})).written());
    const QString before = LendTables();

    QStringList stages;
    LendWriteProgress progress;
    progress.line = [&](int position) { stages << QString::number(position); };
    progress.commit = [&] { stages << QStringLiteral("commit"); };
    progress.rollback = [&] { stages << QStringLiteral("rollback"); };
    const LendWriteResult result = WriteLendDocument(customer, lines, progress);

    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(result.document, document);
    QCOMPARE(result.line.video, refusedVideo);
    QCOMPARE(result.error.isEmpty(), outcome != LendWriteResult::Failed);
    QCOMPARE(stages.last(), QStringLiteral("rollback"));
    QCOMPARE(LendTables(), before);
    // The desk goes on: the next lend is written as document 2.
    const LendWriteResult next = WriteLendDocument(1, Lines({2}));
    QVERIFY2(next.written(), qPrintable(next.error));
    QCOMPARE(next.document, qint64(2));
}

void TestLendStore::twoDesksLendOneVideoAtOnce()
{
    OPEN_TEST_DATABASE(db);
    // Each round both desks lend their own video and the same second one: one desk wins,
    // the other must be refused at the shared video with its own line gone too.
    constexpr int Rounds = 20;
    AddLendCustomer(1, QStringLiteral("Novák"), 2);
    AddLendCustomer(2, QStringLiteral("Svoboda"), 2);
    for (qint64 video = 1; video <= 3 * Rounds; ++video)
        AddLendVideo(video, QStringLiteral("Video %1").arg(video));

    LendDeskProcess first(db.serverName(), db.databaseName(), db.password());
    LendDeskProcess second(db.serverName(), db.databaseName(), db.password());
    QString error;
    QVERIFY2(first.start(&error), qPrintable(error));
    QVERIFY2(second.start(&error), qPrintable(error));

    QList<qint64> written;
    for (int round = 0; round < Rounds; ++round) {
        const qint64 shared = 3 * round + 3;
        {
            // This desk holds the journal while both desks start their lends, so that both
            // are inside them when it lets go.
            DeskTransaction hold(DeskTransaction::JournalLock);
            first.lend(1, {3 * round + 1, shared});
            second.lend(2, {3 * round + 2, shared});
            QThread::msleep(40);
        }
        const QStringList replies{first.reply(), second.reply()};
        const QStringList won = replies.filter(QRegularExpression(QStringLiteral("^written ")));
        const QStringList lost = replies.filter(QRegularExpression(QStringLiteral("^refused video-out \\d+ %1$").arg(shared)));
        QVERIFY2(won.size() == 1 && lost.size() == 1, qPrintable(replies.join(QStringLiteral(" / "))));
        written << won.first().section(QLatin1Char(' '), 1).toLongLong();
    }

    // Every document whole, its numbers 1, 2, 3 … as they were written, each shared video
    // out once, and the counters equal to the lines.
    QList<qint64> numbers;
    for (qint64 n = 1; n <= Rounds; ++n)
        numbers << n;
    QCOMPARE(written, numbers);
    QCOMPARE(ValueOf(QStringLiteral("SELECT COUNT(*) FROM tab_pujcky")), qint64(Rounds));
    QCOMPARE(LendRows(QStringLiteral("SELECT COUNT(*) FROM tab_pujcky p WHERE (SELECT COUNT(*) FROM "
                                     "tab_pujckydetail d WHERE d.DOKLAD_PUJ=p.DOKLAD AND d.ZAKAZNIK=p.ZAKAZNIK)<>2")),
             QStringLiteral("0"));
    QCOMPARE(ValueOf(QStringLiteral("SELECT COUNT(*) FROM tab_pujckydetail")), qint64(2 * Rounds));
    QCOMPARE(LendRows(QStringLiteral("SELECT VIDEO FROM tab_pujckydetail GROUP BY VIDEO HAVING COUNT(*)>1")),
             QString());
    QCOMPARE(LendRows(QStringLiteral("SELECT COUNT(*) FROM tab_pujckydetail WHERE VIDEO % 3=0")),
             QString::number(Rounds));
    QCOMPARE(LendRows(QStringLiteral("SELECT COUNT(*) FROM tab_zakaznik z WHERE PUJCKY<>(SELECT COUNT(*) FROM "
                                     "tab_pujckydetail d WHERE d.ZAKAZNIK=z.ZAKAZNIK)")),
             QStringLiteral("0"));
    QCOMPARE(LendRows(QStringLiteral("SELECT COUNT(*) FROM tab_video v WHERE VYPUJCENA<>(SELECT COUNT(*) FROM "
                                     "tab_pujckydetail d WHERE d.VIDEO=v.VIDEO)")),
             QStringLiteral("0"));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (const std::optional<int> desk = RunAsLendDesk())
        return *desk;
    TestLendStore test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lendstore.moc"
