#include "core/render/TestSheet.h"

#include "core/model/PrintAppearance.h"

#include <algorithm>

namespace {

constexpr int NumberPoints = 7;
constexpr int RulerPoints = 6;
constexpr int RulerMillimetres = 100;
constexpr int CrosshairReach = 25; // units past the disc on each side

// Tenths of a millimetre as dots, truncated as the layout's units are.
int tenthsToDots(int tenths, int dpi)
{
    return int(qint64(tenths) * dpi / 254);
}

// One ruler: a line from the origin with a tick every millimetre, longer
// every 5 and 10, and the centimetres numbered. `alongTop` runs it along
// the top edge, else down the left edge; `inset` keeps its line inside the
// printable area, where a pen centred on the edge would lose half its width.
// The ruler counts from `origin`; where that lies off the printable area,
// the ruler runs along the area's edge and its ticks off it are left out.
void drawRuler(PrintCanvas& canvas, bool alongTop, int inset, QPoint origin)
{
    const int dpiAlong = alongTop ? canvas.dpiX() : canvas.dpiY();
    const int dpiAcross = alongTop ? canvas.dpiY() : canvas.dpiX();
    const int zero = alongTop ? origin.x() : origin.y();
    const int edge = std::max(0, alongTop ? origin.y() : origin.x()) + inset;
    const auto line = [&](int along1, int across1, int along2, int across2) {
        if (alongTop)
            canvas.line(along1, across1, along2, across2);
        else
            canvas.line(across1, along1, across2, along2);
    };
    const int end = zero + tenthsToDots(10 * RulerMillimetres, dpiAlong);
    line(std::max(zero, 0), edge, end, edge);
    for (int mm = 0; mm <= RulerMillimetres; ++mm) {
        const int at = zero + tenthsToDots(10 * mm, dpiAlong);
        if (at < 0)
            continue;
        const int length = tenthsToDots(mm % 10 == 0 ? 40 : mm % 5 == 0 ? 25 : 15, dpiAcross);
        line(at, edge, at, edge + length);
        if (mm % 10 != 0 || mm == 0)
            continue;
        // The centimetre's number just past its tick: under it on the top
        // ruler, beside it on the left one.
        const QString number = QString::number(mm);
        const QSize size = canvas.textExtent(number);
        const int past = edge + tenthsToDots(45, dpiAcross);
        if (alongTop)
            canvas.textOut(at - size.width() / 2, past, number);
        else
            canvas.textOut(past, at - size.height() / 2, number);
    }
}

} // namespace

void printTestSheet(PrintCanvas& canvas, const Sheet& sheet, const SheetGeometry::Offsets& offsets)
{
    const int dpiX = canvas.dpiX();
    const int dpiY = canvas.dpiY();
    const SheetDots::Placement placement(sheet, offsets, dpiX, dpiY, canvas.paperCorner());
    // Hairlines of about 0.1 mm, black on white: nothing is filled.
    const int pen = std::max(1, dpiX / 300);
    canvas.setPen(pen, QColor(0, 0, 0));
    canvas.clearBrush();
    canvas.setFont(PrintAppearance::defaultLabelFont());
    canvas.setFontColor(QColor(0, 0, 0));

    // The numbers keep their proportion to the disc.
    canvas.setFontSize(NumberPoints * sheet.discScale());
    const QList<int> crossed = sheet.cornerPositions();
    for (int p = 1; p <= sheet.positions(); ++p) {
        const DeviceBox box = placement.place(p).box;
        canvas.ellipse(box);
        const QString number = QString::number(p);
        const QSize size = canvas.textExtent(number);
        const int x = (box.left + box.right) / 2;
        const int y = (box.top + box.bottom) / 2;
        // A crossed disc's number moves off the crosshair, below right of it.
        if (crossed.contains(p))
            canvas.textOut(x + 2 * pen, y + 2 * pen, number);
        else
            canvas.textOut((box.left + box.right - size.width()) / 2,
                           (box.top + box.bottom - size.height()) / 2, number);
    }

    // Crosshairs through the centres of the corner discs, reaching past
    // them, to line up against the label sheet's corners.
    const int reachX = SheetGeometry::toDots(CrosshairReach, dpiX);
    const int reachY = SheetGeometry::toDots(CrosshairReach, dpiY);
    for (const int p : crossed) {
        const DeviceBox box = placement.place(p).box;
        const int x = (box.left + box.right) / 2;
        const int y = (box.top + box.bottom) / 2;
        canvas.line(box.left - reachX, y, box.right + reachX, y);
        canvas.line(x, box.top - reachY, x, box.bottom + reachY);
    }

    canvas.setFontSize(RulerPoints);
    const int inset = (pen + 1) / 2;
    const QPoint origin = sheet.isBuiltIn() ? QPoint() : canvas.paperCorner();
    drawRuler(canvas, true, inset, origin);
    drawRuler(canvas, false, inset, origin);
}

void printTestSheet(PrintCanvas& canvas, const SheetGeometry::Offsets& offsets)
{
    printTestSheet(canvas, Sheet::builtIn(), offsets);
}
