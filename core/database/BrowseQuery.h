#pragma once
#include "core/database/DataSet.h"

#include <QHash>
#include <QStringList>
#include <memory>
#include <vector>

class QSqlQuery;

// A page's browse query on the program's connection (CurrentConnection()): a
// statement whose text is a list of lines and whose rows are held as a scrollable
// data set with a current row. It is the model its grid shows.
//
// Opening runs the statement and reads all its rows at once, so that no statement
// is left running on the connection (see run() for why), but keeps each value as
// the driver gave it and converts it to its field's kind only when the cell is
// first read. The grid is shown the rows in blocks as it scrolls (canFetchMore /
// fetchMore), and a move to a row not yet shown shows the rows up to it.
//
// Field kinds come from the driver (NUMERIC is Money, timestamps are DateTime, the
// rest by their type) unless the page declares one with setFieldKind(); Boolean
// fields must be declared, bits being SMALLINT. Texts are read right-trimmed,
// field names in upper case. Closing keeps the fields (and the grid's columns); a
// reopening with the same fields keeps them too.
//
// Errors (a refused statement, no connection, an unknown parameter) throw
// EDatabaseError; a query that failed to open stays closed with its text.
class BrowseQuery : public DataSet {
    Q_OBJECT
public:
    explicit BrowseQuery(QObject *parent = nullptr);
    ~BrowseQuery() override;

    // The statement text as lines. Changing it closes the query; parameters of the
    // names the new text still holds keep their values.
    QStringList sql() const { return m_lines; }
    void setSql(const QStringList &lines);
    // The text read back: every line, the last too, ended by "\n".
    QString sqlText() const;
    // Cut at "\n" into lines (a final "\n" does not make an empty last line).
    void setSqlText(const QString &text);

    // The named markers of the text (":ZAKAZNIK") and their values; an unknown name
    // throws EDatabaseError.
    QStringList parameterNames() const { return m_markers; }
    void setParameter(const QString &name, const QVariant &value);
    QVariant parameter(const QString &name) const;

    void setFieldKind(const QString &name, FieldKind kind);

    // Every run of the statement inside ReadOnlyStatements: a list whose WHERE part a
    // person may have typed (the free filter), whichever re-run carries it again.
    void setOnlyReads(bool on) { m_onlyReads = on; }

    void open();
    void close();
    bool isOpen() const override { return m_open; }
    // Runs the statement again with its present text and parameters (opening a closed
    // query) and stands on the first row; RequeryLocate finds the key afterwards.
    void requery();

    // How many rows a grid is shown at a time.
    void setFetchBlock(int rows) { m_fetchBlock = qMax(1, rows); }

    int fieldCount() const override;
    QString fieldName(int field) const override;
    FieldKind fieldKind(int field) const override;
    int recordCount() const override;
    const QVariant &valueAt(int row, int field) const override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

protected:
    quint64 rowIdentity(int row) const override;
    int rowOfIdentity(quint64 identity) const override;
    void ensureShown(int row) override;

private:
    struct Column;
    void run();
    void clearRows();
    void showRows(int count);

    QStringList m_lines;
    QStringList m_markers;
    QHash<QString, QVariant> m_params;
    QHash<QString, FieldKind> m_declared;
    std::vector<std::unique_ptr<Column>> m_columns;
    int m_rows = 0;
    int m_shown = 0;
    int m_fetchBlock = 256;
    bool m_open = false;
    bool m_onlyReads = false;
    quint32 m_generation = 1; // bookmarks die with the rows they name
};
