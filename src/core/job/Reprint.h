#pragma once

#include "core/job/JobPlanning.h"
#include "core/registry/LabelRegistry.h"

#include <QStringList>

#include <optional>
#include <utility>

// Printing labels of a past job again: the texts as they were printed (a
// dated label keeps its date), the job's look, at a new start position. It
// moves the start position on like any job, and never the numbering.
namespace Reprint {

// Which labels: all, the samples first..last (1-based), or the labels
// whose text (as labelText() writes it, or its lower line) is listed.
struct Choice {
    std::optional<std::pair<int, int>> samples;
    QStringList texts;
};

// The chosen labels' places in the job, in print order; empty, with the
// refusal, when the choice names nothing of the job.
QList<int> choose(const RegistryJob& job, const Choice& choice, JobRefusal* refusal = nullptr);

// Sample and repeat (1-based) of label i of a job of `run`, as its first
// print counted them: a reprint counts as the job it came from.
std::pair<int, int> sampleOf(const LabelRun& run, JobKind kind, const QList<int>& reprinted, int i);
inline std::pair<int, int> sampleOf(const RegistryJob& job, int i)
{
    return sampleOf(job.job.run, job.kind, job.reprinted, i);
}

// The plan of the reprint; JobPlanning::planReprint adds where it goes
// (offsets, printer) and the state to keep.
JobPlan plan(const RegistryJob& job, const QList<int>& indices, int startPosition);

} // namespace Reprint
