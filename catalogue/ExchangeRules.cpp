#include "catalogue/ExchangeRules.h"

#include "catalogue/Worksheet.h"
#include "core/Texts.h"
#include "core/controls/CurrencyEdit.h"
#include "core/controls/Int64Edit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The lend counts are small integers.
constexpr int HighestCount = std::numeric_limits<qint16>::max();
// The largest whole number a double holds exactly.
constexpr qint64 ExactInDouble = qint64(1) << 53;

// A date and time as the desk writes it: the time left out at midnight.
QString dateTimeCellText(const QDateTime &moment)
{
    return moment.time() == QTime(0, 0) ? ShortDateText(moment.date()) : DateTimeText(moment);
}

QString numberText(double value)
{
    if (std::nearbyint(value) == value && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
}

// The first `length` characters (not UTF-16 units) of the text.
QString firstCharacters(const QString &text, int length)
{
    qsizetype i = 0;
    for (int n = 0; n < length && i < text.size(); ++n)
        i += text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
    return text.left(i);
}

// A number written as text with its blanks between the digit groups left out and a
// decimal point for its decimal comma.
QString plainNumberText(const QString &text)
{
    QString t = text.trimmed();
    t.remove(QLatin1Char(' '));
    t.remove(QChar(0x00A0));
    t.remove(QChar(0x202F));
    return t.replace(QLatin1Char(','), QLatin1Char('.'));
}

// A number written as text: blanks between the digit groups, a decimal comma or point.
bool textNumber(const QString &text, double *value)
{
    const QString t = plainNumberText(text);
    if (t.isEmpty())
        return false;
    for (const QChar c : std::as_const(t)) {
        if (!c.isDigit() && c != QLatin1Char('.') && c != QLatin1Char('-') && c != QLatin1Char('+'))
            return false;
    }
    bool ok = false;
    *value = t.toDouble(&ok);
    return ok && std::isfinite(*value);
}

double cellNumber(const QVariant &cell)
{
    switch (cell.typeId()) {
    case QMetaType::Double:
        return cell.toDouble();
    case QMetaType::Bool:
        return cell.toBool() ? 1 : 0;
    case QMetaType::QString: {
        double value = 0;
        if (textNumber(cell.toString(), &value))
            return value;
        break;
    }
    default:
        break;
    }
    throw ECellError(QStringLiteral("„%1“ není číslo").arg(CellAsString(cell)));
}

bool isEmptyCell(const QVariant &cell)
{
    return cell.isNull() || (cell.typeId() == QMetaType::QString && cell.toString().trimmed().isEmpty());
}

// A whole number from `lowest` to `highest`: 0 for an empty cell, a number to the nearest
// whole one, halves to the even neighbour (98,5 gives 98, 99,5 gives 100).
int wholeNumber(const QVariant &cell, int lowest, int highest)
{
    if (isEmptyCell(cell))
        return 0;
    const double whole = std::nearbyint(cellNumber(cell));
    if (whole < lowest || whole > highest)
        throw ECellError(QStringLiteral("číslo %1 je mimo rozsah %2 až %3").arg(numberText(whole)).arg(lowest).arg(highest));
    return int(whole);
}

// The column letter of a sheet column (1 is A).
QString columnLetter(int column)
{
    return QString(QChar(QLatin1Char('A').unicode() + column - 1));
}

// Runs one conversion of a row and names its column in the error.
template <typename F>
auto inColumn(int column, const QString &what, F &&convert) -> decltype(convert())
{
    try {
        return convert();
    } catch (const ECellError &e) {
        throw ECellError(QStringLiteral("sloupec %1 (%2): %3").arg(columnLetter(column), what, e.why()));
    }
}

} // namespace

ExportCell ExportCellOf(const QVariant &value, FieldKind kind)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (kind) {
    case FieldKind::Int64: {
        const qint64 n = value.toLongLong();
        if (n >= -ExactInDouble && n <= ExactInDouble)
            return {double(n), CellFormat::Digits13};
        return {QString::number(n)};
    }
    case FieldKind::Integer:
        return {double(value.toLongLong())};
    case FieldKind::Money:
        return {value.value<Money>().toDouble(), CellFormat::Money};
    case FieldKind::Float:
        return {value.toDouble()};
    case FieldKind::DateTime: {
        // The spreadsheet's day numbers agree with the calendar from 1 March 1900 on.
        const QDateTime moment = value.toDateTime();
        if (moment.date() < QDate(1900, 3, 1) || moment.date().year() > 9999)
            return {dateTimeCellText(moment)};
        return {moment, moment.time() == QTime(0, 0) ? CellFormat::Date : CellFormat::DateTime};
    }
    case FieldKind::Boolean:
        return {value.toBool() ? 1.0 : 0.0};
    case FieldKind::Text:
        break;
    }
    return {value.toString()};
}

QString CellAsString(const QVariant &cell, int length)
{
    QString text;
    switch (cell.typeId()) {
    case QMetaType::Double:
        text = numberText(cell.toDouble());
        break;
    case QMetaType::Bool:
        text = cell.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        break;
    case QMetaType::QDateTime:
        text = dateTimeCellText(cell.toDateTime());
        break;
    default:
        text = cell.toString();
        break;
    }
    return length >= 0 ? firstCharacters(text, length) : text;
}

int CellAsInteger(const QVariant &cell)
{
    return wholeNumber(cell, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

qint64 CellAsKey(const QVariant &cell)
{
    // Every whole number is read, so that one of any size is told out of range.
    bool whole = false;
    double number = 0;
    if (cell.typeId() == QMetaType::Double) {
        number = cell.toDouble();
        whole = std::trunc(number) == number;
    } else if (cell.typeId() == QMetaType::QString) {
        const QString text = cell.toString().trimmed();
        const qsizetype sign = text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+')) ? 1 : 0;
        whole = text.size() > sign
                && std::all_of(text.begin() + sign, text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        number = whole ? text.toDouble() : 0;
    }
    if (!whole)
        throw ECellError(QStringLiteral("kód „%1“ není celé číslo").arg(CellAsString(cell)));
    if (number < 1 || number > double(TInt64Edit::HighestNumber))
        throw ECellError(QStringLiteral("kód %1 je mimo rozsah 1 až %2")
                             .arg(CellAsString(cell).trimmed()).arg(TInt64Edit::HighestNumber));
    return qint64(number); // exact: below 2^53
}

int CellAsCount(const QVariant &cell)
{
    return wholeNumber(cell, 0, HighestCount);
}

Money CellAsPrice(const QVariant &cell)
{
    if (isEmptyCell(cell))
        return {};
    const double number = cellNumber(cell);
    const Money lowest = TCurrencyEdit::SmallMoneyMin;
    const Money highest = TCurrencyEdit::SmallMoneyMax;
    if (number < lowest.toDouble() || number > highest.toDouble())
        throw ECellError(QStringLiteral("číslo %1 je mimo rozsah %2 až %3")
                             .arg(numberText(number), FormatMoney({}, lowest), FormatMoney({}, highest)));
    // A text as it is written, not its nearest double; a double stands for the nearest
    // ten-thousandth when it is that close to one.
    bool exact = false;
    Money price;
    if (cell.typeId() == QMetaType::QString) {
        price = Money::fromString(plainNumberText(cell.toString()), &exact);
    } else {
        price = Money::fromDouble(number);
        exact = std::fabs(price.toDouble() - number) <= 1e-9 * std::max(1.0, std::fabs(number));
    }
    if (!exact)
        throw ECellError(QStringLiteral("cena %1 má víc než čtyři desetinná místa").arg(CellAsString(cell)));
    return price;
}

QVariant CellAsDateTime(const QVariant &cell)
{
    if (cell.isNull())
        return {};
    if (cell.typeId() == QMetaType::QDateTime)
        return cell.toDateTime();
    if (cell.typeId() == QMetaType::QString) {
        const QString text = cell.toString().trimmed();
        if (text.isEmpty())
            return {};
        static const char *const Formats[] = {"d.M.yyyy H:mm:ss", "d.M.yyyy H:mm", "d.M.yyyy",
                                              "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm",
                                              "yyyy-MM-dd"};
        for (const char *format : Formats) {
            const QDateTime moment = QDateTime::fromString(text, QLatin1String(format));
            if (moment.isValid())
                return moment;
        }
    }
    throw ECellError(QStringLiteral("„%1“ není datum").arg(CellAsString(cell)));
}

QVariant CellAsLimit(const QVariant &cell)
{
    const QString text = CellAsString(cell);
    const int limit = text.isEmpty() ? -1 : int(QStringLiteral("!$-+").indexOf(text.at(0)));
    return limit >= 0 ? QVariant(limit) : QVariant();
}

CustomerSheetRow ReadCustomerRow(const Worksheet &sheet, int row)
{
    const auto cell = [&](int column) { return sheet.cell(row, column); };
    CustomerSheetRow r;
    r.ZAKAZNIK = inColumn(1, QStringLiteral("kód"), [&] { return CellAsKey(cell(1)); });
    r.JMENO = CellAsString(cell(2), 32);
    r.TELEFON = CellAsString(cell(3), 9);
    r.ADRESA1 = CellAsString(cell(4), 32);
    r.ADRESA2 = CellAsString(cell(5), 32);
    r.RC = CellAsString(cell(6), 10);
    r.OP = CellAsString(cell(7), 10);
    r.REGISTRACE = inColumn(8, QStringLiteral("registrace"), [&] { return CellAsDateTime(cell(8)); });
    r.OMEZENI = CellAsLimit(cell(9));
    r.PUJCKY = inColumn(10, QStringLiteral("výpůjčky"), [&] { return CellAsCount(cell(10)); });
    r.TEXT = CellAsString(cell(11), 64);
    return r;
}

VideoSheetRow ReadVideoRow(const Worksheet &sheet, int row)
{
    const auto cell = [&](int column) { return sheet.cell(row, column); };
    VideoSheetRow r;
    r.VIDEO = inColumn(1, QStringLiteral("kód"), [&] { return CellAsKey(cell(1)); });
    r.TITUL = CellAsString(cell(2), 32);
    r.ZAMERENI = CellAsString(cell(3));
    r.NOSIC = CellAsString(cell(4));
    r.CENA = inColumn(5, QStringLiteral("cena"), [&] { return CellAsPrice(cell(5)); });
    r.REGISTRACE = inColumn(6, QStringLiteral("registrace"), [&] { return CellAsDateTime(cell(6)); });
    r.VYPUJCENA = inColumn(7, QStringLiteral("výpůjčky"), [&] { return CellAsCount(cell(7)); });
    return r;
}
