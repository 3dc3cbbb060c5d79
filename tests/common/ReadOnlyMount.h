#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#include <sys/mount.h>
#include <unistd.h>

// A read-only view of a folder, bind-mounted for the scope's lifetime:
// writes there fail with EROFS as on a real read-only file system, for
// root too. Needs root; when it fails, skipReason() says why.
class ReadOnlyMount {
public:
    explicit ReadOnlyMount(const QString& source)
    {
        if (geteuid() != 0) {
            m_skipReason = QStringLiteral("needs root to bind-mount a folder");
            return;
        }
        const QByteArray from = QFile::encodeName(source);
        const QByteArray to = QFile::encodeName(m_dir.path());
        if (::mount(from.constData(), to.constData(), nullptr, MS_BIND, nullptr) != 0) {
            m_skipReason = QStringLiteral("cannot bind-mount: %1").arg(std::strerror(errno));
            return;
        }
        m_mounted = true;
        if (::mount(nullptr, to.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
            0)
            m_skipReason = QStringLiteral("cannot make it read-only: %1").arg(std::strerror(errno));
    }
    ~ReadOnlyMount()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    ReadOnlyMount(const ReadOnlyMount&) = delete;
    ReadOnlyMount& operator=(const ReadOnlyMount&) = delete;

    bool isReady() const { return m_mounted && m_skipReason.isEmpty(); }
    QString skipReason() const { return m_skipReason; }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_skipReason;
};
