#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class IniFile;
class QWidget;

// The form-state file "Valmedo4.ini" in the working folder: one section per storing
// window, a key "Control_Property" per stored property, a list property in a section
// of its own ("Section.Control_Property" with "Count" and "Item0", "Item1", ...), and
// the main window's placement.
QString FormStateFileName(); // absolute path of "Valmedo4.ini" in the working folder

// The storage of one window. Keep it as a member of the form (not as a child object),
// so that it is destroyed while the form's controls still exist:
//
//     TFormStorage FormStorage{this, QStringLiteral("Backup"),
//                              {"CheckBoxBackupDay.Checked", "EditBackupPathDay.Text"}};
//
// Stored properties are written "Control.Property" with the control's objectName. The
// control offers the property as a Qt property named with a lower-case first letter
// ("checked", "value", "text", "colorValue", "items", "lines"), or as the usual Qt
// equivalent: PageIndex is currentIndex, Text of a combo box its currentText,
// ColorValue a QColor "color", Items the lines of a QListWidget, Lines those of a
// QPlainTextEdit or QTextEdit.
//
// An active storage restores as its window is about to be shown (before the window's
// own show handler), saves when the window has closed (also a modal dialog by Ok,
// Cancel or the close box; a close the window refused saves nothing) and, at the
// window's destruction, saves when it has not since its last restore. Errors of those
// automatic saves are reported and the window carries on. An inactive storage saves and
// restores only when called; the explicit Save() throws EIniFileError.
class TFormStorage : public QObject {
    Q_OBJECT
public:
    TFormStorage(QWidget *form, const QString &section, const QStringList &storedProps,
                 bool active = true, bool placement = false);
    ~TFormStorage() override;

    void Restore();
    void Save();

    QString section() const { return m_section; }
    QStringList storedProps() const { return m_storedProps; }
    // The keys of the stored properties, "Control_Property".
    QStringList storedKeys() const;
    // The stored properties that name no control of the window, or a property the control
    // does not offer: they are neither saved nor restored.
    QStringList unresolvedProps() const;
    bool active() const { return m_active; }
    bool placement() const { return m_placement; }
    int version() const { return m_version; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void save(bool destroying);
    void autoSave(bool destroying);
    void savePlacement(IniFile &ini, bool destroying) const;
    void restorePlacement(const IniFile &ini);
    void saveProperty(IniFile &ini, const QString &stored) const;
    void restoreProperty(const IniFile &ini, const QString &stored);

    QPointer<QWidget> m_form;
    QString m_section;
    QStringList m_storedProps;
    bool m_active;
    bool m_placement;
    int m_version = 0;
    bool m_restored = false; // restored once since the window was created
    bool m_saved = false;    // saved since the last restore
    // The platform's placement numbers, kept as read.
    QString m_flags = QStringLiteral("0");
    QString m_minMaxPos = QStringLiteral("-1,-1,-1,-1");
};
