#pragma once
#include "core/database/Money.h"
#include "reports/layouts/JournalDocument.h" // the journal's statements

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

class DataSet;

// The document journal's filter and totals, beside its statements (which the receipts read
// too). Nothing here catches: an error of the server reaches the caller as EDatabaseError.

// The filter panel's choices.
enum class LendsOperation { All, Lend, Back };
enum class LendsPeriod { All, Today, Week, Month, Year, Other };

// The first and the last day of a period around the run date: the day itself, its week
// from Monday to Sunday, its month or its year. All and Other have no days of their own:
// they give the run date twice.
std::pair<QDate, QDate> LendsPeriodDays(LendsPeriod period, const QDate &runDate);

struct LendsFilterInput {
    LendsOperation operation = LendsOperation::All;
    // The days of the period, first and last; none for all periods.
    std::optional<std::pair<QDate, QDate>> days;
    bool documentsOn = false;
    std::optional<qint64> documentFirst;
    std::optional<qint64> documentSecond;
    bool customersOn = false;
    std::optional<qint64> customerFirst;
    std::optional<qint64> customerSecond;
    // The user's ID_UZIVATEL; none for every user.
    std::optional<int> user;
};
// The journal's WHERE part for these choices: one condition a line, the first beginning
// with "WHERE ", the others with "AND ", each ended by "\n"; empty when none applies. A
// bound that is not set adds nothing. Only numbers and the program's own date texts are
// pasted, so that the free filter can show the text.
QString LendsFilterWhere(const LendsFilterInput &input);

// The status bar's sums over the rows of the journal as it lists them now (a document
// without lines counts as 0).
struct JournalTotals {
    int documents = 0;
    Money payments; // PLATBA_CELKEM
    Money deposits; // ZALOHA_CELKEM
};
JournalTotals SumJournal(const DataSet &lends);
// The totals of one written document, as its receipt and the journal show them.
JournalTotals DocumentTotals(qint64 document);
