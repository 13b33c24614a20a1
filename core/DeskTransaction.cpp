#include "core/DeskTransaction.h"

#include "core/database/Errors.h"
#include "core/database/Commands.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

DeskTransaction::DeskTransaction(Lock lock)
    : m_hold(std::make_unique<RefusedCommandHold>())
{
    QSqlDatabase db = CurrentConnection();
    if (lock == JournalLock) {
        const QStringList statements = CurrentServer()->dialect().journalLock();
        for (int i = 0; i < statements.size(); ++i) {
            QSqlQuery q(db);
            if (!q.exec(statements.at(i))) {
                const QString error = q.lastError().text();
                if (i > 0) // the transaction is open: end it before the error goes on
                    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
                throw EDatabaseError(error);
            }
        }
    } else if (!db.transaction()) {
        throw EDatabaseError(db.lastError().text());
    }
    m_active = true;
}

DeskTransaction::~DeskTransaction()
{
    rollback();
}

void DeskTransaction::commit()
{
    if (!m_active)
        throw EDatabaseError(QStringLiteral("Transakce již byla ukončena"));
    QSqlDatabase db = CurrentConnection();
    if (!db.commit()) {
        const QString error = db.lastError().text();
        rollback();
        throw EDatabaseError(error);
    }
    m_active = false;
    m_hold->Release();
}

void DeskTransaction::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    CurrentConnection().rollback();
    m_hold->Release();
}
