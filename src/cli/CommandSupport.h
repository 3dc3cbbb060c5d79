#pragma once

// What the commands of rondelmaker-cli share: messages and output, the
// state folder, its registry, and where printed labels go.

#include "cli/Arguments.h"
#include "core/job/JobTransaction.h"
#include "core/registry/SqlRegistry.h"
#include "print/PrintDestination.h"

#include <QByteArray>
#include <QMarginsF>
#include <QString>

#include <cstdio>
#include <memory>

#include <unistd.h>

namespace Cli {

enum ExitCode {
    Done = 0,
    NotPrinted = 1, // nothing printed, nothing advanced
    BadInput = 2,   // bad arguments or a bad file; nothing changed
    NotSaved = 3,   // printed, but the record, the spreadsheet or the registry's confirmation failed
    IssuedBefore = 4, // labels were issued before: nothing printed (see --allow-duplicates)
};

// Messages go to standard error with the program's name in front.
void report(const QString& message);
void writeOut(const QByteArray& bytes);
// A path as the user may look it up: absolute, with the system's separators.
QString shown(const QString& path);

// Labels are laid out from the corner of the printable area, as the
// window's are: the page's margins are the device's minimum margins (none on
// a PDF).
extern const QMarginsF MinimumMargins;

// The state folder: --state-dir, else where the window keeps its files.
QString stateDirOf(const Arguments& a);
// The folder's start file and state read under its lock, so that a job
// running elsewhere is seen either wholly before or wholly after.
int readFolder(const QString& dir, FolderSnapshot& snapshot);

// The folder's registry, open, or an exit code after a message: BadInput
// for a setting that cannot be used, NotPrinted for a registry that cannot.
// A job records in it (made when there is none); history reads it and
// confirms what printed; the other commands only read it, and get an empty
// one where the folder has none.
enum class RegistryUse { Record, Contact, Read };
int openRegistry(const Arguments& a, const QString& dir, RegistryUse use,
                 std::unique_ptr<SqlRegistry>& registry);
// What the registry mended by itself, on standard error.
void reportNotes(LabelRegistry& registry);
// Jobs of this station that may or may not have printed, on standard error.
void reportUnresolved(const QList<JobSummary>& jobs);

// A file the job writes, checked before anything prints: its folder must be
// there and writable.
bool outputWritable(const QString& path, const char* option);
// The print queue, unless the labels go into a PDF file.
int chooseQueue(const Arguments& a, QString& queue);
PrintDestination labelDestination(const Arguments& a, const QString& queue);
// The start file's offsets with the scale calibrated in the window.
SheetGeometry::Offsets placement(const StartSettings& start, const SavedState& saved);

// "sheet k of K" on a terminal, for a job of several sheets.
class SheetProgress {
public:
    void show(int sheet, int sheets)
    {
        if (!m_terminal || sheets < 2)
            return;
        std::fprintf(stderr, "\rsheet %d of %d", sheet, sheets);
        m_shown = true;
    }
    void end() const
    {
        if (m_shown)
            std::fputc('\n', stderr);
    }

private:
    bool m_terminal = isatty(STDERR_FILENO) != 0;
    bool m_shown = false;
};

} // namespace Cli
