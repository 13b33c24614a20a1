#pragma once
#include <QString>
#include <QStringList>

class QApplication;

// How a run of the program starts. main() passes the defaults; tests pass a command
// line of their own and a single-instance name of their own.
struct StartupOptions {
    // The process's command line; empty takes QCoreApplication::arguments().
    QStringList arguments;
    // The name the running copy is found by (per user).
    QString instanceName = QStringLiteral("TFormValmedo");
};

// The whole start-up and the main loop: from the application's title to the end of
// the run. Returns the exit code of the message loop, or 0 when start-up ended the
// program before it.
int RunValmedo(QApplication &app, const StartupOptions &options = StartupOptions());
