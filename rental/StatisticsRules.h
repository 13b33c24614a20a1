#pragma once
#include "core/database/Money.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The takings statistics: the payments of the journal's documents summed by day of the
// week, by day of the month or by month. Rows of different months or years fall into the
// same bucket (every 5th day together, every January together).
enum class StatisticsView { Week, Month, Year };

// One document of the journal: when it was written and what it took.
struct TakingsRow {
    QDateTime time;
    Money payment;
};

// "Týdenní statistika", "Měsíční statistika", "Roční statistika".
QString StatisticsTitle(StatisticsView view);
// "Po" … "Ne", "01." … "31." or "01." … "12.".
QStringList StatisticsLabels(StatisticsView view);
// One single-precision sum per label, in label order; a row without a time is left out.
QList<float> TakingsBuckets(StatisticsView view, const QList<TakingsRow> &rows);
