#pragma once

#include "core/io/RunFiles.h"
#include "core/job/JobPlanning.h"
#include "core/model/PrintedJob.h"
#include "core/numbering/Continuation.h"
#include "core/numbering/DateStamp.h"
#include "core/registry/LabelRegistry.h"

#include <QString>

#include <functional>
#include <optional>

class PrintCanvas;

struct JobOutcome {
    enum class Status {
        Printed,    // printed, and the files say where the next job goes on
        NotPrinted, // nothing printed, nothing moved: the lock, a file, the registry, the printer
        Withdrawn,  // the plan refused; `refusal` says why
        Declined,   // labels were issued before, and the caller did not want them again
    };
    // NotPrinted: what stopped the job, for a caller that answers by kind
    // (the service's HTTP status); `message` says it in words.
    enum class Stop {
        None,
        FolderBusy, // another job holds the folder's lock
        Registry,   // the registry failed: its failure() says how
        Contended,  // other stations kept taking the numbers: try again
        Files,      // the start file or the state could not be written
        Printer,    // the print system did not take the document
    };
    Status status = Status::NotPrinted;
    Stop stop = Stop::None;
    JobKind kind = JobKind::Labels;
    JobRefusal refusal;
    QString message;                 // what went wrong, or what the caller should tell
    QStringList notes;               // things done on the way, such as a damaged state kept aside
    QList<IssuedLabel> issuedBefore; // Declined: the labels and where they were issued
    PrintedJob job;
    Continuation next;
    StartSettings start; // the start file as the job left it
    SavedState state;    // state.json as the job left it
    // This station's jobs in question, as the job found them.
    QList<JobSummary> unresolved;
    // Printed, but the registry could not be told: the next contact does.
    bool unconfirmed = false;

    bool printed() const { return status == Status::Printed; }
};

// One print job on a state folder, the same for every front end:
//   take the folder's lock; reread the start file, the state and the registry;
//   let the caller plan the job (JobPlanning), which may refuse it;
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
// progress; the command line its messages and exit codes; the service its
// HTTP statuses.
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
