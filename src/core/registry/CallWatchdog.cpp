#include "core/registry/CallWatchdog.h"

#include <sys/socket.h>

CallWatchdog::CallWatchdog(std::function<int()> socket) : m_socket(std::move(socket)) {}

CallWatchdog::~CallWatchdog()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CallWatchdog::arm(std::chrono::milliseconds deadline)
{
    {
        const std::lock_guard lock(m_mutex);
        m_deadline = std::chrono::steady_clock::now() + deadline;
        m_fired = false;
        if (!m_thread.joinable())
            m_thread = std::thread([this] { watch(); });
    }
    m_changed.notify_all();
}

void CallWatchdog::disarm()
{
    const std::lock_guard lock(m_mutex);
    m_deadline.reset();
}

bool CallWatchdog::fired() const
{
    const std::lock_guard lock(m_mutex);
    return m_fired;
}

void CallWatchdog::excluding(const std::function<void()>& change)
{
    const std::lock_guard lock(m_mutex);
    change();
}

void CallWatchdog::watch()
{
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (!m_deadline) {
            m_changed.wait(lock);
            continue;
        }
        const auto deadline = *m_deadline;
        if (m_changed.wait_until(lock, deadline) == std::cv_status::no_timeout)
            continue; // disarmed, armed anew, or stopping
        if (!m_deadline || *m_deadline != deadline)
            continue;
        // Reading and writing both end at once; the socket stays open, so
        // its number cannot pass to another file before the client library
        // closes it.
        if (const int socket = m_socket(); socket >= 0)
            ::shutdown(socket, SHUT_RDWR);
        m_fired = true;
        m_deadline.reset();
    }
}
