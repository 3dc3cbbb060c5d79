#include "server/ApiJson.h"

#include "core/io/DesignFile.h"
#include "core/job/Reprint.h"
#include "core/layout/SheetGeometry.h"
#include "core/layout/SheetLayout.h"
#include "core/render/PrintRecord.h"

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
    QJsonArray list;
    for (int i = 0; i < int(labels.size()); ++i) {
        const int running = job.job.startPosition - 1 + i;
        const auto [sample, repeat] = Reprint::sampleOf(job, i);
        list.append(QJsonObject{{"sheet", running / SheetLayout::Positions + 1},
                                {"position", running % SheetLayout::Positions + 1},
                                {"sample", sample},
                                {"repeat", repeat},
                                {"upper", labels[i].upper},
                                {"lower", labels[i].lower}});
    }
    object.insert(QStringLiteral("labels"), list);
    const QString base = QStringLiteral("/api/v1/jobs/%1/").arg(job.id);
    QJsonObject documents{{"labels.pdf", QString(base + QStringLiteral("labels.pdf"))}};
    if (job.job.sampleEntries().size() <= PrintRecord::MaxEntries)
        documents.insert(QStringLiteral("record.pdf"),
                         QString(base + QStringLiteral("record.pdf")));
    if (labelType(job.job.run.type).listed)
        documents.insert(QStringLiteral("labels.xls"),
                         QString(base + QStringLiteral("labels.xls")));
    object.insert(QStringLiteral("documents"), documents);
    return object;
}

QJsonObject placement(const ServerStations::Placement& placement)
{
    return {
        {"startPosition", placement.start.startPosition},
        {"offsets", QJsonObject{{"horizontal", millimetres(placement.start.horzOffsetIndex)},
                                {"vertical", millimetres(placement.start.vertOffsetIndex)}}},
        {"scale", QJsonObject{{"x", placement.scale.x}, {"y", placement.scale.y}}},
        {"configured", placement.configured},
    };
}

} // namespace ApiJson
