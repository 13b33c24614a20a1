#pragma once
#include "core/StoredDialog.h"
#include "core/controls/IntegerEdit.h"

class QCheckBox;
class QLabel;
class QPushButton;

// The database maintenance dialog " Údržba databáze": created once at start-up, its stored
// values restored from section "Database", kept for the whole run. Start-up reads its
// maintenance options; each showing shows the database's sizes and row counts anew.
class TFormDatabase : public TStoredDialog {
    Q_OBJECT
public:
    explicit TFormDatabase(QWidget *parent = nullptr);
    void RestoreStoredValues();

    QCheckBox *CheckBoxReindex = nullptr;
    QCheckBox *CheckBoxTransLog = nullptr;
    QCheckBox *CheckBoxLends = nullptr;
    TIntegerEdit *IntegerEditLends = nullptr;  // days, 0 to 9999
    QLabel *LabelAlocateValue = nullptr;
    QLabel *LabelUsedValue = nullptr;
    QLabel *LabelCustomerValue = nullptr;
    QLabel *LabelVideoValue = nullptr;
    QLabel *LabelVoucherValue = nullptr;
    QLabel *LabelHistoryValue = nullptr;

    // Each showing: the enabling, the sizes and the four row counts. Throws
    // EDatabaseError; the labels not reached keep their texts.
    void FormActivate();
    void CheckBoxLendsClick();
    void ButtonCancelClick(); // runs before Storno (or Esc) closes the dialog

protected:
    void Shown() override;
};

extern TFormDatabase *FormDatabase;

// A size in bytes as the dialog shows it: whole KB, "%d KB".
QString SizeText(qint64 bytes);
