#pragma once

#include "core/registry/SqlRegistry.h"

#include <QObject>
#include <QThread>

#include <functional>
#include <memory>

// The registry of a program with a window: an SqlRegistry on a thread of
// its own, the only thread that uses its connection. Each call is handed to
// that thread, and the caller waits for the answer in a local event loop
// that takes no user input, so that the window keeps painting and its
// timers run while a server is slow. The caller waits no longer than the
// registry's deadline and a moment more: by then the call has ended (the
// registry's watchdog cuts a connection that says nothing), and one that
// has not fails as a registry that did not answer.
class RegistryThread final : public QObject, public LabelRegistry {
public:
    // Opens the registry as RegistrySetup::open does, on the new thread.
    static std::unique_ptr<RegistryThread> open(const RegistryTarget& target,
                                                const QString& stateDir);
    ~RegistryThread() override;

    bool isOpen() const override { return m_open; }
    // A call is under way (a timer of the window that fires meanwhile asks
    // nothing).
    bool isBusy() const override { return m_waiting > 0; }

    QString location() const override { return m_location; }
    QString identity() const override { return m_identity; }
    Failure failure() const override { return m_failure; }
    QString errorString() const override { return m_error; }

    std::optional<NumberingPosition> numbering(int labelType) override;
    std::optional<qint64> latestJobId() override;
    std::optional<QList<JobSummary>> unconfirmed(const Station& station) override;
    std::optional<QList<IssuedLabel>> issued(const QList<PrintLogEntry>& labels) override;
    std::optional<qint64> reserve(const RegistryJob& job, qint64 expectedJobId) override;
    bool confirm(qint64 id) override;
    bool release(qint64 id) override;
    std::optional<QList<JobSummary>> history(const HistoryFilter& filter) override;
    std::optional<RegistryJob> job(qint64 id) override;
    std::optional<QList<JobSummary>> find(const QString& text) override;
    QStringList takeNotes() override;

private:
    explicit RegistryThread(const RegistryTarget& target);
    struct Pending;
    // Runs `work` on the registry's thread and waits up to `waitMs` for it;
    // false when it did not end in time.
    bool run(const std::function<void()>& work, int waitMs);
    template <typename Result>
    Result ask(const std::function<Result(SqlRegistry&)>& question, Result unanswered);

    QThread m_thread;
    QObject* m_worker = nullptr;             // lives on m_thread
    std::unique_ptr<SqlRegistry> m_registry; // made, used and ended on m_thread
    std::shared_ptr<Pending> m_late;         // a call that outlasted its wait, still running
    int m_deadlineMs = RegistryTarget::DefaultDeadlineMs;
    int m_waiting = 0;
    bool m_open = false;
    QString m_location;
    QString m_identity;
    Failure m_failure = Failure::None;
    QString m_error;
    QStringList m_notes;
};
