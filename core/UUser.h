#pragma once
#include <QDialog>

class BrowseQuery;
class QGroupBox;
class QMouseEvent;
class QPushButton;
class TRxDBGridEx;

// " Uživatelé a hesla": the program's users with their nine rights as check boxes. Users
// are added, get a new password or are removed, and a click on a check box switches that
// right. The main window runs the whole window inside one transaction (ActionUser):
// committed on Ok, rolled back otherwise; every statement here runs under the frame's
// savepoint, so a refused one undoes only itself.
class TFormUser : public QDialog {
    Q_OBJECT
public:
    explicit TFormUser(QWidget *parent = nullptr);
    ~TFormUser() override;

    // Enables ButtonEdit and ButtonDelete while tab_uzivatel has rows.
    void DataSourceUserDataChange();
    void ButtonAddClick();
    void ButtonEditClick();
    void ButtonDeleteClick();
    // A press in the grid, after the grid has made the pressed row current: a press inside
    // a right's check box switches that right of that user.
    void RxDBGridPlusMouseDown(TRxDBGridEx *grid, QMouseEvent *event);

    // Opens ADOQueryUser on the row of that user (the first row when there is none).
    void OpenOn(const QString &user);
    // The logged-in user's name as it stands in the users table.
    static QString LoggedInUser();

    BrowseQuery *ADOQueryUser = nullptr;
    QGroupBox *GroupBoxUser = nullptr;
    TRxDBGridEx *RxDBGridEx = nullptr;
    QPushButton *ButtonAdd = nullptr;
    QPushButton *ButtonEdit = nullptr;
    QPushButton *ButtonDelete = nullptr;
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonClose = nullptr;

private:
    // Switches right `field` of the current user; false when it was refused or failed.
    void ToggleRight(const QString &field);
    // True (after telling why) when the current user is the last one holding ADMIN.
    bool RefuseLastAdmin(const QString &text);
};

// The one users window while it is open (null otherwise).
extern TFormUser *FormUser;

// Makes the users window for the main window's ActionUser, its list on the logged-in user.
QDialog *CreateFormUser();
