#pragma once
#include <QProcess>
#include <QString>

class TestDatabase;

// Another desk: a process of its own (the helper valmedo4_otherdesk beside the test
// programs) connected to the test's program database as a desk is, driven line by line:
//
//     "begin", "commit", "insert N" (customer N named "Desk N"), "rows" (CustomerRows),
//     "master" (reconnects on master), "backup PATH", "restore PATH", "quit"
//
// Each command is answered "ok" (or the rows) or "error TEXT".
class OtherDesk {
public:
    explicit OtherDesk(const TestDatabase &db);
    ~OtherDesk(); // "quit", or killed when it does not end
    OtherDesk(const OtherDesk &) = delete;
    OtherDesk &operator=(const OtherDesk &) = delete;

    bool isReady() const { return m_ready; }
    QString error() const { return m_error; }
    qint64 pid() const { return m_process.processId(); }

    // Sends a command and waits for its answer.
    QString ask(const QString &command, int timeoutMs = 30000);
    // Sends a command without waiting for it.
    void send(const QString &command);
    // Ends the desk as a crash would: SIGKILL, then waits for it.
    void kill();
    // Ends the desk as closing it would.
    void quit();

    // The helper's side: runs the desk for the command line of the helper.
    static int run(int argc, char **argv);

private:
    QString readLine(int timeoutMs);

    QProcess m_process;
    bool m_ready = false;
    QString m_error;
};
