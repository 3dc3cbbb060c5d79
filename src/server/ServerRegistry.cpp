#include "server/ServerRegistry.h"

#include "core/registry/RegistrySetup.h"

ServerRegistry::ServerRegistry(const RegistryTarget& target, const QString& stateDir)
    : m_target(target), m_stateDir(stateDir)
{
    get();
}

SqlRegistry* ServerRegistry::get()
{
    if (m_registry && m_registry->isOpen())
        return m_registry.get();
    if (m_registry && m_lastTry.isValid() && m_lastTry.elapsed() < RetryMs)
        return nullptr;
    m_lastTry.start();
    m_registry = RegistrySetup::open(m_target, m_stateDir);
    return m_registry->isOpen() ? m_registry.get() : nullptr;
}

QString ServerRegistry::kind() const
{
    return m_target.backend == RegistryTarget::Backend::PostgreSQL ? QStringLiteral("postgresql")
                                                                   : QStringLiteral("sqlite");
}

LabelRegistry::Failure ServerRegistry::failure() const
{
    return m_registry ? m_registry->failure() : LabelRegistry::Failure::Unavailable;
}

QString ServerRegistry::problem() const
{
    return m_registry ? m_registry->errorString() : QString();
}
