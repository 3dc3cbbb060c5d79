#include "core/io/AtomicFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace {

QString reasonOf(const QSaveFile& file)
{
    // A device that stopped without an error of its own would only say
    // "Unknown error".
    if (file.error() == QFileDevice::NoError)
        return QStringLiteral("the data could not be written completely");
    return file.errorString();
}

} // namespace

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    auto fail = [&](const QString& reason) {
        file.cancelWriting();
        if (error)
            *error = reason;
        return false;
    };
    // Unbuffered, so that every write reaches the file here, where its
    // failure is seen, and not inside commit(), which renames regardless.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    qint64 written = 0;
    while (written < bytes.size()) {
        // A short write is retried, so the next one reports why it stopped.
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            return fail(reasonOf(file));
        written += n;
    }
    if (!file.flush())
        return fail(reasonOf(file));
    // Some file systems report a lack of space only when the data is synced.
    if (::fsync(file.handle()) != 0 && errno != EINVAL)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (!file.commit()) {
        if (error)
            *error = reasonOf(file);
        return false;
    }
    return true;
}

void removeStaleTemporaries(const QString& dir, const QStringList& savedNames, bool folderLocked)
{
    if (savedNames.isEmpty())
        return;
    const QDateTime oldest = QDateTime::currentDateTimeUtc().addSecs(-60);
    QStringList patterns;
    for (const QString& name : savedNames)
        patterns << QRegularExpression::escape(name);
    const QRegularExpression temporary(
        QStringLiteral("\\A(?:%1)\\.[A-Za-z0-9]{6}\\z").arg(patterns.join(QLatin1Char('|'))));

    const QFileInfoList entries =
        QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::NoSort);
    for (const QFileInfo& entry : entries) {
        if (!temporary.match(entry.fileName()).hasMatch() || entry.isSymLink() || !entry.isFile())
            continue;
        if (folderLocked || entry.lastModified().toUTC() < oldest)
            QFile::remove(entry.filePath());
    }
}
