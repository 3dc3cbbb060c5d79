#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#include <sys/mount.h>
#include <unistd.h>

// A tiny tmpfs of its own, mounted for the scope's lifetime, that fill()
// makes full. Writes there fail as on a real full disk, which emulations
// (a file size limit, a fake device) do not reproduce. Mounting needs root;
// when it fails, skipReason() says why and the test should QSKIP.
class FullTmpfs {
public:
    explicit FullTmpfs(int kib = 16)
    {
        if (geteuid() != 0) {
            m_skipReason = QStringLiteral("needs root to mount a tmpfs");
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(kib) + "k";
        if (!m_dir.isValid() || ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(),
                                        "tmpfs", 0, options.constData()) != 0) {
            m_skipReason = QStringLiteral("cannot mount a tmpfs: %1").arg(std::strerror(errno));
            return;
        }
        m_mounted = true;
    }
    ~FullTmpfs()
    {
        // Lazily, so that a file a failed test left open cannot keep it.
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    // The system's reason a write failed here, as Qt words it in the
    // language in effect (Japanese once a window installed Qt's texts).
    static QString reason()
    {
        return QCoreApplication::translate("QIODevice", "No space left on device");
    }

    FullTmpfs(const FullTmpfs&) = delete;
    FullTmpfs& operator=(const FullTmpfs&) = delete;

    bool isMounted() const { return m_mounted; }
    QString skipReason() const { return m_skipReason; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

    // Takes every free block but `leaveKib` KiB with a file named "filler";
    // true once a write failed for lack of space.
    bool fill(int leaveKib = 0) const
    {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(4096, 'f');
        for (int i = 0; i < 1 << 20; ++i) {
            if (filler.write(block) != block.size())
                return filler.resize(filler.size() - 1024 * leaveKib);
        }
        return false;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_skipReason;
};
