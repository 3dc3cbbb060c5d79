#pragma once

#include "core/job/JobTransaction.h"
#include "print/PrintDestination.h"
#include "server/ApiRoutes.h"
#include "server/JobRequest.h"

#include <QJsonObject>

#include <memory>
#include <mutex>
#include <optional>

// What the job routes share: where a job goes, holding its station's
// folder, the folder as a plan reads it, and the job's outcome as an answer.

// Where a job of the service goes: a print queue and its station, or a PDF
// and the token's station.
struct JobTarget {
    QString folder;
    QString queue;   // empty: a PDF, kept by the service and fetched by its address
    QString printer; // as the history shows it: the queue's name, or "PDF"

    bool pdf() const { return queue.isEmpty(); }
};

namespace ServerJobs {

// The target a request names: `printer`, else for `pdf` the token's PDF
// station, else the default queue; nullopt with 404 (field "printer" or
// "output") when there is no such queue.
std::optional<JobTarget> targetOf(ApiRoutes::Call& call, const QString& printer, bool pdf,
                                  HttpReply& failure);
// The sheet a request names by its id, in `sheet`; left empty for none (the
// station's). False with 400 (field "sheet") for an id that GET
// /api/v1/sheets does not list.
bool namedSheet(ApiRoutes::Call& call, const QString& id, std::optional<SheetChoice>& sheet,
                HttpReply& failure);

// A label job as a request asks for it (/labels, /jobs, /preview): its
// body, where it goes, and the core's request; checked as far as it can be
// without the folder (the body, the sheet, the printer, the design's limits),
// else nullopt with the answer.
struct AskedJob {
    JobRequest body;
    JobTarget target;
    LabelJobRequest request;
};
std::optional<AskedJob> askedJob(ApiRoutes::Call& call, HttpReply& failure);
// The plan of an asked job on its station's folder as it is now, for a
// caller that prints nothing; nullopt with the answer.
std::optional<JobPlan> planWithoutPrinting(ApiRoutes::Call& call, const AskedJob& asked,
                                           HttpReply& failure);

// Where the document goes: the queue, or a PDF kept in memory, both placed
// from the paper's corner where the device has no margins. The built-in
// sheet is laid out on the queue's own paper (A4 for a PDF), as it always
// was; any other sheet on its paper, within the queue's printable area.
PrintDestination destinationOf(const JobTarget& target, const Sheet& sheet);
PrintDestination inMemory(const char* title, const Sheet& sheet = Sheet::builtIn());

// The station's folder held for one request: first against the service's
// other threads, then against every other program (its lock file), both
// within `waitMs` together. The files stay locked until they are unlocked
// (a job's transaction does) or the hold ends.
class StationHold {
public:
    StationHold(ServerStations& stations, RunFiles& files, int waitMs = RunFiles::DefaultWaitMs);
    ~StationHold();
    StationHold(const StationHold&) = delete;
    StationHold& operator=(const StationHold&) = delete;

    bool held() const { return m_error.isEmpty() && m_lock.owns_lock(); }
    // Lets the next job of the station in before this request ends.
    void release();
    // 423, with Retry-After.
    HttpReply busy() const;

private:
    RunFiles& m_files;
    std::shared_ptr<std::timed_mutex> m_gate;
    std::unique_lock<std::timed_mutex> m_lock;
    QString m_error;
};

// The station's folder as a job would find it, for planning without
// printing: read under its hold; a folder without a job yet reads as the
// defaults. nullopt with 423 while the folder stays busy.
std::optional<FolderSnapshot> snapshotOf(ApiRoutes::Call& call, const JobTarget& target,
                                         LabelRegistry* registry, HttpReply& failure);

// The answer to a plan refused, or a job that did not print: 400 naming the
// field, 409 (labels issued before, a damaged state), 423 (the folder
// busy), 502 (the printer refused), 503 (the registry away, contention),
// 500 (the files, a registry that cannot be used).
HttpReply refused(const JobRefusal& refusal, ServerRegistry& registry);
HttpReply notPrinted(const JobOutcome& outcome, ServerRegistry& registry);

// The 201 of a job that printed (or was made as a PDF): its id, labels,
// first and last, start, where the next job goes on, the PDF's address and
// the documents.
HttpReply printed(const JobOutcome& outcome, const JobPlan& plan, const JobTarget& target);

} // namespace ServerJobs
