#include "core/Texts.h"

#include <QStringDecoder>
#include <QStringEncoder>

QString ShortDateText(const QDate &date)
{
    return date.toString(QLatin1String(ShortDateFormat));
}

QString LongTimeText(const QTime &time)
{
    return time.toString(QLatin1String(LongTimeFormat));
}

QString DateTimeText(const QDateTime &moment)
{
    return ShortDateText(moment.date()) + QLatin1Char(' ') + LongTimeText(moment.time());
}

QDate DateFromShortText(const QString &text)
{
    return QDate::fromString(text.trimmed(), QLatin1String(ShortDateFormat));
}

QString TrimmedRight(const QString &text)
{
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == u' ')
        --n;
    return n == text.size() ? text : text.left(n);
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
