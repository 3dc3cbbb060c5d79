// The registry's questions and records: the numbering, the duplicate guard,
// reservations and their end, the history and the search.

#include "core/registry/SqlRegistry.h"

#include "core/io/DesignFile.h"
#include "core/io/JobJson.h"
#include "core/model/LabelType.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QSqlQuery>

namespace {

QString timeText(const QDateTime& time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime timeOf(const QVariant& value)
{
    QDateTime time = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
    time.setTimeSpec(Qt::UTC);
    return time;
}

QString kindText(JobKind kind)
{
    return kind == JobKind::Reprint ? QStringLiteral("reprint") : QStringLiteral("labels");
}

// The numbering a type shares: a type 1 run printed without its upper line
// is still type 1's.
int numberingTypeOf(int labelType)
{
    return labelType == BlankType1 ? 1 : labelType;
}

// Labels as one JSON value, [["LAB","0001"], ...]: a statement about many
// labels binds one value, however many there are. (Drivers that name each
// bound value make the cost of a statement grow with the square of their
// count.)
QString labelsJson(const QList<PrintLogEntry>& labels)
{
    // Written by hand: a QJsonArray of 1200 arrays costs more than the
    // statement that reads it.
    const auto append = [](QString& json, const QString& text) {
        json += QLatin1Char('"');
        for (const QChar c : text) {
            if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
                json += QLatin1Char('\\');
            if (c.unicode() < 0x20)
                json += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                json += c;
        }
        json += QLatin1Char('"');
    };
    QString json;
    json.reserve(labels.size() * 20 + 2);
    json += QLatin1Char('[');
    for (const PrintLogEntry& label : labels) {
        if (json.size() > 1)
            json += QLatin1Char(',');
        json += QLatin1Char('[');
        append(json, label.upper);
        json += QLatin1Char(',');
        append(json, label.lower);
        json += QLatin1Char(']');
    }
    json += QLatin1Char(']');
    return json;
}

const char* SummaryColumns = "id, reserved_at, kind, reprint_of, state, label_type, first_label, "
                             "last_label, label_count, printer, user_name, host, folder";

JobSummary summaryOf(const QSqlQuery& q)
{
    JobSummary s;
    s.id = q.value(0).toLongLong();
    s.reservedAt = timeOf(q.value(1));
    s.kind = q.value(2).toString() == QLatin1String("reprint") ? JobKind::Reprint : JobKind::Labels;
    s.reprintOf = q.value(3).toLongLong();
    s.state =
        q.value(4).toString() == QLatin1String("printed") ? JobState::Printed : JobState::Reserved;
    s.labelType = q.value(5).toInt();
    s.firstLabel = q.value(6).toString();
    s.lastLabel = q.value(7).toString();
    s.labelCount = q.value(8).toInt();
    s.printer = q.value(9).toString();
    s.station = q.value(10).toString() + QLatin1Char('@') + q.value(11).toString();
    s.folder = q.value(12).toString();
    return s;
}

} // namespace

std::optional<NumberingPosition> SqlRegistry::numbering(int labelType)
{
    const SqlConnection::Deadline deadline(m_sql);
    if (!ready())
        return std::nullopt;
    QSqlQuery q(m_sql.database());
    if (!m_sql.exec(q,
                    QStringLiteral("SELECT first_number, letter1, letter2, job_id FROM numbering "
                                   "WHERE label_type = ?"),
                    {numberingTypeOf(labelType)}))
        return std::nullopt;
    if (!q.next())
        return numberingFromJobs(numberingTypeOf(labelType));
    return NumberingPosition{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(),
                             q.value(3).toLongLong()};
}

std::optional<qint64> SqlRegistry::latestJobId()
{
    const SqlConnection::Deadline deadline(m_sql);
    if (!ready())
        return std::nullopt;
    QSqlQuery q(m_sql.database());
    if (!m_sql.exec(q, QStringLiteral("SELECT coalesce(max(id), 0) FROM jobs")) || !q.next())
        return std::nullopt;
    return q.value(0).toLongLong();
}

std::optional<QList<JobSummary>> SqlRegistry::summaries(const QString& where,
                                                        const QVariantList& values)
{
    QSqlQuery q(m_sql.database());
    q.setForwardOnly(true);
    if (!m_sql.exec(q,
                    QStringLiteral("SELECT %1 FROM jobs %2 ORDER BY id DESC")
                        .arg(QLatin1String(SummaryColumns), where),
                    values))
        return std::nullopt;
    QList<JobSummary> jobs;
    while (q.next())
        jobs << summaryOf(q);
    return jobs;
}

std::optional<QList<JobSummary>> SqlRegistry::unconfirmed(const Station& station)
{
    const SqlConnection::Deadline deadline(m_sql);
    if (!ready())
        return std::nullopt;
    return summaries(QStringLiteral("WHERE state = 'reserved' AND host = ? AND folder = ?"),
                     {station.host, station.folder});
}

std::optional<QList<JobSummary>> SqlRegistry::history(const HistoryFilter& filter)
{
    const SqlConnection::Deadline deadline(m_sql);
    if (!ready())
        return std::nullopt;
    QStringList conditions;
    QVariantList values;
    if (filter.since.isValid()) {
        conditions << QStringLiteral("reserved_at >= ?");
        values << timeText(filter.since);
    }
    if (filter.labelType > 0) {
        conditions << QStringLiteral("label_type = ?");
        values << filter.labelType;
    }
    return summaries(conditions.isEmpty()
                         ? QString()
                         : QStringLiteral("WHERE ") + conditions.join(QStringLiteral(" AND ")),
                     values);
}

std::optional<QList<IssuedLabel>> SqlRegistry::issued(const QList<PrintLogEntry>& labels)
{
    const SqlConnection::Deadline deadline(m_sql);
    if (!ready())
        return std::nullopt;
    // Each text once: repeats of a sample and blank labels ask nothing.
    QList<PrintLogEntry> distinct;
    QSet<QString> seen;
    for (const PrintLogEntry& label : labels) {
        if ((label.upper.isEmpty() && label.lower.isEmpty()))
            continue;
        const QString key = label.upper + QChar(0x1F) + label.lower;
        if (!seen.contains(key)) {
            seen.insert(key);
            distinct << label;
        }
    }
    QList<IssuedLabel> found;
    if (distinct.isEmpty())
        return found;
    QSqlQuery q(m_sql.database());
    q.setForwardOnly(true);
    // From the texts asked into the index of texts: a few look-ups, however
    // many labels the registry holds.
    if (!m_sql.exec(
            q,
            QStringLiteral("WITH wanted AS (%1) "
                           "SELECT l.upper_text, l.lower_text, j.id, l.n, j.reserved_at, j.state "
                           "FROM wanted w CROSS JOIN labels l JOIN jobs j ON j.id = l.job_id "
                           "WHERE l.upper_text = w.upper_text AND l.lower_text = w.lower_text "
                           "AND j.kind = 'labels' ORDER BY j.id, l.n")
                .arg(m_sql.dialect().labelRows),
            {labelsJson(distinct)}))
        return std::nullopt;
    while (q.next())
        found << IssuedLabel{{q.value(0).toString(), q.value(1).toString()},
                             q.value(2).toLongLong(),
                             q.value(3).toInt(),
                             timeOf(q.value(4)),
                             q.value(5).toString() == QLatin1String("reserved")};
    return found;
}

bool SqlRegistry::insertLabels(qint64 jobId, const QList<PrintLogEntry>& labels)
{
    if (labels.isEmpty())
        return true;
    QSqlQuery q(m_sql.database());
    return m_sql.exec(
        q,
        QStringLiteral("INSERT INTO labels (job_id, n, upper_text, lower_text) "
                       "SELECT CAST(? AS BIGINT), n, upper_text, lower_text FROM (%1) AS r")
            .arg(m_sql.dialect().labelRows),
        {jobId, labelsJson(labels)});
}

std::optional<NumberingPosition> SqlRegistry::lockNumbering(int numberingType)
{
    // The row stays locked until the commit: another station's reservation
    // of this type waits, then finds it moved.
    QSqlQuery q(m_sql.database());
    const QString lockRow = QStringLiteral("SELECT first_number, letter1, letter2, job_id FROM "
                                           "numbering WHERE label_type = ?%1")
                                .arg(m_sql.dialect().forUpdate);
    if (!m_sql.exec(q, lockRow, {numberingType}))
        return std::nullopt;
    if (!q.next()) {
        // The row went missing: made again from the jobs, then locked.
        q.finish();
        const std::optional<NumberingPosition> rebuilt = numberingFromJobs(numberingType);
        if (!rebuilt ||
            !m_sql.exec(
                q,
                QStringLiteral("INSERT INTO numbering (label_type, first_number, letter1, "
                               "letter2, job_id) VALUES (?, ?, ?, ?, ?) ON CONFLICT DO NOTHING"),
                {numberingType, rebuilt->firstNumber, rebuilt->letter1, rebuilt->letter2,
                 rebuilt->jobId}) ||
            !m_sql.exec(q, lockRow, {numberingType}))
            return std::nullopt;
        if (!q.next()) {
            m_sql.fail(Failure::Failed,
                       QCoreApplication::translate("SqlRegistry",
                                                   "ラベル台帳にタイプ %1 の番号を記録できません。")
                           .arg(numberingType));
            return std::nullopt;
        }
    }
    return NumberingPosition{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(),
                             q.value(3).toLongLong()};
}

std::optional<qint64> SqlRegistry::reserve(const RegistryJob& job, qint64 expectedJobId)
{
    const SqlConnection::Deadline deadline(m_sql);
    if (!ready())
        return std::nullopt;
    if (!m_sql.begin())
        return std::nullopt;
    QSqlQuery q(m_sql.database());
    const auto failed = [this] {
        m_sql.rollback();
        return std::nullopt;
    };
    const int numberingType = numberingTypeOf(job.design.type);
    NumberingPosition before;
    if (job.movesNumbering) {
        const std::optional<NumberingPosition> locked = lockNumbering(numberingType);
        if (!locked)
            return failed();
        before = *locked;
        if (before.jobId != expectedJobId) {
            m_sql.rollback();
            m_sql.fail(Failure::Moved,
                       QCoreApplication::translate("SqlRegistry", "番号が進みました。"));
            return std::nullopt;
        }
    }
    const QList<PrintLogEntry>& labels = job.job.labels;
    QJsonObject details = {
        {"design", DesignFile::toJson(job.design)},
        {"job", jobToJson(job.job, JobLabels::Left)},
    };
    if (!job.reprinted.isEmpty()) {
        QJsonArray indices;
        for (const int index : job.reprinted)
            indices.append(index);
        details.insert(QStringLiteral("reprinted"), indices);
    }
    const QVariant none(QMetaType::fromType<qlonglong>());
    if (!m_sql.exec(
            q,
            QStringLiteral(
                "INSERT INTO jobs (reserved_at, kind, reprint_of, state, host, user_name, folder, "
                "printer, label_type, numbering_type, label_count, first_label, last_label, "
                "start_position, next_position, prev_first, prev_letter1, prev_letter2, "
                "prev_job, details) VALUES (?, ?, ?, 'reserved', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                "?, ?, ?, ?, ?, ?) RETURNING id"),
            {timeText(job.reservedAt.isValid() ? job.reservedAt : QDateTime::currentDateTimeUtc()),
             kindText(job.kind), job.reprintOf > 0 ? QVariant(job.reprintOf) : none,
             job.station.host, job.station.user, job.station.folder, job.printer, job.design.type,
             job.movesNumbering ? QVariant(numberingType) : QVariant(QMetaType::fromType<int>()),
             int(labels.size()), labels.isEmpty() ? QString() : labelText(labels.first()),
             labels.isEmpty() ? QString() : labelText(labels.last()), job.job.startPosition,
             job.nextPosition, before.firstNumber, before.letter1, before.letter2, before.jobId,
             QString::fromUtf8(QJsonDocument(details).toJson(QJsonDocument::Compact))}) ||
        !q.next())
        return failed();
    const qint64 id = q.value(0).toLongLong();
    q.finish();
    if (!insertLabels(id, labels))
        return failed();
    if (job.movesNumbering &&
        !m_sql.exec(
            q,
            QStringLiteral("UPDATE numbering SET first_number = ?, letter1 = ?, letter2 = ?, "
                           "job_id = ? WHERE label_type = ?"),
            {job.numberingAfter.firstNumber, job.numberingAfter.letter1, job.numberingAfter.letter2,
             id, numberingType}))
        return failed();
    if (!m_sql.commit())
        return std::nullopt;
    return id;
}

bool SqlRegistry::confirm(qint64 id)
{
    const SqlConnection::Deadline deadline(m_sql);
    if (!ready())
        return false;
    QSqlQuery q(m_sql.database());
    if (!m_sql.exec(
            q, QStringLiteral("UPDATE jobs SET state = 'printed', confirmed_at = ? WHERE id = ?"),
            {timeText(QDateTime::currentDateTimeUtc()), id}))
        return false;
    if (q.numRowsAffected() == 0)
        return m_sql.fail(
            Failure::NotFound,
            QCoreApplication::translate("SqlRegistry", "ジョブ %1 は台帳にありません。").arg(id));
    return true;
}

bool SqlRegistry::release(qint64 id)
{
    const SqlConnection::Deadline deadline(m_sql);
    if (!ready())
        return false;
    if (!m_sql.begin())
        return false;
    QSqlQuery q(m_sql.database());
    if (!m_sql.exec(q,
                    QStringLiteral("SELECT numbering_type, prev_first, prev_letter1, prev_letter2, "
                                   "prev_job FROM jobs WHERE id = ?"),
                    {id})) {
        m_sql.rollback();
        return false;
    }
    if (!q.next()) {
        m_sql.rollback();
        return true; // gone already
    }
    const QVariant type = q.value(0);
    const QVariantList before = {q.value(1), q.value(2), q.value(3), q.value(4)};
    q.finish();
    const bool done =
        m_sql.exec(q, QStringLiteral("DELETE FROM labels WHERE job_id = ?"), {id}) &&
        m_sql.exec(q, QStringLiteral("DELETE FROM jobs WHERE id = ?"), {id}) &&
        (type.isNull() ||
         m_sql.exec(
             q,
             QStringLiteral("UPDATE numbering SET first_number = ?, letter1 = ?, letter2 = ?, "
                            "job_id = ? WHERE label_type = ? AND job_id = ?"),
             before + QVariantList{type, id}));
    if (!done) {
        m_sql.rollback();
        return false;
    }
    return m_sql.commit();
}

std::optional<RegistryJob> SqlRegistry::job(qint64 id)
{
    const SqlConnection::Deadline deadline(m_sql);
    if (!ready())
        return std::nullopt;
    QSqlQuery q(m_sql.database());
    if (!m_sql.exec(
            q,
            QStringLiteral("SELECT reserved_at, kind, reprint_of, state, host, user_name, folder, "
                           "printer, next_position, numbering_type, details FROM jobs "
                           "WHERE id = ?"),
            {id}))
        return std::nullopt;
    if (!q.next()) {
        m_sql.fail(
            Failure::NotFound,
            QCoreApplication::translate("SqlRegistry", "ジョブ %1 は台帳にありません。").arg(id));
        return std::nullopt;
    }
    RegistryJob job;
    job.id = id;
    job.reservedAt = timeOf(q.value(0));
    job.kind =
        q.value(1).toString() == QLatin1String("reprint") ? JobKind::Reprint : JobKind::Labels;
    job.reprintOf = q.value(2).toLongLong();
    job.state =
        q.value(3).toString() == QLatin1String("printed") ? JobState::Printed : JobState::Reserved;
    job.station = {q.value(4).toString(), q.value(5).toString(), q.value(6).toString()};
    job.printer = q.value(7).toString();
    job.nextPosition = q.value(8).toInt();
    job.movesNumbering = !q.value(9).isNull();

    JsonReader in;
    const QJsonObject details = in.document(q.value(10).toString().toUtf8());
    q.finish();
    const JsonField designField = in.field(details, {}, QStringLiteral("design"));
    job.design = readDesign(in, in.object(designField), designField.path, CodeField::Optional);
    const std::optional<PrintedJob> printed =
        readJob(in, in.field(details, {}, QStringLiteral("job")), JobLabels::Left);
    if (!in.ok() || !printed) {
        m_sql.fail(Failure::Damaged,
                   QCoreApplication::translate("SqlRegistry", "ジョブ %1 の記録が読めません: %2")
                       .arg(id)
                       .arg(in.problem()));
        return std::nullopt;
    }
    job.job = *printed;
    const QJsonArray reprinted = details.value(QStringLiteral("reprinted")).toArray();
    for (const QJsonValue& index : reprinted)
        job.reprinted << index.toInt();
    q.setForwardOnly(true);
    if (!m_sql.exec(
            q,
            QStringLiteral("SELECT upper_text, lower_text FROM labels WHERE job_id = ? ORDER BY n"),
            {id}))
        return std::nullopt;
    while (q.next())
        job.job.labels << PrintLogEntry{q.value(0).toString(), q.value(1).toString()};
    return job;
}

std::optional<QList<JobSummary>> SqlRegistry::find(const QString& text)
{
    const SqlConnection::Deadline deadline(m_sql);
    if (!ready())
        return std::nullopt;
    const QString wanted = text.trimmed();
    if (wanted.isEmpty() || wanted.size() > MaxLabelTextLength)
        return QList<JobSummary>();
    // The two lines with or without a space, or a label without an upper
    // line: the upper line is at most LabelBytes characters, so a few splits
    // of the text cover every label it can be, each one look-up in the index
    // of texts. Always as many, so that the statement stays the same.
    constexpr int Splits = LabelBytes + 1;
    QStringList alternatives;
    QVariantList values;
    for (qsizetype cut = 0; alternatives.size() < Splits; ++cut) {
        const bool inside = cut > 0 && cut < wanted.size() && wanted[cut - 1].isHighSurrogate();
        if (cut > wanted.size() || inside) {
            // The last split again.
            values << values[values.size() - 2] << values[values.size() - 1];
        } else {
            values << wanted.left(cut).trimmed() << wanted.mid(cut).trimmed();
        }
        alternatives << QStringLiteral("(upper_text = ? AND lower_text = ?)");
    }
    const QString byJob = QStringLiteral("WHERE id IN (SELECT job_id FROM labels WHERE %1)");
    std::optional<QList<JobSummary>> found =
        summaries(byJob.arg(alternatives.join(QStringLiteral(" OR "))), values);
    // Only the lower line given, under any upper line.
    if (found && found->isEmpty())
        found = summaries(m_sql.dialect().byLowerLine, {wanted});
    return found;
}
