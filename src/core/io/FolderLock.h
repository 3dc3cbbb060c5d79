#pragma once

#include <QString>

// An exclusive lock on a folder, held through a lock file in it. The lock is
// the system's lock on the open file, not the file's existence, so it ends
// with the process that holds it however that ends (a kill, a crash, a power
// cut): an empty or half-written lock file, or one left by a dead process,
// never blocks anybody. The file stays in the folder; its contents only name
// the holder for the message a waiting program shows.
class FolderLock {
public:
    explicit FolderLock(const QString& lockFilePath);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    enum class Result { Locked, Busy, NoFile };
    // Waits up to waitMs for the lock. NoFile: the lock file cannot be
    // opened or made (a read-only or full folder); *error says why.
    Result lock(int waitMs, QString* error);
    void unlock();
    bool isLocked() const { return m_fd >= 0; }

    // Who holds the lock, as its file names it: the application and process.
    struct Holder {
        QString application;
        qint64 pid = 0;
    };
    Holder holder() const;

private:
    QString m_path;
    int m_fd = -1;
};
