#include "ui/JobLines.h"

#include "core/layout/SheetLayout.h"
#include "core/model/LabelType.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/registry/LabelRegistry.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString textOf(const LabelTexts& texts)
{
    return labelText(PrintLogEntry{texts.upper, texts.lower});
}

QString joined(const QString& first, const QString& last)
{
    return first == last ? first : first + QChar(0x2013) + last;
}

} // namespace

QString JobLines::range(const QList<PrintLogEntry>& labels)
{
    if (labels.isEmpty())
        return QString();
    return joined(labelText(labels.first()), labelText(labels.last()));
}

QString JobLines::summary(const LabelRun& run, const PrintAppearance& look, const Sheet& sheet,
                          int startPosition, int dateAdjust)
{
    const int total = run.labelTotal();
    if (total == 0)
        return tr("印刷するラベルがありません");
    QStringList parts;
    parts << tr("%n 枚", nullptr, total)
          << joined(textOf(composeLabelTexts(run, 0)), textOf(composeLabelTexts(run, total - 1)));
    QString start = tr("シート %1 の %2 から").arg(1).arg(startPosition);
    if (const int sheets = SheetLayout::countSheets(sheet, startPosition, total); sheets > 1)
        start += tr("（%n シート）", nullptr, sheets);
    parts << start;
    if (look.code != LabelCode::None)
        parts << tr("2D コード");
    if (labelType(run.type).hasDate() && dateAdjust != 0)
        parts << tr("日付 %1").arg((dateAdjust > 0 ? QStringLiteral("+") : QString()) +
                                   QString::number(dateAdjust));
    return parts.join(QStringLiteral(" · "));
}

QString JobLines::destination(const QString& printer)
{
    return QDir::toNativeSeparators(printer);
}

QString JobLines::printed(const PrintedJob& job, bool reprint, const QString& printer,
                          const QString& next, int nextPosition)
{
    const QString labels = range(job.labels);
    if (reprint)
        return tr("%1 を再印刷しました（%2）。次の開始位置 %3")
            .arg(labels, destination(printer))
            .arg(nextPosition);
    if (next.isEmpty())
        return tr("%1 を印刷しました（%2）。次の開始位置 %3")
            .arg(labels, destination(printer))
            .arg(nextPosition);
    return tr("%1 を印刷しました（%2）。次は %3、開始位置 %4")
        .arg(labels, destination(printer), next)
        .arg(nextPosition);
}

QString JobLines::recordPrinted(const PrintedJob& job, const QString& printer, bool toFile)
{
    return (toFile ? tr("%1 の記録を %2 に保存しました") : tr("%1 の記録を印刷しました（%2）"))
        .arg(range(job.labels), destination(printer));
}

QString JobLines::spreadsheetSaved(const QString& path)
{
    return tr("%1 を保存しました").arg(destination(path));
}

QString JobLines::pdfName(const QString& folder, const QDateTime& at, const QString& firstLabel)
{
    QString name = at.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!firstLabel.isEmpty())
        name += QLatin1Char(' ') + firstLabel;
    static const QString unsafe = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name)
        if (unsafe.contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}
