// The routes that describe the service: its status and its printers.

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

HttpReply status(Call& call)
{
    ServerContext& context = call.context;
    QJsonObject registry{{"kind", context.registry.kind()},
                         {"location", context.registry.location()}};
    QJsonArray unresolved;
    SqlRegistry* open = context.registry.get();
    bool reachable = open && open->latestJobId().has_value();
    // The jobs in question: reserved by one of the service's stations and
    // never confirmed. Until somebody says, their labels count as issued.
    for (const QString& folder : context.stations.existingFolders()) {
        if (!reachable)
            break;
        const std::optional<QList<JobSummary>> jobs =
            open->unconfirmed(context.stations.station(folder, {}));
        reachable = jobs.has_value();
        for (const JobSummary& job : jobs.value_or(QList<JobSummary>())) {
            QJsonObject line = ApiJson::summary(job);
            line.insert(QStringLiteral("question"), ReservedJobs::describe(job));
            unresolved.append(line);
        }
    }
    registry.insert(QStringLiteral("reachable"), reachable);
    if (!reachable)
        registry.insert(QStringLiteral("problem"),
                        open ? open->errorString() : context.registry.problem());
    QJsonObject body{
        {"version", QCoreApplication::applicationVersion()},
        {"registry", registry},
        {"queues", int(PrintQueue::queues().size())},
        {"tokenRequired", context.tokens.anyToken() || !context.settings.loopbackOnly()}};
    if (reachable)
        body.insert(QStringLiteral("unresolved"), unresolved);
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

HttpReply notYet(Call&)
{
    return HttpReply::error(
        501, "not-implemented",
        QCoreApplication::translate("Server", "この版のサービスはこの呼び出しにまだ答えません。"));
}

} // namespace ApiRoutes
