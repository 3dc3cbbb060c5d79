// The routes that print: a label job, a reprint, the labels a job would
// print, and where a station's next job starts. Each plans through the core
// (JobPlanning) and prints through its one transaction (JobTransaction), on
// the station of the queue, or of the token for a PDF.

#include "core/job/Reprint.h"
#include "core/numbering/DateStamp.h"
#include "print/PdfDocumentCanvas.h"
#include "server/ApiJson.h"
#include "server/ApiRoutes.h"
#include "server/ServerJobs.h"

#include <QCoreApplication>
#include <QJsonArray>

namespace ApiRoutes {

namespace {

using namespace ServerJobs;

HttpReply badBody(const BodyProblem& problem)
{
    return HttpReply::error(400, problem.code, problem.message, problem.field);
}

// Runs a job on the target's station: made at its first job, held, planned
// by `plan` in the transaction, printed or made as a PDF (kept, and fetched
// by its address), on the paper of the sheet named, else of the station's.
HttpReply runJob(Call& call, const JobTarget& target, const std::optional<SheetChoice>& named,
                 const std::function<PlanDecision(const FolderSnapshot&)>& plan,
                 bool allowDuplicates)
{
    HttpReply failure;
    SqlRegistry* registry = registryOf(call, failure);
    if (!registry)
        return failure;
    ServerStations& stations = call.context.stations;
    QString error;
    if (!stations.prepare(target.folder, &error))
        return HttpReply::error(500, "files", error);
    RunFiles files(target.folder);
    StationHold hold(stations, files);
    if (!hold.held())
        return hold.busy();
    // Read under the hold, the station's sheet is the one the plan takes.
    const Sheet sheet = named ? named->sheet : ServerStations::sheetOf(target.folder).sheet;
    PdfDocumentCanvas canvas(destinationOf(target, sheet));
    std::optional<JobPlan> planned;
    JobTransaction transaction(files, *registry, stations.station(target.folder, call.tokenName),
                               DateStamp::systemClock());
    JobOutcome outcome = transaction.run(
        canvas,
        [&plan, &planned](const FolderSnapshot& folder) {
            PlanDecision decision = plan(folder);
            planned = decision.plan;
            return decision;
        },
        [allowDuplicates](const QList<IssuedLabel>&) { return allowDuplicates; });
    // The station's files are written: its next job may go on while this
    // one's PDF is kept.
    hold.release();
    if (!outcome.printed())
        return notPrinted(outcome, call.registry);
    // Printed: a PDF that cannot be kept is made again from the registry
    // when it is fetched.
    if (target.pdf() &&
        !stations.keepPdf(target.folder, outcome.job.registryId, canvas.document(), &error))
        outcome.notes << error;
    return printed(outcome, *planned, target);
}

} // namespace

HttpReply labels(Call& call)
{
    HttpReply failure;
    const std::optional<AskedJob> asked = askedJob(call, failure);
    if (!asked)
        return failure;
    const std::optional<JobPlan> plan = planWithoutPrinting(call, *asked, failure);
    if (!plan)
        return failure;
    const QList<PlacedLabel> labels = JobPlanning::placedLabels(*plan);
    const auto text = [](const PlacedLabel& label) {
        return labelText(PrintLogEntry{label.upper, label.lower});
    };
    return HttpReply::json(QJsonObject{
        {"labels", ApiJson::labels(labels)},
        {"labelCount", int(labels.size())},
        {"first", labels.isEmpty() ? QString() : text(labels.first())},
        {"last", labels.isEmpty() ? QString() : text(labels.last())},
        {"startPosition", plan->startPosition},
        {"sheet", ServerSheets::json(plan->sheet)},
    });
}

HttpReply printJob(Call& call)
{
    HttpReply failure;
    const std::optional<AskedJob> asked = askedJob(call, failure);
    if (!asked)
        return failure;
    const LabelJobRequest& request = asked->request;
    return runJob(
        call, asked->target, request.sheet,
        [&request](const FolderSnapshot& folder) {
            return JobPlanning::planLabels(request, folder);
        },
        asked->body.allowDuplicates);
}

HttpReply reprint(Call& call)
{
    std::variant<ReprintRequestBody, BodyProblem> parsed = parseReprintRequest(call.request.body);
    if (const auto* problem = std::get_if<BodyProblem>(&parsed))
        return badBody(*problem);
    const ReprintRequestBody& body = std::get<ReprintRequestBody>(parsed);
    HttpReply failure;
    const std::optional<JobTarget> target = targetOf(call, body.printer, body.pdf, failure);
    if (!target)
        return failure;
    const std::optional<RegistryJob> job = jobOf(call, failure);
    if (!job)
        return failure;
    ReprintRequest request{*job, {}, body.start, target->printer, std::nullopt, {}};
    if (!namedSheet(call, body.sheet, request.sheet, failure))
        return failure;
    JobRefusal refusal;
    request.labels = Reprint::choose(*job, {body.samples, body.labels}, &refusal);
    if (request.labels.isEmpty())
        return refused(refusal, call.registry);
    return runJob(
        call, *target, request.sheet,
        [&request](const FolderSnapshot& folder) {
            return JobPlanning::planReprint(request, folder);
        },
        false);
}

HttpReply next(Call& call)
{
    const QString printer = call.query.value(QStringLiteral("printer"));
    const QString output = call.query.value(QStringLiteral("output"));
    if (!output.isNull() && (output != QLatin1String("pdf") || !printer.isNull()))
        return HttpReply::error(
            400, "bad-field",
            QCoreApplication::translate(
                "Server", "「output」は \"pdf\" だけで、「printer」とは一緒に使えません。"),
            QStringLiteral("output"));
    HttpReply failure;
    std::optional<SheetChoice> sheet;
    if (!namedSheet(call, call.query.value(QStringLiteral("sheet")), sheet, failure))
        return failure;
    const std::optional<JobTarget> target = targetOf(call, printer, !output.isNull(), failure);
    if (!target)
        return failure;
    SqlRegistry* registry = registryOf(call, failure);
    if (!registry)
        return failure;
    const std::optional<FolderSnapshot> folder = snapshotOf(call, *target, registry, failure);
    if (!folder)
        return failure;
    const std::variant<NextJob, JobRefusal> next = JobPlanning::nextJob(*folder, sheet);
    if (const auto* refusal = std::get_if<JobRefusal>(&next))
        return refused(*refusal, call.registry);
    const NextJob& job = std::get<NextJob>(next);
    QJsonObject answer{
        {"startPosition", job.startPosition},
        {"sheet", ServerSheets::json(job.sheet)},
        {"printer", target->printer},
        {"type", job.design.type},
        {"first", job.first.upper.isEmpty() && job.first.lower.isEmpty()
                      ? QString()
                      : labelText(PrintLogEntry{job.first.upper, job.first.lower})},
    };
    // A start the sheet does not have: the job starts at 1, and says so.
    if (!job.note.isEmpty())
        answer.insert(QStringLiteral("note"), job.note);
    return HttpReply::json(answer);
}

} // namespace ApiRoutes
