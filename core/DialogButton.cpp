#include "core/DialogButton.h"

#include <QKeyEvent>

TDialogButton::TDialogButton(QWidget *parent)
    : TDialogButton(QString(), parent)
{
}

TDialogButton::TDialogButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
    setAutoDefault(false);
}

void TDialogButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // A held key presses once.
        if (isEnabled() && !event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}
