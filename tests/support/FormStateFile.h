#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
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

// A dialog of type Form made for one test in a fresh working folder, so that it starts
// without a form-state file. The dialog goes before its folder: it saves as it is destroyed.
//
//     FormInWorkingFolder<TFormSetupPrint> m_form;   // init(): QVERIFY(m_form.make());
template <class Form> class FormInWorkingFolder {
public:
    // False when the folder cannot be made; no dialog is made then.
    bool make()
    {
        reset();
        m_folder = std::make_unique<TemporaryWorkingFolder>();
        if (!m_folder->isValid())
            return false;
        m_form = std::make_unique<Form>();
        return true;
    }
    void reset()
    {
        m_form.reset();
        m_folder.reset();
    }
    Form *get() const { return m_form.get(); }
    Form *operator->() const { return m_form.get(); }

private:
    std::unique_ptr<TemporaryWorkingFolder> m_folder;
    std::unique_ptr<Form> m_form;
};

// Replaces the form-state file of the working folder with `text`; false when it cannot.
bool WriteFormStateFile(const QString &text);
// "[section]" with "FormVersion=0" and the keys as given, lines ended by CR LF.
QString FormStateSection(const QString &section, const QList<std::pair<QString, QString>> &keys);
// The list section "[section.key]" with "Count" and "Item0", "Item1", ...
QString FormStateList(const QString &section, const QString &key, const QStringList &lines);
