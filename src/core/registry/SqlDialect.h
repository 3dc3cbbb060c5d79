#pragma once

#include "core/registry/LabelRegistry.h"
#include "core/registry/RegistryTarget.h"

#include <QString>

#include <utility>

class QSqlDatabase;
class QSqlError;

// What SQLite and PostgreSQL do differently for the registry: how a
// connection is made, a few words of SQL, the catalogue, and what an error
// means. SqlRegistry writes every query once and takes these from here.
struct SqlDialect {
    // How a connection opens a file: to write, to read while others may
    // write, or to read a file nothing else has open (no lock, nothing made
    // beside it). A server's connection is read-only or not.
    enum class Access { ReadWrite, ReadOnly, Unchanging };

    QString driver; // the Qt SQL driver
    // The registry is a file: it is only read until it is known to be a
    // registry; it is kept in WAL mode with every commit on the disk; a
    // lock another program holds is waited for. Else a server: each call's
    // connection is watched for its deadline, and a schema made or mended
    // takes the server's lock.
    bool file = false;
    QString begin;               // a write transaction that takes its lock at once
    QString forUpdate;           // after a SELECT whose rows the transaction locks
    QString idColumn;            // a job's id: never used twice
    QString labelsTable;         // after the labels table's columns
    bool lowerLineIndex = false; // searches by the lower line alone have an index of their own
    QString schemaLock;          // taken before the tables are made; empty for none
    // The number of tables, of tables named registry_meta, and of indexes
    // named labels_by_lower, in one row.
    QString catalogue;
    // The rows of a JSON array of [upper, lower] pairs bound as one value:
    // (n, upper_text, lower_text), n from 0.
    QString labelRows;
    // The jobs that issued a lower line (bound once) under any upper line.
    QString byLowerLine;

    // The connection's database, host and options for `access`.
    void (*configure)(QSqlDatabase& db, const RegistryTarget& target, Access access) = nullptr;
    // What a failed statement means, and how the user is told.
    std::pair<LabelRegistry::Failure, QString> (*failureOf)(const QSqlError& error) = nullptr;

    static SqlDialect of(RegistryTarget::Backend backend);
};
