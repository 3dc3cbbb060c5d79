#pragma once

#include "core/io/RunFiles.h"
#include "core/io/StartFile.h"
#include "core/io/StateFile.h"
#include "core/layout/SheetGeometry.h"
#include "core/model/LabelRun.h"
#include "core/model/PrintedJob.h"
#include "core/numbering/Continuation.h"
#include "core/numbering/DateStamp.h"
#include "core/registry/LabelRegistry.h"

#include <QString>

#include <functional>
#include <optional>

class PrintCanvas;

// The folder and the registry as a job finds them once it holds the lock.
struct FolderSnapshot {
    StartFileReadResult start;
    StateFile::ReadResult state;
    LabelRegistry* registry = nullptr;
    // Jobs of this station that were reserved but never confirmed: they may
    // or may not have printed, and count as issued until somebody says.
    QList<JobSummary> unresolved;
};

// What a job prints, decided from the snapshot by the program that runs it.
struct JobPlan {
    JobKind kind = JobKind::Labels;
    qint64 reprintOf = 0;
    LabelDesign design; // its numbering is the one the run starts from
    LabelRun run;
    // A reprint's labels as they were printed, and their places in the job
    // they come from; empty: composed from the run.
    QList<PrintLogEntry> givenLabels;
    QList<int> reprinted;
    int startPosition = 1;
    SheetGeometry::Offsets offsets;
    QString printer; // as the history shows it
    // The registry's numbering of the run's type as the plan read it: the
    // job reserves its numbers only if nobody moved it since.
    qint64 numberingJobId = 0;
    // state.json after the job, before the transaction moves the numbering
    // on and records the job: the caller's own choices (printers, scale).
    SavedState state;
    // Set when the state read was damaged: it is kept aside before the new
    // one replaces it.
    bool keepDamagedState = false;
};

// The plan, or why there is none: `refusal` is the caller's own code,
// handed back untouched in the outcome with `message`.
struct PlanDecision {
    std::optional<JobPlan> plan;
    int refusal = 0;
    QString message;
};

struct JobOutcome {
    enum class Status {
        Printed,    // printed, and the files say where the next job goes on
        NotPrinted, // nothing printed, nothing moved: the lock, a file, the registry, the printer
        Withdrawn,  // the plan refused; `refusal` holds its code
        Declined,   // labels were issued before, and the caller did not want them again
    };
    Status status = Status::NotPrinted;
    int refusal = 0;
    QString message;                 // what went wrong, or what the caller should tell
    QStringList notes;               // things done on the way, such as a damaged state kept aside
    QList<IssuedLabel> issuedBefore; // Declined: the labels and where they were issued
    PrintedJob job;
    Continuation next;
    StartSettings start; // the start file as the job left it
    SavedState state;    // state.json as the job left it
    // Printed, but the registry could not be told: the next contact does.
    bool unconfirmed = false;

    bool printed() const { return status == Status::Printed; }
};

// One print job on a state folder, the same for the window and the command
// line:
//   take the folder's lock; reread the start file, the state and the registry;
//   let the caller plan the job (and refuse when something moved);
//   ask the caller about labels issued before;
//   reserve the labels in the registry, and write the start file and the
//   state as they will be after the job, so that nothing can be printed
//   that is not recorded;
//   hand the document to the print system;
//   confirm the reservation, or on failure release it and put the files
//   back; unlock.
// A crash between the reservation and the confirmation leaves a reserved
// job: the next start asks whether it printed, and its numbers count as
// issued until somebody says they did not. The window adds its dialogs and
// progress; the command line its messages and exit codes.
class JobTransaction {
public:
    using Planner = std::function<PlanDecision(const FolderSnapshot&)>;
    // Whether labels issued before may be printed again.
    using DuplicateQuestion = std::function<bool(const QList<IssuedLabel>&)>;
    using Progress = std::function<void(int sheet, int sheetCount)>;

    JobTransaction(RunFiles& files, LabelRegistry& registry, Station station, Clock clock);

    JobOutcome run(PrintCanvas& canvas, const Planner& plan, const DuplicateQuestion& duplicates,
                   const Progress& progress = {});

private:
    JobOutcome transact(PrintCanvas& canvas, const Planner& plan,
                        const DuplicateQuestion& duplicates, const Progress& progress);
    // The plan, the duplicate guard and the reservation, planned again while
    // other stations reserve the same type's numbers: the job's id, or 0
    // with the outcome saying why not.
    qint64 planAndReserve(const Planner& plan, const DuplicateQuestion& duplicates,
                          FolderSnapshot& snapshot, std::optional<JobPlan>& planned,
                          JobOutcome& outcome);
    enum class Issue { Yes, No, PlanAgain };
    Issue mayIssue(const JobPlan& plan, const DuplicateQuestion& duplicates, JobOutcome& outcome);
    bool resolvePrinted(FolderSnapshot& snapshot, JobOutcome& outcome);
    bool reserve(const JobPlan& plan, const PrintedJob& job, const Continuation& next,
                 JobOutcome& outcome, bool& moved);
    bool saveBeforePrinting(const FolderSnapshot& snapshot, const JobPlan& plan,
                            JobOutcome& outcome);
    struct FilesBefore {
        std::optional<QByteArray> start;
        std::optional<QByteArray> state;
    };
    void putBack(const FilesBefore& before, qint64 id);

    RunFiles& m_files;
    LabelRegistry& m_registry;
    Station m_station;
    Clock m_clock;
};

// Why nothing prints while the registry fails: the registry and its reason.
QString registryProblem(const LabelRegistry& registry);

// The labels a job of `plan` prints, in print order, and where the next job
// goes on: what the registry reserves and the printer prints.
PrintedJob labelsOf(const JobPlan& plan, Continuation* next);
