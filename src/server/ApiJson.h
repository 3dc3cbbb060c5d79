#pragma once

#include "core/job/JobPlanning.h"
#include "core/registry/LabelRegistry.h"
#include "server/ServerStations.h"

#include <QJsonArray>
#include <QJsonObject>

// The registry's values as the API shows them (docs/api.md describes each).
namespace ApiJson {

// ISO 8601 in the service's local time, with its offset from UTC.
QString time(const QDateTime& time);

// A line of the history: id, time, kind, state, type, first, last, labels,
// printer, station.
QJsonObject summary(const JobSummary& job);
QJsonArray summaries(const QList<JobSummary>& jobs);

// One job with its design, its label sheet and every label, where it lies
// on the sheets.
QJsonObject job(const RegistryJob& job);

// Labels where they lie on the sheets: sheet, position, sample, repeat,
// upper, lower.
QJsonArray labels(const QList<PlacedLabel>& labels);

// The addresses of a job's documents: labels.pdf, and record.pdf and
// labels.xls where the job has them.
QJsonObject documents(qint64 id, const PrintedJob& job);

// A station's start position, offsets in millimetres, scale and sheet.
QJsonObject placement(const ServerStations::Placement& placement);

} // namespace ApiJson
