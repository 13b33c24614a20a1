#include "support/Clerk.h"

#include "catalogue/UCustomerNew.h"
#include "catalogue/UCustomerPage.h"
#include "catalogue/UVideoNew.h"
#include "core/Log.h"
#include "core/UValmedo.h"
#include "core/controls/CurrencyEdit.h"
#include "core/controls/Int64Edit.h"
#include "rental/UBack.h"
#include "rental/UBackPage.h"
#include "rental/ULend.h"
#include "rental/ULendPage.h"
#include "rental/URecapitulationBack.h"
#include "rental/URecapitulationLend.h"
#include "support/DeskAnswers.h"
#include "support/ModalAnswers.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

void ActivateDesk()
{
    FormValmedo->activateWindow();
    QApplication::setActiveWindow(FormValmedo);
    // Best effort: the offscreen platform activates a window when it can.
    static_cast<void>(QTest::qWaitForWindowActive(FormValmedo));
}

void TypeOver(QWidget *box, const QString &text)
{
    box->setFocus();
    auto *edit = qobject_cast<QLineEdit *>(box);
    if (!edit)
        edit = static_cast<QComboBox *>(box)->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void KeyToDesk(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *focused = QApplication::focusWidget();
    QTest::keyClick(focused ? focused : FormValmedo, key, modifiers);
}

void AddCustomerByKeys(ModalAnswers &answers, const CustomerRecord &customer)
{
    answers.add(On<TFormCustomerNew>([customer](TFormCustomerNew *form) {
        QCOMPARE_EQ(form->Int64EditCustomer->Value(), customer.number);
        form->Fill(customer);
        form->ButtonOk->click();
    }));
    ActivateDesk();
    KeyToDesk(Qt::Key_F5);
    KeyToDesk(Qt::Key_F2);
}

void AddVideoByKeys(ModalAnswers &answers, const VideoEntry &video)
{
    answers.add(On<TFormVideoNew>([video](TFormVideoNew *form) {
        QCOMPARE_EQ(form->Int64EditVideo->Value(), video.number);
        form->EditTitle->setText(video.title);
        form->ComboBoxMedium->setCurrentText(video.medium);
        form->ComboBoxDirection->setCurrentText(video.direction);
        form->CurrencyEditPrice->setFocus();
        form->CurrencyEditPrice->selectAll();
        QTest::keyClicks(form->CurrencyEditPrice, video.price);
        form->ButtonOk->click();
    }));
    ActivateDesk();
    KeyToDesk(Qt::Key_F6);
    KeyToDesk(Qt::Key_F3);
}

void LendByKeys(ModalAnswers &answers, qint64 customer, const QList<LentVideo> &videos, bool print,
                QString *amount)
{
    answers.add(LendDialog([videos](TFormLend *form) {
        for (const LentVideo &lent : videos) {
            Scan(form, QByteArray::number(lent.video).constData());
            for (int day = 0; day < lent.days; ++day)
                KeyTo(form, Qt::Key_Return);
        }
        KeyTo(form, Qt::Key_Plus, Qt::KeypadModifier);
    }));
    answers.add(On<TFormRecapitulationLend>([print, amount](TFormRecapitulationLend *form) {
        if (amount)
            *amount = form->LabelRecapitulation->text();
        form->CheckBoxOriginal->setChecked(print);
        form->BitBtnLend->click();
    }));
    ActivateDesk();
    KeyToDesk(Qt::Key_F7);
    TypeOver(FormValmedo->lendPage()->Int64EditLendCustomer, QString::number(customer));
    KeyToDesk(Qt::Key_Return);
}

void ReturnByKeys(ModalAnswers &answers, qint64 video, bool all, bool print, QString *amount)
{
    QList<KeyPress> keys;
    if (all)
        keys << KeyPress{Qt::Key_Space, Qt::NoModifier};
    keys << KeyPress{Qt::Key_Plus, Qt::KeypadModifier};
    answers.add(BackDialog({}, keys));
    answers.add(On<TFormRecapitulationBack>([print, amount](TFormRecapitulationBack *form) {
        if (amount)
            *amount = form->LabelRecapitulation->text();
        form->CheckBoxOriginal->setChecked(print);
        form->BitBtnBack->click();
    }));
    ActivateDesk();
    KeyToDesk(Qt::Key_F8);
    TypeOver(FormValmedo->backPage()->Int64EditBackVideo, QString::number(video));
    KeyToDesk(Qt::Key_Return);
}

void RefreshDesk()
{
    FormValmedo->findChild<QToolButton *>(QStringLiteral("SpeedButtonRefresh"))->click();
}

QStringList DeskLogTexts()
{
    QStringList texts;
    for (const QString &line : FormValmedo->log()->Lines())
        texts << line.section(QLatin1Char(' '), 2);
    return texts;
}
