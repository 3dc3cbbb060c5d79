#include "core/registry/SqlSchema.h"

#include "core/registry/RegistrySchema.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QUuid>

#include <algorithm>

namespace {

// Building an index on a registry of millions of labels.
constexpr int IndexBuildMs = 300000;

} // namespace

std::optional<SqlSchema::Inspection> SqlSchema::inspect(bool* hasLowerIndex)
{
    QSqlQuery q(m_sql.database());
    if (!m_sql.exec(q, m_sql.dialect().catalogue) || !q.next())
        return std::nullopt;
    Inspection found;
    found.tables = q.value(0).toInt();
    found.registry = q.value(1).toInt() > 0;
    if (hasLowerIndex)
        *hasLowerIndex = q.value(2).toInt() > 0;
    if (!found.registry) {
        // No tables at all: a new file or database, ours to make.
        if (found.tables > 0) {
            m_sql.fail(
                LabelRegistry::Failure::Damaged,
                QCoreApplication::translate(
                    "SqlRegistry",
                    "ラベル台帳ではないデータベースです（表 registry_meta がありません）。"));
            return std::nullopt;
        }
        return found;
    }
    if (!m_sql.exec(q, QStringLiteral(
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
        m_sql.fail(LabelRegistry::Failure::Damaged,
                   QCoreApplication::translate("SqlRegistry", "台帳の版がありません。"));
        return std::nullopt;
    }
    if (!number || found.schema < 1) {
        m_sql.fail(LabelRegistry::Failure::Damaged,
                   QCoreApplication::translate("SqlRegistry", "台帳の版が読めません。"));
        return std::nullopt;
    }
    if (found.schema > Version) {
        m_sql.fail(
            LabelRegistry::Failure::Newer,
            QCoreApplication::translate(
                "SqlRegistry", "新しい版（%1）の台帳です。このプログラムは版 %2 までを読めます。")
                .arg(found.schema)
                .arg(Version));
        return std::nullopt;
    }
    return found;
}

bool SqlSchema::prepare(bool mayCreate)
{
    bool hasLowerIndex = false;
    const std::optional<Inspection> found = inspect(&hasLowerIndex);
    if (!found)
        return false;
    if (!found->registry) {
        m_empty = true;
        if (!mayCreate)
            return m_sql.fail(
                LabelRegistry::Failure::Unavailable,
                QCoreApplication::translate("SqlRegistry", "ラベル台帳がまだ作られていません。"));
        if (!m_sql.dialect().file)
            return create();
        // A new file's tables need not reach the disk on their own: the
        // first reservation's commit, which does, takes them along (the
        // journal is written in order), and tables lost before it are made
        // again.
        QSqlQuery q(m_sql.database());
        const bool made =
            useWal() && m_sql.exec(q, QStringLiteral("PRAGMA synchronous=NORMAL")) && create();
        return m_sql.exec(q, QStringLiteral("PRAGMA synchronous=FULL")) && made;
    }
    m_version = found->schema;
    m_identity = found->identity;
    if (m_sql.target().readOnly)
        return true;
    if (!useWal() || (m_version < Version && !migrate(m_version)))
        return false;
    if (!m_sql.dialect().lowerLineIndex || hasLowerIndex)
        return true;
    // A server's registry made before the index of lower lines: searches by
    // the lower line alone read every label until it is there. Building it
    // takes a while on a large registry, once.
    m_sql.armDeadline(std::max(m_sql.target().deadlineMs, IndexBuildMs));
    QSqlQuery q(m_sql.database());
    const bool made = m_sql.exec(q, QLatin1String(RegistrySchema::LowerLineIndex));
    m_sql.armDeadline(m_sql.target().deadlineMs);
    return made;
}

bool SqlSchema::useWal()
{
    if (!m_sql.dialect().file)
        return true;
    // Readers never wait for a writer.
    QSqlQuery q(m_sql.database());
    if (!m_sql.exec(q, QStringLiteral("PRAGMA journal_mode")) || !q.next())
        return false;
    if (q.value(0).toString() == QLatin1String("wal"))
        return true;
    q.finish();
    return m_sql.exec(q, QStringLiteral("PRAGMA journal_mode=WAL"));
}

bool SqlSchema::create()
{
    if (!m_sql.begin())
        return false;
    QSqlQuery q(m_sql.database());
    // Two programs making a new registry at once: the second waits here (a
    // file's write lock, the server's lock) and then finds the tables made.
    if (!m_sql.dialect().schemaLock.isEmpty() && !m_sql.exec(q, m_sql.dialect().schemaLock)) {
        m_sql.rollback();
        return false;
    }
    const std::optional<Inspection> found = inspect(nullptr);
    if (!found || found->registry) {
        m_sql.rollback();
        return found && prepare(false);
    }
    for (const QString& statement : RegistrySchema::create(m_sql.dialect())) {
        if (!m_sql.exec(q, statement)) {
            m_sql.rollback();
            return false;
        }
    }
    m_identity = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (!m_sql.exec(q,
                    QStringLiteral(
                        "INSERT INTO registry_meta (name, value) VALUES ('schema', ?), ('id', ?)"),
                    {QString::number(Version), m_identity})) {
        m_sql.rollback();
        return false;
    }
    if (!m_sql.commit())
        return false;
    m_version = Version;
    m_created = true;
    return true;
}

bool SqlSchema::migrate(int from)
{
    if (!m_sql.begin())
        return false;
    QSqlQuery q(m_sql.database());
    for (int version = from; version < Version; ++version) {
        for (const QString& statement : RegistrySchema::migration(version, m_sql.dialect())) {
            if (!m_sql.exec(q, statement)) {
                m_sql.rollback();
                return false;
            }
        }
    }
    if (!m_sql.exec(q, QStringLiteral("UPDATE registry_meta SET value = ? WHERE name = 'schema'"),
                    {QString::number(Version)}) ||
        !m_sql.commit())
        return false;
    m_version = Version;
    return true;
}
