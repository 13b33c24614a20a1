#pragma once

class QAction;
class QCoreApplication;
class QEvent;
class QObject;
class QKeyEvent;
class QWidget;

// The action keys of a window (Enter, the numeric "+", Del, Space, Up, Down, F11, F12 ...) act
// whatever control has the focus. A focused line edit would take some of them for itself (the
// numeric "+", Del, Space), so the program's controls refuse the shortcut override of every key
// that an enabled action of their window holds, and the action fires.

// Whether an enabled action of `widget`'s window (or of the widget's parents) has `event`'s key
// as a shortcut. A keypad key also matches the same key's shortcut without the keypad modifier.
bool WindowActionHoldsKey(const QWidget *widget, const QKeyEvent *event);

// For a control's event(): when `event` is a ShortcutOverride of a key a window action holds,
// ignores it (so the shortcut runs) and returns true; the control then returns true too.
bool RefuseActionKeyOverride(const QWidget *widget, QEvent *event);

// The same for a control that is not ours (a plain QLineEdit, the edit of a combo box): an
// event filter installed on it for its lifetime.
void PassActionKeys(QWidget *control);

// The enabled action of `widget`'s window that holds exactly `event`'s key, or null.
QAction *WindowActionOfKey(const QWidget *widget, const QKeyEvent *event);

// Fires the actions whose key is a keypad key with the keypad modifier (the numeric "+")
// for the whole application. The X11 key mapper leaves the keypad modifier out when it
// matches shortcuts, so on X11 such a shortcut never fires by itself: the filter fires the
// action when the key's shortcut override reaches the focused control, whatever control it
// is, and swallows the key press that follows. Installing it twice installs it once.
void InstallKeypadActionKeys(QCoreApplication *application);
