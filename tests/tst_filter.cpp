// The free filter: a WHERE part typed as SQL runs as one statement that only reads (a
// second statement or a write is refused and leaves the list unfiltered), filter files
// keep the text in UTF-8 with CR LF and read the Windows-1250 files of old, and the
// dialog applies, clears, opens and saves.
#include "catalogue/CustomerStore.h"
#include "catalogue/FilterRules.h"
#include "catalogue/FilterStore.h"
#include "catalogue/UFilter.h"
#include "core/Errors.h"
#include "core/RunGlobals.h"
#include "core/Texts.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/SqlServer.h"
#include "rental/LendsStore.h"
#include "support/ModalAnswers.h"
#include "support/TestDatabase.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {

#define OPEN_DATABASE()                                                                                      \
    QFETCH(Engine, engine);                                                                                   \
    TestDatabase database(engine);                                                                            \
    QVERIFY2(database.isReady(), qPrintable(database.error()))

void addCustomer(qint64 number, const QString &name)
{
    SetCommand(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO) VALUES (:ZAKAZNIK,:JMENO)"));
    SetCommandParam(QStringLiteral("ZAKAZNIK"), number);
    SetCommandParam(QStringLiteral("JMENO"), name);
    ExecCommand();
}

void addCustomers()
{
    addCustomer(1, QStringLiteral("Novák"));
    addCustomer(2, QStringLiteral("Dvořák"));
    addCustomer(3, QStringLiteral("Nováková"));
}

QStringList customerNames()
{
    SetCommand(QStringLiteral("SELECT JMENO FROM tab_zakaznik ORDER BY ZAKAZNIK"));
    QSqlQuery q = ExecCommandRecordset();
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QList<qint64> keys(const DataSet &list)
{
    QList<qint64> out;
    for (int row = 0; row < list.recordCount(); ++row)
        out << list.valueAt(row, 0).toLongLong();
    return out;
}

const QString CustomerSelect = QStringLiteral(
    "SELECT\nZAKAZNIK,\nJMENO,\nTELEFON,\nADRESA1,\nADRESA2,\nRC,\nOP,\nREGISTRACE,\nCASE\n"
    " WHEN OMEZENI=0 THEN '!'\n WHEN OMEZENI=1 THEN '$'\n WHEN OMEZENI=2 THEN '-'\n"
    " WHEN OMEZENI=3 THEN '+'\nEND AS OMEZENI,\nPUJCKY,\nTEXT\nFROM tab_zakaznik\n");
const QString CustomerOrder = QStringLiteral("ORDER BY tab_zakaznik.ZAKAZNIK\n");

} // namespace

class TestFilter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void separator_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("separator");
        QTest::newRow("none") << "WHERE JMENO LIKE 'N%'\nAND ZAKAZNIK>1\n" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("in a text") << "WHERE JMENO='a;b'\n" << false;
        QTest::newRow("after a doubled quote") << "WHERE JMENO='O''Neil; x'\n" << false;
        QTest::newRow("in a name") << "WHERE \"a;b\"=1\n" << false;
        QTest::newRow("second statement") << "WHERE 1=1;\nDELETE FROM tab_zakaznik\n" << true;
        QTest::newRow("after a text") << "WHERE JMENO='x'; DELETE FROM tab_zakaznik\n" << true;
        QTest::newRow("in a comment") << "WHERE 1=1 -- a; b\n" << true;
        QTest::newRow("quote in a comment") << "WHERE 1=1 -- it's\n; DELETE FROM tab_zakaznik --'\n" << true;
        QTest::newRow("quote in a block comment") << "WHERE 1=1 /* ' */ ; DELETE FROM tab_video\n" << true;
    }
    void separator()
    {
        QFETCH(QString, sql);
        QFETCH(bool, separator);
        QCOMPARE(HasStatementSeparator(sql), separator);
    }

    // Saved as UTF-8 lines ended by CR LF, read back to the same text; a file of the
    // Windows desks (Windows-1250, maybe without a final line end) reads too.
    void filterFiles()
    {
        const QString memo = QStringLiteral("WHERE tab_zakaznik.JMENO LIKE 'Žluťoučký%'\nAND tab_zakaznik.ZAKAZNIK>=1\n");
        const QByteArray bytes = FilterFileBytes(memo);
        QCOMPARE(bytes, QStringLiteral("WHERE tab_zakaznik.JMENO LIKE 'Žluťoučký%'\r\nAND tab_zakaznik.ZAKAZNIK>=1\r\n").toUtf8());
        QCOMPARE(FilterFileText(bytes), memo);
        // A memo without its final line break is saved with one.
        QCOMPARE(FilterFileBytes(QStringLiteral("WHERE 1=1")), QByteArray("WHERE 1=1\r\n"));

        const QByteArray old = *EncodeWindows1250(QStringLiteral("WHERE JMENO LIKE 'Řehoř%'\r\nAND OP='ČŠ'"));
        QCOMPARE(FilterFileText(old), QStringLiteral("WHERE JMENO LIKE 'Řehoř%'\nAND OP='ČŠ'\n"));
        QCOMPARE(FilterFileText(QByteArray()), QString());
    }

    // While the guard lives the connection only reads; afterwards it writes again, and
    // a refused statement inside does not leave the connection unusable.
    void readOnlyStatements_data() { AddEngineRows(); }
    void readOnlyStatements()
    {
        OPEN_DATABASE();
        QTest::failOnWarning(QRegularExpression(QStringLiteral("Unable to free statement")));
        {
            ReadOnlyStatements readOnly;
            QVERIFY_THROWS_EXCEPTION(EDatabaseError, addCustomer(1, QStringLiteral("Novák")));
            SetCommand(QStringLiteral("SELECT COUNT(*) FROM tab_zakaznik"));
            QCOMPARE(ExecCommandValue().toInt(), 0);
        }
        addCustomer(1, QStringLiteral("Novák"));
        QCOMPARE(customerNames(), QStringList{QStringLiteral("Novák")});
    }

    // A text that reads is applied on the first row; the list keeps its order.
    void applyReads_data() { AddEngineRows(); }
    void applyReads()
    {
        OPEN_DATABASE();
        addCustomers();
        BrowseQuery list;
        list.setSql(CustomerListSql());
        list.open();
        list.last();
        QVERIFY(ApplyFreeFilter(list, CustomerSelect, QStringLiteral("WHERE JMENO LIKE 'Nov%'\nAND ZAKAZNIK>0\n"),
                                CustomerOrder));
        QCOMPARE(list.sqlText(), CustomerSelect + "WHERE JMENO LIKE 'Nov%'\nAND ZAKAZNIK>0\n" + CustomerOrder);
        QCOMPARE(keys(list), (QList<qint64>{1, 3}));
        QCOMPARE(list.currentRow(), 0);
        // The empty text removes the filter.
        QVERIFY(ApplyFreeFilter(list, CustomerSelect, QString(), CustomerOrder));
        QCOMPARE(keys(list), (QList<qint64>{1, 2, 3}));
        // The connection writes again afterwards.
        addCustomer(4, QStringLiteral("Zeman"));
    }

    // Second statements, writes and texts the server refuses change nothing and
    // leave the list open without any filter.
    void applyRefused_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("where");
        const QList<std::pair<const char *, QString>> texts = {
            {"second statement", "WHERE 1=1;\nDELETE FROM tab_zakaznik\n"},
            {"statement after the order", "WHERE 1=1\nORDER BY 1; UPDATE tab_zakaznik SET JMENO='x'\n"},
            {"write in a nested statement",
             "WHERE ZAKAZNIK IN (WITH d AS (DELETE FROM tab_zakaznik RETURNING ZAKAZNIK) SELECT ZAKAZNIK FROM d)\n"},
            {"no WHERE", "tab_zakaznik.ZAKAZNIK=1\n"},
            {"unknown column", "WHERE NENI=1\n"},
        };
        for (const auto &[tag, where] : texts) {
            QTest::newRow(qPrintable(QStringLiteral("sqlite-%1").arg(tag))) << Engine::SQLite << where;
            QTest::newRow(qPrintable(QStringLiteral("postgres-%1").arg(tag))) << Engine::PostgreSQL << where;
        }
        // A function that writes: refused by the read-only transaction.
        QTest::newRow("postgres-sequence") << Engine::PostgreSQL
                                           << QStringLiteral("WHERE nextval('tab_nosic_id_nosic_seq')>0\n");
    }
    void applyRefused()
    {
        QFETCH(QString, where);
        OPEN_DATABASE();
        addCustomers();
        QTest::failOnWarning(QRegularExpression(QStringLiteral("Unable to free statement")));
        const auto sequence = [&] {
            if (engine != Engine::PostgreSQL)
                return 0;
            SetCommand(QStringLiteral("SELECT last_value FROM tab_nosic_id_nosic_seq"));
            return ExecCommandValue().toInt();
        };
        const int before = sequence();
        BrowseQuery list;
        list.setSql(CustomerListSql());
        list.open();
        QVERIFY(!ApplyFreeFilter(list, CustomerSelect, where, CustomerOrder));
        QVERIFY(list.isOpen());
        QCOMPARE(list.sqlText(), CustomerSelect + CustomerOrder);
        QCOMPARE(keys(list), (QList<qint64>{1, 2, 3}));
        QCOMPARE(customerNames(), (QStringList{"Novák", "Dvořák", "Nováková"}));
        QCOMPARE(sequence(), before);
        addCustomer(4, QStringLiteral("Zeman")); // the connection writes again
    }

    // The dialog: the memo shows the WHERE part as the page built it; "Použít" applies
    // the edited text and refreshes the counts; a refused text warns and the list
    // shows every row; "Vymazat" empties the memo and applies nothing.
    void dialogApplies_data() { AddEngineRows(); }
    void dialogApplies()
    {
        OPEN_DATABASE();
        addCustomers();
        BrowseQuery list;
        list.setSql(CustomerListSql());
        list.setSqlText(CustomerSelect + "WHERE tab_zakaznik.ZAKAZNIK>=1\nAND tab_zakaznik.JMENO LIKE 'N%'\n"
                        + CustomerOrder);
        list.open();
        int counts = 0;
        TFormFilter filter(list, [&] { ++counts; });
        filter.show();
        QCOMPARE(filter.windowTitle(), QStringLiteral(" Filtr"));
        QCOMPARE(filter.SQLMemo->toPlainText(),
                 QStringLiteral("WHERE tab_zakaznik.ZAKAZNIK>=1\nAND tab_zakaznik.JMENO LIKE 'N%'\n"));

        filter.SQLMemo->setPlainText(QStringLiteral("WHERE tab_zakaznik.JMENO='Dvořák'\n"));
        QTest::mouseClick(filter.ButtonApply, Qt::LeftButton);
        QCOMPARE(keys(list), QList<qint64>{2});
        QCOMPARE(counts, 1);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

        {
            ModalAnswers answers({ClickButton(QStringLiteral("ButtonOk"))});
            filter.SQLMemo->setPlainText(QStringLiteral("WHERE 1=1;\nDELETE FROM tab_zakaznik\n"));
            QTest::mouseClick(filter.ButtonApply, Qt::LeftButton);
            QCOMPARE(answers.shown().size(), 1);
            QCOMPARE(answers.shown().at(0).caption, QStringLiteral(" Upozornění"));
            QCOMPARE(answers.shown().at(0).text, QStringLiteral("Chyba při filtrování databáze..."));
            QCOMPARE(answers.shown().at(0).detail, QStringLiteral("Specifikace není k dispozici"));
        }
        QCOMPARE(keys(list), (QList<qint64>{1, 2, 3}));
        QCOMPARE(counts, 2);
        QCOMPARE(filter.SQLMemo->toPlainText(), QStringLiteral("WHERE 1=1;\nDELETE FROM tab_zakaznik\n"));

        QTest::mouseClick(filter.ButtonClear, Qt::LeftButton);
        QVERIFY(filter.SQLMemo->toPlainText().isEmpty());
        QCOMPARE(counts, 2);

        // Tab leaves the memo for the buttons rather than typing a tab.
        filter.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&filter));
        filter.SQLMemo->setFocus();
        QTest::keyClick(filter.SQLMemo, Qt::Key_Tab);
        QVERIFY(filter.SQLMemo->toPlainText().isEmpty());
        QCOMPARE(QApplication::focusWidget(), filter.ButtonApply);
    }

    // A filter saved from the customer list opens in the journal's dialog and is applied
    // to the journal; both dialogs start in the program's folder; a cancelled dialog
    // changes nothing; a file that cannot be read leaves the memo as it was.
    void dialogFiles_data() { AddEngineRows(); }
    void dialogFiles()
    {
        OPEN_DATABASE();
        SetProgramDir(database.scratchDir());
        BrowseQuery customers;
        customers.setSql(CustomerListSql());
        customers.open();
        const QString file = database.scratchDir() + "/Doklady.txt";
        const QString text = QStringLiteral("WHERE tab_pujcky.DOKLAD>=2\n");
        {
            TFormFilter filter(customers, {});
            filter.show();
            filter.SQLMemo->setPlainText(text);
            FileDialogSeen seen;
            ModalAnswers answers({ChooseFile(file, &seen)});
            QTest::mouseClick(filter.ButtonSave, Qt::LeftButton);
            QCOMPARE(seen.title, QStringLiteral("Uložit Filtr"));
            QCOMPARE(filter.SaveDialog->directory().absolutePath(), database.scratchDir());
            QCOMPARE(filter.SaveDialog->nameFilters(), QStringList{QStringLiteral("Filtr (*.txt)")});
            QCOMPARE(ReadBytes(file), QByteArray("WHERE tab_pujcky.DOKLAD>=2\r\n"));
        }

        SetCommand(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL) VALUES (1,1,1,1)"));
        ExecCommand();
        SetCommand(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL) VALUES (2,1,1,1)"));
        ExecCommand();
        BrowseQuery lends;
        lends.setSql(LendsSql(CurrentServer()->dialect()));
        lends.open();
        TFormFilter filter(lends, {});
        filter.show();
        QVERIFY(filter.SQLMemo->toPlainText().isEmpty());
        {
            ModalAnswers answers({Reject()});
            QTest::mouseClick(filter.ButtonOpen, Qt::LeftButton);
            QVERIFY(filter.SQLMemo->toPlainText().isEmpty());
        }
        {
            FileDialogSeen seen;
            ModalAnswers answers({ChooseFile(file, &seen)});
            QTest::mouseClick(filter.ButtonOpen, Qt::LeftButton);
            QCOMPARE(seen.title, QStringLiteral("Otevřít Filtr"));
            QCOMPARE(filter.SQLMemo->toPlainText(), text);
        }
        QCOMPARE(keys(lends), (QList<qint64>{1, 2})); // nothing applied yet
        QTest::mouseClick(filter.ButtonApply, Qt::LeftButton);
        QCOMPARE(keys(lends), QList<qint64>{2});

        // A file that went away meanwhile: the error is reported, the memo stays.
        {
            ModalAnswers answers({ChooseFile(database.scratchDir() + "/Neni.txt"), Accept()});
            filter.OpenDialog->setFileMode(QFileDialog::AnyFile);
            QTest::mouseClick(filter.ButtonOpen, Qt::LeftButton);
            QCOMPARE(answers.shown().value(1).caption, QStringLiteral(" Upozornění"));
        }
        QCOMPARE(filter.SQLMemo->toPlainText(), text);
    }
};

QTEST_MAIN(TestFilter)
#include "tst_filter.moc"
