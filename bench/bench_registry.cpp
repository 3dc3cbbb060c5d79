// The registry with many labels issued: the duplicate check, the
// reservation and the confirmation of a 1200-label job, against a registry
// that holds 10 million labels (or the count given).
//
//   bench_registry [--labels N] [--file PATH | --server URL]
//
// A SQLite file is made at PATH (default: a temporary one) unless it holds
// the registry already; a server's database is filled unless it holds the
// labels already. A server's registry filled before the index of lower
// lines gets it when it is opened, which takes a while once. Reports the median and range
// over 11 jobs, and the size of the database.
#include "BenchStats.h"

#include "core/model/Freeze.h"
#include "core/registry/RegistrySchema.h"
#include "core/registry/SqlRegistry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool run(QSqlQuery& q, const QString& sql)
{
    if (q.exec(sql))
        return true;
    std::fprintf(stderr, "%s\n%s\n", qPrintable(sql), qPrintable(q.lastError().text()));
    return false;
}

// N labels in jobs of 1200: upper "Bnnnn", lower "0000".."9999", all different.
bool fill(SqlRegistry& registry, qint64 labels, bool sqlite)
{
    QSqlQuery q(registry.database());
    if (!run(q, QStringLiteral("SELECT count(*) FROM labels")) || !q.next())
        return false;
    // Jobs written with their ids leave a server's id sequence behind.
    const QString catchUp =
        QStringLiteral("SELECT setval('jobs_id_seq', (SELECT coalesce(max(id), 1) FROM jobs))");
    if (q.value(0).toLongLong() >= labels)
        return sqlite || run(q, catchUp);
    std::printf("filling the registry with %lld labels...\n", labels);
    const qint64 jobs = (labels + 1199) / 1200;
    const QString numbers =
        sqlite ? QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
                                "WHERE i < %1) SELECT i FROM n")
               : QStringLiteral("SELECT i FROM generate_series(0, %1) AS n(i)");
    const QString four = sqlite ? QStringLiteral("printf('%04d', i % 10000)")
                                : QStringLiteral("lpad((i % 10000)::text, 4, '0')");
    // Indexes are built once the rows are in: far quicker than row by row.
    return run(q, QStringLiteral("DROP INDEX labels_by_text")) &&
           run(q, QStringLiteral("DROP INDEX IF EXISTS labels_by_lower")) &&
           run(q, QStringLiteral("INSERT INTO jobs (id, reserved_at, kind, state, host, "
                                 "user_name, folder, printer, label_type, label_count, "
                                 "first_label, last_label, start_position, next_position, "
                                 "prev_first, prev_letter1, prev_letter2, prev_job, details) "
                                 "SELECT i + 1, '2026-01-01T00:00:00.000Z', 'labels', "
                                 "'printed', 'h', 'u', '/f', 'p', 1, 1200, '', '', 1, 1, 0, 0, "
                                 "0, 0, '{}' FROM (%1) AS s")
                      .arg(numbers.arg(jobs - 1))) &&
           run(q, QStringLiteral("INSERT INTO labels (job_id, n, upper_text, lower_text) "
                                 "SELECT i / 1200 + 1, i % 1200, 'B' || (i / 10000), %2 "
                                 "FROM (%1) AS s")
                      .arg(numbers.arg(labels - 1), four)) &&
           run(q,
               QStringLiteral("CREATE INDEX labels_by_text ON labels (upper_text, lower_text)")) &&
           (sqlite || run(q, QLatin1String(RegistrySchema::LowerLineIndex))) &&
           run(q, QStringLiteral("ANALYZE")) && (sqlite || run(q, catchUp));
}

RegistryJob newJob(int round)
{
    RegistryJob job;
    job.station = Station::ofThisProcess(QStringLiteral("/bench"));
    job.design.upperTexts[0] = QStringLiteral("R%1").arg(round);
    job.design.sampleCount = 1200;
    job.job.run = freeze(job.design, QDate(2026, 12, 9));
    for (int n = 1; n <= 1200; ++n)
        job.job.labels << PrintLogEntry{job.design.upperTexts[0],
                                        QString::number(n).rightJustified(4, u'0')};
    job.movesNumbering = true;
    return job;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    qint64 labels = 10'000'000;
    QString file, server;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--labels"))
            labels = args[i + 1].toLongLong();
        else if (args[i] == QLatin1String("--file"))
            file = args[i + 1];
        else if (args[i] == QLatin1String("--server"))
            server = args[i + 1];
    }
    QTemporaryDir dir;
    QString error;
    const std::optional<RegistryTarget> target = RegistryTarget::parse(
        !server.isEmpty() ? server
        : !file.isEmpty() ? file
                          : dir.filePath(QStringLiteral("registry.sqlite")),
        &error);
    if (!target) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    const bool sqlite = target->backend == RegistryTarget::Backend::SQLite;
    const auto registry = SqlRegistry::open(*target);
    if (!registry->isOpen() || !fill(*registry, labels, sqlite)) {
        std::fprintf(stderr, "%s\n", qPrintable(registry->errorString()));
        return 1;
    }

    // Upper lines no earlier run used: every label of a round is new.
    const int nonce = int(QRandomGenerator::global()->bounded(1, 10000000));
    std::vector<double> checks, reservations, confirmations, checkAndReserve, repeats;
    qint64 numbering = registry->numbering(1)->jobId;
    for (int round = 0; round < 12; ++round) {
        const RegistryJob job = newJob(nonce * 100 + round);
        QElapsedTimer timer;
        timer.start();
        const auto issued = registry->issued(job.job.labels);
        const double check = timer.nsecsElapsed() / 1e6;
        const std::optional<qint64> id = registry->reserve(job, numbering);
        const double reserved = timer.nsecsElapsed() / 1e6;
        const bool confirmed = id && registry->confirm(*id);
        const double total = timer.nsecsElapsed() / 1e6;
        if (!issued || !issued->isEmpty() || !confirmed) {
            std::fprintf(stderr, "the job failed: %s\n", qPrintable(registry->errorString()));
            return 1;
        }
        numbering = *id;
        // The same labels once more: every one of them found.
        timer.restart();
        const auto again = registry->issued(job.job.labels);
        const double repeat = timer.nsecsElapsed() / 1e6;
        if (!again || again->size() != 1200)
            return 1;
        if (round == 0)
            continue; // the first run warms the caches
        checks.push_back(check);
        reservations.push_back(reserved - check);
        checkAndReserve.push_back(reserved);
        confirmations.push_back(total - reserved);
        repeats.push_back(repeat);
    }
    std::vector<double> searches, lowerOnly;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        registry->find(QStringLiteral("B%1 0042").arg(round * 97));
        searches.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        registry->find(QStringLiteral("0042"));
        lowerOnly.push_back(timer.nsecsElapsed() / 1e6);
    }
    QSqlQuery q(registry->database());
    qint64 bytes = sqlite ? QFileInfo(target->file).size() : 0;
    if (sqlite) {
        bytes += QFileInfo(target->file + QStringLiteral("-wal")).size();
    } else if (q.exec(QStringLiteral("SELECT pg_database_size(current_database())")) && q.next()) {
        bytes = q.value(0).toLongLong();
    }
    std::printf("%s, %lld labels, %.0f MB\n", sqlite ? "SQLite" : "PostgreSQL", labels,
                bytes / 1048576.0);
    printStats("duplicate check of 1200 new labels", checks);
    printStats("reservation of 1200 labels", reservations);
    printStats("check and reservation", checkAndReserve);
    printStats("confirmation", confirmations);
    printStats("duplicate check of 1200 labels issued before", repeats);
    printStats("search for a label by both lines", searches);
    printStats("search for a label by its lower line alone", lowerOnly);
    return 0;
}
