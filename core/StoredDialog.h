#pragma once
#include "core/FormStorage.h"

#include <QDialog>
#include <functional>

class QBoxLayout;
class QPushButton;

// A settings or maintenance dialog whose controls keep their values in the form-state file
// (rental and print settings, backup, database maintenance). It is created once at start-up
// and kept for the run; each showing restores the stored values, and Storno (also Escape)
// reads them back before it closes.
class TStoredDialog : public QDialog {
    Q_OBJECT
public:
    // `centreOnScreen`: a dialog without a parent is shown in the middle of its screen.
    TStoredDialog(const QString &section, const QStringList &storedProps, bool centreOnScreen,
                  QWidget *parent = nullptr);
    // Cuts every connection and event filter from the dialog's controls to the dialog, and
    // from the application, before the controls go: no handler of the dialog may run while
    // it is destroyed.
    ~TStoredDialog() override;

    TFormStorage FormStorage;
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;

protected:
    // Adds "Ok" and "Storno" (AddDialogButtons) and keeps them in ButtonOk and ButtonCancel.
    void AddButtons(QBoxLayout *layout, bool okIsDefault, const std::function<void()> &onCancel);
    // The dialog's own handling of a showing, after the stored values have been read back.
    virtual void Shown() {}

    void showEvent(QShowEvent *event) override;
    // Escape presses Storno, so that it reads the stored values back as the button does.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Writes the values in force when the file holds nothing for this storage yet, so that
    // Storno of a dialog shown for the first time has values to go back to (a missing key
    // would leave the edits in place).
    void StoreIfNeverStored();

    bool m_centreOnScreen;
};
