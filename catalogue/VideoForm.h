#pragma once
#include "catalogue/VideoStore.h"
#include "core/ValmedoActions.h"

#include <QDialog>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class TCurrencyEdit;
class TInt64Edit;

// What the new-video and the video-edit dialogs share: the group "Identifikace videa"
// (number, title, medium and genre chosen from the code books' names, each with a button
// that opens its code book, and the price in crowns), and Ok (default) and Storno (Esc).
class TFormVideo : public QDialog {
    Q_OBJECT
public:
    QLabel *Image = nullptr;
    QGroupBox *GroupBoxIdentity = nullptr;
    TInt64Edit *Int64EditVideo = nullptr;
    QLineEdit *EditTitle = nullptr;
    QComboBox *ComboBoxMedium = nullptr;
    QPushButton *SpeedButtonMedium = nullptr;
    QComboBox *ComboBoxDirection = nullptr;
    QPushButton *SpeedButtonDirection = nullptr;
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;

    // The price edit: CurrencyEditPrice in the new dialog, CurrencyEditCost in the edit.
    TCurrencyEdit *PriceEdit() const { return m_price; }
    void SetPrice(Money price);

    // Fills the pick lists with the names of the media and genres and chooses the given
    // ones (letter case ignored); none is chosen for a name that is not there.
    void FillPickLists(const QString &medium, const QString &direction);
    // The video as the fields hold it, the genre and medium by the identities of the names
    // chosen (0 when none is).
    VideoRecord Record() const;

    // The code-book buttons: the code book, then its names again, the one chosen before
    // still chosen while it exists; choosing it again is no change of the box.
    void SpeedButtonMediumClick();
    void SpeedButtonDirectionClick();

    virtual void EditsChange() = 0;

protected:
    TFormVideo(const QString &objectName, const QString &caption, const char *priceName, QWidget *parent);
    // A red label beside the number, hidden.
    QLabel *AddNumberWarning(const char *name, const QString &text);
    QVBoxLayout *MainLayout() const;
    void showEvent(QShowEvent *event) override;
    // Runs once, when the dialog is shown.
    virtual void FormActivate() = 0;

private:
    void createIdentity(const char *priceName);
    void connectCodeBookButton(QPushButton *button, ValmedoAction codeBook, void (TFormVideo::*click)());

    QGridLayout *m_grid = nullptr;
    TCurrencyEdit *m_price = nullptr;
};
