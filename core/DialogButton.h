#pragma once
#include <QPushButton>
#include <functional>

class QBoxLayout;
class QDialog;

// The push button of the program's windows. It never becomes the default by itself, so
// Enter in an edit presses only the button the window names as default; Return or keypad
// Enter on the focused button presses that button (a plain QPushButton that is not a
// default would pass the key on to the window's default button instead).
class TDialogButton : public QPushButton {
public:
    explicit TDialogButton(QWidget *parent = nullptr);
    TDialogButton(const QString &text, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// The "Ok" and "Storno" buttons of a dialog: Ok accepts, Storno rejects (in a
// TStoredDialog also Esc); only `okIsDefault` makes Ok the button that Enter presses.
// `onCancel` runs before Storno closes the dialog.
void AddDialogButtons(QDialog *dialog, QBoxLayout *layout, bool okIsDefault,
                      const std::function<void()> &onCancel = {});
