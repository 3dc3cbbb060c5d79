#pragma once

#include "core/code/LabelCode.h"
#include "core/io/StartFile.h"
#include "core/io/StateFile.h"
#include "core/job/JobRefusal.h"
#include "core/layout/SheetGeometry.h"
#include "core/model/LabelRun.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/numbering/Continuation.h"
#include "core/registry/LabelRegistry.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

class RunFiles;

// Planning a job, the same for every front end: a label job from a design
// and the caller's options, a reprint from a job of the registry, and where
// the next job starts. Each turns the folder as a job finds it (the start
// file, the state, the registry) into a plan, or into a refusal with its
// reason; each check is made here and nowhere else. The job transaction
// runs the plan.

// The folder and the registry as a job finds them once it holds the lock.
struct FolderSnapshot {
    QString dir;
    StartFileReadResult start;
    StateFile::ReadResult state;
    LabelRegistry* registry = nullptr; // null: none (the numbering is the state's)
    // Jobs of this station that were reserved but never confirmed: they may
    // or may not have printed, and count as issued until somebody says.
    QList<JobSummary> unresolved;

    // The folder's start file and state as they are now; the caller holds
    // the folder's lock.
    static FolderSnapshot read(const RunFiles& files, LabelRegistry* registry);
    // The same for a caller that plans without printing (the labels a job
    // would print, where the next one starts): read under the folder's
    // lock, so that a job running meanwhile is seen wholly or not at all;
    // nullopt with *error while another job holds the folder.
    static std::optional<FolderSnapshot> take(RunFiles& files, LabelRegistry* registry,
                                              QString* error);
};

// What a job prints, decided from the snapshot.
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
    // The sheet it prints on, which becomes the station's.
    SheetChoice sheet;
    SheetGeometry::Offsets offsets;
    QString printer; // as the history shows it
    // What the plan did that the user should hear of: a start position that
    // the sheet does not have, begun at 1.
    QStringList notes;
    // The registry's numbering of the run's type as the plan read it: the
    // job reserves its numbers only if nobody moved it since.
    qint64 numberingJobId = 0;
    // state.json after the job, before the transaction moves the numbering
    // on and records the job.
    SavedState state;
    // Set when the state read was damaged: it is kept aside before the new
    // one replaces it.
    bool keepDamagedState = false;
};

// The plan, or why there is none.
struct PlanDecision {
    std::optional<JobPlan> plan;
    JobRefusal refusal;

    static PlanDecision refused(JobRefusal refusal) { return {std::nullopt, std::move(refusal)}; }
};

// A label job as a caller asks for it. Everything but the design may be
// left out: the numbering then goes on where the registry (else the state)
// says the design's type stopped, and the job starts where the start file
// says.
struct LabelJobRequest {
    LabelDesign design;
    std::optional<int> first; // the first number, with the design's letters as they are
    std::optional<int> samples;
    std::optional<int> start; // sheet position 1..N of the sheet
    // The sheet to print on; else the station's (the state's).
    std::optional<SheetChoice> sheet = std::nullopt;
    std::optional<QStringList> freeTexts;
    // The design's free texts as the window's memo holds them: they end at
    // the first empty line and after MaxFreeTexts, as its print screen
    // shows them. Else (a file, a request) an empty text before a later one
    // and more than MaxFreeTexts are refused.
    bool memoFreeTexts = false;
    std::optional<LabelCode> code;
    QString printer;                    // as the history shows it
    QDate today = QDate::currentDate(); // dates the labels
    // A caller that keeps its own state (the window) writes it after the
    // job; else the folder's is kept, and a damaged one kept aside.
    std::optional<SavedState> ownState;
    // A caller that showed its user where the job starts and what it
    // prints (the window) found that another Rondelmaker printed since.
    bool movedSinceShown = false;
};

// A reprint of labels of a job in the registry, at a new start position.
struct ReprintRequest {
    RegistryJob job;
    QList<int> labels; // their places in the job, in print order (Reprint::choose)
    std::optional<int> start;
    QString printer;
    std::optional<SavedState> ownState;
    // The sheet to print on; else the station's, whatever the job's was.
    std::optional<SheetChoice> sheet = std::nullopt;
};

// Where the next label job of the folder starts, and its first label.
struct NextJob {
    int startPosition = 1;
    SheetChoice sheet;
    QString note;       // the start file's position is not on the sheet: 1 instead
    LabelDesign design; // the state's, with the numbering where it goes on
    LabelTexts first;   // empty lines for a design without labels
};

// A label of a job and where it lies on the sheets.
struct PlacedLabel {
    int sheet = 1;
    int position = 1; // 1..N of the job's sheet
    int sample = 1;   // as its first print counted them
    int repeat = 1;
    QString upper;
    QString lower;
};

namespace JobPlanning {

// The design the request prints: its options applied and checked against
// the design's type and limits. Needs nothing of the folder, so a caller
// can refuse bad input before it looks for anything else.
std::variant<LabelDesign, JobRefusal> designOf(const LabelJobRequest& request);
// The label job on the folder: the start file, the numbering, the run and
// its codes, the state to write.
PlanDecision planLabels(const LabelJobRequest& request, const FolderSnapshot& folder);
// The reprint on the folder: the start file and the state.
PlanDecision planReprint(const ReprintRequest& request, const FolderSnapshot& folder);
// Where the folder's next job starts, as a job without options would.
// `sheet`: instead of the station's.
std::variant<NextJob, JobRefusal> nextJob(const FolderSnapshot& folder,
                                          const std::optional<SheetChoice>& sheet = {});

// A run's own limits: at most MaxLabelsPerJob labels, and 2D codes that
// fit a label. The window checks them at PrintSet; every plan does.
JobRefusal checkRun(const LabelRun& run, const PrintAppearance& look);

// The refusal of a plan made from what the user no longer sees.
JobRefusal moved();

// The first label a design prints today; empty lines for none.
LabelTexts firstLabel(const LabelDesign& design, const QDate& today);

// The labels a plan prints, or a job of the registry printed, in print
// order and where they lie.
QList<PlacedLabel> placedLabels(const JobPlan& plan);
QList<PlacedLabel> placedLabels(const RegistryJob& job);

} // namespace JobPlanning

// Why nothing prints while the registry fails: the registry and its reason.
QString registryProblem(const LabelRegistry& registry);

// The labels a job of `plan` prints, in print order, and where the next job
// goes on: what the registry reserves and the printer prints.
PrintedJob labelsOf(const JobPlan& plan, Continuation* next);
