#pragma once
#include "catalogue/FindForm.h"

class QLineEdit;

// " Vyhledání videa": finds a video in the whole catalogue by the beginning of its title
// or by its number, and "Vybrat [Enter]" makes it the current video of the main window
// (when the video page's filter lets it through). The rows of videos out now are coloured
// from the main window's cache of lent lines.
class TFormVideoFind : public TFormFind {
    Q_OBJECT
public:
    explicit TFormVideoFind(QWidget *parent = nullptr);

    void EditsChange();
    void BitBtnSearchClick() override;

    BrowseQuery *ADOQueryVideoFind = nullptr;
    TInt64Edit *Int64EditVideo = nullptr;
    QLineEdit *EditTitle = nullptr;
    TRxDBGridEx *RxDBGridVideoFind = nullptr;
};
