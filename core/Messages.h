#pragma once
#include <QString>

class QWidget;

// The four message windows of the program: information, question, warning and wait.
// Every message to the person at the desk goes through these routines. Tests answer the
// modal ones and see every one shown through the seam of core/Modal.h.

// " Informace". Modal until Ok, Enter, Esc or the close box; with `autoClose` shown
// without blocking, `focusControl` (a control or a whole window) gets the focus back at
// once and the window destroys itself after 2000 ms.
void ShowInformation(const QString &text, const QString &detail,
                     bool autoClose = false, QWidget *focusControl = nullptr);
// " Otázka". True only when the answer is "&Ano"; `yesIsDefault` chooses the button
// that has the focus (Enter presses it), Esc and the close box answer "&Ne".
bool ShowQuestion(const QString &text, const QString &detail, bool yesIsDefault = true);
// " Upozornění", modal. Shows nothing and plays nothing when `success` is true.
void ShowWarning(bool success, const QString &text, const QString &detail);
// " Čekejte", stay-on-top and painted before the call returns. Calls may nest: an inner
// ShowProgress only changes the text, and the window closes at the outermost HideProgress;
// a HideProgress with no window shown does nothing.
void ShowProgress(const QString &detail);
void HideProgress();
// Shows a window that stays up while the desk's loop does not run (the progress of a
// transaction) and paints it before it returns: the window system maps a new window in its
// own time, and a window not yet mapped paints nothing. The clerk's keys and clicks wait
// meanwhile. The window is then announced as shown (core/Modal.h).
void ShowPainted(QWidget *window);
// Plays a wave file of the working folder ("Information.wav") without waiting for it; a
// missing file or a machine without a sound device stays silent.
void PlayWave(const QString &fileName);
