#include "core/UUserNew.h"

#include "core/database/Lookups.h"
#include "core/DialogButton.h"
#include "core/RunReported.h"
#include "core/platform/PasswordEdit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

bool NewPasswordAcceptable(const QString &password, const QString &confirmation)
{
    return !password.isEmpty() && password == confirmation && !password.endsWith(QLatin1Char(' '));
}

QLineEdit *AddUserEdit(QGridLayout *grid, const QString &objectName, const QString &caption,
                       bool password, QLabel **label)
{
    QWidget *parent = grid->parentWidget();
    const int row = grid->rowCount();
    auto *captionLabel = new QLabel(caption, parent);
    captionLabel->setObjectName(QStringLiteral("Label") + objectName.mid(4));
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setMaxLength(16);
    if (password)
        SetStarPasswordEcho(edit);
    captionLabel->setBuddy(edit);
    grid->addWidget(captionLabel, row, 0);
    grid->addWidget(edit, row, 1);
    if (label)
        *label = captionLabel;
    return edit;
}

TFormUserPassword::TFormUserPassword(const QString &objectName, const QString &caption,
                                     bool withOriginal, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    auto *fields = new QWidget(this);
    auto *grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(fields);
    EditUser = AddUserEdit(grid, QStringLiteral("EditUser"), QStringLiteral("Uživatel:"), false,
                           &LabelUser);
    if (withOriginal)
        EditPassOriginal = AddUserEdit(grid, QStringLiteral("EditPassOriginal"),
                                       QStringLiteral("Původní heslo:"), true, &LabelPassOriginal);
    EditPass = AddUserEdit(grid, QStringLiteral("EditPass"), QStringLiteral("Heslo:"), true,
                           &LabelPass);
    EditPassConfirm = AddUserEdit(grid, QStringLiteral("EditPassConfirm"),
                                  QStringLiteral("Potvrzení hesla:"), true, &LabelPassConfirm);

    AddDialogButtons(this, layout, true);
    ButtonOk = findChild<QPushButton *>(QStringLiteral("ButtonOk"));
    ButtonCancel = findChild<QPushButton *>(QStringLiteral("ButtonCancel"));
    ButtonOk->setEnabled(false);

    for (QLineEdit *edit : fields->findChildren<QLineEdit *>())
        connect(edit, &QLineEdit::textChanged, this, [this] { EditsChange(); });
    setFixedSize(sizeHint());
}

void TFormUserPassword::EnableOk(const std::function<bool()> &allowed)
{
    bool ok = false;
    RunReported([&] { ok = allowed(); });
    ButtonOk->setEnabled(ok);
}

TFormUserNew::TFormUserNew(QWidget *parent)
    : TFormUserPassword(QStringLiteral("FormUserNew"), QStringLiteral(" Nový uživatel"), false,
                        parent)
{
    EditUser->setFocus();
}

void TFormUserNew::EditsChange()
{
    EnableOk([this] {
        return !EditUser->text().isEmpty()
            && NewPasswordAcceptable(EditPass->text(), EditPassConfirm->text())
            && !UserExistsOther(0, EditUser->text());
    });
}
