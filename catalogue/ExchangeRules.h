#pragma once
#include "catalogue/Worksheet.h" // CellFormat
#include "core/database/DataSet.h" // FieldKind
#include "core/database/Money.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <stdexcept>

// The spreadsheet exchange of customers and videos: one sheet row per customer (columns
// A to K) or video (A to G) from row 1, no title row. These are its pure rules: the
// cell an exported field is written as, and what an imported cell is read as.

enum class ExchangeTable { Customers, Videos };

inline constexpr int CustomerColumns = 11;
inline constexpr int VideoColumns = 7;

// A cell as the export writes it: the value for Worksheet::setCell and its format.
struct ExportCell {
    QVariant value;
    CellFormat format = CellFormat::General;
};
// The cell a field of the list is written as, so that a spreadsheet sums and sorts it:
// numbers as number cells (a customer or video number, a 64-bit field, shown with 13
// digits; money with its full value, shown with two decimals), a date and time as a
// date cell (the date alone at midnight), a text as a text cell whatever it holds, a
// null value as an empty cell. What a number or date cell cannot hold exactly (a
// number beyond 2^53, a date before March 1900) goes as the text the desk shows.
ExportCell ExportCellOf(const QVariant &value, FieldKind kind);

// A cell that cannot be read as its column asks. why() says so in the clerk's words.
class ECellError : public std::runtime_error {
public:
    explicit ECellError(const QString &why) : std::runtime_error(why.toStdString()), m_why(why) {}
    QString why() const { return m_why; }

private:
    QString m_why;
};

// The cell as text: the empty text for an empty cell, a number in Czech writing
// ("44,35"; a whole number in plain digits), a date as the export writes it. With
// `length` at least 0, only its first `length` characters.
QString CellAsString(const QVariant &cell, int length = -1);
// A whole number: 0 for an empty cell; a number, or a text read as one ("1 234,50"),
// to the nearest whole number, a half going to the even one. Throws ECellError for
// anything else and for a number outside the 32-bit range of the columns.
int CellAsInteger(const QVariant &cell);
// A customer or video number: a whole number, as a number cell or a text of digits
// ("0000000000042"), from 1 to the highest number the desk gives. Throws ECellError
// otherwise.
qint64 CellAsKey(const QVariant &cell);
// A lend count: a whole number (CellAsInteger) from 0 to 32 767. Throws ECellError
// otherwise.
int CellAsCount(const QVariant &cell);
// A price: 0 for an empty cell; a number, or a text read as one ("1 234,50"), exact
// to the ten-thousandth and within the price box's range. Throws ECellError otherwise.
Money CellAsPrice(const QVariant &cell);
// A date and time: a date cell, or a text as the export writes it ("d.M.yyyy H:mm:ss",
// "d.M.yyyy H:mm", "d.M.yyyy") or as a database does ("yyyy-MM-dd HH:mm:ss"); null
// for an empty cell. Throws ECellError otherwise.
QVariant CellAsDateTime(const QVariant &cell);
// The restriction by the first character of the cell: "!" 0, "$" 1, "-" 2, "+" 3;
// null for any other cell, an empty one included.
QVariant CellAsLimit(const QVariant &cell);

// One row of the customer layout as the insert takes it.
struct CustomerSheetRow {
    qint64 ZAKAZNIK = 0;
    QString JMENO, TELEFON, ADRESA1, ADRESA2, RC, OP;
    QVariant REGISTRACE; // QDateTime or null
    QVariant OMEZENI;    // 0 to 3 or null
    int PUJCKY = 0;
    QString TEXT;
};

// One row of the video layout; the genre and medium by name, as the sheet holds them.
struct VideoSheetRow {
    qint64 VIDEO = 0;
    QString TITUL;
    QString ZAMERENI;
    QString NOSIC;
    Money CENA;
    QVariant REGISTRACE;
    int VYPUJCENA = 0;
};

// Sheet row `row` read by the layout's conversions, texts cut to their columns.
// Throws ECellError naming the column that cannot be read.
CustomerSheetRow ReadCustomerRow(const Worksheet &sheet, int row);
VideoSheetRow ReadVideoRow(const Worksheet &sheet, int row);
