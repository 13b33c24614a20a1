#include "catalogue/UCustomerEdit.h"

#include "catalogue/CustomerRules.h"
#include "core/NamedWidget.h"
#include "core/RunGlobals.h"
#include "core/RunReported.h"
#include "core/controls/Int64Edit.h"
#include "core/database/Database.h"
#include "core/database/Lookups.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

TFormCustomerEdit::TFormCustomerEdit(QWidget *parent)
    : TFormCustomer(QStringLiteral("FormCustomerEdit"), QStringLiteral(" Editace zákazníka"), parent)
{
    Int64EditCustomer->setReadOnly(true);
    CheckBoxHistory = Named<QCheckBox>(this, "CheckBoxHistory", QStringLiteral("Vymazat historii"));
    AddSideCheckBox(CheckBoxHistory);
    Image->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(32, 32));
    ButtonOk->setEnabled(false);

    QList<QWidget *> chain{Int64EditCustomer, EditName,  EditAddress1, EditAddress2,
                           EditBirth,         EditPhone, EditIdentity};
    for (QAbstractButton *radio : LimitButtons())
        chain << radio;
    chain << EditText << CheckBoxHistory << ButtonOk << ButtonCancel;
    SetTabOrder(chain);

    for (QLineEdit *edit : GroupBoxIdentity->findChildren<QLineEdit *>())
        connect(edit, &QLineEdit::textChanged, this, [this] { EditsChange(); });
    connect(EditText, &QLineEdit::textChanged, this, [this] { EditsChange(); });
    connect(m_limits, &QButtonGroup::buttonClicked, this, [this] { EditsChange(); });
    connect(CheckBoxHistory, &QCheckBox::clicked, this, [this] { EditsChange(); });
    // The number cannot change: start in the name.
    EditName->setFocus();
    setFixedSize(sizeHint());
}

void TFormCustomerEdit::FormActivate()
{
    RunReported([this] {
        const qint64 customer = Int64EditCustomer->Value();
        const bool editable = IdentityEditable(GetUserRight(UserName(), QStringLiteral("ZAKAZNIK_EDITACE")),
                                               CustomerHasLent(customer),
                                               GetUserRight(UserName(), QStringLiteral("SPECIAL")));
        GroupBoxIdentity->setEnabled(editable);
        if (!editable) { // the name is closed: start in the restriction
            QAbstractButton *limit = m_limits->checkedButton();
            (limit ? limit : LimitButtons().constFirst())->setFocus();
        }
        CheckBoxHistory->setEnabled(GetUserRight(UserName(), QStringLiteral("ZAKAZNIK_HISTORIE")));
    });
    ButtonOk->setEnabled(false);
}

void TFormCustomerEdit::EditsChange()
{
    ShowWarnings(CheckEditedCustomer);
}
