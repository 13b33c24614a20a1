#include "core/Modal.h"

#include <QDialog>
#include <QPointer>

namespace {
ModalAnswerer *installedAnswerer = nullptr;
}

ModalAnswerer *InstallModalAnswerer(ModalAnswerer *answerer)
{
    ModalAnswerer *previous = installedAnswerer;
    installedAnswerer = answerer;
    return previous;
}

ModalAnswerer *InstalledModalAnswerer()
{
    return installedAnswerer;
}

int ExecModal(QDialog *dialog)
{
    if (!installedAnswerer)
        return dialog->exec();

    QPointer<QDialog> guard(dialog);
    dialog->setResult(QDialog::Rejected);
    dialog->show();
    const int result = installedAnswerer->answer(dialog);
    // Close what the answer left open, as Ok or Cancel would; this runs the dialog's
    // closing handlers just as the end of exec() does.
    if (guard && guard->isVisible())
        guard->done(result);
    return result;
}

void NoteShownWindow(QWidget *window)
{
    if (installedAnswerer)
        installedAnswerer->shown(window);
}
