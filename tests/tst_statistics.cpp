// The takings statistics: the journal's payments summed by weekday, day of the month and
// month in single precision, the labels of each view, and the window's one line series
// over the journal's rows (its values and labels, not its pixels).
#include "core/database/MemoryTable.h"
#include "rental/StatisticsRules.h"
#include "rental/UStatistics.h"

#include <QBarCategoryAxis>
#include <QChart>
#include <QLineSeries>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

namespace {

Money Kc(const char *text)
{
    return Money::fromString(QString::fromLatin1(text));
}

QList<float> Values(const QLineSeries *series)
{
    QList<float> values;
    for (const QPointF &p : series->points())
        values << float(p.y());
    return values;
}

// The journal as the statistics read it: the documents' time and payment.
struct Journal : MemoryTable {
    Journal()
    {
        addField("DOKLAD", FieldKind::Int64);
        addField("CAS", FieldKind::DateTime);
        addField("PLATBA_CELKEM", FieldKind::Money);
        open();
    }
    void add(qint64 document, const QDateTime &time, const char *payment)
    {
        append({{"DOKLAD", document}, {"CAS", time}, {"PLATBA_CELKEM", QVariant::fromValue(Kc(payment))}});
    }
};

} // namespace

class TestStatistics : public QObject {
    Q_OBJECT

private slots:
    void labels();
    void buckets();
    void emptyJournal();
    void windowDrawsTheJournal();
};

void TestStatistics::labels()
{
    QCOMPARE(StatisticsLabels(StatisticsView::Week), (QStringList{"Po", "Út", "St", "Čt", "Pá", "So", "Ne"}));
    const QStringList month = StatisticsLabels(StatisticsView::Month);
    QCOMPARE(month.size(), 31);
    QCOMPARE(month.first(), QString("01."));
    QCOMPARE(month.last(), QString("31."));
    const QStringList year = StatisticsLabels(StatisticsView::Year);
    QCOMPARE(year.size(), 12);
    QCOMPARE(year.at(8), QString("09."));
    QCOMPARE(StatisticsTitle(StatisticsView::Month), QString("Měsíční statistika"));
}

void TestStatistics::buckets()
{
    const QList<TakingsRow> rows = {
        {QDateTime(QDate(2006, 3, 5), QTime(10, 0)), Kc("40")},  // a Sunday
        {QDateTime(QDate(2006, 4, 5), QTime(9, 0)), Kc("25.5")}, // a Wednesday
        {QDateTime(QDate(2005, 3, 31), QTime(23, 59)), Kc("10")}, // a Thursday
        {QDateTime(), Kc("99")},                                  // no time: left out
    };
    QList<float> week(7, 0.0f);
    week[6] = 40.0f;
    week[2] = 25.5f;
    week[3] = 10.0f;
    QCOMPARE(TakingsBuckets(StatisticsView::Week, rows), week);
    // The 5th of March and of April fall together, whatever their month.
    const QList<float> month = TakingsBuckets(StatisticsView::Month, rows);
    QCOMPARE(month.at(4), 65.5f);
    QCOMPARE(month.at(30), 10.0f);
    // Every March together, whatever its year.
    const QList<float> year = TakingsBuckets(StatisticsView::Year, rows);
    QCOMPARE(year.at(2), 50.0f);
    QCOMPARE(year.at(3), 25.5f);

    // The sums are single precision: ten payments of 0.10 make the float nearest 1.
    QList<TakingsRow> dimes(10, TakingsRow{QDateTime(QDate(2006, 1, 2), QTime(8, 0)), Kc("0.1")});
    float expected = 0.0f;
    for (int i = 0; i < 10; ++i)
        expected = float(double(expected) + 0.1);
    QCOMPARE(TakingsBuckets(StatisticsView::Week, dimes).at(0), expected);
}

void TestStatistics::emptyJournal()
{
    for (StatisticsView view : {StatisticsView::Week, StatisticsView::Month, StatisticsView::Year}) {
        const QList<float> sums = TakingsBuckets(view, {});
        QCOMPARE(sums.size(), StatisticsLabels(view).size());
        QVERIFY(std::all_of(sums.begin(), sums.end(), [](float v) { return v == 0.0f; }));
    }
}

void TestStatistics::windowDrawsTheJournal()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("."))); // the chart draws without complaint
    Journal journal;
    journal.add(1, QDateTime(QDate(2006, 3, 5), QTime(10, 0)), "40");
    journal.add(2, QDateTime(QDate(2006, 4, 5), QTime(9, 0)), "25.5");
    journal.add(3, QDateTime(QDate(2006, 4, 10), QTime(9, 0)), "12");
    journal.moveTo(1);

    TFormStatistics form(journal);
    QCOMPARE(form.windowTitle(), QString(" Statistiky"));
    QVERIFY(form.RadioButtonWeek->isChecked());
    QCOMPARE(form.Chart->title(), QString("Týdenní statistika"));
    QCOMPARE(Values(form.Series), (QList<float>{12, 0, 25.5, 0, 0, 0, 40}));
    const auto labels = [&form] {
        const auto axes = form.Chart->axes(Qt::Horizontal);
        auto *axis = axes.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis *>(axes.first());
        return axis ? axis->categories() : QStringList();
    };
    QCOMPARE(labels(), StatisticsLabels(StatisticsView::Week));
    QCOMPARE(form.Chart->axes(Qt::Vertical).value(0)->titleText(), QString("Tržby [Kč]"));
    QCOMPARE(form.Chart->axes(Qt::Horizontal).value(0)->titleText(), QString("Časové období (dny, měsíce)"));
    QVERIFY(!form.Chart->legend()->isVisible());

    form.RadioButtonMonth->click();
    QCOMPARE(form.Chart->title(), QString("Měsíční statistika"));
    QCOMPARE(form.Series->count(), 31);
    QCOMPARE(float(form.Series->at(4).y()), 65.5f);
    QCOMPARE(labels().value(9), QString("10."));

    form.RadioButtonYear->click();
    QCOMPARE(Values(form.Series), (QList<float>{0, 0, 40, 37.5, 0, 0, 0, 0, 0, 0, 0, 0}));

    // Back to the week: one line of seven points, and the journal where it stood.
    form.RadioButtonWeek->click();
    QCOMPARE(form.Chart->series().size(), 1);
    QCOMPARE(form.Series->count(), 7);
    QCOMPARE(form.Chart->axes().size(), 2);
    QCOMPARE(journal.currentRow(), 1);
}

QTEST_MAIN(TestStatistics)
#include "tst_statistics.moc"
