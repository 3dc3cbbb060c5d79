#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A folder that stands in for the executable's folder, with or without a
// start file.
class TestAppDir {
public:
    explicit TestAppDir(const QByteArray* startFile = nullptr)
    {
        if (startFile)
            writeStartFile(*startFile);
    }

    QString path() const { return m_dir.path(); }
    QString startFilePath() const { return m_dir.filePath(QStringLiteral("start.txt")); }

    void writeStartFile(const QByteArray& bytes) const
    {
        QFile file(startFilePath());
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    QByteArray startFile() const
    {
        QFile file(startFilePath());
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

private:
    QTemporaryDir m_dir;
};

// 8 December 2026, 10:30 local time.
inline QDateTime fixedNow()
{
    return QDateTime(QDate(2026, 12, 8), QTime(10, 30));
}
