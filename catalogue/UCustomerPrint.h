#pragma once
#include <QDialog>

class DataSet;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// "  Tisk": the choice among the customer page's four prints, the list of the customers,
// the cards of all of them, the card of the current one and his history.
class TFormCustomerPrint : public QDialog {
    Q_OBJECT
public:
    explicit TFormCustomerPrint(QWidget *parent = nullptr);

    QLabel *Image = nullptr;
    QGroupBox *GroupBoxPrint = nullptr;
    QRadioButton *RadioButtonCustomer = nullptr;
    QRadioButton *RadioButtonCards = nullptr;
    QRadioButton *RadioButtonCard = nullptr;
    QRadioButton *RadioButtonHistory = nullptr;
    QPushButton *ButtonPrint = nullptr;
    QPushButton *ButtonCancel = nullptr;

    // Shows the picture of the main window's print button.
    void FormActivate();

protected:
    void showEvent(QShowEvent *event) override;
};

// The customer page's print over its list `customers` and the current customer's
// `history`: the choice dialog, then the report chosen previewed, the list staying on its
// customer. A customer without history is not printed; the clerk is told so.
void CustomerPrint(DataSet &customers, DataSet &history);
