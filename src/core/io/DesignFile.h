#pragma once

#include "core/model/LabelDesign.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

// A label design as a file, so that a design saved one day opens the next
// and a laboratory's own system can write one:
//   {"format": "rondelmaker-design", "version": 2, "type": 1, ...}
// Every field is required; a file of version 1 has no "code" and opens
// without one. Reading applies the rules typing does: texts are
// cut at whole characters to their room, and a value outside its list is
// refused with a message that names the field. The start file's offsets and
// start position are not part of a design.
namespace DesignFile {

inline constexpr int Version = 2;
inline constexpr const char* Format = "rondelmaker-design";

// The design's fields, without "format" and "version" (the saved state
// embeds the same object).
QJsonObject toJson(const LabelDesign& design);
// The first problem in *error, naming the field, when a field is missing,
// of the wrong kind or out of range. "code" is required where "version"
// is 2 or more.
std::optional<LabelDesign> fromJson(const QJsonObject& object, QString* error);

// The whole document.
QByteArray toBytes(const LabelDesign& design);
std::optional<LabelDesign> fromBytes(const QByteArray& bytes, QString* error);

// Reads a design file: only a regular file of at most 1 MiB. *error says
// what is wrong without naming the file (the caller does).
std::optional<LabelDesign> load(const QString& path, QString* error);
// Replaces the file atomically; *error holds the system's reason.
bool save(const QString& path, const LabelDesign& design, QString* error);

} // namespace DesignFile
