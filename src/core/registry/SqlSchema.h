#pragma once

#include "core/registry/SqlConnection.h"

#include <QString>

#include <optional>

// The registry's tables on a connection: what a database holds before
// anything is written to it, and making them or bringing them up to date.
// A database with tables that are not a registry's, or of a newer version,
// is refused, and nothing is written to it.
class SqlSchema {
public:
    // The newest schema this program writes.
    static constexpr int Version = 1;

    // What a database holds, before anything is written to it.
    struct Inspection {
        int tables = 0;
        bool registry = false; // its tables are a registry's
        int schema = 0;
        QString identity;
    };

    explicit SqlSchema(SqlConnection& sql) : m_sql(sql) {}

    std::optional<Inspection> inspect(bool* hasLowerIndex);
    // The tables ready for use: made when there are none and `mayCreate`,
    // else brought up to date (unless the target is only read).
    bool prepare(bool mayCreate);

    int version() const { return m_version; } // 0: not known to be a registry
    const QString& identity() const { return m_identity; }
    bool created() const { return m_created; }
    bool empty() const { return m_empty; } // no tables at all were found

private:
    bool useWal();
    bool create();
    bool migrate(int from);

    SqlConnection& m_sql;
    int m_version = 0;
    QString m_identity;
    bool m_created = false;
    bool m_empty = false;
};
