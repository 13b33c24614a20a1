#pragma once
#include <QDialog>

class BrowseQuery;
class QLabel;
class QLineEdit;
class QPushButton;
class TInt64Edit;
class TRxDBGridEx;

// " Vyhledání zákazníka": finds a customer in the whole customer table by the beginnings of
// his name, first address line and birth number, or by his number, and "Vybrat [Enter]"
// makes him the current customer of the main window (when the customer page's filter lets
// him through). The rows of customers with something out are coloured from the main
// window's cache of lent lines.
class TFormCustomerFind : public QDialog {
    Q_OBJECT
public:
    explicit TFormCustomerFind(QWidget *parent = nullptr);
    ~TFormCustomerFind() override;

    // Opens the list of every customer on `customer` (the main window's current one).
    void OpenOn(qint64 customer);
    // Starts in the name field (opened from a name box) or in the number field.
    void StartIn(bool nameField);

    void EditsChange();
    void Int64EditCustomerChange();
    void DataSourceCustomerFindDataChange();
    void BitBtnSearchClick();
    void RxDBGridCustomerFindDblClick();

    BrowseQuery *ADOQueryCustomerFind = nullptr;
    TInt64Edit *Int64EditCustomer = nullptr;
    QLineEdit *EditName = nullptr;
    QLineEdit *EditAddress = nullptr;
    QLineEdit *EditBirth = nullptr;
    QLabel *Panel = nullptr;
    TRxDBGridEx *RxDBGridCustomerFind = nullptr;
    QPushButton *BitBtnSearch = nullptr;
    QPushButton *BitBtnClose = nullptr;

private:
    void createFields();
    void createGrid();
};
