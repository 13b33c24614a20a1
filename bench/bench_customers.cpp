// How quickly the customer page answers on a shop of 100 000 customers (BenchSupport.h), on
// each engine: opening it at log-in (the list, the history of its first customer and the
// count), one keystroke of the name box (its completion, the locate and the hand-over of
// the customer found), and one move of the current row (the history follows). Each figure
// stands beside the bare statements it runs, read through QSqlQuery; both are the median
// of several runs taken in turn.

#include "BenchTurns.h"

#include "catalogue/CustomerStore.h"
#include "catalogue/UCustomerPage.h"
#include "core/database/BrowseQuery.h"
#include "core/database/Commands.h"
#include "core/database/Database.h"
#include "core/database/SqlDialect.h"


namespace {

using namespace bench;

QString historyText()
{
    return CustomerHistorySql().join(QLatin1Char('\n'));
}

void runPage(const QString &engine, bool)
{
    TCustomerPage page;
    const QString list = CustomerListSql().join(QLatin1Char('\n'));
    figure(engine, QStringLiteral("opening the page at log-in (%1 customers)").arg(Customers),
           inTurn([] {
               if (!OpenDatabase())
                   throw EDatabaseError(QStringLiteral("the page did not open"));
           },
                  [&] {
                      bare(historyText(), {{QStringLiteral("ZAKAZNIK"), qint64(1)}});
                      bare(list);
                      bare(QStringLiteral("SELECT COUNT(*) FROM tab_zakaznik "));
                      bare(QStringLiteral("SELECT DOKLAD_PUJ,VIDEO,ZAKAZNIK,VRATIT FROM tab_pujckydetail WHERE PUJCENA=1"));
                  }));

    // One key typed into the name box: the proposals for the text, then the customer.
    TFindComboBox *box = page.ComboBoxCustomerName;
    const QString proposals = QStringLiteral("SELECT JMENO,RC,ZAKAZNIK FROM tab_zakaznik WHERE %1 ORDER BY %2")
                                  .arg(CurrentServer()->dialect().foldLike("JMENO", ":JMENO"),
                                       CurrentServer()->dialect().textOrder("JMENO"));
    for (const QString &typed : {QStringLiteral("zákazník 4321"), QStringLiteral("zákazník 5")}) {
        int shown = 0;
        const auto times = typedInTurn(box, typed, shown, [&] {
            bare(proposals, {{QStringLiteral("JMENO"), typed + QLatin1Char('%')}});
            bare(historyText(), {{QStringLiteral("ZAKAZNIK"), qint64(5)}});
        });
        figure(engine, QStringLiteral("one key in the name box, \"%1\" (%2 proposals, customer %3)")
                           .arg(typed)
                           .arg(shown)
                           .arg(page.ADOQueryCustomer->value(0).toLongLong()),
               times);
    }

    // One move of the current row: the history of the next customer, handed on.
    page.ADOQueryCustomer->first();
    qint64 customer = 1;
    figure(engine, QStringLiteral("one move of the current row"),
           inTurn([&] { page.ADOQueryCustomer->next(); },
                  [&] { bare(historyText(), {{QStringLiteral("ZAKAZNIK"), ++customer}}); }));
    ClearOpenSteps();
}

} // namespace

int main(int argc, char *argv[])
{
    return bench::pageMain(argc, argv, QStringLiteral("valmedo4_bench_customers"), runPage);
}
