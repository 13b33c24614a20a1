// Placeholder until the message windows are built: the routines link and do nothing.
#include "core/Messages.h"

void ShowInformation(const QString &, const QString &, bool, QWidget *) {}
bool ShowQuestion(const QString &, const QString &, bool) { return false; }
void ShowWarning(bool, const QString &, const QString &) {}
void ShowProgress(const QString &) {}
void HideProgress() {}
