#pragma once
#include "catalogue/VideoForm.h"

// " Nové video": a video to add, under the lowest free number proposed, with the default
// medium and genre chosen. Ok stays disabled while the number is 0 or empty ("Nepovolený
// kód...") or taken ("Kód již v databázi existuje..."); the title, medium, genre and price
// are not checked.
class TFormVideoNew : public TFormVideo {
    Q_OBJECT
public:
    explicit TFormVideoNew(QWidget *parent = nullptr);

    QLabel *LabelVideoProhibition = nullptr;
    QLabel *LabelVideoExist = nullptr;
    TCurrencyEdit *CurrencyEditPrice = nullptr;

    void EditsChange() override;

protected:
    void FormActivate() override;
};
