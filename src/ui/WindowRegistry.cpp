#include "ui/WindowRegistry.h"

#include "core/io/RunFiles.h"
#include "core/job/ReservedJobs.h"
#include "core/registry/RegistrySetup.h"
#include "core/registry/RegistryThread.h"
#include "ui/Dialogs.h"
#include "ui/HistoryDialog.h"
#include "ui/JobQuestion.h"
#include "ui/UserPaths.h"

#include <QFile>
#include <QLabel>
#include <QTimer>

namespace {

// How often the window looks for jobs printed elsewhere, and how long it
// leaves a registry that did not answer.
constexpr int PollMs = 3000;
constexpr int RetryMs = 30000;

} // namespace

WindowRegistry::WindowRegistry(const QString& appDir, RunFiles& files, Dialogs& dialogs,
                               QWidget* window, QLabel* line, std::function<bool()> busy)
    : QObject(window), m_appDir(appDir), m_files(files), m_dialogs(dialogs), m_window(window),
      m_line(line), m_busy(std::move(busy))
{
}

WindowRegistry::~WindowRegistry() = default;

bool WindowRegistry::open(const RegistryMark& mark)
{
    const RegistrySetup::Choice choice = RegistrySetup::choose(m_appDir);
    if (!choice.error.isEmpty()) {
        m_problem = choice.error;
        m_dialogs.error(nullptr,
                        tr("ラベル台帳の設定が使えません。番号付きのラベルは印刷できません。\n%1")
                            .arg(choice.error));
        showLine(false);
        return true;
    }
    for (;;) {
        m_registry = RegistryThread::open(choice.target, m_appDir);
        if (m_registry->isOpen())
            break;
        const LabelRegistry::Failure failure = m_registry->failure();
        const QString detail =
            m_registry->location() + QLatin1Char('\n') + m_registry->errorString();
        m_problem = detail;
        const bool file = choice.target.backend == RegistryTarget::Backend::SQLite;
        m_registry.reset();
        if (failure != LabelRegistry::Failure::Damaged || !file) {
            // Away for now (locked, a server down, a newer program's):
            // nothing numbered prints until it can be used again.
            m_dialogs.message(nullptr,
                              tr("ラベル台帳を使えません。使えるようになるまで印刷できません。"),
                              detail);
            showLine(false);
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
        if (!keepAside(&error)) {
            m_dialogs.error(nullptr, error);
            return false;
        }
    }
    m_problem.clear();
    m_seenJob = mark.identity == m_registry->identity() ? mark.seenJob : 0;
    showLine();
    return true;
}

bool WindowRegistry::keepAside(QString* error)
{
    // Renamed with its journal files, under a name no earlier copy has.
    const QString file = QDir(m_appDir).filePath(QString::fromLatin1(RegistrySetup::FileName));
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

LabelRegistry* WindowRegistry::ensure()
{
    if (m_registry)
        return m_registry.get();
    const RegistrySetup::Choice choice = RegistrySetup::choose(m_appDir);
    if (choice.error.isEmpty()) {
        std::unique_ptr<LabelRegistry> registry = RegistryThread::open(choice.target, m_appDir);
        if (registry->isOpen()) {
            m_registry = std::move(registry);
            m_problem.clear();
            showLine();
            return m_registry.get();
        }
        m_problem = registry->location() + QLatin1Char('\n') + registry->errorString();
    } else {
        m_problem = choice.error;
    }
    m_dialogs.error(m_window, tr("ラベル台帳を使えないため、印刷しません。\n%1").arg(m_problem));
    return nullptr;
}

void WindowRegistry::markIn(SavedState& state) const
{
    if (!m_registry)
        return;
    state.registry.identity = m_registry->identity();
    state.registry.seenJob = m_seenJob;
}

void WindowRegistry::sawJob(qint64 id)
{
    m_seenJob = std::max(m_seenJob, id);
}

bool WindowRegistry::adoptNumbering(LabelDesign& design)
{
    if (!m_registry)
        return false;
    const std::optional<qint64> latest = m_registry->latestJobId();
    if (!latest || *latest <= m_seenJob)
        return false;
    const std::optional<NumberingPosition> at = m_registry->numbering(design.type);
    if (!at)
        return false;
    bool moved = false;
    if (at->jobId > m_seenJob) {
        const LabelDesign before = design;
        applyContinuation(design, design.type, {0, at->firstNumber, at->letter1, at->letter2});
        moved = !(before == design);
    }
    m_seenJob = *latest;
    return moved;
}

void WindowRegistry::proposeContinuation(LabelDesign& design, int type)
{
    // As the command line goes on; the user may still choose any first
    // number. A type without a job yet keeps the number shown.
    if (!m_registry || !m_reachable)
        return;
    const std::optional<NumberingPosition> at = m_registry->numbering(type);
    if (at && at->jobId != 0)
        applyContinuation(design, type, {0, at->firstNumber, at->letter1, at->letter2});
}

void WindowRegistry::askAboutUnresolvedJobs(LabelDesign& design)
{
    if (!m_registry)
        return;
    // Only while no job runs on this folder: a job in progress elsewhere
    // is reserved and not yet confirmed, and is no question.
    QString busy;
    const std::optional<QList<JobSummary>> jobs = ReservedJobs::confirmPrinted(
        m_files, *m_registry, Station::ofThisProcess(m_appDir), &busy, 0);
    if (!jobs)
        return;
    for (const JobSummary& job : *jobs)
        JobQuestion::ask(m_dialogs, m_window, m_files, *m_registry, job, design);
    Q_EMIT jobsSettled();
}

bool WindowRegistry::settle(qint64 id, QWidget* history, LabelDesign& design)
{
    if (!m_registry)
        return false;
    // Only this station's jobs, and only while no job runs on its folder: a
    // job another station or program is printing now is reserved too.
    QString error;
    const std::optional<QList<JobSummary>> jobs = ReservedJobs::confirmPrinted(
        m_files, *m_registry, Station::ofThisProcess(m_appDir), &error, 0);
    if (!jobs) {
        m_dialogs.error(history, error);
        return false;
    }
    const auto job = std::find_if(jobs->cbegin(), jobs->cend(),
                                  [id](const JobSummary& j) { return j.id == id; });
    const std::optional<RegistryJob> stored = m_registry->job(id);
    if (job != jobs->cend())
        JobQuestion::ask(m_dialogs, history, m_files, *m_registry, *job, design);
    else if (stored && stored->state == JobState::Reserved)
        m_dialogs.message(history, tr("ジョブ %1 は別のステーション（%2）のジョブです。"
                                      "そのステーションで答えてください。")
                                       .arg(id)
                                       .arg(stored->station.shown()));
    Q_EMIT jobsSettled();
    return true;
}

void WindowRegistry::lookForOtherJobs()
{
    // Not while a call of the window waits for its answer.
    if (m_busy() || !m_window->isVisible() || (m_registry && m_registry->isBusy()))
        return;
    if (!m_registry) {
        showLine(false);
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
    showLine(reachable);
    if (reachable)
        Q_EMIT answered();
}

void WindowRegistry::setPollInterval(int ms)
{
    m_poll->setInterval(ms);
}

void WindowRegistry::retranslate()
{
    // A line made of texts and values: made again once it was shown.
    if (m_poll)
        showLine(m_reachable);
}

void WindowRegistry::showLine(bool reachable)
{
    m_reachable = reachable;
    if (!m_poll) {
        m_poll = new QTimer(this);
        m_poll->setInterval(PollMs);
        connect(m_poll, &QTimer::timeout, this, &WindowRegistry::lookForOtherJobs);
        m_poll->start();
    }
    QString text;
    if (m_registry)
        text = tr("ラベル台帳: %1").arg(m_registry->location());
    else
        text = tr("ラベル台帳: 使えません");
    if (m_registry && !reachable)
        text += tr("（接続できません）");
    m_line->setText(text);
    m_line->setToolTip(m_registry ? m_registry->location() : m_problem);
}
