#pragma once
#include <QList>
#include <QProcess>
#include <QString>
#include <utility>

// A desk in a process of its own: this program started again with some variables added to
// its environment, which tell its main() to run a desk. The desk says "ready" on its output
// once it can take commands, then answers each command line with one reply line.
// In a desk process: one reply line on the output, at once.
void DeskSays(const QString &line);

class DeskProcess {
public:
    explicit DeskProcess(const QList<std::pair<QString, QString>> &variables);
    ~DeskProcess(); // "quit", or killed when it does not end
    DeskProcess(const DeskProcess &) = delete;
    DeskProcess &operator=(const DeskProcess &) = delete;

    // Starts the desk and waits until it is ready; false with the reason otherwise.
    bool start(QString *error = nullptr);
    // Sends a command without waiting for its reply: desks started one after the other must
    // be able to work at the same moment.
    void send(const QString &command);
    // The next reply line; empty when none came in time or the desk ended.
    QString reply(int timeoutMs = 30000);
    // Ends the desk at once, as a power cut would (SIGKILL).
    void kill();
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
};
