#include "rental/UStatistics.h"

#include "core/NamedWidget.h"
#include "core/database/DataSet.h"
#include "core/database/DataSetRoutines.h"

#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QValueAxis>

TFormStatistics::TFormStatistics(const DataSet &lends, QWidget *parent)
    : QDialog(parent), m_lends(lends)
{
    setObjectName(QStringLiteral("FormStatistics"));
    setWindowTitle(QStringLiteral(" Statistiky"));
    resize(860, 500);
    new QVBoxLayout(this);
    createChart();
    createControls();
    RadioButtonWeekClick();
}

void TFormStatistics::createChart()
{
    Chart = new QChart();
    Chart->setObjectName(QStringLiteral("Chart"));
    Chart->legend()->hide();
    Series = new QLineSeries(); // owned by the chart once added
    Series->setObjectName(QStringLiteral("Series"));
    Series->setColor(Qt::red);
    Series->setPointsVisible(true);
    ChartView = new QChartView(Chart, this); // the view owns the chart
    ChartView->setObjectName(QStringLiteral("ChartView"));
    ChartView->setRenderHint(QPainter::Antialiasing);
    connect(Series, &QLineSeries::hovered, this, [this](const QPointF &, bool over) {
        ChartView->setCursor(over ? Qt::CrossCursor : Qt::ArrowCursor);
    });
    layout()->addWidget(ChartView);
}

void TFormStatistics::createControls()
{
    auto *row = new QHBoxLayout();
    RadioButtonWeek = Named<QRadioButton>(this, "RadioButtonWeek", StatisticsTitle(StatisticsView::Week));
    RadioButtonMonth = Named<QRadioButton>(this, "RadioButtonMonth", StatisticsTitle(StatisticsView::Month));
    RadioButtonYear = Named<QRadioButton>(this, "RadioButtonYear", StatisticsTitle(StatisticsView::Year));
    RadioButtonWeek->setChecked(true);
    connect(RadioButtonWeek, &QRadioButton::clicked, this, &TFormStatistics::RadioButtonWeekClick);
    connect(RadioButtonMonth, &QRadioButton::clicked, this, &TFormStatistics::RadioButtonMonthClick);
    connect(RadioButtonYear, &QRadioButton::clicked, this, &TFormStatistics::RadioButtonYearClick);
    for (QRadioButton *button : {RadioButtonWeek, RadioButtonMonth, RadioButtonYear})
        row->addWidget(button);
    row->addStretch();
    ButtonClose = Named<QPushButton>(this, "ButtonClose", QStringLiteral("Zavřít"));
    ButtonClose->setDefault(true);
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::reject); // Esc too
    row->addWidget(ButtonClose);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
}

QList<TakingsRow> TFormStatistics::journalRows() const
{
    // Read by row, without moving the journal's cursor: its grids and its current
    // document stay as they are.
    QList<TakingsRow> rows;
    const int time = m_lends.fieldIndex(QStringLiteral("CAS"));
    const int payment = m_lends.fieldIndex(QStringLiteral("PLATBA_CELKEM"));
    if (time < 0 || payment < 0)
        return rows;
    for (int row = 0; row < m_lends.recordCount(); ++row)
        rows.append({m_lends.valueAt(row, time).toDateTime(), Money::fromVariant(m_lends.valueAt(row, payment))});
    return rows;
}

void TFormStatistics::drawView(StatisticsView view)
{
    HourGlass hourGlass;
    const QList<float> buckets = TakingsBuckets(view, journalRows());
    Chart->setTitle(StatisticsTitle(view));

    if (Chart->series().contains(Series)) // the first drawing finds it not yet attached
        Chart->removeSeries(Series);
    for (QAbstractAxis *axis : Chart->axes()) {
        Chart->removeAxis(axis);
        delete axis;
    }
    Series->clear();
    float bottom = 0.0f, top = 0.0f;
    for (int i = 0; i < buckets.size(); ++i) {
        Series->append(i, double(buckets[i]));
        bottom = qMin(bottom, buckets[i]);
        top = qMax(top, buckets[i]);
    }
    Chart->addSeries(Series);

    auto *labels = new QBarCategoryAxis();
    labels->append(StatisticsLabels(view));
    labels->setTitleText(QStringLiteral("Časové období (dny, měsíce)"));
    labels->setTruncateLabels(false); // the axis would cut "01." … "31." short, yet they fit
    auto *amounts = new QValueAxis();
    amounts->setTitleText(QStringLiteral("Tržby [Kč]"));
    amounts->setLabelFormat(QStringLiteral("%.0f"));
    amounts->setRange(double(bottom) * 1.1, top > 0.0f ? double(top) * 1.1 : 100.0);
    amounts->applyNiceNumbers();
    Chart->addAxis(labels, Qt::AlignBottom);
    Chart->addAxis(amounts, Qt::AlignLeft);
    Series->attachAxis(labels);
    Series->attachAxis(amounts);
}
