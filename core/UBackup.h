#pragma once
#include "core/StoredDialog.h"

#include <QDate>
#include <QString>

class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLineEdit;
class QPushButton;
class TFolderDialog;

// The backup dialog " Zálohování": created once at start-up, its stored values restored
// from section "Backup", kept for the whole run. It holds the daily-backup setting (read
// straight from its controls at closing) and starts the immediate backup.
class TFormBackup : public TStoredDialog {
    Q_OBJECT
public:
    explicit TFormBackup(QWidget *parent = nullptr);
    void RestoreStoredValues();

    QGroupBox *GroupBoxDay = nullptr;
    QCheckBox *CheckBoxBackupDay = nullptr;
    QLineEdit *EditBackupPathDay = nullptr;
    QPushButton *ButtonDay = nullptr;
    QPushButton *ButtonNow = nullptr;
    TFolderDialog *FolderDialog = nullptr;
    QFileDialog *SaveDialog = nullptr;

    void FormShow();
    void CheckBoxBackupDayClick();
    void EditBackupPathChange();
    void ButtonDayClick();
    void GroupBoxEnterExit();
    void ButtonNowClick();
    void ButtonCancelClick(); // runs before Storno (or Esc) closes the dialog

protected:
    void Shown() override { FormShow(); }

private:
    void FocusChanged(QWidget *old, QWidget *now);
};

extern TFormBackup *FormBackup;

// The file name of the daily backup of `date`'s weekday, Sunday first: "Nedele",
// "Pondeli", "Utery", "Streda", "Ctvrtek", "Patek", "Sobota".
QString BackupDayName(const QDate &date);

// The three server operations, each framed by the hour-glass and the wait window. True
// when the operation ran without error; the error itself is not shown.
bool BackupDatabase(const QString &path);
bool VerifyBackup(const QString &path);
// Restores the program's database from the backup file `path`: a file that fails the
// verification is refused and the old database stays whole.
bool RestoreDatabase(const QString &path);

// The daily backup at closing into `folder` (a rotation of seven files named by the
// weekday of the clock's date): nothing, and no log line, while the daily backup is off or
// the folder does not exist. True when the backup was made and verified.
bool DailyBackup(const QString &folder);
// The immediate backup into `fileName`. True when it was made and verified.
bool BackupNow(const QString &fileName);
