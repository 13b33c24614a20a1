#include "catalogue/UCustomerNew.h"

#include "core/NamedWidget.h"
#include "core/controls/Int64Edit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

TFormCustomerNew::TFormCustomerNew(QWidget *parent)
    : TFormCustomer(QStringLiteral("FormCustomerNew"), QStringLiteral(" Nový zákazník"), parent)
{
    LabelCustomerProhibition = AddWarning("LabelCustomerProhibition", QStringLiteral("Nepovolený kód..."), RowNumber);
    LabelCustomerExist = AddWarning("LabelCustomerExist", QStringLiteral("Kód již v databázi existuje..."), RowNumber);
    CheckBoxCard = Named<QCheckBox>(this, "CheckBoxCard", QStringLiteral("Tisk karty zákazníka"));
    AddSideCheckBox(CheckBoxCard);
    SetLimitIndex(LimitNone);
    Image->setPixmap(style()->standardIcon(QStyle::SP_FileDialogNewFolder).pixmap(32, 32));

    QList<QWidget *> chain{Int64EditCustomer, EditName,     EditPhone,    EditAddress1,
                           EditAddress2,      EditBirth,    EditIdentity, CheckBoxCard};
    for (QAbstractButton *radio : LimitButtons())
        chain << radio;
    chain << EditText << ButtonOk << ButtonCancel;
    SetTabOrder(chain);

    for (QLineEdit *edit : {static_cast<QLineEdit *>(Int64EditCustomer), EditBirth, EditIdentity, EditText})
        connect(edit, &QLineEdit::textChanged, this, [this] { EditsChange(); });
    Int64EditCustomer->setFocus();
    setFixedSize(sizeHint());
}

void TFormCustomerNew::FormActivate()
{
    EditsChange();
}

void TFormCustomerNew::EditsChange()
{
    const std::optional<CustomerWarnings> shown = ShowWarnings(CheckNewCustomer);
    if (!shown)
        return;
    LabelCustomerProhibition->setVisible(shown->prohibition);
    LabelCustomerExist->setVisible(shown->exist);
}
