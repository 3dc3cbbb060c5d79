#pragma once

#include "core/i18n/UiLanguage.h"
#include "server/HttpReply.h"
#include "server/ServerRegistry.h"

#include <QObject>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

// The threads that answer the API's requests, so that a job being printed,
// or a registry that is slow to answer, never holds up the HTTP thread and
// the other clients. Each thread keeps its own connection to the registry
// (Qt SQL connections belong to the thread that made them).
//
// Requests wait in one queue, first come first served. The program's texts
// come from one translation for the whole process, so requests run side by
// side only while they speak the same language: a request in the other
// language waits until those running are done, and the language is changed
// on this thread in between. Short answers that need no registry (the
// page, a refusal before any handler) run on this thread when their turn
// comes.
class ApiWorkers : public QObject {
    Q_OBJECT
public:
    using Work = std::function<HttpReply(ServerRegistry*)>; // null: on this thread
    using Done = std::function<void(const HttpReply&)>;

    ApiWorkers(const RegistryTarget& target, const QString& stateDir, int threads,
               QObject* parent = nullptr);
    ~ApiWorkers() override;

    // Runs `work` speaking `language`, on a worker thread (or here when not
    // `needsRegistry`), then `done` on this thread with its answer.
    void run(UiLanguage language, bool needsRegistry, Work work, Done done);
    // Requests running or waiting.
    int pending() const { return int(m_queue.size()) + m_running; }

private:
    struct Task {
        UiLanguage language;
        bool needsRegistry;
        Work work;
        Done done;
    };
    struct Worker;

    void dispatch();
    Worker* idleWorker() const;

    std::vector<std::unique_ptr<Worker>> m_workers;
    std::unique_ptr<RegistryHealth> m_health;
    std::deque<Task> m_queue;
    int m_running = 0;
};
