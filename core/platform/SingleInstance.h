#pragma once
#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;
class QWidget;

// One running copy of the program per user. A starting copy asks the running one, over
// a local socket named after the main window's class and the user, to raise its main
// window; a copy that finds none answers later copies itself.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &name, QObject *parent = nullptr);
    ~SingleInstance() override;

    // The socket name: `name` and the user.
    QString serverName() const { return m_serverName; }
    // True when a running copy answered; it has been asked to raise its main window.
    bool raiseRunningCopy(int timeoutMs = 500);
    // Answers later copies by raising the window that `window` gives (may be null).
    // A socket left by a copy that was killed is removed first. False when the name
    // cannot be taken.
    bool listen(std::function<QWidget *()> window);

private:
    QString m_serverName;
    QLocalServer *m_server = nullptr;
};

// Brings a top-level window to the front (the window manager may refuse).
void RaiseWindow(QWidget *window);
