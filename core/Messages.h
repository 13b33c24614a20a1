#pragma once
#include <QString>

class QWidget;

// The four message windows of the program: information, question, warning and wait.
// Every message to the person at the desk goes through these routines.
void ShowInformation(const QString &text, const QString &specification,
                     bool autoClose = false, QWidget *focusControl = nullptr);
// True only when the answer is "&Ano".
bool ShowQuestion(const QString &text, const QString &specification, bool yesIsDefault = true);
// Shows nothing when `success` is true.
void ShowWarning(bool success, const QString &text, const QString &specification);
void ShowProgress(const QString &specification);
void HideProgress();
