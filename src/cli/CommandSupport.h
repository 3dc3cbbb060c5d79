#pragma once

// What the commands of rondelmaker-cli share: messages and output, the
// state folder, its registry, and where printed labels go.

#include "cli/Arguments.h"
#include "core/job/JobTransaction.h"
#include "core/registry/RegistrySetup.h"
#include "print/PrintDestination.h"

#include <QByteArray>
#include <QMarginsF>
#include <QString>

#include <cstdio>
#include <functional>
#include <memory>

#include <unistd.h>

namespace Cli {

enum ExitCode {
    Done = 0,
    NotPrinted = 1, // nothing printed, nothing advanced
    BadInput = 2,   // bad arguments or a bad file; nothing changed
    NotSaved = 3, // printed, but the record, the spreadsheet or the registry's confirmation failed
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

// The state folder's registry, open, handed to `command` with the folder;
// else an exit code after a message: BadInput for a folder that is not
// there or a setting that cannot be used, NotPrinted for a registry that
// cannot.
using RegistryCommand = std::function<int(const QString& dir, LabelRegistry& registry)>;
int withRegistry(const Arguments& a, RegistrySetup::Use use, const RegistryCommand& command);
// What the registry mended by itself, on standard error.
void reportNotes(LabelRegistry& registry);
// Jobs of this station that may or may not have printed, on standard error.
void reportUnresolved(const QList<JobSummary>& jobs);

// The sheet a job prints on: --sheet's, else the station's; nullopt when
// the state cannot say (the plan then takes the built-in sheet and says
// why). BadInput after a message for a sheet that cannot be found or read.
int chooseSheet(const Arguments& a, const QString& dir, std::optional<SheetChoice>& sheet);

// Labels as CSV: sheet, position, sample, repeat, upper and lower line.
void writeLabels(const QList<PlacedLabel>& labels);

// A refusal of the planning as the command line says it: the option it
// concerns in front, what to give instead after it.
void reportRefusal(const JobRefusal& refusal);
int exitCodeOf(const JobRefusal& refusal);
// Runs a planned job (print, reprint) on the folder to the labels'
// destination; its messages and exit code from finishJob().
JobOutcome runJob(const Arguments& a, const QString& dir, LabelRegistry& registry,
                  const QString& queue, const Sheet& sheet, const JobTransaction::Planner& plan);
// The job's notes (and the jobs in question, when it names them) and why it
// did not print, on standard error; its exit code.
int finishJob(const JobOutcome& outcome, bool nameUnresolved);

// A file the job writes, checked before anything prints: its folder must be
// there and writable.
bool outputWritable(const QString& path, const char* option);
// The print queue, unless the labels go into a PDF file.
int chooseQueue(const Arguments& a, QString& queue);
// The page is the sheet's paper.
PrintDestination labelDestination(const Arguments& a, const QString& queue, const Sheet& sheet);
// The printer as the history shows it.
QString printerOf(const Arguments& a, const QString& queue);

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
