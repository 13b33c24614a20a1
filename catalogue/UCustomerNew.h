#pragma once
#include "catalogue/CustomerForm.h"

// " Nový zákazník": a customer to add, under the lowest free number proposed. Ok stays
// disabled while a warning stands: the number 0 or empty ("Nepovolený kód...") or taken
// ("Kód již v databázi existuje..."), and the birth-number and identity-card warnings.
class TFormCustomerNew : public TFormCustomer {
    Q_OBJECT
public:
    explicit TFormCustomerNew(QWidget *parent = nullptr);

    QLabel *LabelCustomerProhibition = nullptr;
    QLabel *LabelCustomerExist = nullptr;
    QCheckBox *CheckBoxCard = nullptr;

    void EditsChange() override;

protected:
    void FormActivate() override;
};
