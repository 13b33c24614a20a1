#include "core/database/Padding.h"

QString TrimmedRight(const QString &text)
{
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == u' ')
        --n;
    return n == text.size() ? text : text.left(n);
}
