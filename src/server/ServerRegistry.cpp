#include "server/ServerRegistry.h"

#include "core/registry/RegistrySetup.h"

bool RegistryHealth::mayAsk()
{
    const std::lock_guard lock(m_mutex);
    if (!m_away)
        return true;
    if (m_probing || (m_lastProbe.isValid() && m_lastProbe.elapsed() < RetryMs))
        return false;
    m_probing = true;
    m_lastProbe.start();
    return true;
}

void RegistryHealth::answered()
{
    const std::lock_guard lock(m_mutex);
    m_away = false;
    m_probing = false;
}

void RegistryHealth::away(const QString& problem)
{
    const std::lock_guard lock(m_mutex);
    if (!m_away)
        m_lastProbe.start();
    m_away = true;
    m_probing = false;
    m_problem = problem;
}

bool RegistryHealth::isAway() const
{
    const std::lock_guard lock(m_mutex);
    return m_away;
}

QString RegistryHealth::problem() const
{
    const std::lock_guard lock(m_mutex);
    return m_problem;
}

ServerRegistry::ServerRegistry(const RegistryTarget& target, const QString& stateDir,
                               RegistryHealth* health)
    : m_target(target), m_stateDir(stateDir), m_health(health)
{
}

SqlRegistry* ServerRegistry::get()
{
    if (m_asked)
        return m_registry && m_registry->isOpen() ? m_registry.get() : nullptr;
    m_held = m_health && !m_health->mayAsk();
    if (m_held)
        return nullptr;
    m_asked = true;
    if (m_registry && m_registry->isOpen())
        return m_registry.get();
    if (m_registry && m_lastTry.isValid() && m_lastTry.elapsed() < RetryMs)
        return nullptr;
    m_lastTry.start();
    m_registry = RegistrySetup::open(m_target, m_stateDir);
    return m_registry->isOpen() ? m_registry.get() : nullptr;
}

void ServerRegistry::settle()
{
    if (m_health && m_asked) {
        if (failure() == LabelRegistry::Failure::Unavailable)
            m_health->away(problem());
        else
            m_health->answered();
    }
    m_asked = false;
    m_held = false;
}

QString ServerRegistry::kind() const
{
    return m_target.backend == RegistryTarget::Backend::PostgreSQL ? QStringLiteral("postgresql")
                                                                   : QStringLiteral("sqlite");
}

LabelRegistry::Failure ServerRegistry::failure() const
{
    if (m_held || !m_registry)
        return LabelRegistry::Failure::Unavailable;
    return m_registry->failure();
}

QString ServerRegistry::problem() const
{
    if (m_held)
        return m_health->problem();
    return m_registry ? m_registry->errorString() : QString();
}
