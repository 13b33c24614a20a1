#pragma once
#include <QString>
#include <QVariant>
#include <memory>
#include <stdexcept>
#include <vector>

// A workbook file that cannot be read or written.
class EWorksheetError : public std::runtime_error {
public:
    explicit EWorksheetError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// The first worksheet of a workbook, cell by cell. Rows and columns count from 1, as
// the sheet numbers them (row 1, column 1 is A1).
class Worksheet {
public:
    virtual ~Worksheet() = default;
    // The value of a cell as the file typed it: null for an empty cell, otherwise a
    // double, a bool, a QDateTime or a QString.
    virtual QVariant cell(int row, int column) const = 0;
    // Writes the cell as text.
    virtual void setCell(int row, int column, const QString &text) = 0;
};

// Cells held in memory: the first worksheet of a file read whole, or a sheet a caller
// fills itself.
class MemoryWorksheet : public Worksheet {
public:
    QVariant cell(int row, int column) const override;
    void setCell(int row, int column, const QString &text) override;
    // Any value cell() may give; a null value empties the cell.
    void setValue(int row, int column, const QVariant &value);
    // The last row that holds a cell (0 for an empty sheet).
    int rowCount() const { return int(m_rows.size()); }

private:
    std::vector<std::vector<QVariant>> m_rows;
};

// Reads the first worksheet of an .xlsx or .ods file, told apart by its content.
// Cells of a date or time number format come as QDateTime. Throws EWorksheetError
// when the file cannot be read or is neither workbook.
std::unique_ptr<MemoryWorksheet> ReadWorksheet(const QString &path);

// A new .xlsx workbook with one worksheet whose cells are written as text. save()
// writes the file, replacing one of that name only when the whole workbook has been
// written; a workbook dropped unsaved leaves no file. Its cells cannot be read back:
// cell() throws EWorksheetError.
class XlsxWorksheet : public Worksheet {
public:
    // Throws EWorksheetError when the workbook cannot be begun.
    explicit XlsxWorksheet(const QString &path);
    ~XlsxWorksheet() override;
    XlsxWorksheet(const XlsxWorksheet &) = delete;
    XlsxWorksheet &operator=(const XlsxWorksheet &) = delete;

    QVariant cell(int row, int column) const override;
    // Throws EWorksheetError when the cell cannot be written.
    void setCell(int row, int column, const QString &text) override;
    // Throws EWorksheetError when the file cannot be written.
    void save();

private:
    struct Book;
    std::unique_ptr<Book> m_book;
};
