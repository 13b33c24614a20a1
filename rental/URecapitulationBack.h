#pragma once
#include "rental/LendRules.h"

#include <QDialog>

class QAction;
class QCheckBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class TRxDBGridEx;
class TTableBack;

// " Rekapitulace - vrácení": the return basket with what the return comes to (the late fees
// less the deposits handed back), whether the return goes into the takings (only a user with
// the right ADMIN may change that) and whether its receipt is printed, with a copy. Ok
// ("Vrátit [+]", the numeric "+" or Enter) confirms the return; Esc keeps the basket.
class TFormRecapitulationBack : public QDialog {
    Q_OBJECT
public:
    // `totals` are the basket's late fees and deposits as its status bar shows them (a return
    // of neither may stay out of the takings), `amount` what its document will book.
    TFormRecapitulationBack(TTableBack &basket, const BasketTotals &totals, const DocumentAmount &amount,
                            QWidget *parent = nullptr);

    void FormActivate();
    void CheckBoxIncludeClick();
    void CheckBoxOriginalClick();
    void ActionOriginalExecute();
    void ActionCopyExecute();
    void ActionBackExecute();

    TRxDBGridEx *RxDBGridRecapitulation = nullptr;
    QLabel *LabelRecapitulation = nullptr;
    QCheckBox *CheckBoxInclude = nullptr;
    QCheckBox *CheckBoxOriginal = nullptr;
    QCheckBox *CheckBoxCopy = nullptr;
    QPushButton *BitBtnBack = nullptr;
    QPushButton *BitBtnClose = nullptr;
    QAction *ActionOriginal = nullptr;
    QAction *ActionCopy = nullptr;
    QAction *ActionBack = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createGrid(TTableBack &basket);
    void createBoxes(QHBoxLayout *bottom);
    void createAmount(QHBoxLayout *bottom, const DocumentAmount &amount);
    void createButtons(QHBoxLayout *bottom);
    void setStartingBoxes(const BasketTotals &totals);
};
