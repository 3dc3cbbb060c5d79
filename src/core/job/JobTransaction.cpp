#include "core/job/JobTransaction.h"

#include "core/io/AtomicFile.h"
#include "core/model/LabelType.h"
#include "core/render/PrintJob.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>

namespace {

// How often a job is planned again when another station reserved the same
// type's numbers in the meantime.
constexpr int MaxPlans = 20;

// A file's bytes as they were, or nothing when there was no file.
std::optional<QByteArray> bytesOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

void putBackFile(const QString& path, const std::optional<QByteArray>& bytes)
{
    if (!bytes)
        QFile::remove(path);
    else if (bytesOf(path) != bytes)
        writeFileAtomically(path, *bytes, nullptr);
}

} // namespace

JobTransaction::JobTransaction(RunFiles& files, LabelRegistry& registry, Station station,
                               Clock clock)
    : m_files(files), m_registry(registry), m_station(std::move(station)), m_clock(std::move(clock))
{
}

JobOutcome JobTransaction::run(PrintCanvas& canvas, const Planner& plan,
                               const DuplicateQuestion& duplicates, const Progress& progress)
{
    JobOutcome outcome = transact(canvas, plan, duplicates, progress);
    outcome.notes = m_registry.takeNotes() + outcome.notes;
    return outcome;
}

JobOutcome JobTransaction::transact(PrintCanvas& canvas, const Planner& plan,
                                    const DuplicateQuestion& duplicates, const Progress& progress)
{
    JobOutcome outcome;
    QString error;
    if (!m_files.lock(&error)) {
        outcome.stop = JobOutcome::Stop::FolderBusy;
        outcome.message = error;
        return outcome;
    }
    const auto unlock = qScopeGuard([this] { m_files.unlock(); });
    removeStaleTemporaries(m_files.dir(),
                           {StartFile::FileName, QString::fromLatin1(StateFile::FileName)},
                           m_files.isLocked());

    FolderSnapshot snapshot;
    std::optional<JobPlan> planned;
    const qint64 id = planAndReserve(plan, duplicates, snapshot, planned, outcome);
    if (id == 0)
        return outcome;

    const FilesBefore before{bytesOf(m_files.startPath()), bytesOf(m_files.statePath())};
    if (!saveBeforePrinting(snapshot, *planned, outcome)) {
        putBack(before, id);
        outcome.stop = JobOutcome::Stop::Files;
        return outcome;
    }

    const SheetLabels labels = planned->kind == JobKind::Reprint
                                   ? SheetLabels(planned->run, planned->givenLabels)
                                   : SheetLabels(planned->run);
    const PrintJobResult printed =
        runPrintJob(canvas, planned->sheet.sheet, labels, planned->design.look, planned->offsets,
                    planned->startPosition, progress);
    if (!printed.ok) {
        putBack(before, id);
        outcome.stop = JobOutcome::Stop::Printer;
        outcome.message = printed.error;
        return outcome;
    }
    outcome.status = JobOutcome::Status::Printed;

    if (!m_registry.confirm(id)) {
        // It printed: it stays issued, and the next contact confirms it.
        outcome.unconfirmed = true;
        outcome.state.registry.unconfirmed << id;
        StateFile::write(m_files.statePath(), outcome.state, nullptr);
        outcome.notes << QCoreApplication::translate(
                             "JobTransaction",
                             "印刷しましたが、台帳に印刷済みと記録できませんでした"
                             "（次の接続で記録します）: %1")
                             .arg(m_registry.errorString());
    }
    return outcome;
}

qint64 JobTransaction::planAndReserve(const Planner& plan, const DuplicateQuestion& duplicates,
                                      FolderSnapshot& snapshot, std::optional<JobPlan>& planned,
                                      JobOutcome& outcome)
{
    for (int attempt = 1; attempt <= MaxPlans; ++attempt) {
        // Each round starts afresh: what stopped a round that is planned
        // again is not the job's outcome.
        outcome = JobOutcome();
        snapshot = FolderSnapshot::read(m_files, &m_registry);
        if (!resolvePrinted(snapshot, outcome))
            return 0;
        outcome.unresolved = snapshot.unresolved;
        const PlanDecision decision = plan(snapshot);
        if (!decision.plan) {
            outcome.status = JobOutcome::Status::Withdrawn;
            outcome.refusal = decision.refusal;
            outcome.message = decision.refusal.fullText();
            return 0;
        }
        planned = decision.plan;
        outcome.kind = planned->kind;
        outcome.notes << planned->notes;
        outcome.job = labelsOf(*planned, &outcome.next);
        outcome.job.printedAt = m_clock();
        const Issue issue = mayIssue(*planned, duplicates, outcome);
        if (issue == Issue::No)
            return 0;
        if (issue == Issue::PlanAgain)
            continue;
        bool moved = false;
        if (reserve(*planned, outcome.job, outcome.next, outcome, moved))
            return outcome.job.registryId;
        if (!moved)
            return 0;
    }
    outcome.stop = JobOutcome::Stop::Contended;
    outcome.message = QCoreApplication::translate(
        "JobTransaction", "ほかのステーションが同時に印刷し続けています。もう一度試してください。");
    return 0;
}

JobTransaction::Issue JobTransaction::mayIssue(const JobPlan& plan,
                                               const DuplicateQuestion& duplicates,
                                               JobOutcome& outcome)
{
    // Labels are identities; reprints and type 8's fixed lines are not new
    // ones.
    if (plan.kind != JobKind::Labels || !labelType(plan.run.type).listed)
        return Issue::Yes;
    const std::optional<QList<IssuedLabel>> before = m_registry.issued(outcome.job.labels);
    if (!before) {
        outcome.stop = JobOutcome::Stop::Registry;
        outcome.message = registryProblem(m_registry);
        return Issue::No;
    }
    if (before->isEmpty())
        return Issue::Yes;
    // Another station reserved these numbers since the plan was made: the
    // plan is stale, not the user's choice.
    const std::optional<NumberingPosition> now = m_registry.numbering(plan.design.type);
    if (now && now->jobId != plan.numberingJobId)
        return Issue::PlanAgain;
    if (duplicates && duplicates(*before))
        return Issue::Yes;
    outcome.status = JobOutcome::Status::Declined;
    outcome.issuedBefore = *before;
    outcome.message = describeIssued(*before).join(QLatin1Char('\n'));
    return Issue::No;
}

bool JobTransaction::resolvePrinted(FolderSnapshot& snapshot, JobOutcome& outcome)
{
    // Jobs that printed while the registry could not be reached are
    // confirmed now; the rest of this station's reservations are questions.
    QList<qint64>& printed = snapshot.state.state.registry.unconfirmed;
    for (qsizetype i = printed.size() - 1; i >= 0; --i) {
        if (m_registry.confirm(printed[i]))
            printed.removeAt(i);
    }
    const std::optional<QList<JobSummary>> unresolved = m_registry.unconfirmed(m_station);
    if (!unresolved) {
        outcome.stop = JobOutcome::Stop::Registry;
        outcome.message = registryProblem(m_registry);
        return false;
    }
    for (const JobSummary& job : *unresolved) {
        if (!printed.contains(job.id))
            snapshot.unresolved << job;
    }
    return true;
}

bool JobTransaction::reserve(const JobPlan& plan, const PrintedJob& job, const Continuation& next,
                             JobOutcome& outcome, bool& moved)
{
    RegistryJob record;
    record.reservedAt = job.printedAt.toUTC();
    record.kind = plan.kind;
    record.reprintOf = plan.reprintOf;
    record.reprinted = plan.reprinted;
    record.station = m_station;
    record.printer = plan.printer;
    record.design = plan.design;
    record.job = job;
    record.nextPosition = next.startPosition;
    record.movesNumbering = plan.kind == JobKind::Labels && labelType(plan.run.type).hasNumber();
    record.numberingAfter = {next.firstNumber, next.letter1, next.letter2, 0};
    const std::optional<qint64> id = m_registry.reserve(record, plan.numberingJobId);
    if (id) {
        outcome.job.registryId = *id;
        return true;
    }
    moved = m_registry.failure() == LabelRegistry::Failure::Moved;
    outcome.stop = JobOutcome::Stop::Registry;
    outcome.message = registryProblem(m_registry);
    return false;
}

bool JobTransaction::saveBeforePrinting(const FolderSnapshot& snapshot, const JobPlan& plan,
                                        JobOutcome& outcome)
{
    QString error;
    // A damaged state is kept under a second name first, since the new
    // state will replace it.
    if (plan.keepDamagedState) {
        const QString kept = StateFile::keepDamaged(m_files.statePath(), &error);
        if (kept.isEmpty()) {
            outcome.message =
                QCoreApplication::translate("JobTransaction",
                                            "壊れた状態ファイルを残せないため、印刷しません: %1")
                    .arg(error);
            return false;
        }
        outcome.notes << QCoreApplication::translate("JobTransaction",
                                                     "壊れた状態ファイルを %1 として残しました。")
                             .arg(QDir::toNativeSeparators(kept));
    }
    outcome.start = snapshot.start.values;
    outcome.start.startPosition = outcome.next.startPosition;
    outcome.state = plan.state;
    outcome.state.registry.identity = m_registry.identity();
    outcome.state.registry.unconfirmed = snapshot.state.state.registry.unconfirmed;
    // A reprint moves the start position on, never the design or its numbering.
    if (plan.kind == JobKind::Labels) {
        outcome.state.design = plan.design;
        applyContinuation(outcome.state.design, plan.run.type, outcome.next);
        outcome.state.lastJob = outcome.job;
    }
    outcome.state.registry.seenJob =
        std::max(outcome.state.registry.seenJob, outcome.job.registryId);
    if (!StartFile::write(m_files.startPath(), outcome.start, &error)) {
        outcome.message = error;
        return false;
    }
    if (!StateFile::write(m_files.statePath(), outcome.state, &error)) {
        outcome.message = QCoreApplication::translate(
                              "JobTransaction", "状態を保存できないため、印刷しません。\n%1\n%2")
                              .arg(QDir::toNativeSeparators(m_files.statePath()), error);
        return false;
    }
    return true;
}

void JobTransaction::putBack(const FilesBefore& before, qint64 id)
{
    // Nothing printed: the numbers go back to the registry, and the files
    // to what they were, so that nothing advances.
    m_registry.release(id);
    putBackFile(m_files.startPath(), before.start);
    putBackFile(m_files.statePath(), before.state);
}
