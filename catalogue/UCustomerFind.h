#pragma once
#include "catalogue/FindForm.h"

class QLineEdit;

// " Vyhledání zákazníka": finds a customer in the whole customer table by the beginnings of
// his name, first address line and birth number, or by his number, and "Vybrat [Enter]"
// makes him the current customer of the main window (when the customer page's filter lets
// him through). The rows of customers with something out are coloured from the main
// window's cache of lent lines.
class TFormCustomerFind : public TFormFind {
    Q_OBJECT
public:
    explicit TFormCustomerFind(QWidget *parent = nullptr);

    void EditsChange();
    void BitBtnSearchClick() override;

    BrowseQuery *ADOQueryCustomerFind = nullptr;
    TInt64Edit *Int64EditCustomer = nullptr;
    QLineEdit *EditName = nullptr;
    QLineEdit *EditAddress = nullptr;
    QLineEdit *EditBirth = nullptr;
    TRxDBGridEx *RxDBGridCustomerFind = nullptr;
};
