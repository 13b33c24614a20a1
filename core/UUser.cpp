#include "core/UUser.h"

#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/Database.h"
#include "core/DialogButton.h"
#include "core/database/Errors.h"
#include "core/Grids.h"
#include "core/Messages.h"
#include "core/Modal.h"
#include "core/RunGlobals.h"
#include "core/Texts.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"
#include "core/UUserEdit.h"
#include "core/UUserNew.h"
#include "core/RunReported.h"
#include "core/TransactionFrame.h"
#include "core/controls/RxDBGridEx.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

TFormUser *FormUser = nullptr;

namespace {

// The grid's columns are the query's fields: the key stands at the indicator's place and
// the password has no visible column, so the hit test finds the field of a column.
const int ColumnKey = 0;
const int ColumnUser = 1;
const int ColumnPassword = 2;
const int FirstRightColumn = 3;

const char *const RightTitles[] = {
    "Zákazník Editace", "Zákazník Historie", "Zákazník Odebrat", "Video Editace",
    "Video Historie", "Video Odebrat", "Nastavení", "Special", "Admin",
};

const QString AdminRight = QStringLiteral("ADMIN");

QPushButton *addButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = new TDialogButton(caption, parent);
    button->setObjectName(name);
    return button;
}

// The statements of the window run under the frame's savepoint; a failure is dropped
// (the list is then not re-read) and false returned.
bool runStatement(const std::function<void()> &statement)
{
    try {
        FrameStatement(statement);
        return true;
    } catch (const EDatabaseError &) {
        return false;
    }
}

} // namespace

TFormUser::TFormUser(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormUser"));
    setWindowTitle(QStringLiteral(" Uživatelé a hesla"));

    ADOQueryUser = new BrowseQuery(this);
    ADOQueryUser->setObjectName(QStringLiteral("ADOQueryUser"));
    ADOQueryUser->setSql({QStringLiteral("SELECT * FROM tab_uzivatel"),
                          QStringLiteral("ORDER BY ")
                              + CurrentServer()->dialect().textOrder(QStringLiteral("UZIVATEL"))});
    for (const QString &right : UserRightColumns())
        ADOQueryUser->setFieldKind(right, FieldKind::Boolean);
    ADOQueryUser->setDisplayLabel(QStringLiteral("UZIVATEL"), QStringLiteral("Uživatel"));
    for (int i = 0; i < UserRightColumns().size(); ++i)
        ADOQueryUser->setDisplayLabel(UserRightColumns().at(i), QString::fromUtf8(RightTitles[i]));

    auto *layout = new QVBoxLayout(this);
    GroupBoxUser = new QGroupBox(QStringLiteral("Uživatelé a jejich práva"), this);
    GroupBoxUser->setObjectName(QStringLiteral("GroupBoxUser"));
    auto *groupLayout = new QVBoxLayout(GroupBoxUser);

    RxDBGridEx = new TRxDBGridEx(GroupBoxUser);
    RxDBGridEx->setObjectName(QStringLiteral("RxDBGridEx"));
    RxDBGridEx->SetTitleHeight(32);
    RxDBGridEx->SetRowSelect(true);
    RxDBGridEx->setModel(ADOQueryUser);
    for (int i = 0; i < UserRightColumns().size(); ++i)
        RxDBGridEx->SetColumnTitleAlignment(FirstRightColumn + i, Qt::AlignHCenter);
    groupLayout->addWidget(RxDBGridEx);

    auto *buttons = new QHBoxLayout;
    ButtonAdd = addButton(GroupBoxUser, QStringLiteral("ButtonAdd"), QStringLiteral("Přidat"));
    ButtonAdd->setDefault(true);
    ButtonEdit = addButton(GroupBoxUser, QStringLiteral("ButtonEdit"), QStringLiteral("Editovat"));
    ButtonDelete = addButton(GroupBoxUser, QStringLiteral("ButtonDelete"), QStringLiteral("Odebrat"));
    buttons->addWidget(ButtonAdd);
    buttons->addWidget(ButtonEdit);
    buttons->addWidget(ButtonDelete);
    buttons->addStretch(1);
    groupLayout->addLayout(buttons);
    layout->addWidget(GroupBoxUser);

    auto *closing = new QHBoxLayout;
    closing->addStretch(1);
    ButtonOk = addButton(this, QStringLiteral("ButtonOk"), QStringLiteral("Ok"));
    ButtonClose = addButton(this, QStringLiteral("ButtonClose"), QStringLiteral("Storno"));
    closing->addWidget(ButtonOk);
    closing->addWidget(ButtonClose);
    layout->addLayout(closing);

    connect(ButtonAdd, &QPushButton::clicked, this, [this] { RunReported([this] { ButtonAddClick(); }); });
    connect(ButtonEdit, &QPushButton::clicked, this, [this] { RunReported([this] { ButtonEditClick(); }); });
    connect(ButtonDelete, &QPushButton::clicked, this,
            [this] { RunReported([this] { ButtonDeleteClick(); }); });
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::reject);
    RxDBGridEx->OnMouseDown = [this](TRxDBGridEx *grid, QMouseEvent *event) {
        RunReported([&] { RxDBGridPlusMouseDown(grid, event); });
    };
    auto dataChange = [this] { RunReported([this] { DataSourceUserDataChange(); }); };
    connect(ADOQueryUser, &DataSet::currentRowChanged, this, dataChange);
    connect(ADOQueryUser, &QAbstractItemModel::modelReset, this, dataChange);

    resize(680, 300);
    FormUser = this;
}

TFormUser::~TFormUser()
{
    ADOQueryUser->close();
    if (FormUser == this)
        FormUser = nullptr;
}

// The logged-in user as the login statement bound the typed name (without trailing
// blanks), so that it matches the user's row.
QString TFormUser::LoggedInUser()
{
    return TrimmedRight(UserName());
}

void TFormUser::OpenOn(const QString &user)
{
    ADOQueryUser->open();
    // The columns exist once the fields are known.
    RxDBGridEx->setColumnHidden(ColumnKey, true);
    RxDBGridEx->setColumnHidden(ColumnPassword, true);
    RxDBGridEx->setColumnWidth(ColumnUser, 126);
    // 49 pixels, or wider where a title's word would not fit in the desk's font.
    for (int i = 0; i < UserRightColumns().size(); ++i)
        RxDBGridEx->setColumnWidth(FirstRightColumn + i,
                                   qMax(49, RxDBGridEx->ColumnTitleWidth(FirstRightColumn + i)));
    ADOQueryUser->locate(QStringLiteral("UZIVATEL"), user);
    DataSourceUserDataChange();
}

void TFormUser::DataSourceUserDataChange()
{
    const bool rows = TableHasRecords(QStringLiteral("tab_uzivatel"));
    ButtonEdit->setEnabled(rows);
    ButtonDelete->setEnabled(rows);
}

void TFormUser::ButtonAddClick()
{
    TFormUserNew form(this);
    if (ExecModal(&form) != QDialog::Accepted)
        return;
    QVariant id;
    const bool done = runStatement([&] {
        SetCommand(QStringLiteral("INSERT INTO tab_uzivatel (UZIVATEL,HESLO) VALUES (:UZIVATEL,:HESLO) "
                                  "RETURNING ID_UZIVATEL"));
        SetCommandParam(QStringLiteral("UZIVATEL"), form.EditUser->text());
        SetCommandParam(QStringLiteral("HESLO"), form.EditPass->text());
        id = ExecCommandValue();
    });
    if (done)
        RequeryLocate(*ADOQueryUser, id.toInt());
}

void TFormUser::ButtonEditClick()
{
    const QString user = ADOQueryUser->value(QStringLiteral("UZIVATEL")).toString();
    if (user == QLatin1String("sa")) {
        ShowInformation(QStringLiteral("Tohoto uživatele nelze editovat..."),
                        QStringLiteral("Uživatele [sa] nelze editovat..."), true, RxDBGridEx);
        return;
    }
    const int key = ADOQueryUser->value(QStringLiteral("ID_UZIVATEL")).toInt();
    TFormUserEdit form(key, user, this);
    if (ExecModal(&form) != QDialog::Accepted)
        return;
    const bool done = runStatement([&] {
        SetCommand(QStringLiteral("UPDATE tab_uzivatel SET UZIVATEL=:UZIVATEL,HESLO=:HESLO "
                                  "WHERE ID_UZIVATEL=:ID_UZIVATEL"));
        SetCommandParam(QStringLiteral("ID_UZIVATEL"), key);
        SetCommandParam(QStringLiteral("UZIVATEL"), form.EditUser->text());
        SetCommandParam(QStringLiteral("HESLO"), form.EditPass->text());
        ExecCommand();
    });
    if (done)
        RequeryLocate(*ADOQueryUser, key);
}

void TFormUser::ButtonDeleteClick()
{
    const QString user = ADOQueryUser->value(QStringLiteral("UZIVATEL")).toString();
    if (user == QLatin1String("sa") || user == LoggedInUser()) {
        ShowInformation(QStringLiteral("Tohoto uživatele nelze odebrat..."),
                        QStringLiteral("Uživatele [sa] a právě přihlášeného uživatele nelze odebrat..."),
                        true, RxDBGridEx);
        return;
    }
    if (RefuseLastAdmin(QStringLiteral("Tohoto uživatele nelze odebrat...")))
        return;
    const QVariant prior = GetPriorKey(*ADOQueryUser);
    const int key = ADOQueryUser->value(QStringLiteral("ID_UZIVATEL")).toInt();
    const bool done = runStatement([&] {
        SetCommand(QStringLiteral("DELETE FROM tab_uzivatel WHERE ID_UZIVATEL=:ID_UZIVATEL"));
        SetCommandParam(QStringLiteral("ID_UZIVATEL"), key);
        ExecCommand();
    });
    if (!done) {
        ShowInformation(QStringLiteral("Uživatele nelze odebrat..."),
                        QStringLiteral("Uživatel je používán v databázi půjčky..."), true, RxDBGridEx);
        return;
    }
    RequeryLocate(*ADOQueryUser, prior);
}

void TFormUser::RxDBGridPlusMouseDown(TRxDBGridEx *grid, QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    QString field;
    if (!GridCheckBoxHit(grid, pos.x(), pos.y(), &field))
        return;
    ToggleRight(field.toUpper());
}

void TFormUser::ToggleRight(const QString &field)
{
    // The name is pasted into the statement: only the nine right columns pass.
    if (!UserRightColumns().contains(field) || ADOQueryUser->currentRow() < 0)
        return;
    if (field == AdminRight && ADOQueryUser->value(AdminRight).toBool()
        && RefuseLastAdmin(QStringLiteral("Toto právo nelze odebrat...")))
        return;
    const int key = ADOQueryUser->value(QStringLiteral("ID_UZIVATEL")).toInt();
    // 1-F, never a bitwise not: ~1 is -2 on both engines. A null right becomes granted.
    const bool done = runStatement([&] {
        SetCommand(QStringLiteral("UPDATE tab_uzivatel SET %1=1-COALESCE(%1,0) "
                                  "WHERE ID_UZIVATEL=:ID_UZIVATEL").arg(field));
        SetCommandParam(QStringLiteral("ID_UZIVATEL"), key);
        ExecCommand();
    });
    if (done)
        RequeryLocate(*ADOQueryUser, key);
}

bool TFormUser::RefuseLastAdmin(const QString &text)
{
    if (!ADOQueryUser->value(AdminRight).toBool())
        return false;
    int holders = 0;
    FrameStatement([&holders] {
        SetCommand(QStringLiteral("SELECT COUNT(*) FROM tab_uzivatel WHERE ADMIN=1"));
        holders = ExecCommandValue().toInt();
    });
    if (holders > 1)
        return false;
    // Nobody could manage the users any more.
    ShowInformation(text, QStringLiteral("Uživatel je posledním uživatelem s právem [Admin]..."),
                    true, RxDBGridEx);
    return true;
}

QDialog *CreateFormUser()
{
    auto form = std::make_unique<TFormUser>();
    form->OpenOn(TFormUser::LoggedInUser());
    return form.release();
}
