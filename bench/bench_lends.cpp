// How quickly the document journal answers on the benchmarks' shop (BenchSupport.h: 100 000
// documents of 5 lines, all written today: the worst case of the journal's first filter),
// on each engine: opening it at log-in (today's documents with their line counts and
// totals, the newest one's lines), the status bar's sums over them, one move of the
// current row (the lines follow) and a filter on a range of ten documents. Each figure
// stands beside the bare statements it runs, read through QSqlQuery; both are the median
// of several runs taken in turn.

#include "BenchTurns.h"

#include "core/RunGlobals.h"
#include "core/controls/Int64Edit.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Database.h"
#include "core/database/SqlDialect.h"
#include "rental/LendsStore.h"
#include "rental/ULendsPage.h"

#include <QCheckBox>
#include <QRadioButton>

namespace {

using namespace bench;

QString journalText(const LendsFilterInput &filter)
{
    QStringList lines = LendsSql(CurrentServer()->dialect());
    lines.insert(lines.size() - 1, LendsFilterWhere(filter).trimmed());
    return lines.join(QLatin1Char('\n'));
}

void runPage(const QString &engine, bool sqlite)
{
    // The statistics a running server keeps: without them PostgreSQL plans the journal's
    // sub-selects blind and compiles them (JIT) at every filter.
    // Only the shop's tables: the shop's role may not analyze the server's catalogue.
    if (!sqlite)
        for (const char *table : {"tab_pujcky", "tab_pujckydetail", "tab_zakaznik", "tab_video",
                                  "tab_uzivatel"})
            exec(QStringLiteral("ANALYZE %1").arg(QLatin1String(table)));
    TLendsPage page;
    const QString lines = LendsDetailSql(CurrentServer()->dialect()).join(QLatin1Char('\n'));
    LendsFilterInput today;
    today.days = std::pair(RunDate(), RunDate());
    figure(engine, QStringLiteral("opening the journal at log-in (%1 documents today)").arg(Documents),
           inTurn([] {
               if (!OpenDatabase())
                   throw EDatabaseError(QStringLiteral("the journal did not open"));
           },
                  [&] {
                      bare(journalText(today));
                      bare(lines, {{QStringLiteral("DOKLAD"), qint64(Documents)}});
                  }));
    print(QStringLiteral("%1: the status bar's sums over %2 documents: %3 ms")
              .arg(engine)
              .arg(page.ADOQueryLends->recordCount())
              .arg(median({micro([&] { page.SetStatusBarLends(); }), micro([&] { page.SetStatusBarLends(); }),
                           micro([&] { page.SetStatusBarLends(); })}) / 1000.0, 0, 'f', 1));

    page.ADOQueryLends->first();
    qint64 document = 1;
    figure(engine, QStringLiteral("one move of the current row"),
           inTurn([&] { page.ADOQueryLends->next(); },
                  [&] { bare(lines, {{QStringLiteral("DOKLAD"), ++document}}); }));

    LendsFilterInput range;
    range.documentsOn = true;
    range.documentFirst = Documents / 2;
    range.documentSecond = Documents / 2 + 9;
    page.RadioButtonLendsAll->setChecked(true);
    page.CheckBoxLendsVoucher->setChecked(true);
    page.Int64EditLendsVoucherFirst->SetValue(*range.documentFirst);
    page.Int64EditLendsVoucherSecond->SetValue(*range.documentSecond);
    figure(engine, QStringLiteral("the filter on a range of 10 documents"),
           inTurn([&] { page.LendsFilter(); }, [&] { bare(journalText(range)); }));
    ClearOpenSteps();
}

} // namespace

int main(int argc, char *argv[])
{
    return bench::pageMain(argc, argv, QStringLiteral("valmedo4_bench_lends"), runPage);
}
