#include "core/registry/LabelRegistry.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSysInfo>

#include <algorithm>

#include <pwd.h>
#include <unistd.h>

Station Station::ofThisProcess(const QString& folder)
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) {
        if (const passwd* entry = ::getpwuid(::geteuid()))
            user = QString::fromLocal8Bit(entry->pw_name);
    }
    return {QSysInfo::machineHostName(), user, QFileInfo(folder).absoluteFilePath()};
}

QString labelText(const PrintLogEntry& label)
{
    if (label.upper.isEmpty())
        return label.lower;
    if (label.lower.isEmpty())
        return label.upper;
    return label.upper + QLatin1Char(' ') + label.lower;
}

QStringList describeIssued(const QList<IssuedLabel>& issued)
{
    QList<IssuedLabel> sorted = issued;
    std::stable_sort(sorted.begin(), sorted.end(), [](const IssuedLabel& a, const IssuedLabel& b) {
        return a.jobId != b.jobId ? a.jobId < b.jobId : a.index < b.index;
    });
    QStringList lines;
    for (qsizetype i = 0; i < sorted.size();) {
        // A run of labels that follow each other in one job.
        qsizetype end = i + 1;
        while (end < sorted.size() && sorted[end].jobId == sorted[i].jobId &&
               sorted[end].index == sorted[end - 1].index + 1)
            ++end;
        const QString first = labelText(sorted[i].label);
        const QString last = labelText(sorted[end - 1].label);
        const QString labels = end - i == 1 ? first : first + QChar(0x2013) + last;
        const char* text =
            sorted[i].inQuestion
                ? QT_TRANSLATE_N_NOOP("LabelRegistry",
                                      "%1 は %2 にジョブ %3 で発行されました"
                                      "（印刷されたかどうか確かめられていないジョブです）")
                : QT_TRANSLATE_N_NOOP("LabelRegistry", "%1 は %2 にジョブ %3 で印刷済みです");
        lines << QCoreApplication::translate("LabelRegistry", text, nullptr, int(end - i))
                     .arg(labels, sorted[i].reservedAt.toLocalTime().toString(
                                      QStringLiteral("yyyy/MM/dd HH:mm")))
                     .arg(sorted[i].jobId);
        i = end;
    }
    return lines;
}
