#pragma once
#include "catalogue/CodeBookForms.h"

// " Žánry": the genres a video can belong to and the default genre the new video gets.
// Esc, "Storno" and the close box close it undoing every change made in it.
class TFormDirection : public TFormCodeBook {
    Q_OBJECT
public:
    explicit TFormDirection(QWidget *parent = nullptr);
    ~TFormDirection() override;

    void ButtonAddClick() override;
    // Renames the current genre; the list shows it in its new place, still current.
    void ButtonEditClick() override;

    BrowseQuery *ADOQueryDirection = nullptr;
    TRxDBGridEx *RxDBGrid = nullptr;

protected:
    void ShowColumns() override;
};

// The one genre window while it is open (null otherwise).
extern TFormDirection *FormDirection;

// Makes the genre window for the main window's ActionDirection, its list on the default genre.
QDialog *CreateFormDirection();
