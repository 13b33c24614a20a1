#pragma once
#include "catalogue/CodeBookForms.h"

class QKeyEvent;
class QMouseEvent;

// " Nosiče a ceny": the media a video can be on, each with its rental fee and late fee per
// day, its deposit and its dubbing flag (a press in the "Dab." check box switches it), and
// the default medium the new video gets. Esc does not close this window; the close box
// and "Storno" do, undoing every change made in it.
class TFormMedium : public TFormCodeBook {
    Q_OBJECT
public:
    explicit TFormMedium(QWidget *parent = nullptr);
    ~TFormMedium() override;

    void ButtonAddClick() override;
    void ButtonEditClick() override;
    // A press in the grid, after the grid has made the pressed row current.
    void RxDBGridMouseDown(TRxDBGridEx *grid, QMouseEvent *event);

    BrowseQuery *ADOQueryMedium = nullptr;
    TRxDBGridEx *RxDBGridEx = nullptr;

protected:
    void ShowColumns() override;
    void keyPressEvent(QKeyEvent *event) override;
};

// The one media window while it is open (null otherwise).
extern TFormMedium *FormMedium;

// Makes the media window for the main window's ActionMedium, its list on the default medium.
QDialog *CreateFormMedium();
