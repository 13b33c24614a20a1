#include "core/TransactionFrame.h"

#include "core/DeskTransaction.h"
#include "core/database/Errors.h"
#include "core/Modal.h"
#include "core/database/Commands.h"
#include "core/database/SqlServer.h"

#include <QDialog>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

namespace {

int g_frameDepth = 0;

void execSql(const QString &text)
{
    QSqlQuery q(CurrentConnection());
    if (!q.exec(text))
        throw EDatabaseError(q.lastError().text());
}

} // namespace

bool ExecInTransaction(QDialog *window)
{
    DeskTransaction transaction;
    int result = QDialog::Rejected;
    {
        ++g_frameDepth;
        const auto leave = qScopeGuard([] { --g_frameDepth; });
        result = ExecModal(window);
    }
    if (result != QDialog::Accepted)
        return false; // the guard rolls back
    transaction.commit();
    return true;
}

bool InTransactionFrame()
{
    return g_frameDepth > 0;
}

void FrameStatement(const std::function<void()> &statement)
{
    if (!InTransactionFrame()) {
        statement();
        return;
    }
    execSql(QStringLiteral("SAVEPOINT frame_statement"));
    // A refused statement's query is freed only after the rollback to the savepoint.
    RefusedCommandHold hold;
    try {
        statement();
    } catch (...) {
        try {
            execSql(QStringLiteral("ROLLBACK TO SAVEPOINT frame_statement"));
            execSql(QStringLiteral("RELEASE SAVEPOINT frame_statement"));
        } catch (const EDatabaseError &) {
            // the statement's own error is the one to report
        }
        hold.Release();
        throw;
    }
    execSql(QStringLiteral("RELEASE SAVEPOINT frame_statement"));
}
