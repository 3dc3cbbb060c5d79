#pragma once

#include "core/registry/LabelRegistry.h"
#include "core/registry/RegistryTarget.h"
#include "core/registry/SqlDialect.h"

#include <QSqlError>
#include <QString>
#include <QVariantList>

#include <memory>
#include <utility>

class CallWatchdog;
class QSqlDatabase;
class QSqlDriver;
class QSqlQuery;

// The registry through Qt SQL, on SQLite or PostgreSQL: the same tables,
// versioned, and the same queries, but for the few words the two spell
// differently. On SQLite a write transaction takes the database's write
// lock at once; on PostgreSQL a job's reservation locks its type's
// numbering row, so that two stations never reserve the same numbers.
// Every call ends within the target's deadline: on PostgreSQL a watchdog
// cuts the connection of a call that outlasts it. A file is only ever
// written once it is known to be a registry of ours.
class SqlRegistry final : public LabelRegistry {
public:
    // The newest schema this program writes.
    static constexpr int SchemaVersion = 1;

    // Opens the registry, and creates its tables when there are none and
    // `mayCreate` (a new file, or a server database the user may write).
    // Never returns null: failure() and errorString() say what went wrong.
    static std::unique_ptr<SqlRegistry> open(const RegistryTarget& target, bool mayCreate = true);
    ~SqlRegistry() override;

    bool isOpen() const override { return m_open; }
    // The tables were made just now: an existing state may be imported.
    bool wasCreated() const { return m_created; }
    // The file or database held no tables at all: nothing was ever recorded.
    bool isEmpty() const { return m_empty && !m_created; }
    const RegistryTarget& target() const { return m_target; }
    int schemaVersion() const { return m_schema; }

    QString location() const override { return m_target.shown(); }
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

    // For the registry's own tests and benchmarks: the database connection.
    QSqlDatabase database() const;

    QStringList takeNotes() override;

    // Why a call failed that outlasted its deadline.
    static QString noAnswerWithin(int deadlineMs);

private:
    // A call of the registry, under the target's deadline from its start to
    // its end; calls made inside it share its deadline.
    class Deadline {
    public:
        explicit Deadline(SqlRegistry& registry);
        ~Deadline();
        Deadline(const Deadline&) = delete;
        Deadline& operator=(const Deadline&) = delete;

    private:
        SqlRegistry& m_registry;
    };
    using Access = SqlDialect::Access;
    // What a database holds, before anything is written to it.
    struct Inspection {
        int tables = 0;
        bool registry = false; // its tables are a registry's
        int schema = 0;
        QString identity;
    };

    explicit SqlRegistry(const RegistryTarget& target);
    bool connect();
    // How a file that is there already is first opened.
    Access firstLook() const;
    bool openConnection(Access access);
    // The socket of a PostgreSQL connection, for the watchdog; -1 for none.
    int socket() const;
    // A database with tables that are not a registry's, or of a newer
    // version, fails here.
    std::optional<Inspection> inspect(bool* hasLowerIndex);
    bool useWal();
    // Before each question: the failure of the last one forgotten, and a
    // connection that was lost (a server restarted) made again.
    bool ready();
    bool prepareSchema(bool mayCreate);
    bool createSchema();
    bool migrate(int from);

    // Runs a statement with its values; false after recording the failure.
    bool exec(QSqlQuery& query, const QString& sql, const QVariantList& values = {});
    bool begin();
    bool commit();
    void rollback();
    bool fail(const QSqlError& error, const QString& doing);
    bool fail(Failure failure, const QString& message);
    void clearFailure();

    bool insertLabels(qint64 jobId, const QList<PrintLogEntry>& labels);
    std::optional<QList<JobSummary>> summaries(const QString& where, const QVariantList& values);
    // The type's numbering row, locked until the transaction ends.
    std::optional<NumberingPosition> lockNumbering(int numberingType);
    // Where a numbering goes on after its type's newest job, for a registry
    // whose numbering row went missing; noted for the user.
    std::optional<NumberingPosition> numberingFromJobs(int numberingType);

    RegistryTarget m_target;
    SqlDialect m_dialect;
    QString m_connection;
    bool m_open = false;
    bool m_created = false;
    bool m_empty = false;
    int m_schema = 0;
    QString m_identity;
    Failure m_failure = Failure::None;
    QString m_error;
    QStringList m_notes;
    QList<int> m_rebuiltTypes;                // numberings made again from the jobs, noted once
    std::unique_ptr<CallWatchdog> m_watchdog; // a server's
    QSqlDriver* m_driver = nullptr;
    int m_calls = 0; // calls under way, one inside another
};
