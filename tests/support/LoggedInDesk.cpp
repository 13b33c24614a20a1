#include "support/LoggedInDesk.h"

#include "app/Wiring.h"
#include "core/RunGlobals.h"
#include "core/UBackup.h"
#include "core/UDatabase.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/UValmedo.h"
#include "core/database/Commands.h"
#include "core/database/Database.h"

#include <QAction>
#include <QDir>
#include <QLabel>

LoggedInDesk::LoggedInDesk(Engine engine, const QString &user, const QString &password,
                           const QStringList &rights)
    : m_ownDatabase(std::make_unique<TestDatabase>(engine)), m_db(m_ownDatabase.get()),
      m_work(std::make_unique<QTemporaryDir>()), m_previousDir(QDir::currentPath())
{
    if (!m_db->isReady()) {
        m_error = m_db->error();
        return;
    }
    QDir::setCurrent(m_work->path());
    if (user != QLatin1String("sa")) {
        QStringList columns{QStringLiteral("UZIVATEL"), QStringLiteral("HESLO")};
        QStringList markers{QStringLiteral(":UZIVATEL"), QStringLiteral(":HESLO")};
        for (const QString &right : rights) {
            columns << right;
            markers << QStringLiteral("1");
        }
        SetCommand(QStringLiteral("INSERT INTO tab_uzivatel (%1) VALUES (%2)")
                       .arg(columns.join(QLatin1Char(',')), markers.join(QLatin1Char(','))));
        SetCommandParam(QStringLiteral("UZIVATEL"), user);
        SetCommandParam(QStringLiteral("HESLO"), password);
        ExecCommand();
    }
    logIn(user, password);
}

LoggedInDesk::LoggedInDesk(TestDatabase &database, const QString &user, const QString &password)
    : m_db(&database), m_previousDir(QDir::currentPath())
{
    if (!m_db->isReady()) {
        m_error = m_db->error();
        return;
    }
    logIn(user, password);
}

void LoggedInDesk::logIn(const QString &user, const QString &password)
{
    SetUserName(user);
    // "sa" is checked by the server: his password is the server login's.
    SetUserPassword(user == QLatin1String("sa") ? m_db->password() : password);
    SetProgramTitle(QStringLiteral("Valmedo 4.0.1.8"));
    m_window.reset(BuildFormValmedo());
    // Start-up makes the settings dialogs after the main window.
    FormSetupVideo = new TFormSetupVideo;
    FormSetupVideo->RestoreStoredValues();
    FormSetupPrint = new TFormSetupPrint;
    FormSetupPrint->RestoreStoredValues();
    FormBackup = new TFormBackup;
    FormBackup->RestoreStoredValues();
    FormDatabase = new TFormDatabase;
    FormDatabase->RestoreStoredValues();
    if (!OpenDatabase()) {
        m_error = QStringLiteral("OpenDatabase failed at the log-in");
        return;
    }
    m_window->show();
    m_ready = true;
}

LoggedInDesk::~LoggedInDesk()
{
    m_window.reset();
    delete FormSetupVideo;
    FormSetupVideo = nullptr;
    delete FormSetupPrint;
    FormSetupPrint = nullptr;
    delete FormBackup;
    FormBackup = nullptr;
    delete FormDatabase;
    FormDatabase = nullptr;
    QDir::setCurrent(m_previousDir);
}

QAction *NamedAction(const TFormValmedo *window, const QString &name)
{
    return window->findChild<QAction *>(name, Qt::FindDirectChildrenOnly);
}

QAction *LoggedInDesk::action(const QString &name) const
{
    return NamedAction(m_window.get(), name);
}

bool LoggedInDesk::reopen()
{
    return OpenDatabase();
}

bool FilterLabelBlinks(TFormValmedo *window, TValmedoPage *page)
{
    bool shown = false;
    for (int i = 0; i < 2; ++i) {
        window->TimerTimer();
        shown = shown || !page->filterLabel()->isHidden();
    }
    return shown;
}
