// The routes that describe the service: its status, its printers and the
// label sheets.

#include "core/io/RunFiles.h"
#include "core/job/ReservedJobs.h"
#include "print/PrintQueue.h"
#include "server/ApiJson.h"
#include "server/ApiRoutes.h"

#include <QCoreApplication>
#include <QJsonArray>

namespace ApiRoutes {

HttpReply registryFailure(LabelRegistry::Failure failure, const QString& problem)
{
    if (failure == LabelRegistry::Failure::Damaged || failure == LabelRegistry::Failure::Newer)
        return HttpReply::error(
            500, "registry-unusable",
            QCoreApplication::translate("Server", "ラベル台帳を使えません。\n%1").arg(problem));
    HttpReply reply = HttpReply::error(
        503, "registry-unavailable",
        QCoreApplication::translate("Server", "ラベル台帳に接続できません。\n%1").arg(problem));
    reply.addHeader("Retry-After", "5");
    return reply;
}

std::optional<QList<JobSummary>> unresolvedJobs(const ServerStations& stations,
                                                LabelRegistry& registry)
{
    QList<JobSummary> questions;
    for (const QString& folder : stations.existingFolders()) {
        const Station station = stations.station(folder, {});
        RunFiles files(folder);
        QString error;
        // Jobs that printed while the registry was away are confirmed now,
        // unless a job holds the folder (it confirms them itself).
        std::optional<QList<JobSummary>> jobs =
            ReservedJobs::confirmPrinted(files, registry, station, &error, 0);
        if (!jobs && registry.failure() == LabelRegistry::Failure::None) {
            const QList<qint64> printed =
                StateFile::read(files.statePath()).state.registry.unconfirmed;
            jobs = registry.unconfirmed(station);
            if (jobs)
                jobs->removeIf(
                    [&printed](const JobSummary& job) { return printed.contains(job.id); });
        }
        if (!jobs)
            return std::nullopt;
        questions += *jobs;
    }
    return questions;
}

HttpReply status(Call& call)
{
    ServerRegistry& registry = call.registry;
    QJsonObject shown{{"kind", registry.kind()}, {"location", registry.location()}};
    SqlRegistry* open = registry.get();
    // The jobs in question: reserved by one of the service's stations and
    // never confirmed. Until somebody says, their labels count as issued.
    const std::optional<QList<JobSummary>> questions =
        open && open->latestJobId() ? unresolvedJobs(call.context.stations, *open) : std::nullopt;
    shown.insert(QStringLiteral("reachable"), questions.has_value());
    if (!questions)
        shown.insert(QStringLiteral("problem"), registry.problem());
    QJsonObject body{{"version", QCoreApplication::applicationVersion()},
                     {"registry", shown},
                     {"queues", int(PrintQueue::queues().size())},
                     {"tokenRequired", call.tokenRequired}};
    if (questions) {
        QJsonArray unresolved;
        for (const JobSummary& job : *questions) {
            QJsonObject line = ApiJson::summary(job);
            line.insert(QStringLiteral("question"), ReservedJobs::describe(job));
            unresolved.append(line);
        }
        body.insert(QStringLiteral("unresolved"), unresolved);
    }
    return HttpReply::json(body);
}

HttpReply printers(Call& call)
{
    QJsonArray list;
    for (const PrintQueue::QueueInfo& queue : PrintQueue::queues()) {
        const ServerStations::Placement placement =
            call.context.stations.placement(call.context.stations.queueFolder(queue.name));
        QJsonObject printer = ApiJson::placement(placement);
        printer.insert(QStringLiteral("name"), queue.name);
        printer.insert(QStringLiteral("default"), queue.isDefault);
        printer.insert(QStringLiteral("accepting"), queue.accepting);
        printer.insert(QStringLiteral("state"), queue.state);
        printer.insert(QStringLiteral("description"), queue.description);
        printer.insert(QStringLiteral("location"), queue.location);
        if (!placement.problem.isEmpty())
            printer.insert(QStringLiteral("problem"), placement.problem);
        list.append(printer);
    }
    return HttpReply::json(QJsonObject{{"printers", list}});
}

HttpReply sheets(Call& call)
{
    QJsonArray list;
    for (const SheetEntry& entry : call.context.sheets.all())
        list.append(ServerSheets::json(entry));
    return HttpReply::json(QJsonObject{{"sheets", list}});
}

} // namespace ApiRoutes
