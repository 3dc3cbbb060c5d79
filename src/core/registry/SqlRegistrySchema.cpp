// The registry's tables: what a database holds before anything is written
// to it, making or bringing them up to date, and a numbering row made again.

#include "core/registry/SqlRegistry.h"

#include "core/numbering/Continuation.h"
#include "core/registry/CallWatchdog.h"
#include "core/registry/RegistrySchema.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QUuid>

namespace {

// Building an index on a registry of millions of labels.
constexpr int IndexBuildMs = 300000;

} // namespace

std::optional<SqlRegistry::Inspection> SqlRegistry::inspect(bool* hasLowerIndex)
{
    QSqlQuery q(database());
    if (!exec(q, m_dialect.catalogue) || !q.next())
        return std::nullopt;
    Inspection found;
    found.tables = q.value(0).toInt();
    found.registry = q.value(1).toInt() > 0;
    if (hasLowerIndex)
        *hasLowerIndex = q.value(2).toInt() > 0;
    if (!found.registry) {
        // No tables at all: a new file or database, ours to make.
        if (found.tables > 0) {
            fail(Failure::Damaged,
                 QCoreApplication::translate(
                     "SqlRegistry",
                     "ラベル台帳ではないデータベースです（表 registry_meta がありません）。"));
            return std::nullopt;
        }
        return found;
    }
    if (!exec(q, QStringLiteral(
                     "SELECT name, value FROM registry_meta WHERE name IN ('schema', 'id')")))
        return std::nullopt;
    QString version;
    while (q.next())
        (q.value(0).toString() == QLatin1String("id") ? found.identity : version) =
            q.value(1).toString();
    q.finish();
    bool number = false;
    found.schema = version.toInt(&number);
    if (version.isNull()) {
        fail(Failure::Damaged,
             QCoreApplication::translate("SqlRegistry", "台帳の版がありません。"));
        return std::nullopt;
    }
    if (!number || found.schema < 1) {
        fail(Failure::Damaged,
             QCoreApplication::translate("SqlRegistry", "台帳の版が読めません。"));
        return std::nullopt;
    }
    if (found.schema > SchemaVersion) {
        fail(Failure::Newer,
             QCoreApplication::translate(
                 "SqlRegistry", "新しい版（%1）の台帳です。このプログラムは版 %2 までを読めます。")
                 .arg(found.schema)
                 .arg(SchemaVersion));
        return std::nullopt;
    }
    return found;
}

bool SqlRegistry::prepareSchema(bool mayCreate)
{
    bool hasLowerIndex = false;
    const std::optional<Inspection> found = inspect(&hasLowerIndex);
    if (!found)
        return false;
    if (!found->registry) {
        m_empty = true;
        if (!mayCreate)
            return fail(
                Failure::Unavailable,
                QCoreApplication::translate("SqlRegistry", "ラベル台帳がまだ作られていません。"));
        if (!m_dialect.file)
            return createSchema();
        // A new file's tables need not reach the disk on their own: the
        // first reservation's commit, which does, takes them along (the
        // journal is written in order), and tables lost before it are made
        // again.
        QSqlQuery q(database());
        const bool made =
            useWal() && exec(q, QStringLiteral("PRAGMA synchronous=NORMAL")) && createSchema();
        return exec(q, QStringLiteral("PRAGMA synchronous=FULL")) && made;
    }
    m_schema = found->schema;
    m_identity = found->identity;
    if (m_target.readOnly)
        return true;
    if (!useWal() || (m_schema < SchemaVersion && !migrate(m_schema)))
        return false;
    if (!m_dialect.lowerLineIndex || hasLowerIndex)
        return true;
    // A server's registry made before the index of lower lines: searches by
    // the lower line alone read every label until it is there. Building it
    // takes a while on a large registry, once.
    if (m_watchdog)
        m_watchdog->arm(std::chrono::milliseconds(std::max(m_target.deadlineMs, IndexBuildMs)));
    QSqlQuery q(database());
    const bool made = exec(q, QLatin1String(RegistrySchema::LowerLineIndex));
    if (m_watchdog)
        m_watchdog->arm(std::chrono::milliseconds(m_target.deadlineMs));
    return made;
}

bool SqlRegistry::useWal()
{
    if (!m_dialect.file)
        return true;
    // Readers never wait for a writer.
    QSqlQuery q(database());
    if (!exec(q, QStringLiteral("PRAGMA journal_mode")) || !q.next())
        return false;
    if (q.value(0).toString() == QLatin1String("wal"))
        return true;
    q.finish();
    return exec(q, QStringLiteral("PRAGMA journal_mode=WAL"));
}

bool SqlRegistry::createSchema()
{
    if (!begin())
        return false;
    QSqlQuery q(database());
    // Two programs making a new registry at once: the second waits here (a
    // file's write lock, the server's lock) and then finds the tables made.
    if (!m_dialect.schemaLock.isEmpty() && !exec(q, m_dialect.schemaLock)) {
        rollback();
        return false;
    }
    const std::optional<Inspection> found = inspect(nullptr);
    if (!found || found->registry) {
        rollback();
        return found && prepareSchema(false);
    }
    for (const QString& statement : RegistrySchema::create(m_dialect)) {
        if (!exec(q, statement)) {
            rollback();
            return false;
        }
    }
    m_identity = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (!exec(q,
              QStringLiteral(
                  "INSERT INTO registry_meta (name, value) VALUES ('schema', ?), ('id', ?)"),
              {QString::number(SchemaVersion), m_identity})) {
        rollback();
        return false;
    }
    if (!commit())
        return false;
    m_schema = SchemaVersion;
    m_created = true;
    return true;
}

bool SqlRegistry::migrate(int from)
{
    if (!begin())
        return false;
    QSqlQuery q(database());
    for (int version = from; version < SchemaVersion; ++version) {
        for (const QString& statement : RegistrySchema::migration(version, m_dialect)) {
            if (!exec(q, statement)) {
                rollback();
                return false;
            }
        }
    }
    if (!exec(q, QStringLiteral("UPDATE registry_meta SET value = ? WHERE name = 'schema'"),
              {QString::number(SchemaVersion)}) ||
        !commit())
        return false;
    m_schema = SchemaVersion;
    return true;
}

std::optional<NumberingPosition> SqlRegistry::numberingFromJobs(int numberingType)
{
    // Every job that moved the numbering keeps its run and start, and a
    // numbering row always stands where its newest job left it: the row
    // can be made again from that job.
    QSqlQuery q(database());
    if (!exec(q, QStringLiteral("SELECT max(id) FROM jobs WHERE numbering_type = ?"),
              {numberingType}) ||
        !q.next())
        return std::nullopt;
    const qint64 newest = q.value(0).toLongLong();
    q.finish();
    NumberingPosition position;
    if (newest > 0) {
        const std::optional<RegistryJob> job = this->job(newest);
        if (!job) {
            fail(m_failure,
                 QCoreApplication::translate(
                     "SqlRegistry", "ラベル台帳にタイプ %1 の番号がなく、ジョブ %2 から求めることも"
                                    "できません: %3")
                     .arg(numberingType)
                     .arg(newest)
                     .arg(m_error));
            return std::nullopt;
        }
        const Continuation next = continueAfterJob(job->job.run, job->job.startPosition);
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
