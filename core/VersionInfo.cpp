#include "core/VersionInfo.h"

#include "Version.h"

namespace {

// The translation of the resource: the language in the low 16 bits, the code page in
// the high ones ("040504E2": Czech, code page 1250).
quint32 translation()
{
    const QString t = QString::fromLatin1(VALMEDO_TRANSLATION);
    bool okLanguage = false;
    bool okCodePage = false;
    const quint32 language = t.left(4).toUInt(&okLanguage, 16);
    const quint32 codePage = t.mid(4, 4).toUInt(&okCodePage, 16);
    if (t.size() != 8 || !okLanguage || !okCodePage)
        return 0;
    return language | (codePage << 16);
}

QString stringTablePrefix(quint32 translation)
{
    return QStringLiteral("\\StringFileInfo\\%1%2\\")
        .arg(translation & 0xFFFF, 4, 16, QLatin1Char('0'))
        .arg(translation >> 16, 4, 16, QLatin1Char('0'));
}

} // namespace

QString QueryVersionValue(const QString &path)
{
    const quint32 t = translation();
    if (t == 0)
        return QString();
    const QString prefix = stringTablePrefix(t);
    // Entry names are matched without regard to letter case, as the resource does.
    if (!path.startsWith(prefix, Qt::CaseInsensitive))
        return QString();
    const QString key = path.mid(prefix.size());
    if (key.compare(QLatin1String("ProductName"), Qt::CaseInsensitive) == 0)
        return QString::fromUtf8(VALMEDO_PRODUCT_NAME);
    if (key.compare(QLatin1String("ProductVersion"), Qt::CaseInsensitive) == 0)
        return QString::fromUtf8(VALMEDO_PRODUCT_VERSION);
    return QString();
}

QString GetVersionInfo(const QString &key)
{
    const quint32 t = translation();
    if (t == 0 || key.isEmpty())
        return QString();
    return QueryVersionValue(stringTablePrefix(t) + key);
}
