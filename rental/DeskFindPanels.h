#pragma once
#include <QString>
#include <functional>

class BrowseQuery;
class QGroupBox;
class QLabel;
class TFindComboBox;
class TInt64Edit;
class QWidget;

// The two find panels above the lists of the lend and the return desk. Their controls are
// named after the desk ("Lend", "Back"): PanelLendCustomerFind with Int64EditLendCustomer,
// ComboBoxLendName and DBTextLendCustomerBirth, ...Address, ...Text; PanelLendVideoFind with
// Int64EditLendVideo and ComboBoxLendTitle.

// "Zákazník": "Kód:" (a number box showing 0 rather than nothing), "Jméno:" (a name box
// proposing "name / birth number" of the customers whose names begin with the text), and the
// current customer's "RČ:", "Adresa:" and "Text:". The number box runs `numberChanged` and the
// name box `nameChanged` at every change the clerk makes in them; a double click on either
// opens the customer search dialog.
struct CustomerFindPanel {
    QGroupBox *group = nullptr;
    TInt64Edit *number = nullptr;
    TFindComboBox *name = nullptr;
    QLabel *birth = nullptr;
    QLabel *address = nullptr;
    QLabel *text = nullptr;
};
CustomerFindPanel CreateCustomerFindPanel(QWidget *page, const QString &desk, std::function<void()> numberChanged,
                                          std::function<void()> nameChanged);
// The birth number, address and note of the customer list's current customer, or nothing
// (no customer found, or `shown` false).
void ShowCustomerTexts(const CustomerFindPanel &panel, const BrowseQuery *customers, bool shown);

// "Video": "Kód:" (a number box showing 0) and "Titul:" (a title box of 32 typed characters);
// the page wires them.
struct VideoFindPanel {
    QGroupBox *group = nullptr;
    TInt64Edit *number = nullptr;
    TFindComboBox *title = nullptr;
};
VideoFindPanel CreateVideoFindPanel(QWidget *page, const QString &desk);

