#pragma once

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

// For the application's notify(): a key press of a keypad key that an enabled window action
// holds as a keypad shortcut ("Num++") triggers that action and goes no further. On X11 the
// shortcut map is offered such a key only without its keypad modifier, so no keypad shortcut
// ever fires there and the key press reaches the focused control instead. True when taken.
bool TriggerKeypadAction(QObject *receiver, QEvent *event);

// For a control's event(): when `event` is a ShortcutOverride of a key a window action holds,
// ignores it (so the shortcut runs) and returns true; the control then returns true too.
bool RefuseActionKeyOverride(const QWidget *widget, QEvent *event);

// The same for a control that is not ours (a plain QLineEdit, the edit of a combo box): an
// event filter installed on it for its lifetime.
void PassActionKeys(QWidget *control);
