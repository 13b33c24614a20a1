#pragma once
#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <functional>

class QListWidget;

// The desk's running text log. Every line begins with the local date and time of the
// program's clock Now() ("d.M.yyyy H:mm:ss"), the whole file is written anew after every change (UTF-8, CR LF; an old
// Windows-1250 file still reads), and the owner mirrors the lines in a list box.
//
// A file that exists but cannot be read is never saved over during the run: its lines would
// be lost. The lines added meanwhile stay in memory and in the list box. A save that fails
// is reported once; the next report is of a failure after a save that succeeded.
class TLog : public QObject {
    Q_OBJECT

public:
    explicit TLog(QObject *owner = nullptr);

    QString LogFile = QStringLiteral("Log.log");
    bool LogSave = true;

    // The stored properties are set: loads the file.
    void Loaded();

    void AddLog(const QString &text);
    // Adds one blank and `text` to the last line (on an empty log, adds a new line).
    void AppendLog(const QString &text);
    // Removes lines from the beginning until at most `count` are left; always saves.
    void LimitLog(int count);
    void ShowLog(QListWidget *listBox) const;
    void LoadLog();
    void SaveLog();

    const QStringList &Lines() const { return m_lines; }
    int LogCount() const { return int(m_lines.size()); }
    int LogLastIndex() const { return LogCount() - 1; }

    // The main window's mirror: the list box shows all lines, the newest selected, after
    // every change (from now on, and at once).
    void AttachListBox(QListWidget *listBox);
    // The main window's error handler: a load or save error becomes a warning window.
    void AttachWarnings();

signals:
    void OnChangeLog();
    void OnAddLog(const QString &Log);
    void OnErrorLog(const QString &TextWarning, const QString &TextDetail);

private:
    QString Stamped(const QString &text) const;

    QStringList m_lines;
    QPointer<QListWidget> m_listBox;
    QString m_unreadableFile;  // a file whose load failed: never written over
    bool m_saveFailing = false; // the last save failed and was reported
    bool m_warnings = false;
};

// The main window's log, which LogTransaction and LogBackup write to; none until it is set.
void SetMainLog(TLog *log);
TLog *MainLog();

// The system's millisecond tick count (monotonic, wraps at 2^32), taken by a caller when its
// transaction begins.
quint32 TickCount();
// Tests fix the ticks; an empty function puts the real counter back.
void SetTickSource(std::function<quint32()> source);

// "Ok" for true, "Error" for false.
QString ResultText(bool success);

// "Transakce [name] [n ms] [0000000000042] [Ok]"; "[-]" in place of a null number.
QString TransactionLogText(const QString &name, quint32 startTick, const QVariant &number,
                           bool success);
void LogTransaction(const QString &name, quint32 startTick, const QVariant &number, bool success);

// "Zálohování [kind] [file] [Ok]"; kind "Denní" (daily, at closing) or "Okamžité".
QString BackupLogText(const QString &kind, const QString &fileName, bool success);
void LogBackup(const QString &kind, const QString &fileName, bool success);
