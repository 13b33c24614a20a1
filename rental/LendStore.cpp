#include "rental/LendStore.h"
#include "rental/DocumentNumber.h"

#include "core/DeskTransaction.h"
#include "core/database/Errors.h"
#include "core/RunGlobals.h"
#include "core/database/Commands.h"
#include "core/database/Lookups.h"

#include <QDateTime>
#include <optional>

namespace {

void Notify(const std::function<void()> &stage)
{
    if (stage)
        stage();
}

// The statements of the lend inside the open transaction; Written when all of them went in.
LendWriteResult::Outcome WriteStatements(qint64 customer, const QList<LendDocumentLine> &lines,
                                         const LendWriteProgress &progress, LendWriteResult &result)
{
    SetCommand(QStringLiteral("UPDATE tab_zakaznik SET PUJCKY=PUJCKY+:PUJCKY WHERE ZAKAZNIK=:ZAKAZNIK"));
    SetCommandParam(QStringLiteral("PUJCKY"), int(lines.size()));
    SetCommandParam(QStringLiteral("ZAKAZNIK"), customer);
    ExecCommand();
    if (CommandRowsAffected() == 0)
        return LendWriteResult::CustomerMissing;

    result.document = NextDocumentNumber();
    const int user = GetUserId(UserName());

    SetCommand(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL) "
                              "VALUES (:DOKLAD,1,:ZAKAZNIK,:UZIVATEL)"));
    SetCommandParam(QStringLiteral("DOKLAD"), result.document);
    SetCommandParam(QStringLiteral("ZAKAZNIK"), customer);
    SetCommandParam(QStringLiteral("UZIVATEL"), user);
    ExecCommand();

    for (int i = 0; i < lines.size(); ++i) {
        const LendDocumentLine &line = lines.at(i);
        if (progress.line)
            progress.line(i + 1);
        result.line = line;

        SetCommand(QStringLiteral("UPDATE tab_video SET VYPUJCENA=VYPUJCENA+1 WHERE VIDEO=:VIDEO"));
        SetCommandParam(QStringLiteral("VIDEO"), line.video);
        ExecCommand();
        if (CommandRowsAffected() == 0)
            return LendWriteResult::VideoMissing;

        // Checked after the line before it went in, so a video twice in one lend is out here.
        if (VideoIsLent(line.video))
            return LendWriteResult::VideoOut;

        SetCommand(QStringLiteral(
            "INSERT INTO tab_pujckydetail (DOKLAD_PUJ,VIDEO,ZAKAZNIK,ZDARMA,PUJCOVNE,VRATNE,ZALOHA,VRATIT,DNY) "
            "VALUES (:DOKLAD_PUJ,:VIDEO,:ZAKAZNIK,:ZDARMA,:PUJCOVNE,:VRATNE,:ZALOHA,:VRATIT,:DNY)"));
        SetCommandParam(QStringLiteral("DOKLAD_PUJ"), result.document);
        SetCommandParam(QStringLiteral("VIDEO"), line.video);
        SetCommandParam(QStringLiteral("ZAKAZNIK"), customer);
        SetCommandParam(QStringLiteral("ZDARMA"), line.free);
        SetCommandParam(QStringLiteral("PUJCOVNE"), QVariant::fromValue(line.fee));
        SetCommandParam(QStringLiteral("VRATNE"), QVariant::fromValue(line.lateFee));
        SetCommandParam(QStringLiteral("ZALOHA"), QVariant::fromValue(line.deposit));
        SetCommandParam(QStringLiteral("VRATIT"), QDateTime(line.due, QTime(0, 0)));
        SetCommandParam(QStringLiteral("DNY"), line.days);
        ExecCommand();
    }
    result.line = {};
    return LendWriteResult::Written;
}

} // namespace

LendWriteResult WriteLendDocument(qint64 customer, const QList<LendDocumentLine> &lines,
                                  const LendWriteProgress &progress)
{
    LendWriteResult result;
    std::optional<DeskTransaction> transaction;
    try {
        transaction.emplace(DeskTransaction::JournalLock);
        result.outcome = WriteStatements(customer, lines, progress, result);
        if (result.written()) {
            Notify(progress.commit);
            transaction->commit();
            return result;
        }
    } catch (const EDatabaseError &e) {
        result.outcome = LendWriteResult::Failed;
        result.error = e.message();
    }
    Notify(progress.rollback);
    transaction.reset();
    return result;
}

int CustomerVideosOut(qint64 customer)
{
    SetCommand(QStringLiteral("SELECT COUNT(*) FROM tab_pujckydetail WHERE PUJCENA=1 AND ZAKAZNIK=:ZAKAZNIK"));
    SetCommandParam(QStringLiteral("ZAKAZNIK"), customer);
    return ExecCommandValue().toInt();
}

QStringList CustomerLentSql()
{
    return {QStringLiteral("SELECT"),
            QStringLiteral("tab_pujckydetail.VIDEO,"),
            QStringLiteral("tab_video.TITUL,"),
            QStringLiteral("tab_nosic.NOSIC,"),
            QStringLiteral("tab_pujckydetail.PUJCENO,"),
            QStringLiteral("tab_pujckydetail.VRATIT"),
            QStringLiteral("FROM tab_pujckydetail"),
            QStringLiteral("JOIN tab_video ON (tab_pujckydetail.VIDEO=tab_video.VIDEO)"),
            QStringLiteral("JOIN tab_nosic ON (tab_video.NOSIC=tab_nosic.ID_NOSIC)"),
            QStringLiteral("WHERE tab_pujckydetail.PUJCENA=1 AND tab_pujckydetail.ZAKAZNIK=:ZAKAZNIK")};
}

int CustomerOverdueLines(qint64 customer, const QDate &runDate)
{
    SetCommand(QStringLiteral(
        "SELECT COUNT(*) FROM tab_pujckydetail WHERE PUJCENA=1 AND VRATIT<:VRATIT AND ZAKAZNIK=:ZAKAZNIK"));
    SetCommandParam(QStringLiteral("VRATIT"), runDate);
    SetCommandParam(QStringLiteral("ZAKAZNIK"), customer);
    return ExecCommandValue().toInt();
}

LinePrices MediumPrices(const QString &medium)
{
    QSqlQuery prices = GetMediumPrices(medium);
    if (!prices.next())
        throw EDatabaseError(QStringLiteral("Nosič \"%1\" není v číselníku nosičů.").arg(medium));
    return {Money::fromVariant(prices.value(0)), Money::fromVariant(prices.value(1)),
            Money::fromVariant(prices.value(2))};
}
