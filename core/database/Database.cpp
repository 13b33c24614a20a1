#include "core/database/Database.h"

#include "core/database/Commands.h"
#include "core/database/Errors.h"
#include "core/database/Lookups.h"
#include "core/database/SqlServer.h"

#include <QCursor>
#include <QGuiApplication>
#include <QStringList>
#include <algorithm>
#include <exception>
#include <vector>

namespace {

WaitWindow &waitWindow()
{
    static WaitWindow window;
    return window;
}

// The hour-glass for the life of a scope, and the wait window when given a text.
class BusyGuard {
public:
    explicit BusyGuard(const QString &progress = QString()) : m_progress(!progress.isEmpty())
    {
        // A program without windows (a test, a tool) has no cursor to change.
        if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            m_cursor = true;
        }
        if (m_progress && waitWindow().show)
            waitWindow().show(progress);
    }
    ~BusyGuard()
    {
        if (m_progress && waitWindow().hide)
            waitWindow().hide();
        if (m_cursor)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyGuard(const BusyGuard &) = delete;
    BusyGuard &operator=(const BusyGuard &) = delete;

private:
    bool m_progress = false;
    bool m_cursor = false;
};

struct Step {
    int order;
    OpenStep run;
};

std::vector<Step> &openSteps()
{
    static std::vector<Step> steps;
    return steps;
}

// Runs work and turns every error into false.
template <typename F>
bool caught(F &&work)
{
    try {
        return work();
    } catch (const std::exception &) {
        return false;
    }
}

SqlServer &server()
{
    SqlServer *s = CurrentServer();
    if (!s)
        throw EDatabaseError(QStringLiteral("Databáze není připojena"));
    return *s;
}

} // namespace

void SetWaitWindow(WaitWindow window)
{
    waitWindow() = std::move(window);
}

bool ConnectDatabase(const QString &Server, const QString &Database, const QString &User,
                     const QString &Password)
{
    BusyGuard busy(QStringLiteral("Probíhá připojování..."));
    return caught([&] {
        SetCurrentServer(nullptr); // closes the connection of an earlier attempt
        SetCurrentServer(SqlServer::create(Server));
        return CurrentServer()->open(Database, User, Password);
    });
}

bool UseDatabase()
{
    return caught([] {
        SqlServer &s = server();
        if (!s.databaseExists())
            return true;
        if (s.currentDatabase() == QLatin1String(SqlServer::ProgramDatabase) && s.isOpen())
            return true;
        return s.reopen(QString::fromLatin1(SqlServer::ProgramDatabase));
    });
}

void RegisterOpenStep(int order, OpenStep step)
{
    auto &steps = openSteps();
    const auto at = std::upper_bound(steps.begin(), steps.end(), order,
                                     [](int o, const Step &s) { return o < s.order; });
    steps.insert(at, Step{order, std::move(step)});
}

void ClearOpenSteps()
{
    openSteps().clear();
}

bool OpenDatabase()
{
    BusyGuard busy;
    return caught([] {
        for (const Step &step : openSteps())
            if (!step.run())
                return false;
        return true;
    });
}

bool ReindexDatabase()
{
    BusyGuard busy(QStringLiteral("Probíhá reindexování..."));
    return caught([] {
        server().reindex();
        return true;
    });
}

bool TruncateTransLog()
{
    BusyGuard busy(QStringLiteral("Vymazávání transakčního logu..."));
    return caught([] {
        server().truncateLog();
        return true;
    });
}

bool CreateDatabase()
{
    BusyGuard busy(QStringLiteral("Probíhá vytváření databáze..."));
    return caught([] {
        // Made beside the old database and swapped in: a failure or a kill half-way leaves
        // the old database whole, never none or one without its tables.
        server().resetDatabase();
        return true;
    });
}

bool CheckUserPassword(const QString &User, const QString &Password)
{
    if (!UserExists(User))
        return false;
    SetCommand(QStringLiteral("SELECT HESLO FROM tab_uzivatel WHERE UZIVATEL=:UZIVATEL"));
    SetCommandParam(QStringLiteral("UZIVATEL"), User);
    const QVariant stored = ExecCommandValue();
    if (stored.isNull())
        return false; // no password of its own: only the server login can check it
    QString text = stored.toString();
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return Password == text;
}

const QStringList &UserRightColumns()
{
    static const QStringList columns{
        QStringLiteral("ZAKAZNIK_EDITACE"), QStringLiteral("ZAKAZNIK_HISTORIE"),
        QStringLiteral("ZAKAZNIK_ODEBRAT"), QStringLiteral("VIDEO_EDITACE"),
        QStringLiteral("VIDEO_HISTORIE"), QStringLiteral("VIDEO_ODEBRAT"),
        QStringLiteral("NASTAVENI"), QStringLiteral("SPECIAL"), QStringLiteral("ADMIN")};
    return columns;
}

bool GetUserRight(const QString &User, const QString &Right)
{
    // The column name is pasted into the statement: only the nine right columns pass.
    if (!UserRightColumns().contains(Right))
        throw EDatabaseError(QStringLiteral("Neznámé oprávnění %1").arg(Right));
    if (!UserExists(User))
        return false;
    SetCommand(QStringLiteral("SELECT %1 FROM tab_uzivatel WHERE UZIVATEL=:UZIVATEL").arg(Right));
    SetCommandParam(QStringLiteral("UZIVATEL"), User);
    const QVariant value = ExecCommandValue();
    return !value.isNull() && value.toLongLong() != 0;
}
