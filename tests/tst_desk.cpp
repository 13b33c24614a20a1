#include "core/Desk.h"

#include <QTest>
#include <QWidget>
#include <memory>

// The desk runs the answers to a change in the order of its subjects, whatever order the
// pages registered them in, and only the answers to the subjects the change names.
class TestDesk : public QObject {
    Q_OBJECT

private slots:
    void answersInTheSubjectsOrder_data()
    {
        QTest::addColumn<int>("subjects");
        QTest::addColumn<QStringList>("answered");
        QTest::newRow("lend") << int(DeskSubject::Document | DeskSubject::Customers | DeskSubject::Videos
                                     | DeskSubject::LentVideos | DeskSubject::LentLines)
                              << QStringList{"document:7", "customers", "videos", "lent", "cache"};
        QTest::newRow("return out of the takings")
            << int(DeskSubject::JournalLast | DeskSubject::Customers | DeskSubject::LentLines)
            << QStringList{"last", "customers", "cache"};
        QTest::newRow("customer changed") << int(DeskSubject::Videos | DeskSubject::LentVideos | DeskSubject::Journal)
                                          << QStringList{"videos", "lent", "journal"};
    }

    void answersInTheSubjectsOrder()
    {
        QFETCH(int, subjects);
        QFETCH(QStringList, answered);
        QWidget window;
        TDesk desk(&window);
        QStringList ran;
        const auto note = [&ran](const char *text) { return [&ran, text](const QVariant &) { ran << text; }; };
        // Registered in the order the main window builds its pages.
        desk.follow(DeskSubject::Customers, &window, note("customers"));
        desk.follow(DeskSubject::LentLines, &window, note("cache"));
        desk.follow(DeskSubject::Videos, &window, note("videos"));
        desk.follow(DeskSubject::LentVideos, &window, note("lent"));
        desk.follow(DeskSubject::Document, &window,
                    [&ran](const QVariant &key) { ran << QStringLiteral("document:%1").arg(key.toLongLong()); });
        desk.follow(DeskSubject::JournalLast, &window, note("last"));
        desk.follow(DeskSubject::Journal, &window, note("journal"));
        desk.announce(DeskSubjects(subjects), QVariant(qint64(7)));
        QCOMPARE(ran, answered);
    }

    void goneFollowerIsSkipped()
    {
        QWidget window;
        TDesk desk(&window);
        auto page = std::make_unique<QObject>();
        int answers = 0;
        desk.follow(DeskSubject::Videos, page.get(), [&answers](const QVariant &) { ++answers; });
        page.reset();
        desk.announce(DeskSubject::Videos);
        QCOMPARE(answers, 0);
    }
};

QTEST_MAIN(TestDesk)
#include "tst_desk.moc"
