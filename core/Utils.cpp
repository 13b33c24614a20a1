#include "core/Utils.h"

#include "core/Texts.h"

#include <cmath>

namespace {

// A piece of a birth number: its digits as a number, or -1 when it is not all digits.
int DigitsValue(const QString &piece)
{
    if (piece.isEmpty())
        return -1;
    int value = 0;
    for (QChar c : piece) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

std::function<bool()> &BarcodeProvider()
{
    static std::function<bool()> provider;
    return provider;
}

int &RequestedLayout()
{
    static int layout = 0;
    return layout;
}

QString Caption(const char *kind, qint64 number, const QString &name)
{
    return QStringLiteral("%1 (%2/%3)")
        .arg(QString::fromUtf8(kind), QString::number(number), TrimmedRight(name));
}

} // namespace

bool CheckBirthNumber(const QString &rc)
{
    if (rc.size() != 9 && rc.size() != 10)
        return false;
    const int yy = DigitsValue(rc.mid(0, 2));
    if (yy < 0)
        return false;
    if (yy <= 53 || rc.size() == 9)
        return true;
    const int mm = DigitsValue(rc.mid(2, 2));
    const int dd = DigitsValue(rc.mid(4, 2));
    const int x = DigitsValue(rc.mid(6, 4));
    if (mm < 0 || dd < 0 || x < 0)
        return false;
    return (yy + mm + dd + x) % 11 == 0;
}

QString JoinPath(const QString &fileName, const QString &folder)
{
    if (folder.isEmpty())
        return QString();
    if (folder.endsWith(QLatin1Char('/')))
        return folder + fileName;
    return folder + QLatin1Char('/') + fileName;
}

int DayOfWeekISO(const QDate &date)
{
    return date.dayOfWeek();
}

float TaxCoefficient(int rate)
{
    // In integers: floating point gives 0.1999 for 25 %.
    const qint64 divisor = qint64(rate) + 100;
    if (divisor <= 0)
        return 0.0f;  // no VAT rate gives it; never a division by zero
    return float(double(qint64(rate) * 10000 / divisor) / 10000.0);
}

float RoundMoney(float amount)
{
    // nearbyint rounds halves to even in the default rounding mode (qRound would not).
    return float(std::nearbyint(double(amount) * 100.0) / 100.0);
}

QString CustomerCaption(qint64 number, const QString &name)
{
    return Caption("Zákazník", number, name);
}

QString VideoCaption(qint64 number, const QString &title)
{
    return Caption("Video", number, title);
}

void SetBarcodeSettingProvider(std::function<bool()> provider)
{
    BarcodeProvider() = std::move(provider);
}

bool BarcodeSettingOn()
{
    return BarcodeProvider() && BarcodeProvider()();
}

void KeyboardEnglish()
{
    if (BarcodeSettingOn())
        RequestedLayout() = LayoutEnglish;
}

void KeyboardCzech()
{
    if (BarcodeSettingOn())
        RequestedLayout() = LayoutCzech;
}

int RequestedKeyboardLayout()
{
    return RequestedLayout();
}

QChar CzechNumberRowDigit(QChar c)
{
    static const QString row = QStringLiteral("+ěščřžýáíé");
    const qsizetype i = row.indexOf(c);
    if (i < 0)
        return c;
    return QLatin1Char("1234567890"[i]);
}
