// The preview of a job: how many sheets it takes, and each sheet drawn by
// the painter that draws it for the printer, on the station it would print
// on (its start position, offsets and scale). Nothing is reserved, printed
// or changed.
//
// The labels are the design's frozen run from the first number the request
// or its design names; once the service plans jobs as the window and the
// command line do, the preview takes the plan's labels instead.

#include "core/layout/SheetLayout.h"
#include "core/model/Freeze.h"
#include "core/render/PrintSheet.h"
#include "print/ImagePagesCanvas.h"
#include "print/PrintQueue.h"
#include "server/ApiRoutes.h"
#include "server/JobRequest.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QJsonObject>

namespace ApiRoutes {

namespace {

constexpr int DefaultDpi = 96;
constexpr int MinDpi = 36;
constexpr int MaxDpi = 300;

HttpReply badQuery(const char* name, const QString& message)
{
    return HttpReply::error(400, "bad-field", message, QString::fromLatin1(name));
}

// The station a job goes to: the named queue's, the default queue's, or for
// a PDF the token's; empty with `failure` set where there is no such queue.
QString stationOf(Call& call, const JobRequest& request, HttpReply& failure)
{
    ServerStations& stations = call.context.stations;
    if (request.pdf)
        return stations.pdfFolder(call.tokenName);
    for (const PrintQueue::QueueInfo& queue : PrintQueue::queues())
        if (request.printer.isEmpty() ? queue.isDefault : queue.name == request.printer)
            return stations.queueFolder(queue.name);
    failure = HttpReply::error(
        404, "not-found",
        request.printer.isEmpty()
            ? QCoreApplication::translate("Server", "既定のプリンターがありません。")
            : QCoreApplication::translate("Server", "プリンター「%1」はありません。")
                  .arg(request.printer),
        request.pdf ? QStringLiteral("output") : QStringLiteral("printer"));
    return {};
}

QByteArray png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? bytes : QByteArray();
}

} // namespace

HttpReply preview(Call& call)
{
    const QDate today = QDate::currentDate();
    const std::variant<JobRequest, BodyProblem> parsed = parseJobRequest(call.request.body, today);
    if (const auto* problem = std::get_if<BodyProblem>(&parsed))
        return HttpReply::error(400, problem->code, problem->message, problem->field);
    const JobRequest& request = std::get<JobRequest>(parsed);
    bool ok = true;
    const QString pageText = call.query.value(QStringLiteral("page"));
    const int page = pageText.isNull() ? 0 : pageText.toInt(&ok);
    if (!ok || (!pageText.isNull() && page < 1))
        return badQuery("page",
                        QCoreApplication::translate("Server", "「page」はシートの番号です。"));
    const QString dpiText = call.query.value(QStringLiteral("dpi"));
    const int dpi = dpiText.isNull() ? DefaultDpi : dpiText.toInt(&ok);
    if (!ok || dpi < MinDpi || dpi > MaxDpi)
        return badQuery("dpi", QCoreApplication::translate("Server", "「dpi」は %1～%2 です。")
                                   .arg(MinDpi)
                                   .arg(MaxDpi));

    HttpReply failure;
    const QString folder = stationOf(call, request, failure);
    if (folder.isEmpty())
        return failure;
    const ServerStations::Placement placement = call.context.stations.placement(folder);
    const int start = request.start.value_or(placement.start.startPosition);
    const LabelRun run = freeze(request.design, today);
    const SheetLabels labels(run);
    const PrintAppearance& look = request.design.look;
    if (const QString problem = codeProblem(labels, look); !problem.isEmpty())
        return HttpReply::error(400, "bad-field", problem, QStringLiteral("code"));
    const int total = labels.total();
    const int sheets = SheetLayout::countSheets(start, total);
    if (page == 0)
        return HttpReply::json(
            QJsonObject{{"sheets", sheets}, {"labels", total}, {"startPosition", start}});
    if (page > sheets)
        return badQuery(
            "page",
            QCoreApplication::translate("Server", "このジョブのシートは %1 枚です。").arg(sheets));

    // On the paper as a PDF has it: the labels placed from its corner.
    ImagePagesCanvas canvas(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                        QMarginsF(0, 0, 0, 0), QPageLayout::Point),
                            dpi);
    if (canvas.beginDocument()) {
        const SheetLayout::SheetRange range = SheetLayout::sheetRange(page, sheets, start, total);
        printSheet(canvas, labels, look, placement.offsets(), start, page, range.first, range.last);
        canvas.endDocument();
    }
    const QByteArray image = canvas.pages().isEmpty() ? QByteArray() : png(canvas.pages().first());
    if (image.isEmpty())
        return HttpReply::error(
            500, "render-failed",
            QCoreApplication::translate("Server", "プレビューを描けませんでした。"));
    HttpReply reply;
    reply.contentType = "image/png";
    reply.body = image;
    return reply;
}

} // namespace ApiRoutes
