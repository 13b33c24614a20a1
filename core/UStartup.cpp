#include "core/UStartup.h"

#include "core/database/Commands.h"
#include "core/database/Database.h"
#include "core/database/Errors.h"
#include "core/IniFile.h"
#include "core/Log.h"
#include "core/Messages.h"
#include "core/Modal.h"
#include "core/PwdStream.h"
#include "core/RunGlobals.h"
#include "core/database/SqlServer.h"
#include "core/SystemPassword.h"
#include "core/UBackup.h"
#include "core/UDatabase.h"
#include "core/UFolderDialog.h"
#include "core/ULogin.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/USystemPass.h"
#include "core/UValmedo.h"
#include "core/VersionInfo.h"
#include "core/platform/SingleInstance.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFont>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSpinBox>
#include <QTranslator>

#include <utility>
#include <QCheckBox>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>
#include <stdexcept>
#include <optional>

// ---------------------------------------------------------------------------------------
// The start-up window

TFormInitialization::TFormInitialization(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FormInitialization"));
    setWindowTitle(QStringLiteral(" Inicializace"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Memo = new QPlainTextEdit(this);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setReadOnly(true);
    layout->addWidget(Memo);
    resize(420, 300);

    OpenDialog = new QFileDialog(this, QStringLiteral("Obnova databáze"));
    OpenDialog->setObjectName(QStringLiteral("OpenDialog"));
    OpenDialog->setOption(QFileDialog::DontUseNativeDialog);
    OpenDialog->setOption(QFileDialog::ReadOnly, false);
    OpenDialog->setNameFilter(QStringLiteral("Zaloha dabáze (*.bak)"));
    OpenDialog->setDefaultSuffix(QStringLiteral("bak"));
    OpenDialog->setFileMode(QFileDialog::ExistingFile);
    OpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog->setSizeGripEnabled(true);
}

void TFormInitialization::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

void TFormInitialization::reject()
{
    // Esc does not end the start-up window; start-up deletes it when it is done.
}

void TFormInitialization::closeEvent(QCloseEvent *event)
{
    event->ignore(); // no close box while start-up runs
}

void TFormInitialization::InitMessage(const QString &text)
{
    Memo->appendPlainText(text);
    if (TLog *log = MainLog())
        log->AddLog(text);
}

void TFormInitialization::InitResult(const QString &text)
{
    Memo->appendPlainText(text);
    if (TLog *log = MainLog())
        log->AppendLog(QStringLiteral("[%1]").arg(text));
    const QStringList notes = std::exchange(m_notes, {});
    for (const QString &note : notes)
        InitMessage(note);
}

void TFormInitialization::InitNote(const QString &text)
{
    m_notes << text;
}

void InstallFontSubstitutions()
{
    for (const char *family : {"Arial Black", "MS Sans Serif", "Microsoft Sans Serif"})
        QFont::insertSubstitution(QString::fromLatin1(family), QStringLiteral("Liberation Sans"));
    // The windows' pixel layouts (49-pixel grid columns with two-line titles, say) are
    // drawn for the desk's 8-point form font, not the desktop's larger default.
    QApplication::setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
}

void InstallCzechLanguage()
{
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    static QPointer<QTranslator> translator;
    if (translator)
        return;
    translator = new QTranslator(QCoreApplication::instance());
    // Without Qt's translations installed the dialogs stay in English: no reason to stop.
    if (translator->load(QStringLiteral("qtbase_cs"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

bool HasSwitch(const QStringList &arguments, const QString &option)
{
    // The program's own path is no switch: /opt/RESET/valmedo4 must not reset.
    return arguments.mid(1).join(QLatin1Char(' ')).contains(option, Qt::CaseSensitive);
}

// ---------------------------------------------------------------------------------------
// Start-up

namespace {

const QString ConnectFailed = QStringLiteral("Chyba přihlašování k SQL serveru...");
const QString ConnectFailedWhy = QStringLiteral(
    "SQL server nebo databáze nejsou dostupní, uživatel neexistuje,\r"
    "zadaný uživatel nemá příslušné oprávnění, špatně zadané heslo...");
const QString OpenFailed = QStringLiteral("Chyba při otevírání databáze...");
const QString OpenFailedWhy = QStringLiteral("Databáze není dostupná...");
const QString NoPasswordWhy =
    QStringLiteral("Nyní se může přihlásit pouze systémový administrator (sa)...");

class Startup {
public:
    Startup(QApplication &app, const MainWindowBuilder &buildMainWindow, const StartupOptions &options)
        : m_app(app), m_buildMainWindow(buildMainWindow), m_options(options),
          m_arguments(options.arguments.isEmpty() ? QCoreApplication::arguments() : options.arguments)
    {
    }
    ~Startup()
    {
        freeWindows();
        SetCurrentServer(nullptr); // the run's connection ends with its windows
    }

    int run();

private:
    bool has(const char *option) const { return HasSwitch(m_arguments, QString::fromLatin1(option)); }
    void createSettingsDialogs();
    void systemPassword();
    void createLoginDialog();
    bool loginAttempt();
    bool connectMaster();
    bool switchToProgramDatabase();
    void cleanUp();
    void cleanUpStatement(const QString &message, const QString &statement,
                          const std::optional<QDateTime> &cutOff = std::nullopt);
    void freeWindows();

    QApplication &m_app;
    MainWindowBuilder m_buildMainWindow;
    StartupOptions m_options;
    QStringList m_arguments;
    std::unique_ptr<SingleInstance> m_instance;
    // What start-up creates, in the order of creation.
    QPointer<TFormInitialization> m_init;
    QPointer<TFormValmedo> m_main;
    QPointer<TFormSetupVideo> m_setupVideo;
    QPointer<TFormSetupPrint> m_setupPrint;
    QPointer<TFormBackup> m_backup;
    QPointer<TFormDatabase> m_database;
    QPointer<TFormLogin> m_login;
};

int Startup::run()
{
    // 1. The application's title; it stays out of the display name, which the window
    // system would append to every window caption.
    m_app.setApplicationName(QStringLiteral("Valmedo 4.0"));
    InstallFontSubstitutions();
    InstallCzechLanguage();
    // 2-4. The run's globals.
    SetProgramTitle(QStringLiteral("%1 %2").arg(GetVersionInfo(QStringLiteral("ProductName")),
                                                 GetVersionInfo(QStringLiteral("ProductVersion"))));
    SetRunDate(Now().date());
    // The program's folder, where its dialogs start, is its working folder: the shop's files
    // live there, while the executable's folder (build/, or /usr/local/bin once installed) is
    // no place for backups and exports, and often not writable.
    SetProgramDir(QDir::currentPath() + QLatin1Char('/'));

    // 5. One copy per user, unless the person wants a second one.
    m_instance = std::make_unique<SingleInstance>(m_options.instanceName);
    if (m_instance->raiseRunningCopy()) {
        if (!ShowQuestion(QStringLiteral("Spustit %1 program ?").arg(ProgramTitle()),
                          QStringLiteral("Program je již jednou spuštěn..."), false))
            return 0;
        m_instance.reset(); // the second copy answers nobody
    } else {
        m_instance->listen([] { return static_cast<QWidget *>(FormValmedo); });
    }

    // 6-8. The start-up window, the main window (it loads its log), the log cut.
    m_init = new TFormInitialization;
    m_init->show();
    NoteShownWindow(m_init);
    m_main = m_buildMainWindow();
    m_main->log()->LimitLog(2048);
    // What the engines report for the log (a new embedded server) follows the
    // outcome of the step that made them report it.
    SqlServer::setLogSink([init = m_init](const QString &line) {
        if (init)
            init->InitNote(line);
        else if (TLog *log = MainLog())
            log->AddLog(line);
    });

    // 9-10.
    m_init->InitMessage(QStringLiteral("Start programu ") + ProgramTitle());
    m_init->InitOk();
    m_init->InitMessage(QStringLiteral("Start nastavení programu"));
    createSettingsDialogs();
    m_init->InitOk();

    // 11-12.
    systemPassword();

    // 13-14.
    createLoginDialog();
    bool loggedIn = false;
    for (;;) {
        if (ExecModal(m_login) != QDialog::Accepted)
            break;
        if (loginAttempt()) {
            loggedIn = true;
            break;
        }
    }
    if (!loggedIn)
        return 0; // 17: the windows go with this object; no closing action runs

    // 13 (end of the loop): the user name and the server are kept only now.
    try {
        m_login->SaveStoredValues();
    } catch (const EIniFileError &e) {
        ShowWarning(false, e.message(), QStringLiteral("Uživatel a server nebyly uloženy..."));
    }
    delete m_login;

    // 15.
    if (FormDatabase->CheckBoxLends->isChecked())
        cleanUp();

    // 16.
    delete m_init;
    m_main->show();
    if (m_options.running)
        QTimer::singleShot(0, &m_app, m_options.running);
    return m_app.exec();
}

void Startup::createSettingsDialogs()
{
    m_setupVideo = FormSetupVideo = new TFormSetupVideo;
    FormSetupVideo->RestoreStoredValues();
    m_setupPrint = FormSetupPrint = new TFormSetupPrint;
    FormSetupPrint->RestoreStoredValues();
    m_backup = FormBackup = new TFormBackup;
    FormBackup->RestoreStoredValues();
    m_database = FormDatabase = new TFormDatabase;
    FormDatabase->RestoreStoredValues();
}

void Startup::systemPassword()
{
    const QString file = QString::fromLatin1(PasswordFileName);
    if (has("/PASSWORD") || !QFile::exists(file)) {
        TFormSystemPass dialog;
        if (ExecModal(&dialog) == QDialog::Accepted) {
            const QString password = dialog.EditSystemPass->text().left(PasswordMaxLength);
            if (!PasswordStorable(password)) {
                ShowWarning(false, QStringLiteral("Heslo nebylo uloženo..."),
                            QStringLiteral("Heslo obsahuje znaky, které nelze uložit..."));
            } else {
                try {
                    WritePasswordFile(file, password);
                    ShowInformation(QStringLiteral("Heslo bylo uloženo..."),
                                    QStringLiteral("Heslo Systémového administratora (sa) bylo uloženo..."),
                                    false, m_init);
                } catch (const ECipherException &) {
                    ShowWarning(false, QStringLiteral("Heslo nebylo uloženo..."),
                                QStringLiteral("Soubor [Valmedo4.pwd] nelze zapsat..."));
                }
            }
        }
    }
    SetSystemPassword(QString());
    if (!QFile::exists(file)) {
        ShowWarning(false, QStringLiteral("Nenalezen soubor [Valmedo4.pwd]..."), NoPasswordWhy);
        return;
    }
    try {
        SetSystemPassword(ReadPasswordFile(file));
    } catch (const ECipherException &) {
        // A damaged file is treated as a missing one and left as it is; "/PASSWORD"
        // writes it anew.
        ShowWarning(false, QStringLiteral("Soubor [Valmedo4.pwd] je poškozen..."), NoPasswordWhy);
    }
}

void Startup::createLoginDialog()
{
    m_login = new TFormLogin;
    if (IsWindowsNT()) {
        QStringList servers;
        ListSQLServers(servers);
        m_login->ComboBoxServer->addItems(servers);
    }
    m_login->EditPassword->setFocus();
    // Restored after the list is filled, so that a stored server not found stands.
    m_login->RestoreStoredValues();
}

bool Startup::connectMaster()
{
    if (!ConnectDatabase(ServerName(), QString::fromLatin1(SqlServer::MasterDatabase), UserName(),
                         UserPassword())) {
        m_init->InitError();
        ShowWarning(false, ConnectFailed, ConnectFailedWhy);
        return false;
    }
    m_init->InitOk();
    return true;
}

// After "/RESTORE" or "/RESET" the connection moves from "master" to the program's
// database. It fails when there is none (a restore skipped, a creation declined).
bool Startup::switchToProgramDatabase()
{
    SqlServer *server = CurrentServer();
    if (server && server->currentDatabase() == QLatin1String(SqlServer::ProgramDatabase))
        return true;
    bool exists = false;
    try {
        exists = server && server->databaseExists();
    } catch (const EDatabaseError &) {
        // the server failed to answer: reported below as a database that cannot be opened
    }
    if (exists && server->open(QString::fromLatin1(SqlServer::ProgramDatabase), UserName(), UserPassword()))
        return true;
    m_init->InitMessage(QStringLiteral("Připojování k databázi: [valmedo4]"));
    m_init->InitError();
    ShowWarning(false, OpenFailed, OpenFailedWhy);
    return false;
}

bool Startup::loginAttempt()
{
    SetUserName(m_login->EditUser->text());
    SetUserPassword(m_login->EditPassword->text());
    SetServerName(m_login->ComboBoxServer->currentText());
    const bool restore = has("/RESTORE");
    const bool reset = has("/RESET");
    m_init->InitMessage(QStringLiteral("Připojování k serveru a databázi: [%1] [%2]")
                            .arg(ServerName(), restore || reset ? QStringLiteral("master")
                                                                : QStringLiteral("valmedo4")));
    if (restore) {
        if (!connectMaster())
            return false;
        m_init->OpenDialog->setDirectory(ProgramDir());
        if (ExecModal(m_init->OpenDialog) == QDialog::Accepted
            && !m_init->OpenDialog->selectedFiles().isEmpty()
            && ShowQuestion(QStringLiteral("Opravdu chcete obnovit databázi ?"),
                            QStringLiteral("Původní databáze bude přepsána databází ze zálohy..."),
                            false)) {
            const QString file = m_init->OpenDialog->selectedFiles().constFirst();
            m_init->InitMessage(QStringLiteral("Obnovování databáze ze zálohy: [%1]").arg(file));
            if (!RestoreDatabase(file)) {
                m_init->InitError();
                ShowWarning(false, QStringLiteral("Chyba při obnovování databáze..."),
                            QStringLiteral("Databáze nebyla obnovena..."));
                return false;
            }
            m_init->InitOk();
        }
    }
    if (reset) {
        if (!connectMaster())
            return false;
        if (ShowQuestion(QStringLiteral("Opravdu chcete vytvořit novou databázi ?"),
                         QStringLiteral("Původní databáze bude přepsána a všechna data vymazána..."),
                         false)) {
            m_init->InitMessage(QStringLiteral("Vytváření databáze: [valmedo4]"));
            if (!CreateDatabase()) {
                m_init->InitError();
                ShowWarning(false, QStringLiteral("Chyba při vytváření databáze..."),
                            QStringLiteral("Databáze nebyla vytvořena..."));
                return false;
            }
            m_init->InitOk();
        }
        if (!UseDatabase())
            return false;
    }
    if (!restore && !reset) {
        const bool sa = UserName() == QLatin1String("sa");
        const bool connected = sa
            ? ConnectDatabase(ServerName(), QString::fromLatin1(SqlServer::ProgramDatabase), UserName(),
                              UserPassword())
            : ConnectDatabase(ServerName(), QString::fromLatin1(SqlServer::ProgramDatabase),
                              QStringLiteral("sa"), SystemPassword());
        if (!connected) {
            m_init->InitError();
            ShowWarning(false, ConnectFailed,
                        sa ? ConnectFailedWhy : QStringLiteral("SQL server není dostupný..."));
            return false;
        }
        m_init->InitOk();
    } else if (!switchToProgramDatabase()) {
        return false;
    }

    if (has("/REINDEX") || FormDatabase->CheckBoxReindex->isChecked()) {
        m_init->InitMessage(QStringLiteral("Reindexace databáze"));
        if (ReindexDatabase()) {
            m_init->InitOk();
        } else {
            m_init->InitError();
            ShowWarning(false, QStringLiteral("Chyba při reindexaci databáze..."),
                        QStringLiteral("Reindexace nebyla provedena..."));
        }
    }
    if (has("/TRANSLOG") || FormDatabase->CheckBoxTransLog->isChecked()) {
        m_init->InitMessage(QStringLiteral("Vymazání transakčního logu"));
        if (TruncateTransLog()) {
            m_init->InitOk();
        } else {
            m_init->InitError();
            ShowWarning(false, QStringLiteral("Chyba mazání transakčního logu..."),
                        QStringLiteral("Vymazání transakčního logu nebylo provedeno..."));
        }
    }

    m_init->InitMessage(QStringLiteral("Otevírání databáze: [valmedo4]"));
    if (!OpenDatabase()) {
        m_init->InitError();
        ShowWarning(false, OpenFailed, OpenFailedWhy);
        return false;
    }
    m_init->InitOk();

    m_init->InitMessage(QStringLiteral("Přihlášování uživatele: [%1]").arg(UserName()));
    if (UserName() != QLatin1String("sa")) {
        bool checked = false;
        try {
            checked = CheckUserPassword(UserName(), UserPassword());
        } catch (const EDatabaseError &e) {
            // The user table could not be read: say so, unlike a plain refusal.
            m_init->InitError();
            ShowWarning(false, QStringLiteral("Chyba při přihlašování uživatele..."), e.message());
            return false;
        }
        if (!checked) {
            m_init->InitError();
            return false;
        }
    }
    m_init->InitOk();
    return true;
}

void Startup::cleanUp()
{
    const int days = FormDatabase->IntegerEditLends->Value();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    cleanUpStatement(QStringLiteral("Vymazávání záznamů s doklady:"),
                     QStringLiteral("DELETE FROM tab_pujcky WHERE CAS<:CAS"),
                     // the run date less N days, at midnight
                     QDateTime(RunDate().addDays(-days), QTime(0, 0)));
    cleanUpStatement(QStringLiteral("Vymazávání záznamů s historií:"),
                     QStringLiteral("DELETE FROM tab_pujckydetail WHERE PUJCENA=0 AND HISTORIE=0 AND NOT "
                                    "EXISTS (SELECT * FROM tab_pujcky WHERE "
                                    "DOKLAD=tab_pujckydetail.DOKLAD_PUJ OR "
                                    "DOKLAD=tab_pujckydetail.DOKLAD_VRA)"));
    cleanUpStatement(QStringLiteral("Upravování záznamů s historií:"),
                     QStringLiteral("UPDATE tab_pujckydetail SET DOKLAD=0 WHERE DOKLAD=1 AND NOT EXISTS "
                                    "(SELECT * FROM tab_pujcky WHERE "
                                    "DOKLAD=tab_pujckydetail.DOKLAD_PUJ OR "
                                    "DOKLAD=tab_pujckydetail.DOKLAD_VRA)"));
    QApplication::restoreOverrideCursor();
}

void Startup::cleanUpStatement(const QString &message, const QString &statement,
                               const std::optional<QDateTime> &cutOff)
{
    try {
        m_init->InitMessage(message);
        SetCommand(statement);
        if (cutOff)
            SetCommandParam(QStringLiteral("CAS"), *cutOff);
        ExecCommand();
        m_init->InitResult(QString::number(CommandRowsAffected()));
        m_init->InitOk();
    } catch (const EDatabaseError &) {
        m_init->InitError();
    }
}

void Startup::freeWindows()
{
    // In the order of their creation.
    delete m_init;
    delete m_main;
    delete m_setupVideo;
    delete m_setupPrint;
    delete m_backup;
    delete m_database;
    delete m_login;
    FormSetupVideo = nullptr;
    FormSetupPrint = nullptr;
    FormBackup = nullptr;
    FormDatabase = nullptr;
}

} // namespace

int RunValmedo(QApplication &app, const MainWindowBuilder &buildMainWindow, const StartupOptions &options)
{
    if (!buildMainWindow)
        throw std::logic_error("RunValmedo: no builder of the main window was given");
    Startup startup(app, buildMainWindow, options);
    return startup.run();
}
