#pragma once

#include <QStringList>

struct SqlDialect;

// The registry's tables, the same on SQLite and PostgreSQL but for the
// words the two spell differently. Version 1 is made by create(); each
// later version adds a migration from the one before, so that a registry of
// any earlier version is brought up to date in one transaction when it is
// opened.
namespace RegistrySchema {

// Searches by the lower line alone, on a server (a SQLite file skips
// through the index of texts by its upper lines instead: the index of lower
// lines would put each of a job's labels on a page of its own, and a job of
// 1200 would write 1200 pages). Indexes that only speed up questions are
// added to a registry of the same version when they are missing, so that an
// older program still reads and writes it.
inline constexpr const char* LowerLineIndex =
    "CREATE INDEX IF NOT EXISTS labels_by_lower ON labels (lower_text)";

QStringList create(const SqlDialect& dialect);
// The statements that take a registry from `version` to `version + 1`.
QStringList migration(int version, const SqlDialect& dialect);

} // namespace RegistrySchema
