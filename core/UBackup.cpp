#include "core/UBackup.h"

#include "core/Errors.h"
#include "core/Messages.h"
#include "core/SqlServer.h"
#include "core/UValmedo.h"

#include <QApplication>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

TFormBackup *FormBackup = nullptr;

TFormBackup::TFormBackup(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormBackup"));
    setWindowTitle(QStringLiteral(" Zálohování"));
    auto *layout = new QVBoxLayout(this);
    auto *day = new QGroupBox(QStringLiteral("Záloha [Day]"), this);
    day->setObjectName(QStringLiteral("GroupBoxDay"));
    auto *dayLayout = new QVBoxLayout(day);
    CheckBoxBackupDay = new QCheckBox(QStringLiteral("Zálohovat každý den do adresáře"), day);
    CheckBoxBackupDay->setObjectName(QStringLiteral("CheckBoxBackupDay"));
    dayLayout->addWidget(CheckBoxBackupDay);
    EditBackupPathDay = new QLineEdit(day);
    EditBackupPathDay->setObjectName(QStringLiteral("EditBackupPathDay"));
    dayLayout->addWidget(EditBackupPathDay);
    layout->addWidget(day);
    AddDialogButtons(this, layout, false, [this] { FormStorage.Restore(); });
}

void TFormBackup::RestoreStoredValues()
{
    FormStorage.Restore();
}

// STUB: the backup routines come with the backup and maintenance work; until then the
// daily backup at closing does nothing and reports no backup made.
bool DailyBackup(const QString &folder)
{
    Q_UNUSED(folder);
    return false;
}

bool RestoreDatabase(const QString &path)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ShowProgress(QStringLiteral("Probíhá obnovování databáze..."));
    bool ok = false;
    try {
        if (SqlServer *server = CurrentServer()) {
            server->restore(path);
            ok = true;
        }
    } catch (const EDatabaseError &) {
    } catch (const std::exception &) {
    }
    HideProgress();
    QApplication::restoreOverrideCursor();
    return ok;
}
