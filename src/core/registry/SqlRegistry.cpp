#include "core/registry/SqlRegistry.h"

#include "core/registry/RegistrySchema.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("rondelmaker-registry-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

SqlRegistry::SqlRegistry(const RegistryTarget& target)
    : m_target(target), m_connection(nextConnectionName())
{
}

SqlRegistry::~SqlRegistry()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase SqlRegistry::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

std::unique_ptr<SqlRegistry> SqlRegistry::open(const RegistryTarget& target, bool mayCreate)
{
    std::unique_ptr<SqlRegistry> registry(new SqlRegistry(target));
    // A SQLite file that another program is making or switching to its
    // journal answers "locked" without waiting: try again for a while.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        registry->m_open = registry->connect() && registry->prepareSchema(mayCreate);
        if (registry->m_open || !registry->isSQLite() ||
            registry->m_failure != Failure::Unavailable || waited.elapsed() > 5000)
            return registry;
        QThread::msleep(50);
    }
}

bool SqlRegistry::connect()
{
    const bool sqlite = isSQLite();
    if (sqlite && !QFileInfo(m_target.file).absoluteDir().exists())
        return fail(Failure::Unavailable,
                    QCoreApplication::translate("SqlRegistry", "フォルダーがありません: %1")
                        .arg(m_target.file));
    QSqlDatabase db =
        QSqlDatabase::contains(m_connection)
            ? QSqlDatabase::database(m_connection, false)
            : QSqlDatabase::addDatabase(
                  sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), m_connection);
    if (!db.isValid())
        return fail(Failure::Unavailable,
                    QCoreApplication::translate("SqlRegistry", "Qt SQL driver %1 is not installed")
                        .arg(sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL")));
    db.close();
    if (sqlite) {
        db.setDatabaseName(m_target.file);
        // Waits for a writer in another process instead of failing at once.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
        db.setDatabaseName(m_target.database);
        db.setHostName(m_target.host);
        if (m_target.port > 0)
            db.setPort(m_target.port);
        db.setUserName(m_target.user);
        db.setConnectOptions(QStringLiteral("connect_timeout=5;application_name=rondelmaker"));
    }
    if (!db.open())
        return fail(db.lastError(), QStringLiteral("open"));
    if (sqlite) {
        // Readers never wait for a writer; every commit reaches the disk
        // before a job is handed to the print system.
        QSqlQuery q(db);
        if (!exec(q, QStringLiteral("PRAGMA synchronous=FULL")) ||
            !exec(q, QStringLiteral("PRAGMA journal_mode")) || !q.next())
            return false;
        if (q.value(0).toString() != QLatin1String("wal") &&
            !exec(q, QStringLiteral("PRAGMA journal_mode=WAL")))
            return false;
    }
    clearFailure();
    return true;
}

bool SqlRegistry::ready()
{
    if (m_open && m_failure != Failure::Unavailable) {
        clearFailure();
        return true;
    }
    // Opened once, the tables are there; a registry that never opened
    // stays as it was found.
    if (m_schema == 0)
        return false;
    m_open = connect() && prepareSchema(false);
    return m_open;
}

bool SqlRegistry::prepareSchema(bool mayCreate)
{
    QSqlQuery q(database());
    const bool sqlite = isSQLite();
    if (!exec(q, sqlite ? QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table'")
                        : QStringLiteral("SELECT count(*) FROM information_schema.tables "
                                         "WHERE table_schema = current_schema()")) ||
        !q.next())
        return false;
    const int tables = q.value(0).toInt();
    if (!exec(q, sqlite ? QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                                         "AND name = 'registry_meta'")
                        : QStringLiteral("SELECT count(*) FROM information_schema.tables "
                                         "WHERE table_schema = current_schema() "
                                         "AND table_name = 'registry_meta'")) ||
        !q.next())
        return false;
    if (q.value(0).toInt() == 0) {
        if (tables > 0)
            return fail(
                Failure::Damaged,
                QCoreApplication::translate(
                    "SqlRegistry",
                    "ラベル台帳ではないデータベースです（表 registry_meta がありません）。"));
        if (!mayCreate)
            return fail(
                Failure::Unavailable,
                QCoreApplication::translate("SqlRegistry", "ラベル台帳がまだ作られていません。"));
        return createSchema();
    }
    if (!exec(q, QStringLiteral("SELECT value FROM registry_meta WHERE name = 'schema'")) ||
        !q.next())
        return m_failure != Failure::None
                   ? false
                   : fail(Failure::Damaged,
                          QCoreApplication::translate("SqlRegistry", "台帳の版がありません。"));
    bool number = false;
    m_schema = q.value(0).toString().toInt(&number);
    q.finish();
    if (!number || m_schema < 1)
        return fail(Failure::Damaged,
                    QCoreApplication::translate("SqlRegistry", "台帳の版が読めません。"));
    if (m_schema > SchemaVersion)
        return fail(
            Failure::Newer,
            QCoreApplication::translate(
                "SqlRegistry", "新しい版（%1）の台帳です。このプログラムは版 %2 までを読めます。")
                .arg(m_schema)
                .arg(SchemaVersion));
    if (m_schema < SchemaVersion && !migrate(m_schema))
        return false;
    if (!exec(q, QStringLiteral("SELECT value FROM registry_meta WHERE name = 'id'")))
        return false;
    m_identity = q.next() ? q.value(0).toString() : QString();
    return true;
}

bool SqlRegistry::createSchema()
{
    if (!begin())
        return false;
    QSqlQuery q(database());
    if (!isSQLite()) {
        // Two stations starting on a new server at once: the second waits
        // here and then finds the tables made.
        if (!exec(q, QStringLiteral("SELECT pg_advisory_xact_lock(7262020)")) ||
            !exec(q, QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE "
                                    "table_schema = current_schema() AND table_name = "
                                    "'registry_meta'")) ||
            !q.next()) {
            rollback();
            return false;
        }
        if (q.value(0).toInt() > 0) {
            rollback();
            return prepareSchema(false);
        }
    }
    for (const QString& statement : RegistrySchema::create(isSQLite())) {
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
        for (const QString& statement : RegistrySchema::migration(version, isSQLite())) {
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

bool SqlRegistry::exec(QSqlQuery& query, const QString& sql, const QVariantList& values)
{
    // Without values the statement runs as it is: PostgreSQL cannot prepare
    // BEGIN or COMMIT.
    if (values.isEmpty())
        return query.exec(sql) || fail(query.lastError(), sql);
    if (!query.prepare(sql))
        return fail(query.lastError(), sql);
    for (const QVariant& value : values) {
        // A null QString would be bound as NULL; every text of the registry
        // is a text, empty or not.
        if (value.typeId() == QMetaType::QString && value.toString().isNull())
            query.addBindValue(QString(QLatin1String("")));
        else
            query.addBindValue(value);
    }
    if (!query.exec())
        return fail(query.lastError(), sql);
    return true;
}

bool SqlRegistry::begin()
{
    QSqlQuery q(database());
    // SQLite takes the write lock now, so that what the transaction reads
    // stays true until it commits.
    return exec(q, isSQLite() ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
}

bool SqlRegistry::commit()
{
    QSqlQuery q(database());
    if (exec(q, QStringLiteral("COMMIT")))
        return true;
    rollback();
    return false;
}

void SqlRegistry::rollback()
{
    QSqlQuery q(database());
    q.exec(QStringLiteral("ROLLBACK"));
}

bool SqlRegistry::fail(Failure failure, const QString& message)
{
    m_failure = failure;
    m_error = message;
    return false;
}

bool SqlRegistry::fail(const QSqlError& error, const QString& doing)
{
    Q_UNUSED(doing);
    const QString code = error.nativeErrorCode();
    Failure failure = Failure::Failed;
    if (isSQLite()) {
        // SQLite's result codes: busy or locked, cannot open; not a database
        // or corrupt.
        if (code == QLatin1String("5") || code == QLatin1String("6") || code == QLatin1String("14"))
            failure = Failure::Unavailable;
        else if (code == QLatin1String("26") || code == QLatin1String("11"))
            failure = Failure::Damaged;
    } else if (error.type() == QSqlError::ConnectionError || code.isEmpty() ||
               code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P")) ||
               code.startsWith(QLatin1String("28")) || code == QLatin1String("3D000")) {
        // No connection (an error without the server's code never reached
        // it), the server going down, a login refused, no database.
        failure = Failure::Unavailable;
    }
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    return fail(failure, text);
}

void SqlRegistry::clearFailure()
{
    m_failure = Failure::None;
    m_error.clear();
}
