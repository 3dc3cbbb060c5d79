#pragma once

// A printed job as JSON: in the saved state (with its labels) and in the
// registry of issued labels (which keeps the labels in rows of their own).
// Internal to src/core.

#include "core/io/JsonFields.h"
#include "core/model/PrintedJob.h"

#include <optional>

// The sheet of a job or a station: its id beside the sheet file's fields.
// The built-in sheet is never written (files of jobs on it stay as they
// were): a field without it reads as the built-in sheet.
QJsonObject sheetChoiceToJson(const SheetChoice& choice);
SheetChoice readSheetChoice(JsonReader& in, const JsonField& field);

enum class JobLabels { Included, Left };

QJsonObject runToJson(const LabelRun& run);
LabelRun readRun(JsonReader& in, const JsonField& field);

QJsonObject jobToJson(const PrintedJob& job, JobLabels labels = JobLabels::Included);
// A null value is no job. Without labels, job.labels stays empty.
std::optional<PrintedJob> readJob(JsonReader& in, const JsonField& field,
                                  JobLabels labels = JobLabels::Included);
