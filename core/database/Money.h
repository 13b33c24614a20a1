#pragma once
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QtGlobal>

// An amount of Czech crowns, exact to the ten-thousandth (the precision of the
// database's small money type). Never held in a double.
class Money {
public:
    static constexpr qint64 Scale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 units) { Money m; m.m_units = units; return m; }
    static constexpr Money fromCrowns(qint64 crowns) { return fromUnits(crowns * Scale); }
    // Rounds to the nearest ten-thousandth (halves away from zero).
    static Money fromDouble(double value);
    // Parses "123", "-12.5", "44.3500" exactly; false in *ok for anything else.
    static Money fromString(const QString &text, bool *ok = nullptr);
    // What a driver hands back: a NUMERIC as text, a REAL as double, an integer, or Money.
    static Money fromVariant(const QVariant &value);

    constexpr qint64 units() const { return m_units; }
    double toDouble() const { return double(m_units) / Scale; }
    // "123.4500": the exact text bound to a NUMERIC column.
    QString toSqlText() const;

    friend constexpr Money operator+(Money a, Money b) { return fromUnits(a.m_units + b.m_units); }
    friend constexpr Money operator-(Money a, Money b) { return fromUnits(a.m_units - b.m_units); }
    friend constexpr Money operator-(Money a) { return fromUnits(-a.m_units); }
    friend constexpr Money operator*(Money a, qint64 n) { return fromUnits(a.m_units * n); }
    friend constexpr Money operator*(qint64 n, Money a) { return fromUnits(a.m_units * n); }
    Money &operator+=(Money b) { m_units += b.m_units; return *this; }
    Money &operator-=(Money b) { m_units -= b.m_units; return *this; }
    friend constexpr auto operator<=>(Money a, Money b) = default;

private:
    qint64 m_units = 0;
};

Q_DECLARE_METATYPE(Money)

// Money as the desk shows it, always with Czech conventions whatever the machine's
// locale: decimal comma, U+00A0 between groups of thousands, "-" before the digits.
//
// The format is a display mask: its first run of '#', '0', ',' and '.' is the number
// pattern, everything else (and any text in double or single quotes) stays as written.
// In the pattern a ',' asks for thousands groups, the digits after '.' give the
// decimals ('0' always shown, '#' only when not zero) and the '0's before it the least
// count of integer digits. ",0.00" gives "1 234,50", ",0.00 Kč" gives "1 234,50 Kč".
// "%m" anywhere in the format stands for the amount in currency form, ",0.00" followed
// by " Kč" (" Celkem: %m" gives " Celkem: -1 234,50 Kč"). An empty format shows the
// amount with as many decimals as it needs ("44,35", "40").
// Rounding to the shown decimals goes half away from zero.
QString FormatMoney(const QString &format, Money value);
// A floating-point amount taken to the ten-thousandth first.
QString FormatMoney(const QString &format, double value);
