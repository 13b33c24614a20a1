#include "core/Log.h"

#include "core/Messages.h"
#include "core/RunGlobals.h"
#include "core/Texts.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>

#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::function<quint32()> &TickSource()
{
    static std::function<quint32()> source;
    return source;
}

QPointer<TLog> &MainLogPointer()
{
    static QPointer<TLog> log;
    return log;
}

// The system's code of a failed open or read; Qt refuses a folder itself, without one.
QString ErrorCodeText(int code, const QString &fileName)
{
    if (code == 0 && QFileInfo(fileName).isDir())
        code = EISDIR;
    return QStringLiteral("Error [%1]...").arg(code);
}

// Writes all of `bytes` to `fd`; 0 or the system's error code.
int WriteAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR)
            return errno;
    }
    return 0;
}

// Rewrites an existing file in place, cut to its new length: the way left in a folder
// the desk may not write, where no new file can take the old one's place.
int WriteInPlace(const QByteArray &target, const QByteArray &bytes)
{
    const int fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int code = WriteAll(fd, bytes);
    if (code == 0 && ::ftruncate(fd, off_t(bytes.size())) != 0)
        code = errno;
    if (code == 0 && ::fsync(fd) != 0)
        code = errno;
    if (::close(fd) != 0 && code == 0)
        code = errno;
    return code;
}

bool NotPermitted(int code)
{
    return code == EACCES || code == EPERM;
}

// Writes `bytes` as the whole content of `fileName` without cutting the old content
// first: into a new file beside it, renamed over it once complete. Where the folder
// refuses the new file or the rename but the file itself may be written, the file is
// rewritten in place. 0, or the system's error code (with the old file left whole
// unless it was being rewritten in place).
int WriteWhole(const QString &fileName, const QByteArray &bytes)
{
    QFileInfo info(fileName);
    if (info.isSymLink())
        info = QFileInfo(info.symLinkTarget());  // the link stays, its target is replaced
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    struct stat old {};
    const bool existed = ::stat(target.constData(), &old) == 0;
    if (existed) {
        // A file that may not be written is not replaced behind its back either.
        const int fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            return errno;
        ::close(fd);
    }
    const QByteArray temp = target + ".tmp-"
        + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return existed && NotPermitted(errno) ? WriteInPlace(target, bytes) : errno;
    int code = WriteAll(fd, bytes);
    if (code == 0 && existed) {
        if (::fchmod(fd, old.st_mode & 07777) != 0)
            code = errno;
        // Only root can give another's file back to its owner; for anyone else the mode is kept.
        else if ((old.st_uid != geteuid() || old.st_gid != getegid())
                 && ::fchown(fd, old.st_uid, old.st_gid) != 0 && geteuid() == 0)
            code = errno;
    }
    if (code == 0 && ::fsync(fd) != 0)
        code = errno;
    if (::close(fd) != 0 && code == 0)
        code = errno;
    bool renameRefused = false;
    if (code == 0 && ::rename(temp.constData(), target.constData()) != 0) {
        code = errno;
        renameRefused = existed && NotPermitted(code);
    }
    if (code != 0)
        ::unlink(temp.constData());
    return renameRefused ? WriteInPlace(target, bytes) : code;
}

} // namespace

TLog::TLog(QObject *owner) : QObject(owner) {}

QString TLog::Stamped(const QString &text) const
{
    return DateTimeText(Now()) + QLatin1Char(' ') + text;
}

void TLog::Loaded()
{
    LoadLog();
}

void TLog::AddLog(const QString &text)
{
    m_lines.append(Stamped(text));
    SaveLog();
    emit OnChangeLog();
    emit OnAddLog(text);
}

void TLog::AppendLog(const QString &text)
{
    if (m_lines.isEmpty())
        m_lines.append(Stamped(text));
    else
        m_lines.last() += QLatin1Char(' ') + text;
    SaveLog();
    emit OnChangeLog();
}

void TLog::LimitLog(int count)
{
    const qsizetype keep = qMax(0, count);
    if (m_lines.size() > keep)
        m_lines.remove(0, m_lines.size() - keep);
    SaveLog();
    emit OnChangeLog();
}

void TLog::ShowLog(QListWidget *listBox) const
{
    if (!listBox)
        return;
    listBox->clear();
    listBox->addItems(m_lines);
    if (listBox->count() > 0)
        listBox->setCurrentRow(listBox->count() - 1);
}

void TLog::LoadLog()
{
    if (!QFileInfo::exists(LogFile))
        return;
    QFile file(LogFile);
    errno = 0;
    bool ok = file.open(QIODevice::ReadOnly);
    QByteArray bytes;
    if (ok) {
        bytes = file.readAll();
        ok = file.error() == QFileDevice::NoError;
    }
    if (!ok) {
        const int code = errno;
        m_unreadableFile = QFileInfo(LogFile).absoluteFilePath();
        emit OnErrorLog(QStringLiteral("Log soubor nelze nahrát..."), ErrorCodeText(code, LogFile));
        return;
    }
    QString text = DecodeText(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();  // the line break that ends the last line
    m_lines = lines;
    emit OnChangeLog();
}

void TLog::SaveLog()
{
    if (!LogSave)
        return;
    if (!m_unreadableFile.isEmpty() && QFileInfo(LogFile).absoluteFilePath() == m_unreadableFile)
        return;  // its lines were never read: writing would lose them

    QByteArray bytes;
    for (const QString &line : std::as_const(m_lines))
        bytes += line.toUtf8() + "\r\n";
    const int code = WriteWhole(LogFile, bytes);
    // One warning for a run of failed saves: every line would raise its own.
    if (code != 0 && !m_saveFailing)
        emit OnErrorLog(QStringLiteral("Log soubor nelze uložit..."), ErrorCodeText(code, LogFile));
    m_saveFailing = code != 0;
}

void TLog::AttachListBox(QListWidget *listBox)
{
    if (m_listBox)
        disconnect(this, &TLog::OnChangeLog, m_listBox, nullptr);
    m_listBox = listBox;
    if (!listBox)
        return;
    connect(this, &TLog::OnChangeLog, listBox, [this, listBox] { ShowLog(listBox); });
    ShowLog(listBox);
}

void TLog::AttachWarnings()
{
    if (m_warnings)
        return;
    m_warnings = true;
    connect(this, &TLog::OnErrorLog, this,
            [](const QString &warning, const QString &detail) {
                ShowWarning(false, warning, detail);
            });
}

void SetMainLog(TLog *log)
{
    MainLogPointer() = log;
}

TLog *MainLog()
{
    return MainLogPointer();
}

quint32 TickCount()
{
    if (TickSource())
        return TickSource()();
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return quint32(timer.elapsed());
}

void SetTickSource(std::function<quint32()> source)
{
    TickSource() = std::move(source);
}

QString ResultText(bool success)
{
    return success ? QStringLiteral("Ok") : QStringLiteral("Error");
}

QString TransactionLogText(const QString &name, quint32 startTick, const QVariant &number,
                           bool success)
{
    const quint32 duration = TickCount() - startTick;  // wraps as the counter does
    QString numberText = QStringLiteral("-");
    if (!number.isNull() && number.isValid()) {
        const QString decimal = number.toString().trimmed();
        bool ok = false;
        const qlonglong n = decimal.toLongLong(&ok);
        // A number always converts; should one not, its text is kept rather than lost.
        if (!ok) {
            numberText = decimal;
        } else {
            // At least 13 digits after the sign, as "%0.13d" writes them.
            const qulonglong magnitude = n < 0 ? 0 - qulonglong(n) : qulonglong(n);
            numberText = QStringLiteral("%1%2").arg(n < 0 ? QStringLiteral("-") : QString())
                             .arg(magnitude, 13, 10, QLatin1Char('0'));
        }
    }
    return QStringLiteral("Transakce [%1] [%2 ms] [%3] [%4]")
        .arg(name, QString::number(duration), numberText, ResultText(success));
}

void LogTransaction(const QString &name, quint32 startTick, const QVariant &number, bool success)
{
    if (TLog *log = MainLog())
        log->AddLog(TransactionLogText(name, startTick, number, success));
}

QString BackupLogText(const QString &kind, const QString &fileName, bool success)
{
    return QStringLiteral("Zálohování [%1] [%2] [%3]").arg(kind, fileName, ResultText(success));
}

void LogBackup(const QString &kind, const QString &fileName, bool success)
{
    if (TLog *log = MainLog())
        log->AddLog(BackupLogText(kind, fileName, success));
}
