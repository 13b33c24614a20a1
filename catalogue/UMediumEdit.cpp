#include "catalogue/UMediumEdit.h"

#include "catalogue/CodeBookStore.h"
#include "core/controls/CurrencyEdit.h"
#include "core/database/Lookups.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFormMediumValues::TFormMediumValues(const QString &objectName, const QString &caption, int id,
                                     QWidget *parent)
    : TFormCodeBookItem(objectName, caption, QStringLiteral("EditMedium"), QStringLiteral("Nosič:"),
                        MediumNameLength, id, MediumExistsOther, parent)
{
    EditMedium = m_name;
    CurrencyEditLend = addFee(QStringLiteral("CurrencyEditLend"), QStringLiteral("Půjčovné:"));
    CurrencyEditBack = addFee(QStringLiteral("CurrencyEditBack"), QStringLiteral("Vratné:"));
    CurrencyEditAdvance = addFee(QStringLiteral("CurrencyEditAdvance"), QStringLiteral("Záloha:"));
    CheckBoxDubing = new QCheckBox(QStringLiteral("Dabing"), FieldsWidget());
    CheckBoxDubing->setObjectName(QStringLiteral("CheckBoxDubing"));
    AddRow(nullptr, CheckBoxDubing);
    connect(CheckBoxDubing, &QCheckBox::clicked, this, &TFormMediumValues::EditsChange);
}

TCurrencyEdit *TFormMediumValues::addFee(const QString &objectName, const QString &caption)
{
    auto *label = new QLabel(caption, FieldsWidget());
    label->setObjectName(QStringLiteral("Label") + objectName.mid(12));
    auto *edit = new TCurrencyEdit(FieldsWidget());
    edit->setObjectName(objectName);
    label->setBuddy(edit);
    AddRow(label, edit, new QLabel(QStringLiteral("Kč"), FieldsWidget()));
    connect(edit, &TCurrencyEdit::valueChanged, this, &TFormMediumValues::EditsChange);
    return edit;
}

MediumValues TFormMediumValues::Values() const
{
    MediumValues values;
    values.name = EditMedium->text();
    values.dubbing = CheckBoxDubing->isChecked();
    values.rentalFee = CurrencyEditLend->Value();
    values.lateFee = CurrencyEditBack->Value();
    values.deposit = CurrencyEditAdvance->Value();
    return values;
}

TFormMediumNew::TFormMediumNew(QWidget *parent)
    : TFormMediumValues(QStringLiteral("FormMediumNew"), QStringLiteral(" Nový nosič"), 0, parent)
{
    CheckBoxDubing->setChecked(true);
}

TFormMediumEdit::TFormMediumEdit(int id, const MediumValues &values, QWidget *parent)
    : TFormMediumValues(QStringLiteral("FormMediumEdit"), QStringLiteral(" Editace nosiče"), id, parent)
{
    EditMedium->setText(values.name);
    CheckBoxDubing->setChecked(values.dubbing);
    CurrencyEditLend->SetValue(values.rentalFee);
    CurrencyEditBack->SetValue(values.lateFee);
    CurrencyEditAdvance->SetValue(values.deposit);
}
