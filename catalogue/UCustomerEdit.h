#pragma once
#include "catalogue/CustomerForm.h"

// " Editace zákazníka": the current customer's data. His number cannot be changed; his
// identity data only with the editing right while he has nothing out, or with the special
// right; "Vymazat historii" only with the history right. Ok is enabled by the first change
// that leaves no birth-number or identity-card warning (his own ones do not count).
class TFormCustomerEdit : public TFormCustomer {
    Q_OBJECT
public:
    explicit TFormCustomerEdit(QWidget *parent = nullptr);

    QCheckBox *CheckBoxHistory = nullptr;

    void EditsChange() override;

protected:
    // The rights, then Ok disabled until something changes.
    void FormActivate() override;
};
