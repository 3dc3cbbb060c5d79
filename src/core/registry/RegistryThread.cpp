#include "core/registry/RegistryThread.h"

#include "core/registry/RegistrySetup.h"

#include <QEventLoop>
#include <QTimer>

#include <condition_variable>
#include <mutex>

namespace {

// A call that ends this soon is waited for without an event loop: nothing
// else of the window runs in between.
constexpr int QuickMs = 50;
// How much longer than its deadline a call is waited for: the watchdog
// cuts it at the deadline, and the answer still has to come back.
constexpr int GraceMs = 1000;

} // namespace

// One call handed to the registry's thread.
struct RegistryThread::Pending {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;          // under mutex
    QEventLoop* loop = nullptr; // the caller's thread only
};

RegistryThread::RegistryThread(const RegistryTarget& target)
    : m_deadlineMs(target.deadlineMs), m_location(target.shown())
{
    m_worker = new QObject;
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.setObjectName(QStringLiteral("registry"));
    m_thread.start();
}

RegistryThread::~RegistryThread()
{
    // The connection ends on its own thread, after every call handed to it.
    QMetaObject::invokeMethod(
        m_worker, [this] { m_registry.reset(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

std::unique_ptr<RegistryThread> RegistryThread::open(const RegistryTarget& target,
                                                     const QString& stateDir)
{
    std::unique_ptr<RegistryThread> registry(new RegistryThread(target));
    RegistryThread* const r = registry.get();
    struct Opened {
        bool open = false;
        QString identity;
        Failure failure = Failure::Unavailable;
        QString error;
        QStringList notes;
    };
    const auto opened = std::make_shared<Opened>();
    // Opening may wait for a locked file and then for its first questions.
    const bool ended = r->run(
        [r, target, stateDir, opened] {
            r->m_registry = RegistrySetup::open(target, stateDir);
            *opened = {r->m_registry->isOpen(), r->m_registry->identity(), r->m_registry->failure(),
                       r->m_registry->errorString(), r->m_registry->takeNotes()};
        },
        2 * target.deadlineMs + GraceMs);
    r->m_open = ended && opened->open;
    r->m_identity = opened->identity;
    r->m_failure = ended ? opened->failure : Failure::Unavailable;
    r->m_error = ended ? opened->error : SqlRegistry::noAnswerWithin(target.deadlineMs);
    r->m_notes = opened->notes;
    return registry;
}

bool RegistryThread::run(const std::function<void()>& work, int waitMs)
{
    // A call that outlasted its wait still holds the connection: the ones
    // behind it would only wait for it too.
    if (m_late) {
        const std::lock_guard lock(m_late->mutex);
        if (!m_late->done)
            return false;
    }
    m_late.reset();
    const auto pending = std::make_shared<Pending>();
    QMetaObject::invokeMethod(m_worker, [this, work, pending] {
        work();
        {
            const std::lock_guard lock(pending->mutex);
            pending->done = true;
        }
        pending->ended.notify_all();
        QMetaObject::invokeMethod(this, [pending] {
            if (pending->loop)
                pending->loop->quit();
        });
    });
    {
        std::unique_lock lock(pending->mutex);
        if (pending->ended.wait_for(lock, std::chrono::milliseconds(std::min(QuickMs, waitMs)),
                                    [&pending] { return pending->done; }))
            return true;
    }
    QEventLoop loop;
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    pending->loop = &loop;
    ++m_waiting;
    bool done = false;
    {
        const std::lock_guard lock(pending->mutex);
        done = pending->done;
    }
    // The answer may have come between the two looks; its quit then waits
    // in the queue for the loop.
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    --m_waiting;
    pending->loop = nullptr;
    const std::lock_guard lock(pending->mutex);
    if (!pending->done)
        m_late = pending;
    return pending->done;
}

template <typename Result>
Result RegistryThread::ask(const std::function<Result(SqlRegistry&)>& question, Result unanswered)
{
    if (!m_open)
        return unanswered;
    // Shared with the registry's thread: a call that outlasts its wait
    // still writes its answer somewhere.
    struct Answer {
        Result result;
        Failure failure = Failure::None;
        QString error;
        QStringList notes;
    };
    const auto answer = std::make_shared<Answer>(Answer{unanswered, Failure::None, {}, {}});
    const bool ended = run(
        [this, question, answer] {
            answer->result = question(*m_registry);
            answer->failure = m_registry->failure();
            answer->error = m_registry->errorString();
            answer->notes = m_registry->takeNotes();
        },
        m_deadlineMs + GraceMs);
    if (!ended) {
        m_failure = Failure::Unavailable;
        m_error = SqlRegistry::noAnswerWithin(m_deadlineMs);
        return unanswered;
    }
    m_failure = answer->failure;
    m_error = answer->error;
    m_notes << answer->notes;
    return answer->result;
}

std::optional<NumberingPosition> RegistryThread::numbering(int labelType)
{
    return ask<std::optional<NumberingPosition>>(
        [labelType](SqlRegistry& r) { return r.numbering(labelType); }, std::nullopt);
}

std::optional<qint64> RegistryThread::latestJobId()
{
    return ask<std::optional<qint64>>([](SqlRegistry& r) { return r.latestJobId(); }, std::nullopt);
}

std::optional<QList<JobSummary>> RegistryThread::unconfirmed(const Station& station)
{
    return ask<std::optional<QList<JobSummary>>>(
        [station](SqlRegistry& r) { return r.unconfirmed(station); }, std::nullopt);
}

std::optional<QList<IssuedLabel>> RegistryThread::issued(const QList<PrintLogEntry>& labels)
{
    return ask<std::optional<QList<IssuedLabel>>>(
        [labels](SqlRegistry& r) { return r.issued(labels); }, std::nullopt);
}

std::optional<qint64> RegistryThread::reserve(const RegistryJob& job, qint64 expectedJobId)
{
    return ask<std::optional<qint64>>(
        [job, expectedJobId](SqlRegistry& r) { return r.reserve(job, expectedJobId); },
        std::nullopt);
}

bool RegistryThread::confirm(qint64 id)
{
    return ask<bool>([id](SqlRegistry& r) { return r.confirm(id); }, false);
}

bool RegistryThread::release(qint64 id)
{
    return ask<bool>([id](SqlRegistry& r) { return r.release(id); }, false);
}

std::optional<QList<JobSummary>> RegistryThread::history(const HistoryFilter& filter)
{
    return ask<std::optional<QList<JobSummary>>>(
        [filter](SqlRegistry& r) { return r.history(filter); }, std::nullopt);
}

std::optional<RegistryJob> RegistryThread::job(qint64 id)
{
    return ask<std::optional<RegistryJob>>([id](SqlRegistry& r) { return r.job(id); },
                                           std::nullopt);
}

std::optional<QList<JobSummary>> RegistryThread::find(const QString& text)
{
    return ask<std::optional<QList<JobSummary>>>([text](SqlRegistry& r) { return r.find(text); },
                                                 std::nullopt);
}

QStringList RegistryThread::takeNotes()
{
    return std::exchange(m_notes, {});
}
