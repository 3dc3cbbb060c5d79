// The commands on the registry of issued labels.

#include "cli/Commands.h"

#include "cli/Csv.h"
#include "core/io/RunFiles.h"
#include "core/job/Reprint.h"
#include "core/job/ReservedJobs.h"
#include "core/layout/SheetLayout.h"
#include "print/PdfDocumentCanvas.h"

#include <QCoreApplication>
#include <QFileInfo>

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
    QByteArray out = Csv::record({QStringLiteral("id"), QStringLiteral("time"),
                                  QStringLiteral("kind"), QStringLiteral("state"),
                                  QStringLiteral("type"), QStringLiteral("first"),
                                  QStringLiteral("last"), QStringLiteral("labels"),
                                  QStringLiteral("printer"), QStringLiteral("station")});
    for (const JobSummary& job : jobs)
        out += Csv::record({QString::number(job.id),
                            localTime(job.reservedAt),
                            kindName(job.kind), stateName(job.state),
                            QString::number(job.labelType), job.firstLabel, job.lastLabel,
                            QString::number(job.labelCount), job.printer, job.station});
    writeOut(out);
}

// The registry of the state folder, or an exit code after a message.
int registryOf(const Arguments& a, QString& dir, RegistryUse use,
               std::unique_ptr<SqlRegistry>& registry)
{
    dir = stateDirOf(a);
    if (!QFileInfo(dir).isDir()) {
        report(QCoreApplication::translate("Cli", "state folder not found: %1").arg(shown(dir)));
        return BadInput;
    }
    return openRegistry(a, dir, use, registry);
}

std::optional<RegistryJob> jobOf(SqlRegistry& registry, qint64 id)
{
    std::optional<RegistryJob> job = registry.job(id);
    if (!job)
        report(registry.errorString());
    return job;
}

} // namespace

int history(const Arguments& a)
{
    QString dir;
    std::unique_ptr<SqlRegistry> registry;
    if (const int code = registryOf(a, dir, RegistryUse::Contact, registry))
        return code;
    // A contact with the registry: jobs printed while it was away are
    // confirmed first, and the ones in question are named.
    RunFiles files(dir);
    QString error;
    const std::optional<QList<JobSummary>> unresolved =
        ReservedJobs::confirmPrinted(files, *registry, Station::ofThisProcess(dir), &error);
    HistoryFilter filter;
    if (a.since.isValid())
        filter.since = a.since.startOfDay();
    filter.labelType = a.type;
    const std::optional<QList<JobSummary>> jobs = registry->history(filter);
    if (!jobs) {
        report(registry->errorString());
        return NotPrinted;
    }
    writeJobs(*jobs);
    if (unresolved)
        reportUnresolved(*unresolved);
    return Done;
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
    QString dir;
    std::unique_ptr<SqlRegistry> registry;
    if (const int code = registryOf(a, dir, RegistryUse::Read, registry))
        return code;
    const std::optional<QList<JobSummary>> jobs = registry->find(a.text);
    if (!jobs) {
        report(registry->errorString());
        return NotPrinted;
    }
    writeJobs(*jobs);
    return Done;
}

int labels(const Arguments& a)
{
    QString dir;
    std::unique_ptr<SqlRegistry> registry;
    if (const int code = registryOf(a, dir, RegistryUse::Read, registry))
        return code;
    const std::optional<RegistryJob> job = jobOf(*registry, a.job);
    if (!job)
        return BadInput;
    QByteArray out =
        Csv::record({QStringLiteral("sheet"), QStringLiteral("position"), QStringLiteral("sample"),
                     QStringLiteral("repeat"), QStringLiteral("upper"), QStringLiteral("lower")});
    for (int i = 0; i < int(job->job.labels.size()); ++i) {
        const int running = job->job.startPosition - 1 + i;
        const auto [sample, repeat] = Reprint::sampleOf(*job, i);
        out += Csv::record({QString::number(running / SheetLayout::Positions + 1),
                            QString::number(running % SheetLayout::Positions + 1),
                            QString::number(sample), QString::number(repeat),
                            job->job.labels[i].upper, job->job.labels[i].lower});
    }
    writeOut(out);
    return Done;
}

int reprint(const Arguments& a)
{
    QString queue;
    if (!a.pdf.isEmpty() && !outputWritable(a.pdf, "--pdf"))
        return NotPrinted;
    if (const int code = chooseQueue(a, queue))
        return code;
    QString dir;
    std::unique_ptr<SqlRegistry> registry;
    if (const int code = registryOf(a, dir, RegistryUse::Record, registry))
        return code;
    const std::optional<RegistryJob> job = jobOf(*registry, a.job);
    if (!job)
        return BadInput;
    QString error;
    const QList<int> chosen = Reprint::choose(*job, {a.sampleRange, a.labelTexts}, &error);
    if (chosen.isEmpty()) {
        report(error);
        return BadInput;
    }

    RunFiles files(dir);
    PdfDocumentCanvas canvas(labelDestination(a, queue));
    SheetProgress progress;
    JobTransaction transaction(files, *registry, Station::ofThisProcess(dir),
                               DateStamp::systemClock());
    const JobOutcome outcome = transaction.run(
        canvas,
        [&](const FolderSnapshot& folder) {
            PlanDecision decision;
            if (folder.start.status != StartFileReadResult::Ok) {
                decision.message =
                    folder.start.status == StartFileReadResult::Missing
                        ? QCoreApplication::translate("Cli", "スタートファイルがありません。\n") +
                              shown(StartFile::pathIn(dir))
                        : folder.start.error;
                decision.refusal = BadInput;
                return decision;
            }
            const SavedState saved =
                folder.state.status == StateFile::ReadResult::Ok ? folder.state.state : SavedState();
            JobPlan plan = Reprint::plan(
                *job, chosen, a.start ? *a.start : std::max(1, folder.start.values.startPosition));
            plan.offsets = placement(folder.start.values, saved);
            plan.printer = a.pdf.isEmpty() ? queue : shown(a.pdf);
            plan.state = saved;
            // A damaged state is left for the window or the next print to keep.
            if (folder.state.status == StateFile::ReadResult::Damaged) {
                decision.message =
                    QCoreApplication::translate("Cli", "前回の状態を読み込めませんでした。\n%1\n%2")
                        .arg(shown(StateFile::pathIn(dir)), folder.state.error);
                decision.refusal = BadInput;
                return decision;
            }
            decision.plan = plan;
            return decision;
        },
        {}, [&progress](int sheet, int sheets) { progress.show(sheet, sheets); });
    progress.end();
    for (const QString& note : outcome.notes)
        report(note);
    if (!outcome.printed()) {
        if (!outcome.message.isEmpty())
            report(outcome.message);
        return outcome.status == JobOutcome::Status::Withdrawn ? outcome.refusal : NotPrinted;
    }
    const QList<PrintLogEntry>& printed = outcome.job.labels;
    writeOut(QStringLiteral("reprinted: %1 labels of job %2, %3 to %4\nstart position: %5\n")
                 .arg(printed.size())
                 .arg(a.job)
                 .arg(labelText(printed.first()), labelText(printed.last()))
                 .arg(outcome.start.startPosition)
                 .toUtf8());
    return outcome.unconfirmed ? NotSaved : Done;
}

int resolve(const Arguments& a)
{
    QString dir;
    std::unique_ptr<SqlRegistry> registry;
    if (const int code = registryOf(a, dir, RegistryUse::Record, registry))
        return code;
    RunFiles files(dir);
    QString error;
    if (!ReservedJobs::settle(files, *registry, a.job, *a.printed, &error)) {
        report(error);
        return NotPrinted;
    }
    return Done;
}

} // namespace Cli
