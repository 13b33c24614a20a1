#pragma once
#include "core/StoredDialog.h"

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The receipt print settings dialog " Nastavení tisku dokladů": created once at start-up,
// its stored values restored from section "SetupPrint", kept for the whole run. Its
// controls are the settings: the receipts read each one from its control.
class TFormSetupPrint : public TStoredDialog {
    Q_OBJECT
public:
    explicit TFormSetupPrint(QWidget *parent = nullptr);
    void RestoreStoredValues();

    // The number of lines of a memo as the receipts see them: an empty last line after a
    // final line break is not counted.
    static int MemoLineCount(const QPlainTextEdit *memo);
    // The line limit of a memo (held in its "Tag" property).
    static int MemoLineLimit(const QPlainTextEdit *memo);

    // Handlers.
    void FormActivate();
    void CheckBoxOriginalClick();
    void MemoChange(QPlainTextEdit *memo);
    // Set `key` to 0 to swallow it.
    void MemoKeyDown(QPlainTextEdit *memo, int &key);
    void MemoKeyPress(QPlainTextEdit *memo, QChar &key);

    QPlainTextEdit *MemoAddress = nullptr;
    QPlainTextEdit *MemoTitle = nullptr;
    QPlainTextEdit *MemoInfo = nullptr;
    QPlainTextEdit *MemoAddition = nullptr;
    QCheckBox *CheckBoxVoucher = nullptr;
    QCheckBox *CheckBoxDate = nullptr;
    QCheckBox *CheckBoxDateTax = nullptr;
    QCheckBox *CheckBoxOriginal = nullptr;
    QCheckBox *CheckBoxCopy = nullptr;
    QRadioButton *RadioButtonManual = nullptr;
    QRadioButton *RadioButtonAuto = nullptr;
    QCheckBox *CheckBoxExtra = nullptr;
    QRadioButton *RadioButtonA4 = nullptr;
    QRadioButton *RadioButtonA5 = nullptr;

protected:
    void Shown() override { FormActivate(); }
    bool eventFilter(QObject *watched, QEvent *event) override;
};

extern TFormSetupPrint *FormSetupPrint;
