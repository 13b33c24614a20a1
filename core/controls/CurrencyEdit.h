#pragma once
#include "core/database/Money.h"

#include <QLineEdit>

// A one-line edit for an amount of money. Without the focus it shows the value in its
// display format (",0.00": "1 234,50"); with the focus it shows the plain number
// ("1234,50") for typing. The keyboard can only produce amounts within MinValue and
// MaxValue, with at most four decimals (the precision of the database's small money);
// "," and "." both type the decimal comma. The value is Money, never a double.
//
// valueChanged() is sent when the amount changes, by typing or by SetValue(), not when
// the text is only shown in the other form as the focus comes and goes.
class TCurrencyEdit : public QLineEdit {
    Q_OBJECT
public:
    // The range of the database's small money columns.
    static constexpr Money SmallMoneyMin = Money::fromUnits(-2147483648LL);
    static constexpr Money SmallMoneyMax = Money::fromUnits(2147483647LL);

    explicit TCurrencyEdit(QWidget *parent = nullptr);

    Money Value() const { return m_value; }
    // Held to MinValue and MaxValue.
    void SetValue(Money value);
    Money MinValue() const { return m_min; }
    Money MaxValue() const { return m_max; }
    // The value is held to the new range at once.
    void SetRange(Money min, Money max);
    QString DisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const QString &format);

    // Whether `text` (as typed: optional "-", digits, one decimal comma, at most four
    // decimals) is an amount within the range; `value` receives it. An empty text, a
    // lone "-" or a trailing comma are partial amounts: *partial is set and the value is 0.
    bool Parse(const QString &text, Money *value, bool *partial = nullptr) const;

signals:
    void valueChanged(Money value);

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void ShowValue();
    void TextEdited(const QString &text);

    Money m_value;
    Money m_min = SmallMoneyMin;
    Money m_max = SmallMoneyMax;
    QString m_displayFormat = QStringLiteral(",0.00");
};
