#include "reports/layouts/JournalDocument.h"

#include "core/database/BrowseQuery.h"
#include "core/database/SqlDialect.h"
#include "core/database/SqlServer.h"

namespace {

// The lines of a document: those it lent and those it took back.
const QString LinesOfDocument = QStringLiteral(
    "FROM tab_pujckydetail where (tab_pujcky.DOKLAD=tab_pujckydetail.DOKLAD_PUJ) or "
    "(tab_pujcky.DOKLAD=tab_pujckydetail.DOKLAD_VRA)");

// A total of a document's lines, whole crowns: `lend` for a lend document, `back` for a
// return. The operation is tested with CASE: a bitwise "not" of a bit is no 0 or 1.
QString documentTotal(const SqlDialect &dialect, const QString &lend, const QString &back, const char *name)
{
    return QStringLiteral("(SELECT ROUND(%1,0) %2) AS %3")
        .arg(dialect.money(QStringLiteral("CASE WHEN tab_pujcky.OPERACE=1 THEN %1 ELSE %2 END").arg(lend, back)),
             LinesOfDocument, QLatin1String(name));
}

} // namespace

QStringList LendsSql(const SqlDialect &dialect)
{
    return {QStringLiteral("SELECT"),
            QStringLiteral("tab_pujcky.DOKLAD,"),
            QStringLiteral("tab_pujcky.OPERACE,"),
            QStringLiteral("tab_pujcky.CAS,"),
            QStringLiteral("tab_pujcky.ZAKAZNIK,"),
            QStringLiteral("tab_zakaznik.JMENO,"),
            QStringLiteral("tab_uzivatel.UZIVATEL,"),
            QStringLiteral("(SELECT COUNT(*) %1) AS POLOZKY,").arg(LinesOfDocument),
            documentTotal(dialect, QStringLiteral("SUM(PUJCOVNE*(DNY-ZDARMA))"),
                          QStringLiteral("SUM(VRATNE*COALESCE(PRES,0))"), "PLATBA_CELKEM")
                + QLatin1Char(','),
            documentTotal(dialect, QStringLiteral("SUM(ZALOHA)"), QStringLiteral("-SUM(ZALOHA)"), "ZALOHA_CELKEM"),
            QStringLiteral("FROM tab_pujcky"),
            QStringLiteral("LEFT JOIN tab_zakaznik ON (tab_pujcky.ZAKAZNIK=tab_zakaznik.ZAKAZNIK)"),
            QStringLiteral("JOIN tab_uzivatel ON (tab_pujcky.UZIVATEL=tab_uzivatel.ID_UZIVATEL)"),
            QStringLiteral("ORDER BY tab_pujcky.DOKLAD")};
}

QStringList LendsDetailSql(const SqlDialect &dialect)
{
    return {QStringLiteral("SELECT"),
            QStringLiteral("tab_pujckydetail.VIDEO,"),
            QStringLiteral("tab_pujckydetail.PUJCENA,"),
            QStringLiteral("tab_video.TITUL,"),
            QStringLiteral("tab_nosic.NOSIC,"),
            QStringLiteral("tab_pujckydetail.PUJCENO,"),
            QStringLiteral("tab_pujckydetail.VRATIT,"),
            QStringLiteral("tab_pujckydetail.DNY,"),
            QStringLiteral("tab_pujckydetail.VRACENO,"),
            QStringLiteral("tab_pujckydetail.PRES,"),
            QStringLiteral("tab_pujckydetail.ZDARMA,"),
            dialect.money(QStringLiteral("(tab_pujckydetail.DNY-tab_pujckydetail.ZDARMA)*tab_pujckydetail.PUJCOVNE"))
                + QStringLiteral(" AS PUJCOVNE_CELKEM,"),
            dialect.money(QStringLiteral("tab_pujckydetail.PRES*tab_pujckydetail.VRATNE"))
                + QStringLiteral(" AS VRATNE_CELKEM,"),
            QStringLiteral("tab_pujckydetail.ZALOHA"),
            QStringLiteral("FROM tab_pujckydetail"),
            QStringLiteral("LEFT JOIN tab_video ON (tab_pujckydetail.VIDEO=tab_video.VIDEO)"),
            QStringLiteral("LEFT JOIN tab_nosic ON (tab_video.NOSIC=tab_nosic.ID_NOSIC)"),
            QStringLiteral("WHERE tab_pujckydetail.DOKLAD_PUJ=:DOKLAD or tab_pujckydetail.DOKLAD_VRA=:DOKLAD"),
            QStringLiteral("ORDER BY tab_pujckydetail.VIDEO")};
}

void PrepareLendsQuery(BrowseQuery &query)
{
    query.setSql(LendsSql(CurrentServer()->dialect()));
    const std::pair<const char *, FieldKind> kinds[] = {
        {"DOKLAD", FieldKind::Int64},   {"OPERACE", FieldKind::Boolean}, {"CAS", FieldKind::DateTime},
        {"ZAKAZNIK", FieldKind::Int64}, {"POLOZKY", FieldKind::Integer}, {"PLATBA_CELKEM", FieldKind::Money},
        {"ZALOHA_CELKEM", FieldKind::Money}};
    for (const auto &[field, kind] : kinds)
        query.setFieldKind(QString::fromLatin1(field), kind);
}

void OpenJournalDocument(BrowseQuery &lends, qint64 document)
{
    PrepareLendsQuery(lends);
    QStringList sql = lends.sql();
    sql.insert(sql.size() - 1, QStringLiteral("WHERE tab_pujcky.DOKLAD=:DOKLAD"));
    lends.setSql(sql);
    lends.setParameter(QStringLiteral("DOKLAD"), document);
    lends.open();
}

void PrepareLendsDetailQuery(BrowseQuery &query)
{
    query.setSql(LendsDetailSql(CurrentServer()->dialect()));
    const std::pair<const char *, FieldKind> kinds[] = {
        {"VIDEO", FieldKind::Int64},      {"PUJCENA", FieldKind::Boolean},
        {"PUJCENO", FieldKind::DateTime}, {"VRATIT", FieldKind::DateTime},
        {"DNY", FieldKind::Integer},      {"VRACENO", FieldKind::DateTime},
        {"PRES", FieldKind::Integer},     {"ZDARMA", FieldKind::Boolean},
        {"ZALOHA", FieldKind::Money},     {"PUJCOVNE_CELKEM", FieldKind::Money},
        {"VRATNE_CELKEM", FieldKind::Money}};
    for (const auto &[field, kind] : kinds)
        query.setFieldKind(QString::fromLatin1(field), kind);
}

