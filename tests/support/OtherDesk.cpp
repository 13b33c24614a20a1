#include "support/OtherDesk.h"

#include "core/database/Errors.h"
#include "core/database/SqlServer.h"
#include "support/TestCommands.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSqlDatabase>

#include <cstdio>
#include <iostream>
#include <string>

OtherDesk::OtherDesk(const TestDatabase &db)
{
    const QString helper = QCoreApplication::applicationDirPath() + QStringLiteral("/valmedo4_otherdesk");
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(helper, {db.serverName(), db.password(), db.databaseName()});
    if (!m_process.waitForStarted()) {
        m_error = QStringLiteral("%1 does not start").arg(helper);
        return;
    }
    const QString greeting = readLine(30000);
    m_ready = greeting == QLatin1String("ready");
    if (!m_ready)
        m_error = greeting;
}

OtherDesk::~OtherDesk()
{
    quit();
}

QString OtherDesk::readLine(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired())
            return QStringLiteral("error no answer");
        if (!m_process.waitForReadyRead(int(deadline.remainingTime())) && m_process.state() != QProcess::Running
            && !m_process.canReadLine())
            return QStringLiteral("error the desk has ended");
    }
    return QString::fromUtf8(m_process.readLine()).trimmed();
}

QString OtherDesk::ask(const QString &command, int timeoutMs)
{
    send(command);
    return readLine(timeoutMs);
}

void OtherDesk::send(const QString &command)
{
    m_process.write(command.toUtf8() + '\n');
    m_process.waitForBytesWritten();
}

void OtherDesk::kill()
{
    m_process.kill();
    m_process.waitForFinished();
}

void OtherDesk::quit()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    send(QStringLiteral("quit"));
    if (!m_process.waitForFinished(10000))
        kill();
}

namespace {

QString runCommand(SqlServer &server, const QString &line)
{
    const QString command = line.section(QLatin1Char(' '), 0, 0);
    const QString argument = line.section(QLatin1Char(' '), 1);
    if (command == QLatin1String("begin"))
        return CurrentConnection().transaction() ? QStringLiteral("ok") : QStringLiteral("error begin");
    if (command == QLatin1String("commit"))
        return CurrentConnection().commit() ? QStringLiteral("ok") : QStringLiteral("error commit");
    if (command == QLatin1String("insert")) {
        Exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK, JMENO) VALUES (%1, 'Desk %1')")
                 .arg(argument.toLongLong()));
        return QStringLiteral("ok");
    }
    if (command == QLatin1String("rows"))
        return CustomerRows();
    if (command == QLatin1String("master"))
        return server.reopen(QString::fromLatin1(SqlServer::MasterDatabase)) ? QStringLiteral("ok")
                                                                             : QStringLiteral("error master");
    if (command == QLatin1String("backup")) {
        server.backup(argument);
        return QStringLiteral("ok");
    }
    if (command == QLatin1String("restore")) {
        server.restore(argument);
        return QStringLiteral("ok");
    }
    return QStringLiteral("error unknown command ") + command;
}

void answer(const QString &text)
{
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int OtherDesk::run(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        answer(QStringLiteral("error usage: valmedo4_otherdesk SERVER PASSWORD DATABASE"));
        return 2;
    }
    SqlServer::setProgramDatabaseName(args[3]);
    SetCurrentServer(SqlServer::create(args[1]));
    SqlServer &server = *CurrentServer();
    if (!server.open(QString::fromLatin1(SqlServer::ProgramDatabase), QStringLiteral("sa"), args[2])) {
        answer(QStringLiteral("error ") + server.errorText());
        return 1;
    }
    answer(QStringLiteral("ready"));
    std::string line;
    while (std::getline(std::cin, line)) {
        const QString command = QString::fromStdString(line).trimmed();
        if (command == QLatin1String("quit"))
            break;
        try {
            answer(runCommand(server, command));
        } catch (const EDatabaseError &e) {
            answer(QStringLiteral("error ") + e.message());
        }
    }
    SetCurrentServer(nullptr);
    return 0;
}
