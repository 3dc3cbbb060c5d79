#include "cli/CommandSupport.h"

#include "core/io/AtomicFile.h"
#include "core/io/RunFiles.h"
#include "core/io/StateLocation.h"
#include "core/job/ReservedJobs.h"
#include "core/registry/RegistrySetup.h"
#include "print/PrintQueue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Cli {

// Labels are laid out from the corner of the printable area, as the
// window's are: the page's margins are the device's minimum margins (none on
// a PDF).
const QMarginsF MinimumMargins(0, 0, 0, 0);


QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

void writeOut(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}


QString stateDirOf(const Arguments& a)
{
    if (!a.stateDir.isEmpty())
        return a.stateDir;
    const StateLocation::Result location =
        StateLocation::decide(StateLocation::Inputs::ofThisProgram());
    if (!location.error.isEmpty())
        report(location.error);
    else if (location.created)
        report(StateLocation::createdNotice() + QLatin1Char('\n') +
               StateLocation::createdDetail(location));
    return location.dir;
}


// The folder's files read under its lock, so that a job running elsewhere
// is seen either wholly before or wholly after.
int readFolder(const QString& dir, FolderSnapshot& snapshot)
{
    if (!QFileInfo(dir).isDir()) {
        report(QCoreApplication::translate("Cli", "state folder not found: %1").arg(shown(dir)));
        return BadInput;
    }
    RunFiles files(dir);
    QString error;
    if (!files.lock(&error)) {
        report(error);
        return NotPrinted;
    }
    removeStaleTemporaries(dir, {StartFile::FileName, QString::fromLatin1(StateFile::FileName)},
                           files.isLocked());
    snapshot.start = StartFile::read(files.startPath());
    snapshot.state = StateFile::read(files.statePath());
    return Done;
}


// A file the job writes, checked before anything prints: its folder must be
// there and writable.
bool outputWritable(const QString& path, const char* option)
{
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (info.isDir() || !folder.isDir() || !folder.isWritable() ||
        (info.exists() && !info.isWritable())) {
        report(QCoreApplication::translate("Cli", "%1: cannot write %2")
                   .arg(QLatin1String(option), shown(path)));
        return false;
    }
    return true;
}

PrintDestination labelDestination(const Arguments& a, const QString& queue)
{
    PrintDestination destination;
    destination.title = QStringLiteral("Rondelmaker labels");
    destination.layout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, MinimumMargins,
                                     QPageLayout::Point);
    if (!a.pdf.isEmpty()) {
        destination.kind = PrintDestination::Kind::PdfFile;
        destination.pdfFile = QFileInfo(a.pdf).absoluteFilePath();
        return destination;
    }
    destination.kind = PrintDestination::Kind::Queue;
    destination.queue = queue;
    const QPageLayout layout = PrintQueue::defaultPageLayout(queue, MinimumMargins);
    if (layout.isValid())
        destination.layout = layout;
    // A duplex default would put the next sheet on the back of this one.
    destination.options.emplace_back("sides", "one-sided");
    return destination;
}


// The print queue, unless the labels go into a PDF file.
int chooseQueue(const Arguments& a, QString& queue)
{
    queue = a.printer;
    if (a.pdf.isEmpty() && queue.isEmpty()) {
        queue = PrintQueue::defaultQueue();
        if (queue.isEmpty()) {
            report(QCoreApplication::translate(
                "Cli", "no default printer: give --printer NAME or --pdf FILE"));
            return NotPrinted;
        }
    }
    return Done;
}


void report(const QString& message)
{
    QString text = QStringLiteral("rondelmaker-cli: ") + message;
    text.replace(QLatin1Char('\n'), QLatin1String("\n  "));
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stderr);
}

int openRegistry(const Arguments& a, const QString& dir, RegistryUse use,
                 std::unique_ptr<SqlRegistry>& registry)
{
    const RegistrySetup::Choice choice = RegistrySetup::choose(dir, a.registry);
    if (!choice.error.isEmpty()) {
        report(choice.error);
        return BadInput;
    }
    RegistryTarget target = choice.target;
    target.readOnly = use == RegistryUse::Read;
    // A command that only reads leaves a folder without a registry as it is:
    // it reads an empty one. A file whose folder is not there is no registry
    // at all, as for a job.
    if (use != RegistryUse::Record && target.backend == RegistryTarget::Backend::SQLite &&
        !QFileInfo::exists(target.file) && QFileInfo(target.file).absoluteDir().exists()) {
        target.file = QStringLiteral(":memory:");
        target.readOnly = false;
    }
    registry = RegistrySetup::open(target, dir, use == RegistryUse::Record);
    if (!registry->isOpen() && registry->isEmpty() && use != RegistryUse::Record) {
        // A server database without the tables yet reads as empty too.
        target.backend = RegistryTarget::Backend::SQLite;
        target.file = QStringLiteral(":memory:");
        target.readOnly = false;
        registry = RegistrySetup::open(target, dir);
    }
    if (!registry->isOpen()) {
        // No private numbering to fall back on: without the registry
        // nothing numbered is printed.
        report(QCoreApplication::translate("Cli", "ラベル台帳を開けません。\n%1\n%2")
                   .arg(registry->location(), registry->errorString()));
        registry.reset();
        return NotPrinted;
    }
    return Done;
}

void reportNotes(LabelRegistry& registry)
{
    for (const QString& note : registry.takeNotes())
        report(note);
}

void reportUnresolved(const QList<JobSummary>& jobs)
{
    for (const JobSummary& job : jobs)
        report(ReservedJobs::describe(job) +
               QCoreApplication::translate("Cli",
                                           "\nIts labels count as issued. Say what happened with "
                                           "rondelmaker-cli resolve %1 printed|not-printed")
                   .arg(job.id));
}

SheetGeometry::Offsets placement(const StartSettings& start, const SavedState& saved)
{
    SheetGeometry::Offsets offsets = start.offsets();
    offsets.scaleX = saved.scale.x;
    offsets.scaleY = saved.scale.y;
    return offsets;
}

} // namespace Cli
