#pragma once
#include "core/FormStorage.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;

// The backup dialog " Zálohování": created once at start-up, its stored values restored
// from section "Backup", kept for the whole run. It holds the daily-backup setting.
class TFormBackup : public QDialog {
    Q_OBJECT
public:
    explicit TFormBackup(QWidget *parent = nullptr);
    void RestoreStoredValues();

    TFormStorage FormStorage{this, QStringLiteral("Backup"), {QStringLiteral("CheckBoxBackupDay.Checked"), QStringLiteral("EditBackupPathDay.Text")}};

    QCheckBox *CheckBoxBackupDay = nullptr;
    QLineEdit *EditBackupPathDay = nullptr;
};

extern TFormBackup *FormBackup;

// The daily backup at closing into `folder` (a rotation of seven files named by the
// weekday). True when the backup was made and verified.
bool DailyBackup(const QString &folder);

// Restores the program's database from the backup file `path` (verified first; the old
// database stays when it fails). True when the restore ran without error.
bool RestoreDatabase(const QString &path);
