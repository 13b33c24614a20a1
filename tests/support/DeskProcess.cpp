#include "support/DeskProcess.h"

#include <QCoreApplication>
#include <QProcessEnvironment>

#include <cstdio>

void DeskSays(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

DeskProcess::DeskProcess(const QList<std::pair<QString, QString>> &variables)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : variables)
        environment.insert(name, value);
    m_process.setProcessEnvironment(environment);
    m_process.setProgram(QCoreApplication::applicationFilePath());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

DeskProcess::~DeskProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    send(QStringLiteral("quit"));
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(10000))
        kill();
}

bool DeskProcess::start(QString *error)
{
    m_process.start();
    const QString first = m_process.waitForStarted(10000) ? reply() : QString();
    if (first == QLatin1String("ready"))
        return true;
    if (error)
        *error = first.isEmpty() ? QStringLiteral("the desk did not start") : first;
    return false;
}

void DeskProcess::send(const QString &command)
{
    m_process.write((command + QLatin1Char('\n')).toUtf8());
    m_process.waitForBytesWritten(10000);
}

QString DeskProcess::reply(int timeoutMs)
{
    while (!m_process.canReadLine()) {
        if (m_process.state() == QProcess::NotRunning || !m_process.waitForReadyRead(timeoutMs))
            return m_process.canReadLine() ? QString::fromUtf8(m_process.readLine()).trimmed() : QString();
    }
    return QString::fromUtf8(m_process.readLine()).trimmed();
}

void DeskProcess::kill()
{
    m_process.kill();
    m_process.waitForFinished(10000);
}
