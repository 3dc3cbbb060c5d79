#include "core/job/ReservedJobs.h"

#include "core/io/StartFile.h"
#include "core/io/StateFile.h"
#include "core/numbering/Continuation.h"

#include <QCoreApplication>
#include <QScopeGuard>

namespace ReservedJobs {

bool settle(RunFiles& files, LabelRegistry& registry, qint64 id, bool printed, QString* error)
{
    if (!files.lock(error))
        return false;
    const auto unlock = qScopeGuard([&files] { files.unlock(); });
    const std::optional<RegistryJob> job = registry.job(id);
    if (!job) {
        *error = registry.errorString();
        return false;
    }
    if (job->state != JobState::Reserved) {
        *error =
            QCoreApplication::translate("ReservedJobs", "ジョブ %1 は印刷済みと記録されています。")
                .arg(id);
        return false;
    }
    if (!(printed ? registry.confirm(id) : registry.release(id))) {
        *error = registry.errorString();
        return false;
    }
    // The start position follows, if nothing moved it since the job.
    const int from = printed ? job->job.startPosition : job->nextPosition;
    const int to = printed ? job->nextPosition : job->job.startPosition;
    StartFileReadResult start = StartFile::read(files.startPath());
    if (start.status == StartFileReadResult::Ok && start.values.startPosition == from &&
        from != to) {
        start.values.startPosition = to;
        StartFile::write(files.startPath(), start.values, error);
    }
    if (printed)
        return true;
    // Report and Excel no longer offer a job that never printed, and the
    // numbering saved with the design goes back where it stood at the job,
    // unless it moved on since.
    StateFile::ReadResult state = StateFile::read(files.statePath());
    if (state.status != StateFile::ReadResult::Ok)
        return true;
    SavedState& saved = state.state;
    const SavedState before = saved;
    if (saved.lastJob && saved.lastJob->registryId == id)
        saved.lastJob.reset();
    if (job->movesNumbering) {
        LabelDesign after = saved.design;
        applyContinuation(
            after, job->job.run.type,
            continueAfterJob(job->job.run, job->job.startPosition, job->job.sheet.sheet));
        if (after == saved.design)
            continueNumbering(saved.design, job->design);
    }
    if (!(saved == before))
        StateFile::write(files.statePath(), saved, error);
    return true;
}

std::optional<QList<JobSummary>> confirmPrinted(RunFiles& files, LabelRegistry& registry,
                                                const Station& station, QString* error, int waitMs)
{
    if (!files.lock(error, waitMs))
        return std::nullopt;
    const auto unlock = qScopeGuard([&files] { files.unlock(); });
    StateFile::ReadResult state = StateFile::read(files.statePath());
    QList<qint64>& printed = state.state.registry.unconfirmed;
    const qsizetype before = printed.size();
    for (qsizetype i = printed.size() - 1; i >= 0; --i) {
        if (registry.confirm(printed[i]))
            printed.removeAt(i);
    }
    if (state.status == StateFile::ReadResult::Ok && printed.size() != before)
        StateFile::write(files.statePath(), state.state, nullptr);
    std::optional<QList<JobSummary>> jobs = registry.unconfirmed(station);
    if (!jobs) {
        *error = registry.errorString();
        return std::nullopt;
    }
    jobs->removeIf([&printed](const JobSummary& job) { return printed.contains(job.id); });
    return jobs;
}

QString describe(const JobSummary& job)
{
    return QCoreApplication::translate("ReservedJobs",
                                       "ジョブ %1（%2、%3～%4、%5 枚）は印刷されたかどうか"
                                       "確かめられていません。")
        .arg(job.id)
        .arg(job.reservedAt.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm")),
             job.firstLabel, job.lastLabel)
        .arg(job.labelCount);
}

} // namespace ReservedJobs
