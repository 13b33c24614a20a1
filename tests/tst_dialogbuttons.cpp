// Enter and the dialogs' push buttons: Enter on the focused button presses that button,
// Enter in an edit presses only the dialog's named default (or nothing).
#include "core/DialogButton.h"
#include "core/UBackup.h"
#include "core/UDatabase.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/DialogButton.h"
#include "support/FormStateFile.h"
#include "support/ModalAnswers.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <functional>
#include <memory>

namespace {

using MakeDialog = std::function<TStoredDialog *()>;

// Focuses `button` and sends it `key` as a person at the desk would.
void PressOn(QPushButton *button, int key)
{
    button->setFocus();
    QCOMPARE(button->window()->focusWidget(), button);
    const Qt::KeyboardModifiers modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    QTest::keyClick(button->window()->focusWidget(), Qt::Key(key), modifiers);
}

// A plain dialog with the program's "Ok" and "Storno" and one edit.
struct ButtonsDialog {
    explicit ButtonsDialog(bool okIsDefault)
    {
        auto *layout = new QVBoxLayout(&dialog);
        edit = new QLineEdit(&dialog);
        layout->addWidget(edit);
        AddDialogButtons(&dialog, layout, okIsDefault);
        ok = dialog.findChild<QPushButton *>(QStringLiteral("ButtonOk"));
        cancel = dialog.findChild<QPushButton *>(QStringLiteral("ButtonCancel"));
    }
    QDialog dialog;
    QLineEdit *edit = nullptr;
    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;
};

} // namespace

Q_DECLARE_METATYPE(MakeDialog)

class TestDialogButtons : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void focusedButtonIsPressed_data()
    {
        QTest::addColumn<bool>("okIsDefault");
        QTest::addColumn<QString>("focused"); // objectName of the focused control
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");      // -1: the dialog stays open
        for (bool okIsDefault : {true, false}) {
            const char *d = okIsDefault ? "Ok default" : "no default";
            for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
                const char *k = key == Qt::Key_Return ? "Return" : "keypad Enter";
                QTest::addRow("%s, %s on Storno", d, k) << okIsDefault << "ButtonCancel" << key << int(QDialog::Rejected);
                QTest::addRow("%s, %s on Ok", d, k) << okIsDefault << "ButtonOk" << key << int(QDialog::Accepted);
                QTest::addRow("%s, %s in the edit", d, k)
                    << okIsDefault << "Edit" << key << (okIsDefault ? int(QDialog::Accepted) : -1);
            }
        }
    }
    void focusedButtonIsPressed()
    {
        QFETCH(bool, okIsDefault);
        QFETCH(QString, focused);
        QFETCH(int, key);
        QFETCH(int, result);
        ButtonsDialog d(okIsDefault);
        d.edit->setObjectName(QStringLiteral("Edit"));
        QVERIFY(!d.ok->autoDefault());
        QVERIFY(!d.cancel->autoDefault());
        d.dialog.show();
        QSignalSpy finished(&d.dialog, &QDialog::finished);
        QWidget *target = d.dialog.findChild<QWidget *>(focused);
        QVERIFY(target);
        target->setFocus();
        const Qt::KeyboardModifiers modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(d.dialog.focusWidget(), Qt::Key(key), modifiers);
        if (result < 0) {
            QVERIFY(d.dialog.isVisible());
            QCOMPARE(finished.count(), 0);
        } else {
            QCOMPARE(finished.count(), 1);
            QCOMPARE(d.dialog.result(), result);
        }
    }

    // Other keys still reach the button: Space presses it as before.
    void spaceStillPresses()
    {
        TDialogButton button(QStringLiteral("Přidat"));
        button.show();
        QSignalSpy clicked(&button, &QPushButton::clicked);
        button.setFocus();
        QTest::keyClick(&button, Qt::Key_Space);
        QCOMPARE(clicked.count(), 1);
        QTest::keyClick(&button, Qt::Key_Return);
        QCOMPARE(clicked.count(), 2);
        button.setEnabled(false);
        QTest::keyClick(&button, Qt::Key_Return);
        QCOMPARE(clicked.count(), 2);
    }

    // Enter on a focused Storno closes each stored dialog by Storno: the edit made meanwhile
    // is read back, not kept.
    void storedDialogStorno_data()
    {
        QTest::addColumn<MakeDialog>("make");
        QTest::addColumn<QString>("checkBox"); // a stored check box of the dialog
        QTest::addColumn<int>("key");
        const struct {
            const char *name;
            MakeDialog make;
            const char *checkBox;
        } dialogs[] = {
            {"print settings", [] { return new TFormSetupPrint; }, "CheckBoxVoucher"},
            {"rental settings", [] { return new TFormSetupVideo; }, "CheckBoxMo"},
            {"backup", [] { return new TFormBackup; }, "CheckBoxBackupDay"},
            {"database", [] { return new TFormDatabase; }, "CheckBoxReindex"},
        };
        for (const auto &d : dialogs) {
            QTest::addRow("%s, Return", d.name) << d.make << QString::fromLatin1(d.checkBox) << int(Qt::Key_Return);
            QTest::addRow("%s, keypad Enter", d.name) << d.make << QString::fromLatin1(d.checkBox) << int(Qt::Key_Enter);
        }
    }
    void storedDialogStorno()
    {
        QFETCH(MakeDialog, make);
        QFETCH(QString, checkBox);
        QFETCH(int, key);
        TemporaryWorkingFolder folder;
        QVERIFY(folder.isValid());
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite); // the database dialog shows the database's figures
        std::unique_ptr<TStoredDialog> form(make());
        auto *box = form->findChild<QCheckBox *>(checkBox);
        QVERIFY(box);
        bool before = false;
        bool closedByKey = false;
        ModalAnswers answers({[&](QDialog *dialog) {
            before = box->isChecked();
            box->setEnabled(true);
            box->setChecked(!before);
            PressOn(form->ButtonCancel, key);
            closedByKey = !dialog->isVisible();
            return dialog->result();
        }});
        QCOMPARE(ExecModal(form.get()), int(QDialog::Rejected));
        QVERIFY(closedByKey);
        QCOMPARE(box->isChecked(), before);
    }
};

QTEST_MAIN(TestDialogButtons)
#include "tst_dialogbuttons.moc"
