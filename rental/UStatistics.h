#pragma once
#include "rental/StatisticsRules.h"

#include <QDialog>

class DataSet;
class QChart;
class QChartView;
class QLineSeries;
class QPushButton;
class QRadioButton;

// " Statistiky": the takings of the documents the journal lists now, as one line chart by
// day of the week, day of the month or month. It reads the journal's rows (their CAS and
// PLATBA_CELKEM) each time a view is drawn and writes nothing; the journal keeps its row.
class TFormStatistics : public QDialog {
    Q_OBJECT
public:
    explicit TFormStatistics(const DataSet &lends, QWidget *parent = nullptr);

    void RadioButtonWeekClick() { drawView(StatisticsView::Week); }
    void RadioButtonMonthClick() { drawView(StatisticsView::Month); }
    void RadioButtonYearClick() { drawView(StatisticsView::Year); }

    QChartView *ChartView = nullptr;
    QChart *Chart = nullptr;
    QLineSeries *Series = nullptr;
    QRadioButton *RadioButtonWeek = nullptr;
    QRadioButton *RadioButtonMonth = nullptr;
    QRadioButton *RadioButtonYear = nullptr;
    QPushButton *ButtonClose = nullptr;

private:
    void createChart();
    void createControls();
    void drawView(StatisticsView view);
    QList<TakingsRow> journalRows() const;

    const DataSet &m_lends;
};
