#include "catalogue/UCustomerPrint.h"

#include "core/Messages.h"
#include "core/Modal.h"
#include "core/NamedWidget.h"
#include "core/UValmedo.h"
#include "core/controls/PrinterComboBox.h"
#include "core/database/DataSet.h"
#include "reports/layouts/ListLayout.h"
#include "reports/layouts/UQRCustomerA4.h"
#include "reports/layouts/UQRCustomerCardsA4.h"
#include "reports/layouts/UQRCustomerHistoryA4.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

TFormCustomerPrint::TFormCustomerPrint(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormCustomerPrint"));
    setWindowTitle(QStringLiteral("  Tisk"));
    auto *layout = new QHBoxLayout(this);

    Image = Named<QLabel>(this, "Image");
    Image->setFixedSize(32, 32);
    layout->addWidget(Image, 0, Qt::AlignTop);

    GroupBoxPrint = Named<QGroupBox>(this, "GroupBoxPrint");
    GroupBoxPrint->setTitle(QStringLiteral("Tisk"));
    auto *choices = new QVBoxLayout(GroupBoxPrint);
    RadioButtonCustomer = Named<QRadioButton>(GroupBoxPrint, "RadioButtonCustomer", QStringLiteral("Tisk seznamu zákazníků"));
    RadioButtonCards = Named<QRadioButton>(GroupBoxPrint, "RadioButtonCards", QStringLiteral("Tisk karet zákazníků"));
    RadioButtonCard = Named<QRadioButton>(GroupBoxPrint, "RadioButtonCard", QStringLiteral("Tisk karty zákazníka"));
    RadioButtonHistory = Named<QRadioButton>(GroupBoxPrint, "RadioButtonHistory", QStringLiteral("Tisk historie zákazníka"));
    for (QRadioButton *choice : {RadioButtonCustomer, RadioButtonCards, RadioButtonCard, RadioButtonHistory})
        choices->addWidget(choice);
    RadioButtonCustomer->setChecked(true);
    layout->addWidget(GroupBoxPrint, 1);

    auto *buttons = new QVBoxLayout;
    ButtonPrint = Named<QPushButton>(this, "ButtonPrint", QStringLiteral("Tisk"));
    ButtonPrint->setDefault(true);
    ButtonCancel = Named<QPushButton>(this, "ButtonCancel", QStringLiteral("Zavřít"));
    connect(ButtonPrint, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(ButtonPrint);
    buttons->addWidget(ButtonCancel);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void TFormCustomerPrint::showEvent(QShowEvent *event)
{
    FormActivate();
    QDialog::showEvent(event);
}

void TFormCustomerPrint::FormActivate()
{
    const auto *button = FormValmedo ? FormValmedo->findChild<QToolButton *>(QStringLiteral("SpeedButtonCustomerPrint"))
                                     : nullptr;
    const QIcon icon = button ? button->icon() : QIcon();
    Image->setPixmap(icon.isNull() ? PrinterBitmap(QStringLiteral("LOCALPRINTER32")) : icon.pixmap(32, 32));
}

void CustomerPrint(DataSet &customers, DataSet &history)
{
    TFormCustomerPrint form(FormValmedo);
    if (ExecModal(&form) != QDialog::Accepted)
        return;
    if (form.RadioButtonCustomer->isChecked()) {
        TFormQRCustomerA4 list(&customers);
        list.QuickRep.title = QStringLiteral(" Zákazníci");
        PreviewOverList(list.QuickRep, customers);
    } else if (form.RadioButtonCards->isChecked() || form.RadioButtonCard->isChecked()) {
        TFormQRCustomerCardsA4 cards(&customers);
        if (form.RadioButtonCards->isChecked())
            cards.QuickRep.dataSet = &customers;
        cards.QuickRep.title = QStringLiteral(" Karty");
        PreviewOverList(cards.QuickRep, customers);
    } else if (form.RadioButtonHistory->isChecked()) {
        if (!HasRowsToPrint(history, QStringLiteral("Zadaný zákazník má prázdnou historii..."),
                            QStringLiteral("Zkontrolujte zda není aktivní filtr..."), FormValmedo))
            return;
        TFormQRCustomerHistoryA4 report(&customers, &history);
        report.QuickRep.title = QStringLiteral(" Historie");
        PreviewOverList(report.QuickRep, customers);
    }
}
