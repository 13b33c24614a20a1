#include "support/DeskAnswers.h"

#include "catalogue/CodeBookStore.h"
#include "catalogue/UMediumEdit.h"
#include "core/controls/CurrencyEdit.h"
#include "rental/UBack.h"
#include "rental/ULend.h"
#include "core/controls/Int64Edit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QTest>

Answer Login(const QString &user, const QString &password, const QString &server)
{
    return Fill(
        [=](QDialog *d) {
            d->findChild<QLineEdit *>(QStringLiteral("EditUser"))->setText(user);
            d->findChild<QLineEdit *>(QStringLiteral("EditPassword"))->setText(password);
            d->findChild<QComboBox *>(QStringLiteral("ComboBoxServer"))->setEditText(server);
        },
        ClickButton(QStringLiteral("ButtonOk")));
}

Answer RunProgress(std::function<void(QDialog *)> during)
{
    return [during](QDialog *dialog) {
        if (during)
            during(dialog);
        QDeadlineTimer deadline(30000);
        while (dialog->isVisible() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return dialog->result();
    };
}

Answer LendDialog(std::function<void(TFormLend *form)> drive)
{
    return [drive = std::move(drive)](QDialog *dialog) {
        auto *form = qobject_cast<TFormLend *>(dialog);
        if (!form) {
            qWarning("not the lend dialog: %s", dialog->metaObject()->className());
            return int(QDialog::Rejected);
        }
        form->activateWindow();
        QApplication::setActiveWindow(form);
        if (!QTest::qWaitForWindowActive(form))
            qWarning("the lend dialog is not active");
        drive(form);
        return form->result();
    };
}

void KeyTo(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(window->focusWidget() ? window->focusWidget() : window, key, modifiers);
}

void Scan(TFormLend *form, const char *code)
{
    form->Int64EditVideo->setFocus();
    form->Int64EditVideo->selectAll();
    QTest::keyClicks(form->Int64EditVideo, QString::fromLatin1(code));
}

Answer BackDialog(std::function<void(TFormBack *form)> look, QList<KeyPress> keys)
{
    return [look = std::move(look), keys = std::move(keys)](QDialog *dialog) {
        auto *form = qobject_cast<TFormBack *>(dialog);
        if (!form) {
            qWarning("not the return dialog: %s", dialog->metaObject()->className());
            return int(QDialog::Rejected);
        }
        form->activateWindow();
        if (!QTest::qWaitFor([form] { return QApplication::activeWindow() == form; }))
            qWarning("the return dialog is not active");
        if (look)
            look(form);
        for (const auto &[key, modifiers] : keys)
            QTest::keyClick(form->Int64EditVideo, key, modifiers);
        return form->result();
    };
}

Answer MediumDialog(const MediumValues &values)
{
    return Fill(
        [values](QDialog *dialog) {
            auto *form = qobject_cast<TFormMediumValues *>(dialog);
            QVERIFY(form);
            form->EditMedium->setText(values.name);
            form->CurrencyEditLend->SetValue(values.rentalFee);
            form->CurrencyEditBack->SetValue(values.lateFee);
            form->CurrencyEditAdvance->SetValue(values.deposit);
            if (form->CheckBoxDubing->isChecked() != values.dubbing)
                form->CheckBoxDubing->click();
        },
        ClickButton(QStringLiteral("ButtonOk")));
}

Answer DirectionDialog(const QString &name)
{
    return Fill(
        [name](QDialog *dialog) {
            dialog->findChild<QLineEdit *>(QStringLiteral("EditDirection"))->setText(name);
        },
        ClickButton(QStringLiteral("ButtonOk")));
}
