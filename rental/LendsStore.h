#pragma once
#include "core/database/Money.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

class BrowseQuery;
class DataSet;
class SqlDialect;

// The statements of the document journal (the lend and return documents of `tab_pujcky`),
// for both engines, and the pure rules of its filter. Nothing here catches: an error of
// the server reaches the caller as EDatabaseError.

// The journal `ADOQueryLends`: one row per document with its number of lines (`POLOZKY`)
// and its totals rounded to whole crowns by the database, halves away from zero: for a
// lend the rental fees of its lines, (DNY - ZDARMA) days at PUJCOVNE, and the deposits
// taken (`PLATBA_CELKEM`, `ZALOHA_CELKEM`); for a return the late fees, PRES days at
// VRATNE (none counted as 0), and the deposits handed back as a negative sum. Its
// sub-selects write "where" in lower case, so the statement has no WHERE part of its own;
// it is ordered by document number.
QStringList LendsSql(const SqlDialect &dialect);
// The lines of one document `ADOQueryLendsDetail` (parameter DOKLAD), lent or returned by
// it, in the order of the videos, with each line's fee ((DNY - ZDARMA) x PUJCOVNE) and late
// fee (PRES x VRATNE).
QStringList LendsDetailSql(const SqlDialect &dialect);
// These two statements for the engine of the server connected now, with the kinds of
// their fields: what the journal page and the receipts read.
void PrepareLendsQuery(BrowseQuery &query);
void PrepareLendsDetailQuery(BrowseQuery &query);
// The journal's row of one document (none when there is no such document): what its
// receipt prints.
void OpenJournalDocument(BrowseQuery &lends, qint64 document);

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
