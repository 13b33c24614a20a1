#include "core/database/FileLock.h"

#include "core/database/Errors.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const QString &path, int code)
{
    throw EDatabaseError(QStringLiteral("Soubor %1 nelze otevřít: %2")
                             .arg(path, QString::fromLocal8Bit(std::strerror(code))));
}

} // namespace

FileLock &FileLock::operator=(FileLock &&other) noexcept
{
    if (this != &other) {
        release();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

bool FileLock::tryLock(const QString &path, Mode mode)
{
    release();
    // Read access is enough for flock; a folder others may only read still works.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        fail(path, errno);
    if (::flock(fd, (mode == Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        const int code = errno;
        ::close(fd);
        if (code == EWOULDBLOCK)
            return false;
        fail(path, code);
    }
    m_fd = fd;
    return true;
}

void FileLock::create(const QString &path)
{
    release();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        fail(path, errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        ::close(fd);
        fail(path, code);
    }
    // Another desk clearing leftovers may have removed the file between its making and
    // the lock: then the name no longer leads to the locked file.
    struct stat own, named;
    if (::fstat(fd, &own) != 0 || ::stat(QFile::encodeName(path).constData(), &named) != 0
        || own.st_ino != named.st_ino || own.st_dev != named.st_dev) {
        ::close(fd);
        throw EDatabaseError(QStringLiteral("Soubor %1 byl odstraněn").arg(path));
    }
    m_fd = fd;
}

void FileLock::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool FileLock::isHeld(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}
