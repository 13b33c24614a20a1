#include "core/UFolderDialog.h"
#include "support/ModalAnswers.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(TBrowseInfoFlags)

namespace {

QFileDialog *browserOf(QDialog *dialog)
{
    auto *browser = qobject_cast<QFileDialog *>(dialog);
    if (!browser)
        QTest::qFail("not the folder browser", __FILE__, __LINE__);
    return browser;
}

QString openedOn(QDialog *dialog)
{
    return browserOf(dialog)->directory().absolutePath();
}

// Answers the input box of the own button with `name`.
Answer TypeName(const QString &name)
{
    return [name](QDialog *dialog) {
        auto *input = qobject_cast<QInputDialog *>(dialog);
        if (!input || input->windowTitle() != QStringLiteral("Nová složka")) {
            QTest::qFail("not the new-folder input box", __FILE__, __LINE__);
            return int(QDialog::Rejected);
        }
        input->setTextValue(name);
        input->accept();
        return input->result();
    };
}

const TBrowseInfoFlags Classic = TBrowseInfoFlag::ShowPath | TBrowseInfoFlag::ShowShared;

} // namespace

class TestFolderDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString base() const { return m_dir->path(); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void defaults()
    {
        TFolderDialog dialog;
        QCOMPARE(dialog.PlatformFlags(), 0x4u | 0x40u | 0x8000u);
        QVERIFY(dialog.RootFolder == TSHFolders::foDesktopExpanded);
        QCOMPARE(dialog.SpecialFolder, -1);
        QVERIFY(!dialog.ReturnSpecialFolder);
        QVERIFY(dialog.Folder.isEmpty());
    }

    // Cancel gives false and leaves Folder; a choice gives true, the path, the status line
    // and the events.
    void chooseOrCancel()
    {
        const QString sub = base() + "/Zálohy";
        QVERIFY(QDir().mkpath(sub));
        TFolderDialog dialog;
        dialog.Folder = base();
        int initialized = 0;
        QStringList selections;
        dialog.OnInitialized = [&](TFolderDialog *sender, QFileDialog *browser) {
            QCOMPARE(sender, &dialog);
            QCOMPARE(browser, dialog.Browser());
            ++initialized;
        };
        dialog.OnSelectionChanged = [&](TFolderDialog *, QFileDialog *, const QString &folder) { selections << folder; };

        QString started, status;
        {
            ModalAnswers answers({Fill([&](QDialog *d) { started = openedOn(d); }, Reject())});
            QVERIFY(!dialog.Execute());
        }
        QCOMPARE(started, base());
        QCOMPARE(dialog.Folder, base());
        {
            ModalAnswers answers({Fill(
                [&](QDialog *d) {
                    // As the user's opening of the folder in the tree does.
                    browserOf(d)->setDirectory(sub);
                    emit browserOf(d)->directoryEntered(sub);
                    status = d->findChild<QLabel *>("LabelStatus")->text();
                },
                Accept())});
            QVERIFY(dialog.Execute());
        }
        QCOMPARE(dialog.Folder, sub);
        QCOMPARE(dialog.DisplayName(), sub);
        QCOMPARE(status, sub);
        QCOMPARE(initialized, 2);
        QCOMPARE(selections.last(), sub);
        QCOMPARE(dialog.SpecialFolder, -1);
    }

    // The new-folder button: the program's own only in the classic style.
    void newFolderButtons_data()
    {
        QTest::addColumn<TBrowseInfoFlags>("flags");
        QTest::addColumn<bool>("own");
        QTest::addColumn<bool>("browsers");
        QTest::newRow("new style") << (Classic | TBrowseInfoFlag::NewDialogStyle) << false << true;
        QTest::newRow("classic") << Classic << true << false;
        QTest::newRow("classic, hidden") << (Classic | TBrowseInfoFlag::HideNewFolderButton) << false << false;
        QTest::newRow("new style, hidden")
            << (Classic | TBrowseInfoFlag::NewDialogStyle | TBrowseInfoFlag::HideNewFolderButton) << false << false;
    }
    void newFolderButtons()
    {
        QFETCH(TBrowseInfoFlags, flags);
        QFETCH(bool, own);
        QFETCH(bool, browsers);
        TFolderDialog dialog;
        dialog.Flags = flags;
        QCOMPARE(dialog.HasOwnNewFolderButton(), own);
        bool ownSeen = false, browsersSeen = false;
        ModalAnswers answers({Fill(
            [&](QDialog *d) {
                auto *button = d->findChild<QPushButton *>("ButtonNewFolder");
                ownSeen = button && button->isVisible() && button->text() == QStringLiteral("Nová složka");
                auto *qt = d->findChild<QWidget *>("newFolderButton");
                QVERIFY(qt);
                browsersSeen = qt->isVisible();
            },
            Reject())});
        dialog.Execute();
        QCOMPARE(ownSeen, own);
        QCOMPARE(browsersSeen, browsers);
    }

    // The own button makes the folder with its missing parents inside the selected one and
    // opens the browser again on it; Cancel then leaves the folder selected at the press.
    void newFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("made");      // relative to the base; empty: none
        QTest::addColumn<bool>("reopened");
        QTest::newRow("one level") << "Nová" << "Nová" << true;
        QTest::newRow("missing parent") << "a/b" << "a/b" << true;
        QTest::newRow("leading separator") << "/c" << "c" << true;
        QTest::newRow("empty name") << "" << "" << false;
        QTest::newRow("cannot be made") << "soubor/x" << "" << true;
    }
    void newFolder()
    {
        QFETCH(QString, name);
        QFETCH(QString, made);
        QFETCH(bool, reopened);
        QFile file(base() + "/soubor");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        TFolderDialog dialog;
        dialog.Flags = Classic;
        dialog.Folder = base();
        bool openAfterPress = false;
        QString second;
        ModalAnswers answers({[&](QDialog *d) {
                                  d->findChild<QPushButton *>("ButtonNewFolder")->click();
                                  openAfterPress = d->isVisible();
                                  return d->result();
                              },
                              TypeName(name)});
        if (name == "soubor/x")
            answers.add(Accept()); // the warning
        if (reopened)
            answers.add(Fill([&](QDialog *d) { second = openedOn(d); }, Reject()));
        QVERIFY(!dialog.Execute());

        QCOMPARE(openAfterPress, !reopened);
        QCOMPARE(dialog.Folder, base());
        if (!made.isEmpty()) {
            QVERIFY(QFileInfo(base() + "/" + made).isDir());
            QCOMPARE(second, base() + "/" + made);
        } else if (reopened) {
            QCOMPARE(second, base());
            QCOMPARE(answers.shown().at(1).caption, QString(" Upozornění"));
            QCOMPARE(answers.shown().at(1).text, QString("Adresář nebo soubor nelze vytvořit."));
        }
        if (name.isEmpty())
            QCOMPARE(QDir(base()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
    }

    // A special folder is selected before Folder; with ReturnSpecialFolder the choice
    // gives back its number.
    void specialFolder_data()
    {
        QTest::addColumn<bool>("returnSpecial");
        QTest::addColumn<int>("expected");
        QTest::newRow("returned") << true << 17;
        QTest::newRow("not asked") << false << -1;
    }
    void specialFolder()
    {
        QFETCH(bool, returnSpecial);
        QFETCH(int, expected);
        TFolderDialog dialog;
        dialog.Folder = base();
        dialog.SpecialFolder = 17; // the computer: the root folder
        dialog.ReturnSpecialFolder = returnSpecial;
        QString started;
        ModalAnswers answers({Fill([&](QDialog *d) { started = openedOn(d); }, Accept())});
        QVERIFY(dialog.Execute());
        QCOMPARE(started, QString("/"));
        QCOMPARE(dialog.Folder, QString("/"));
        QCOMPARE(dialog.SpecialFolder, expected);
    }

    // A typed name that is no folder keeps the browser open and raises OnValidateFailed.
    void typedNameNotAFolder()
    {
        TFolderDialog dialog;
        dialog.Folder = base();
        int failed = 0;
        dialog.OnValidateFailed = [&](TFolderDialog *, QFileDialog *) { ++failed; };
        bool stillOpen = false;
        ModalAnswers answers({Fill(
            [&](QDialog *d) {
                browserOf(d)->selectFile(base() + "/neni");
                d->accept();
                stillOpen = d->isVisible();
            },
            Reject())});
        QVERIFY(!dialog.Execute());
        QVERIFY(stillOpen);
        QCOMPARE(failed, 1);
        QCOMPARE(dialog.Folder, base());
    }

    void shortenedDisplayName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        const QString fifty = "/home/" + QString(44, u'x');
        QTest::newRow("short") << "/home/pujcovna" << "/home/pujcovna";
        QTest::newRow("50 characters") << fifty << fifty;
        const QString longer = "/srv/zalohy/" + QString(30, u'a') + "/konec/Pondeli";
        QTest::newRow("longer") << longer << "/sr .." + longer.right(44);
    }
    void shortenedDisplayName()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        QCOMPARE(TFolderDialog::ShortenedDisplayName(name), shown);
        QVERIFY(shown.size() <= 50);
    }
};

QTEST_MAIN(TestFolderDialog)
#include "tst_folderdialog.moc"
