#include "core/DialogButton.h"

#include <QBoxLayout>
#include <QDialog>
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

void AddDialogButtons(QDialog *dialog, QBoxLayout *layout, bool okIsDefault,
                      const std::function<void()> &onCancel)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    // Neither is a default by itself (Enter in an edit presses only the named default);
    // Enter on the focused one presses that one.
    auto *ok = new TDialogButton(QStringLiteral("Ok"), dialog);
    ok->setObjectName(QStringLiteral("ButtonOk"));
    auto *cancel = new TDialogButton(QStringLiteral("Storno"), dialog);
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    ok->setDefault(okIsDefault);
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, [dialog, onCancel] {
        if (onCancel)
            onCancel();
        dialog->reject();
    });
}
