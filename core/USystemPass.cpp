#include "core/USystemPass.h"

#include "core/DialogButton.h"
#include "core/platform/PasswordEdit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormSystemPass::TFormSystemPass(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSystemPass"));
    setWindowTitle(QStringLiteral(" Systémové heslo"));
    auto *layout = new QVBoxLayout(this);
    LabelSystemPass = new QLabel(QStringLiteral("Heslo systémového administrátora:"), this);
    LabelSystemPass->setObjectName(QStringLiteral("LabelSystemPass"));
    layout->addWidget(LabelSystemPass);
    EditSystemPass = new QLineEdit(this);
    EditSystemPass->setObjectName(QStringLiteral("EditSystemPass"));
    EditSystemPass->setMaxLength(32);
    SetStarPasswordEcho(EditSystemPass);
    LabelSystemPass->setBuddy(EditSystemPass);
    layout->addWidget(EditSystemPass);
    AddDialogButtons(this, layout, true);
    ButtonOk = findChild<QPushButton *>(QStringLiteral("ButtonOk"));
    ButtonCancel = findChild<QPushButton *>(QStringLiteral("ButtonCancel"));
    setFixedSize(sizeHint().expandedTo(QSize(300, 110)));
}
