#include "core/Money.h"

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
