#pragma once

#include "core/registry/SqlRegistry.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>
#include <mutex>

// Whether the registry's server answered lately, shared by the service's
// threads. A PostgreSQL server that is frozen holds every call until its
// deadline; once one call found it away, the others answer 503 at once
// instead of each waiting out the deadline, and one call at a time (at most
// every RetryMs) asks again, so that the service serves again as soon as
// the server is back.
class RegistryHealth {
public:
    static constexpr int RetryMs = 2000;

    // Whether a call may be made now; a call made while the server is away
    // is the probe, and reports back with answered() or away().
    bool mayAsk();
    void answered();
    void away(const QString& problem);
    bool isAway() const;
    QString problem() const;

private:
    mutable std::mutex m_mutex;
    bool m_away = false;
    bool m_probing = false;
    QString m_problem;
    QElapsedTimer m_lastProbe;
};

// The registry of one of the service's threads (Qt SQL connections belong
// to the thread that made them), kept open between requests. A registry
// that could not be opened (a PostgreSQL server that was down when the
// service started) is tried again at a later request, at most every
// RetryMs, so that a server away does not hold up every request while it
// stays away; one that was open reconnects by itself.
class ServerRegistry {
public:
    static constexpr int RetryMs = RegistryHealth::RetryMs;

    // `health`: shared with the other threads' registries of a server; may
    // be null (a SQLite file has no server to wait for).
    ServerRegistry(const RegistryTarget& target, const QString& stateDir,
                   RegistryHealth* health = nullptr);

    // The registry ready for a question, or null: failure() and problem()
    // say why.
    SqlRegistry* get();
    // After a request: tells the other threads whether the server answered.
    void settle();

    QString kind() const; // "sqlite" or "postgresql"
    QString location() const { return m_target.shown(); }
    LabelRegistry::Failure failure() const;
    QString problem() const;

private:
    RegistryTarget m_target;
    QString m_stateDir;
    RegistryHealth* m_health;
    std::unique_ptr<SqlRegistry> m_registry;
    QElapsedTimer m_lastTry;
    bool m_asked = false; // get() handed the registry out since settle()
    bool m_held = false;  // get() refused: the server is away
};
