#include "catalogue/ExchangeRules.h"

#include "catalogue/Worksheet.h"
#include "core/Texts.h"

#include <cmath>
#include <limits>

namespace {

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

// A number written as text: blanks between the digit groups, a decimal comma or point.
bool textNumber(const QString &text, double *value)
{
    QString t = text.trimmed();
    t.remove(QLatin1Char(' '));
    t.remove(QChar(0x00A0));
    t.remove(QChar(0x202F));
    t.replace(QLatin1Char(','), QLatin1Char('.'));
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

QString ExportCellText(const QVariant &value, FieldKind kind)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (kind) {
    case FieldKind::Int64: {
        // 13 digits, the sign before them.
        const qint64 n = value.toLongLong();
        const QString digits = QString::number(n < 0 ? 0 - quint64(n) : quint64(n)).rightJustified(13, u'0');
        return n < 0 ? QLatin1Char('-') + digits : digits;
    }
    case FieldKind::Integer:
        return QString::number(value.toLongLong());
    case FieldKind::Money:
        return FormatMoney(QStringLiteral(",0.00"), value.value<Money>());
    case FieldKind::Float:
        return numberText(value.toDouble());
    case FieldKind::DateTime:
        return dateTimeCellText(value.toDateTime());
    case FieldKind::Boolean:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case FieldKind::Text:
        break;
    }
    return value.toString();
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
    if (cell.isNull() || (cell.typeId() == QMetaType::QString && cell.toString().trimmed().isEmpty()))
        return 0;
    // Halves go to the even neighbour: 98,5 gives 98, 99,5 gives 100.
    const double whole = std::nearbyint(cellNumber(cell));
    if (whole < std::numeric_limits<int>::min() || whole > std::numeric_limits<int>::max())
        throw ECellError(QStringLiteral("číslo %1 je mimo rozsah").arg(CellAsString(cell)));
    return int(whole);
}

qint64 CellAsKey(const QVariant &cell)
{
    bool ok = false;
    qint64 key = 0;
    if (cell.typeId() == QMetaType::Double) {
        const double v = cell.toDouble();
        ok = std::trunc(v) == v && std::fabs(v) < 9.2e18;
        key = ok ? qint64(v) : 0;
    } else if (cell.typeId() == QMetaType::QString) {
        key = cell.toString().trimmed().toLongLong(&ok);
    }
    if (!ok)
        throw ECellError(QStringLiteral("kód „%1“ není celé číslo").arg(CellAsString(cell)));
    return key;
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
    r.PUJCKY = inColumn(10, QStringLiteral("výpůjčky"), [&] { return CellAsInteger(cell(10)); });
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
    r.CENA = inColumn(5, QStringLiteral("cena"), [&] {
        // The price comes back in whole crowns, within the money column's range.
        const int crowns = CellAsInteger(cell(5));
        if (crowns < -214748 || crowns > 214748)
            throw ECellError(QStringLiteral("číslo %1 je mimo rozsah").arg(crowns));
        return Money::fromCrowns(crowns);
    });
    r.REGISTRACE = inColumn(6, QStringLiteral("registrace"), [&] { return CellAsDateTime(cell(6)); });
    r.VYPUJCENA = inColumn(7, QStringLiteral("výpůjčky"), [&] { return CellAsInteger(cell(7)); });
    return r;
}
