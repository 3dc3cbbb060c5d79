#include "server/ServerStations.h"

#include "core/layout/SheetGeometry.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

namespace {

constexpr const char* Printers = "printers";
constexpr const char* Pdf = "pdf";

} // namespace

ServerStations::ServerStations(const QString& stateDir, const QString& adminStartFile)
    : m_stateDir(QDir::cleanPath(QFileInfo(stateDir).absoluteFilePath())),
      m_adminStartFile(adminStartFile)
{
}

QString ServerStations::folderName(const QString& name)
{
    QString folder;
    const QByteArray utf8 = name.toUtf8();
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || (c == '.' && i > 0);
        if (plain)
            folder += QLatin1Char(c);
        else
            folder += QStringLiteral("%%1").arg(uint(static_cast<unsigned char>(c)), 2, 16,
                                                QLatin1Char('0'));
    }
    return folder;
}

QString ServerStations::queueFolder(const QString& queue) const
{
    return QDir(m_stateDir)
        .filePath(QLatin1String(Printers) + QLatin1Char('/') + folderName(queue));
}

QString ServerStations::pdfFolder(const QString& tokenName) const
{
    return QDir(m_stateDir)
        .filePath(QLatin1String(Pdf) + QLatin1Char('/') +
                  (tokenName.isEmpty() ? QLatin1String(LocalName) : folderName(tokenName)));
}

QStringList ServerStations::existingFolders() const
{
    QStringList folders;
    for (const char* kind : {Printers, Pdf}) {
        const QDir dir(QDir(m_stateDir).filePath(QLatin1String(kind)));
        for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            folders << dir.filePath(name);
    }
    return folders;
}

bool ServerStations::owns(const QString& folder) const
{
    const QFileInfo info(QDir::cleanPath(folder));
    const QString parent = info.absolutePath();
    return info.fileName() != QLatin1String("..") &&
           (parent == QDir(m_stateDir).filePath(QLatin1String(Printers)) ||
            parent == QDir(m_stateDir).filePath(QLatin1String(Pdf)));
}

Station ServerStations::station(const QString& folder, const QString& tokenName) const
{
    return {QSysInfo::machineHostName(),
            tokenName.isEmpty() ? QString::fromLatin1(LocalName) : tokenName,
            QDir::cleanPath(QFileInfo(folder).absoluteFilePath())};
}

StartSettings ServerStations::defaultStart() const
{
    const StartFileReadResult admin = StartFile::read(m_adminStartFile);
    if (admin.status == StartFileReadResult::Ok)
        return admin.values;
    StartSettings start;
    start.horzOffsetIndex = SheetGeometry::OffsetZeroIndex;
    start.vertOffsetIndex = SheetGeometry::OffsetZeroIndex;
    start.startPosition = 1;
    return start;
}

ServerStations::Placement ServerStations::placement(const QString& folder) const
{
    Placement placement;
    const StartFileReadResult start = StartFile::read(StartFile::pathIn(folder));
    placement.configured = start.status != StartFileReadResult::Missing;
    if (start.status == StartFileReadResult::Ok)
        placement.start = start.values;
    else
        placement.start = defaultStart();
    if (start.status != StartFileReadResult::Ok && placement.configured)
        placement.problem = start.error;
    placement.start.startPosition = std::max(1, placement.start.startPosition);
    const StateFile::ReadResult state = StateFile::read(StateFile::pathIn(folder));
    if (state.status == StateFile::ReadResult::Ok)
        placement.scale = state.state.scale;
    return placement;
}
