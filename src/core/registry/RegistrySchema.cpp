#include "core/registry/RegistrySchema.h"

#include "core/model/LabelType.h"
#include "core/registry/SqlDialect.h"

namespace RegistrySchema {

QStringList create(const SqlDialect& dialect)
{
    // Ids are never used twice, also after a released job: a station tells
    // by the newest id whether others printed since it last looked.
    QStringList statements = {
        QStringLiteral("CREATE TABLE registry_meta (name TEXT PRIMARY KEY, value TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE jobs ("
                       " id %1,"
                       " reserved_at TEXT NOT NULL," // ISO 8601, UTC
                       " confirmed_at TEXT,"
                       " kind TEXT NOT NULL CHECK (kind IN ('labels', 'reprint')),"
                       " reprint_of BIGINT,"
                       " state TEXT NOT NULL CHECK (state IN ('reserved', 'printed')),"
                       " host TEXT NOT NULL, user_name TEXT NOT NULL, folder TEXT NOT NULL,"
                       " printer TEXT NOT NULL,"
                       " label_type INTEGER NOT NULL,"
                       " numbering_type INTEGER," // the type whose numbering the job moved
                       " label_count INTEGER NOT NULL,"
                       " first_label TEXT NOT NULL, last_label TEXT NOT NULL,"
                       " start_position INTEGER NOT NULL, next_position INTEGER NOT NULL,"
                       // where the numbering stood before, to go back to if it did not print
                       " prev_first INTEGER NOT NULL, prev_letter1 INTEGER NOT NULL,"
                       " prev_letter2 INTEGER NOT NULL, prev_job BIGINT NOT NULL,"
                       " details TEXT NOT NULL)" // the design, the run and the look, as JSON
                       )
            .arg(dialect.idColumn),
        QStringLiteral("CREATE INDEX jobs_by_state ON jobs (state, host, folder)"),
        QStringLiteral("CREATE TABLE labels ("
                       " job_id BIGINT NOT NULL, n INTEGER NOT NULL,"
                       " upper_text TEXT NOT NULL, lower_text TEXT NOT NULL,"
                       " PRIMARY KEY (job_id, n))%1")
            .arg(dialect.labelsTable),
        // The upper line first: a job's labels share it and follow each other
        // in the index, so that a job of 1200 writes a few of its pages.
        QStringLiteral("CREATE INDEX labels_by_text ON labels (upper_text, lower_text)"),
        QStringLiteral("CREATE TABLE numbering ("
                       " label_type INTEGER PRIMARY KEY,"
                       " first_number INTEGER NOT NULL, letter1 INTEGER NOT NULL,"
                       " letter2 INTEGER NOT NULL, job_id BIGINT NOT NULL)"),
    };
    if (dialect.lowerLineIndex)
        statements << QLatin1String(LowerLineIndex);
    // A row for every type from the start, so that a reservation always
    // has a row to lock.
    for (int type = FirstLabelType; type <= LastLabelType; ++type)
        statements << QStringLiteral("INSERT INTO numbering VALUES (%1, 0, 0, 0, 0)").arg(type);
    return statements;
}

QStringList migration(int version, const SqlDialect& dialect)
{
    Q_UNUSED(version);
    Q_UNUSED(dialect);
    return {};
}

} // namespace RegistrySchema
