#include "core/registry/SqlRegistry.h"

#include "core/registry/CallWatchdog.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>

#include <dlfcn.h>

#include <algorithm>

namespace {

// How long a file locked by another program is waited for.
constexpr int FileWaitMs = 5000;

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("rondelmaker-registry-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

SqlRegistry::Deadline::Deadline(SqlRegistry& registry) : m_registry(registry)
{
    if (m_registry.m_calls++ == 0 && m_registry.m_watchdog)
        m_registry.m_watchdog->arm(std::chrono::milliseconds(m_registry.m_target.deadlineMs));
}

SqlRegistry::Deadline::~Deadline()
{
    if (--m_registry.m_calls == 0 && m_registry.m_watchdog)
        m_registry.m_watchdog->disarm();
}

SqlRegistry::SqlRegistry(const RegistryTarget& target)
    : m_target(target), m_dialect(SqlDialect::of(target.backend)),
      m_connection(nextConnectionName())
{
    if (!m_dialect.file)
        m_watchdog = std::make_unique<CallWatchdog>([this] { return socket(); });
}

SqlRegistry::~SqlRegistry()
{
    m_watchdog.reset();
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

int SqlRegistry::socket() const
{
    // On the watchdog's thread: the driver's connection as it is now. The
    // client library is asked by name where the driver loaded it, so that a
    // program on a SQLite file never loads it (nor what it pulls in).
    using SocketOf = int (*)(const void*);
    static const SocketOf socketOf = [] {
        void* library = ::dlopen("libpq.so.5", RTLD_LAZY | RTLD_NOLOAD);
        return library ? reinterpret_cast<SocketOf>(::dlsym(library, "PQsocket")) : nullptr;
    }();
    const QVariant handle = m_driver ? m_driver->handle() : QVariant();
    // The driver names the type as the library declares it.
    if (!socketOf ||
        (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0))
        return -1;
    const void* connection = *static_cast<void* const*>(handle.constData());
    return connection ? socketOf(connection) : -1;
}

std::unique_ptr<SqlRegistry> SqlRegistry::open(const RegistryTarget& target, bool mayCreate)
{
    std::unique_ptr<SqlRegistry> registry(new SqlRegistry(target));
    const Deadline deadline(*registry);
    // A file that another program is making or switching to its journal
    // answers "locked" without waiting: try again for a while.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        registry->m_open =
            registry->connect() && registry->prepareSchema(mayCreate && !target.readOnly);
        if (registry->m_open || !registry->m_dialect.file ||
            registry->m_failure != Failure::Unavailable || waited.elapsed() > FileWaitMs)
            return registry;
        QThread::msleep(50);
    }
}

bool SqlRegistry::connect()
{
    if (m_dialect.file) {
        const QFileInfo file(m_target.file);
        if (!file.absoluteDir().exists())
            return fail(Failure::Unavailable,
                        QCoreApplication::translate("SqlRegistry", "フォルダーがありません: %1")
                            .arg(m_target.file));
        // A file that is there already is first only read, and written once
        // it is known to be a registry: another program's database stays
        // untouched.
        if (file.size() > 0 && (!openConnection(firstLook()) || !inspect(nullptr)))
            return false;
    }
    if (!openConnection(m_target.readOnly ? Access::ReadOnly : Access::ReadWrite))
        return false;
    clearFailure();
    return true;
}

SqlRegistry::Access SqlRegistry::firstLook() const
{
    // A file in WAL mode that nobody has open (no journal, no shared
    // memory beside it) would get both from a reader: it is read as a file
    // that does not change instead. Any other file is read with its locks.
    QFile file(m_target.file);
    const QByteArray header = file.open(QIODevice::ReadOnly) ? file.read(20) : QByteArray();
    const bool wal = header.startsWith(QByteArrayLiteral("SQLite format 3")) &&
                     header.size() == 20 && header[18] == 2;
    const bool open = QFileInfo::exists(m_target.file + QStringLiteral("-wal")) ||
                      QFileInfo::exists(m_target.file + QStringLiteral("-shm"));
    return wal && !open ? Access::Unchanging : Access::ReadOnly;
}

bool SqlRegistry::openConnection(Access access)
{
    QSqlDatabase db = QSqlDatabase::contains(m_connection)
                          ? QSqlDatabase::database(m_connection, false)
                          : QSqlDatabase::addDatabase(m_dialect.driver, m_connection);
    if (!db.isValid())
        return fail(Failure::Unavailable,
                    QCoreApplication::translate("SqlRegistry", "Qt SQL driver %1 is not installed")
                        .arg(m_dialect.driver));
    if (m_watchdog)
        m_watchdog->excluding([&db] { db.close(); });
    else
        db.close();
    m_dialect.configure(db, m_target, access);
    m_driver = db.driver();
    if (!db.open())
        return fail(db.lastError(), QStringLiteral("open"));
    if (m_dialect.file && access == Access::ReadWrite) {
        // Every commit reaches the disk before a job is handed to the print
        // system.
        QSqlQuery q(db);
        if (!exec(q, QStringLiteral("PRAGMA synchronous=FULL")))
            return false;
    }
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
    return exec(q, m_dialect.begin);
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

QString SqlRegistry::noAnswerWithin(int deadlineMs)
{
    return QCoreApplication::translate("SqlRegistry",
                                       "ラベル台帳が %1 秒のうちに答えませんでした。")
        .arg(deadlineMs / 1000.0);
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
    if (m_watchdog && m_watchdog->fired()) {
        // The connection was cut by the watchdog: say why, not how it ended.
        return fail(Failure::Unavailable, noAnswerWithin(m_target.deadlineMs));
    }
    const auto [failure, message] = m_dialect.failureOf(error);
    return fail(failure, message);
}

void SqlRegistry::clearFailure()
{
    m_failure = Failure::None;
    m_error.clear();
}
