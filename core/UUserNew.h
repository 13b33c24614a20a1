#pragma once
#include <QDialog>
#include <functional>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// What the new-user and the user-edit dialogs share: the name, the password typed twice
// (at most 16 characters, the passwords shown as "*") and Ok (default, disabled until
// the fields allow it) and Storno (Esc). Every change of an edit runs EditsChange.
class TFormUserPassword : public QDialog {
    Q_OBJECT
public:
    QLabel *LabelUser = nullptr;
    QLineEdit *EditUser = nullptr;
    // Only in the user-edit dialog (null in the new-user dialog).
    QLabel *LabelPassOriginal = nullptr;
    QLineEdit *EditPassOriginal = nullptr;
    QLabel *LabelPass = nullptr;
    QLineEdit *EditPass = nullptr;
    QLabel *LabelPassConfirm = nullptr;
    QLineEdit *EditPassConfirm = nullptr;
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;

    virtual void EditsChange() = 0;

protected:
    // `withOriginal` adds "Původní heslo:" between the name and the new password.
    TFormUserPassword(const QString &objectName, const QString &caption, bool withOriginal,
                      QWidget *parent);
    // Ok is enabled when `allowed` holds; an error of the database reaches the error
    // report and leaves Ok disabled.
    void EnableOk(const std::function<bool()> &allowed);
};

// " Nový uživatel": the name and the password of a user to add.
class TFormUserNew : public TFormUserPassword {
    Q_OBJECT
public:
    explicit TFormUserNew(QWidget *parent = nullptr);

    // Ok while the name and the password are given, the confirmation matches exactly,
    // the password does not end in a blank and no user has the name.
    void EditsChange() override;
};

// A password that can be set: not empty, matching its confirmation exactly and not ending
// in a blank (the stored password loses trailing blanks, so it could never log in).
bool NewPasswordAcceptable(const QString &password, const QString &confirmation);

// Adds a field with its label to the next row of `grid`: at most 16 characters, shown as
// "*" when `password`.
QLineEdit *AddUserEdit(QGridLayout *grid, const QString &objectName, const QString &caption,
                       bool password, QLabel **label = nullptr);
