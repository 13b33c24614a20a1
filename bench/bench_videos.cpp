// How quickly the video page answers on the shop of 20 000 videos and 500 000 document lines
// (BenchSupport.h), on each engine: opening it at log-in (the list with its genres and media,
// the history of its first video, the count and the sum of prices), one keystroke of the
// title box (its completion, the locate and the hand-over of the video found), one move of
// the current row (the history follows), and the filter by the beginning of the title (the
// list and its count again). Each figure stands beside the bare statements it runs, read
// through QSqlQuery; both are the median of several runs taken in turn.

#include "BenchTurns.h"

#include "catalogue/UVideoPage.h"
#include "catalogue/VideoStore.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Database.h"
#include "core/database/SqlDialect.h"

#include <QCheckBox>

namespace {

using namespace bench;

QString historyText()
{
    return VideoHistorySql().join(QLatin1Char('\n'));
}

QString listText(const QString &where)
{
    QStringList lines = VideoListSql();
    if (!where.isEmpty())
        lines.insert(lines.size() - 1, where.trimmed());
    return lines.join(QLatin1Char('\n'));
}

QString countText(const QString &where)
{
    const SqlDialect &d = CurrentServer()->dialect();
    return QStringLiteral("SELECT COUNT(*),%1 FROM tab_video JOIN tab_zamereni ON (tab_video.ZAMERENI=tab_zamereni.ID_ZAMERENI) "
                          "JOIN tab_nosic ON (tab_video.NOSIC=tab_nosic.ID_NOSIC) ")
               .arg(d.money(QStringLiteral("SUM(tab_video.CENA)")))
        + where;
}

void runPage(const QString &engine, bool)
{
    TVideoPage page;
    figure(engine, QStringLiteral("opening the page at log-in (%1 videos)").arg(Videos),
           inTurn([] {
               if (!OpenDatabase())
                   throw EDatabaseError(QStringLiteral("the page did not open"));
           },
                  [&] {
                      bare(historyText(), {{QStringLiteral("VIDEO"), qint64(1)}});
                      bare(listText(QString()));
                      bare(countText(QString()));
                  }));
    print(QStringLiteral("%1: status bar:%2%3").arg(engine, page.StatusText(), page.SumText()));

    // One key typed into the title box: the proposals for the text, then the video.
    TFindComboBox *box = page.ComboBoxVideoTitle;
    const SqlDialect &d = CurrentServer()->dialect();
    const QString proposals = QStringLiteral("SELECT TITUL FROM tab_video WHERE %1 ORDER BY %2")
                                  .arg(d.foldLike("TITUL", ":TITUL"), d.textOrder("TITUL"));
    for (const QString &typed : {QStringLiteral("titul 1234"), QStringLiteral("titul 5")}) {
        int shown = 0;
        const auto times = typedInTurn(box, typed, shown, [&] {
            bare(proposals, {{QStringLiteral("TITUL"), typed + QLatin1Char('%')}});
            bare(historyText(), {{QStringLiteral("VIDEO"), qint64(5)}});
        });
        figure(engine, QStringLiteral("one key in the title box, \"%1\" (%2 proposals, video %3)")
                           .arg(typed)
                           .arg(shown)
                           .arg(page.ADOQueryVideo->value(0).toLongLong()),
               times);
    }

    // One move of the current row: the history of the next video, handed on.
    page.ADOQueryVideo->first();
    qint64 video = 1;
    figure(engine, QStringLiteral("one move of the current row"),
           inTurn([&] { page.ADOQueryVideo->next(); },
                  [&] { bare(historyText(), {{QStringLiteral("VIDEO"), ++video}}); }));

    // The filter by the beginning of the title: the list read again, and its count.
    page.CheckBoxVideoTitle->setChecked(true);
    page.EditVideoTitle->setText(QStringLiteral("Titul 12"));
    const QString where = QStringLiteral("WHERE ") + d.foldLike(QStringLiteral("tab_video.TITUL"), QStringLiteral("'Titul 12%'"))
        + QLatin1Char('\n');
    figure(engine, QStringLiteral("the filter by the title \"Titul 12\""),
           inTurn([&] { page.VideoFilter(); },
                  [&] {
                      bare(listText(where));
                      bare(countText(where));
                  }));
    print(QStringLiteral("%1: status bar:%2%3").arg(engine, page.StatusText(), page.SumText()));
    ClearOpenSteps();
}

} // namespace

int main(int argc, char *argv[])
{
    return bench::pageMain(argc, argv, QStringLiteral("valmedo4_bench_videos"), runPage);
}
