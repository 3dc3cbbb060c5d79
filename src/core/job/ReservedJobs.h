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

// One line about an unsettled job, for a message or standard error.
QString describe(const JobSummary& job);

} // namespace ReservedJobs
