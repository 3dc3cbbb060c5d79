// The commands on the registry of issued labels.

#include "cli/Commands.h"

#include "cli/Csv.h"
#include "core/io/RunFiles.h"
#include "core/job/Reprint.h"
#include "core/job/ReservedJobs.h"

#include <QCoreApplication>

namespace Cli {

namespace {

QString kindName(JobKind kind)
{
    return kind == JobKind::Reprint ? QStringLiteral("reprint") : QStringLiteral("labels");
}

QString stateName(JobState state)
{
    return state == JobState::Printed ? QStringLiteral("printed") : QStringLiteral("reserved");
}

// ISO 8601 in the local time, with its offset from UTC.
QString localTime(const QDateTime& time)
{
    const QDateTime local = time.toLocalTime();
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}

// Jobs as CSV, newest first.
void writeJobs(const QList<JobSummary>& jobs)
{
    QByteArray out =
        Csv::record({QStringLiteral("id"), QStringLiteral("time"), QStringLiteral("kind"),
                     QStringLiteral("state"), QStringLiteral("type"), QStringLiteral("first"),
                     QStringLiteral("last"), QStringLiteral("labels"), QStringLiteral("printer"),
                     QStringLiteral("station")});
    for (const JobSummary& job : jobs)
        out +=
            Csv::record({QString::number(job.id), localTime(job.reservedAt), kindName(job.kind),
                         stateName(job.state), QString::number(job.labelType), job.firstLabel,
                         job.lastLabel, QString::number(job.labelCount), job.printer, job.station});
    writeOut(out);
}

// A job of the registry, or nothing after a message.
std::optional<RegistryJob> jobOf(LabelRegistry& registry, qint64 id)
{
    std::optional<RegistryJob> job = registry.job(id);
    if (!job)
        report(registry.errorString());
    return job;
}

} // namespace

int history(const Arguments& a)
{
    return withRegistry(
        a, RegistrySetup::Use::Contact, [&a](const QString& dir, LabelRegistry& registry) {
            // A contact with the registry: jobs printed while it was away are
            // confirmed first, and the ones in question are named.
            RunFiles files(dir);
            QString error;
            const std::optional<QList<JobSummary>> unresolved =
                ReservedJobs::confirmPrinted(files, registry, Station::ofThisProcess(dir), &error);
            HistoryFilter filter;
            if (a.since.isValid())
                filter.since = a.since.startOfDay();
            filter.labelType = a.type;
            const std::optional<QList<JobSummary>> jobs = registry.history(filter);
            if (!jobs) {
                report(registry.errorString());
                return int(NotPrinted);
            }
            writeJobs(*jobs);
            if (unresolved)
                reportUnresolved(*unresolved);
            return int(Done);
        });
}

int find(const Arguments& a)
{
    // No label is longer; a longer text could only be a mistake.
    if (a.text.trimmed().size() > MaxLabelTextLength) {
        report(QCoreApplication::translate(
                   "Cli", "find: a label is at most %1 characters long (both lines and a space); "
                          "this text has %2")
                   .arg(MaxLabelTextLength)
                   .arg(a.text.trimmed().size()));
        return BadInput;
    }
    return withRegistry(a, RegistrySetup::Use::Read, [&a](const QString&, LabelRegistry& registry) {
        const std::optional<QList<JobSummary>> jobs = registry.find(a.text);
        if (!jobs) {
            report(registry.errorString());
            return int(NotPrinted);
        }
        writeJobs(*jobs);
        return int(Done);
    });
}

int labels(const Arguments& a)
{
    return withRegistry(a, RegistrySetup::Use::Read, [&a](const QString&, LabelRegistry& registry) {
        const std::optional<RegistryJob> job = jobOf(registry, a.job);
        if (!job)
            return int(BadInput);
        writeLabels(JobPlanning::placedLabels(*job));
        return int(Done);
    });
}

int reprint(const Arguments& a)
{
    QString queue;
    if (!a.pdf.isEmpty() && !outputWritable(a.pdf, "--pdf"))
        return NotPrinted;
    if (const int code = chooseQueue(a, queue))
        return code;
    return withRegistry(
        a, RegistrySetup::Use::Record, [&](const QString& dir, LabelRegistry& registry) {
            const std::optional<RegistryJob> job = jobOf(registry, a.job);
            if (!job)
                return int(BadInput);
            ReprintRequest request{*job, {}, a.start, printerOf(a, queue), std::nullopt, {}};
            if (const int chosen = chooseSheet(a, dir, request.sheet))
                return chosen;
            JobRefusal refusal;
            request.labels = Reprint::choose(*job, {a.sampleRange, a.labelTexts}, &refusal);
            if (request.labels.isEmpty()) {
                reportRefusal(refusal);
                return exitCodeOf(refusal);
            }
            const JobOutcome outcome = runJob(
                a, dir, registry, queue, request.sheet ? request.sheet->sheet : Sheet::builtIn(),
                [&request](const FolderSnapshot& folder) {
                    return JobPlanning::planReprint(request, folder);
                });
            const int code = finishJob(outcome, false);
            if (!outcome.printed())
                return code;
            const QList<PrintLogEntry>& printed = outcome.job.labels;
            writeOut(
                QStringLiteral("reprinted: %1 labels of job %2, %3 to %4\nstart position: %5\n")
                    .arg(printed.size())
                    .arg(a.job)
                    .arg(labelText(printed.first()), labelText(printed.last()))
                    .arg(outcome.start.startPosition)
                    .toUtf8());
            return code;
        });
}

int resolve(const Arguments& a)
{
    return withRegistry(a, RegistrySetup::Use::Record,
                        [&a](const QString& dir, LabelRegistry& registry) {
                            RunFiles files(dir);
                            QString error;
                            if (!ReservedJobs::settle(files, registry, a.job, *a.printed, &error)) {
                                report(error);
                                return int(NotPrinted);
                            }
                            return int(Done);
                        });
}

} // namespace Cli
