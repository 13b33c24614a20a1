#include "core/DeskTransaction.h"
#include "core/database/Errors.h"
#include "core/database/Commands.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"
#include "support/TestDatabase.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <atomic>

namespace {

const QString InsertDocument = QStringLiteral(
    "INSERT INTO tab_pujcky (DOKLAD, OPERACE, ZAKAZNIK, UZIVATEL) VALUES (:DOKLAD, 1, 1, 1)");
const QString NextDocument = QStringLiteral("SELECT COALESCE(MAX(DOKLAD),0)+1 FROM tab_pujcky");

void insertDocument(qint64 number)
{
    SetCommand(InsertDocument);
    SetCommandParam(QStringLiteral("DOKLAD"), number);
    ExecCommand();
}

QList<qint64> documents()
{
    SetCommand(QStringLiteral("SELECT DOKLAD FROM tab_pujcky ORDER BY DOKLAD"));
    QSqlQuery q = ExecCommandRecordset();
    QList<qint64> numbers;
    while (q.next())
        numbers << q.value(0).toLongLong();
    return numbers;
}

// Another desk, in a thread with its own connection: it takes the journal lock as a lend
// does and writes the document "the highest plus one".
class OtherDesk : public QThread {
public:
    OtherDesk(const TestDatabase &db, const QStringList &lock) : m_db(db), m_lock(lock) {}
    ~OtherDesk() override { wait(); }

    std::atomic<bool> asking{false};
    std::atomic<bool> locked{false};
    qint64 number = 0;
    QString error;

protected:
    void run() override
    {
        const QString name = QStringLiteral("other-desk");
        {
            QSqlDatabase other = m_db.openOtherDesk(name);
            if (other.isOpen())
                writeNextDocument(other);
            else
                error = other.lastError().text();
        }
        QSqlDatabase::removeDatabase(name);
    }

private:
    bool exec(QSqlQuery &q, const QString &text)
    {
        if (q.exec(text))
            return true;
        error = q.lastError().text();
        return false;
    }

    void writeNextDocument(QSqlDatabase &other)
    {
        asking = true;
        for (const QString &statement : m_lock) {
            QSqlQuery q(other);
            if (!exec(q, statement))
                return;
        }
        locked = true;
        QSqlQuery next(other);
        if (!exec(next, NextDocument) || !next.next())
            return;
        number = next.value(0).toLongLong();
        next.finish();
        QSqlQuery insert(other);
        insert.prepare(InsertDocument);
        insert.bindValue(QStringLiteral(":DOKLAD"), number);
        if (!insert.exec())
            error = insert.lastError().text();
        else if (!other.commit())
            error = other.lastError().text();
    }

    const TestDatabase &m_db;
    QStringList m_lock;
};

} // namespace

class TestDeskTransaction : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commitKeepsAndTheScopeRollsBack_data()
    {
        AddEngineFlagRows("journalLock", "plain", "journal-lock");
    }
    void commitKeepsAndTheScopeRollsBack()
    {
        QFETCH(bool, journalLock);
        // A refused statement's query is freed only after the rollback.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("Unable to free statement")));
        OPEN_TEST_DATABASE(db);
        const auto lock = journalLock ? DeskTransaction::JournalLock : DeskTransaction::NoLock;
        {
            DeskTransaction tx(lock);
            insertDocument(1);
            tx.commit();
            QVERIFY(!tx.active());
        }
        {
            DeskTransaction tx(lock);
            insertDocument(2);
        }
        QCOMPARE(documents(), QList<qint64>{1});
        {
            DeskTransaction tx(lock);
            insertDocument(3);
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, insertDocument(1));
        }
        QCOMPARE(documents(), QList<qint64>{1});
        // The connection goes on, outside any transaction.
        insertDocument(4);
        {
            DeskTransaction tx(lock);
            tx.rollback();
            QVERIFY(!tx.active());
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, tx.commit());
        }
        QCOMPARE(documents(), (QList<qint64>{1, 4}));
    }

    // Two desks never both take "the highest plus one": the second waits for the lock
    // until the first commits or rolls back, and then reads what the first left.
    void journalLockMakesTheOtherDeskWait_data() { AddEngineFlagRows("commit", "rollback", "commit"); }
    void journalLockMakesTheOtherDeskWait()
    {
        QFETCH(bool, commit);
        OPEN_TEST_DATABASE(db);
        insertDocument(1);
        OtherDesk other(db, CurrentServer()->dialect().journalLock());
        {
            DeskTransaction tx(DeskTransaction::JournalLock);
            SetCommand(NextDocument);
            const qint64 number = ExecCommandValue().toLongLong();
            QCOMPARE(number, 2);
            other.start();
            QTRY_VERIFY(other.asking);
            QThread::msleep(300);
            QVERIFY2(!other.locked, "the other desk took the lock while this one held it");
            insertDocument(number);
            if (commit)
                tx.commit();
        }
        QVERIFY(other.wait(10000));
        QCOMPARE(other.error, QString());
        QCOMPARE(other.number, commit ? 3 : 2);
        QCOMPARE(documents(), commit ? (QList<qint64>{1, 2, 3}) : (QList<qint64>{1, 2}));
    }
};

QTEST_MAIN(TestDeskTransaction)
#include "tst_desktransaction.moc"
