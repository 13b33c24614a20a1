#include "core/platform/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <unistd.h>

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent), m_serverName(QStringLiteral("%1-%2").arg(name).arg(::getuid()))
{
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

bool SingleInstance::raiseRunningCopy(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write("raise\n");
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen(std::function<QWidget *()> window)
{
    if (!m_server)
        m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName))
        return false;
    connect(m_server, &QLocalServer::newConnection, this, [this, window] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (QWidget *w = window ? window() : nullptr)
                RaiseWindow(w);
        }
    });
    return true;
}

void RaiseWindow(QWidget *window)
{
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}
