#pragma once
#include "catalogue/CustomerStore.h"

#include <QDialog>
#include <optional>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class TInt64Edit;

// What the new-customer and the customer-edit dialogs share: the identity group
// "Iniciály a identifikace zákazníka" (number, name, phone, two address lines, birth
// number, identity card; the phone, birth number and identity card take digits only), the
// restriction "Omezení", the note, the red warnings beside the number, the birth number and
// the identity card, and Ok (default) and Storno (Esc).
class TFormCustomer : public QDialog {
    Q_OBJECT
public:
    QLabel *Image = nullptr;
    QGroupBox *GroupBoxIdentity = nullptr;
    TInt64Edit *Int64EditCustomer = nullptr;
    QLineEdit *EditName = nullptr;
    QLineEdit *EditPhone = nullptr;
    QLineEdit *EditAddress1 = nullptr;
    QLineEdit *EditAddress2 = nullptr;
    QLineEdit *EditBirth = nullptr;
    QLineEdit *EditIdentity = nullptr;
    QGroupBox *RadioGroupLimit = nullptr;
    QGroupBox *GroupBoxText = nullptr;
    QLineEdit *EditText = nullptr;
    QLabel *LabelBirthValid = nullptr;
    QLabel *LabelBirthExist = nullptr;
    QLabel *LabelIdentityExist = nullptr;
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;

    // The restriction chosen: 0 to 3, -1 when none is.
    int LimitIndex() const;
    void SetLimitIndex(int index);

    // The customer as the fields hold him.
    CustomerRecord Record();
    // Fills the fields (the number too).
    void Fill(const CustomerRecord &customer);

    virtual void EditsChange() = 0;

protected:
    TFormCustomer(const QString &objectName, const QString &caption, QWidget *parent);
    // The identity group's rows: 0 the number, 1 the name, 2 the phone, 3 and 4 the
    // address, 5 the birth number, 6 the identity card.
    enum Row { RowNumber, RowName, RowPhone, RowAddress1, RowAddress2, RowBirth, RowIdentity };
    // The box beside the restriction: "Tisk karty zákazníka" or "Vymazat historii".
    void AddSideCheckBox(QCheckBox *box);
    // Runs a check of CustomerRules with the database's lookups and the rental settings,
    // shows the birth-number and identity-card warnings and enables Ok when no warning
    // stands; returns the warnings. An error of the database reaches the error report and
    // leaves the dialog as it was.
    using Check = CustomerWarnings (*)(const CustomerCheckInput &, const CustomerLookups &);
    std::optional<CustomerWarnings> ShowWarnings(Check check);
    void SetTabOrder(const QList<QWidget *> &chain);
    // A red warning label, hidden, beside the field of `row`.
    QLabel *AddWarning(const char *name, const QString &text, Row row);
    QList<QAbstractButton *> LimitButtons() const;
    void showEvent(QShowEvent *event) override;
    virtual void FormActivate() = 0;

    QButtonGroup *m_limits = nullptr;

private:
    void createIdentity();
    void createLimitAndText(QWidget *parent);

    QGridLayout *m_grid = nullptr;
    QHBoxLayout *m_limitRow = nullptr;
};
