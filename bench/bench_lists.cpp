// How quickly the lists of a large shop open: 100 000 customers, 20 000 videos and
// 500 000 document lines in the program's schema. On each engine (BenchSupport.h) it
// prints the time to open the customer list, to locate its last customer, to requery
// it, and the same statement read bare through QSqlQuery.

#include "BenchSupport.h"

#include "catalogue/CustomerStore.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"

#include <QCoreApplication>
#include <QSqlRecord>

namespace {

using bench::print;
using bench::timed;

void runLists(const QString &engine)
{
    BrowseQuery query;
    query.setSql(CustomerListSql());
    const qint64 open = timed([&] { query.open(); });
    const qint64 locate = timed([&] {
        if (!LocateExact(query, QStringLiteral("ZAKAZNIK"), QString::number(bench::Customers)))
            throw EDatabaseError(QStringLiteral("the last customer was not found"));
    });
    const qint64 requery = timed([&] { RequeryLocate(query, QVariant()); });
    int bareRows = 0;
    const qint64 bare = timed([&] {
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
    });
    print(QStringLiteral("%1: customer list of %2 rows: open %3 ms, locate the last %4 ms, requery %5 ms; "
                         "bare QSqlQuery %6 ms (%7 rows)")
              .arg(engine)
              .arg(query.recordCount())
              .arg(open)
              .arg(locate)
              .arg(requery)
              .arg(bare)
              .arg(bareRows));
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
