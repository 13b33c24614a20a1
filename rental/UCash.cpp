#include "rental/UCash.h"

#include "core/NamedWidget.h"

#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QFont LargeFont(int points)
{
    QFont font(QStringLiteral("Arial Black"), points);
    font.setBold(true);
    return font;
}

// A sunken panel that shows an amount, centred in large type.
QLabel *AmountPanel(QWidget *parent, const char *name, int points)
{
    auto *panel = Named<QLabel>(parent, name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFont(LargeFont(points));
    panel->setMinimumHeight(64);
    return panel;
}

// The amount received in Czech notation; a decimal point typed (also the numeric keypad's,
// which gives "." on many layouts) is the decimal comma.
class TReceivedSpinEdit : public QDoubleSpinBox {
public:
    using QDoubleSpinBox::QDoubleSpinBox;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->text() == QLatin1String(".")) {
            QKeyEvent comma(event->type(), Qt::Key_Comma, event->modifiers(), QStringLiteral(","),
                            event->isAutoRepeat(), ushort(event->count()));
            QDoubleSpinBox::keyPressEvent(&comma);
            event->setAccepted(comma.isAccepted());
            return;
        }
        QDoubleSpinBox::keyPressEvent(event);
    }
};

} // namespace

TFormCash::TFormCash(Money payment, Money deposit, QWidget *parent)
    : QDialog(parent), m_payment(payment), m_deposit(deposit)
{
    setObjectName(QStringLiteral("FormCash"));
    setWindowTitle(QStringLiteral(" Pokladna"));
    setFixedSize(312, 362);
    new QVBoxLayout(this);
    createAmount();
    createReceived();
    createButton();
}

void TFormCash::createAmount()
{
    auto *layout = static_cast<QVBoxLayout *>(this->layout());
    LabelPayment = Named<QLabel>(this, "LabelPayment", QStringLiteral("Částka k zaplacení:"));
    LabelReturn = Named<QLabel>(this, "LabelReturn", QStringLiteral("Částka k vrácení:"));
    for (QLabel *label : {LabelPayment, LabelReturn}) {
        label->setFont(LargeFont(12));
        label->hide();
        layout->addWidget(label);
    }
    PanelPayment = AmountPanel(this, "PanelPayment", 28);
    layout->addWidget(PanelPayment);
}

void TFormCash::createReceived()
{
    auto *layout = static_cast<QVBoxLayout *>(this->layout());
    LabelReceived = Named<QLabel>(this, "LabelReceived", QStringLiteral("Přijatá částka [Kč]:"));
    LabelReceived->setFont(LargeFont(12));
    layout->addWidget(LabelReceived);
    RxSpinEditReceived = Named<TReceivedSpinEdit>(this, "RxSpinEditReceived");
    QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    czech.setNumberOptions(QLocale::OmitGroupSeparator);
    RxSpinEditReceived->setLocale(czech);
    RxSpinEditReceived->setDecimals(2);
    RxSpinEditReceived->setRange(0.0, 999999.99);
    RxSpinEditReceived->setSingleStep(50.0);
    RxSpinEditReceived->setValue(0.0);
    RxSpinEditReceived->setAlignment(Qt::AlignCenter);
    RxSpinEditReceived->setFont(LargeFont(24));
    layout->addWidget(RxSpinEditReceived);
    connect(RxSpinEditReceived, &QDoubleSpinBox::valueChanged, this, &TFormCash::RxSpinEditReceivedChange);

    LabelDifference = Named<QLabel>(this, "LabelDifference", QStringLiteral("Rozdíl k vrácení:"));
    LabelDifference->setFont(LargeFont(12));
    layout->addWidget(LabelDifference);
    PanelDifference = AmountPanel(this, "PanelDifference", 24);
    layout->addWidget(PanelDifference);
}

void TFormCash::createButton()
{
    ButtonCancel = Named<QPushButton>(this, "ButtonCancel", QStringLiteral("Zavřít"));
    ButtonCancel->setDefault(true);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject); // Esc too
    static_cast<QVBoxLayout *>(layout())->addWidget(ButtonCancel, 0, Qt::AlignRight);
}

void TFormCash::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TFormCash::FormShow()
{
    const Money s = sum();
    PanelPayment->setText(FormatMoney(QStringLiteral("%m"), s < Money() ? -s : s));
    const bool toPay = s >= Money();
    RxSpinEditReceived->setEnabled(toPay);
    LabelPayment->setVisible(toPay);
    LabelReturn->setVisible(!toPay);
    if (toPay) {
        RxSpinEditReceived->setFocus();
        RxSpinEditReceived->selectAll();
    } else {
        ButtonCancel->setFocus();
    }
}

void TFormCash::RxSpinEditReceivedChange()
{
    const Money received = Money::fromDouble(RxSpinEditReceived->value());
    PanelDifference->setText(FormatMoney(QStringLiteral("%m"), received - sum()));
}
