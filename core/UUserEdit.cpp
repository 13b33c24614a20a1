#include "core/UUserEdit.h"

#include "core/database/Lookups.h"
#include "core/RunGlobals.h"

#include <QLineEdit>
#include <QPushButton>

TFormUserEdit::TFormUserEdit(int userId, const QString &user, QWidget *parent)
    : TFormUserPassword(QStringLiteral("FormUserEdit"), QStringLiteral(" Editace uživatele"), true,
                        parent),
      m_userId(userId)
{
    EditUser->setReadOnly(true);
    EditUser->setText(user);
    EditPassOriginal->setFocus();
}

void TFormUserEdit::showEvent(QShowEvent *event)
{
    TFormUserPassword::showEvent(event);
    FormActivate();
}

void TFormUserEdit::FormActivate()
{
    ButtonOk->setEnabled(false);
}

void TFormUserEdit::EditsChange()
{
    EnableOk([this] {
        return !EditPassOriginal->text().isEmpty() && EditPassOriginal->text() == UserPassword()
            && NewPasswordAcceptable(EditPass->text(), EditPassConfirm->text())
            && !UserExistsOther(m_userId, EditUser->text());
    });
}
