#include "ui/JobQuestion.h"

#include "core/job/ReservedJobs.h"
#include "core/numbering/Continuation.h"
#include "ui/Dialogs.h"

bool JobQuestion::ask(Dialogs& dialogs, QWidget* parent, RunFiles& files, LabelRegistry& registry,
                      const JobSummary& job, LabelDesign& design)
{
    const int answer = dialogs.choose(
        parent, ReservedJobs::describe(job) + QLatin1Char('\n') + tr("印刷されましたか？"),
        tr("わかるまで、このラベルは印刷済みとして扱います。"),
        {tr("印刷された"), tr("印刷されなかった"), tr("あとで")});
    if (answer != 0 && answer != 1)
        return false;
    const std::optional<RegistryJob> reserved = registry.job(job.id);
    QString error;
    if (!ReservedJobs::settle(files, registry, job.id, answer == 0, &error)) {
        dialogs.error(parent, error);
        return false;
    }
    // Not printed: the numbering the window took from the job goes back to
    // where the job started, unless it moved on since.
    if (answer == 1 && reserved && reserved->movesNumbering) {
        LabelDesign after = design;
        applyContinuation(after, reserved->job.run.type,
                          continueAfterJob(reserved->job.run, reserved->job.startPosition));
        if (after == design)
            continueNumbering(design, reserved->design);
    }
    return true;
}
