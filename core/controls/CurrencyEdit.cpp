#include "core/controls/CurrencyEdit.h"

#include "core/controls/ActionKeys.h"

#include <QValidator>

namespace {

// Lets through only texts that are, or can grow into, an amount in the edit's range.
class AmountValidator : public QValidator {
public:
    explicit AmountValidator(TCurrencyEdit *edit) : QValidator(edit), m_edit(edit) { }
    State validate(QString &input, int &) const override
    {
        input.replace(QLatin1Char('.'), QLatin1Char(','));
        Money value;
        bool partial = false;
        if (!m_edit->Parse(input, &value, &partial))
            return Invalid;
        return partial ? Intermediate : Acceptable;
    }

private:
    const TCurrencyEdit *m_edit;
};

// "1234,5" for typing: no groups, a decimal comma, two decimals at least and four at most.
QString EditText(Money value)
{
    const qint64 units = value.units();
    const quint64 a = units < 0 ? quint64(-units) : quint64(units);
    QString fraction = QStringLiteral("%1").arg(a % Money::Scale, 4, 10, QChar(u'0'));
    while (fraction.size() > 2 && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    return QStringLiteral("%1%2,%3")
        .arg(units < 0 ? QStringLiteral("-") : QString())
        .arg(a / Money::Scale)
        .arg(fraction);
}

} // namespace

TCurrencyEdit::TCurrencyEdit(QWidget *parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAcceptDrops(false);
    setValidator(new AmountValidator(this));
    connect(this, &QLineEdit::textEdited, this, &TCurrencyEdit::TextEdited);
    ShowValue();
}

bool TCurrencyEdit::Parse(const QString &text, Money *value, bool *partial) const
{
    *value = Money();
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QString digits = negative ? text.mid(1) : text;
    const qsizetype comma = digits.indexOf(QLatin1Char(','));
    const QString whole = comma < 0 ? digits : digits.left(comma);
    const QString fraction = comma < 0 ? QString() : digits.mid(comma + 1);
    for (const QString &part : {whole, fraction})
        for (QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
    if (fraction.size() > 4 || whole.size() > 10 || (negative && m_min >= Money()))
        return false;
    const bool isPartial = whole.isEmpty() && fraction.isEmpty();
    if (partial)
        *partial = isPartial || (comma >= 0 && fraction.isEmpty());
    if (isPartial)
        return true;
    bool ok = false;
    Money amount = Money::fromString(
        (whole.isEmpty() ? QStringLiteral("0") : whole) + QLatin1Char('.') + fraction, &ok);
    if (!ok)
        return false;
    if (negative)
        amount = -amount;
    if (amount < m_min || amount > m_max)
        return false;
    *value = amount;
    return true;
}

void TCurrencyEdit::SetValue(Money value)
{
    value = qBound(m_min, value, m_max);
    const bool changed = value != m_value;
    m_value = value;
    ShowValue();
    if (changed)
        emit valueChanged(m_value);
}

void TCurrencyEdit::SetRange(Money min, Money max)
{
    if (min > max)
        return;
    m_min = min;
    m_max = max;
    SetValue(m_value);
}

void TCurrencyEdit::SetDisplayFormat(const QString &format)
{
    m_displayFormat = format;
    ShowValue();
}

void TCurrencyEdit::ShowValue()
{
    setText(hasFocus() ? EditText(m_value) : FormatMoney(m_displayFormat, m_value));
}

void TCurrencyEdit::TextEdited(const QString &text)
{
    Money value;
    if (!Parse(text, &value))
        return;
    if (value != m_value) {
        m_value = value;
        emit valueChanged(m_value);
    }
}

bool TCurrencyEdit::event(QEvent *event)
{
    if (RefuseActionKeyOverride(this, event))
        return true;
    return QLineEdit::event(event);
}

void TCurrencyEdit::focusInEvent(QFocusEvent *event)
{
    ShowValue();
    QLineEdit::focusInEvent(event);
    selectAll();
}

void TCurrencyEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    ShowValue();
}
