#include "core/registry/SqlDialect.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QUrl>

namespace {

// How long a SQLite file locked by another program is waited for.
constexpr int SQLiteWaitMs = 5000;

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

QString textOf(const QSqlError& error)
{
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.driverText().trimmed() : text;
}

void configureFile(QSqlDatabase& db, const RegistryTarget& target, SqlDialect::Access access)
{
    // Waits for a writer in another process instead of failing at once.
    QString options =
        QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(std::min(target.deadlineMs, SQLiteWaitMs));
    QString name = target.file;
    if (access != SqlDialect::Access::ReadWrite)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    if (access == SqlDialect::Access::Unchanging) {
        // Nothing else has it open: read without a journal or a
        // shared-memory file beside it.
        options += QStringLiteral(";QSQLITE_OPEN_URI");
        name = QUrl::fromLocalFile(target.file).toString(QUrl::FullyEncoded) +
               QStringLiteral("?immutable=1");
    }
    db.setDatabaseName(name);
    db.setConnectOptions(options);
}

// The client library's connection options: values quoted as it reads them
// (the driver turns every ';' into a space, which the setting's values
// never hold).
QString serverOptions(const RegistryTarget& target, SqlDialect::Access access)
{
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
    if (access != SqlDialect::Access::ReadWrite)
        options.append(
            {QStringLiteral("options"), QStringLiteral("-c default_transaction_read_only=on")});
    QStringList parts;
    for (const auto& [name, value] : options)
        parts << name + QLatin1Char('=') + quoted(value);
    return parts.join(QLatin1Char(';'));
}

void configureServer(QSqlDatabase& db, const RegistryTarget& target, SqlDialect::Access access)
{
    db.setDatabaseName(target.database);
    db.setHostName(target.host);
    db.setPort(target.port > 0 ? target.port : -1);
    db.setUserName(target.user);
    db.setConnectOptions(serverOptions(target, access));
}

std::pair<LabelRegistry::Failure, QString> fileFailure(const QSqlError& error)
{
    // SQLite's result codes (the low byte of an extended one): busy or
    // locked, cannot open; not a database or corrupt.
    const int primary = error.nativeErrorCode().toInt() & 0xff;
    LabelRegistry::Failure failure = LabelRegistry::Failure::Failed;
    if (primary == 5 || primary == 6 || primary == 14)
        failure = LabelRegistry::Failure::Unavailable;
    else if (primary == 26 || primary == 11)
        failure = LabelRegistry::Failure::Damaged;
    // SQLite's own words stay, as a detail.
    return {failure, sqliteCause(primary) + QLatin1Char('\n') +
                         QCoreApplication::translate("SqlRegistry", "詳細: %1").arg(textOf(error))};
}

std::pair<LabelRegistry::Failure, QString> serverFailure(const QSqlError& error)
{
    // No connection (an error without the server's code never reached
    // it), the server going down, a login refused, no database.
    const QString code = error.nativeErrorCode();
    const bool away = error.type() == QSqlError::ConnectionError || code.isEmpty() ||
                      code.startsWith(QLatin1String("08")) ||
                      code.startsWith(QLatin1String("57P")) ||
                      code.startsWith(QLatin1String("28")) || code == QLatin1String("3D000");
    return {away ? LabelRegistry::Failure::Unavailable : LabelRegistry::Failure::Failed,
            textOf(error)};
}

} // namespace

SqlDialect SqlDialect::of(RegistryTarget::Backend backend)
{
    SqlDialect d;
    if (backend == RegistryTarget::Backend::SQLite) {
        d.driver = QStringLiteral("QSQLITE");
        d.file = true;
        // SQLite takes the write lock now, so that what the transaction
        // reads stays true until it commits.
        d.begin = QStringLiteral("BEGIN IMMEDIATE");
        d.idColumn = QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        d.labelsTable = QStringLiteral(" WITHOUT ROWID");
        d.catalogue =
            QStringLiteral("SELECT (SELECT count(*) FROM sqlite_master WHERE type = 'table'), "
                           "(SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                           "name = 'registry_meta'), (SELECT count(*) FROM sqlite_master "
                           "WHERE type = 'index' AND name = 'labels_by_lower')");
        d.labelRows = QStringLiteral("SELECT key AS n, json_extract(value, '$[0]') AS upper_text, "
                                     "json_extract(value, '$[1]') AS lower_text FROM json_each(?)");
        // A file is looked up once for each upper line there is, skipping
        // from one to the next through the index of texts.
        d.byLowerLine =
            QStringLiteral("WHERE id IN (WITH RECURSIVE uppers (u) AS ("
                           "SELECT (SELECT min(upper_text) FROM labels) UNION ALL "
                           "SELECT (SELECT min(upper_text) FROM labels WHERE upper_text > u) "
                           "FROM uppers WHERE u IS NOT NULL) "
                           "SELECT l.job_id FROM uppers CROSS JOIN labels l "
                           "WHERE l.upper_text = uppers.u AND l.lower_text = ?)");
        d.configure = configureFile;
        d.failureOf = fileFailure;
        return d;
    }
    d.driver = QStringLiteral("QPSQL");
    d.begin = QStringLiteral("BEGIN");
    d.forUpdate = QStringLiteral(" FOR UPDATE");
    d.idColumn = QStringLiteral("BIGSERIAL PRIMARY KEY");
    d.lowerLineIndex = true;
    // Two programs making a new registry at once: the second waits here,
    // then finds the tables made.
    d.schemaLock = QStringLiteral("SELECT pg_advisory_xact_lock(7262020)");
    d.catalogue = QStringLiteral("SELECT (SELECT count(*) FROM pg_catalog.pg_tables WHERE "
                                 "schemaname = current_schema()), (SELECT count(*) FROM "
                                 "pg_catalog.pg_tables WHERE schemaname = current_schema() AND "
                                 "tablename = 'registry_meta'), (SELECT count(*) FROM "
                                 "pg_catalog.pg_indexes WHERE schemaname = current_schema() AND "
                                 "indexname = 'labels_by_lower')");
    d.labelRows = QStringLiteral("SELECT (ordinality - 1)::int AS n, value ->> 0 AS upper_text, "
                                 "value ->> 1 AS lower_text "
                                 "FROM jsonb_array_elements(CAST(? AS jsonb)) WITH ORDINALITY");
    d.byLowerLine = QStringLiteral("WHERE id IN (SELECT job_id FROM labels WHERE lower_text = ?)");
    d.configure = configureServer;
    d.failureOf = serverFailure;
    return d;
}
