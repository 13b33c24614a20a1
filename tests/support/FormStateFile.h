#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <utility>

// A fresh working folder for one test: "Valmedo4.ini" and the other files named without a
// folder go there. The previous working folder comes back when it goes.
class TemporaryWorkingFolder {
public:
    TemporaryWorkingFolder();
    ~TemporaryWorkingFolder();
    TemporaryWorkingFolder(const TemporaryWorkingFolder &) = delete;
    TemporaryWorkingFolder &operator=(const TemporaryWorkingFolder &) = delete;
    bool isValid() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// Replaces the form-state file of the working folder with `text`; false when it cannot.
bool WriteFormStateFile(const QString &text);
// "[section]" with "FormVersion=0" and the keys as given, lines ended by CR LF.
QString FormStateSection(const QString &section, const QList<std::pair<QString, QString>> &keys);
// The list section "[section.key]" with "Count" and "Item0", "Item1", ...
QString FormStateList(const QString &section, const QString &key, const QStringList &lines);
