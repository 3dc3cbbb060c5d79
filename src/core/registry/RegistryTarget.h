#pragma once

#include <QList>
#include <QString>

#include <optional>
#include <utility>

// Where a registry lives: a SQLite file (the default, beside state.json), or
// a PostgreSQL database that several stations share. A password never
// appears here: the server's own authentication or ~/.pgpass supplies it.
struct RegistryTarget {
    enum class Backend { SQLite, PostgreSQL };
    Backend backend = Backend::SQLite;
    QString file;     // SQLite
    QString host;     // PostgreSQL: a name, an address, or a socket folder
    int port = -1;    // -1: the default
    QString database; // PostgreSQL
    QString user;     // empty: the system user's name
    // PostgreSQL: the connection options the setting names, passed to the
    // client library as they are (sslmode, sslrootcert, sslcert, sslkey,
    // connect_timeout, application_name).
    QList<std::pair<QString, QString>> options;
    // How long one call of the registry may take ("registry_timeout=").
    static constexpr int DefaultDeadlineMs = 10000;
    int deadlineMs = DefaultDeadlineMs;
    // Opened only to be read: a file read-only, a server's session read-only.
    bool readOnly = false;

    // "postgresql://user@host:port/database" or "postgresql:///database?host=/run/dir",
    // with the options above in the query, a "sqlite:" URL, or a plain path
    // of a SQLite file. An empty target with *error set when the text is not
    // one of these, names another option, or carries a password.
    static std::optional<RegistryTarget> parse(const QString& text, QString* error);
    // As shown to the user: the file, or "postgresql://user@host/database".
    QString shown() const;
};
