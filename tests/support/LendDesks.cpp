#include "support/LendDesks.h"

#include "core/DeskTransaction.h"
#include "core/database/Errors.h"
#include "core/RunGlobals.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/SqlServer.h"
#include "rental/BackRules.h"
#include "rental/BackStore.h"
#include "rental/LendStore.h"

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QRandomGenerator>

#include <iostream>
#include <string>

namespace {

const char *const ServerVariable = "VALMEDO_LEND_DESK_SERVER";
const char *const DatabaseVariable = "VALMEDO_LEND_DESK_DATABASE";
const char *const PasswordVariable = "VALMEDO_LEND_DESK_PASSWORD";

QString OutcomeName(LendWriteResult::Outcome outcome)
{
    switch (outcome) {
    case LendWriteResult::Written: return QStringLiteral("written");
    case LendWriteResult::CustomerMissing: return QStringLiteral("customer-missing");
    case LendWriteResult::VideoMissing: return QStringLiteral("video-missing");
    case LendWriteResult::VideoOut: return QStringLiteral("video-out");
    case LendWriteResult::Failed: return QStringLiteral("failed");
    }
    return {};
}

LendWriteResult Lend(qint64 customer, const QList<qint64> &videos)
{
    QList<LendDocumentLine> lines;
    for (qint64 video : videos) {
        LendDocumentLine line;
        line.video = video;
        line.title = QStringLiteral("Video %1").arg(video);
        line.fee = Money::fromCrowns(30);
        line.lateFee = Money::fromCrowns(10);
        line.due = RunDate().addDays(1);
        line.days = 1;
        lines << line;
    }
    return WriteLendDocument(customer, lines);
}

QString Reply(const LendWriteResult &result)
{
    switch (result.outcome) {
    case LendWriteResult::Written:
        return QStringLiteral("written %1").arg(result.document);
    case LendWriteResult::Failed:
        return QStringLiteral("failed %1 %2").arg(result.document).arg(result.error.simplified());
    default:
        return QStringLiteral("refused %1 %2 %3").arg(OutcomeName(result.outcome)).arg(result.document).arg(result.line.video);
    }
}

QString OutcomeName(BackWrite::Outcome outcome)
{
    switch (outcome) {
    case BackWrite::Written: return QStringLiteral("returned");
    case BackWrite::VideoNotFound: return QStringLiteral("video-missing");
    case BackWrite::VideoNotLent: return QStringLiteral("video-not-lent");
    case BackWrite::Failed: return QStringLiteral("failed");
    }
    return {};
}

// The lent videos of a customer as the return basket takes them all: back now, over their
// due dates by the days up to today in a shop open every day.
QList<BackLine> LentVideosBack(qint64 customer)
{
    BrowseQuery lent;
    PrepareBackVideoQuery(lent);
    lent.setParameter(QStringLiteral("ZAKAZNIK"), customer);
    lent.open();
    const RentalSettings openEveryDay{[](const QDate &) { return true; }};
    const int video = lent.fieldIndex(QStringLiteral("VIDEO"));
    const int title = lent.fieldIndex(QStringLiteral("TITUL"));
    const int due = lent.fieldIndex(QStringLiteral("VRATIT"));
    QList<BackLine> lines;
    for (int row = 0; row < lent.recordCount(); ++row)
        lines << BackLine{lent.valueAt(row, video).toLongLong(), lent.valueAt(row, title).toString(),
                          ReturnMoment(Now()), DaysOver(openEveryDay, lent.valueAt(row, due).toDate(), RunDate())};
    return lines;
}

// A return made from a scanned video: its holder, then all of the holder's lent videos. The
// holder is looked up before the return's transaction, as at the return page, so another
// desk may take the videos back in between; the return must then be refused whole. Throws
// EDatabaseError when a look-up is refused.
QString ReturnScanned(qint64 video, bool include)
{
    const QList<LentVideo> holders = LentLinesOfVideo(video);
    const QList<BackLine> lines = holders.isEmpty() ? QList<BackLine>() : LentVideosBack(holders.first().customer);
    // An empty basket is never written, as the page's return action is off then.
    if (lines.isEmpty())
        return QStringLiteral("refused not-out 0 %1").arg(video);
    const BackWrite write = WriteReturn(holders.first().customer, lines, include, UserName());
    const qint64 document = write.document.toLongLong();
    switch (write.outcome) {
    case BackWrite::Written:
        return QStringLiteral("returned %1 %2").arg(document).arg(lines.size());
    case BackWrite::Failed:
        return QStringLiteral("failed %1 %2").arg(document).arg(write.error.simplified());
    default:
        return QStringLiteral("refused %1 %2 %3").arg(OutcomeName(write.outcome)).arg(document).arg(write.refused.video);
    }
}

// Lends for ever; a video found out is returned by its holder (or, without `returns`, freed).
[[noreturn]] void LendForEver(quint32 seed, int customers, int videos, bool returns)
{
    QRandomGenerator random(seed);
    for (;;) {
        const qint64 customer = random.bounded(customers) + 1;
        QList<qint64> chosen;
        const int count = random.bounded(3) + 1;
        while (chosen.size() < count)
            if (const qint64 v = random.bounded(videos) + 1; !chosen.contains(v))
                chosen << v;
        const LendWriteResult result = Lend(customer, chosen);
        if (result.written())
            DeskSays(Reply(result));
        else if (result.outcome == LendWriteResult::VideoOut) {
            try {
                if (!returns)
                    FreeLentVideos(result.line.video);
                else if (const QString reply = ReturnScanned(result.line.video, random.bounded(2) == 1);
                         reply.startsWith(QLatin1String("returned ")))
                    DeskSays(reply);
            } catch (const EDatabaseError &) {
                // tried again with the next lend that finds it out
            }
        }
    }
}

int RunDesk(const QProcessEnvironment &environment)
{
    SqlServer::setProgramDatabaseName(environment.value(QString::fromLatin1(DatabaseVariable)));
    SetCurrentServer(SqlServer::create(environment.value(QString::fromLatin1(ServerVariable))));
    if (!CurrentServer()->open(QString::fromLatin1(SqlServer::ProgramDatabase), QStringLiteral("sa"),
                               environment.value(QString::fromLatin1(PasswordVariable)))) {
        DeskSays(QStringLiteral("cannot connect: ") + CurrentServer()->errorText());
        return 2;
    }
    SetUserName(QStringLiteral("sa"));
    DeskSays(QStringLiteral("ready"));

    std::string input;
    while (std::getline(std::cin, input)) {
        const QStringList words = QString::fromStdString(input).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        if (words.first() == QLatin1String("quit"))
            break;
        if (words.first() == QLatin1String("lend") && words.size() >= 3) {
            QList<qint64> videos;
            for (int i = 2; i < words.size(); ++i)
                videos << words.at(i).toLongLong();
            DeskSays(Reply(Lend(words.at(1).toLongLong(), videos)));
        } else if (words.first() == QLatin1String("return") && words.size() == 3) {
            try {
                DeskSays(ReturnScanned(words.at(2).toLongLong(), words.at(1) == QLatin1String("1")));
            } catch (const EDatabaseError &e) {
                DeskSays(QStringLiteral("failed 0 ") + e.message().simplified());
            }
        } else if ((words.first() == QLatin1String("loop") || words.first() == QLatin1String("loop-lends"))
                   && words.size() == 4) {
            LendForEver(words.at(1).toUInt(), words.at(2).toInt(), words.at(3).toInt(),
                        words.first() == QLatin1String("loop"));
        } else {
            DeskSays(QStringLiteral("unknown command"));
        }
    }
    SetCurrentServer(nullptr);
    return 0;
}

} // namespace

void FreeLentVideos(qint64 video)
{
    DeskTransaction transaction;
    SetCommand(QStringLiteral("UPDATE tab_pujckydetail SET PUJCENA=0,VRACENO=:VRACENO WHERE PUJCENA=1 AND "
                              "(VIDEO=:VIDEO OR :ALL=1)"));
    SetCommandParam(QStringLiteral("VRACENO"), ReturnMoment(Now()));
    SetCommandParam(QStringLiteral("VIDEO"), video);
    SetCommandParam(QStringLiteral("ALL"), video == 0 ? 1 : 0);
    ExecCommand();
    transaction.commit();
}

std::optional<int> RunAsLendDesk()
{
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QString::fromLatin1(ServerVariable)))
        return std::nullopt;
    return RunDesk(environment);
}

LendDeskProcess::LendDeskProcess(const QString &serverName, const QString &databaseName, const QString &password)
    : DeskProcess({{QString::fromLatin1(ServerVariable), serverName},
                   {QString::fromLatin1(DatabaseVariable), databaseName},
                   {QString::fromLatin1(PasswordVariable), password}})
{
}

void LendDeskProcess::lend(qint64 customer, const QList<qint64> &videos)
{
    QString command = QStringLiteral("lend %1").arg(customer);
    for (qint64 video : videos)
        command += QStringLiteral(" %1").arg(video);
    send(command);
}

void LendDeskProcess::back(qint64 video, bool include)
{
    send(QStringLiteral("return %1 %2").arg(include ? 1 : 0).arg(video));
}
