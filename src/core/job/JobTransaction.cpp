#include "core/job/JobTransaction.h"

#include "core/io/AtomicFile.h"
#include "core/render/PrintJob.h"

#include <QDir>
#include <QScopeGuard>

JobOutcome JobTransaction::run(PrintCanvas& canvas, const Planner& plan, const Progress& progress)
{
    JobOutcome outcome;
    QString error;
    if (!m_files.lock(&error)) {
        outcome.message = error;
        return outcome;
    }
    const auto unlock = qScopeGuard([this] { m_files.unlock(); });
    removeStaleTemporaries(m_files.dir(),
                           {StartFile::FileName, QString::fromLatin1(StateFile::FileName)});

    FolderSnapshot snapshot;
    snapshot.start = StartFile::read(m_files.startPath());
    snapshot.state = StateFile::read(m_files.statePath());

    const PlanDecision decision = plan(snapshot);
    if (!decision.plan) {
        outcome.status = JobOutcome::Status::Withdrawn;
        outcome.refusal = decision.refusal;
        outcome.message = decision.message;
        return outcome;
    }
    const JobPlan& p = *decision.plan;
    if (snapshot.start.status != StartFileReadResult::Ok) {
        outcome.message = snapshot.start.error; // a planner must refuse this itself
        return outcome;
    }

    // A damaged state is kept under a second name before anything prints,
    // since the new state will replace it.
    if (p.keepDamagedState) {
        const QString kept = StateFile::keepDamaged(m_files.statePath(), &error);
        if (kept.isEmpty()) {
            outcome.message = QStringLiteral("the damaged state could not be kept: %1").arg(error);
            return outcome;
        }
        outcome.notes << QStringLiteral("damaged state kept as %1").arg(QDir::toNativeSeparators(kept));
    }

    const PrintJobResult printed =
        RunPrintJob(canvas, p.run, p.design.look, p.offsets, p.startPosition, progress);
    if (!printed.ok) {
        outcome.message = printed.error;
        return outcome;
    }

    // The labels are on paper: from here on the numbering must move on, and
    // whatever cannot be saved is reported, never undone.
    outcome.status = JobOutcome::Status::Printed;
    outcome.job = printed.job;
    outcome.next = printed.next;
    outcome.start = snapshot.start.values;
    outcome.start.startPosition = printed.next.startPosition;
    QStringList failures;
    if (!StartFile::write(m_files.startPath(), outcome.start, &error))
        failures << error;

    outcome.state = p.state;
    outcome.state.design = p.design;
    applyContinuation(outcome.state.design, p.run.type, printed.next);
    outcome.state.lastJob = printed.job;
    if (!StateFile::write(m_files.statePath(), outcome.state, &error))
        failures << QStringLiteral("状態を保存できません。\n%1\n%2")
                        .arg(QDir::toNativeSeparators(m_files.statePath()), error);
    if (!failures.isEmpty()) {
        outcome.status = JobOutcome::Status::PrintedNotSaved;
        outcome.message = failures.join(QLatin1Char('\n'));
    }
    return outcome;
}
