#include "core/Commands.h"

#include <QTest>

class TestCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void markers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("markers");
        QTest::newRow("plain") << "SELECT * FROM t WHERE A=:A AND B=:B_2" << QStringList{"A", "B_2"};
        QTest::newRow("quoted colon") << "SELECT ':X' FROM t WHERE A=:A" << QStringList{"A"};
        QTest::newRow("cast") << "SELECT x::text FROM t WHERE A=:A" << QStringList{"A"};
        QTest::newRow("repeated") << "SELECT :A, :A" << QStringList{"A"};
        QTest::newRow("time literal") << "SELECT '10:30' WHERE :Z=1" << QStringList{"Z"};
        QTest::newRow("none") << "SELECT 1" << QStringList{};
    }
    void markers()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, markers);
        QCOMPARE(CommandMarkers(text), markers);
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
