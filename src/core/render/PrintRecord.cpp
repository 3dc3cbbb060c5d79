#include "core/render/PrintRecord.h"
#include <QCoreApplication>

#include <QCoreApplication>

namespace PrintRecord {

namespace {

// Layout units of 1/250 inch to device dots, as on the label sheets.
int conv(int units, int dpi)
{
    return int((qint64(units) * dpi) / 250);
}

DeviceBox box(const PrintCanvas& canvas, int left, int top, int right, int bottom)
{
    return {conv(left, canvas.dpiX()), conv(top, canvas.dpiY()), conv(right, canvas.dpiX()),
            conv(bottom, canvas.dpiY())};
}

void drawSlot(PrintCanvas& canvas, const PrintLogEntry& entry, const PrintAppearance& look,
              int slot)
{
    const bool left = slot <= 20;
    const int row = left ? slot : slot - 20;
    const int circleLeft = left ? 200 : 1000;
    const int top = 200 + 110 * row;
    const QColor fill = look.rainbow ? QColor(255, 255, 255) : look.backgroundColor();

    canvas.setBrush(fill);
    canvas.setPen(1, QColor(128, 128, 128));
    canvas.ellipse(box(canvas, circleLeft, top, circleLeft + 110, top + 110));

    // Both lines centred on the circle's axis; the texts stand on the circle
    // colour (the brush is still solid).
    canvas.setFontColor(look.textColor());
    const double cx = conv(circleLeft + 55, canvas.dpiX());
    const double cy = conv(top + 30, canvas.dpiY());
    const QSize upper = canvas.textExtent(entry.upper);
    canvas.textOut(int(cx - upper.width() / 2.0), int(cy - upper.height() / 2.0), entry.upper);
    const QSize lower = canvas.textExtent(entry.lower);
    canvas.textOut(int(cx - lower.width() / 2.0), conv(top + 85, canvas.dpiY()) - upper.height(),
                   entry.lower);

    canvas.setBrush(QColor(255, 255, 255));
    canvas.setPen(1, QColor(0, 0, 0));
    canvas.rectangle(box(canvas, circleLeft + 110, top, circleLeft + 800, top + 110));
}

} // namespace

int pageCount(int entries)
{
    return std::max(1, (entries + EntriesPerPage - 1) / EntriesPerPage);
}

bool printRecordPage(PrintCanvas& canvas, const QList<PrintLogEntry>& entries,
                     const PrintAppearance& look, int page, int kind, int count,
                     const QDateTime& printedAt)
{
    if ((kind == First || kind == Only) && !canvas.beginDocument())
        return false;

    canvas.setFont(look.font);
    canvas.setFontSize(look.font.pointSize() > 0 ? look.font.pointSize() : 9);
    canvas.clearBrush();
    canvas.setFontColor(look.fontColor);
    const QString title = QCoreApplication::translate("PrintRecord", "ラベルプリント記録");
    canvas.textOut(conv(1200, canvas.dpiX()), conv(200, canvas.dpiY()), title);
    // Under the title: the labels can be scanned.
    if (look.code == LabelCode::DataMatrix) {
        canvas.textOut(conv(1200, canvas.dpiX()),
                       conv(200, canvas.dpiY()) + canvas.textExtent(title).height(),
                       QCoreApplication::translate("PrintRecord",
                                                   "2D コード（Data Matrix）付きのラベル"));
    }
    canvas.textOut(conv(1200, canvas.dpiX()), conv(2600, canvas.dpiY()),
                   QCoreApplication::translate("PrintRecord", "printed in %1")
                       .arg(printedAt.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))));
    // Left of the time stamp, under the left column of slots, so that a long
    // time stamp in a large font cannot run into it.
    canvas.textOut(conv(200, canvas.dpiX()), conv(2600, canvas.dpiY()),
                   QStringLiteral("%1 / %2").arg(page).arg(pageCount(int(entries.size()))));

    for (int slot = 1; slot <= count; ++slot)
        drawSlot(canvas, entries.value(EntriesPerPage * (page - 1) + slot - 1), look, slot);

    if (kind == Last || kind == Only)
        return canvas.endDocument();
    return canvas.newPage();
}

bool printRecordPages(PrintCanvas& canvas, const QList<PrintLogEntry>& entries,
                      const PrintAppearance& look, const QDateTime& printedAt)
{
    const int total = int(entries.size());
    const int pages = pageCount(total);
    for (int page = 1; page <= pages; ++page) {
        const int count = page < pages ? EntriesPerPage : total - EntriesPerPage * (pages - 1);
        const int kind = pages == 1 ? Only : page == 1 ? First : page == pages ? Last : Middle;
        if (!printRecordPage(canvas, entries, look, page, kind, count, printedAt)) {
            canvas.abort();
            return false;
        }
    }
    return true;
}

} // namespace PrintRecord
