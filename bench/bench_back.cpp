// How long a return of 10 videos takes to commit. On each engine (BenchSupport.h) a lend of
// 10 videos is written before every run (not timed), then returned into the takings in turn
// three ways: by the return store alone, by the whole BackTransaction (progress window,
// basket, log), and by the same statements run bare through prepared QSqlQuery objects in
// one transaction under the same lock. It prints the medians and their ratios to the bare
// statements.

#include "BenchSupport.h"

#include "core/RunGlobals.h"
#include "core/database/BrowseQuery.h"
#include "rental/BackBasket.h"
#include "rental/BackStore.h"
#include "rental/BackTransaction.h"
#include "rental/RentalSettings.h"

#include <QApplication>

namespace {

using bench::exec;
using bench::median;
using bench::micro;
using bench::print;

constexpr int Videos = 10;
constexpr int Runs = 21;
constexpr qint64 Customer = 1;

const QDate RunDay(2005, 11, 10);
const QDateTime Clock(RunDay, QTime(16, 42));

void fillShop()
{
    bench::inTransaction([] {
        exec(QStringLiteral("INSERT INTO tab_zakaznik (ZAKAZNIK,JMENO,OMEZENI) VALUES (1,'Novák',2)"));
        for (int video = 1; video <= Videos; ++video)
            exec(QStringLiteral("INSERT INTO tab_video (VIDEO,TITUL,ZAMERENI,NOSIC,CENA) VALUES (%1,'Film %1',1,2,499)")
                     .arg(video));
    });
}

// A lend of every video to the customer, as the lend writes it.
void lendAll()
{
    bench::inTransaction([] {
        QSqlQuery q(CurrentConnection());
        q.exec(QStringLiteral("SELECT COALESCE(MAX(DOKLAD),0)+1 FROM tab_pujcky"));
        q.next();
        const qint64 document = q.value(0).toLongLong();
        exec(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL) VALUES (%1,1,1,1)").arg(document));
        for (int video = 1; video <= Videos; ++video)
            exec(QStringLiteral("INSERT INTO tab_pujckydetail (DOKLAD_PUJ,VIDEO,ZAKAZNIK,ZDARMA,PUJCOVNE,VRATNE,ZALOHA,"
                                "VRATIT,DNY) VALUES (%1,%2,1,0,30,10,100,'2005-11-07 00:00:00',1)")
                     .arg(document)
                     .arg(video));
    });
}

// The customer's lent videos in the return basket, back now.
void fillBasket(TTableBack &basket)
{
    BrowseQuery lent;
    PrepareBackVideoQuery(lent);
    lent.setParameter(QStringLiteral("ZAKAZNIK"), Customer);
    lent.open();
    basket.emptyTable();
    RentalSettings shop;
    shop.isOpen = [](const QDate &) { return true; };
    for (int row = 0; row < lent.recordCount(); ++row)
        basket.appendLentLine(lent, row, shop, RunDay, Clock);
}

QList<BackLine> basketLines(const TTableBack &basket)
{
    QList<BackLine> lines;
    for (int row = 0; row < basket.recordCount(); ++row)
        lines << BackLine{basket.valueAt(row, basket.fieldIndex("VIDEO")).toLongLong(),
                          basket.valueAt(row, basket.fieldIndex("TITUL")).toString(),
                          basket.valueAt(row, basket.fieldIndex("VRACENO")).toDateTime(),
                          basket.valueAt(row, basket.fieldIndex("PRES")).toInt()};
    return lines;
}

QSqlQuery prepared(const QString &text)
{
    QSqlQuery q(CurrentConnection());
    if (!q.prepare(text))
        throw EDatabaseError(q.lastError().text());
    return q;
}

void run(QSqlQuery &q)
{
    if (!q.exec())
        throw EDatabaseError(q.lastError().text());
}

// The statements of the return, bare.
void bareReturn(const QList<BackLine> &lines, bool sqlite)
{
    QSqlDatabase db = CurrentConnection();
    if (sqlite) {
        exec(QStringLiteral("BEGIN IMMEDIATE"));
    } else {
        db.transaction();
        exec(QStringLiteral("LOCK TABLE tab_pujcky IN EXCLUSIVE MODE"));
    }
    QSqlQuery number = prepared(QStringLiteral("SELECT COALESCE(MAX(DOKLAD),0)+1 FROM tab_pujcky"));
    run(number);
    number.next();
    const qint64 document = number.value(0).toLongLong();
    QSqlQuery user = prepared(QStringLiteral("SELECT ID_UZIVATEL FROM tab_uzivatel WHERE UZIVATEL=:UZIVATEL"));
    user.bindValue(QStringLiteral(":UZIVATEL"), QStringLiteral("sa"));
    run(user);
    user.next();
    QSqlQuery insert = prepared(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL) "
                                               "VALUES (:DOKLAD,0,:ZAKAZNIK,:UZIVATEL)"));
    insert.bindValue(QStringLiteral(":DOKLAD"), document);
    insert.bindValue(QStringLiteral(":ZAKAZNIK"), Customer);
    insert.bindValue(QStringLiteral(":UZIVATEL"), user.value(0));
    run(insert);
    QSqlQuery close = prepared(QStringLiteral("UPDATE tab_pujckydetail SET DOKLAD_VRA=:DOKLAD_VRA,PUJCENA=0,"
                                              "VRACENO=:VRACENO,PRES=:PRES WHERE PUJCENA=1 AND ZAKAZNIK=:ZAKAZNIK "
                                              "AND VIDEO=:VIDEO AND EXISTS (SELECT 1 FROM tab_video WHERE "
                                              "tab_video.VIDEO=tab_pujckydetail.VIDEO)"));
    for (const BackLine &line : lines) {
        close.bindValue(QStringLiteral(":DOKLAD_VRA"), document);
        close.bindValue(QStringLiteral(":VRACENO"), line.returned.toString(QStringLiteral("yyyy-MM-dd hh:mm:00")));
        close.bindValue(QStringLiteral(":PRES"), line.daysOver);
        close.bindValue(QStringLiteral(":ZAKAZNIK"), Customer);
        close.bindValue(QStringLiteral(":VIDEO"), line.video);
        run(close);
        if (close.numRowsAffected() != 1)
            throw EDatabaseError(QStringLiteral("the bare return closed no line"));
    }
    if (!db.commit())
        throw EDatabaseError(db.lastError().text());
}

void benchEngine(const QString &engine, bool sqlite)
{
    fillShop();
    TTableBack basket;
    std::vector<qint64> store, transaction, bare; // microseconds
    for (int i = 0; i < Runs; ++i) {
        lendAll();
        fillBasket(basket);
        const QList<BackLine> lines = basketLines(basket);
        store.push_back(micro([&] {
            if (WriteReturn(Customer, lines, true, QStringLiteral("sa")).outcome != BackWrite::Written)
                throw EDatabaseError(QStringLiteral("the return was refused"));
        }));

        lendAll();
        fillBasket(basket);
        transaction.push_back(micro([&] {
            if (!BackTransaction(basket, Customer, true, {}))
                throw EDatabaseError(QStringLiteral("the return transaction failed"));
        }));

        lendAll();
        fillBasket(basket);
        const QList<BackLine> bareLines = basketLines(basket);
        bare.push_back(micro([&] { bareReturn(bareLines, sqlite); }));
    }
    const double s = median(store) / 1000.0, t = median(transaction) / 1000.0, b = median(bare) / 1000.0;
    print(QStringLiteral("%1: return of %2 videos into the takings, medians of %3 runs taken in turn: "
                         "store %4 ms, BackTransaction %5 ms, bare statements %6 ms; "
                         "ratio store/bare %7, transaction/bare %8")
              .arg(engine)
              .arg(Videos)
              .arg(Runs)
              .arg(s, 0, 'f', 2)
              .arg(t, 0, 'f', 2)
              .arg(b, 0, 'f', 2)
              .arg(s / b, 0, 'f', 2)
              .arg(t / b, 0, 'f', 2));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SetUserName(QStringLiteral("sa"));
    return bench::runOnEngines(QStringLiteral("valmedo4_bench_back"), benchEngine);
}
