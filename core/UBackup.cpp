#include "core/UBackup.h"

#include "core/database/Errors.h"
#include "core/Grids.h"
#include "core/Log.h"
#include "core/Messages.h"
#include "core/Modal.h"
#include "core/NamedWidget.h"
#include "core/RunGlobals.h"
#include "core/database/SqlServer.h"
#include "core/UFolderDialog.h"
#include "core/Utils.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

TFormBackup *FormBackup = nullptr;

namespace {

// One server operation under the hour-glass and the wait window, both gone again in
// every case. Any failure gives false.
bool runFramed(const QString &waitText, const std::function<bool(SqlServer &)> &operation)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ShowProgress(waitText);
    bool ok = false;
    try {
        if (SqlServer *server = CurrentServer())
            ok = operation(*server);
    } catch (const EDatabaseError &) {
    } catch (const std::exception &) {
    }
    HideProgress();
    QApplication::restoreOverrideCursor();
    return ok;
}

// Backup, then the verification only when the backup succeeded; one log line of `kind`.
bool backupAndVerify(const QString &kind, const QString &fileName)
{
    bool ok = BackupDatabase(fileName);
    if (ok)
        ok = VerifyBackup(fileName);
    LogBackup(kind, fileName, ok);
    return ok;
}

} // namespace

TFormBackup::TFormBackup(QWidget *parent)
    : TStoredDialog(QStringLiteral("Backup"),
                    {QStringLiteral("CheckBoxBackupDay.Checked"),
                     QStringLiteral("EditBackupPathDay.Text")},
                    true, parent)
{
    setObjectName(QStringLiteral("FormBackup"));
    setWindowTitle(QStringLiteral(" Zálohování"));
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    GroupBoxDay = new QGroupBox(QStringLiteral("Záloha [Day]"), this);
    GroupBoxDay->setObjectName(QStringLiteral("GroupBoxDay"));
    auto *dayLayout = new QVBoxLayout(GroupBoxDay);
    CheckBoxBackupDay = new QCheckBox(QStringLiteral("Zálohovat každý den do adresáře"), GroupBoxDay);
    CheckBoxBackupDay->setObjectName(QStringLiteral("CheckBoxBackupDay"));
    dayLayout->addWidget(CheckBoxBackupDay);
    auto *pathRow = new QHBoxLayout;
    EditBackupPathDay = new QLineEdit(GroupBoxDay);
    EditBackupPathDay->setObjectName(QStringLiteral("EditBackupPathDay"));
    EditBackupPathDay->setMinimumWidth(280);
    pathRow->addWidget(EditBackupPathDay, 1);
    ButtonDay = Named<QPushButton>(GroupBoxDay, "ButtonDay", QStringLiteral("Vyhledat..."));
    pathRow->addWidget(ButtonDay);
    dayLayout->addLayout(pathRow);
    layout->addWidget(GroupBoxDay);

    ButtonNow = Named<QPushButton>(this, "ButtonNow", QStringLiteral("Provést zálohu nyní..."));
    auto *nowRow = new QHBoxLayout;
    nowRow->addWidget(ButtonNow);
    nowRow->addStretch(1);
    layout->addLayout(nowRow);

    AddButtons(layout, false, [this] { ButtonCancelClick(); });

    FolderDialog = new TFolderDialog(this);
    FolderDialog->setObjectName(QStringLiteral("FolderDialog"));
    FolderDialog->Flags = TBrowseInfoFlag::ShowPath | TBrowseInfoFlag::NewDialogStyle | TBrowseInfoFlag::ShowShared;
    FolderDialog->ParentWidget = this;

    SaveDialog = new QFileDialog(this, QStringLiteral("Záloha databáze"));
    SaveDialog->setObjectName(QStringLiteral("SaveDialog"));
    SaveDialog->setOption(QFileDialog::DontUseNativeDialog);
    SaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog->setFileMode(QFileDialog::AnyFile);
    SaveDialog->setNameFilter(QStringLiteral("Zaloha dabáze (*.bak)"));
    SaveDialog->setDefaultSuffix(QStringLiteral("bak"));
    SaveDialog->setSizeGripEnabled(true);

    connect(CheckBoxBackupDay, &QCheckBox::toggled, this, [this] { CheckBoxBackupDayClick(); });
    connect(EditBackupPathDay, &QLineEdit::textChanged, this, [this] { EditBackupPathChange(); });
    connect(ButtonDay, &QPushButton::clicked, this, [this] { ButtonDayClick(); });
    connect(ButtonNow, &QPushButton::clicked, this, [this] { ButtonNowClick(); });
    connect(qApp, &QApplication::focusChanged, this, &TFormBackup::FocusChanged);
    CheckBoxBackupDayClick();
}

void TFormBackup::RestoreStoredValues()
{
    FormStorage.Restore();
    CheckBoxBackupDayClick();
}

void TFormBackup::FormShow()
{
    CheckBoxBackupDayClick();
}

void TFormBackup::CheckBoxBackupDayClick()
{
    const bool on = CheckBoxBackupDay->isChecked();
    EditBackupPathDay->setEnabled(on);
    ButtonDay->setEnabled(on);
    EditBackupPathChange();
}

void TFormBackup::EditBackupPathChange()
{
    // The daily backup cannot be confirmed into a folder that does not exist.
    ButtonOk->setEnabled(!EditBackupPathDay->isEnabled() || QFileInfo(EditBackupPathDay->text()).isDir());
}

void TFormBackup::ButtonDayClick()
{
    FolderDialog->Folder = EditBackupPathDay->text();
    if (FolderDialog->Execute())
        EditBackupPathDay->setText(FolderDialog->Folder);
}

void TFormBackup::GroupBoxEnterExit()
{
    // Inside the group Enter opens the folder dialog.
    const QWidget *focus = QApplication::focusWidget();
    const bool inside = focus && GroupBoxDay->isAncestorOf(focus);
    if (ButtonDay->isDefault() != inside)
        ToggleDefaultButton(GroupBoxDay);
}

void TFormBackup::FocusChanged(QWidget *old, QWidget *now)
{
    const bool wasInside = old && GroupBoxDay->isAncestorOf(old);
    const bool isInside = now && GroupBoxDay->isAncestorOf(now);
    if (wasInside != isInside)
        GroupBoxEnterExit();
}

void TFormBackup::ButtonNowClick()
{
    SaveDialog->setDirectory(ProgramDir());
    SaveDialog->selectFile(QStringLiteral("Backup.bak"));
    if (ExecModal(SaveDialog) == QDialog::Accepted && !SaveDialog->selectedFiles().isEmpty())
        BackupNow(SaveDialog->selectedFiles().constFirst());
    // The button closes the dialog with Cancel; the daily-backup edits stay.
    done(QDialog::Rejected);
}

void TFormBackup::ButtonCancelClick()
{
    // Undoes this showing's edits; the button then closes the dialog with Cancel.
    RestoreStoredValues();
}

QString BackupDayName(const QDate &date)
{
    static const char *const Names[] = {"Nedele", "Pondeli", "Utery", "Streda", "Ctvrtek", "Patek", "Sobota"};
    return QLatin1String(Names[date.dayOfWeek() % 7]);
}

bool BackupDatabase(const QString &path)
{
    return runFramed(QStringLiteral("Probíhá zálohování databáze..."), [&path](SqlServer &server) {
        server.backup(path);
        return true;
    });
}

bool VerifyBackup(const QString &path)
{
    return runFramed(QStringLiteral("Probíhá verifikace databáze..."),
                     [&path](SqlServer &server) { return server.verifyBackup(path); });
}

bool RestoreDatabase(const QString &path)
{
    return runFramed(QStringLiteral("Probíhá obnovování databáze..."), [&path](SqlServer &server) {
        server.restore(path);
        return true;
    });
}

bool DailyBackup(const QString &folder)
{
    if (!FormBackup || !FormBackup->CheckBoxBackupDay->isChecked())
        return false;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    // The clock's date at closing, not the run date.
    const QString file = JoinPath(BackupDayName(Now().date()) + QStringLiteral(".bak"), folder);
    return backupAndVerify(QStringLiteral("Denní"), file);
}

bool BackupNow(const QString &fileName)
{
    return backupAndVerify(QStringLiteral("Okamžité"), fileName);
}
