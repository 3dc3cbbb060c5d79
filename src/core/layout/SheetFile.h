#pragma once

#include "core/layout/Sheet.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

// A sheet as a file, so that a laboratory can describe its own label sheet
// once and choose it by name. Lengths are millimetres from the paper's
// top-left corner, decimals allowed:
//   {"format": "rondelmaker-sheet", "version": 1, "name": "A4 · 12 mm · 13 × 18",
//    "paper": {"width": 210, "height": 297}, "diameter": 12,
//    "columns": 13, "rows": 18, "first": {"x": 9, "y": 15}, "pitch": {"x": 15, "y": 15}}
// A sheet of several grids (as gLabels templates have) keeps its further
// grids, numbered after the first, in an optional array
//   "layouts": [{"columns": ..., "rows": ..., "first": {...}, "pitch": {...}}, ...].
// A file is refused, with a message naming the field, when it is not a sheet,
// a field is missing or of the wrong kind, or the sheet is unusable
// (Sheet::problem()).
namespace SheetFile {

inline constexpr int Version = 1;
inline constexpr const char* Format = "rondelmaker-sheet";
// A sheet file is a few hundred bytes.
inline constexpr qint64 MaxFileSize = 64 * 1024;

// The sheet's fields, without "format" and "version", so that the saved
// state can keep a copy of the chosen sheet. The origin is not written: a
// sheet read back is measured from the paper's corner.
QJsonObject toJson(const Sheet& sheet);
std::optional<Sheet> fromJson(const QJsonObject& object, QString* error);

// The whole document.
QByteArray toBytes(const Sheet& sheet);
std::optional<Sheet> fromBytes(const QByteArray& bytes, QString* error);

// Reads a regular file of at most MaxFileSize bytes. *error says what is
// wrong without naming the file (the caller does).
std::optional<Sheet> load(const QString& path, QString* error);
// Replaces the file atomically; *error holds the system's reason. The
// built-in sheet is refused: a file cannot say that it is measured from the
// printable area.
bool save(const QString& path, const Sheet& sheet, QString* error);

} // namespace SheetFile
