#pragma once

#include "core/io/RunFiles.h"
#include "core/io/StartFile.h"
#include "core/io/StateFile.h"
#include "core/layout/SheetGeometry.h"
#include "core/model/LabelRun.h"
#include "core/model/PrintedJob.h"
#include "core/numbering/Continuation.h"

#include <QString>

#include <functional>
#include <optional>

class PrintCanvas;

// The folder as a job finds it once it holds the lock.
struct FolderSnapshot {
    StartFileReadResult start;
    StateFile::ReadResult state;
};

// What a job prints, decided from the snapshot by the program that runs it.
struct JobPlan {
    LabelDesign design; // its numbering is the one the run starts from
    LabelRun run;
    int startPosition = 1;
    SheetGeometry::Offsets offsets;
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
        Printed,         // printed, and the files say where the next job goes on
        NotPrinted,      // nothing printed, nothing moved: the lock, a file, the printer
        Withdrawn,       // the plan refused; `refusal` holds its code
        PrintedNotSaved, // printed, but a file could not be written afterwards
    };
    Status status = Status::NotPrinted;
    int refusal = 0;
    QString message;   // what went wrong, or what the caller should tell
    QStringList notes; // things done on the way, such as a damaged state kept aside
    PrintedJob job;
    Continuation next;
    StartSettings start; // the start file as the job left it
    SavedState state;    // state.json as the job left it

    bool printed() const { return status == Status::Printed || status == Status::PrintedNotSaved; }
};

// One print job on a state folder, the same for the window and the command
// line: take the folder's lock, reread the start file and state, let the
// caller plan the job from them (and refuse when something moved), print,
// then save where the next job goes on, and unlock. The window adds its
// dialogs and progress; the command line its messages and exit codes.
class JobTransaction {
public:
    using Planner = std::function<PlanDecision(const FolderSnapshot&)>;
    using Progress = std::function<void(int sheet, int sheetCount)>;

    explicit JobTransaction(RunFiles& files) : m_files(files) {}

    JobOutcome run(PrintCanvas& canvas, const Planner& plan, const Progress& progress = {});

private:
    RunFiles& m_files;
};
