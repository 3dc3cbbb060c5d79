#include "print/PrintQueue.h"

#ifdef RONDEL_WITH_CUPS
#include <cups/cups.h>
#endif

namespace PrintQueue {

#ifdef RONDEL_WITH_CUPS

namespace {

QString lastError()
{
    return QStringLiteral("%1 (0x%2)")
        .arg(QString::fromUtf8(cupsLastErrorString()))
        .arg(int(cupsLastError()), 4, 16, QLatin1Char('0'));
}

QString refusal(const QString& queue)
{
    switch (cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return QStringLiteral("プリンター「%1」は印刷ジョブを受け付けていません。").arg(queue);
    case IPP_STATUS_ERROR_NOT_FOUND:
    case IPP_STATUS_ERROR_INTERNAL:
        return QStringLiteral("プリンター「%1」が見つかりません。").arg(queue);
    default:
        return QStringLiteral("プリンター「%1」に印刷ジョブを渡せませんでした。").arg(queue);
    }
}

} // namespace

bool available()
{
    return true;
}

bool submit(const QString& queue, const QString& title, const QByteArray& pdf,
            const QList<std::pair<QByteArray, QByteArray>>& options, QString* error)
{
    // The queue takes the printer's name; an instance only adds its saved options.
    const QByteArray name = queue.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    const QByteArray instance = queue.section(QLatin1Char('/'), 1).toLocal8Bit();
    const QByteArray jobTitle = title.toUtf8();

    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(),
                                         instance.isEmpty() ? nullptr : instance.constData());
    if (!dest) {
        *error = refusal(queue) + QLatin1Char('\n') + lastError();
        return false;
    }
    int count = 0;
    cups_option_t* list = nullptr;
    for (int i = 0; i < dest->num_options; ++i)
        count = cupsAddOption(dest->options[i].name, dest->options[i].value, count, &list);
    cupsFreeDests(1, dest);
    for (const auto& [option, value] : options)
        count = cupsAddOption(option.constData(), value.constData(), count, &list);

    const int job =
        cupsCreateJob(CUPS_HTTP_DEFAULT, name.constData(), jobTitle.constData(), count, list);
    cupsFreeOptions(count, list);
    if (job <= 0) {
        *error = refusal(queue) + QLatin1Char('\n') + lastError();
        return false;
    }

    bool sent = cupsStartDocument(CUPS_HTTP_DEFAULT, name.constData(), job, jobTitle.constData(),
                                  CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE;
    constexpr qsizetype Chunk = 64 * 1024;
    for (qsizetype at = 0; sent && at < pdf.size(); at += Chunk) {
        const qsizetype size = std::min(Chunk, pdf.size() - at);
        sent = cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData() + at, size_t(size)) ==
               HTTP_STATUS_CONTINUE;
    }
    const ipp_status_t finished = cupsFinishDocument(CUPS_HTTP_DEFAULT, name.constData());
    if (!sent || int(finished) > 0xff) {
        const QString reason = lastError();
        // Half a job must not print: take it back.
        cupsCancelJob2(CUPS_HTTP_DEFAULT, name.constData(), job, 0);
        *error =
            QStringLiteral("プリンター「%1」に印刷ジョブを渡せませんでした。印刷は取り消しました。")
                .arg(queue) +
            QLatin1Char('\n') + reason;
        return false;
    }
    return true;
}

#else

bool available()
{
    return false;
}

bool submit(const QString& queue, const QString&, const QByteArray&,
            const QList<std::pair<QByteArray, QByteArray>>&, QString* error)
{
    *error = QStringLiteral(
                 "プリンター「%1」に印刷できません。この版には印刷システムへの接続がありません。")
                 .arg(queue);
    return false;
}

#endif

} // namespace PrintQueue
