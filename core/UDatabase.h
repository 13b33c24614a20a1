#pragma once
#include "core/FormStorage.h"
#include "core/controls/IntegerEdit.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

// The database maintenance dialog " Údržba databáze": created once at start-up, its stored
// values restored from section "Database", kept for the whole run. Start-up reads its
// maintenance options; each showing shows the database's sizes and row counts anew.
class TFormDatabase : public QDialog {
    Q_OBJECT
public:
    explicit TFormDatabase(QWidget *parent = nullptr);
    ~TFormDatabase() override;
    void RestoreStoredValues();

    TFormStorage FormStorage{this, QStringLiteral("Database"), {QStringLiteral("CheckBoxReindex.Checked"),
                              QStringLiteral("CheckBoxTransLog.Checked"), QStringLiteral("CheckBoxLends.Checked"),
                              QStringLiteral("IntegerEditLends.Value")}};

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
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;

    // Each showing: the enabling, the sizes and the four row counts. Throws
    // EDatabaseError; the labels not reached keep their texts.
    void FormActivate();
    void CheckBoxLendsClick();
    void ButtonCancelClick(); // runs before Storno (or Esc) closes the dialog

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

extern TFormDatabase *FormDatabase;

// A size in bytes as the dialog shows it: whole KB, "%d KB".
QString SizeText(qint64 bytes);
