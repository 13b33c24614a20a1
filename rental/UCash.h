#pragma once
#include "core/database/Money.h"

#include <QDialog>

class QDoubleSpinBox;
class QLabel;
class QPushButton;

// " Pokladna": the change calculator that can follow a lend or a return. It shows in large
// type the amount the customer pays, or the amount the shop hands back, and for a payment
// works out the change from the amount received. It writes nothing.
class TFormCash : public QDialog {
    Q_OBJECT
public:
    // `payment` the fees (of a return: its late fees), `deposit` the deposits (of a return:
    // the deposits handed back, negative); the amount is their sum.
    TFormCash(Money payment, Money deposit, QWidget *parent = nullptr);

    void FormShow();
    void RxSpinEditReceivedChange();

    QLabel *LabelPayment = nullptr;
    QLabel *LabelReturn = nullptr;
    QLabel *PanelPayment = nullptr;
    QLabel *LabelReceived = nullptr;
    QDoubleSpinBox *RxSpinEditReceived = nullptr;
    QLabel *LabelDifference = nullptr;
    QLabel *PanelDifference = nullptr;
    QPushButton *ButtonCancel = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createAmount();
    void createReceived();
    void createButton();
    Money sum() const { return m_payment + m_deposit; }

    Money m_payment;
    Money m_deposit;
};
