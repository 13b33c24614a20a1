#include "core/database/Commands.h"
#include "core/database/Database.h"
#include "core/database/Errors.h"
#include "core/Log.h"
#include "core/database/FileLock.h"
#include "core/RunGlobals.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"
#include "core/UBackup.h"
#include "support/ModalAnswers.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"
#include "support/TestFiles.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

namespace {

// The log's lines without their time stamps.
QStringList logTexts()
{
    QStringList texts;
    for (const QString &line : MainLog()->Lines())
        texts << line.section(QLatin1Char(' '), 2);
    return texts;
}

// The texts of the wait windows shown meanwhile.
QStringList waitTexts(const ModalAnswers &answers)
{
    QStringList texts;
    for (const ShownWindow &w : answers.shown())
        if (w.caption == QStringLiteral(" Čekejte"))
            texts << w.detail;
    return texts;
}

// Customers first, first + 1, ... in one transaction, enough of them to make the data
// most of a backup.
void addCustomers(int first, int count)
{
    QVERIFY(CurrentConnection().transaction());
    for (int i = first; i < first + count; ++i) {
        SetCommand("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO, ADRESA1) VALUES (:Z, :J, :A)");
        SetCommandParam("Z", qint64(i));
        SetCommandParam("J", QStringLiteral("Zákazník %1").arg(i));
        // Little to compress: the data outweighs the rest of a backup.
        SetCommandParam("A", QString::fromLatin1(QCryptographicHash::hash(QByteArray::number(i), QCryptographicHash::Md5).toHex()));
        ExecCommand();
    }
    QVERIFY(CurrentConnection().commit());
}

// A column of the customers renamed, as another program's table of the same name would have it.
void renameColumn(const QString &from, const QString &to)
{
    QSqlQuery q(CurrentConnection()); // PostgreSQL cannot prepare it
    QVERIFY2(q.exec(QStringLiteral("ALTER TABLE tab_zakaznik RENAME COLUMN %1 TO %2").arg(from, to)),
             qPrintable(q.lastError().text()));
}

const QString BackupWait = QStringLiteral("Probíhá zálohování databáze...");
const QString VerifyWait = QStringLiteral("Probíhá verifikace databáze...");

// A server whose backups always succeed and whose verifications fail.
class UnverifiableServer : public SqlServer {
public:
    UnverifiableServer() : SqlServer(QStringLiteral("(fake)")) {}
    int backups = 0;
    bool open(const QString &, const QString &, const QString &) override { return false; }
    bool databaseExists() override { return true; }
    void dropDatabase() override {}
    void createDatabase() override {}
    void resetDatabase() override {}
    void reindex() override {}
    void truncateLog() override {}
    FileStats fileStats() override { return {}; }
    void backup(const QString &) override { ++backups; }
    bool verifyBackup(const QString &, QString *why) override { return failWith(why, QStringLiteral("damaged")); }
    void restore(const QString &) override { throw EDatabaseError(QStringLiteral("damaged")); }
    const SqlDialect &dialect() const override { return m_dialect; }

private:
    SqliteDialect m_dialect;
};

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_oldDir;
    TLog m_log;

    QCheckBox *check() { return FormBackup->CheckBoxBackupDay; }
    QLineEdit *edit() { return FormBackup->EditBackupPathDay; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        m_oldDir = QDir::currentPath();
        // The form-state file lives in the working folder.
        QVERIFY(QDir::setCurrent(m_work.path()));
        SetProgramDir(m_work.path());
        m_log.LogSave = false;
        SetMainLog(&m_log);
    }
    void cleanupTestCase()
    {
        SetMainLog(nullptr);
        SetClock({});
        QDir::setCurrent(m_oldDir);
    }
    void init()
    {
        QFile::remove(FormStateFileName());
        FormBackup = new TFormBackup;
        m_log.LimitLog(0);
    }
    void cleanup()
    {
        delete FormBackup;
        FormBackup = nullptr;
        SetClock({});
    }

    void dayNames_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("name");
        // 3 March 2024 is a Sunday.
        const char *names[] = {"Nedele", "Pondeli", "Utery", "Streda", "Ctvrtek", "Patek", "Sobota"};
        for (int i = 0; i < 7; ++i)
            QTest::newRow(names[i]) << QDate(2024, 3, 3 + i) << QString(names[i]);
    }
    void dayNames()
    {
        QFETCH(QDate, date);
        QFETCH(QString, name);
        QCOMPARE(BackupDayName(date), name);
    }

    // Closing on a Monday after a Sunday start: the clock's date names the file, the old
    // Monday file is replaced, verified and logged; the backup restores to the same rows.
    void dailyBackup_data() { AddEngineRows(); }
    void dailyBackup()
    {
        OPEN_TEST_DATABASE(db);
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (1, 'Novák')");
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (2, 'Čapek')");
        const QString saved = CustomerRows();
        const QString file = db.scratchDir() + "/Pondeli.bak";
        QVERIFY(WriteBytes(file, "last Monday's backup"));
        SetRunDate(QDate(2024, 3, 3));
        SetClock([] { return QDateTime(QDate(2024, 3, 4), QTime(0, 20)); });
        check()->setChecked(true);

        ModalAnswers answers;
        QVERIFY(DailyBackup(db.scratchDir() + "/")); // no second separator
        QCOMPARE(logTexts(), QStringList{"Zálohování [Denní] [" + file + "] [Ok]"});
        QCOMPARE(waitTexts(answers), (QStringList{BackupWait, VerifyWait}));
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(QDir(db.scratchDir()).entryList(QDir::Files), QStringList{"Pondeli.bak"});
        QVERIFY(ReadBytes(file) != "last Monday's backup");

        Exec("DELETE FROM tab_zakaznik WHERE ZAKAZNIK=1");
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (3, 'Dvořák')");
        QVERIFY(ConnectDatabase(db.serverName(), SqlServer::MasterDatabase, TestDatabase::user(), db.password()));
        QVERIFY(RestoreDatabase(file));
        QVERIFY(UseDatabase());
        QCOMPARE(CustomerRows(), saved);
    }

    // Switched off or without its folder the daily backup leaves no trace; a backup the
    // server cannot write logs "Error" and is not verified.
    void dailyBackupNotMade_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"off", "missing folder", "empty folder name", "backup fails"}) {
            QTest::newRow(qPrintable(QString("sqlite %1").arg(kind))) << Engine::SQLite << QString(kind);
            QTest::newRow(qPrintable(QString("postgres %1").arg(kind))) << Engine::PostgreSQL << QString(kind);
        }
    }
    void dailyBackupNotMade()
    {
        QFETCH(QString, kind);
        OPEN_TEST_DATABASE(db);
        SetClock([] { return QDateTime(QDate(2024, 3, 9), QTime(18, 0)); });
        check()->setChecked(kind != "off");
        QString folder = db.scratchDir();
        if (kind == "missing folder")
            folder += "/gone";
        else if (kind == "empty folder name")
            folder.clear();
        else if (kind == "backup fails") // the target is taken by a folder
            QVERIFY(QDir(folder).mkdir("Sobota.bak"));

        ModalAnswers answers;
        QVERIFY(!DailyBackup(folder));
        if (kind == "backup fails") {
            QCOMPARE(logTexts(), QStringList{"Zálohování [Denní] [" + folder + "/Sobota.bak] [Error]"});
            QCOMPARE(waitTexts(answers), QStringList{BackupWait});
        } else {
            QCOMPARE(logTexts(), QStringList());
            QCOMPARE(waitTexts(answers), QStringList());
        }
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(QDir(db.scratchDir()).entryList(QDir::Files), QStringList());
    }

    // A backup that was written but does not verify is an error too.
    void unverifiedBackupIsAnError()
    {
        SetCurrentServer(std::make_unique<UnverifiableServer>());
        auto *server = static_cast<UnverifiableServer *>(CurrentServer());
        check()->setChecked(true);
        SetClock([] { return QDateTime(QDate(2024, 3, 6), QTime(18, 0)); });
        ModalAnswers answers;
        QVERIFY(!DailyBackup(m_work.path()));
        QVERIFY(!BackupNow(m_work.path() + "/Now.bak"));
        QCOMPARE(server->backups, 2);
        QCOMPARE(logTexts(), (QStringList{"Zálohování [Denní] [" + m_work.path() + "/Streda.bak] [Error]",
                                          "Zálohování [Okamžité] [" + m_work.path() + "/Now.bak] [Error]"}));
        QCOMPARE(waitTexts(answers), (QStringList{BackupWait, VerifyWait, BackupWait, VerifyWait}));
        SetCurrentServer(nullptr);
    }

    // A file that is no backup of this program is refused and the database stays whole:
    // also one cut off in its data, and one whose tables have the program's names but
    // other columns.
    void restoreRefusesBadFiles_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"missing", "empty", "damaged", "text", "truncated", "other columns"}) {
            QTest::newRow(qPrintable(QString("sqlite %1").arg(kind))) << Engine::SQLite << QString(kind);
            QTest::newRow(qPrintable(QString("postgres %1").arg(kind))) << Engine::PostgreSQL << QString(kind);
        }
    }
    void restoreRefusesBadFiles()
    {
        QFETCH(QString, kind);
        OPEN_TEST_DATABASE(db);
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (7, 'Novák')");
        if (kind == "truncated") // cut off in its data, behind a whole table of contents
            addCustomers(1000, 5000);
        const QString good = db.scratchDir() + "/good.bak";
        QVERIFY(BackupNow(good));
        Exec("DELETE FROM tab_zakaznik WHERE ZAKAZNIK >= 1000");
        const QString path = db.scratchDir() + "/bad.bak";
        if (kind == "other columns") {
            renameColumn("ADRESA2", "ADRESA3");
            CurrentServer()->backup(path);
            renameColumn("ADRESA3", "ADRESA2");
        } else {
            QVERIFY(WriteBadBackup(engine, kind, good, path));
        }
        Exec("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (8, 'Čapek')");

        // The restore runs at start-up on master.
        QVERIFY(ConnectDatabase(db.serverName(), SqlServer::MasterDatabase, TestDatabase::user(), db.password()));
        ModalAnswers answers;
        QVERIFY(!VerifyBackup(path));
        QVERIFY(!RestoreDatabase(path));
        QCOMPARE(waitTexts(answers), (QStringList{VerifyWait, "Probíhá obnovování databáze..."}));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(UseDatabase());
        QCOMPARE(CustomerRows(), QString("7=Novák,8=Čapek"));
    }

    // What killed backups and restores left (their work files by the names this program
    // gives them, on PostgreSQL the staging and previous databases) goes when the next
    // backup or restore starts; the work file of another desk's backup under way stays.
    void leftoversRemovedByNextRun_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<bool>("restore");
        for (const auto &[name, engine] : {std::pair{"sqlite", Engine::SQLite}, std::pair{"postgres", Engine::PostgreSQL}}) {
            QTest::addRow("%s-backup", name) << engine << false;
            QTest::addRow("%s-restore", name) << engine << true;
        }
    }
    void leftoversRemovedByNextRun()
    {
        QFETCH(bool, restore);
        OPEN_TEST_DATABASE(db);
        const QString target = db.scratchDir() + "/Backup.bak";
        QVERIFY(BackupNow(target));
        const QString id = "0123456789ab";
        // Beside the backup file only a backup clears; beside the database both do.
        QStringList besideTarget{target + ".tmp-" + id, target + ".tmp-" + id + "-journal"};
        QStringList besideDatabase;
        if (engine == Engine::SQLite) {
            const QString file = db.serverName() + "/" + db.databaseName() + ".db";
            besideDatabase << file + ".restore-" + id << file + ".restore-" + id + "-wal" << file + ".new-" + id;
        } else {
            for (const char *suffix : {"_restore", "_previous"}) {
                QSqlQuery create(CurrentConnection());
                QVERIFY2(create.exec(QStringLiteral("CREATE DATABASE %1%2").arg(db.databaseName(), suffix)),
                         qPrintable(create.lastError().text()));
            }
        }
        for (const QString &file : besideTarget + besideDatabase)
            QVERIFY(WriteBytes(file, "left by a killed desk"));
        FileLock underWay;
        QVERIFY(underWay.tryLock(target + ".tmp-fedcba987654", FileLock::Exclusive));

        ModalAnswers answers;
        if (restore) {
            QVERIFY(ConnectDatabase(db.serverName(), SqlServer::MasterDatabase, TestDatabase::user(), db.password()));
            QVERIFY(RestoreDatabase(target));
            QVERIFY(UseDatabase());
        } else {
            QVERIFY(BackupNow(target));
        }
        for (const QString &file : besideTarget)
            QCOMPARE(QFile::exists(file), restore);
        for (const QString &file : besideDatabase)
            QVERIFY2(!QFile::exists(file), qPrintable(file));
        QVERIFY(QFile::exists(target + ".tmp-fedcba987654"));
        if (engine == Engine::PostgreSQL) {
            SetCommand("SELECT COUNT(*) FROM pg_database WHERE datname LIKE :NAME");
            SetCommandParam("NAME", db.databaseName() + "\\_%");
            QCOMPARE(ExecCommandValue().toInt(), 0);
        }
    }

    // Under a file-size limit the backup fails as on a full disk: "Error" in the log, no
    // file left, and the program goes on.
    void backupUnderFileSizeLimit_data() { AddEngineRows(); }
    void backupUnderFileSizeLimit()
    {
        OPEN_TEST_DATABASE(db);
        addCustomers(1, 5000);
        const QString target = db.scratchDir() + "/Backup.bak";

        struct rlimit unlimited;
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &unlimited), 0);
        struct rlimit limit = unlimited;
        limit.rlim_cur = 16 * 1024;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        const bool made = BackupNow(target);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &unlimited), 0);
        QVERIFY(!made);
        QCOMPARE(logTexts(), QStringList{"Zálohování [Okamžité] [" + target + "] [Error]"});
        QCOMPARE(QDir(db.scratchDir()).entryList(QDir::Files), QStringList());

        QVERIFY(BackupNow(target));
        QCOMPARE(QDir(db.scratchDir()).entryList(QDir::Files), QStringList{"Backup.bak"});
    }

    // The immediate backup from the dialog: the save dialog proposes "Backup.bak" in the
    // program's folder, the backup is verified and logged, and the dialog closes with
    // Cancel keeping the daily-backup edits.
    void backupNowFromDialog_data() { AddEngineRows(); }
    void backupNowFromDialog()
    {
        OPEN_TEST_DATABASE(db);
        const QString file = db.scratchDir() + "/Now.bak";
        QString proposed;
        ModalAnswers answers({Fill(
                                  [&](QDialog *) {
                                      check()->setChecked(true);
                                      edit()->setText(db.scratchDir());
                                  },
                                  ClickButton("ButtonNow")),
                              Fill(
                                  [&](QDialog *dialog) {
                                      auto *save = qobject_cast<QFileDialog *>(dialog);
                                      QVERIFY(save);
                                      proposed = save->selectedFiles().value(0);
                                      save->selectFile(file);
                                  },
                                  Accept())});
        QCOMPARE(ExecModal(FormBackup), int(QDialog::Rejected));
        QCOMPARE(proposed, m_work.path() + "/Backup.bak");
        QVERIFY(std::any_of(answers.shown().begin(), answers.shown().end(),
                            [](const ShownWindow &w) { return w.caption == QStringLiteral("Záloha databáze"); }));
        QCOMPARE(logTexts(), QStringList{"Zálohování [Okamžité] [" + file + "] [Ok]"});
        QVERIFY(CurrentServer()->verifyBackup(file));
        QVERIFY(check()->isChecked());
        QCOMPARE(edit()->text(), db.scratchDir());
    }

    // Ok only while the daily backup is off or its folder exists.
    void okFollowsFolder_data()
    {
        QTest::addColumn<bool>("daily");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("okEnabled");
        QTest::newRow("on, folder exists") << true << "work" << true;
        QTest::newRow("on, folder missing") << true << "work/gone" << false;
        QTest::newRow("on, a file") << true << "work/file.bak" << false;
        QTest::newRow("on, empty") << true << "" << false;
        QTest::newRow("off, folder missing") << false << "work/gone" << true;
    }
    void okFollowsFolder()
    {
        QFETCH(bool, daily);
        QFETCH(QString, folder);
        QFETCH(bool, okEnabled);
        QVERIFY(WriteBytes(m_work.filePath("file.bak"), "x"));
        folder.replace("work", m_work.path());
        FormBackup->show();
        check()->setChecked(daily);
        edit()->setText(folder);
        QCOMPARE(FormBackup->ButtonOk->isEnabled(), okEnabled);
        QCOMPARE(edit()->isEnabled(), daily);
        QCOMPARE(FormBackup->ButtonDay->isEnabled(), daily);
        // Switching the daily backup off always allows Ok.
        check()->setChecked(false);
        QVERIFY(FormBackup->ButtonOk->isEnabled());
        FormBackup->hide();
    }

    // Storno and Esc bring back the stored values; Ok keeps and stores the edits.
    void cancelRestoresStored_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("kept");
        QTest::newRow("Storno") << "Storno" << true << false;
        QTest::newRow("Storno, nothing stored yet") << "Storno" << false << false;
        QTest::newRow("Esc") << "Esc" << true << false;
        QTest::newRow("Ok") << "Ok" << true << true;
    }
    void cancelRestoresStored()
    {
        QFETCH(QString, how);
        QFETCH(bool, stored);
        QFETCH(bool, kept);
        FormBackup->RestoreStoredValues(); // as at start-up
        check()->setChecked(true);
        edit()->setText(m_work.path());
        if (stored)
            FormBackup->FormStorage.Save();

        const QString other = m_work.path() + "/other";
        QVERIFY(QDir().mkpath(other));
        Answer close = how == "Ok" ? ClickButton("ButtonOk") : how == "Esc" ? PressKey(Qt::Key_Escape)
                                                                            : ClickButton("ButtonCancel");
        ModalAnswers answers({Fill(
            [&](QDialog *) {
                check()->setChecked(false);
                edit()->setText(other);
            },
            close)});
        ExecModal(FormBackup);
        QCOMPARE(check()->isChecked(), !kept);
        QCOMPARE(edit()->text(), kept ? other : m_work.path());
        // The next start-up reads what is in force now.
        TFormBackup next;
        next.RestoreStoredValues();
        QCOMPARE(next.EditBackupPathDay->text(), edit()->text());
        QCOMPARE(next.CheckBoxBackupDay->isChecked(), check()->isChecked());
    }

    // "Vyhledat..." starts the folder dialog at the edit's folder and takes the chosen one.
    void buttonDayChoosesFolder()
    {
        const QString chosen = m_work.path() + "/daily";
        QVERIFY(QDir().mkpath(chosen));
        FormBackup->show();
        check()->setChecked(true);
        edit()->setText(m_work.path());
        QString started;
        {
            ModalAnswers answers({Fill(
                [&](QDialog *dialog) {
                    auto *browser = qobject_cast<QFileDialog *>(dialog);
                    started = browser->directory().absolutePath();
                    browser->setDirectory(chosen);
                },
                Accept())});
            FormBackup->ButtonDay->click();
        }
        QCOMPARE(started, m_work.path());
        QCOMPARE(edit()->text(), chosen);
        QVERIFY(FormBackup->ButtonOk->isEnabled());
        {
            ModalAnswers answers({Reject()});
            FormBackup->ButtonDay->click();
        }
        QCOMPARE(edit()->text(), chosen);
        FormBackup->hide();
    }

    // Inside the daily group Enter presses "Vyhledat..."; outside it no button is default.
    void groupMakesButtonDayDefault()
    {
        FormBackup->show();
        FormBackup->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(FormBackup));
        check()->setChecked(true);
        FormBackup->ButtonNow->setFocus();
        QVERIFY(!FormBackup->ButtonDay->isDefault());
        edit()->setFocus();
        QVERIFY(FormBackup->ButtonDay->isDefault());
        check()->setFocus();
        QVERIFY(FormBackup->ButtonDay->isDefault());
        FormBackup->ButtonNow->setFocus();
        QVERIFY(!FormBackup->ButtonDay->isDefault());
        QVERIFY(!FormBackup->ButtonOk->isDefault());
        FormBackup->hide();
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
