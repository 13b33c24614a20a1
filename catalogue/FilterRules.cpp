#include "catalogue/FilterRules.h"

#include "core/Texts.h"

#include <QStringList>

bool HasStatementSeparator(const QString &sql)
{
    // Comments are skipped so that an apostrophe in one opens no quote.
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        const QChar next = i + 1 < sql.size() ? sql.at(i + 1) : QChar();
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar(); // a doubled quote closes and opens again
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            return true;
        } else if (c == u'-' && next == u'-') {
            const qsizetype end = sql.indexOf(u'\n', i);
            if (sql.mid(i, end < 0 ? -1 : end - i).contains(u';'))
                return true;
            if (end < 0)
                break;
            i = end;
        } else if (c == u'/' && next == u'*') {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            if (sql.mid(i, end < 0 ? -1 : end - i).contains(u';'))
                return true;
            if (end < 0)
                break;
            i = end + 1;
        }
    }
    return false;
}

QByteArray FilterFileBytes(const QString &memoText)
{
    QByteArray bytes;
    for (const QString &line : MemoLines(memoText)) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

QString FilterFileText(const QByteArray &bytes)
{
    QString text = DecodeText(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QString memo;
    for (const QString &line : MemoLines(text))
        memo += line + QLatin1Char('\n');
    return memo;
}
