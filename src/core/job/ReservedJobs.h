#pragma once

#include "core/io/RunFiles.h"
#include "core/registry/LabelRegistry.h"

#include <QString>

// A job that was reserved but never confirmed (the program died between
// handing it to the print system and hearing back) is settled by whoever
// knows: it printed, and stays issued; or it did not, and its numbers go
// back, with the start position, unless later jobs moved on since.
namespace ReservedJobs {

bool settle(RunFiles& files, LabelRegistry& registry, qint64 id, bool printed, QString* error);

// At a contact with the registry: the jobs that printed while it was away
// (state.json keeps them) are confirmed now, and what remains of this
// station's reservations is returned, the questions. Needs the folder's
// lock; nullopt with *error when the lock or the registry fails.
std::optional<QList<JobSummary>> confirmPrinted(RunFiles& files, LabelRegistry& registry,
                                                const Station& station, QString* error,
                                                int waitMs = RunFiles::DefaultWaitMs);

// One line about an unsettled job, for a message or standard error.
QString describe(const JobSummary& job);

} // namespace ReservedJobs
