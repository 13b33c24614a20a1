#include "core/ULogin.h"

#include "core/database/SqlServer.h"
#include "core/DialogButton.h"
#include "core/platform/PasswordEdit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormLogin::TFormLogin(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormLogin"));
    setWindowTitle(QStringLiteral(" Přihlášení"));
    auto *layout = new QVBoxLayout(this);

    GroupBoxLogin = new QGroupBox(QStringLiteral("Přihlášení uživatele"), this);
    GroupBoxLogin->setObjectName(QStringLiteral("GroupBoxLogin"));
    auto *grid = new QGridLayout(GroupBoxLogin);
    LabelUser = new QLabel(QStringLiteral("Uživatel:"), GroupBoxLogin);
    LabelUser->setObjectName(QStringLiteral("LabelUser"));
    EditUser = new QLineEdit(QStringLiteral("sa"), GroupBoxLogin);
    EditUser->setObjectName(QStringLiteral("EditUser"));
    EditUser->setMaxLength(16);
    LabelPassword = new QLabel(QStringLiteral("Heslo:"), GroupBoxLogin);
    LabelPassword->setObjectName(QStringLiteral("LabelPassword"));
    EditPassword = new QLineEdit(GroupBoxLogin);
    EditPassword->setObjectName(QStringLiteral("EditPassword"));
    EditPassword->setMaxLength(16);
    SetStarPasswordEcho(EditPassword);
    LabelServer = new QLabel(QStringLiteral("SQL Server:"), GroupBoxLogin);
    LabelServer->setObjectName(QStringLiteral("LabelServer"));
    ComboBoxServer = new QComboBox(GroupBoxLogin);
    ComboBoxServer->setObjectName(QStringLiteral("ComboBoxServer"));
    ComboBoxServer->setEditable(true);
    // Enter would add the typed name to the list of servers found.
    ComboBoxServer->setInsertPolicy(QComboBox::NoInsert);
    ComboBoxServer->lineEdit()->setMaxLength(128);
    LabelUser->setBuddy(EditUser);
    LabelPassword->setBuddy(EditPassword);
    LabelServer->setBuddy(ComboBoxServer);
    grid->addWidget(LabelUser, 0, 0);
    grid->addWidget(EditUser, 0, 1);
    grid->addWidget(LabelPassword, 1, 0);
    grid->addWidget(EditPassword, 1, 1);
    grid->addWidget(LabelServer, 2, 0);
    grid->addWidget(ComboBoxServer, 2, 1);
    layout->addWidget(GroupBoxLogin);

    AddDialogButtons(this, layout, true);
    ButtonOk = findChild<QPushButton *>(QStringLiteral("ButtonOk"));
    ButtonCancel = findChild<QPushButton *>(QStringLiteral("ButtonCancel"));

    setTabOrder(EditUser, EditPassword);
    setTabOrder(EditPassword, ComboBoxServer);
    setTabOrder(ComboBoxServer, ButtonOk);
    setTabOrder(ButtonOk, ButtonCancel);

    resize(274, 203);
    setFixedSize(sizeHint().expandedTo(QSize(274, 203)));
}

void TFormLogin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TFormLogin::FormActivate()
{
    EditPassword->clear();
    if (EditUser->text().isEmpty())
        EditUser->setFocus();
    else
        EditPassword->setFocus();
}

void TFormLogin::RestoreStoredValues()
{
    FormStorage.Restore();
}

void TFormLogin::SaveStoredValues()
{
    FormStorage.Save();
}

bool IsWindowsNT()
{
    return true;
}

void ListSQLServers(QStringList &items)
{
    try {
        items << SqlServer::listServers();
    } catch (...) {
        // the list stays as far as it was filled
    }
}
