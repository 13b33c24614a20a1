#include "support/FormStateFile.h"

#include "core/FormStorage.h"

#include <QDir>
#include <QFile>

TemporaryWorkingFolder::TemporaryWorkingFolder()
    : m_previous(QDir::currentPath())
{
    if (m_dir.isValid())
        QDir::setCurrent(m_dir.path());
}

TemporaryWorkingFolder::~TemporaryWorkingFolder()
{
    QDir::setCurrent(m_previous);
}

bool WriteFormStateFile(const QString &text)
{
    QFile file(FormStateFileName());
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

QString FormStateSection(const QString &section, const QList<std::pair<QString, QString>> &keys)
{
    QString text = QStringLiteral("[%1]\r\nFormVersion=0\r\n").arg(section);
    for (const auto &[key, value] : keys)
        text += key + u'=' + value + QStringLiteral("\r\n");
    return text;
}

QString FormStateList(const QString &section, const QString &key, const QStringList &lines)
{
    QString text = QStringLiteral("[%1.%2]\r\nCount=%3\r\n").arg(section, key).arg(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        text += QStringLiteral("Item%1=%2\r\n").arg(i).arg(lines.at(i));
    return text;
}
