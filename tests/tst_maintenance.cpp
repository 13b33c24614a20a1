#include "core/database/Commands.h"
#include "core/FormStorage.h"
#include "core/IniFile.h"
#include "core/database/SqlServer.h"
#include "core/UDatabase.h"
#include "support/ModalAnswers.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString label(const char *name)
{
    auto *l = FormDatabase->findChild<QLabel *>(QLatin1String(name));
    return l ? l->text() : QStringLiteral("(none)");
}

QStringList counts()
{
    return {label("LabelCustomerValue"), label("LabelVideoValue"), label("LabelVoucherValue"),
            label("LabelHistoryValue")};
}

} // namespace

class TestMaintenance : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_oldDir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        m_oldDir = QDir::currentPath();
        // The form-state file lives in the working folder.
        QVERIFY(QDir::setCurrent(m_work.path()));
    }
    void cleanupTestCase() { QDir::setCurrent(m_oldDir); }
    void init()
    {
        QFile::remove(FormStateFileName());
        FormDatabase = new TFormDatabase;
        FormDatabase->RestoreStoredValues();
    }
    void cleanup()
    {
        delete FormDatabase;
        FormDatabase = nullptr;
    }

    // Each showing fills the sizes and the four row counts anew.
    void statistics_data() { AddEngineRows(); }
    void statistics()
    {
        OPEN_TEST_DATABASE(db);
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (1, 'Novák')");
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (2, 'Čapek')");
        Exec("INSERT INTO tab_video (VIDEO, TITUL, ZAMERENI, NOSIC) SELECT 5, 'Film', MIN(ID_ZAMERENI), "
             "(SELECT MIN(ID_NOSIC) FROM tab_nosic) FROM tab_zamereni");
        Exec("INSERT INTO tab_pujcky (DOKLAD, ZAKAZNIK, UZIVATEL) SELECT 1, 1, MIN(ID_UZIVATEL) FROM tab_uzivatel");
        Exec("INSERT INTO tab_pujckydetail (DOKLAD_PUJ, VIDEO, ZAKAZNIK) VALUES (1, 5, 1)");

        FormDatabase->show();
        QCOMPARE(counts(), (QStringList{"2", "1", "1", "1"}));
        const FileStats sizes = CurrentServer()->fileStats();
        QVERIFY(sizes.allocated >= 1024);
        QCOMPARE(label("LabelAlocateValue"), QString("%1 KB").arg(sizes.allocated / 1024));
        QCOMPARE(label("LabelUsedValue"), QString("%1 KB").arg(sizes.used / 1024));
        QCOMPARE(label("LabelAlocate"), QString("Databáze má alokováno:"));
        FormDatabase->hide();

        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (3, 'Dvořák')");
        Exec("DELETE FROM tab_pujckydetail");
        FormDatabase->show();
        QCOMPARE(counts(), (QStringList{"3", "1", "1", "0"}));
        FormDatabase->hide();
    }

    // A statistics statement that fails is reported; the labels keep what they showed.
    void failingStatistics_data() { AddEngineRows(); }
    void failingStatistics()
    {
        OPEN_TEST_DATABASE(db);
        FormDatabase->show();
        FormDatabase->hide();
        const QStringList before = counts();
        QCOMPARE(before, (QStringList{"0", "0", "0", "0"}));
        CurrentServer()->close();
        {
            ModalAnswers answers({Accept()});
            FormDatabase->show();
            QCOMPARE(answers.shown().at(0).caption, QString(" Upozornění"));
        }
        QCOMPARE(counts(), before);
        FormDatabase->hide();
    }

    // Storno and Esc bring back the stored start-up options, Ok keeps and stores them;
    // the days edit is enabled with its check box.
    void cancelRestoresStored_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("kept");
        for (const char *how : {"Storno", "Storno, nothing stored yet", "Esc", "Ok"}) {
            QTest::newRow(qPrintable(QString("sqlite %1").arg(how))) << Engine::SQLite << QString(how) << (QString(how) == "Ok");
            QTest::newRow(qPrintable(QString("postgres %1").arg(how))) << Engine::PostgreSQL << QString(how) << (QString(how) == "Ok");
        }
    }
    void cancelRestoresStored()
    {
        QFETCH(QString, how);
        QFETCH(bool, kept);
        OPEN_TEST_DATABASE(db);
        FormDatabase->CheckBoxReindex->setChecked(true);
        FormDatabase->CheckBoxTransLog->setChecked(false);
        FormDatabase->CheckBoxLends->setChecked(true);
        FormDatabase->IntegerEditLends->SetValue(30);
        if (!how.contains("nothing stored")) {
            FormDatabase->FormStorage.Save();
            IniFile ini(FormStateFileName());
            ini.load();
            QCOMPARE(ini.readString("Database", "IntegerEditLends_Value", {}), QString("30"));
        }

        Answer close = how == "Ok" ? ClickButton("ButtonOk") : how == "Esc" ? PressKey(Qt::Key_Escape)
                                                                            : ClickButton("ButtonCancel");
        ModalAnswers answers({Fill(
            [](QDialog *) {
                QVERIFY(FormDatabase->IntegerEditLends->isEnabled());
                FormDatabase->CheckBoxReindex->setChecked(false);
                FormDatabase->CheckBoxTransLog->setChecked(true);
                FormDatabase->CheckBoxLends->setChecked(false);
                QVERIFY(!FormDatabase->IntegerEditLends->isEnabled());
                FormDatabase->IntegerEditLends->SetValue(365);
            },
            close)});
        ExecModal(FormDatabase);
        QCOMPARE(FormDatabase->CheckBoxReindex->isChecked(), !kept);
        QCOMPARE(FormDatabase->CheckBoxTransLog->isChecked(), kept);
        QCOMPARE(FormDatabase->CheckBoxLends->isChecked(), !kept);
        QCOMPARE(FormDatabase->IntegerEditLends->isEnabled(), !kept);
        QCOMPARE(FormDatabase->IntegerEditLends->Value(), kept ? 365 : 30);
        // The next start-up reads what is in force now.
        TFormDatabase next;
        next.RestoreStoredValues();
        QCOMPARE(next.IntegerEditLends->Value(), kept ? 365 : 30);
        QCOMPARE(next.CheckBoxLends->isChecked(), !kept);
        QCOMPARE(next.IntegerEditLends->isEnabled(), !kept);
    }
};

QTEST_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
