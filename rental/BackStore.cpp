#include "rental/BackStore.h"
#include "rental/DocumentNumber.h"

#include "core/DeskTransaction.h"
#include "core/database/Errors.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/Lookups.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

#include <iterator>

namespace {

struct ListField {
    const char *name;
    const char *origin;
    FieldKind kind;
    const char *label;
    const char *format;
};

const ListField BackVideoFields[] = {
    {"VIDEO", "tab_pujckydetail", FieldKind::Int64, "Kód - video", "0000000000000"},
    {"PUJCENA", "tab_pujckydetail", FieldKind::Boolean, "", ""},
    {"TITUL", "tab_video", FieldKind::Text, "Titul", ""},
    {"NOSIC", "tab_nosic", FieldKind::Text, "Nosič", ""},
    {"PUJCENO", "tab_pujckydetail", FieldKind::DateTime, "Půjčeno", "dd.MM.yyyy hh:mm"},
    {"VRATIT", "tab_pujckydetail", FieldKind::DateTime, "Do", "dd.MM.yyyy"},
    {"DNY", "tab_pujckydetail", FieldKind::Integer, "Dny", ""},
    {"VRACENO", "tab_pujckydetail", FieldKind::DateTime, "", ""},
    {"PRES", "tab_pujckydetail", FieldKind::Integer, "", ""},
    {"VRATNE", "tab_pujckydetail", FieldKind::Money, "", ""},
    {"ZALOHA", "tab_pujckydetail", FieldKind::Money, "Záloha [Kč]", ",0.00"},
};

void InsertReturnDocument(qint64 document, qint64 customer, int user)
{
    SetCommand(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL) "
                              "VALUES (:DOKLAD,0,:ZAKAZNIK,:UZIVATEL)"));
    SetCommandParam(QStringLiteral("DOKLAD"), document);
    SetCommandParam(QStringLiteral("ZAKAZNIK"), customer);
    SetCommandParam(QStringLiteral("UZIVATEL"), user);
    ExecCommand();
}

// Closes the customer's open line of a video that is still in the catalogue: one statement
// per line, prepared once for the whole return.
class CloseLentLine {
public:
    CloseLentLine()
        : m_update(QStringLiteral("UPDATE tab_pujckydetail SET DOKLAD_VRA=:DOKLAD_VRA,PUJCENA=0,VRACENO=:VRACENO,"
                                  "PRES=:PRES WHERE PUJCENA=1 AND ZAKAZNIK=:ZAKAZNIK AND VIDEO=:VIDEO AND EXISTS "
                                  "(SELECT 1 FROM tab_video WHERE tab_video.VIDEO=tab_pujckydetail.VIDEO)"))
    {
    }
    // The number of rows it closed.
    int operator()(qint64 customer, const BackLine &line, const QVariant &document)
    {
        m_update.setParam(QStringLiteral("DOKLAD_VRA"),
                          document.isNull() ? QVariant(QMetaType::fromType<qint64>()) : document);
        m_update.setParam(QStringLiteral("VRACENO"), line.returned);
        m_update.setParam(QStringLiteral("PRES"), line.daysOver);
        m_update.setParam(QStringLiteral("ZAKAZNIK"), customer);
        m_update.setParam(QStringLiteral("VIDEO"), line.video);
        m_update.exec();
        return m_update.rowsAffected();
    }

private:
    RepeatedCommand m_update;
};

} // namespace

void PrepareBackVideoQuery(BrowseQuery &query)
{
    QStringList sql{QStringLiteral("SELECT")};
    const int count = int(std::size(BackVideoFields));
    for (int i = 0; i < count; ++i) {
        const ListField &f = BackVideoFields[i];
        sql << QStringLiteral("%1.%2%3").arg(QLatin1String(f.origin), QLatin1String(f.name),
                                              i + 1 < count ? QStringLiteral(",") : QString());
    }
    sql << QStringLiteral("FROM tab_pujckydetail")
        << QStringLiteral("JOIN tab_video ON (tab_pujckydetail.VIDEO=tab_video.VIDEO)")
        << QStringLiteral("JOIN tab_nosic ON (tab_video.NOSIC=tab_nosic.ID_NOSIC)")
        << QStringLiteral("WHERE tab_pujckydetail.PUJCENA=1 and tab_pujckydetail.ZAKAZNIK=:ZAKAZNIK")
        << QStringLiteral("ORDER BY tab_pujckydetail.VIDEO");
    query.setSql(sql);
    for (const ListField &f : BackVideoFields) {
        const QString name = QLatin1String(f.name);
        query.setFieldKind(name, f.kind);
        query.setOrigin(name, QLatin1String(f.origin));
        if (*f.label)
            query.setDisplayLabel(name, QString::fromUtf8(f.label));
        if (*f.format)
            query.setDisplayFormat(name, QLatin1String(f.format));
    }
}

BackWrite WriteReturn(qint64 customer, const QList<BackLine> &lines, bool include, const QString &user,
                      const BackWriteProgress &progress)
{
    BackWrite result;
    auto ending = [&](bool commit) {
        if (progress.ending)
            progress.ending(commit);
    };
    auto refuse = [&](BackWrite::Outcome outcome, const BackLine &line) {
        result.outcome = outcome;
        result.refused = line;
        ending(false);
        return result; // the transaction's guard rolls back on the way out
    };
    // A return of nothing writes nothing: no document without its lines.
    if (lines.isEmpty()) {
        result.outcome = BackWrite::Failed;
        result.error = QStringLiteral("Žádné video k vrácení");
        return result;
    }
    try {
        // Made before the transaction: a refused statement is freed after the rollback.
        CloseLentLine close;
        // The lock also makes the second of two desks returning one video wait, then find
        // it no longer out.
        DeskTransaction transaction(DeskTransaction::JournalLock);
        if (include) {
            result.document = NextDocumentNumber();
            InsertReturnDocument(result.document.toLongLong(), customer, GetUserId(user));
        }
        for (int i = 0; i < lines.size(); ++i) {
            const BackLine &line = lines.at(i);
            if (progress.line)
                progress.line(i + 1);
            // Exactly this customer's open line of the video closes: a video returned
            // elsewhere, perhaps lent again to someone else, is not this return's.
            if (close(customer, line, result.document) != 1)
                return refuse(VideoExists(line.video) ? BackWrite::VideoNotLent : BackWrite::VideoNotFound, line);
        }
        ending(true);
        transaction.commit();
    } catch (const EDatabaseError &e) {
        // The guard has rolled back by now.
        result.outcome = BackWrite::Failed;
        result.error = e.message();
        ending(false);
    }
    return result;
}

namespace {

QList<LentVideo> LentLines(QSqlQuery rows)
{
    QList<LentVideo> lines;
    while (rows.next())
        lines.append({rows.value(0).toLongLong(), rows.value(1).toLongLong()});
    return lines;
}

} // namespace

QList<LentVideo> LentLinesOfVideo(qint64 video)
{
    SetCommand(QStringLiteral("SELECT ZAKAZNIK,VIDEO FROM tab_pujckydetail WHERE PUJCENA=1 AND VIDEO=:VIDEO"));
    SetCommandParam(QStringLiteral("VIDEO"), video);
    return LentLines(ExecCommandRecordset());
}

QList<LentVideo> LentLinesOfTitle(const QString &title)
{
    SetCommand(QStringLiteral("SELECT tab_pujckydetail.ZAKAZNIK,tab_pujckydetail.VIDEO FROM tab_pujckydetail "
                              "JOIN tab_video ON (tab_pujckydetail.VIDEO=tab_video.VIDEO) "
                              "WHERE tab_pujckydetail.PUJCENA=1 AND %1 ORDER BY tab_pujckydetail.VIDEO")
                   .arg(CurrentServer()->dialect().foldEq(QStringLiteral("tab_video.TITUL"), QStringLiteral(":TITUL"))));
    SetCommandParam(QStringLiteral("TITUL"), title);
    return LentLines(ExecCommandRecordset());
}

