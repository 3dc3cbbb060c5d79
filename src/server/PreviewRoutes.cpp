// The preview of a job: how many sheets it takes, and each sheet drawn by
// the painter that draws it for the printer, as the job would print it now
// (planned as /jobs plans it: the numbering where the registry says, the
// station's start position, offsets and scale). Nothing is reserved,
// printed or changed.

#include "core/layout/SheetLayout.h"
#include "core/render/PrintSheet.h"
#include "print/ImagePagesCanvas.h"
#include "server/ApiRoutes.h"
#include "server/ServerJobs.h"

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
    const std::optional<ServerJobs::AskedJob> asked = ServerJobs::askedJob(call, failure);
    if (!asked)
        return failure;
    const std::optional<JobPlan> plan = ServerJobs::planWithoutPrinting(call, *asked, failure);
    if (!plan)
        return failure;
    const int start = plan->startPosition;
    const Sheet& sheet = plan->sheet.sheet;
    const SheetLabels labels(plan->run);
    const int total = labels.total();
    const int sheets = SheetLayout::countSheets(sheet, start, total);
    if (page == 0)
        return HttpReply::json(QJsonObject{{"sheets", sheets},
                                           {"labels", total},
                                           {"startPosition", start},
                                           {"sheet", ServerSheets::json(plan->sheet)}});
    if (page > sheets)
        return badQuery(
            "page",
            QCoreApplication::translate("Server", "このジョブのシートは %1 枚です。").arg(sheets));

    // On the paper as a PDF has it: the labels placed from its corner.
    ImagePagesCanvas canvas(ServerJobs::inMemory("", sheet).layout, dpi);
    if (canvas.beginDocument()) {
        const SheetLayout::SheetRange range =
            SheetLayout::sheetRange(sheet, page, sheets, start, total);
        printSheet(canvas, sheet, labels, plan->design.look, plan->offsets, start, page,
                   range.first, range.last);
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
