#include "core/Log.h"
#include "core/RunGlobals.h"

#include "support/ModalAnswers.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

class TestLog : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_file;

    static QByteArray Read(const QString &name)
    {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void Write(const QString &name, const QByteArray &bytes)
    {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static QByteArray Numbered(int from, int to)
    {
        QByteArray bytes;
        for (int i = from; i <= to; ++i)
            bytes += "line " + QByteArray::number(i) + "\r\n";
        return bytes;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        SetClock([] { return QDateTime(QDate(2024, 3, 5), QTime(8, 5, 7)); });
        SetTickSource([] { return quint32(1000); });
    }
    void init()
    {
        m_file = m_dir.filePath(QStringLiteral("Valmedo4.log"));
        if (QFileInfo(m_file).isDir())
            QDir(m_file).removeRecursively();
        QFile::remove(m_file);
        SetMainLog(nullptr);
    }

    void firstEventCreatesTheFile()
    {
        TLog log;
        log.LogFile = m_file;
        QSignalSpy changed(&log, &TLog::OnChangeLog);
        QSignalSpy added(&log, &TLog::OnAddLog);
        QSignalSpy errors(&log, &TLog::OnErrorLog);
        log.Loaded();
        QCOMPARE(log.LogCount(), 0);
        QVERIFY(!QFile::exists(m_file));

        log.AddLog(QStringLiteral("Připojení k SQL serveru"));
        QCOMPARE(Read(m_file), QStringLiteral("5.3.2024 8:05:07 Připojení k SQL serveru\r\n").toUtf8());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(added.count(), 1);
        QCOMPARE(added.at(0).at(0).toString(), QStringLiteral("Připojení k SQL serveru"));
        QCOMPARE(errors.count(), 0);
    }

    void appendLog()
    {
        TLog log;
        log.LogFile = m_file;
        QSignalSpy added(&log, &TLog::OnAddLog);
        // On an empty log the text still becomes a line.
        log.AppendLog(QStringLiteral("[Ok]"));
        QCOMPARE(log.Lines(), QStringList{QStringLiteral("5.3.2024 8:05:07 [Ok]")});
        log.AddLog(QStringLiteral("Otevírání databáze"));
        log.AppendLog(QStringLiteral("[Error]"));
        QCOMPARE(log.LogCount(), 2);
        QCOMPARE(log.Lines().last(), QStringLiteral("5.3.2024 8:05:07 Otevírání databáze [Error]"));
        QVERIFY(Read(m_file).endsWith(QStringLiteral("databáze [Error]\r\n").toUtf8()));
        QCOMPARE(added.count(), 1);
    }

    void limitLog_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("firstKept");
        QTest::newRow("3000 cut to 2048") << 3000 << 2048 << 953;
        QTest::newRow("100 under 2048") << 100 << 2048 << 1;
        QTest::newRow("limit 0") << 5 << 0 << 6;
    }
    void limitLog()
    {
        QFETCH(int, lines);
        QFETCH(int, limit);
        QFETCH(int, firstKept);
        Write(m_file, Numbered(1, lines));
        TLog log;
        log.LogFile = m_file;
        log.Loaded();
        QCOMPARE(log.LogCount(), lines);
        Write(m_file, "changed meanwhile\r\n");  // shows that the limit saves even when it removes nothing
        QSignalSpy changed(&log, &TLog::OnChangeLog);
        log.LimitLog(limit);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(Read(m_file), Numbered(firstKept, lines));
        QCOMPARE(log.LogCount(), lines - firstKept + 1);
    }

    void readsOldAndNewFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("UTF-8, CR LF") << QByteArray("1.2.2024 9:00:00 Záloha\r\n1.2.2024 9:00:01 Ok\r\n");
        QTest::newRow("Windows-1250") << QByteArray("1.2.2024 9:00:00 Z\xe1loha\r\n1.2.2024 9:00:01 Ok\r\n");
        QTest::newRow("LF, no final break") << QByteArray("1.2.2024 9:00:00 Záloha\n1.2.2024 9:00:01 Ok");
    }
    void readsOldAndNewFiles()
    {
        QFETCH(QByteArray, bytes);
        Write(m_file, bytes);
        TLog log;
        log.LogFile = m_file;
        log.Loaded();
        QCOMPARE(log.Lines(), (QStringList{QStringLiteral("1.2.2024 9:00:00 Záloha"),
                                           QStringLiteral("1.2.2024 9:00:01 Ok")}));
    }

    void unreadableLogIsLeftUntouched_data()
    {
        QTest::addColumn<bool>("directory");
        QTest::newRow("a folder in its place") << true;
        if (geteuid() != 0)  // the owner can always read as root
            QTest::newRow("no read permission") << false;
    }
    void unreadableLogIsLeftUntouched()
    {
        QFETCH(bool, directory);
        const QByteArray old = Numbered(1, 10);
        if (directory) {
            QVERIFY(QDir().mkpath(m_file));
            Write(m_file + QStringLiteral("/inside"), old);
        } else {
            Write(m_file, old);
            QFile::setPermissions(m_file, QFileDevice::WriteOwner);
        }
        TLog log;
        log.LogFile = m_file;
        QSignalSpy errors(&log, &TLog::OnErrorLog);
        log.Loaded();
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.at(0).at(0).toString(), QStringLiteral("Log soubor nelze nahrát..."));
        QCOMPARE(errors.at(0).at(1).toString(),
                 QStringLiteral("Error [%1]...").arg(directory ? EISDIR : EACCES));

        log.AddLog(QStringLiteral("Start"));
        log.LimitLog(2048);
        QCOMPARE(errors.count(), 1);  // nothing more is tried on that file
        QCOMPARE(log.LogCount(), 1);
        if (directory) {
            QVERIFY(QFileInfo(m_file).isDir());
            QCOMPARE(Read(m_file + QStringLiteral("/inside")), old);
            QDir(m_file).removeRecursively();
        } else {
            QFile::setPermissions(m_file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QCOMPARE(Read(m_file), old);
        }
    }

    void failedSaveWarns()
    {
        TLog log;
        log.LogFile = m_dir.filePath(QStringLiteral("missing/Valmedo4.log"));
        log.AttachWarnings();
        ModalAnswers answers({ClickButton(QStringLiteral("ButtonOk"))});
        log.AddLog(QStringLiteral("Start"));
        QCOMPARE(log.LogCount(), 1);  // kept in memory
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(answers.shown().at(0).caption, QStringLiteral(" Upozornění"));
        QCOMPARE(answers.shown().at(0).text, QStringLiteral("Log soubor nelze uložit..."));
        QCOMPARE(answers.shown().at(0).detail, QStringLiteral("Error [%1]...").arg(ENOENT));
    }

    // A log that cannot be saved warns at the first failed save only, and again at the
    // first failure after a save has succeeded; no line is lost meanwhile.
    void failedSavesWarnOnce_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::newRow("folder gone") << true;
        if (geteuid() != 0)  // root writes past permissions
            QTest::newRow("read-only log") << false;
    }
    void failedSavesWarnOnce()
    {
        QFETCH(bool, folder);
        const QString dir = m_dir.filePath(QStringLiteral("desk"));
        QVERIFY(QDir().mkpath(dir));
        TLog log;
        log.LogFile = dir + QStringLiteral("/Valmedo4.log");
        Write(log.LogFile, Numbered(1, 2));
        log.Loaded();
        const auto refuse = [&](bool refused) {
            if (folder)
                QVERIFY(refused ? QDir(dir).removeRecursively() : QDir().mkpath(dir));
            else
                QVERIFY(QFile::setPermissions(log.LogFile, refused ? QFileDevice::ReadOwner
                                                                   : QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        };
        const auto cleanup = qScopeGuard([&] { QDir(dir).removeRecursively(); });
        log.AttachWarnings();
        ModalAnswers answers({ClickButton(QStringLiteral("ButtonOk")), ClickButton(QStringLiteral("ButtonOk"))});
        refuse(true);
        log.AddLog(QStringLiteral("Start"));
        log.AppendLog(QStringLiteral("[Ok]"));
        log.LimitLog(2048);
        log.AddLog(QStringLiteral("Přihlášení"));
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(answers.shown().at(0).text, QStringLiteral("Log soubor nelze uložit..."));

        refuse(false);
        log.AddLog(QStringLiteral("Zápis"));
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(Read(log.LogFile).count("\r\n"), 5);

        refuse(true);
        log.AddLog(QStringLiteral("Znovu"));
        log.AddLog(QStringLiteral("A znovu"));
        QCOMPARE(answers.shown().size(), 2);
        QCOMPARE(answers.shown().at(1).text, QStringLiteral("Log soubor nelze uložit..."));
        QCOMPARE(log.LogCount(), 7);
    }

    // A save that fails part of the way leaves the old file whole: the text goes to a new
    // file beside it first. The size limit stands in for a full disk; root is bound by it too.
    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<int>("code");
        QTest::newRow("no room for the new text") << QStringLiteral("size") << EFBIG;
        if (geteuid() != 0)  // root writes past permissions
            QTest::newRow("read-only log") << QStringLiteral("file") << EACCES;
    }
    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, cause);
        QFETCH(int, code);
        const QByteArray old = Numbered(1, 50);
        Write(m_file, old);
        QVERIFY(QFile::setPermissions(m_file, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                  | QFileDevice::ReadGroup));
        TLog log;
        log.LogFile = m_file;
        QSignalSpy errors(&log, &TLog::OnErrorLog);
        log.Loaded();

        rlimit limit {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit unlimited = limit;
        const auto sigxfsz = std::signal(SIGXFSZ, SIG_IGN);
        if (cause == QLatin1String("size")) {
            limit.rlim_cur = rlim_t(old.size() / 2);
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        } else {
            QVERIFY(QFile::setPermissions(m_file, QFileDevice::ReadOwner));
        }
        log.AddLog(QStringLiteral("Start"));
        setrlimit(RLIMIT_FSIZE, &unlimited);
        std::signal(SIGXFSZ, sigxfsz);
        QFile::setPermissions(m_file, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);

        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.at(0).at(0).toString(), QStringLiteral("Log soubor nelze uložit..."));
        QCOMPARE(errors.at(0).at(1).toString(), QStringLiteral("Error [%1]...").arg(code));
        QCOMPARE(Read(m_file), old);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Valmedo4.log")});
        QCOMPARE(log.LogCount(), 51);  // kept in memory

        // The next save writes it all, with the file's own permissions.
        log.AddLog(QStringLiteral("Znovu"));
        QCOMPARE(errors.count(), 1);
        QCOMPARE(Read(m_file), old + "5.3.2024 8:05:07 Start\r\n5.3.2024 8:05:07 Znovu\r\n");
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(m_file).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));
    }

    // In a folder the desk may not write, where no new file can be made beside the log,
    // a log that may be written is rewritten in place. Root writes past permissions, so
    // as root the folder and the log are given to "nobody" and the test acts as him.
    void savedInPlaceWhereTheFolderMayNotBeWritten()
    {
        const QString folder = m_dir.filePath(QStringLiteral("readonly"));
        QVERIFY(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/Valmedo4.log");
        const QByteArray old = Numbered(1, 3);
        Write(file, old);
        const bool root = geteuid() == 0;
        const uid_t nobody = 65534;
        const QByteArray dir = QFile::encodeName(m_dir.path());
        struct stat dirStat {};
        QCOMPARE(::stat(dir.constData(), &dirStat), 0);
        if (root) {
            QVERIFY(::chown(QFile::encodeName(folder).constData(), nobody, nobody) == 0);
            QVERIFY(::chown(QFile::encodeName(file).constData(), nobody, nobody) == 0);
            QCOMPARE(::chmod(dir.constData(), (dirStat.st_mode & 07777) | S_IXGRP | S_IXOTH), 0);
        }
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const auto restore = qScopeGuard([&] {
            if (root)
                QVERIFY(::seteuid(0) == 0);
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                              | QFileDevice::ExeOwner);
            ::chmod(dir.constData(), dirStat.st_mode & 07777);
        });
        if (root)
            QVERIFY(::seteuid(nobody) == 0);

        TLog log;
        log.LogFile = file;
        QSignalSpy errors(&log, &TLog::OnErrorLog);
        log.Loaded();
        log.AddLog(QStringLiteral("Start"));
        QCOMPARE(errors.count(), 0);
        QCOMPARE(Read(file), old + "5.3.2024 8:05:07 Start\r\n");
        // A shorter log cuts the file to its new length.
        log.LimitLog(2);
        QCOMPARE(errors.count(), 0);
        QCOMPARE(Read(file), "line 3\r\n5.3.2024 8:05:07 Start\r\n");
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("Valmedo4.log")});

        // A log that is not there yet cannot be made in such a folder: that is reported.
        TLog fresh;
        fresh.LogFile = folder + QStringLiteral("/Novy.log");
        QSignalSpy freshErrors(&fresh, &TLog::OnErrorLog);
        fresh.AddLog(QStringLiteral("Start"));
        QCOMPARE(freshErrors.count(), 1);
        QCOMPARE(freshErrors.at(0).at(1).toString(), QStringLiteral("Error [%1]...").arg(EACCES));
    }

    void noSaveWhenSwitchedOff()
    {
        TLog log;
        log.LogFile = m_dir.filePath(QStringLiteral("missing/Valmedo4.log"));
        log.LogSave = false;
        QSignalSpy errors(&log, &TLog::OnErrorLog);
        log.AddLog(QStringLiteral("Start"));
        log.LogFile = m_file;
        log.AddLog(QStringLiteral("Znovu"));
        QCOMPARE(errors.count(), 0);
        QVERIFY(!QFile::exists(m_file));
    }

    void listBoxMirrorsTheLines()
    {
        QListWidget listBox;
        TLog log;
        log.LogFile = m_file;
        log.ShowLog(nullptr);  // no list box: nothing happens
        log.AddLog(QStringLiteral("první"));
        log.AttachListBox(&listBox);
        QCOMPARE(listBox.count(), 1);
        log.AddLog(QStringLiteral("druhý"));
        log.AppendLog(QStringLiteral("[Ok]"));
        QCOMPARE(listBox.count(), 2);
        QCOMPARE(listBox.item(1)->text(), QStringLiteral("5.3.2024 8:05:07 druhý [Ok]"));
        QCOMPARE(listBox.currentRow(), 1);
    }

    void transactionLines_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<quint32>("start");
        QTest::addColumn<QVariant>("number");
        QTest::addColumn<bool>("success");
        QTest::addColumn<QString>("line");
        QTest::newRow("document 42") << QStringLiteral("Půjčení") << 958u << QVariant(QStringLiteral("42"))
                                     << true << QStringLiteral("Transakce [Půjčení] [42 ms] [0000000000042] [Ok]");
        QTest::newRow("no document") << QStringLiteral("Vracení") << 1000u << QVariant()
                                     << true << QStringLiteral("Transakce [Vracení] [0 ms] [-] [Ok]");
        QTest::newRow("null number") << QStringLiteral("Vracení") << 1000u
                                     << QVariant(QMetaType::fromType<qlonglong>())
                                     << false << QStringLiteral("Transakce [Vracení] [0 ms] [-] [Error]");
        QTest::newRow("13-digit customer") << QStringLiteral("Nový zákazník") << 0u
                                           << QVariant(qlonglong(9999999999999))
                                           << false
                                           << QStringLiteral("Transakce [Nový zákazník] [1000 ms] [9999999999999] [Error]");
        QTest::newRow("64-bit range") << QStringLiteral("Editace videa") << 1000u
                                      << QVariant(QStringLiteral("9223372036854775807")) << true
                                      << QStringLiteral("Transakce [Editace videa] [0 ms] [9223372036854775807] [Ok]");
        QTest::newRow("tick counter wrapped") << QStringLiteral("Nové video") << 0xFFFFFFF0u
                                              << QVariant(7) << true
                                              << QStringLiteral("Transakce [Nové video] [1016 ms] [0000000000007] [Ok]");
    }
    void transactionLines()
    {
        QFETCH(QString, name);
        QFETCH(quint32, start);
        QFETCH(QVariant, number);
        QFETCH(bool, success);
        QFETCH(QString, line);
        TLog log;
        log.LogFile = m_file;
        SetMainLog(&log);
        LogTransaction(name, start, number, success);
        QCOMPARE(log.Lines(), QStringList{QStringLiteral("5.3.2024 8:05:07 ") + line});
    }

    void backupLines()
    {
        TLog log;
        log.LogFile = m_file;
        SetMainLog(&log);
        LogBackup(QStringLiteral("Denní"), QStringLiteral("/zalohy/valmedo4.bak"), true);
        LogBackup(QStringLiteral("Okamžité"), QStringLiteral("/zalohy/x.bak"), false);
        QCOMPARE(log.Lines(),
                 (QStringList{QStringLiteral("5.3.2024 8:05:07 Zálohování [Denní] [/zalohy/valmedo4.bak] [Ok]"),
                              QStringLiteral("5.3.2024 8:05:07 Zálohování [Okamžité] [/zalohy/x.bak] [Error]")}));
        SetMainLog(nullptr);
        LogBackup(QStringLiteral("Denní"), QStringLiteral("x"), true);  // no main log: nothing
        QCOMPARE(log.LogCount(), 2);
    }
};

QTEST_MAIN(TestLog)
#include "tst_log.moc"
