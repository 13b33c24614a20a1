#include "catalogue/CustomerForm.h"

#include "catalogue/ListPage.h"
#include "core/DialogButton.h"
#include "core/NamedWidget.h"
#include "core/RunReported.h"
#include "core/USetupVideo.h"
#include "core/controls/Int64Edit.h"
#include "core/database/Lookups.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

namespace {

bool settingOn(QCheckBox *TFormSetupVideo::*box)
{
    return FormSetupVideo && FormSetupVideo->*box && (FormSetupVideo->*box)->isChecked();
}

} // namespace

TFormCustomer::TFormCustomer(const QString &objectName, const QString &caption, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    createIdentity();
}

void TFormCustomer::createIdentity()
{
    const IdentityGroup identity = CreateIdentityGroup(this, QStringLiteral("Iniciály a identifikace zákazníka"));
    Image = identity.image;
    GroupBoxIdentity = identity.group;
    m_grid = identity.grid;
    Int64EditCustomer = Named<TInt64Edit>(GroupBoxIdentity, "Int64EditCustomer");
    Int64EditCustomer->SetMax(TInt64Edit::HighestNumber);
    auto edit = [this](const char *name, int maxLength, bool digits) {
        auto *e = Named<QLineEdit>(GroupBoxIdentity, name);
        e->setMaxLength(maxLength);
        if (digits) // letters typed are dropped; Backspace works
            e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
        return e;
    };
    EditName = edit("EditName", 32, false);
    EditPhone = edit("EditPhone", 9, true);
    EditAddress1 = edit("EditAddress1", 32, false);
    EditAddress2 = edit("EditAddress2", 32, false);
    EditBirth = edit("EditBirth", 10, true);
    EditIdentity = edit("EditIdentity", 10, true);
    const QList<std::pair<const char *, QWidget *>> rows = {
        {"Kód:", Int64EditCustomer}, {"Jméno:", EditName},   {"Telefon:", EditPhone},
        {"Adresa:", EditAddress1},   {"Adresa:", EditAddress2}, {"RČ:", EditBirth},
        {"OP:", EditIdentity}};
    for (int r = 0; r < rows.size(); ++r) {
        auto *caption = new QLabel(QString::fromUtf8(rows[r].first), GroupBoxIdentity);
        caption->setBuddy(rows[r].second);
        m_grid->addWidget(caption, r, 0);
        m_grid->addWidget(rows[r].second, r, 1);
    }
    m_grid->setColumnMinimumWidth(1, 220);
    m_grid->setColumnMinimumWidth(2, 170);
    LabelBirthValid = AddWarning("LabelBirthValid", QStringLiteral("Neplatné RČ..."), RowBirth);
    LabelBirthExist = AddWarning("LabelBirthExist", QStringLiteral("RČ již existuje..."), RowBirth);
    LabelIdentityExist = AddWarning("LabelIdentityExist", QStringLiteral("OP již existuje..."), RowIdentity);
    createLimitAndText(this);
    AddDialogButtons(this, static_cast<QVBoxLayout *>(layout()), true);
    ButtonOk = findChild<QPushButton *>(QStringLiteral("ButtonOk"));
    ButtonCancel = findChild<QPushButton *>(QStringLiteral("ButtonCancel"));
}

void TFormCustomer::createLimitAndText(QWidget *parent)
{
    auto *layout = static_cast<QVBoxLayout *>(parent->layout());
    m_limitRow = new QHBoxLayout;
    RadioGroupLimit = Named<QGroupBox>(parent, "RadioGroupLimit");
    RadioGroupLimit->setTitle(QStringLiteral("Omezení"));
    auto *radios = new QVBoxLayout(RadioGroupLimit);
    m_limits = new QButtonGroup(RadioGroupLimit);
    const QStringList captions = CustomerLimitCaptions();
    for (int i = 0; i < captions.size(); ++i) {
        auto *radio = new QRadioButton(captions[i], RadioGroupLimit);
        radio->setObjectName(QStringLiteral("RadioButtonLimit%1").arg(i));
        m_limits->addButton(radio, i);
        radios->addWidget(radio);
    }
    m_limitRow->addWidget(RadioGroupLimit, 1);
    layout->addLayout(m_limitRow);

    GroupBoxText = Named<QGroupBox>(parent, "GroupBoxText");
    GroupBoxText->setTitle(QStringLiteral("Text vztahující se k zákazníkovi"));
    auto *text = new QHBoxLayout(GroupBoxText);
    EditText = Named<QLineEdit>(GroupBoxText, "EditText");
    EditText->setMaxLength(64);
    auto *caption = new QLabel(QStringLiteral("Text:"), GroupBoxText);
    caption->setBuddy(EditText);
    text->addWidget(caption);
    text->addWidget(EditText, 1);
    layout->addWidget(GroupBoxText);
}

void TFormCustomer::AddSideCheckBox(QCheckBox *box)
{
    m_limitRow->addWidget(box, 1, Qt::AlignTop | Qt::AlignLeft);
}

QLabel *TFormCustomer::AddWarning(const char *name, const QString &text, Row row)
{
    auto *label = Named<QLabel>(GroupBoxIdentity, name, text);
    label->setStyleSheet(QStringLiteral("color: red;"));
    label->hide();
    m_grid->addWidget(label, row, 2);
    return label;
}

QList<QAbstractButton *> TFormCustomer::LimitButtons() const
{
    return m_limits->buttons();
}

int TFormCustomer::LimitIndex() const
{
    return m_limits->checkedId();
}

void TFormCustomer::SetLimitIndex(int index)
{
    if (QAbstractButton *button = m_limits->button(index)) {
        button->setChecked(true);
        return;
    }
    // No restriction chosen: none of the four is checked.
    m_limits->setExclusive(false);
    for (QAbstractButton *button : m_limits->buttons())
        button->setChecked(false);
    m_limits->setExclusive(true);
}

CustomerRecord TFormCustomer::Record()
{
    CustomerRecord c;
    c.number = Int64EditCustomer->Value();
    c.name = EditName->text();
    c.phone = EditPhone->text();
    c.address1 = EditAddress1->text();
    c.address2 = EditAddress2->text();
    c.birthNumber = EditBirth->text();
    c.identityCard = EditIdentity->text();
    c.limit = LimitIndex();
    c.text = EditText->text();
    return c;
}

void TFormCustomer::Fill(const CustomerRecord &c)
{
    Int64EditCustomer->SetValue(c.number);
    EditName->setText(c.name);
    EditPhone->setText(c.phone);
    EditAddress1->setText(c.address1);
    EditAddress2->setText(c.address2);
    EditBirth->setText(c.birthNumber);
    EditIdentity->setText(c.identityCard);
    SetLimitIndex(c.limit);
    EditText->setText(c.text);
}

std::optional<CustomerWarnings> TFormCustomer::ShowWarnings(Check check)
{
    std::optional<CustomerWarnings> shown;
    RunReported([&] {
        CustomerCheckInput input;
        input.number = Int64EditCustomer->Value();
        input.birthNumber = EditBirth->text();
        input.identityCard = EditIdentity->text();
        input.verifyBirth = settingOn(&TFormSetupVideo::CheckBoxVerifyBirth);
        input.verifyIdentity = settingOn(&TFormSetupVideo::CheckBoxVerifyIdentity);
        const CustomerLookups lookups{CustomerExists, BirthNumberExistsOther, IdentityCardExistsOther};
        shown = check(input, lookups);
    });
    if (!shown)
        return shown;
    LabelBirthValid->setVisible(shown->birthValid);
    LabelBirthExist->setVisible(shown->birthExist);
    LabelIdentityExist->setVisible(shown->identityExist);
    ButtonOk->setEnabled(!shown->any());
    return shown;
}

void TFormCustomer::SetTabOrder(const QList<QWidget *> &chain)
{
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void TFormCustomer::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}
