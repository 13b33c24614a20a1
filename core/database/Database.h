#pragma once
#include <QString>
#include <functional>

// The database connection of the run, the maintenance run at login, the creation of
// the program's database and the rights of the program's users.

// Makes the server of that name current and opens its connection on Database
// ("valmedo4" or "master") with the server login User/Password. The connection
// left by an earlier attempt is closed first, also when this one fails. False on
// any failure; the server's text is not shown.
bool ConnectDatabase(const QString &Server, const QString &Database, const QString &User,
                     const QString &Password);
// Switches the connection to the program's database when it exists; true also when
// it does not (the connection then stays where it was), false on an error.
bool UseDatabase();

// The wait window " Čekejte" that connecting, reindexing, cutting the log and creating the
// database show with their text. The window is the core's: the main window hands it in as
// it is made; without one only the hour-glass shows.
struct WaitWindow {
    std::function<void(const QString &detail)> show;
    std::function<void()> hide;
};
void SetWaitWindow(WaitWindow window);

// One step of OpenDatabase: opens a page's queries and baskets; false or an
// EDatabaseError stops the opening. Steps run in ascending `order` (the pages use
// the order of the login sequence: customers 10-20, videos 30-40, lend basket 50,
// return page 60, journal 70, lent lines 80); equal orders run as registered.
using OpenStep = std::function<bool()>;
void RegisterOpenStep(int order, OpenStep step);
void ClearOpenSteps();
// Runs the registered steps in order; true when all of them succeeded. What was
// opened before a failure stays open.
bool OpenDatabase();

bool ReindexDatabase();
bool TruncateTransLog();
// Replaces the program's database, when it exists, by a new one with its schema and
// seed rows; on failure the old one stays. The connection must be open on the server
// ("master").
bool CreateDatabase();

// The user exists and Password equals his stored password exactly. Errors reach the caller.
bool CheckUserPassword(const QString &User, const QString &Password);
// The user exists and holds Right, one of the nine right columns of tab_uzivatel
// (any other name raises EDatabaseError). Read from the database at every call.
bool GetUserRight(const QString &User, const QString &Right);
// The nine right columns in the table's order.
const QStringList &UserRightColumns();
