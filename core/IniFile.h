#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <stdexcept>

// A failure to write a profile file: "Unable to write to %s" with the file's bare name.
class EIniFileError : public std::runtime_error {
public:
    explicit EIniFileError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// A plain Windows profile file: "[Section]" lines and "Key=Value" lines, nothing escaped.
// Reads and writes as the Windows profile functions do: section and key names in any
// letter case, a value returned without its surrounding blanks, without one pair of
// surrounding quotes (both " or both ') and at most 2047 characters long. Lines this
// class does not understand are kept as they are.
//
// The file is read as UTF-8, or as Windows-1250 when it is not valid UTF-8, with CR LF or
// LF line ends, and is written as UTF-8 with CR LF, replaced as a whole so that a failed
// write never leaves it half-written. Changes stay in memory until save().
class IniFile {
public:
    explicit IniFile(const QString &fileName);

    // Reads the file. A missing file reads as empty and is fine; false when the file
    // exists but cannot be read (save() then refuses, so it is never written over).
    bool load();
    QString fileName() const { return m_fileName; }

    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    bool hasKey(const QString &section, const QString &key) const;
    bool hasSection(const QString &section) const;
    // Writes the value as it stands; line breaks in it become blanks so that a value can
    // never start a line of its own. A new key goes to the end of its section, a new
    // section to the end of the file.
    void writeString(const QString &section, const QString &key, const QString &value);
    void eraseSection(const QString &section);

    // Writes the whole file; throws EIniFileError "Unable to write to %s" on failure.
    void save() const;

private:
    struct Line {
        QString raw;   // the line as read, used while the entry is unchanged
        QString key;   // trimmed key; empty for lines without "="
        QString value; // trimmed value
        bool isKey = false;
    };
    struct Section {
        QString header; // the "[...]" line as read or made
        QString name;
        QList<Line> lines;
    };

    void parse(const QString &text);
    const Line *findLine(const QString &section, const QString &key) const;
    Section *findSection(const QString &name);
    const Section *findSection(const QString &name) const;

    QString m_fileName;
    bool m_unreadable = false;
    QList<Line> m_preamble; // lines before the first section
    QList<Section> m_sections;
};
