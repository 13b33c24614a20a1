#include "catalogue/VideoStore.h"

#include "catalogue/CatalogueStore.h"
#include "core/DeskTransaction.h"
#include "core/database/Errors.h"
#include "core/Texts.h"
#include "core/database/Commands.h"
#include "core/database/SqlDialect.h"

#include <QSqlQuery>

namespace {

const QString ListFrom = QStringLiteral("FROM tab_video");
const QString DirectionJoin = QStringLiteral("JOIN tab_zamereni ON (tab_video.ZAMERENI=tab_zamereni.ID_ZAMERENI)");
const QString MediumJoin = QStringLiteral("JOIN tab_nosic ON (tab_video.NOSIC=tab_nosic.ID_NOSIC)");

void bindVideo(const VideoRecord &v)
{
    SetCommandParam(QStringLiteral("VIDEO"), v.number);
    SetCommandParam(QStringLiteral("TITUL"), StoredText(v.title));
    SetCommandParam(QStringLiteral("ZAMERENI"), v.direction);
    SetCommandParam(QStringLiteral("NOSIC"), v.medium);
    SetCommandParam(QStringLiteral("CENA"), QVariant::fromValue(v.price));
}

void execFor(const QString &statement, qint64 number)
{
    SetCommand(statement);
    SetCommandParam(QStringLiteral("VIDEO"), number);
    ExecCommand();
}

} // namespace

QStringList VideoListSql()
{
    return {QStringLiteral("SELECT"),
            QStringLiteral("tab_video.VIDEO,"),
            QStringLiteral("tab_video.TITUL,"),
            QStringLiteral("tab_zamereni.ZAMERENI,"),
            QStringLiteral("tab_nosic.NOSIC,"),
            QStringLiteral("tab_video.CENA,"),
            QStringLiteral("tab_video.REGISTRACE,"),
            QStringLiteral("tab_video.VYPUJCENA"),
            ListFrom,
            DirectionJoin,
            MediumJoin,
            QStringLiteral("ORDER BY tab_video.VIDEO")};
}

QStringList VideoHistorySql()
{
    // The WHERE part tests the lines' own columns: a left join keeps every line of the
    // video, its customer's name and address empty when he is gone.
    return {QStringLiteral("SELECT"),
            QStringLiteral("tab_pujckydetail.ZAKAZNIK,"),
            QStringLiteral("tab_pujckydetail.PUJCENA,"),
            QStringLiteral("tab_zakaznik.JMENO,"),
            QStringLiteral("tab_zakaznik.ADRESA1,"),
            QStringLiteral("tab_pujckydetail.ZDARMA,"),
            QStringLiteral("tab_pujckydetail.PUJCENO,"),
            QStringLiteral("tab_pujckydetail.VRATIT,"),
            QStringLiteral("tab_pujckydetail.VRACENO"),
            QStringLiteral("FROM tab_pujckydetail"),
            QStringLiteral("LEFT JOIN tab_zakaznik ON (tab_pujckydetail.ZAKAZNIK=tab_zakaznik.ZAKAZNIK)"),
            QStringLiteral("WHERE (tab_pujckydetail.HISTORIE=1)and(tab_pujckydetail.VIDEO=:VIDEO)")};
}

QStringList VideoSearchAllSql()
{
    return {QStringLiteral("SELECT"), QStringLiteral("tab_video.VIDEO,"), QStringLiteral("tab_video.TITUL,"),
            QStringLiteral("tab_nosic.NOSIC"), ListFrom, MediumJoin};
}

QStringList VideoSearchSql()
{
    return {QStringLiteral("SELECT tab_video.VIDEO,tab_video.TITUL,tab_nosic.NOSIC %1 %2 WHERE %3")
                .arg(ListFrom, MediumJoin,
                     CatalogueDialect().foldLike(QStringLiteral("tab_video.TITUL"), QStringLiteral(":TITUL")))};
}

QString VideoFilterWhere(const VideoFilterInput &f, const SqlDialect &dialect)
{
    QString where;
    if (f.codeOn) {
        if (f.codeFirst)
            AddWhereLine(where, QStringLiteral("tab_video.VIDEO>=%1").arg(*f.codeFirst));
        if (f.codeSecond)
            AddWhereLine(where, QStringLiteral("tab_video.VIDEO<=%1").arg(*f.codeSecond));
    }
    if (f.titleOn)
        AddWhereLine(where, dialect.foldLike(QStringLiteral("tab_video.TITUL"),
                                             QLatin1Char('\'') + dialect.likeText(f.title) + QStringLiteral("%'")));
    if (f.directionOn && f.direction)
        AddWhereLine(where, QStringLiteral("tab_video.ZAMERENI=%1").arg(*f.direction));
    if (f.mediumOn && f.medium)
        AddWhereLine(where, QStringLiteral("tab_video.NOSIC=%1").arg(*f.medium));
    if (f.registrationOn) {
        if (f.registrationFirst)
            AddWhereLine(where, QStringLiteral("tab_video.REGISTRACE>='%1'").arg(FilterDate(*f.registrationFirst)));
        if (f.registrationSecond)
            AddWhereLine(where, QStringLiteral("tab_video.REGISTRACE<='%1'").arg(FilterDate(*f.registrationSecond, true)));
    }
    if (f.lent)
        AddWhereLine(where, QStringLiteral("EXISTS (SELECT * FROM tab_pujckydetail where "
                                           "tab_video.VIDEO=tab_pujckydetail.VIDEO AND tab_pujckydetail.PUJCENA=1)"));
    if (f.overdue)
        AddWhereLine(where, QStringLiteral("EXISTS (SELECT * FROM tab_pujckydetail where "
                                           "tab_video.VIDEO=tab_pujckydetail.VIDEO AND tab_pujckydetail.VRATIT<'%1' "
                                           "AND tab_pujckydetail.PUJCENA=1)")
                                .arg(FilterDate(f.runDate)));
    return where;
}

VideoTotals CountVideos(const QString &wherePart)
{
    // Over the list's joins, so that a free filter naming a genre's or medium's column
    // counts the rows the list shows (every video has exactly one of each).
    ReadOnlyStatements readOnly; // the WHERE part may be the free filter's
    SetCommand(QStringLiteral("SELECT COUNT(*),%1 %2 %3 %4 ")
                   .arg(CatalogueDialect().money(QStringLiteral("SUM(tab_video.CENA)")), ListFrom, DirectionJoin,
                        MediumJoin)
               + wherePart);
    QSqlQuery row = ExecCommandRecordset();
    VideoTotals totals;
    if (row.next()) {
        totals.count = row.value(0).toInt();
        totals.sum = Money::fromVariant(row.value(1)); // none summed: null, shown as 0
    }
    return totals;
}

QStringList VideoTitleProposals(const QString &typed)
{
    const SqlDialect &d = CatalogueDialect();
    SetCommand(QStringLiteral("SELECT TITUL FROM tab_video WHERE %1 ORDER BY %2")
                   .arg(d.foldLike(QStringLiteral("TITUL"), QStringLiteral(":TITUL")), d.textOrder(QStringLiteral("TITUL"))));
    SetCommandParam(QStringLiteral("TITUL"), SqlDialect::likeBegin(typed));
    QSqlQuery rows = ExecCommandRecordset();
    QStringList titles;
    while (rows.next())
        titles << TrimmedRight(rows.value(0).toString());
    return titles;
}

qint64 LowestFreeVideo()
{
    return LowestFreeNumber(QStringLiteral("tab_video"), QStringLiteral("VIDEO"));
}

void InsertVideo(const VideoRecord &video)
{
    DeskTransaction transaction;
    SetCommand(QStringLiteral("INSERT INTO tab_video (VIDEO,TITUL,ZAMERENI,NOSIC,CENA) "
                              "VALUES (:VIDEO,:TITUL,:ZAMERENI,:NOSIC,:CENA)"));
    bindVideo(video);
    ExecCommand();
    transaction.commit();
}

void UpdateVideo(const VideoRecord &video, bool eraseHistory)
{
    DeskTransaction transaction;
    if (eraseHistory) {
        execFor(QStringLiteral("DELETE FROM tab_pujckydetail WHERE PUJCENA=0 AND DOKLAD=0 AND VIDEO=:VIDEO"),
                video.number);
        execFor(QStringLiteral("UPDATE tab_pujckydetail SET HISTORIE=0 WHERE VIDEO=:VIDEO"), video.number);
    }
    SetCommand(QStringLiteral("UPDATE tab_video SET TITUL=:TITUL,ZAMERENI=:ZAMERENI,NOSIC=:NOSIC,CENA=:CENA "
                              "WHERE VIDEO=:VIDEO"));
    bindVideo(video);
    ExecCommand();
    // Removed at another desk meanwhile: nothing was saved, and the clerk must hear so.
    if (CommandRowsAffected() != 1)
        throw EDatabaseError(QStringLiteral("Video %1 v databázi není").arg(video.number));
    transaction.commit();
}

void RemoveVideo(qint64 number)
{
    DeskTransaction transaction;
    execFor(QStringLiteral("DELETE FROM tab_pujckydetail WHERE DOKLAD=0 AND VIDEO=:VIDEO"), number);
    execFor(QStringLiteral("UPDATE tab_pujckydetail SET HISTORIE=0 WHERE VIDEO=:VIDEO"), number);
    execFor(QStringLiteral("DELETE FROM tab_video WHERE VIDEO=:VIDEO"), number);
    transaction.commit();
}
