#include "core/MessageForms.h"
#include "core/Messages.h"
#include "core/Modal.h"
#include "core/UStartup.h"
#include "support/ModalAnswers.h"

#include <QApplication>
#include <QDataStream>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

namespace {

// A tiny valid wave file: 8 kHz, mono, 16 bit, 80 samples of silence.
void WriteWave(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 dataSize = 160;
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataSize);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(16000)
        << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << dataSize;
    out.writeRawData(QByteArray(dataSize, '\0').constData(), dataSize);
}

QString ButtonText(QDialog *dialog, const QString &name)
{
    auto *button = dialog->findChild<QPushButton *>(name);
    return button ? button->text() : QStringLiteral("<none>");
}

int PixelSize(QDialog *dialog, const QString &label)
{
    auto *l = dialog->findChild<QLabel *>(label);
    return l ? l->font().pixelSize() : -1;
}

using Routine = std::function<void()>;

// What keeps a window's two labels from showing their lines whole: a label lower than
// its font's ascent and descent on every line, a text wider or taller than its label,
// labels that overlap each other or the buttons. Empty when nothing does.
QString LabelProblems(QWidget *window, const QString &mainName)
{
    auto *main = window->findChild<QLabel *>(mainName);
    auto *spec = window->findChild<QLabel *>(QStringLiteral("LabelSpecification"));
    if (!main || !spec)
        return QStringLiteral("labels missing");
    QStringList problems;
    for (QLabel *label : {main, spec}) {
        const QFontMetrics metrics(label->font());
        const QRect box = label->contentsRect();
        const int lines = int(label->text().count(u'\n')) + 1;
        if (box.height() < metrics.ascent() + metrics.descent() + (lines - 1) * metrics.lineSpacing())
            problems << label->objectName() + QStringLiteral(" lower than its lines");
        if (!box.contains(metrics.boundingRect(box, int(label->alignment()), label->text())))
            problems << label->objectName() + QStringLiteral(" clips its text");
    }
    if (main->geometry().intersects(spec->geometry()))
        problems << QStringLiteral("labels overlap");
    for (QPushButton *button : window->findChildren<QPushButton *>()) {
        if (spec->geometry().intersects(button->geometry()))
            problems << QStringLiteral("detail over ") + button->objectName();
    }
    return problems.join(QStringLiteral(", "));
}

} // namespace
Q_DECLARE_METATYPE(Routine)

class TestMessages : public QObject {
    Q_OBJECT
    QTemporaryDir m_folder;
    QString m_oldFolder;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        m_oldFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_folder.path()));
        // Only the information sound exists: the other windows show without theirs.
        WriteWave(m_folder.filePath(QStringLiteral("Information.wav")));
    }
    void cleanupTestCase() { QDir::setCurrent(m_oldFolder); }

    void windowLook_data()
    {
        QTest::addColumn<Routine>("routine");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("mainLabel");
        QTest::addColumn<QStringList>("buttons"); // name=text
        QTest::addColumn<QString>("focused");
        QTest::addColumn<bool>("onTop");

        QTest::newRow("information")
            << Routine([] { ShowInformation("Zákazník nenalezen", "Zadejte jiné číslo"); })
            << "TFormInformation" << " Informace" << "LabelInformation"
            << QStringList{"ButtonOk=Ok"} << "ButtonOk" << true;
        QTest::newRow("question")
            << Routine([] { ShowQuestion("Zákazník nenalezen", "Zadejte jiné číslo", true); })
            << "TFormQuestion" << " Otázka" << "LabelQuestion"
            << QStringList{"ButtonYes=&Ano", "ButtonNo=&Ne"} << "ButtonYes" << true;
        QTest::newRow("warning")
            << Routine([] { ShowWarning(false, "Zákazník nenalezen", "Zadejte jiné číslo"); })
            << "TFormWarning" << " Upozornění" << "LabelWarning"
            << QStringList{"ButtonOk=Ok"} << "ButtonOk" << false;
    }
    void windowLook()
    {
        QFETCH(Routine, routine);
        QFETCH(QString, className);
        QFETCH(QString, caption);
        QFETCH(QString, mainLabel);
        QFETCH(QStringList, buttons);
        QFETCH(QString, focused);
        QFETCH(bool, onTop);

        QStringList seenButtons;
        QString seenFocus;
        QSize seenSize;
        bool seenOnTop = false;
        int mainPixels = 0, specPixels = 0;
        bool mainBold = false;
        QRect imageRect;
        ModalAnswers answers({Fill(
            [&](QDialog *dialog) {
                for (const QString &b : buttons) {
                    const QString name = b.section('=', 0, 0);
                    seenButtons << name + "=" + ButtonText(dialog, name);
                }
                seenFocus = dialog->focusWidget() ? dialog->focusWidget()->objectName() : QString();
                seenSize = dialog->size();
                seenOnTop = dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
                mainPixels = PixelSize(dialog, mainLabel);
                specPixels = PixelSize(dialog, "LabelSpecification");
                mainBold = dialog->findChild<QLabel *>(mainLabel)->font().bold();
                imageRect = dialog->findChild<QLabel *>("Image")->geometry();
            },
            ClickButton(focused))});
        routine();

        QCOMPARE(answers.shown().size(), 1);
        const ShownWindow &w = answers.shown().at(0);
        QCOMPARE(w.className, className);
        QCOMPARE(w.caption, caption);
        QCOMPARE(w.text, QStringLiteral("Zákazník nenalezen"));
        QCOMPARE(w.detail, QStringLiteral("Zadejte jiné číslo"));
        QCOMPARE(w.button, focused);
        QVERIFY(w.modal);
        QCOMPARE(seenButtons, buttons);
        QCOMPARE(seenFocus, focused);
        QCOMPARE(seenSize, QSize(440, 103));
        QCOMPARE(seenOnTop, onTop);
        QCOMPARE(mainPixels, 16);
        QVERIFY(mainBold);
        QCOMPARE(specPixels, 11);
        QCOMPARE(imageRect.size(), QSize(48, 48));
    }

    // The log-in failure's two-line detail under its heading, in the program's
    // own fonts: every line whole in every window.
    void labelsShowTwoLineTexts_data()
    {
        QTest::addColumn<Routine>("routine");
        QTest::addColumn<QString>("mainLabel");
        const QString text = QStringLiteral("Chyba přihlašování k SQL serveru...");
        const QString detail = QStringLiteral("SQL server nebo databáze nejsou dostupní, uživatel neexistuje,\r"
                                              "zadaný uživatel nemá příslušné oprávnění, špatně zadané heslo...");
        QTest::newRow("information") << Routine([=] { ShowInformation(text, detail); }) << "LabelInformation";
        QTest::newRow("question") << Routine([=] { ShowQuestion(text, detail); }) << "LabelQuestion";
        QTest::newRow("warning") << Routine([=] { ShowWarning(false, text, detail); }) << "LabelWarning";
    }
    void labelsShowTwoLineTexts()
    {
        QFETCH(Routine, routine);
        QFETCH(QString, mainLabel);
        InstallFontSubstitutions();
        QString problems = QStringLiteral("not shown");
        ModalAnswers answers({Fill([&](QDialog *dialog) { problems = LabelProblems(dialog, mainLabel); },
                                   Reject())});
        routine();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));

        ShowProgress(QStringLiteral("Připojování k serveru a databázi..."));
        problems = LabelProblems(FormProgress, QStringLiteral("LabelInformation"));
        HideProgress();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void questionAnswer_data()
    {
        QTest::addColumn<bool>("yesIsDefault");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("button");

        QTest::newRow("Ano") << false << ClickButton("ButtonYes") << true << "ButtonYes";
        QTest::newRow("Ne") << true << ClickButton("ButtonNo") << false << "ButtonNo";
        QTest::newRow("Enter, yes default") << true << PressKey(Qt::Key_Return) << true << "ButtonYes";
        QTest::newRow("Enter, no default") << false << PressKey(Qt::Key_Return) << false << "ButtonNo";
        QTest::newRow("Esc, yes default") << true << PressKey(Qt::Key_Escape) << false << "";
        QTest::newRow("close box, yes default") << true << CloseBox() << false << "";
    }
    void questionAnswer()
    {
        QFETCH(bool, yesIsDefault);
        QFETCH(Answer, answer);
        QFETCH(bool, result);
        QFETCH(QString, button);

        ModalAnswers answers({answer});
        QCOMPARE(ShowQuestion("Vyřadit video ?", "Video bude vyřazeno", yesIsDefault), result);
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(answers.shown().at(0).button, button);
    }

    // Ok is the default and the cancel button: Enter and Esc close both windows.
    void okWindowsClose_data()
    {
        QTest::addColumn<bool>("warning");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("button");
        QTest::newRow("information, Enter") << false << int(Qt::Key_Return) << "ButtonOk";
        QTest::newRow("information, Esc") << false << int(Qt::Key_Escape) << "";
        QTest::newRow("warning, Enter") << true << int(Qt::Key_Return) << "ButtonOk";
        QTest::newRow("warning, Esc") << true << int(Qt::Key_Escape) << "";
    }
    void okWindowsClose()
    {
        QFETCH(bool, warning);
        QFETCH(int, key);
        QFETCH(QString, button);

        bool closedByKey = false;
        ModalAnswers answers({[&](QDialog *d) {
            QTest::keyClick(d->focusWidget(), Qt::Key(key));
            closedByKey = !d->isVisible();
            return d->result();
        }});
        if (warning)
            ShowWarning(false, "Chyba", "Něco se nepovedlo");
        else
            ShowInformation("Hotovo", "Vše proběhlo");
        QVERIFY(closedByKey);
        QCOMPARE(answers.shown().at(0).button, button);
    }

    // Two-line texts joined by a carriage return (alone or before a line feed) show on
    // two lines.
    void lineBreaks_data()
    {
        QTest::addColumn<QString>("joined");
        QTest::newRow("cr") << QStringLiteral("první,\rdruhý");
        QTest::newRow("cr lf") << QStringLiteral("první,\r\ndruhý");
        QTest::newRow("lf") << QStringLiteral("první,\ndruhý");
    }
    void lineBreaks()
    {
        QFETCH(QString, joined);
        ModalAnswers answers({ClickButton("ButtonOk")});
        ShowWarning(false, joined, joined);
        QCOMPARE(answers.shown().at(0).text, QStringLiteral("první,\ndruhý"));
        QCOMPARE(answers.shown().at(0).detail, QStringLiteral("první,\ndruhý"));
    }

    void warningOnSuccessShowsNothing()
    {
        const QPointer<TFormWarning> before = FormWarning;
        ModalAnswers answers; // any window would fail the test
        ShowWarning(true, "Transakce selhala", "Změny nebyly uloženy");
        QVERIFY(answers.shown().isEmpty());
        QCOMPARE(FormWarning.data(), before.data());
    }

    void selfClosingInformation()
    {
        QWidget caller;
        caller.setWindowTitle("caller");
        auto *layout = new QVBoxLayout(&caller);
        auto *other = new QLineEdit(&caller);
        auto *edit = new QLineEdit(&caller);
        layout->addWidget(other);
        layout->addWidget(edit);
        caller.show();
        caller.activateWindow();
        other->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&caller));

        ModalAnswers answers; // nothing modal may come
        ShowInformation("Video nenalezeno", "Zadejte jiný titul", true, edit);

        // It returned at once, is shown beside the work and the caller's control has the focus.
        QPointer<TFormInformation> form = FormInformation;
        QVERIFY(form);
        QVERIFY(form->isVisible());
        QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(answers.shown().at(0).caption, QStringLiteral(" Informace"));
        QCOMPARE(answers.shown().at(0).text, QStringLiteral("Video nenalezeno"));
        QVERIFY(!answers.shown().at(0).modal);
        QTRY_COMPARE(QApplication::focusWidget(), edit);
        QCOMPARE(form->Timer->interval(), 2000);
        QVERIFY(form->Timer->isActive());

        // The icon blinks.
        const bool hidden = form->Image->isHidden();
        QTRY_COMPARE(form->Image->isHidden(), !hidden);

        // Ok only hides it; its timer still destroys it.
        form->ButtonOk->click();
        QVERIFY(form);
        QVERIFY(!form->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(form.isNull(), 5000);
        QCOMPARE(QApplication::focusWidget(), edit);
    }

    void severalSelfClosingWindows()
    {
        ModalAnswers answers;
        ShowInformation("První", "", true);
        QPointer<TFormInformation> first = FormInformation;
        ShowInformation("Druhá", "", true);
        QPointer<TFormInformation> second = FormInformation;
        QVERIFY(first && second && first != second);
        QVERIFY(first->isVisible() && second->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(first.isNull() && second.isNull(), 5000);
    }

    void progress()
    {
        ModalAnswers answers;
        ShowProgress("Reindexace databáze");
        QPointer<TFormProgress> form = FormProgress;
        QVERIFY(form && form->isVisible());
        QCOMPARE(form->windowTitle(), QStringLiteral(" Čekejte"));
        QCOMPARE(form->LabelInformation->text(), QStringLiteral("Čekejte prosím..."));
        QCOMPARE(form->LabelSpecification->text(), QStringLiteral("Reindexace databáze"));
        QCOMPARE(form->size(), QSize(340, 93));
        QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(form->findChildren<QPushButton *>().isEmpty());
        QCOMPARE(answers.shown().size(), 1);

        // Neither Esc nor the close box ends it while the work runs.
        QTest::keyClick(form, Qt::Key_Escape);
        QVERIFY(!form->close());
        QVERIFY(form && form->isVisible());

        // Nested: the same window takes the inner text and stays until the outer end.
        ShowProgress("Zkracování transakčního logu");
        QCOMPARE(FormProgress.data(), form.data());
        QCOMPARE(form->LabelSpecification->text(), QStringLiteral("Zkracování transakčního logu"));
        HideProgress();
        QVERIFY(form && form->isVisible());
        HideProgress();
        QVERIFY(form.isNull());

        // Once more is harmless, and a fresh pair works again.
        HideProgress();
        ShowProgress("Znovu");
        QVERIFY(FormProgress && FormProgress->isVisible());
        HideProgress();
        QVERIFY(FormProgress.isNull());
    }

    void seamAnswersAnyDialog()
    {
        QDialog dialog;
        dialog.setWindowTitle(" Nový zákazník");
        auto *edit = new QLineEdit(&dialog);
        edit->setObjectName("EditName");
        auto *ok = new QPushButton("Ok", &dialog);
        ok->setObjectName("ButtonOk");
        connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
        bool shownWhileAnswered = false;

        ModalAnswers answers({Fill(
            [&](QDialog *d) {
                shownWhileAnswered = d->isVisible();
                d->findChild<QLineEdit *>("EditName")->setText("Novák");
            },
            ClickButton("ButtonOk"))});
        QCOMPARE(ExecModal(&dialog), int(QDialog::Accepted));
        QVERIFY(shownWhileAnswered);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(edit->text(), QStringLiteral("Novák"));
        QCOMPARE(answers.shown().at(0).caption, QStringLiteral(" Nový zákazník"));
        QCOMPARE(answers.shown().at(0).button, QStringLiteral("ButtonOk"));

        // An answer that only returns a code closes the dialog with it.
        answers.add([](QDialog *) { return 7; });
        QCOMPARE(ExecModal(&dialog), 7);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), 7);
    }

    void withoutAnswererRunsModally()
    {
        QCOMPARE(InstalledModalAnswerer(), nullptr);
        QDialog dialog;
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.done(3); });
        QCOMPARE(ExecModal(&dialog), 3);
    }

    void nestedAnswerersRestore()
    {
        ModalAnswers outer({Accept()});
        {
            ModalAnswers inner({Reject()});
            QVERIFY(!ShowQuestion("Vnitřní", ""));
        }
        QCOMPARE(InstalledModalAnswerer(), &outer);
        QVERIFY(ShowQuestion("Vnější", ""));
        QCOMPARE(outer.shown().size(), 1);
        QCOMPARE(outer.shown().at(0).text, QStringLiteral("Vnější"));
    }
};

QTEST_MAIN(TestMessages)
#include "tst_messages.moc"
