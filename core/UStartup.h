#pragma once
#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

class QApplication;
class QFileDialog;
class QPlainTextEdit;
class TFormValmedo;

// Makes the main window with its pages (app/Wiring.h for the program).
using MainWindowBuilder = std::function<TFormValmedo *()>;

// How a run of the program starts. main() passes the defaults; tests pass a command
// line of their own and a single-instance name of their own.
struct StartupOptions {
    // The process's command line; empty takes QCoreApplication::arguments().
    QStringList arguments;
    // The name the running copy is found by (per user).
    QString instanceName = QStringLiteral("TFormValmedo");
    // Called once the message loop runs with the main window on the screen.
    std::function<void()> running;
};

// The whole start-up and the main loop: from the application's title to the end of
// the run. Returns the exit code of the message loop, or 0 when start-up ended the
// program before it.
int RunValmedo(QApplication &app, const MainWindowBuilder &buildMainWindow,
               const StartupOptions &options = StartupOptions());

// The start-up window " Inicializace": every step of start-up is a line here and in
// the log, and its outcome a line behind it.
class TFormInitialization : public QDialog {
    Q_OBJECT
public:
    explicit TFormInitialization(QWidget *parent = nullptr);

    // A new line here and a new log line.
    void InitMessage(const QString &text);
    // A new line here; "[text]" behind the last log line.
    void InitResult(const QString &text);
    void InitOk() { InitResult(QStringLiteral("Ok")); }
    void InitError() { InitResult(QStringLiteral("Error")); }
    // A line that a running step reports (a new embedded server): written after the
    // step's outcome, so that the outcome stays behind its own line.
    void InitNote(const QString &text);

    QPlainTextEdit *Memo = nullptr;
    QFileDialog *OpenDialog = nullptr;

protected:
    void showEvent(QShowEvent *event) override; // centred on its screen
    // Neither Esc nor the close box ends it while start-up runs.
    void reject() override;
    void closeEvent(QCloseEvent *event) override;

private:
    QStringList m_notes;
};

// The fonts the program's windows and layouts name, mapped to the metric-compatible
// fonts of this machine ("Arial Black", "MS Sans Serif" and "Microsoft Sans Serif" to
// "Liberation Sans"); start-up installs them before any window is made.
void InstallFontSubstitutions();
// Qt's own texts in Czech (the file and folder dialogs, the calendar's months and days)
// from Qt's translation qtbase_cs, and the Czech locale for the widgets, whatever the
// machine's locale; start-up installs them before any window is made. Once per run.
void InstallCzechLanguage();

// Whether the command line holds `option` ("/RESET"): a case-sensitive search in the
// arguments after the program's own path (the first item).
bool HasSwitch(const QStringList &arguments, const QString &option);
