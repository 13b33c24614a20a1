// How long a lend of 10 videos takes to write on the large shop (BenchSupport.h): the
// desk's WriteLendDocument beside the same statements run bare through QSqlQuery in one
// transaction under the same lock, taken in turn; the medians and their ratio are printed.

#include "BenchSupport.h"

#include "core/RunGlobals.h"
#include "core/database/Commands.h"
#include "core/database/SqlDialect.h"
#include "rental/LendStore.h"

#include <QCoreApplication>
#include <QDateTime>

namespace {

using bench::print;

constexpr int Rounds = 31;
constexpr int LinesPerLend = 10;

QSqlQuery Run(const QString &text, const QList<std::pair<const char *, QVariant>> &values)
{
    QSqlQuery q(CurrentConnection());
    if (!q.prepare(text))
        throw EDatabaseError(q.lastError().text());
    for (const auto &[name, value] : values)
        q.bindValue(QLatin1Char(':') + QLatin1String(name), CurrentServer()->dialect().bindValue(value));
    if (!q.exec())
        throw EDatabaseError(q.lastError().text());
    return q;
}

QVariant First(QSqlQuery q)
{
    if (!q.next())
        throw EDatabaseError(QStringLiteral("no row"));
    return q.value(0);
}

// The statements of WriteLendDocument, in its order, without the desk's layers.
void BareLend(qint64 customer, const QList<LendDocumentLine> &lines)
{
    QSqlDatabase db = CurrentConnection();
    for (const QString &statement : CurrentServer()->dialect().journalLock())
        bench::exec(statement);
    try {
        Run(QStringLiteral("UPDATE tab_zakaznik SET PUJCKY=PUJCKY+:PUJCKY WHERE ZAKAZNIK=:ZAKAZNIK"),
            {{"PUJCKY", int(lines.size())}, {"ZAKAZNIK", customer}});
        const qint64 document = First(Run(QStringLiteral("SELECT COALESCE(MAX(DOKLAD),0)+1 FROM tab_pujcky"), {})).toLongLong();
        First(Run(QStringLiteral("SELECT COUNT(*) FROM tab_uzivatel WHERE UZIVATEL=:UZIVATEL"), {{"UZIVATEL", UserName()}}));
        const int user = First(Run(QStringLiteral("SELECT ID_UZIVATEL FROM tab_uzivatel WHERE UZIVATEL=:UZIVATEL"),
                                   {{"UZIVATEL", UserName()}})).toInt();
        Run(QStringLiteral("INSERT INTO tab_pujcky (DOKLAD,OPERACE,ZAKAZNIK,UZIVATEL) VALUES (:DOKLAD,1,:ZAKAZNIK,:UZIVATEL)"),
            {{"DOKLAD", document}, {"ZAKAZNIK", customer}, {"UZIVATEL", user}});
        for (const LendDocumentLine &line : lines) {
            Run(QStringLiteral("UPDATE tab_video SET VYPUJCENA=VYPUJCENA+1 WHERE VIDEO=:VIDEO"), {{"VIDEO", line.video}});
            if (First(Run(QStringLiteral("SELECT COUNT(*) FROM tab_pujckydetail WHERE PUJCENA=1 AND VIDEO=:VIDEO"),
                          {{"VIDEO", line.video}})).toInt() != 0)
                throw EDatabaseError(QStringLiteral("video out"));
            Run(QStringLiteral("INSERT INTO tab_pujckydetail (DOKLAD_PUJ,VIDEO,ZAKAZNIK,ZDARMA,PUJCOVNE,VRATNE,ZALOHA,VRATIT,DNY) "
                               "VALUES (:DOKLAD_PUJ,:VIDEO,:ZAKAZNIK,:ZDARMA,:PUJCOVNE,:VRATNE,:ZALOHA,:VRATIT,:DNY)"),
                {{"DOKLAD_PUJ", document}, {"VIDEO", line.video}, {"ZAKAZNIK", customer}, {"ZDARMA", line.free},
                 {"PUJCOVNE", QVariant::fromValue(line.fee)}, {"VRATNE", QVariant::fromValue(line.lateFee)},
                 {"ZALOHA", QVariant::fromValue(line.deposit)}, {"VRATIT", QDateTime(line.due, QTime(0, 0))},
                 {"DNY", line.days}});
        }
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw EDatabaseError(db.lastError().text());
}

void benchEngine(const QString &engine, bool sqlite)
{
    const qint64 fill = bench::timed([&] { bench::fillLargeShop(sqlite); });
    print(QStringLiteral("%1: large shop filled in %2 ms").arg(engine).arg(fill));
    SetUserName(QStringLiteral("sa"));

    qint64 nextVideo = 1; // every video of the shop is in, so each lend takes ten fresh ones
    auto nextLines = [&] {
        QList<LendDocumentLine> lines;
        for (int i = 0; i < LinesPerLend; ++i) {
            LendDocumentLine line;
            line.video = nextVideo++;
            line.fee = Money::fromCrowns(30);
            line.lateFee = Money::fromCrowns(10);
            line.deposit = Money::fromCrowns(100);
            line.due = QDate::currentDate().addDays(2);
            line.days = 2;
            lines << line;
        }
        return lines;
    };
    std::vector<qint64> ours, bare; // microseconds
    for (int round = 0; round < Rounds; ++round) {
        const QList<LendDocumentLine> oursLines = nextLines();
        ours.push_back(bench::micro([&] {
            const LendWriteResult result = WriteLendDocument(2 * round + 1, oursLines);
            if (!result.written())
                throw EDatabaseError(QStringLiteral("lend not written: ") + result.error);
        }));
        const QList<LendDocumentLine> bareLines = nextLines();
        bare.push_back(bench::micro([&] { BareLend(2 * round + 2, bareLines); }));
    }
    const double o = bench::median(ours) / 1000.0, b = bench::median(bare) / 1000.0;
    print(QStringLiteral("%1: a lend of %2 videos committed: median %3 ms of %4 runs; the same statements bare: "
                         "median %5 ms; ratio %6 (target at most 1.2)")
              .arg(engine)
              .arg(LinesPerLend)
              .arg(o, 0, 'f', 2)
              .arg(Rounds)
              .arg(b, 0, 'f', 2)
              .arg(o / qMax(1e-9, b), 0, 'f', 2));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    return bench::runOnEngines(QStringLiteral("valmedo4_bench_lend"), benchEngine);
}
