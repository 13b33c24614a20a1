#pragma once
#include <QString>

// An advisory lock (flock) on a file, held while the object lives or until release().
// The lock belongs to this object's own open file, so two FileLocks conflict also
// inside one process, and the system drops it when the process dies: what a killed
// desk held is free again at once.
class FileLock {
public:
    enum Mode { Shared, Exclusive };

    FileLock() = default;
    ~FileLock() { release(); }
    FileLock(FileLock &&other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    FileLock &operator=(FileLock &&other) noexcept;
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Takes the lock without waiting; the file is created when missing. False when
    // another holder's lock is in the way; throws EDatabaseError when the file cannot
    // be opened. A lock held before is released first.
    bool tryLock(const QString &path, Mode mode);
    // Takes the lock on an empty file made for it (it must not exist yet), so that the
    // file is known to be in use from its first moment; throws when it cannot.
    void create(const QString &path);
    void release();
    bool isLocked() const { return m_fd >= 0; }

    // Whether anyone holds a lock on the file at this moment (false for a missing file).
    // It opens the file for a moment: never ask it of a file this process has open in
    // SQLite, whose own locks would go with the closing.
    static bool isHeld(const QString &path);

private:
    int m_fd = -1;
};
