#include "server/ApiWorkers.h"

#include <QThread>

struct ApiWorkers::Worker {
    QThread thread;
    QObject* context = nullptr;               // lives on `thread`
    std::unique_ptr<ServerRegistry> registry; // made, used and ended on `thread`
    bool busy = false;
};

ApiWorkers::ApiWorkers(const RegistryTarget& target, const QString& stateDir, int threads,
                       QObject* parent)
    : QObject(parent)
{
    if (target.backend == RegistryTarget::Backend::PostgreSQL)
        m_health = std::make_unique<RegistryHealth>();
    for (int i = 0; i < threads; ++i) {
        auto worker = std::make_unique<Worker>();
        worker->thread.setObjectName(QStringLiteral("api-%1").arg(i + 1));
        worker->context = new QObject;
        worker->context->moveToThread(&worker->thread);
        QObject::connect(&worker->thread, &QThread::finished, worker->context,
                         &QObject::deleteLater);
        worker->thread.start();
        Worker* raw = worker.get();
        RegistryHealth* health = m_health.get();
        QMetaObject::invokeMethod(raw->context, [raw, target, stateDir, health] {
            raw->registry = std::make_unique<ServerRegistry>(target, stateDir, health);
        });
        m_workers.push_back(std::move(worker));
    }
}

ApiWorkers::~ApiWorkers()
{
    // A request under way ends within its deadlines; the registries close
    // on their own threads.
    for (const std::unique_ptr<Worker>& worker : m_workers) {
        Worker* raw = worker.get();
        QMetaObject::invokeMethod(
            raw->context, [raw] { raw->registry.reset(); }, Qt::BlockingQueuedConnection);
        worker->thread.quit();
    }
    for (const std::unique_ptr<Worker>& worker : m_workers)
        worker->thread.wait();
}

void ApiWorkers::run(UiLanguage language, bool needsRegistry, Work work, Done done)
{
    m_queue.push_back({language, needsRegistry, std::move(work), std::move(done)});
    dispatch();
}

ApiWorkers::Worker* ApiWorkers::idleWorker() const
{
    for (const std::unique_ptr<Worker>& worker : m_workers)
        if (!worker->busy)
            return worker.get();
    return nullptr;
}

void ApiWorkers::dispatch()
{
    while (!m_queue.empty()) {
        Task& next = m_queue.front();
        if (next.language != UiLanguages::current()) {
            if (m_running > 0)
                return;
            UiLanguages::apply(next.language);
        }
        if (!next.needsRegistry) {
            Task task = std::move(next);
            m_queue.pop_front();
            task.done(task.work(nullptr));
            continue;
        }
        Worker* worker = idleWorker();
        if (!worker)
            return;
        Task task = std::move(next);
        m_queue.pop_front();
        worker->busy = true;
        ++m_running;
        QMetaObject::invokeMethod(worker->context, [this, worker, task = std::move(task)] {
            HttpReply reply = task.work(worker->registry.get());
            worker->registry->settle();
            QMetaObject::invokeMethod(this, [this, worker, done = task.done, reply] {
                worker->busy = false;
                --m_running;
                done(reply);
                dispatch();
            });
        });
    }
}
