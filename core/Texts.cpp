#include "core/Texts.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
// The decimal digits of a non-negative number, at least `width` of them. The texts are
// written digit by digit: toString() reads its format again at every call, and a list
// exported to a spreadsheet writes a date for every row.
void appendDigits(QString &text, int number, int width)
{
    char16_t digits[10];
    int n = 0;
    do {
        digits[n++] = char16_t(u'0' + number % 10);
        number /= 10;
    } while (number > 0);
    for (int i = n; i < width; ++i)
        text += u'0';
    while (n > 0)
        text += QChar(digits[--n]);
}
} // namespace

QString ShortDateText(const QDate &date)
{
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    if (!date.isValid() || year < 1 || year > 9999)
        return date.toString(QLatin1String(ShortDateFormat));
    QString text;
    text.reserve(10);
    appendDigits(text, day, 1);
    text += u'.';
    appendDigits(text, month, 1);
    text += u'.';
    appendDigits(text, year, 4);
    return text;
}

QString LongTimeText(const QTime &time)
{
    if (!time.isValid())
        return QString();
    QString text;
    text.reserve(8);
    appendDigits(text, time.hour(), 1);
    text += u':';
    appendDigits(text, time.minute(), 2);
    text += u':';
    appendDigits(text, time.second(), 2);
    return text;
}

QString DateTimeText(const QDateTime &moment)
{
    return ShortDateText(moment.date()) + QLatin1Char(' ') + LongTimeText(moment.time());
}

QDate DateFromShortText(const QString &text)
{
    return QDate::fromString(text.trimmed(), QLatin1String(ShortDateFormat));
}

QString DecodeWindows1250(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1250", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

QString DecodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return DecodeWindows1250(bytes);
}

std::optional<QByteArray> EncodeWindows1250(const QString &text)
{
    QStringEncoder encoder("windows-1250", QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    // A converter may put a substitute in place of a character it cannot map; only a
    // faithful round trip proves every character has its byte.
    if (encoder.hasError() || DecodeWindows1250(bytes) != text)
        return std::nullopt;
    return bytes;
}

QStringList MemoLines(const QString &text)
{
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
