#pragma once

#include "core/registry/SqlRegistry.h"

#include <QElapsedTimer>
#include <QString>

#include <memory>

// The service's registry of issued labels, kept open between requests. A
// registry that could not be opened (a PostgreSQL server that was down when
// the service started) is tried again at a later request, at most every
// RetryMs, so that a server away does not hold up every request while it
// stays away; one that was open reconnects by itself.
class ServerRegistry {
public:
    static constexpr int RetryMs = 2000;

    ServerRegistry(const RegistryTarget& target, const QString& stateDir);

    // The registry ready for a question, or null: failure() and problem()
    // say why.
    SqlRegistry* get();

    QString kind() const; // "sqlite" or "postgresql"
    QString location() const { return m_target.shown(); }
    LabelRegistry::Failure failure() const;
    QString problem() const;

private:
    RegistryTarget m_target;
    QString m_stateDir;
    std::unique_ptr<SqlRegistry> m_registry;
    QElapsedTimer m_lastTry;
};
