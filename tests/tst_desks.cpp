// Several desks on one server, as a shop runs them: two processes of the whole program logged
// in to one database, driven by keys. Each sees what the other wrote once its lists are read
// again (the refresh button), and lends made at the same moment at both desks are all kept:
// each under a number of its own, a video wanted at both desks lent at one of them only.
#include "support/ClerkDesks.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"
#include "support/TestLends.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTest>

namespace {

// The document of a "written <document>" reply; 0 for any other reply.
qint64 Written(const QString &reply)
{
    static const QRegularExpression written(QStringLiteral("^written (\\d+)$"));
    const QRegularExpressionMatch match = written.match(reply);
    return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

const QStringList RefusedReplies{
    QStringLiteral("refused Video je půjčené... / Transakce půjčení skončila s chybou..."),
    QStringLiteral("refused Toto video je půjčeno..."),
};

} // namespace

class TestDesks : public QObject {
    Q_OBJECT

private slots:
    void twoDesksOnOneServer_data() { AddEngineRows(); }
    void twoDesksOnOneServer();
};

void TestDesks::twoDesksOnOneServer()
{
    OPEN_TEST_DATABASE(db);
    ClerkDeskProcess first(db);
    ClerkDeskProcess second(db);
    QString error;
    QVERIFY2(first.start(&error), qPrintable(error));
    QVERIFY2(second.start(&error), qPrintable(error));

    // Each desk adds a customer and videos; the first sees the second's only after a refresh.
    QCOMPARE(first.ask(QStringLiteral("customer 1 Novák Jan")), QStringLiteral("ok"));
    for (const char *video : {"video 1 Pelíšky", "video 2 Kolja", "video 3 Samotáři"})
        QCOMPARE(first.ask(QString::fromUtf8(video)), QStringLiteral("ok"));
    QCOMPARE(second.ask(QStringLiteral("customer 2 Svobodová Eva")), QStringLiteral("ok"));
    for (const char *video : {"video 4 Kolja", "video 5 Obecná škola", "video 6 Vesničko má středisková"})
        QCOMPARE(second.ask(QString::fromUtf8(video)), QStringLiteral("ok"));
    QCOMPARE(first.ask(QStringLiteral("customers")), QStringLiteral("1=Novák Jan"));
    QCOMPARE(first.ask(QStringLiteral("videos")), QStringLiteral("1:0,2:0,3:0"));
    QCOMPARE(first.ask(QStringLiteral("refresh")), QStringLiteral("ok"));
    QCOMPARE(first.ask(QStringLiteral("customers")), QStringLiteral("1=Novák Jan,2=Svobodová Eva"));
    QCOMPARE(first.ask(QStringLiteral("videos")), QStringLiteral("1:0,2:0,3:0,4:0,5:0,6:0"));

    // Lends at the same moment, of other videos and then of the same ones, round after round:
    // every lend written is kept under a number of its own, each video lent once.
    QList<qint64> documents;
    const std::pair<const char *, const char *> rounds[] = {
        {"lend 1 1 2", "lend 2 4 5"}, {"lend 1 3", "lend 2 3"}, {"lend 1 6", "lend 2 6"}};
    int refused = 0;
    for (const auto &[atFirst, atSecond] : rounds) {
        first.send(QString::fromLatin1(atFirst));
        second.send(QString::fromLatin1(atSecond));
        for (const QString &reply : {first.reply(60000), second.reply(60000)}) {
            if (const qint64 document = Written(reply))
                documents << document;
            else {
                // Refused at the write, or at the scan when the other lend was already written.
                QVERIFY2(RefusedReplies.contains(reply), qPrintable(reply));
                ++refused;
            }
        }
    }
    QCOMPARE(refused, 2);
    std::sort(documents.begin(), documents.end());
    QCOMPARE(documents, (QList<qint64>{1, 2, 3, 4}));

    // The database keeps each written lend whole; both desks' journals show all of them once
    // they are read again, the video lists each video out once.
    QCOMPARE(TestRows(QStringLiteral("SELECT COUNT(*),COUNT(DISTINCT VIDEO) FROM tab_pujckydetail WHERE PUJCENA=1")),
             QStringList{"6|6"});
    QCOMPARE(TestRows(QStringLiteral("SELECT COUNT(*) FROM tab_pujcky p WHERE NOT EXISTS "
                                     "(SELECT 1 FROM tab_pujckydetail d WHERE d.DOKLAD_PUJ=p.DOKLAD)")),
             QStringList{"0"});
    const QStringList journal = TestRows(QStringLiteral("SELECT DOKLAD,ZAKAZNIK FROM tab_pujcky ORDER BY DOKLAD"));
    QCOMPARE(journal.size(), 4);
    const QString shown = journal.join(u',').replace(u'|', u':');
    for (ClerkDeskProcess *desk : {&first, &second}) {
        QCOMPARE(desk->ask(QStringLiteral("refresh")), QStringLiteral("ok"));
        QCOMPARE(desk->ask(QStringLiteral("journal")), shown);
        QCOMPARE(desk->ask(QStringLiteral("videos")), QStringLiteral("1:1,2:1,3:1,4:1,5:1,6:1"));
    }
    QCOMPARE(TestRows(QStringLiteral("SELECT ZAKAZNIK,PUJCKY FROM tab_zakaznik z WHERE PUJCKY<>"
                                     "(SELECT COUNT(*) FROM tab_pujckydetail d WHERE d.ZAKAZNIK=z.ZAKAZNIK)")),
             QStringList());
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (const std::optional<int> desk = RunAsClerkDesk())
        return *desk;
    TestDesks test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desks.moc"
