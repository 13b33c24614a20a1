#pragma once
#include <QList>
#include <QProcess>
#include <QString>
#include <optional>

// Further desks for the tests and benchmarks that need several desks lending at the same
// moment: the same program started again as a desk process, with a connection of its own to
// the database of the caller, writing lends through WriteLendDocument on command.
//
// The program's main() first calls RunAsLendDesk(); in a desk process it runs the desk and
// gives its exit code. The caller starts desks with LendDeskProcess.
//
// Commands, one line each, and their replies:
//   "lend <customer> <video>..."  one lend, each line 1 day at 30 Kč, late fee 10 Kč and no
//                                 deposit; replies "written <document>", "refused <outcome>
//                                 <document> <video>" or "failed <document> <error>"
//   "loop <seed> <customers> <videos>"  lends of 1 to 3 random videos to random customers for
//                                 ever, freeing a video it finds out; one "written <document>"
//                                 line per lend written (for runs that kill the desk)
//   "quit" (or the end of input)  ends the desk

// In a desk process: runs the desk and returns its exit code; otherwise nothing.
std::optional<int> RunAsLendDesk();

class LendDeskProcess {
public:
    // A desk of this program on the database that the program's connection is on now
    // (server name, physical database name and "sa"'s password).
    LendDeskProcess(const QString &serverName, const QString &databaseName, const QString &password);
    ~LendDeskProcess();
    LendDeskProcess(const LendDeskProcess &) = delete;
    LendDeskProcess &operator=(const LendDeskProcess &) = delete;

    // Starts the desk and waits until it has connected; false with the reason otherwise.
    bool start(QString *error = nullptr);
    void send(const QString &command);
    void lend(qint64 customer, const QList<qint64> &videos);
    // The next reply line; empty when none came in time or the desk ended.
    QString reply(int timeoutMs = 30000);
    // Ends the desk at once, as a power cut would (SIGKILL).
    void kill();
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
};
