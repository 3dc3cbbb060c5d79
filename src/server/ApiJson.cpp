#include "server/ApiJson.h"

#include "core/io/DesignFile.h"
#include "core/job/JobPlanning.h"
#include "core/layout/SheetGeometry.h"
#include "core/render/PrintRecord.h"
#include "server/ServerSheets.h"

namespace ApiJson {

namespace {

QString kindName(JobKind kind)
{
    return kind == JobKind::Reprint ? QStringLiteral("reprint") : QStringLiteral("labels");
}

QString stateName(JobState state)
{
    return state == JobState::Printed ? QStringLiteral("printed") : QStringLiteral("reserved");
}

// An offset list's entry in millimetres, as the print screen shows it.
double millimetres(int index)
{
    return (index - SheetGeometry::OffsetZeroIndex) / 2.0;
}

} // namespace

QString time(const QDateTime& time)
{
    const QDateTime local = time.toLocalTime();
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}

QJsonObject summary(const JobSummary& job)
{
    QJsonObject object{
        {"id", job.id},
        {"time", time(job.reservedAt)},
        {"kind", kindName(job.kind)},
        {"state", stateName(job.state)},
        {"type", job.labelType},
        {"first", job.firstLabel},
        {"last", job.lastLabel},
        {"labelCount", job.labelCount},
        {"printer", job.printer},
        {"station", job.station},
    };
    if (job.kind == JobKind::Reprint)
        object.insert(QStringLiteral("reprintOf"), job.reprintOf);
    return object;
}

QJsonArray summaries(const QList<JobSummary>& jobs)
{
    QJsonArray array;
    for (const JobSummary& job : jobs)
        array.append(summary(job));
    return array;
}

QJsonObject job(const RegistryJob& job)
{
    const QList<PrintLogEntry>& labels = job.job.labels;
    JobSummary line;
    line.id = job.id;
    line.reservedAt = job.reservedAt;
    line.kind = job.kind;
    line.reprintOf = job.reprintOf;
    line.state = job.state;
    line.labelType = job.design.type;
    line.firstLabel = labels.isEmpty() ? QString() : labelText(labels.first());
    line.lastLabel = labels.isEmpty() ? QString() : labelText(labels.last());
    line.labelCount = int(labels.size());
    line.printer = job.printer;
    line.station = job.station.shown();
    QJsonObject object = summary(line);

    QJsonObject design = DesignFile::toJson(job.design);
    design.insert(QStringLiteral("format"), QLatin1String(DesignFile::Format));
    design.insert(QStringLiteral("version"), DesignFile::Version);
    object.insert(QStringLiteral("design"), design);
    object.insert(QStringLiteral("sheet"), ServerSheets::json(job.job.sheet));
    object.insert(QStringLiteral("startPosition"), job.job.startPosition);
    object.insert(QStringLiteral("nextPosition"), job.nextPosition);
    if (job.job.printedAt.isValid())
        object.insert(QStringLiteral("printedAt"), time(job.job.printedAt));
    if (job.kind == JobKind::Reprint) {
        QJsonArray reprinted;
        for (const int index : job.reprinted)
            reprinted.append(index + 1);
        object.insert(QStringLiteral("reprinted"), reprinted);
    }
    object.insert(QStringLiteral("labels"), ApiJson::labels(JobPlanning::placedLabels(job)));
    object.insert(QStringLiteral("documents"), documents(job.id, job.job));
    return object;
}

QJsonArray labels(const QList<PlacedLabel>& labels)
{
    QJsonArray list;
    for (const PlacedLabel& label : labels)
        list.append(QJsonObject{{"sheet", label.sheet},
                                {"position", label.position},
                                {"sample", label.sample},
                                {"repeat", label.repeat},
                                {"upper", label.upper},
                                {"lower", label.lower}});
    return list;
}

QJsonObject documents(qint64 id, const PrintedJob& job)
{
    const QString base = QStringLiteral("/api/v1/jobs/%1/").arg(id);
    QJsonObject documents{{"labels.pdf", QString(base + QStringLiteral("labels.pdf"))}};
    if (job.sampleEntries().size() <= PrintRecord::MaxEntries)
        documents.insert(QStringLiteral("record.pdf"),
                         QString(base + QStringLiteral("record.pdf")));
    if (labelType(job.run.type).listed)
        documents.insert(QStringLiteral("labels.xls"),
                         QString(base + QStringLiteral("labels.xls")));
    return documents;
}

QJsonObject placement(const ServerStations::Placement& placement)
{
    return {
        {"startPosition", placement.start.startPosition},
        {"offsets", QJsonObject{{"horizontal", millimetres(placement.start.horzOffsetIndex)},
                                {"vertical", millimetres(placement.start.vertOffsetIndex)}}},
        {"scale", QJsonObject{{"x", placement.scale.x}, {"y", placement.scale.y}}},
        {"sheet", ServerSheets::json(placement.sheet)},
        {"configured", placement.configured},
    };
}

} // namespace ApiJson
