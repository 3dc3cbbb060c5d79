#pragma once

#include "core/model/LabelDesign.h"
#include "core/model/PrintedJob.h"

#include <QDateTime>
#include <QString>

#include <optional>

// The registry of every label issued: each job the print system took (or
// was about to take), with its labels as printed, and where each label
// type's numbering goes on. A job is reserved before anything is handed to
// the print system and confirmed once the print system took it, so that a
// crash in between leaves a question or a gap, never a silent duplicate.

// Who printed: the computer, the user, and the state folder (one computer
// may run several stations, each with its own folder and printer).
struct Station {
    QString host;
    QString user;
    QString folder;

    QString shown() const { return user + QLatin1Char('@') + host; }
    static Station ofThisProcess(const QString& folder);

    friend bool operator==(const Station&, const Station&) = default;
};

// Where a label type's numbering goes on, and the job that put it there
// (0: none yet, the design's own numbering starts it).
struct NumberingPosition {
    int firstNumber = 0;
    int letter1 = 0;
    int letter2 = 0;
    qint64 jobId = 0;

    friend bool operator==(const NumberingPosition&, const NumberingPosition&) = default;
};

enum class JobKind { Labels, Reprint };
enum class JobState { Reserved, Printed };

// A job in the registry.
struct RegistryJob {
    qint64 id = 0;
    QDateTime reservedAt; // UTC
    JobKind kind = JobKind::Labels;
    qint64 reprintOf = 0;
    // A reprint: which labels of its job it printed again (0-based).
    QList<int> reprinted;
    JobState state = JobState::Reserved;
    Station station;
    QString printer;
    LabelDesign design; // as printed: its numbering is where the job started
    PrintedJob job;     // run, look, start position and every label as printed
    int nextPosition = 1;
    // A job of numbered labels moves its type's numbering to `numberingAfter`.
    bool movesNumbering = false;
    NumberingPosition numberingAfter;
};

// A line of the history.
struct JobSummary {
    qint64 id = 0;
    QDateTime reservedAt;
    JobKind kind = JobKind::Labels;
    qint64 reprintOf = 0;
    JobState state = JobState::Reserved;
    int labelType = 1;
    QString firstLabel;
    QString lastLabel;
    int labelCount = 0;
    QString printer;
    QString station; // user@host
    QString folder;
};

// A label that was issued before, and the job that issued it.
struct IssuedLabel {
    PrintLogEntry label;
    qint64 jobId = 0;
    int index = 0; // in its job's print order
    QDateTime reservedAt;
    // Its job was reserved and never confirmed: it may not have printed.
    bool inQuestion = false;
};

struct HistoryFilter {
    QDateTime since;   // invalid: from the beginning
    int labelType = 0; // 0: every type
};

// The longest text a label carries: its two lines and the space between.
inline constexpr int MaxLabelTextLength = 2 * LabelBytes + 1;

class LabelRegistry {
public:
    enum class Failure {
        None,
        Unavailable, // cannot be reached or opened now (server down, file locked)
        Damaged,     // not a registry, or damaged: kept as it is, never written
        Newer,       // made by a newer program
        Moved,       // the numbering moved since it was read: plan the job again
        NotFound,    // no job of that id
        Failed,      // a write or query failed (a full disk, the connection lost)
    };

    virtual ~LabelRegistry() = default;

    // Opened, and known to be a registry; a registry that could not be
    // opened answers nothing, and failure() says why.
    virtual bool isOpen() const = 0;
    // A call of this program is under way (a registry asked on a thread of
    // its own, from a window whose timers run while it waits).
    virtual bool isBusy() const { return false; }
    // A file, or a server and database, as the user may be shown it.
    virtual QString location() const = 0;
    // Made when the registry was: tells one registry from another.
    virtual QString identity() const = 0;
    virtual Failure failure() const = 0;
    virtual QString errorString() const = 0;

    // Where the type's numbering goes on (types 1..12; 13 counts as 1).
    virtual std::optional<NumberingPosition> numbering(int labelType) = 0;
    // The newest job's id, 0 for none: a cheap way to see that others printed.
    virtual std::optional<qint64> latestJobId() = 0;
    // Jobs of this station that were reserved but never confirmed.
    virtual std::optional<QList<JobSummary>> unconfirmed(const Station& station) = 0;
    // Which of these labels (same upper and lower text) were issued before,
    // by a job of labels (reprints repeat those and do not count).
    virtual std::optional<QList<IssuedLabel>> issued(const QList<PrintLogEntry>& labels) = 0;

    // Records the job as reserved and returns its id. A job that moves the
    // numbering does so only if the type's numbering still stands where
    // `expectedJobId` left it; else Failure::Moved, and nothing is written.
    virtual std::optional<qint64> reserve(const RegistryJob& job, qint64 expectedJobId) = 0;
    // The print system took it.
    virtual bool confirm(qint64 id) = 0;
    // It was not printed: the job goes, and its type's numbering goes back
    // to where it stood before, unless a later job moved it on since.
    virtual bool release(qint64 id) = 0;

    virtual std::optional<QList<JobSummary>> history(const HistoryFilter& filter) = 0;
    virtual std::optional<RegistryJob> job(qint64 id) = 0;
    // The jobs that issued a label text: its lower line, or its upper and
    // lower line written together, with or without a space between. A text
    // longer than MaxLabelTextLength finds nothing.
    virtual std::optional<QList<JobSummary>> find(const QString& text) = 0;

    // What the registry mended by itself since it was last asked (a
    // numbering made again from its jobs), for the user to be told.
    virtual QStringList takeNotes() = 0;
};

// How a label is written in messages and searches: "LAB 0031".
QString labelText(const PrintLogEntry& label);
// Labels that were issued before, grouped by job into runs of consecutive
// labels: "LAB 0031–LAB 0040 were printed on 2026/12/01 14:02, job 17", or
// for a job in question, that it is not known to have printed.
QStringList describeIssued(const QList<IssuedLabel>& issued);
