#include "core/registry/SqlRegistry.h"

#include "core/numbering/Continuation.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlQuery>
#include <QThread>

namespace {

// How long a file locked by another program is waited for.
constexpr int FileWaitMs = 5000;

} // namespace

SqlRegistry::SqlRegistry(const RegistryTarget& target) : m_sql(target), m_schema(m_sql) {}

SqlRegistry::~SqlRegistry() = default;

QSqlDatabase SqlRegistry::database() const
{
    return m_sql.database();
}

std::unique_ptr<SqlRegistry> SqlRegistry::open(const RegistryTarget& target, bool mayCreate)
{
    std::unique_ptr<SqlRegistry> registry(new SqlRegistry(target));
    const SqlConnection::Deadline deadline(registry->m_sql);
    // A file that another program is making or switching to its journal
    // answers "locked" without waiting: try again for a while.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        registry->m_open =
            registry->connect() && registry->m_schema.prepare(mayCreate && !target.readOnly);
        if (registry->m_open || !registry->m_sql.dialect().file ||
            registry->failure() != Failure::Unavailable || waited.elapsed() > FileWaitMs)
            return registry;
        QThread::msleep(50);
    }
}

bool SqlRegistry::connect()
{
    const RegistryTarget& target = m_sql.target();
    if (m_sql.dialect().file) {
        const QFileInfo file(target.file);
        if (!file.absoluteDir().exists())
            return m_sql.fail(Failure::Unavailable, QCoreApplication::translate(
                                                        "SqlRegistry", "フォルダーがありません: %1")
                                                        .arg(target.file));
        // A file that is there already is first only read, and written once
        // it is known to be a registry: another program's database stays
        // untouched.
        if (file.size() > 0 && (!m_sql.open(m_sql.firstLook()) || !m_schema.inspect(nullptr)))
            return false;
    }
    using Access = SqlDialect::Access;
    if (!m_sql.open(target.readOnly ? Access::ReadOnly : Access::ReadWrite))
        return false;
    m_sql.clearFailure();
    return true;
}

bool SqlRegistry::ready()
{
    if (m_open && failure() != Failure::Unavailable) {
        m_sql.clearFailure();
        return true;
    }
    // Opened once, the tables are there; a registry that never opened
    // stays as it was found.
    if (m_schema.version() == 0)
        return false;
    m_open = connect() && m_schema.prepare(false);
    return m_open;
}

std::optional<NumberingPosition> SqlRegistry::numberingFromJobs(int numberingType)
{
    // Every job that moved the numbering keeps its run and start, and a
    // numbering row always stands where its newest job left it: the row
    // can be made again from that job.
    QSqlQuery q(m_sql.database());
    if (!m_sql.exec(q, QStringLiteral("SELECT max(id) FROM jobs WHERE numbering_type = ?"),
                    {numberingType}) ||
        !q.next())
        return std::nullopt;
    const qint64 newest = q.value(0).toLongLong();
    q.finish();
    NumberingPosition position;
    if (newest > 0) {
        const std::optional<RegistryJob> job = this->job(newest);
        if (!job) {
            m_sql.fail(m_sql.failure(),
                       QCoreApplication::translate(
                           "SqlRegistry",
                           "ラベル台帳にタイプ %1 の番号がなく、ジョブ %2 から求めることも"
                           "できません: %3")
                           .arg(numberingType)
                           .arg(newest)
                           .arg(m_sql.errorString()));
            return std::nullopt;
        }
        const Continuation next =
            continueAfterJob(job->job.run, job->job.startPosition, job->job.sheet.sheet);
        position = {next.firstNumber, next.letter1, next.letter2, newest};
    }
    if (!m_rebuiltTypes.contains(numberingType)) {
        m_rebuiltTypes << numberingType;
        m_notes << QCoreApplication::translate(
                       "SqlRegistry", "ラベル台帳にタイプ %1 の番号の記録がありませんでした。"
                                      "ジョブの記録から求め直しました。")
                       .arg(numberingType);
    }
    return position;
}

QStringList SqlRegistry::takeNotes()
{
    return std::exchange(m_notes, {});
}
