#pragma once

#include "core/registry/LabelRegistry.h"
#include "core/registry/RegistryTarget.h"
#include "core/registry/SqlDialect.h"

#include <QSqlError>
#include <QString>
#include <QVariantList>

#include <memory>

class CallWatchdog;
class QSqlDatabase;
class QSqlDriver;
class QSqlQuery;

// The registry's connection through Qt SQL, opened as the dialect says: it
// runs the statements, and records why one failed in the user's words.
// Every call ends within the target's deadline: on a server a watchdog cuts
// the connection of a call that outlasts it.
class SqlConnection {
public:
    using Access = SqlDialect::Access;
    using Failure = LabelRegistry::Failure;

    explicit SqlConnection(const RegistryTarget& target);
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    // A call of the registry, under the target's deadline from its start to
    // its end; calls made inside it share its deadline.
    class Deadline {
    public:
        explicit Deadline(SqlConnection& connection);
        ~Deadline();
        Deadline(const Deadline&) = delete;
        Deadline& operator=(const Deadline&) = delete;

    private:
        SqlConnection& m_connection;
    };

    const RegistryTarget& target() const { return m_target; }
    const SqlDialect& dialect() const { return m_dialect; }
    QSqlDatabase database() const;
    // How a file that is there already is first opened.
    Access firstLook() const;
    bool open(Access access);
    // The deadline of the call under way, for a statement that takes long
    // once (an index built on a large registry).
    void armDeadline(int ms);

    // Runs a statement with its values; false after recording the failure.
    bool exec(QSqlQuery& query, const QString& sql, const QVariantList& values = {});
    bool begin();
    bool commit();
    void rollback();

    Failure failure() const { return m_failure; }
    const QString& errorString() const { return m_error; }
    // Both return false, for a caller to return.
    bool fail(const QSqlError& error, const QString& doing);
    bool fail(Failure failure, const QString& message);
    void clearFailure();

    // Why a call failed that outlasted its deadline.
    static QString noAnswerWithin(int deadlineMs);

private:
    // The socket of a server's connection, for the watchdog; -1 for none.
    int socket() const;

    RegistryTarget m_target;
    SqlDialect m_dialect;
    QString m_name;
    std::unique_ptr<CallWatchdog> m_watchdog; // a server's
    QSqlDriver* m_driver = nullptr;
    int m_calls = 0; // calls under way, one inside another
    Failure m_failure = Failure::None;
    QString m_error;
};
