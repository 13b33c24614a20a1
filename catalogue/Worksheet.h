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

// How a spreadsheet shows a number or date cell.
enum class CellFormat {
    General,
    Digits13, // 13 digits with leading zeros ("0000000000042"): customer and video numbers
    Money,    // groups of thousands and two decimals ("1 234,50")
    DateTime, // "d.m.yyyy h:mm:ss"
    Date,     // "d.m.yyyy"
};

// The first worksheet of a workbook, cell by cell. Rows and columns count from 1, as
// the sheet numbers them (row 1, column 1 is A1).
class Worksheet {
public:
    virtual ~Worksheet() = default;
    // The value of a cell as the file typed it: null for an empty cell, otherwise a
    // double, a bool, a QDateTime or a QString.
    virtual QVariant cell(int row, int column) const = 0;
    // Writes a double as a number cell and a QDateTime as a date cell, both shown in
    // `format`, and a QString as a text cell; a null value or an empty text leaves the
    // cell empty.
    virtual void setCell(int row, int column, const QVariant &value, CellFormat format = CellFormat::General) = 0;
};

// Cells held in memory: the first worksheet of a file read whole, or a sheet a caller
// fills itself.
class MemoryWorksheet : public Worksheet {
public:
    QVariant cell(int row, int column) const override;
    // Keeps the value; the format is not kept.
    void setCell(int row, int column, const QVariant &value, CellFormat format = CellFormat::General) override;
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

// A new .xlsx workbook with one worksheet. save()
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
    // Throws EWorksheetError when the cell cannot be written or the value is none of
    // the three.
    void setCell(int row, int column, const QVariant &value, CellFormat format = CellFormat::General) override;
    // Throws EWorksheetError when the file cannot be written.
    void save();

private:
    struct Book;
    std::unique_ptr<Book> m_book;
};
