#pragma once
#include "core/UUserNew.h"

// " Editace uživatele": a new password for the user shown in the read-only EditUser. Ok is
// enabled only while "Původní heslo:" holds the password the logged-in user typed at
// login, whichever user is edited, and the new password can be set.
class TFormUserEdit : public TFormUserPassword {
    Q_OBJECT
public:
    // `userId` and `user`: the row being edited.
    TFormUserEdit(int userId, const QString &user, QWidget *parent = nullptr);

    // Each showing starts with Ok disabled.
    void FormActivate();
    void EditsChange() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    int m_userId;
};
