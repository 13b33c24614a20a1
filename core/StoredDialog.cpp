#include "core/StoredDialog.h"

#include "core/IniFile.h"
#include "core/UFolderDialog.h"
#include "core/DialogButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

TStoredDialog::TStoredDialog(const QString &section, const QStringList &storedProps,
                             bool centreOnScreen, QWidget *parent)
    : QDialog(parent), FormStorage(this, section, storedProps), m_centreOnScreen(centreOnScreen)
{
}

TStoredDialog::~TStoredDialog()
{
    QObject::disconnect(qApp, nullptr, this, nullptr);
    for (QObject *child : findChildren<QObject *>()) {
        QObject::disconnect(child, nullptr, this, nullptr);
        child->removeEventFilter(this);
    }
}

void TStoredDialog::AddButtons(QBoxLayout *layout, bool okIsDefault,
                               const std::function<void()> &onCancel)
{
    AddDialogButtons(this, layout, okIsDefault, onCancel);
    ButtonOk = findChild<QPushButton *>(QStringLiteral("ButtonOk"));
    ButtonCancel = findChild<QPushButton *>(QStringLiteral("ButtonCancel"));
}

void TStoredDialog::showEvent(QShowEvent *event)
{
    // The storage has read the stored values back before the dialog's own show handling.
    QDialog::showEvent(event);
    if (m_centreOnScreen && !parentWidget())
        CentreOnScreen(this);
    StoreIfNeverStored();
    Shown();
}

void TStoredDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        ButtonCancel->click();
    else
        QDialog::keyPressEvent(event);
}

void TStoredDialog::StoreIfNeverStored()
{
    IniFile ini(FormStateFileName());
    if (!ini.load() || ini.hasSection(FormStorage.section()))
        return;
    try {
        FormStorage.Save();
    } catch (const EIniFileError &) {
        // The save as the dialog closes reports it.
    }
}
