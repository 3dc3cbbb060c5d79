#include "core/registry/SqlConnection.h"

#include "core/registry/CallWatchdog.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlQuery>

#include <dlfcn.h>

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("rondelmaker-registry-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

SqlConnection::Deadline::Deadline(SqlConnection& connection) : m_connection(connection)
{
    if (m_connection.m_calls++ == 0 && m_connection.m_watchdog)
        m_connection.m_watchdog->arm(std::chrono::milliseconds(m_connection.m_target.deadlineMs));
}

SqlConnection::Deadline::~Deadline()
{
    if (--m_connection.m_calls == 0 && m_connection.m_watchdog)
        m_connection.m_watchdog->disarm();
}

SqlConnection::SqlConnection(const RegistryTarget& target)
    : m_target(target), m_dialect(SqlDialect::of(target.backend)), m_name(nextConnectionName())
{
    if (!m_dialect.file)
        m_watchdog = std::make_unique<CallWatchdog>([this] { return socket(); });
}

SqlConnection::~SqlConnection()
{
    m_watchdog.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase SqlConnection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

int SqlConnection::socket() const
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

SqlConnection::Access SqlConnection::firstLook() const
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

bool SqlConnection::open(Access access)
{
    QSqlDatabase db = QSqlDatabase::contains(m_name)
                          ? QSqlDatabase::database(m_name, false)
                          : QSqlDatabase::addDatabase(m_dialect.driver, m_name);
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

bool SqlConnection::exec(QSqlQuery& query, const QString& sql, const QVariantList& values)
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

bool SqlConnection::begin()
{
    QSqlQuery q(database());
    return exec(q, m_dialect.begin);
}

bool SqlConnection::commit()
{
    QSqlQuery q(database());
    if (exec(q, QStringLiteral("COMMIT")))
        return true;
    rollback();
    return false;
}

void SqlConnection::rollback()
{
    QSqlQuery q(database());
    q.exec(QStringLiteral("ROLLBACK"));
}

QString SqlConnection::noAnswerWithin(int deadlineMs)
{
    return QCoreApplication::translate("SqlRegistry",
                                       "ラベル台帳が %1 秒のうちに答えませんでした。")
        .arg(deadlineMs / 1000.0);
}

bool SqlConnection::fail(Failure failure, const QString& message)
{
    m_failure = failure;
    m_error = message;
    return false;
}

bool SqlConnection::fail(const QSqlError& error, const QString& doing)
{
    Q_UNUSED(doing);
    if (m_watchdog && m_watchdog->fired()) {
        // The connection was cut by the watchdog: say why, not how it ended.
        return fail(Failure::Unavailable, noAnswerWithin(m_target.deadlineMs));
    }
    const auto [failure, message] = m_dialect.failureOf(error);
    return fail(failure, message);
}

void SqlConnection::clearFailure()
{
    m_failure = Failure::None;
    m_error.clear();
}

void SqlConnection::armDeadline(int ms)
{
    if (m_watchdog)
        m_watchdog->arm(std::chrono::milliseconds(ms));
}
