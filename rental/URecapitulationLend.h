#pragma once
#include "rental/LendRules.h"

#include <QDialog>

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QToolButton;
class TRxDBGridEx;
class TTableLend;

// " Rekapitulace - půjčení": the basket and the amount to pay before the lend is written,
// and whether its receipt is printed, with a copy or without. "+" or Enter lends, Esc
// goes back to the basket.
class TFormRecapitulationLend : public QDialog {
    Q_OBJECT
public:
    // `amount`: what the lend document will book; `print` and `copy`: the print settings.
    TFormRecapitulationLend(TTableLend &basket, const DocumentAmount &amount, bool print, bool copy,
                            QWidget *parent = nullptr);

    // Handlers.
    void CheckBoxOriginalClick();
    void ActionOriginalExecute();
    void ActionCopyExecute();
    void ActionLendExecute();

    TRxDBGridEx *RxDBGridRecapitulation = nullptr;
    QLabel *LabelRecapitulation = nullptr;
    QCheckBox *CheckBoxOriginal = nullptr;
    QCheckBox *CheckBoxCopy = nullptr;
    QAction *ActionOriginal = nullptr;
    QAction *ActionCopy = nullptr;
    QAction *ActionLend = nullptr;
    QToolButton *BitBtnLend = nullptr;
    QPushButton *BitBtnClose = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createActions();
    void createGrid(TTableLend &basket);
    void createAmount(const DocumentAmount &amount);
    void createBoxes(bool print, bool copy);
    void createButtons();
};
