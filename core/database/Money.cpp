#include "core/database/Money.h"

#include <cmath>

Money Money::fromDouble(double value)
{
    return fromUnits(std::llround(value * Scale));
}

Money Money::fromString(const QString &text, bool *ok)
{
    const QString t = text.trimmed();
    bool good = false;
    qint64 units = 0;
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        negative = t[i] == u'-';
        ++i;
    }
    int intDigits = 0, fracDigits = 0;
    qint64 fracUnits = 0;
    bool inFraction = false, tooPrecise = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u'.' && !inFraction) {
            inFraction = true;
            continue;
        }
        if (!c.isDigit()) {
            intDigits = fracDigits = 0;
            tooPrecise = true;
            break;
        }
        const int d = c.digitValue();
        if (!inFraction) {
            if (++intDigits > 14)
                break;
            units = units * 10 + d;
        } else if (fracDigits < 4) {
            fracUnits = fracUnits * 10 + d;
            ++fracDigits;
        } else if (d != 0) {
            tooPrecise = true;
        }
    }
    if (!tooPrecise && intDigits <= 14 && (intDigits > 0 || fracDigits > 0) && i == t.size()) {
        for (int k = fracDigits; k < 4; ++k)
            fracUnits *= 10;
        units = units * Scale + fracUnits;
        good = true;
    } else {
        units = 0;
    }
    if (ok)
        *ok = good;
    return fromUnits(negative ? -units : units);
}

Money Money::fromVariant(const QVariant &value)
{
    if (value.isNull())
        return Money();
    if (value.metaType() == QMetaType::fromType<Money>())
        return value.value<Money>();
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return fromCrowns(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return fromDouble(value.toDouble());
    default: {
        bool ok = false;
        Money m = fromString(value.toString(), &ok);
        return ok ? m : fromDouble(value.toDouble());
    }
    }
}

QString Money::toSqlText() const
{
    const qint64 a = m_units < 0 ? -m_units : m_units;
    return QStringLiteral("%1%2.%3")
        .arg(m_units < 0 ? QStringLiteral("-") : QString())
        .arg(a / Scale)
        .arg(a % Scale, 4, 10, QChar(u'0'));
}

namespace {

const QChar GroupSeparator(0x00A0);

// The digits of |units| rounded to `decimals`, grouped when asked, with at least
// `minInt` integer digits; `optional` trailing decimals are dropped when zero.
QString formatNumber(qint64 units, int decimals, int optional, int minInt, bool grouping, bool *negative)
{
    const bool neg = units < 0;
    quint64 a = neg ? quint64(0) - quint64(units) : quint64(units);
    // Round from four decimals to the shown ones, halves away from zero.
    quint64 div = 1;
    for (int k = decimals; k < 4; ++k)
        div *= 10;
    if (div > 1)
        a = (a + div / 2) / div;
    quint64 fracScale = 1;
    for (int k = 4; k < decimals; ++k)
        a *= 10;
    for (int k = 0; k < decimals; ++k)
        fracScale *= 10;
    const quint64 whole = a / fracScale;
    quint64 frac = a % fracScale;
    *negative = neg && a != 0;

    QString intText = QString::number(whole);
    if (whole == 0 && minInt == 0)
        intText.clear();
    while (intText.size() < minInt)
        intText.prepend(u'0');
    if (grouping) {
        for (qsizetype i = intText.size() - 3; i > 0; i -= 3)
            intText.insert(i, GroupSeparator);
    }
    QString fracText = decimals > 0 ? QStringLiteral("%1").arg(frac, decimals, 10, QChar(u'0')) : QString();
    int drop = 0;
    while (drop < optional && fracText.endsWith(u'0')) {
        fracText.chop(1);
        ++drop;
    }
    if (fracText.isEmpty())
        return intText.isEmpty() ? QStringLiteral("0") : intText;
    return intText + u',' + fracText;
}

bool isPatternChar(QChar c)
{
    return c == u'#' || c == u'0' || c == u',' || c == u'.';
}

QString formatPattern(const QString &pattern, Money value)
{
    bool grouping = false, inFraction = false;
    int decimals = 0, optional = 0, minInt = 0;
    for (QChar c : pattern) {
        if (c == u',') {
            grouping = true;
        } else if (c == u'.') {
            inFraction = true;
        } else if (inFraction) {
            ++decimals;
            if (c == u'#')
                ++optional;
            else
                optional = 0; // a '0' after a '#' makes the earlier ones shown too
        } else if (c == u'0') {
            ++minInt;
        }
    }
    decimals = qMin(decimals, 4); // the precision money has
    bool negative = false;
    const QString digits = formatNumber(value.units(), decimals, optional, minInt, grouping, &negative);
    return negative ? u'-' + digits : digits;
}

} // namespace

QString FormatMoney(const QString &format, Money value)
{
    if (format.isEmpty())
        return formatPattern(QStringLiteral("0.####"), value);
    if (format.contains(QLatin1String("%m"))) {
        QString out = format;
        return out.replace(QLatin1String("%m"), formatPattern(QStringLiteral(",0.00"), value)
                                                    + QStringLiteral(" Kč"));
    }
    QString out;
    bool done = false;
    QChar quote;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                out += c;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (!done && isPatternChar(c)) {
            qsizetype j = i;
            while (j < format.size() && isPatternChar(format[j]))
                ++j;
            out += formatPattern(format.mid(i, j - i), value);
            done = true;
            i = j - 1;
        } else {
            out += c;
        }
    }
    return out;
}

QString FormatMoney(const QString &format, double value)
{
    return FormatMoney(format, Money::fromDouble(value));
}
