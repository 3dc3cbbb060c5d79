#pragma once

#include "core/registry/LabelRegistry.h"
#include "core/registry/SqlConnection.h"
#include "core/registry/SqlSchema.h"

#include <QString>
#include <QVariantList>

#include <memory>

class QSqlDatabase;

// The registry through Qt SQL, on SQLite or PostgreSQL: the same tables,
// versioned, and the same queries, but for the few words the two spell
// differently (SqlDialect). On SQLite a write transaction takes the
// database's write lock at once; on PostgreSQL a job's reservation locks its
// type's numbering row, so that two stations never reserve the same
// numbers. Every call ends within the target's deadline (SqlConnection). A
// file is only ever written once it is known to be a registry of ours
// (SqlSchema).
class SqlRegistry final : public LabelRegistry {
public:
    static constexpr int SchemaVersion = SqlSchema::Version;

    // Opens the registry, and creates its tables when there are none and
    // `mayCreate` (a new file, or a server database the user may write).
    // Never returns null: failure() and errorString() say what went wrong.
    static std::unique_ptr<SqlRegistry> open(const RegistryTarget& target, bool mayCreate = true);
    ~SqlRegistry() override;

    bool isOpen() const override { return m_open; }
    // The tables were made just now: an existing state may be imported.
    bool wasCreated() const { return m_schema.created(); }
    // The file or database held no tables at all: nothing was ever recorded.
    bool isEmpty() const { return m_schema.empty() && !m_schema.created(); }
    const RegistryTarget& target() const { return m_sql.target(); }
    int schemaVersion() const { return m_schema.version(); }

    QString location() const override { return m_sql.target().shown(); }
    QString identity() const override { return m_schema.identity(); }
    Failure failure() const override { return m_sql.failure(); }
    QString errorString() const override { return m_sql.errorString(); }

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

    // For the registry's own tests and benchmarks: the database connection.
    QSqlDatabase database() const;

    // Why a call failed that outlasted its deadline.
    static QString noAnswerWithin(int deadlineMs)
    {
        return SqlConnection::noAnswerWithin(deadlineMs);
    }

private:
    explicit SqlRegistry(const RegistryTarget& target);
    bool connect();
    // Before each question: the failure of the last one forgotten, and a
    // connection that was lost (a server restarted) made again.
    bool ready();

    bool insertLabels(qint64 jobId, const QList<PrintLogEntry>& labels);
    std::optional<QList<JobSummary>> summaries(const QString& where, const QVariantList& values);
    // The type's numbering row, locked until the transaction ends.
    std::optional<NumberingPosition> lockNumbering(int numberingType);
    // Where a numbering goes on after its type's newest job, for a registry
    // whose numbering row went missing; noted for the user.
    std::optional<NumberingPosition> numberingFromJobs(int numberingType);

    SqlConnection m_sql;
    SqlSchema m_schema;
    bool m_open = false;
    QStringList m_notes;
    QList<int> m_rebuiltTypes; // numberings made again from the jobs, noted once
};
