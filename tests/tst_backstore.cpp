// What a return writes, on both engines: into the takings (a return document, the lend lines
// closed with it) and out of them (no document), the days over of a table of due dates, the
// lend's fees and the lend counters left alone; a return refused because a video was returned
// or removed elsewhere meanwhile, or because the database refuses a statement, leaves nothing
// behind; and one lend returned at two desks (two processes) at the same moment, many times
// over: one return, one refusal, nothing half-written.
#include "core/database/Commands.h"
#include "core/database/BrowseQuery.h"
#include "core/database/SqlServer.h"
#include "rental/BackBasket.h"
#include "rental/BackStore.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"
#include "support/TestLends.h"
#include "support/TestShop.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTextStream>
#include <cstdio>

namespace {

Money Kc(const char *text)
{
    return Money::fromString(QString::fromLatin1(text));
}

// Monday 7 November 2005 in a shop closed on Sundays and on Wednesday 2 November.
const QDate RunDay(2005, 11, 7);
const QDateTime Clock(RunDay, QTime(16, 42, 31));
RentalSettings Shop()
{
    return TestShop({7}, {QDate(2005, 11, 2)});
}

// Customer 1 has videos 1 to 5 out from document 1, due on the dates of the table below;
// customer 2 has video 6 out from document 2.
void LendDueDates()
{
    AddTestCustomer(1, QStringLiteral("Novák"));
    AddTestCustomer(2, QStringLiteral("Svoboda"));
    for (int video = 1; video <= 6; ++video)
        AddTestVideo(video, QStringLiteral("Film %1").arg(video));
    const QDateTime lent(QDate(2005, 10, 29), QTime(10, 15));
    auto line = [](qint64 video, const QDate &due) {
        return TestLentLine{video, due, 2, Kc("30"), Kc("12.5"), Kc("100")};
    };
    AddTestLend(1, 1, lent,
                {line(1, RunDay),                     // due today: 0
                 line(2, RunDay.addDays(-1)),         // due yesterday, a closed Sunday: Monday, 1
                 line(3, RunDay.addDays(-2)),         // due Saturday, before the closed Sunday: 1
                 line(4, RunDay.addDays(-7)),         // a week ago: Tue, Thu, Fri, Sat, Mon (Wed closed): 5
                 line(5, RunDay.addDays(2))});        // not yet due: 0
    AddTestLend(2, 2, lent, {line(6, RunDay.addDays(-3))});
}

// The return basket of a customer's lent videos, as the return page lists them.
QList<BackLine> ReturnBasket(qint64 customer)
{
    BrowseQuery lent;
    PrepareBackVideoQuery(lent);
    lent.setParameter(QStringLiteral("ZAKAZNIK"), customer);
    lent.open();
    TTableBack basket;
    for (int row = 0; row < lent.recordCount(); ++row)
        basket.appendLentLine(lent, row, Shop(), RunDay, Clock);
    QList<BackLine> lines;
    for (int row = 0; row < basket.recordCount(); ++row)
        lines << BackLine{basket.valueAt(row, 0).toLongLong(), basket.valueAt(row, 1).toString(),
                          basket.valueAt(row, basket.fieldIndex("VRACENO")).toDateTime(),
                          basket.valueAt(row, basket.fieldIndex("PRES")).toInt()};
    return lines;
}

QStringList Documents()
{
    return TestRows(QStringLiteral("SELECT DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL FROM tab_pujcky ORDER BY DOKLAD"));
}

QStringList Lines()
{
    return TestRows(QStringLiteral("SELECT DOKLAD_PUJ,DOKLAD_VRA,VIDEO,ZAKAZNIK,PUJCENA,ZDARMA,PUJCOVNE,VRATNE,"
                                   "ZALOHA,PUJCENO,VRATIT,DNY,VRACENO,PRES FROM tab_pujckydetail ORDER BY VIDEO,DOKLAD_PUJ"));
}

QStringList Counters()
{
    return TestRows(QStringLiteral("SELECT ZAKAZNIK,PUJCKY FROM tab_zakaznik ORDER BY ZAKAZNIK"))
        + TestRows(QStringLiteral("SELECT VIDEO,VYPUJCENA FROM tab_video ORDER BY VIDEO"));
}

// ---- The second desk: this program run with "--return-desk" ----------------------------

// Connected to the test's database, it returns the open line of video 1 of customer 1 on
// every "go <include>" line of its input and answers "Written", "Refused" or "Failed <why>".
int RunReturnDesk(const QStringList &args)
{
    SqlServer::setProgramDatabaseName(args.value(3));
    SetCurrentServer(SqlServer::create(args.value(1)));
    if (!CurrentServer()->open(QString::fromLatin1(SqlServer::ProgramDatabase), QStringLiteral("sa"), args.value(2))) {
        std::printf("Failed %s\n", qPrintable(CurrentServer()->errorText()));
        return 1;
    }
    QTextStream in(stdin);
    QString command;
    while (in.readLineInto(&command) && command.startsWith(QLatin1String("go"))) {
        const bool include = command.endsWith(QLatin1Char('1'));
        const BackWrite write = WriteReturn(1, {BackLine{1, QStringLiteral("Film 1"), Clock, 0}}, include,
                                            QStringLiteral("sa"));
        if (write.outcome == BackWrite::Written)
            std::printf("Written\n");
        else if (write.outcome == BackWrite::VideoNotLent)
            std::printf("Refused\n");
        else
            std::printf("Failed %d %s\n", int(write.outcome), qPrintable(write.error));
        std::fflush(stdout);
    }
    SetCurrentServer(nullptr);
    return 0;
}

} // namespace

class TestBackStore : public QObject {
    Q_OBJECT

private slots:
    void returnOfDueDates_data() { AddEngineFlagRows("include", "out-of-takings", "into-takings"); }
    void returnOfDueDates();
    void firstDocumentNumber_data() { AddEngineRows(); }
    void firstDocumentNumber();
    void refusedReturnLeavesNothing_data();
    void refusedReturnLeavesNothing();
    void twoDesksReturnOneLend_data() { AddEngineRows(); }
    void twoDesksReturnOneLend();
};

void TestBackStore::returnOfDueDates()
{
    QFETCH(bool, include);
    OPEN_TEST_DATABASE(db);
    LendDueDates();
    const QStringList counters = Counters();

    const QList<BackLine> lines = ReturnBasket(1);
    QCOMPARE(lines.size(), 5);
    QList<int> lineStages;
    QList<bool> endings;
    const BackWrite write = WriteReturn(1, lines, include, QStringLiteral("sa"),
                                        {[&](int line) { lineStages << line; }, [&](bool c) { endings << c; }});
    QCOMPARE(write.outcome, BackWrite::Written);
    QCOMPARE(lineStages, (QList<int>{1, 2, 3, 4, 5}));
    QCOMPARE(endings, QList<bool>{true});

    // Into the takings: return document 3 of customer 1 by "sa" (id 1); out of them, none.
    QStringList documents{"1|1|1|1", "2|1|2|1"};
    if (include) {
        QCOMPARE(write.document.toLongLong(), 3);
        documents << "3|0|1|1";
    } else {
        QVERIFY(write.document.isNull());
    }
    QCOMPARE(Documents(), documents);

    // Each line closed with the moment it came back (to the minute) and its days over; the
    // lend's fees, deposit and dates as they were. Customer 2's line stays out.
    const QString returned = include ? QStringLiteral("3") : QStringLiteral("NULL");
    auto closed = [&](int video, const char *due, int over) {
        return QStringLiteral("1|%1|%2|1|0|0|30.0000|12.5000|100.0000|2005-10-29 10:15|%3|2|2005-11-07 16:42|%4")
            .arg(returned).arg(video).arg(QLatin1String(due)).arg(over);
    };
    QCOMPARE(Lines(), (QStringList{closed(1, "2005-11-07 00:00", 0), closed(2, "2005-11-06 00:00", 1),
                                   closed(3, "2005-11-05 00:00", 1), closed(4, "2005-10-31 00:00", 5),
                                   closed(5, "2005-11-09 00:00", 0),
                                   "2|NULL|6|2|1|0|30.0000|12.5000|100.0000|2005-10-29 10:15|2005-11-04 00:00|2|NULL|NULL"}));
    // The late fees of the return: (1 + 1 + 5) × 12.50.
    QCOMPARE(TestRows(QStringLiteral("SELECT SUM(PRES*VRATNE) FROM tab_pujckydetail WHERE PUJCENA=0")),
             QStringList{"87.5000"});
    // A return counts no lend.
    QCOMPARE(Counters(), counters);
    QVERIFY(ReturnBasket(1).isEmpty());
}

void TestBackStore::firstDocumentNumber()
{
    OPEN_TEST_DATABASE(db);
    LendDueDates();
    // The journal's documents were cleaned away; their lines are still out.
    Exec(QStringLiteral("DELETE FROM tab_pujcky"));
    BackWrite write = WriteReturn(1, ReturnBasket(1).mid(0, 1), true, QStringLiteral("sa"));
    QCOMPARE(write.outcome, BackWrite::Written);
    QCOMPARE(write.document.toLongLong(), 1);
    // The highest plus one, whatever lower numbers are free.
    Exec(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL) VALUES (7,1,2,1)"));
    write = WriteReturn(1, ReturnBasket(1).mid(0, 1), true, QStringLiteral("sa"));
    QCOMPARE(write.document.toLongLong(), 8);
    // A return of nothing takes no number and writes no document.
    write = WriteReturn(1, {}, true, QStringLiteral("sa"));
    QCOMPARE(write.outcome, BackWrite::Failed);
    QVERIFY(write.document.isNull());
    SetCommand(QStringLiteral("SELECT MAX(DOKLAD) FROM tab_pujcky"));
    QCOMPARE(ExecCommandValue().toLongLong(), 8);
}

void TestBackStore::refusedReturnLeavesNothing_data()
{
    QTest::addColumn<Engine>("engine");
    QTest::addColumn<QString>("meanwhile"); // what happened after the basket was made
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("lastDaysOver"); // the last line's days over, when not as counted
    QTest::addColumn<int>("outcome");
    QTest::addColumn<qint64>("refused");
    const struct {
        const char *tag;
        const char *meanwhile;
        const char *user;
        int lastDaysOver;
        BackWrite::Outcome outcome;
        qint64 refused;
    } cases[] = {
        {"returned elsewhere", "UPDATE tab_pujckydetail SET PUJCENA=0 WHERE VIDEO=4", "sa", -1, BackWrite::VideoNotLent, 4},
        // Its line is closed and the video is out again, with another customer: not this
        // customer's line to close.
        {"relent to another customer",
         "UPDATE tab_pujckydetail SET PUJCENA=0 WHERE VIDEO=4;"
         "INSERT INTO tab_pujckydetail (DOKLAD_PUJ,VIDEO,ZAKAZNIK,PUJCOVNE,VRATNE,ZALOHA,VRATIT,DNY) "
         "VALUES (2,4,2,30,12.5,100,'2005-11-08 00:00:00',1)",
         "sa", -1, BackWrite::VideoNotLent, 4},
        {"removed from the catalogue", "DELETE FROM tab_video WHERE VIDEO=4", "sa", -1, BackWrite::VideoNotFound, 4},
        // The database refuses the document of a user who is none, and a line's days over
        // beyond the column's range.
        {"document refused by the database", "", "nikdo", -1, BackWrite::Failed, 0},
        {"line refused by the database", "", "sa", 40000, BackWrite::Failed, 0},
    };
    for (Engine engine : {Engine::SQLite, Engine::PostgreSQL})
        for (const auto &c : cases)
            QTest::addRow("%s-%s", engine == Engine::SQLite ? "sqlite" : "postgres", c.tag)
                << engine << QString::fromUtf8(c.meanwhile) << QString::fromLatin1(c.user) << c.lastDaysOver
                << int(c.outcome)
                << c.refused;
}

void TestBackStore::refusedReturnLeavesNothing()
{
    QFETCH(QString, meanwhile);
    QFETCH(QString, user);
    QFETCH(int, lastDaysOver);
    QFETCH(int, outcome);
    QFETCH(qint64, refused);
    // No warning either, such as a refused statement freed inside an aborted transaction.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    OPEN_TEST_DATABASE(db);
    LendDueDates();
    QList<BackLine> lines = ReturnBasket(1);
    if (lastDaysOver >= 0)
        lines.last().daysOver = lastDaysOver;
    for (const QString &statement : meanwhile.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        Exec(statement);
    const QStringList documents = Documents();
    const QStringList before = Lines();

    QList<bool> endings;
    const BackWrite write = WriteReturn(1, lines, true, user, {{}, [&](bool c) { endings << c; }});
    QCOMPARE(int(write.outcome), outcome);
    QCOMPARE(write.refused.video, refused);
    QCOMPARE(endings, QList<bool>{false});
    // The number taken before the refusal stays for the log; nothing of the return is left,
    // the lines closed before the refused one included.
    QCOMPARE(write.document.toLongLong(), 3);
    QCOMPARE(Documents(), documents);
    QCOMPARE(Lines(), before);
    if (write.outcome == BackWrite::Failed)
        QVERIFY(!write.error.isEmpty());
}

void TestBackStore::twoDesksReturnOneLend()
{
    OPEN_TEST_DATABASE(db);
    AddTestCustomer(1, QStringLiteral("Novák"));
    AddTestVideo(1, QStringLiteral("Film 1"));

    QProcess desks[2];
    for (QProcess &desk : desks) {
        desk.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        desk.start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--return-desk"), db.serverName(), db.password(), db.databaseName()});
        QVERIFY(desk.waitForStarted());
    }
    // Round by round the video is lent anew and both desks return it at once, into the
    // takings on every second round.
    constexpr int Rounds = 30;
    QList<int> included;
    for (int round = 1; round <= Rounds; ++round) {
        const qint64 lend = ValueOf(QStringLiteral("SELECT COALESCE(MAX(DOKLAD),0)+1 FROM tab_pujcky"));
        AddTestLend(lend, 1, Clock, {TestLentLine{1, RunDay, 1, Kc("30"), Kc("10"), Kc("50")}});
        const bool include = round % 2 == 0;
        for (QProcess &desk : desks)
            desk.write(include ? "go 1\n" : "go 0\n");
        QStringList answers;
        for (QProcess &desk : desks) {
            while (!desk.canReadLine())
                QVERIFY2(desk.waitForReadyRead(10000), "a desk did not answer");
            answers << QString::fromUtf8(desk.readLine()).trimmed();
        }
        answers.sort();
        QCOMPARE(answers, (QStringList{"Refused", "Written"}));
        // This round's line closed once, with its document when it went into the takings.
        QCOMPARE(TestRows(QStringLiteral("SELECT PUJCENA,CASE WHEN DOKLAD_VRA IS NULL THEN 1 ELSE 0 END "
                                         "FROM tab_pujckydetail WHERE DOKLAD_PUJ=%1")
                              .arg(lend)),
                 QStringList{include ? "0|0" : "0|1"});
        if (include)
            included << round;
    }
    for (QProcess &desk : desks) {
        desk.closeWriteChannel();
        QVERIFY(desk.waitForFinished(10000));
        QCOMPARE(desk.exitCode(), 0);
    }
    // Nothing half-written: nothing out, one return document per return into the takings,
    // each with exactly its one line.
    QCOMPARE(TestRows(QStringLiteral("SELECT COUNT(*) FROM tab_pujckydetail WHERE PUJCENA=1")), QStringList{"0"});
    QCOMPARE(TestRows(QStringLiteral("SELECT COUNT(*) FROM tab_pujcky WHERE OPERACE=0")),
             QStringList{QString::number(included.size())});
    QCOMPARE(TestRows(QStringLiteral("SELECT COUNT(*) FROM tab_pujcky WHERE OPERACE=0 AND 1<>(SELECT COUNT(*) "
                                     "FROM tab_pujckydetail WHERE DOKLAD_VRA=tab_pujcky.DOKLAD)")),
             QStringList{"0"});
}

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--return-desk") == 0) {
        QCoreApplication app(argc, argv);
        return RunReturnDesk(app.arguments().mid(1));
    }
    QApplication app(argc, argv);
    TestBackStore test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_backstore.moc"
