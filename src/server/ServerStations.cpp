#include "server/ServerStations.h"

#include "core/io/AtomicFile.h"
#include "core/layout/SheetGeometry.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

namespace {

constexpr const char* Printers = "printers";
constexpr const char* Pdf = "pdf";
constexpr const char* Documents = "documents";

QString keptPdfPath(const QString& folder, qint64 jobId)
{
    return QDir(folder).filePath(
        QStringLiteral("%1/job-%2-labels.pdf").arg(QLatin1String(Documents)).arg(jobId));
}

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
    if (state.status == StateFile::ReadResult::Ok) {
        placement.scale = state.state.scale;
        placement.sheet = state.state.sheet;
    }
    return placement;
}

SheetChoice ServerStations::sheetOf(const QString& folder)
{
    const StateFile::ReadResult state = StateFile::read(StateFile::pathIn(folder));
    return state.status == StateFile::ReadResult::Ok ? state.state.sheet : SheetChoice();
}

bool ServerStations::prepare(const QString& folder, QString* error) const
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot make the folder %1").arg(folder);
        return false;
    }
    const QString start = StartFile::pathIn(folder);
    return QFileInfo::exists(start) || StartFile::write(start, defaultStart(), error);
}

std::shared_ptr<std::timed_mutex> ServerStations::gateOf(const QString& folder)
{
    const std::lock_guard lock(m_gatesMutex);
    std::shared_ptr<std::timed_mutex>& gate = m_gates[folder];
    if (!gate)
        gate = std::make_shared<std::timed_mutex>();
    return gate;
}

bool ServerStations::keepPdf(const QString& folder, qint64 jobId, const QByteArray& pdf,
                             QString* error) const
{
    const QDir documents(QDir(folder).filePath(QLatin1String(Documents)));
    if (!documents.exists() && !QDir().mkpath(documents.path())) {
        *error = QStringLiteral("cannot make the folder %1").arg(documents.path());
        return false;
    }
    // Old PDFs go at most once an hour: a busy station keeps thousands, and
    // looking at each of them at every job would slow every job down.
    const QDateTime now = QDateTime::currentDateTime();
    bool prune = false;
    {
        const std::lock_guard lock(m_prunedMutex);
        QDateTime& last = m_pruned[folder];
        prune = !last.isValid() || last.secsTo(now) >= 3600;
        if (prune)
            last = now;
    }
    const QDateTime oldest = now.addDays(-KeptPdfDays);
    const QFileInfoList kept =
        prune ? documents.entryInfoList({QStringLiteral("job-*-labels.pdf")}, QDir::Files)
              : QFileInfoList();
    for (const QFileInfo& file : kept)
        if (file.lastModified() < oldest)
            QFile::remove(file.filePath());
    return writeFileAtomically(keptPdfPath(folder, jobId), pdf, error);
}

std::optional<QByteArray> ServerStations::keptPdf(const QString& folder, qint64 jobId) const
{
    QFile file(keptPdfPath(folder, jobId));
    if (!owns(folder) || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}
