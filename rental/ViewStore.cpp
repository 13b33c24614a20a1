#include "rental/ViewStore.h"

#include "core/database/BrowseQuery.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

#include <utility>

namespace {

const char *const Captions[ViewListCount] = {
    "Vypůjčená videa",
    "Opožděná videa",
    "Dnes vypůjčena videa",
    "Dnes vrácená videa",
    "Zákazníci dnešního dne",
    "Zákazníci kteří si dnes půjčovali",
    "Zákazníci kteří dnes vraceli",
};

// A time within the run date: from its 00:00 up to (not including) the next day's.
QString OnRunDate(const QString &column)
{
    return QStringLiteral("%1>=:%1 AND %1<:%1_DO").arg(column);
}

// The lists of document lines: the line, its video and medium, its customer.
QStringList LineList(const QString &where)
{
    return {QStringLiteral("SELECT"),
            QStringLiteral("tab_pujckydetail.VIDEO,"),
            QStringLiteral("tab_video.TITUL,"),
            QStringLiteral("tab_nosic.NOSIC,"),
            QStringLiteral("tab_video.CENA,"),
            QStringLiteral("tab_pujckydetail.PUJCENO,"),
            QStringLiteral("tab_pujckydetail.VRATIT,"),
            QStringLiteral("tab_pujckydetail.ZAKAZNIK,"),
            QStringLiteral("tab_zakaznik.JMENO,"),
            QStringLiteral("tab_zakaznik.TELEFON,"),
            QStringLiteral("tab_zakaznik.ADRESA1"),
            QStringLiteral("FROM tab_pujckydetail"),
            QStringLiteral("JOIN tab_video ON (tab_pujckydetail.VIDEO=tab_video.VIDEO)"),
            QStringLiteral("JOIN tab_nosic ON (tab_video.NOSIC=tab_nosic.ID_NOSIC)"),
            QStringLiteral("JOIN tab_zakaznik ON (tab_pujckydetail.ZAKAZNIK=tab_zakaznik.ZAKAZNIK)"),
            QStringLiteral("WHERE ") + where,
            QStringLiteral("ORDER BY tab_pujckydetail.VIDEO")};
}

// The customers with their count of lines of the day and the sum `sum` of them.
QStringList CustomerSumList(const QString &sum, const QString &where)
{
    return {QStringLiteral("SELECT"),
            QStringLiteral("tab_pujckydetail.ZAKAZNIK,"),
            QStringLiteral("tab_zakaznik.JMENO,"),
            QStringLiteral("tab_zakaznik.TELEFON,"),
            QStringLiteral("tab_zakaznik.ADRESA1,"),
            QStringLiteral("COUNT(*) AS POLOZKY,"),
            sum,
            QStringLiteral("FROM tab_pujckydetail"),
            QStringLiteral("LEFT JOIN tab_zakaznik ON (tab_pujckydetail.ZAKAZNIK=tab_zakaznik.ZAKAZNIK)"),
            QStringLiteral("WHERE ") + where,
            QStringLiteral("GROUP BY tab_pujckydetail.ZAKAZNIK,tab_zakaznik.JMENO,tab_zakaznik.TELEFON,"
                           "tab_zakaznik.ADRESA1"),
            QStringLiteral("ORDER BY tab_pujckydetail.ZAKAZNIK")};
}

QStringList ViewSql(int list)
{
    const SqlDialect &dialect = CurrentServer()->dialect();
    const QString lent = OnRunDate(QStringLiteral("PUJCENO"));
    const QString returned = OnRunDate(QStringLiteral("VRACENO"));
    switch (list) {
    case 0:
        return LineList(QStringLiteral("PUJCENA=1")) << QStringLiteral(" ");
    case 1:
        return LineList(QStringLiteral("VRATIT<:VRATIT and PUJCENA=1"));
    case 2:
        return LineList(lent);
    case 3:
        return LineList(returned);
    case 4:
        return {QStringLiteral("SELECT DISTINCT"),
                QStringLiteral("tab_pujckydetail.ZAKAZNIK,"),
                QStringLiteral("tab_zakaznik.JMENO,"),
                QStringLiteral("tab_zakaznik.TELEFON,"),
                QStringLiteral("tab_zakaznik.ADRESA1,"),
                QStringLiteral("CASE"),
                QStringLiteral(" WHEN OMEZENI=0 THEN '!'"),
                QStringLiteral(" WHEN OMEZENI=1 THEN '$'"),
                QStringLiteral(" WHEN OMEZENI=2 THEN '-'"),
                QStringLiteral(" WHEN OMEZENI=3 THEN '+'"),
                QStringLiteral("END AS OMEZENI,"),
                QStringLiteral("tab_zakaznik.PUJCKY"),
                QStringLiteral("FROM tab_pujckydetail"),
                QStringLiteral("LEFT JOIN tab_zakaznik ON (tab_pujckydetail.ZAKAZNIK=tab_zakaznik.ZAKAZNIK)"),
                QStringLiteral("WHERE (%1) or (%2)").arg(lent, returned),
                QStringLiteral("ORDER BY tab_pujckydetail.ZAKAZNIK")};
    case 5:
        return CustomerSumList(
            dialect.money(QStringLiteral("SUM((tab_pujckydetail.DNY-tab_pujckydetail.ZDARMA)"
                                         "*tab_pujckydetail.PUJCOVNE)"))
                + QStringLiteral(" AS PUJCOVNE_CELKEM"),
            lent);
    default:
        return CustomerSumList(
            dialect.money(QStringLiteral("SUM(tab_pujckydetail.PRES*tab_pujckydetail.VRATNE)"))
                + QStringLiteral(" AS VRATNE_CELKEM"),
            returned);
    }
}

// The tables the fields come from: what a title click sorts by. The computed fields have
// none and sort by their own name.
const std::pair<const char *, const char *> Origins[] = {
    {"VIDEO", "tab_pujckydetail"}, {"TITUL", "tab_video"},       {"NOSIC", "tab_nosic"},
    {"CENA", "tab_video"},         {"PUJCENO", "tab_pujckydetail"}, {"VRATIT", "tab_pujckydetail"},
    {"ZAKAZNIK", "tab_pujckydetail"}, {"JMENO", "tab_zakaznik"}, {"TELEFON", "tab_zakaznik"},
    {"ADRESA1", "tab_zakaznik"},   {"PUJCKY", "tab_zakaznik"},
};

const std::pair<const char *, const char *> Formats[] = {
    {"VIDEO", "0000000000000"},   {"ZAKAZNIK", "0000000000000"}, {"PUJCENO", "dd.MM.yyyy hh:mm"},
    {"VRATIT", "dd.MM.yyyy"},     {"CENA", ",0.00"},             {"PUJCOVNE_CELKEM", ",0.00"},
    {"VRATNE_CELKEM", ",0.00"},
};

} // namespace

QString ViewListCaption(int list)
{
    return QString::fromUtf8(Captions[qBound(0, list, ViewListCount - 1)]);
}

void PrepareViewQuery(BrowseQuery &query, int list)
{
    query.setObjectName(QStringLiteral("ADOQueryView%1").arg(list + 1));
    query.setSql(ViewSql(list));
    // The sums are computed: on SQLite the driver would read them as plain numbers. The
    // video's price is money as on the video page, not a bare number ("299,5").
    query.setFieldKind(QStringLiteral("CENA"), FieldKind::Money);
    query.setFieldKind(QStringLiteral("PUJCOVNE_CELKEM"), FieldKind::Money);
    query.setFieldKind(QStringLiteral("VRATNE_CELKEM"), FieldKind::Money);
    for (const auto &[field, origin] : Origins)
        query.setOrigin(QString::fromLatin1(field), QString::fromLatin1(origin));
    for (const auto &[field, format] : Formats)
        query.setDisplayFormat(QString::fromLatin1(field), QString::fromLatin1(format));
}

void SetViewParameters(BrowseQuery &query, int list, const QDate &runDate)
{
    const auto bindDay = [&](const QString &column) {
        query.setParameter(column, runDate);
        query.setParameter(column + QStringLiteral("_DO"), runDate.addDays(1));
    };
    if (list == 1)
        query.setParameter(QStringLiteral("VRATIT"), runDate);
    if (list == 2 || list == 4 || list == 5)
        bindDay(QStringLiteral("PUJCENO"));
    if (list == 3 || list == 4 || list == 6)
        bindDay(QStringLiteral("VRACENO"));
}
