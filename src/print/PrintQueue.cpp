#include "print/PrintQueue.h"

#include <QPageSize>
#include <QSizeF>

#include <algorithm>

#ifdef RONDEL_WITH_CUPS
#include <cups/cups.h>
#include <dlfcn.h>

#include <QCoreApplication>
#include <type_traits>
#endif

namespace PrintQueue {

#ifdef RONDEL_WITH_CUPS

namespace {

// Loading libcups and what it links (Kerberos, GnuTLS, Avahi) costs a
// short-lived program about a tenth of a label job, and writing a PDF file
// never needs it: the library is loaded on the first use of a queue.
struct CupsApi {
    decltype(&::cupsLastErrorString) cupsLastErrorString = nullptr;
    decltype(&::cupsLastError) cupsLastError = nullptr;
    decltype(&::cupsGetNamedDest) cupsGetNamedDest = nullptr;
    decltype(&::cupsAddOption) cupsAddOption = nullptr;
    decltype(&::cupsFreeDests) cupsFreeDests = nullptr;
    decltype(&::cupsFreeOptions) cupsFreeOptions = nullptr;
    decltype(&::cupsCreateJob) cupsCreateJob = nullptr;
    decltype(&::cupsStartDocument) cupsStartDocument = nullptr;
    decltype(&::cupsWriteRequestData) cupsWriteRequestData = nullptr;
    decltype(&::cupsFinishDocument) cupsFinishDocument = nullptr;
    decltype(&::cupsCancelJob2) cupsCancelJob2 = nullptr;
    decltype(&::cupsGetDests2) cupsGetDests2 = nullptr;
    decltype(&::cupsGetDest) cupsGetDest = nullptr;
    decltype(&::cupsCopyDestInfo) cupsCopyDestInfo = nullptr;
    decltype(&::cupsGetOption) cupsGetOption = nullptr;
    decltype(&::cupsFindDestDefault) cupsFindDestDefault = nullptr;
    decltype(&::ippGetString) ippGetString = nullptr;
    decltype(&::cupsGetDestMediaByName) cupsGetDestMediaByName = nullptr;
    decltype(&::cupsFreeDestInfo) cupsFreeDestInfo = nullptr;
    bool loaded = false;
};

const CupsApi& cups()
{
    static const CupsApi loaded = [] {
        CupsApi api;
#ifdef __APPLE__
        void* library = dlopen("libcups.2.dylib", RTLD_NOW | RTLD_LOCAL);
#else
        void* library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
#endif
        if (!library)
            return api;
        bool complete = true;
        const auto bind = [&](auto& function, const char* name) {
            function =
                reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
            complete = complete && function;
        };
        bind(api.cupsLastErrorString, "cupsLastErrorString");
        bind(api.cupsLastError, "cupsLastError");
        bind(api.cupsGetNamedDest, "cupsGetNamedDest");
        bind(api.cupsAddOption, "cupsAddOption");
        bind(api.cupsFreeDests, "cupsFreeDests");
        bind(api.cupsFreeOptions, "cupsFreeOptions");
        bind(api.cupsCreateJob, "cupsCreateJob");
        bind(api.cupsStartDocument, "cupsStartDocument");
        bind(api.cupsWriteRequestData, "cupsWriteRequestData");
        bind(api.cupsFinishDocument, "cupsFinishDocument");
        bind(api.cupsCancelJob2, "cupsCancelJob2");
        bind(api.cupsGetDests2, "cupsGetDests2");
        bind(api.cupsGetDest, "cupsGetDest");
        bind(api.cupsCopyDestInfo, "cupsCopyDestInfo");
        bind(api.cupsGetOption, "cupsGetOption");
        bind(api.cupsFindDestDefault, "cupsFindDestDefault");
        bind(api.ippGetString, "ippGetString");
        bind(api.cupsGetDestMediaByName, "cupsGetDestMediaByName");
        bind(api.cupsFreeDestInfo, "cupsFreeDestInfo");
        api.loaded = complete;
        return api;
    }();
    return loaded;
}

QString missingLibrary(const QString& queue)
{
    return QCoreApplication::translate("PrintQueue",
                                       "プリンター「%1」に印刷できません。印刷システムのライブラリ"
                                       "（libcups）を読み込めませんでした。")
        .arg(queue);
}

QString lastError()
{
    const CupsApi& api = cups();
    return QStringLiteral("%1 (0x%2)")
        .arg(QString::fromUtf8(api.cupsLastErrorString()))
        .arg(int(api.cupsLastError()), 4, 16, QLatin1Char('0'));
}

QString refusal(const QString& queue)
{
    switch (cups().cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return QCoreApplication::translate("PrintQueue",
                                           "プリンター「%1」は印刷ジョブを受け付けていません。")
            .arg(queue);
    case IPP_STATUS_ERROR_NOT_FOUND:
    case IPP_STATUS_ERROR_INTERNAL:
        return QCoreApplication::translate("PrintQueue", "プリンター「%1」が見つかりません。")
            .arg(queue);
    default:
        return QCoreApplication::translate("PrintQueue",
                                           "プリンター「%1」に印刷ジョブを渡せませんでした。")
            .arg(queue);
    }
}

} // namespace

bool available()
{
    return cups().loaded;
}

bool submit(const QString& queue, const QString& title, const QByteArray& pdf,
            const QList<std::pair<QByteArray, QByteArray>>& options, QString* error)
{
    const CupsApi& api = cups();
    if (!api.loaded) {
        *error = missingLibrary(queue);
        return false;
    }
    // The queue takes the printer's name; an instance only adds its saved options.
    const QByteArray name = queue.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    const QByteArray instance = queue.section(QLatin1Char('/'), 1).toLocal8Bit();
    const QByteArray jobTitle = title.toUtf8();

    cups_dest_t* dest = api.cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(),
                                             instance.isEmpty() ? nullptr : instance.constData());
    if (!dest) {
        *error = refusal(queue) + QLatin1Char('\n') + lastError();
        return false;
    }
    int count = 0;
    cups_option_t* list = nullptr;
    for (int i = 0; i < dest->num_options; ++i)
        count = api.cupsAddOption(dest->options[i].name, dest->options[i].value, count, &list);
    api.cupsFreeDests(1, dest);
    for (const auto& [option, value] : options)
        count = api.cupsAddOption(option.constData(), value.constData(), count, &list);

    const int job =
        api.cupsCreateJob(CUPS_HTTP_DEFAULT, name.constData(), jobTitle.constData(), count, list);
    api.cupsFreeOptions(count, list);
    if (job <= 0) {
        *error = refusal(queue) + QLatin1Char('\n') + lastError();
        return false;
    }

    bool sent =
        api.cupsStartDocument(CUPS_HTTP_DEFAULT, name.constData(), job, jobTitle.constData(),
                              CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE;
    constexpr qsizetype Chunk = 64 * 1024;
    for (qsizetype at = 0; sent && at < pdf.size(); at += Chunk) {
        const qsizetype size = std::min(Chunk, pdf.size() - at);
        sent = api.cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData() + at, size_t(size)) ==
               HTTP_STATUS_CONTINUE;
    }
    const ipp_status_t finished = api.cupsFinishDocument(CUPS_HTTP_DEFAULT, name.constData());
    if (!sent || int(finished) > 0xff) {
        const QString reason = lastError();
        // Half a job must not print: take it back.
        api.cupsCancelJob2(CUPS_HTTP_DEFAULT, name.constData(), job, 0);
        *error = QCoreApplication::translate(
                     "PrintQueue",
                     "プリンター「%1」に印刷ジョブを渡せませんでした。印刷は取り消しました。")
                     .arg(queue) +
                 QLatin1Char('\n') + reason;
        return false;
    }
    return true;
}

QString defaultQueue()
{
    const CupsApi& api = cups();
    if (!api.loaded)
        return {};
    cups_dest_t* dests = nullptr;
    const int count = api.cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    QString queue;
    if (const cups_dest_t* dest = api.cupsGetDest(nullptr, nullptr, count, dests)) {
        queue = QString::fromLocal8Bit(dest->name);
        if (dest->instance)
            queue += QLatin1Char('/') + QString::fromLocal8Bit(dest->instance);
    }
    api.cupsFreeDests(count, dests);
    return queue;
}

QList<QueueInfo> queues()
{
    const CupsApi& api = cups();
    if (!api.loaded)
        return {};
    cups_dest_t* dests = nullptr;
    const int count = api.cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    QList<QueueInfo> found;
    for (int i = 0; i < count; ++i) {
        const cups_dest_t& dest = dests[i];
        const auto option = [&](const char* name) {
            return QString::fromUtf8(api.cupsGetOption(name, dest.num_options, dest.options));
        };
        QueueInfo queue;
        queue.name = QString::fromLocal8Bit(dest.name);
        if (dest.instance)
            queue.name += QLatin1Char('/') + QString::fromLocal8Bit(dest.instance);
        queue.isDefault = dest.is_default != 0;
        queue.accepting = option("printer-is-accepting-jobs") != QLatin1String("false");
        // IPP's printer-state: 3 idle, 4 processing, 5 stopped.
        const QString state = option("printer-state");
        queue.state = state == QLatin1String("5")   ? QStringLiteral("stopped")
                      : state == QLatin1String("4") ? QStringLiteral("printing")
                                                    : QStringLiteral("idle");
        queue.description = option("printer-info");
        queue.location = option("printer-location");
        found << queue;
    }
    api.cupsFreeDests(count, dests);
    return found;
}

QPageLayout defaultPageLayout(const QString& queue, const QMarginsF& margins)
{
    const CupsApi& api = cups();
    if (!api.loaded)
        return {};
    const QByteArray name = queue.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    const QByteArray instance = queue.section(QLatin1Char('/'), 1).toLocal8Bit();
    cups_dest_t* dest = api.cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(),
                                             instance.isEmpty() ? nullptr : instance.constData());
    if (!dest)
        return {};
    QPageLayout layout;
    cups_size_t size{};
    cups_dinfo_t* info = api.cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
    // The user's own choice (lpoptions), else the printer's default paper.
    const char* media = api.cupsGetOption("media", dest->num_options, dest->options);
    if (!media && info) {
        if (ipp_attribute_t* fallback =
                api.cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media"))
            media = api.ippGetString(fallback, 0, nullptr);
    }
    if (media && info &&
        api.cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest, info, media, 0, &size) &&
        size.width > 0 && size.length > 0) {
        // CUPS measures in hundredths of a millimetre.
        const auto points = [](int hundredths) { return hundredths * 72.0 / 2540.0; };
        const QPageSize paper(QSizeF(points(size.width), points(size.length)), QPageSize::Point,
                              QString(), QPageSize::FuzzyMatch);
        const QMarginsF printable(points(size.left), points(size.top), points(size.right),
                                  points(size.bottom));
        const QMarginsF used(std::max(margins.left(), printable.left()),
                             std::max(margins.top(), printable.top()),
                             std::max(margins.right(), printable.right()),
                             std::max(margins.bottom(), printable.bottom()));
        layout = QPageLayout(paper, QPageLayout::Portrait, used, QPageLayout::Point, printable);
    }
    api.cupsFreeDestInfo(info);
    api.cupsFreeDests(1, dest);
    return layout;
}

#else

bool available()
{
    return false;
}

bool submit(const QString& queue, const QString&, const QByteArray&,
            const QList<std::pair<QByteArray, QByteArray>>&, QString* error)
{
    *error = QCoreApplication::translate(
                 "PrintQueue",
                 "プリンター「%1」に印刷できません。この版には印刷システムへの接続がありません。")
                 .arg(queue);
    return false;
}

QString defaultQueue()
{
    return {};
}

QList<QueueInfo> queues()
{
    return {};
}

QPageLayout defaultPageLayout(const QString&, const QMarginsF&)
{
    return {};
}

#endif

} // namespace PrintQueue
