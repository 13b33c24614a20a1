#pragma once
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <functional>
#include <optional>

class BrowseQuery;
class DataSet;
class TRxDBGridEx;

// The main window's cache of every document line lent now (`ADOQueryLended`): opened at
// log-in, run again after each lend and return transaction (Requery), and searched by the
// lists to colour their rows, so that painting a row never sends a statement to the server.
class TLentLines : public QObject {
    Q_OBJECT
public:
    // Registers the opening of the cache as a log-in step.
    explicit TLentLines(QObject *parent = nullptr);

    BrowseQuery *ADOQueryLended = nullptr;

    void Requery();

    // Null when the customer (video) has nothing out now; otherwise whether one of his lent
    // lines is overdue: due (`VRATIT`) before RunDate. A line due today is not overdue.
    std::optional<bool> CustomerOverdue(qint64 customer) const;
    std::optional<bool> VideoOverdue(qint64 video) const;
    // The same for the lines a lend document has out.
    std::optional<bool> DocumentOverdue(qint64 document) const;

private:
    void Index() const;

    // The earliest due date of the lines out, by customer, by video and by lend document;
    // made again from the cache's rows after every reading.
    mutable QHash<qint64, QDateTime> m_customers;
    mutable QHash<qint64, QDateTime> m_videos;
    mutable QHash<qint64, QDateTime> m_documents;
    mutable bool m_indexed = false;
};

// The main window's cache, which its customer page keeps; null without a main window.
TLentLines *WindowLentLines();

// The rental setting "Odlišení aktivní" (`CheckBoxColor`): lists colour lent and overdue rows.
bool RowColoursOn();

// The state of a document line from its own `PUJCENA` and `VRATIT` (a line of a history
// or of a document): null when it is back, else whether it was due before RunDate.
std::optional<bool> LineOverdue(const DataSet &lines, int row);

// Colours the rows of a list's grid: `overdueOfRow` gives a row's state (null: nothing out,
// normal colours; false: lent; true: overdue), and GridCellColor paints every cell of a
// lent or overdue row while RowColoursOn() holds. `overdueOfRow` must read only data already
// fetched.
void ColorLentRows(TRxDBGridEx *grid, std::function<std::optional<bool>(int row)> overdueOfRow);
