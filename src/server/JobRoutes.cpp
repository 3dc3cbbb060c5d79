// The routes of the registry's jobs: the history, one job, its documents,
// a search, and settling a job in question.

#include "core/io/RunFiles.h"
#include "core/job/ReservedJobs.h"
#include "core/render/PrintJob.h"
#include "core/render/PrintRecord.h"
#include "print/PdfDocumentCanvas.h"
#include "server/ApiJson.h"
#include "server/ApiRoutes.h"
#include "server/RequestBody.h"
#include "server/ServerJobs.h"
#include "xls/BiffWriter.h"
#include "xls/CompoundFile.h"
#include "xls/SpreadsheetExport.h"

#include <QCoreApplication>
#include <QSysInfo>

namespace ApiRoutes {

namespace {

constexpr int DefaultLimit = 100;
constexpr int MaxLimit = 1000;

HttpReply renderFailed(const QString& why)
{
    return HttpReply::error(500, "render-failed", why);
}

QString fileName(const RegistryJob& job, const char* what)
{
    return QStringLiteral("job-%1-%2").arg(job.id).arg(QLatin1String(what));
}

// The day the job's record and spreadsheet are dated by, as they were made
// after it printed.
QDateTime datedBy(const RegistryJob& job)
{
    return (job.job.printedAt.isValid() ? job.job.printedAt : job.reservedAt).toLocalTime();
}

} // namespace

SqlRegistry* registryOf(Call& call, HttpReply& failure)
{
    SqlRegistry* registry = call.registry.get();
    if (!registry)
        failure = registryFailure(call.registry.failure(), call.registry.problem());
    return registry;
}

std::optional<RegistryJob> jobOf(Call& call, HttpReply& failure)
{
    SqlRegistry* registry = registryOf(call, failure);
    if (!registry)
        return std::nullopt;
    std::optional<RegistryJob> job = registry->job(call.id);
    if (job)
        return job;
    if (registry->failure() == LabelRegistry::Failure::NotFound)
        failure = HttpReply::error(404, "not-found", registry->errorString());
    else
        failure = registryFailure(registry->failure(), registry->errorString());
    return std::nullopt;
}

HttpReply jobs(Call& call)
{
    HistoryFilter filter;
    int limit = DefaultLimit;
    if (const QString since = call.query.value(QStringLiteral("since")); !since.isNull()) {
        const QDate day = QDate::fromString(since, Qt::ISODate);
        filter.since = since.size() == 10 && day.isValid()
                           ? day.startOfDay()
                           : QDateTime::fromString(since, Qt::ISODateWithMs);
        if (!filter.since.isValid())
            return HttpReply::error(
                400, "bad-field",
                QCoreApplication::translate(
                    "Server",
                    "「since」は日付（2026-04-01）か日時（2026-04-01T09:00:00+09:00）です。"),
                QStringLiteral("since"));
    }
    const auto number = [&call](const char* name, int min, int max, int& value) {
        const QString text = call.query.value(QLatin1String(name));
        if (text.isNull())
            return true;
        bool ok = false;
        value = text.toInt(&ok);
        return ok && value >= min && value <= max && !text.startsWith(QLatin1Char('+'));
    };
    if (!number("type", FirstLabelType, LastLabelType, filter.labelType))
        return HttpReply::error(400, "bad-field",
                                QCoreApplication::translate("Server", "「type」は 1～12 です。"),
                                QStringLiteral("type"));
    if (!number("limit", 1, MaxLimit, limit))
        return HttpReply::error(
            400, "bad-field",
            QCoreApplication::translate("Server", "「limit」は 1～%1 です。").arg(MaxLimit),
            QStringLiteral("limit"));
    HttpReply failure;
    SqlRegistry* registry = registryOf(call, failure);
    if (!registry)
        return failure;
    const std::optional<QList<JobSummary>> history = registry->history(filter);
    if (!history)
        return registryFailure(registry->failure(), registry->errorString());
    return HttpReply::json(QJsonObject{{"jobs", ApiJson::summaries(history->mid(0, limit))},
                                       {"more", history->size() > limit}});
}

HttpReply job(Call& call)
{
    HttpReply failure;
    const std::optional<RegistryJob> found = jobOf(call, failure);
    return found ? HttpReply::json(ApiJson::job(*found)) : failure;
}

HttpReply labelsPdf(Call& call)
{
    HttpReply failure;
    const std::optional<RegistryJob> found = jobOf(call, failure);
    if (!found)
        return failure;
    // A job made as a PDF: that PDF, while it is kept.
    if (const std::optional<QByteArray> kept =
            call.context.stations.keptPdf(found->station.folder, found->id))
        return HttpReply::document(*kept, "application/pdf", fileName(*found, "labels.pdf"));
    // Else made again on the job's sheet, placed as this token's PDFs are
    // placed: its station's offsets and scale.
    const SheetGeometry::Offsets offsets =
        call.context.stations.placement(call.context.stations.pdfFolder(call.tokenName)).offsets();
    const PrintedJob& printed = found->job;
    PdfDocumentCanvas canvas(ServerJobs::inMemory("Rondelmaker labels", printed.sheet.sheet));
    const PrintJobResult result =
        runPrintJob(canvas, printed.sheet.sheet, SheetLabels(printed.run, printed.labels),
                    printed.look, offsets, printed.startPosition, {});
    if (!result.ok || canvas.document().isEmpty())
        return renderFailed(result.error);
    return HttpReply::document(canvas.document(), "application/pdf",
                               fileName(*found, "labels.pdf"));
}

HttpReply recordPdf(Call& call)
{
    HttpReply failure;
    const std::optional<RegistryJob> found = jobOf(call, failure);
    if (!found)
        return failure;
    const QList<PrintLogEntry> entries = found->job.sampleEntries();
    if (entries.size() > PrintRecord::MaxEntries)
        return HttpReply::error(
            422, "too-many-samples",
            QCoreApplication::translate("Server",
                                        "ラベル数オーバー（３００以上）です。記録は作れません。"));
    PdfDocumentCanvas canvas(ServerJobs::inMemory("Rondelmaker record"));
    if (!PrintRecord::printRecordPages(canvas, entries, found->job.look, datedBy(*found)))
        return renderFailed(canvas.errorString());
    return HttpReply::document(canvas.document(), "application/pdf",
                               fileName(*found, "record.pdf"));
}

HttpReply labelsXls(Call& call)
{
    HttpReply failure;
    const std::optional<RegistryJob> found = jobOf(call, failure);
    if (!found)
        return failure;
    const PrintedJob& printed = found->job;
    if (!labelType(printed.run.type).listed)
        return HttpReply::error(
            422, "no-spreadsheet",
            QCoreApplication::translate("Server", "タイプ %1 のラベルには表がありません。")
                .arg(printed.run.type));
    const Xls::Workbook book = SpreadsheetExport::workbookFor(
        printed.sampleEntries(), SpreadsheetExport::Colours::of(printed.look),
        datedBy(*found).date(), printed.look.code);
    return HttpReply::document(CompoundFile::build(Biff::workbookStream(book)),
                               "application/vnd.ms-excel", fileName(*found, "labels.xls"));
}

HttpReply resolve(Call& call)
{
    RequestBody body(call.request.body);
    body.onlyKnown({"printed"});
    const std::optional<bool> printed = body.boolean("printed");
    if (body.ok() && !printed)
        body.fail(
            QStringLiteral("printed"),
            QCoreApplication::translate("Server", "「printed」（true か false）がありません。"),
            "missing-field");
    if (!body.ok())
        return HttpReply::error(400, body.problem()->code, body.problem()->message,
                                body.problem()->field);
    HttpReply failure;
    const std::optional<RegistryJob> found = jobOf(call, failure);
    if (!found)
        return failure;
    if (found->state != JobState::Reserved)
        return HttpReply::error(
            409, "not-in-question",
            QCoreApplication::translate("Server", "ジョブ %1 は印刷済みと記録されています。")
                .arg(call.id));
    const Station& station = found->station;
    // Its folder's start position and state move with the answer: only the
    // station that printed it can settle it.
    if (station.host != QSysInfo::machineHostName() || !call.context.stations.owns(station.folder))
        return HttpReply::error(
            409, "other-station",
            QCoreApplication::translate(
                "Server",
                "ジョブ %1 は別のステーション（%2、%3）のものです。そちらで答えてください。")
                .arg(call.id)
                .arg(station.shown(), station.folder));
    RunFiles files(station.folder);
    SqlRegistry* registry = call.registry.get();
    QString error;
    if (!registry || !ReservedJobs::settle(files, *registry, call.id, *printed, &error)) {
        if (!registry || registry->failure() != LabelRegistry::Failure::None)
            return registryFailure(call.registry.failure(), call.registry.problem());
        HttpReply busy = HttpReply::error(423, "busy", error);
        busy.addHeader("Retry-After", "5");
        return busy;
    }
    return HttpReply::json(
        QJsonObject{{"id", call.id},
                    {"state", *printed ? QStringLiteral("printed") : QStringLiteral("released")}});
}

HttpReply find(Call& call)
{
    const QString label = call.query.value(QStringLiteral("label")).trimmed();
    if (label.isEmpty() || label.size() > 64)
        return HttpReply::error(
            400, label.isEmpty() ? "missing-field" : "bad-field",
            QCoreApplication::translate("Server",
                                        "「label」にラベルの文字（64 文字まで）を入れてください。"),
            QStringLiteral("label"));
    HttpReply failure;
    SqlRegistry* registry = registryOf(call, failure);
    if (!registry)
        return failure;
    const std::optional<QList<JobSummary>> found = registry->find(label);
    if (!found)
        return registryFailure(registry->failure(), registry->errorString());
    return HttpReply::json(QJsonObject{{"jobs", ApiJson::summaries(*found)}});
}

} // namespace ApiRoutes
