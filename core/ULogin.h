#pragma once
#include "core/FormStorage.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The login dialog " Přihlášení": the user name, the password and the server. Start-up
// shows it at every attempt of the login loop and reads the three texts after "Ok".
// The user name and the server are stored (section "Login") only by start-up, after a
// successful login; the password never.
class TFormLogin : public QDialog {
    Q_OBJECT
public:
    explicit TFormLogin(QWidget *parent = nullptr);

    // The stored user name and server of the last successful login.
    void RestoreStoredValues();
    void SaveStoredValues();

    // Runs each time the dialog is shown: clears the password and puts the focus on
    // the password, or on the user name when that is empty.
    void FormActivate();

    QGroupBox *GroupBoxLogin = nullptr;
    QLabel *LabelUser = nullptr;
    QLineEdit *EditUser = nullptr;
    QLabel *LabelPassword = nullptr;
    QLineEdit *EditPassword = nullptr;
    QLabel *LabelServer = nullptr;
    QComboBox *ComboBoxServer = nullptr;
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;

    // Not active: start-up restores and saves it.
    TFormStorage FormStorage{this, QStringLiteral("Login"),
                             {QStringLiteral("EditUser.Text"), QStringLiteral("ComboBoxServer.Text")},
                             false};

protected:
    void showEvent(QShowEvent *event) override;
};

// The platform is of the family whose server list is filled (always, here).
bool IsWindowsNT();
// Adds the names of the database servers found to `items` (not cleared first): "(local)"
// first, then "localhost" when a PostgreSQL server answers on this machine. Never fails.
void ListSQLServers(QStringList &items);
