#pragma once
#include "catalogue/VideoForm.h"

class QCheckBox;

// " Editace videa": the current video's data. Its number cannot be changed; its data only
// with the editing right while it is not out, or with the special right; "Vymazat
// historii" only with the history right. Ok is enabled by the first change.
class TFormVideoEdit : public TFormVideo {
    Q_OBJECT
public:
    explicit TFormVideoEdit(QWidget *parent = nullptr);

    TCurrencyEdit *CurrencyEditCost = nullptr;
    QCheckBox *CheckBoxHistory = nullptr;

    void EditsChange() override;

protected:
    // The rights, then Ok disabled until something changes.
    void FormActivate() override;
};
