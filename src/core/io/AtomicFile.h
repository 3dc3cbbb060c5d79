#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Every file the program saves goes through here, so that a full disk, a
// quota or a broken mount never leaves a truncated file in place of the old
// one, and never passes for success.

// Replaces `path` with `bytes`: written to a temporary beside it ("<name>.XXXXXX"),
// checked write by write and through the final flush, then renamed over the old
// file. On failure the old file is left as it was, no temporary remains, and
// *error (when given) holds the system's reason, e.g. "No space left on device".
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error);

// Removes what an interrupted save of one of `savedNames` left in `dir`: regular
// files named "<saved name>.XXXXXX" (six letters or digits). Every save of those
// files holds the folder's lock, so a caller that holds it (`folderLocked`)
// removes them all; another removes only those older than a minute, since
// younger ones may belong to a save in progress in another process.
void removeStaleTemporaries(const QString& dir, const QStringList& savedNames,
                            bool folderLocked = false);
