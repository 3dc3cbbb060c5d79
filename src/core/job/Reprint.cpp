#include "core/job/Reprint.h"

#include <QCoreApplication>

namespace Reprint {

QList<int> choose(const RegistryJob& job, const Choice& choice, JobRefusal* refusal)
{
    const QList<PrintLogEntry>& labels = job.job.labels;
    QList<int> chosen;
    for (int i = 0; i < int(labels.size()); ++i) {
        const int sample = sampleOf(job, i).first;
        if (choice.samples && (sample < choice.samples->first || sample > choice.samples->second))
            continue;
        if (!choice.texts.isEmpty() && !choice.texts.contains(labelText(labels[i])) &&
            !choice.texts.contains(labels[i].lower))
            continue;
        chosen << i;
    }
    if (chosen.isEmpty() && refusal) {
        refusal->reason = JobRefusal::Reason::NoSuchLabels;
        refusal->text =
            QCoreApplication::translate("Reprint", "ジョブ %1 にそのラベルはありません。")
                .arg(job.id);
        refusal->input = choice.samples ? QStringLiteral("samples") : QStringLiteral("labels");
    }
    return chosen;
}

std::pair<int, int> sampleOf(const LabelRun& run, JobKind kind, const QList<int>& reprinted, int i)
{
    const int repeat = std::max(1, run.repeatCount);
    const int original = kind == JobKind::Reprint ? reprinted.value(i, i) : i;
    return {original / repeat + 1, original % repeat + 1};
}

JobPlan plan(const RegistryJob& job, const QList<int>& indices, int startPosition)
{
    JobPlan plan;
    plan.kind = JobKind::Reprint;
    // A reprint of a reprint is one of the job that issued the labels.
    plan.reprintOf = job.kind == JobKind::Reprint && job.reprintOf > 0 ? job.reprintOf : job.id;
    plan.design = job.design;
    plan.run = job.job.run;
    plan.startPosition = startPosition;
    for (const int i : indices) {
        plan.givenLabels << job.job.labels.value(i);
        plan.reprinted << (job.kind == JobKind::Reprint ? job.reprinted.value(i, i) : i);
    }
    return plan;
}

} // namespace Reprint
