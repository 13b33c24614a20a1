#include "rental/BackStore.h"

#include "core/DeskTransaction.h"
#include "core/Errors.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/Lookups.h"

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

// Closes the customer's open line of the video; the number of rows it closed.
int CloseLentLine(qint64 customer, const BackLine &line, const QVariant &document)
{
    SetCommand(QStringLiteral("UPDATE tab_pujckydetail SET DOKLAD_VRA=:DOKLAD_VRA,PUJCENA=0,VRACENO=:VRACENO,"
                              "PRES=:PRES WHERE PUJCENA=1 AND ZAKAZNIK=:ZAKAZNIK AND VIDEO=:VIDEO"));
    SetCommandParam(QStringLiteral("DOKLAD_VRA"),
                    document.isNull() ? QVariant(QMetaType::fromType<qint64>()) : document);
    SetCommandParam(QStringLiteral("VRACENO"), line.returned);
    SetCommandParam(QStringLiteral("PRES"), line.daysOver);
    SetCommandParam(QStringLiteral("ZAKAZNIK"), customer);
    SetCommandParam(QStringLiteral("VIDEO"), line.video);
    ExecCommand();
    return CommandRowsAffected();
}

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

qint64 NextDocumentNumber()
{
    SetCommand(QStringLiteral("SELECT COALESCE(MAX(DOKLAD),0)+1 FROM tab_pujcky"));
    return ExecCommandValue().toLongLong();
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
    try {
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
            if (!VideoExists(line.video))
                return refuse(BackWrite::VideoNotFound, line);
            // Only this customer's open line of the video closes, and only one: a video
            // returned elsewhere and lent again to someone else is not this return's.
            if (!CustomerHasVideo(customer, line.video) || CloseLentLine(customer, line, result.document) != 1)
                return refuse(BackWrite::VideoNotLent, line);
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
