#include "core/io/FolderLock.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <QElapsedTimer>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FolderLock::FolderLock(const QString& lockFilePath) : m_path(lockFilePath) {}

FolderLock::~FolderLock()
{
    unlock();
}

FolderLock::Result FolderLock::lock(int waitMs, QString* error)
{
    if (isLocked())
        return Result::Locked;
    const QByteArray name = QFile::encodeName(m_path);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return Result::NoFile;
    }
    QElapsedTimer waited;
    waited.start();
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited.elapsed() >= waitMs) {
            const int reason = errno;
            ::close(fd);
            if (reason != EWOULDBLOCK && reason != EINTR) {
                if (error)
                    *error = QString::fromLocal8Bit(std::strerror(reason));
                return Result::NoFile;
            }
            return Result::Busy;
        }
        QThread::msleep(20);
    }
    m_fd = fd;
    // Only for the message of whoever waits; a failure here changes nothing.
    const QByteArray who = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                           QCoreApplication::applicationName().toUtf8() + '\n';
    if (::ftruncate(fd, 0) == 0 && ::pwrite(fd, who.constData(), size_t(who.size()), 0) < 0) {
        // nothing to do: the lock holds without its note
    }
    return Result::Locked;
}

void FolderLock::unlock()
{
    if (m_fd < 0)
        return;
    // The note goes before the lock does, so it never names a past holder.
    if (::ftruncate(m_fd, 0) != 0) {
        // the next holder overwrites it
    }
    ::close(m_fd);
    m_fd = -1;
}

FolderLock::Holder FolderLock::holder() const
{
    Holder who;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return who;
    const QList<QByteArray> lines = file.read(4096).split('\n');
    who.pid = lines.value(0).trimmed().toLongLong();
    who.application = QString::fromUtf8(lines.value(1).trimmed());
    return who;
}
