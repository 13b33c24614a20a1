#include "core/SqlServer.h"

namespace {
std::unique_ptr<SqlServer> g_server;
}

SqlServer::~SqlServer() = default;

void SqlServer::close()
{
    if (QSqlDatabase::contains(ConnectionName)) {
        {
            QSqlDatabase db = QSqlDatabase::database(ConnectionName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(ConnectionName);
    }
    m_currentDatabase.clear();
}

bool SqlServer::isOpen() const
{
    return QSqlDatabase::contains(ConnectionName)
        && QSqlDatabase::database(ConnectionName, false).isOpen();
}

QSqlDatabase SqlServer::connection() const
{
    return CurrentConnection();
}

SqlServer *CurrentServer()
{
    return g_server.get();
}

void SetCurrentServer(std::unique_ptr<SqlServer> server)
{
    if (g_server && g_server != server)
        g_server->close();
    g_server = std::move(server);
}

QSqlDatabase CurrentConnection()
{
    return QSqlDatabase::database(SqlServer::ConnectionName, false);
}
