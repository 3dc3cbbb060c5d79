#include "cli/CommandSupport.h"

#include "cli/Csv.h"
#include "core/io/AtomicFile.h"
#include "core/io/RunFiles.h"
#include "core/io/StateLocation.h"
#include "core/job/ReservedJobs.h"
#include "core/registry/RegistrySetup.h"
#include "print/PdfDocumentCanvas.h"
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

void writeLabels(const QList<PlacedLabel>& labels)
{
    QByteArray out =
        Csv::record({QStringLiteral("sheet"), QStringLiteral("position"), QStringLiteral("sample"),
                     QStringLiteral("repeat"), QStringLiteral("upper"), QStringLiteral("lower")});
    for (const PlacedLabel& label : labels)
        out += Csv::record({QString::number(label.sheet), QString::number(label.position),
                            QString::number(label.sample), QString::number(label.repeat),
                            label.upper, label.lower});
    writeOut(out);
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
    RunFiles files(dir);
    QString error;
    const std::optional<FolderSnapshot> taken =
        FolderSnapshot::take(files, snapshot.registry, &error);
    if (!taken) {
        report(error);
        return NotPrinted;
    }
    snapshot = *taken;
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

PrintDestination labelDestination(const Arguments& a, const QString& queue, const Sheet& sheet)
{
    PrintDestination destination;
    destination.title = QStringLiteral("Rondelmaker labels");
    destination.layout = sheet.pageLayout(MinimumMargins);
    if (!a.pdf.isEmpty()) {
        destination.kind = PrintDestination::Kind::PdfFile;
        destination.pdfFile = QFileInfo(a.pdf).absoluteFilePath();
        return destination;
    }
    destination.kind = PrintDestination::Kind::Queue;
    destination.queue = queue;
    // The built-in sheet is laid out on the queue's own paper, as it always
    // was; any other sheet on its paper, within the queue's printable area.
    const QPageLayout layout = PrintQueue::defaultPageLayout(queue, MinimumMargins);
    if (layout.isValid())
        destination.layout =
            sheet.isBuiltIn() ? layout : sheet.pageLayout(layout.margins(QPageLayout::Point));
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

int withRegistry(const Arguments& a, RegistrySetup::Use use, const RegistryCommand& command)
{
    const QString dir = stateDirOf(a);
    if (!QFileInfo(dir).isDir()) {
        report(QCoreApplication::translate("Cli", "state folder not found: %1").arg(shown(dir)));
        return BadInput;
    }
    const RegistrySetup::Choice choice = RegistrySetup::choose(dir, a.registry);
    if (!choice.error.isEmpty()) {
        report(choice.error);
        return BadInput;
    }
    const std::unique_ptr<LabelRegistry> registry = RegistrySetup::openFor(use, choice.target, dir);
    if (!registry->isOpen()) {
        // No private numbering to fall back on: without the registry
        // nothing numbered is printed.
        report(QCoreApplication::translate("Cli", "ラベル台帳を開けません。\n%1\n%2")
                   .arg(registry->location(), registry->errorString()));
        return NotPrinted;
    }
    return command(dir, *registry);
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

QString printerOf(const Arguments& a, const QString& queue)
{
    return a.pdf.isEmpty() ? queue : shown(a.pdf);
}

void reportRefusal(const JobRefusal& refusal)
{
    using Reason = JobRefusal::Reason;
    // The options that give what the refusal concerns.
    const char* option = nullptr;
    switch (refusal.reason) {
    case Reason::NoSamplesForType:
        option = "--samples";
        break;
    case Reason::NoNumberForType:
    case Reason::FirstOutOfRange:
        option = "--first";
        break;
    case Reason::NoFreeTextsForType:
        option = "--free-texts";
        break;
    case Reason::StartOutOfRange:
        option = "--start";
        break;
    default:
        break;
    }
    QString text = refusal.fullText();
    if (option)
        text = QLatin1String(option) + QLatin1String(": ") + text;
    if (refusal.reason == Reason::FreeTextsMissing)
        text += QCoreApplication::translate("Cli", "（--free-texts FILE）");
    if (refusal.reason == Reason::NumberingLost && refusal.input == QLatin1String("first"))
        text += QCoreApplication::translate("Cli", "\nGive the first number with --first N.");
    report(text);
}

int exitCodeOf(const JobRefusal& refusal)
{
    return refusal.reason == JobRefusal::Reason::Registry ? NotPrinted : BadInput;
}

JobOutcome runJob(const Arguments& a, const QString& dir, LabelRegistry& registry,
                  const QString& queue, const Sheet& sheet, const JobTransaction::Planner& plan)
{
    RunFiles files(dir);
    PdfDocumentCanvas canvas(labelDestination(a, queue, sheet));
    SheetProgress progress;
    JobTransaction transaction(files, registry, Station::ofThisProcess(dir),
                               DateStamp::systemClock());
    const JobOutcome outcome = transaction.run(
        canvas, plan, [&a](const QList<IssuedLabel>&) { return a.allowDuplicates; },
        [&progress](int number, int sheets) { progress.show(number, sheets); });
    progress.end();
    return outcome;
}

int finishJob(const JobOutcome& outcome, bool nameUnresolved)
{
    for (const QString& note : outcome.notes)
        report(note);
    if (nameUnresolved)
        reportUnresolved(outcome.unresolved);
    switch (outcome.status) {
    case JobOutcome::Status::Printed:
        if (!outcome.message.isEmpty())
            report(outcome.message);
        return outcome.unconfirmed ? NotSaved : Done;
    case JobOutcome::Status::Withdrawn:
        reportRefusal(outcome.refusal);
        return exitCodeOf(outcome.refusal);
    case JobOutcome::Status::Declined:
        report(outcome.message +
               QCoreApplication::translate("Cli", "\nNothing printed; --allow-duplicates prints "
                                                  "them again."));
        return IssuedBefore;
    case JobOutcome::Status::NotPrinted:
        break;
    }
    if (!outcome.message.isEmpty())
        report(outcome.message);
    return NotPrinted;
}

} // namespace Cli
