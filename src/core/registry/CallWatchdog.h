#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// A deadline for calls that wait on a network connection. A server that
// holds the connection open and says nothing (a frozen host, a stopped
// process) is never given up by the client library, and its kernel still
// answers keepalives; so when a call outlasts its deadline, the watchdog
// shuts the connection's socket down. The library then sees the connection
// end, and the call fails with an error instead of waiting for ever.
class CallWatchdog {
public:
    // `socket` names the connection's socket when a deadline passes (-1:
    // none). It runs on the watchdog's thread, while no `excluding` runs.
    explicit CallWatchdog(std::function<int()> socket);
    ~CallWatchdog();
    CallWatchdog(const CallWatchdog&) = delete;
    CallWatchdog& operator=(const CallWatchdog&) = delete;

    void arm(std::chrono::milliseconds deadline);
    void disarm();
    // The call armed last ran out of time.
    bool fired() const;
    // Runs `change` (closing or replacing the connection) while the
    // watchdog cannot look at the socket.
    void excluding(const std::function<void()>& change);

private:
    void watch();

    std::function<int()> m_socket;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<std::chrono::steady_clock::time_point> m_deadline;
    bool m_fired = false;
    bool m_stop = false;
    std::thread m_thread; // started by the first call armed
};
