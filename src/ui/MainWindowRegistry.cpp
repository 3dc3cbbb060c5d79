// The main window and the registry of issued labels: opening it, a
// registry that cannot be used, jobs that may or may not have printed, and
// jobs that other stations print meanwhile.

#include "ui/MainWindow.h"

#include "core/job/Reprint.h"
#include "core/job/ReservedJobs.h"
#include "core/registry/RegistrySetup.h"
#include "core/registry/RegistryThread.h"
#include "ui/DesignScreen.h"
#include "ui/Dialogs.h"
#include "ui/FolderSync.h"
#include "ui/HistoryDialog.h"
#include "ui/JobQuestion.h"
#include "ui/PrintScreen.h"
#include "ui/ReprintDialog.h"
#include "ui/UserPaths.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>

namespace {

// How often the window looks for jobs printed elsewhere, and how long it
// leaves a registry that did not answer.
constexpr int PollMs = 3000;
constexpr int RetryMs = 30000;

} // namespace

bool MainWindow::openRegistry()
{
    const RegistrySetup::Choice choice = RegistrySetup::choose(m_state.appDir);
    if (!choice.error.isEmpty()) {
        m_registryProblem = choice.error;
        m_dialogs.error(nullptr, tr("ラベル台帳の設定が使えません。番号付きのラベルは印刷できません。\n%1")
                                     .arg(choice.error));
        showRegistryLine(false);
        return true;
    }
    for (;;) {
        m_registry = RegistryThread::open(choice.target, m_state.appDir);
        if (m_registry->isOpen())
            break;
        const LabelRegistry::Failure failure = m_registry->failure();
        const QString detail = m_registry->location() + QLatin1Char('\n') + m_registry->errorString();
        m_registryProblem = detail;
        const bool file = choice.target.backend == RegistryTarget::Backend::SQLite;
        m_registry.reset();
        if (failure != LabelRegistry::Failure::Damaged || !file) {
            // Away for now (locked, a server down, a newer program's):
            // nothing numbered prints until it can be used again.
            m_dialogs.message(nullptr,
                              tr("ラベル台帳を使えません。使えるようになるまで印刷できません。"),
                              detail);
            showRegistryLine(false);
            return true;
        }
        const int answer =
            m_dialogs.choose(nullptr,
                             tr("ラベル台帳が壊れているか、台帳ではありません。"
                                "そのまま残します。印刷する前に、どうするか選んでください。"),
                             detail, {tr("別に保管して新しく始める"), tr("終了")});
        if (answer != 0)
            return false;
        QString error;
        if (!keepRegistryAside(&error)) {
            m_dialogs.error(nullptr, error);
            return false;
        }
    }
    m_registryProblem.clear();
    const RegistryMark& mark = m_sync->syncedState().registry;
    m_seenJob = mark.identity == m_registry->identity() ? mark.seenJob : 0;
    // A job printed elsewhere since this window last ran moves the numbering on.
    if (adoptNumbering())
        m_design->showNumbering();
    showRegistryLine();
    return true;
}

bool MainWindow::keepRegistryAside(QString* error)
{
    // Renamed with its journal files, under a name no earlier copy has.
    const QString file = QDir(m_state.appDir).filePath(QString::fromLatin1(RegistrySetup::FileName));
    for (int n = 1; n < 1000; ++n) {
        const QString kept =
            file + QStringLiteral(".bad") + (n > 1 ? QStringLiteral(".%1").arg(n) : QString());
        if (QFile::exists(kept))
            continue;
        if (!QFile::rename(file, kept)) {
            *error = tr("ラベル台帳を %1 として保管できませんでした。").arg(nativePath(kept));
            return false;
        }
        for (const char* journal : {"-wal", "-shm"}) {
            const QString suffix = QString::fromLatin1(journal);
            if (QFile::exists(file + suffix))
                QFile::rename(file + suffix, kept + suffix);
        }
        return true;
    }
    *error = tr("ラベル台帳を保管する名前がありません。");
    return false;
}

bool MainWindow::ensureRegistry()
{
    if (m_registry)
        return true;
    const RegistrySetup::Choice choice = RegistrySetup::choose(m_state.appDir);
    if (choice.error.isEmpty()) {
        std::unique_ptr<RegistryThread> registry =
            RegistryThread::open(choice.target, m_state.appDir);
        if (registry->isOpen()) {
            m_registry = std::move(registry);
            m_registryProblem.clear();
            showRegistryLine();
            return true;
        }
        m_registryProblem = registry->location() + QLatin1Char('\n') + registry->errorString();
    } else {
        m_registryProblem = choice.error;
    }
    m_dialogs.error(this, tr("ラベル台帳を使えないため、印刷しません。\n%1").arg(m_registryProblem));
    return false;
}

void MainWindow::askAboutUnresolvedJobs()
{
    if (!m_registry)
        return;
    // Only while no job runs on this folder: a job in progress elsewhere
    // is reserved and not yet confirmed, and is no question.
    QString busy;
    const std::optional<QList<JobSummary>> jobs = ReservedJobs::confirmPrinted(
        *m_files, *m_registry, Station::ofThisProcess(m_state.appDir), &busy, 0);
    if (!jobs)
        return;
    for (const JobSummary& job : *jobs)
        JobQuestion::ask(m_dialogs, this, *m_files, *m_registry, job, m_state.design);
    adoptChangesFromElsewhere();
    m_design->showNumbering();
    updateNextLine();
    arrangeButtonBar(m_screen);
}

bool MainWindow::adoptNumbering()
{
    if (!m_registry)
        return false;
    const std::optional<qint64> latest = m_registry->latestJobId();
    if (!latest || *latest <= m_seenJob)
        return false;
    const std::optional<NumberingPosition> at = m_registry->numbering(m_state.design.type);
    if (!at)
        return false;
    bool moved = false;
    if (at->jobId > m_seenJob) {
        const LabelDesign before = m_state.design;
        applyContinuation(m_state.design, m_state.design.type,
                          {0, at->firstNumber, at->letter1, at->letter2});
        moved = !(before == m_state.design);
        // The run frozen for the print screen goes on from there too.
        if (moved && m_screen == Screen::Print) {
            const LabelTypeTraits& traits = labelType(m_state.design.type);
            m_state.run.firstNumber = m_state.design.firstNumber;
            if (traits.letterCount > 0)
                m_state.run.letter1 = m_state.design.letter(traits.letters[0]);
            if (traits.letterCount > 1)
                m_state.run.letter2 = m_state.design.letter(traits.letters[1]);
        }
    }
    m_seenJob = *latest;
    return moved;
}

void MainWindow::lookForOtherJobs()
{
    // Not while a call of the window waits for its answer.
    if (m_busy || !isVisible() || (m_registry && m_registry->isBusy()))
        return;
    if (!m_registry) {
        showRegistryLine(false);
        return;
    }
    // A server that did not answer is asked again only now and then: each
    // attempt may wait for the connection's time-out.
    if (m_unreachableSince.isValid() && m_unreachableSince.elapsed() < RetryMs)
        return;
    const bool reachable = m_registry->latestJobId().has_value();
    if (reachable)
        m_unreachableSince.invalidate();
    else
        m_unreachableSince.start();
    showRegistryLine(reachable);
    if (!reachable || !adoptNumbering())
        return;
    m_design->showNumbering();
    updateNextLine();
}

void MainWindow::setRegistryPollInterval(int ms)
{
    m_registryPoll->setInterval(ms);
}

void MainWindow::showRegistryLine(bool reachable)
{
    m_registryReachable = reachable;
    if (!m_registryPoll) {
        m_registryPoll = new QTimer(this);
        m_registryPoll->setInterval(PollMs);
        connect(m_registryPoll, &QTimer::timeout, this, &MainWindow::lookForOtherJobs);
        m_registryPoll->start();
    }
    QString text;
    if (m_registry)
        text = tr("ラベル台帳: %1").arg(m_registry->location());
    else
        text = tr("ラベル台帳: 使えません");
    if (m_registry && !reachable)
        text += tr("（接続できません）");
    m_c.registryLine->setText(text);
    m_c.registryLine->setToolTip(m_registry ? m_registry->location() : m_registryProblem);
}

void MainWindow::showHistory()
{
    if (m_busy || !ensureRegistry())
        return;
    auto* history = new HistoryDialog(*m_registry, this);
    history->setAttribute(Qt::WA_DeleteOnClose);
    history->setWindowModality(Qt::WindowModal);
    const auto jobOf = [this](qint64 id) {
        std::optional<RegistryJob> job = m_registry ? m_registry->job(id) : std::nullopt;
        if (!job)
            m_dialogs.error(this, m_registry ? m_registry->errorString() : m_registryProblem);
        return job;
    };
    connect(history, &HistoryDialog::recordRequested, this, [this, jobOf](qint64 id) {
        if (const std::optional<RegistryJob> job = jobOf(id))
            runRecordJob(job->job);
    });
    connect(history, &HistoryDialog::spreadsheetRequested, this, [this, jobOf](qint64 id) {
        if (const std::optional<RegistryJob> job = jobOf(id))
            writeSpreadsheet(job->job);
    });
    connect(history, &HistoryDialog::reprintRequested, this, [this, jobOf, history](qint64 id) {
        const std::optional<RegistryJob> job = jobOf(id);
        if (!job)
            return;
        auto* reprint = new ReprintDialog(*job, m_state.start.startPosition, history);
        reprint->setAttribute(Qt::WA_DeleteOnClose);
        reprint->setWindowModality(Qt::WindowModal);
        connect(reprint, &QDialog::accepted, this, [this, reprint, history, job] {
            JobPlan plan = Reprint::plan(*job, reprint->chosenLabels(), reprint->startPosition());
            if (runJob(plan, QString::fromLatin1(LabelsJobName), true))
                history->reload();
        });
        reprint->show();
    });
    connect(history, &HistoryDialog::settleRequested, this,
            [this, history](qint64 id) { settleFromHistory(id, history); });
    history->show();
}
