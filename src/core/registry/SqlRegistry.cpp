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

// What a SQLite result code means for the user.
QString sqliteCause(int primary)
{
    switch (primary) {
    case 13:
        return QCoreApplication::translate("SqlRegistry", "ディスクがいっぱいです。");
    case 8:
        return QCoreApplication::translate("SqlRegistry", "読み取り専用のため、書き込めません。");
    case 5:
    case 6:
        return QCoreApplication::translate(
            "SqlRegistry", "ほかのプログラムが使っています（ロックされています）。");
    case 11:
    case 26:
        return QCoreApplication::translate("SqlRegistry",
                                           "壊れているか、ラベル台帳ではありません。");
    default:
        return QCoreApplication::translate(
            "SqlRegistry", "ラベル台帳を読み書きできません。よくある原因は、ディスクがいっぱい、"
                           "読み取り専用、ほかのプログラムによるロック、ファイルの破損です。");
    }
}

// How long a SQLite file locked by another program is waited for.
constexpr int SQLiteWaitMs = 5000;

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
    : m_target(target), m_connection(nextConnectionName())
{
    if (!isSQLite())
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
    // A SQLite file that another program is making or switching to its
    // journal answers "locked" without waiting: try again for a while.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        registry->m_open =
            registry->connect() && registry->prepareSchema(mayCreate && !target.readOnly);
        if (registry->m_open || !registry->isSQLite() ||
            registry->m_failure != Failure::Unavailable || waited.elapsed() > SQLiteWaitMs)
            return registry;
        QThread::msleep(50);
    }
}

bool SqlRegistry::connect()
{
    if (isSQLite()) {
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
    const bool sqlite = isSQLite();
    QSqlDatabase db =
        QSqlDatabase::contains(m_connection)
            ? QSqlDatabase::database(m_connection, false)
            : QSqlDatabase::addDatabase(
                  sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), m_connection);
    if (!db.isValid())
        return fail(Failure::Unavailable,
                    QCoreApplication::translate("SqlRegistry", "Qt SQL driver %1 is not installed")
                        .arg(sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL")));
    if (m_watchdog)
        m_watchdog->excluding([&db] { db.close(); });
    else
        db.close();
    if (sqlite) {
        // Waits for a writer in another process instead of failing at once.
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1")
                              .arg(std::min(m_target.deadlineMs, SQLiteWaitMs));
        QString name = m_target.file;
        if (access != Access::ReadWrite)
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        if (access == Access::Unchanging) {
            // Nothing else has it open: read without a journal or a
            // shared-memory file beside it.
            options += QStringLiteral(";QSQLITE_OPEN_URI");
            name = QUrl::fromLocalFile(m_target.file).toString(QUrl::FullyEncoded) +
                   QStringLiteral("?immutable=1");
        }
        db.setDatabaseName(name);
        db.setConnectOptions(options);
    } else {
        db.setDatabaseName(m_target.database);
        db.setHostName(m_target.host);
        db.setPort(m_target.port > 0 ? m_target.port : -1);
        db.setUserName(m_target.user);
        db.setConnectOptions(connectOptions(m_target));
    }
    m_driver = db.driver();
    if (!db.open())
        return fail(db.lastError(), QStringLiteral("open"));
    if (sqlite && access == Access::ReadWrite) {
        // Every commit reaches the disk before a job is handed to the print
        // system.
        QSqlQuery q(db);
        if (!exec(q, QStringLiteral("PRAGMA synchronous=FULL")))
            return false;
    }
    return true;
}

QString SqlRegistry::connectOptions(const RegistryTarget& target)
{
    // Values quoted as the client library reads them; the driver turns
    // every ';' into a space, which the setting's values never hold.
    const auto quoted = [](QString value) -> QString {
        value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        value.replace(QLatin1Char('\''), QLatin1String("\\'"));
        return QLatin1Char('\'') + value + QLatin1Char('\'');
    };
    // A server that does not answer the connection is given up within the
    // deadline too: a longer connect_timeout (0 waits for ever) is cut to it.
    const int deadline = std::max(2, target.deadlineMs / 1000);
    int connectTimeout = std::min(5, deadline);
    QList<std::pair<QString, QString>> options = {
        {QStringLiteral("application_name"), QStringLiteral("rondelmaker")}};
    for (const auto& [name, value] : target.options) {
        if (name == QLatin1String("connect_timeout"))
            connectTimeout = value.toInt() > 0 ? std::min(value.toInt(), deadline) : deadline;
        else if (name == QLatin1String("application_name"))
            options.first().second = value;
        else
            options.append({name, value});
    }
    options.append({QStringLiteral("connect_timeout"), QString::number(connectTimeout)});
    if (target.readOnly)
        options.append(
            {QStringLiteral("options"), QStringLiteral("-c default_transaction_read_only=on")});
    QStringList parts;
    for (const auto& [name, value] : options)
        parts << name + QLatin1Char('=') + quoted(value);
    return parts.join(QLatin1Char(';'));
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
    const QString code = error.nativeErrorCode();
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    Failure failure = Failure::Failed;
    if (isSQLite()) {
        // SQLite's result codes (the low byte of an extended one): busy or
        // locked, cannot open; not a database or corrupt.
        const int primary = code.toInt() & 0xff;
        if (primary == 5 || primary == 6 || primary == 14)
            failure = Failure::Unavailable;
        else if (primary == 26 || primary == 11)
            failure = Failure::Damaged;
        // SQLite's own words stay, as a detail.
        return fail(failure, sqliteCause(primary) + QLatin1Char('\n') +
                                 QCoreApplication::translate("SqlRegistry", "詳細: %1").arg(text));
    } else if (error.type() == QSqlError::ConnectionError || code.isEmpty() ||
               code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P")) ||
               code.startsWith(QLatin1String("28")) || code == QLatin1String("3D000")) {
        // No connection (an error without the server's code never reached
        // it), the server going down, a login refused, no database.
        failure = Failure::Unavailable;
    }
    return fail(failure, text);
}

void SqlRegistry::clearFailure()
{
    m_failure = Failure::None;
    m_error.clear();
}
