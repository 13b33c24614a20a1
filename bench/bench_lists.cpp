// How quickly the lists of a large shop open: 100 000 customers, 20 000 videos and
// 500 000 document lines in the program's schema. On each engine (BenchSupport.h) it
// prints the time to open the customer list beside the same statement read bare
// through a forward-only QSqlQuery (medians of runs taken in turn), then the time to
// locate its last customer and to requery it.

#include "BenchTurns.h"

#include "catalogue/CustomerStore.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"

#include <QCoreApplication>

namespace {

using bench::print;
using bench::timed;

void runLists(const QString &engine)
{
    BrowseQuery query;
    query.setSql(CustomerListSql());
    int bareRows = 0;
    const auto times = bench::inTurn([&] { query.open(); },
                                     [&] {
                                         bareRows = 0;
                                         QSqlQuery q(CurrentConnection());
                                         q.setForwardOnly(true);
                                         if (!q.exec(query.sqlText()))
                                             throw EDatabaseError(q.lastError().text());
                                         const int n = q.record().count();
                                         while (q.next()) {
                                             for (int i = 0; i < n; ++i)
                                                 q.value(i);
                                             ++bareRows;
                                         }
                                     },
                                     [&] { query.close(); });
    bench::figure(engine,
                  QStringLiteral("opening the customer list (%1 rows, bare %2 rows)").arg(bench::Customers).arg(bareRows),
                  times, QStringLiteral("bare forward-only read"));
    query.open();
    const qint64 locate = timed([&] {
        if (!LocateExact(query, QStringLiteral("ZAKAZNIK"), QString::number(bench::Customers)))
            throw EDatabaseError(QStringLiteral("the last customer was not found"));
    });
    const qint64 requery = timed([&] { RequeryLocate(query, QVariant()); });
    print(QStringLiteral("%1: customer list of %2 rows: locate the last %3 ms, requery %4 ms")
              .arg(engine)
              .arg(query.recordCount())
              .arg(locate)
              .arg(requery));
}

void benchEngine(const QString &engine, bool sqlite)
{
    const qint64 fill = timed([&] { bench::fillLargeShop(sqlite); });
    print(QStringLiteral("%1: filled %2 customers, %3 videos, %4 document lines in %5 ms")
              .arg(engine)
              .arg(bench::Customers)
              .arg(bench::Videos)
              .arg(bench::Documents * bench::LinesPerDocument)
              .arg(fill));
    runLists(engine);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return bench::runOnEngines(QStringLiteral("valmedo4_bench_lists"), benchEngine);
}
