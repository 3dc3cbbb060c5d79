#pragma once

#include <QFile>
#include <QString>

#include <unistd.h>

// Makes a folder unwritable for the scope's lifetime. Tests run as root in
// CI, and root writes anywhere, so the scope also drops the effective user
// to "nobody" (root can take it back, its saved user id stays 0).
class ReadOnlyDir {
public:
    explicit ReadOnlyDir(const QString& path) : m_path(path)
    {
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                          QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        if (geteuid() == 0) {
            m_wasRoot = true;
            if (seteuid(65534) != 0)
                m_wasRoot = false;
        }
    }
    ~ReadOnlyDir()
    {
        if (m_wasRoot && seteuid(0) != 0)
            return;
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ReadOnlyDir(const ReadOnlyDir&) = delete;
    ReadOnlyDir& operator=(const ReadOnlyDir&) = delete;

private:
    QString m_path;
    bool m_wasRoot = false;
};
