#include "core/IniFile.h"

#include "core/Texts.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
constexpr qsizetype MaxValueLength = 2047;

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A value as the profile functions hand it out: one pair of surrounding quotes removed.
QString Unquoted(const QString &value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

QString SingleLine(QString value)
{
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}
} // namespace

IniFile::IniFile(const QString &fileName) : m_fileName(fileName) {}

bool IniFile::load()
{
    m_preamble.clear();
    m_sections.clear();
    m_unreadable = false;
    QFile file(m_fileName);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        m_unreadable = true;
        return false;
    }
    parse(DecodeText(file.readAll()));
    return true;
}

void IniFile::parse(const QString &text)
{
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast(); // the end of the last line, not a line of its own
    for (QString raw : lines) {
        if (raw.endsWith(u'\r'))
            raw.chop(1);
        const QString trimmed = raw.trimmed();
        if (trimmed.startsWith(u'[')) {
            qsizetype close = trimmed.indexOf(u']');
            if (close < 0)
                close = trimmed.size();
            m_sections.append(Section{raw, trimmed.mid(1, close - 1).trimmed(), {}});
            continue;
        }
        Line line{raw, {}, {}, false};
        const qsizetype equals = raw.indexOf(u'=');
        if (equals >= 0) {
            line.key = raw.left(equals).trimmed();
            line.value = raw.mid(equals + 1).trimmed();
            line.isKey = !line.key.isEmpty();
        }
        (m_sections.isEmpty() ? m_preamble : m_sections.back().lines).append(line);
    }
}

const IniFile::Section *IniFile::findSection(const QString &name) const
{
    for (const Section &s : m_sections)
        if (SameName(s.name, name))
            return &s;
    return nullptr;
}

IniFile::Section *IniFile::findSection(const QString &name)
{
    return const_cast<Section *>(std::as_const(*this).findSection(name));
}

const IniFile::Line *IniFile::findLine(const QString &section, const QString &key) const
{
    const Section *s = findSection(section);
    if (!s)
        return nullptr;
    for (const Line &line : s->lines)
        if (line.isKey && SameName(line.key, key))
            return &line;
    return nullptr;
}

bool IniFile::hasSection(const QString &section) const
{
    return findSection(section) != nullptr;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return findLine(section, key) != nullptr;
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    const Line *line = findLine(section, key);
    return line ? Unquoted(line->value).left(MaxValueLength) : defaultValue;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const QString text = SingleLine(value);
    Section *s = findSection(section);
    if (!s) {
        const bool separate = !m_sections.isEmpty() || !m_preamble.isEmpty();
        if (separate) {
            QList<Line> &last = m_sections.isEmpty() ? m_preamble : m_sections.back().lines;
            if (last.isEmpty() || !last.back().raw.trimmed().isEmpty())
                last.append(Line{});
        }
        m_sections.append(Section{u'[' + section + u']', section, {}});
        s = &m_sections.back();
    }
    for (Line &line : s->lines) {
        if (line.isKey && SameName(line.key, key)) {
            line.value = text.trimmed();
            line.raw = line.key + u'=' + text;
            return;
        }
    }
    // After the last key line, so that blank lines stay between the sections.
    qsizetype at = s->lines.size();
    while (at > 0 && s->lines.at(at - 1).raw.trimmed().isEmpty())
        --at;
    s->lines.insert(at, Line{key + u'=' + text, key, text.trimmed(), true});
}

void IniFile::eraseSection(const QString &section)
{
    m_sections.removeIf([&](const Section &s) { return SameName(s.name, section); });
}

void IniFile::save() const
{
    const QFileInfo info(m_fileName);
    const QString failure = QStringLiteral("Unable to write to %1").arg(info.fileName());
    // A file we could not read is never written over, nor is a read-only one replaced.
    if (m_unreadable || (info.exists() && !info.isWritable()))
        throw EIniFileError(failure);

    QString text;
    const auto put = [&text](const QString &line) {
        text += line;
        text += QStringLiteral("\r\n");
    };
    for (const Line &line : m_preamble)
        put(line.raw);
    for (const Section &s : m_sections) {
        put(s.header);
        for (const Line &line : s.lines)
            put(line.raw);
    }

    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EIniFileError(failure);
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw EIniFileError(failure);
}
