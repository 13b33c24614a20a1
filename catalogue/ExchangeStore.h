#pragma once
#include "catalogue/ExchangeRules.h"

#include <QSet>
#include <QString>
#include <functional>

class DataSet;
class Worksheet;

// The work of the spreadsheet exchange: the export of a list into a sheet and the
// import of a sheet into tab_zakaznik or tab_video, with their statements.

enum class ImportMode {
    Add,     // the rows are added to the table
    Replace, // the table's rows are deleted first
};

// How an export or import ended.
struct ExchangeResult {
    enum Outcome { Done, Aborted, Failed };
    Outcome outcome = Done;
    int rows = 0;      // rows written, or imported (and kept)
    int failedRow = 0; // the sheet row that could not be imported; 0 when no row failed
    QString why;       // why it failed
};

// Called with 0 before the first row and after each row with that row's number;
// false asks the work to stop before the next row. When there is no next row the
// work has simply ended.
using ExchangeProgress = std::function<bool(int row)>;

// Writes the rows of `list`, as filtered and sorted, into sheet rows 1, 2, ..., one
// cell per field in the list's order (ExportCellOf). The list is walked with its
// controls held back and stands on its row again afterwards, also when the sheet
// throws (EWorksheetError) or the data set does (EDatabaseError), which go on to the
// caller. Done or Aborted.
ExchangeResult ExportList(DataSet &list, Worksheet &sheet, const ExchangeProgress &progress);

// Reads sheet rows from row 1 up to the first whose first cell is empty and inserts
// them into the table, after deleting its rows for Replace, all in one transaction.
// A row that cannot be read or inserted (a bad cell, a number the table already
// holds, a genre or medium the code books lack, a refusal of the server) rolls it all
// back: Failed with that row and why. A stop asked for before the last row rolls it
// all back too: Aborted with no rows. Nothing is thrown.
ExchangeResult ImportSheet(const Worksheet &sheet, ExchangeTable table, ImportMode mode,
                           const ExchangeProgress &progress);

// The statements of the import.

// DELETE FROM the table, every row.
void DeleteAllRows(ExchangeTable table);
// The customer or video numbers the table holds.
QSet<qint64> TableKeys(ExchangeTable table);

// One INSERT of the table prepared once and run for row after row. A refused row
// throws EDatabaseError; keep the object until the transaction is rolled back (the
// server frees a refused statement only then).
class ExchangeInsert {
public:
    explicit ExchangeInsert(ExchangeTable table);
    ~ExchangeInsert();
    ExchangeInsert(const ExchangeInsert &) = delete;
    ExchangeInsert &operator=(const ExchangeInsert &) = delete;

    void insertCustomer(const CustomerSheetRow &r);
    // `direction` and `medium` are the code books' identities.
    void insertVideo(const VideoSheetRow &r, int direction, int medium);

private:
    void run(const QVariantList &values);
    struct Statement;
    std::unique_ptr<Statement> m_statement;
};
