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
