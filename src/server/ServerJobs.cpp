#include "server/ServerJobs.h"

#include "core/io/RunFiles.h"
#include "core/model/LabelType.h"
#include "print/PrintQueue.h"
#include "server/ApiJson.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace ServerJobs {

namespace {

// The page's margins: the device's own minimum (none on a PDF), so that the
// labels are placed from the corner of what it can print.
const QMarginsF MinimumMargins(0, 0, 0, 0);

// The first label of the next job of a design.
PrintLogEntry nextFirst(const LabelDesign& design)
{
    const LabelTexts first = JobPlanning::firstLabel(design, QDate::currentDate());
    return {first.upper, first.lower};
}

HttpReply withRetry(HttpReply reply, const char* seconds)
{
    reply.addHeader("Retry-After", seconds);
    return reply;
}

} // namespace

std::optional<JobTarget> targetOf(ApiRoutes::Call& call, const QString& printer, bool pdf,
                                  HttpReply& failure)
{
    ServerStations& stations = call.context.stations;
    if (pdf)
        return JobTarget{stations.pdfFolder(call.tokenName), {}, QStringLiteral("PDF")};
    for (const PrintQueue::QueueInfo& queue : PrintQueue::queues())
        if (printer.isEmpty() ? queue.isDefault : queue.name == printer)
            return JobTarget{stations.queueFolder(queue.name), queue.name, queue.name};
    failure = HttpReply::error(
        404, "not-found",
        printer.isEmpty()
            ? QCoreApplication::translate("Server", "既定のプリンターがありません。")
            : QCoreApplication::translate("Server", "プリンター「%1」はありません。").arg(printer),
        QStringLiteral("printer"));
    return std::nullopt;
}

bool namedSheet(ApiRoutes::Call& call, const QString& id, std::optional<SheetChoice>& sheet,
                HttpReply& failure)
{
    sheet.reset();
    if (id.isEmpty())
        return true;
    if (const std::optional<SheetEntry> entry = call.context.sheets.find(id)) {
        sheet = SheetChoice{entry->id, entry->sheet};
        return true;
    }
    failure = HttpReply::error(
        400, "bad-field",
        QCoreApplication::translate("Server", "シート「%1」はありません（GET /api/v1/sheets）。")
            .arg(id),
        QStringLiteral("sheet"));
    return false;
}

std::optional<AskedJob> askedJob(ApiRoutes::Call& call, HttpReply& failure)
{
    const QDate today = QDate::currentDate();
    std::variant<JobRequest, BodyProblem> parsed = parseJobRequest(call.request.body, today);
    if (const auto* problem = std::get_if<BodyProblem>(&parsed)) {
        failure = HttpReply::error(400, problem->code, problem->message, problem->field);
        return std::nullopt;
    }
    AskedJob asked{std::get<JobRequest>(std::move(parsed)), {}, {}};
    const JobRequest& body = asked.body;
    LabelJobRequest& request = asked.request;
    if (!namedSheet(call, body.sheet, request.sheet, failure))
        return std::nullopt;
    std::optional<JobTarget> target = targetOf(call, body.printer, body.pdf, failure);
    if (!target)
        return std::nullopt;
    asked.target = *target;
    // The body's samples, free texts and code are in its design already.
    request.design = body.design;
    if (body.firstGiven)
        request.first = body.design.firstNumber;
    request.start = body.start;
    request.printer = target->printer;
    request.today = today;
    const std::variant<LabelDesign, JobRefusal> design = JobPlanning::designOf(request);
    if (const auto* refusal = std::get_if<JobRefusal>(&design)) {
        failure = refused(*refusal, call.registry);
        return std::nullopt;
    }
    return asked;
}

std::optional<JobPlan> planWithoutPrinting(ApiRoutes::Call& call, const AskedJob& asked,
                                           HttpReply& failure)
{
    SqlRegistry* registry = ApiRoutes::registryOf(call, failure);
    if (!registry)
        return std::nullopt;
    const std::optional<FolderSnapshot> folder = snapshotOf(call, asked.target, registry, failure);
    if (!folder)
        return std::nullopt;
    const PlanDecision decision = JobPlanning::planLabels(asked.request, *folder);
    if (!decision.plan)
        failure = refused(decision.refusal, call.registry);
    return decision.plan;
}

PrintDestination inMemory(const char* title, const Sheet& sheet)
{
    PrintDestination destination;
    destination.kind = PrintDestination::Kind::Memory;
    destination.title = QString::fromLatin1(title);
    destination.layout = sheet.isBuiltIn()
                             ? QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                           MinimumMargins, QPageLayout::Point)
                             : sheet.pageLayout(MinimumMargins);
    return destination;
}

PrintDestination destinationOf(const JobTarget& target, const Sheet& sheet)
{
    PrintDestination destination = inMemory("Rondelmaker labels", sheet);
    if (target.pdf())
        return destination;
    destination.kind = PrintDestination::Kind::Queue;
    destination.queue = target.queue;
    const QPageLayout layout = PrintQueue::defaultPageLayout(target.queue, MinimumMargins);
    if (layout.isValid())
        destination.layout =
            sheet.isBuiltIn() ? layout : sheet.pageLayout(layout.margins(QPageLayout::Point));
    // A duplex default would put the next sheet on the back of this one.
    destination.options.emplace_back("sides", "one-sided");
    return destination;
}

StationHold::StationHold(ServerStations& stations, RunFiles& files, int waitMs)
    : m_files(files), m_gate(stations.gateOf(files.dir())), m_lock(*m_gate, std::defer_lock)
{
    QElapsedTimer waited;
    waited.start();
    if (!m_lock.try_lock_for(std::chrono::milliseconds(waitMs))) {
        m_error = QCoreApplication::translate("Server",
                                              "このステーション（%1）はほかのジョブを印刷中です。"
                                              "しばらくしてからもう一度試してください。")
                      .arg(QDir(files.dir()).dirName());
        return;
    }
    if (!m_files.lock(&m_error, int(std::max<qint64>(0, waitMs - waited.elapsed()))))
        m_lock.unlock();
    else
        m_error.clear();
}

StationHold::~StationHold()
{
    release();
}

void StationHold::release()
{
    if (!held())
        return;
    m_files.unlock();
    m_lock.unlock();
}

HttpReply StationHold::busy() const
{
    return withRetry(HttpReply::error(423, "busy", m_error), "5");
}

std::optional<FolderSnapshot> snapshotOf(ApiRoutes::Call& call, const JobTarget& target,
                                         LabelRegistry* registry, HttpReply& failure)
{
    if (!QFileInfo(target.folder).isDir()) {
        FolderSnapshot defaults;
        defaults.dir = target.folder;
        defaults.start.status = StartFileReadResult::Ok;
        defaults.start.values = call.context.stations.placement(target.folder).start;
        defaults.state.status = StateFile::ReadResult::Missing;
        defaults.registry = registry;
        return defaults;
    }
    RunFiles files(target.folder);
    const StationHold hold(call.context.stations, files);
    QString error;
    std::optional<FolderSnapshot> taken;
    if (hold.held())
        taken = FolderSnapshot::take(files, registry, &error);
    if (!taken)
        failure = hold.held() ? withRetry(HttpReply::error(423, "busy", error), "5") : hold.busy();
    return taken;
}

HttpReply refused(const JobRefusal& refusal, ServerRegistry& registry)
{
    using Reason = JobRefusal::Reason;
    const QString message = refusal.fullText();
    switch (refusal.reason) {
    case Reason::StartFile:
        return HttpReply::error(500, "start-file", message);
    case Reason::NumberingLost:
    case Reason::StateDamaged:
        // The station's state.json is damaged: its administrator keeps it
        // aside, or (for numbered labels) the request gives "first".
        return HttpReply::error(409, "state-damaged", message, refusal.input);
    case Reason::Moved:
        return HttpReply::error(409, "moved", message);
    case Reason::Registry:
        return ApiRoutes::registryFailure(registry.failure(), registry.problem());
    case Reason::FreeTextsMissing:
        return HttpReply::error(400, "missing-field", message, refusal.input);
    default:
        break;
    }
    const QString field = refusal.reason == Reason::EmptyFreeText && refusal.item >= 0
                              ? refusal.input + QStringLiteral("[%1]").arg(refusal.item)
                              : refusal.input;
    return HttpReply::error(400, "bad-field", message, field);
}

HttpReply notPrinted(const JobOutcome& outcome, ServerRegistry& registry)
{
    using Stop = JobOutcome::Stop;
    switch (outcome.status) {
    case JobOutcome::Status::Withdrawn:
        return refused(outcome.refusal, registry);
    case JobOutcome::Status::Declined: {
        QJsonArray issued;
        for (const QString& line : describeIssued(outcome.issuedBefore))
            issued.append(line);
        HttpReply reply =
            HttpReply::error(409, "issued-before",
                             QCoreApplication::translate(
                                 "Server", "このジョブのラベルには、前に印刷したものがあります。"
                                           "何も印刷していません。もう一度印刷するには "
                                           "\"allowDuplicates\": true を付けて送ってください。\n%1")
                                 .arg(outcome.message));
        QJsonObject body = QJsonDocument::fromJson(reply.body).object();
        body.insert(QStringLiteral("issued"), issued);
        return HttpReply::json(409, body);
    }
    default:
        break;
    }
    switch (outcome.stop) {
    case Stop::FolderBusy:
        return withRetry(HttpReply::error(423, "busy", outcome.message), "5");
    case Stop::Registry:
        return ApiRoutes::registryFailure(registry.failure(), registry.problem());
    case Stop::Contended:
        return withRetry(HttpReply::error(503, "contended", outcome.message), "1");
    case Stop::Printer:
        return HttpReply::error(502, "printer-refused", outcome.message);
    case Stop::Files:
        return HttpReply::error(500, "files", outcome.message);
    case Stop::None:
        break;
    }
    return HttpReply::error(500, "not-printed", outcome.message);
}

HttpReply printed(const JobOutcome& outcome, const JobPlan& plan, const JobTarget& target)
{
    const PrintedJob& job = outcome.job;
    const qint64 id = job.registryId;
    const QList<PrintLogEntry>& labels = job.labels;
    QJsonObject next{{"startPosition", outcome.next.startPosition}};
    if (outcome.kind == JobKind::Labels && labelType(job.run.type).hasNumber()) {
        next.insert(QStringLiteral("firstNumber"), outcome.next.firstNumber);
        next.insert(QStringLiteral("first"), labelText(nextFirst(outcome.state.design)));
    }
    const QString base = QStringLiteral("/api/v1/jobs/%1").arg(id);
    QJsonObject body{
        {"id", id},
        {"kind",
         outcome.kind == JobKind::Reprint ? QStringLiteral("reprint") : QStringLiteral("labels")},
        {"type", job.run.type == BlankType1 ? 1 : job.run.type},
        {"labels", ApiJson::labels(JobPlanning::placedLabels(plan))},
        {"labelCount", int(labels.size())},
        {"first", labels.isEmpty() ? QString() : labelText(labels.first())},
        {"last", labels.isEmpty() ? QString() : labelText(labels.last())},
        {"sheet", ServerSheets::json(plan.sheet)},
        {"startPosition", job.startPosition},
        {"next", next},
        {"printer", target.printer},
        {"pdf", target.pdf() ? QJsonValue(base + QStringLiteral("/labels.pdf")) : QJsonValue()},
        {"documents", ApiJson::documents(id, job)},
        {"confirmed", !outcome.unconfirmed},
    };
    if (plan.kind == JobKind::Reprint)
        body.insert(QStringLiteral("reprintOf"), plan.reprintOf);
    if (!outcome.notes.isEmpty())
        body.insert(QStringLiteral("notes"), QJsonArray::fromStringList(outcome.notes));
    HttpReply reply = HttpReply::json(201, body);
    reply.addHeader("Location", base.toLatin1());
    return reply;
}

} // namespace ServerJobs
