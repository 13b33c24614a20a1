#include "core/UBackup.h"

#include "core/UValmedo.h"

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
    AddDialogButtons(this, layout, false);
}

void TFormBackup::RestoreStoredValues()
{
}

// STUB: the backup routines come with the backup and maintenance work; until then the
// daily backup at closing does nothing and reports no backup made.
bool DailyBackup(const QString &folder)
{
    Q_UNUSED(folder);
    return false;
}
