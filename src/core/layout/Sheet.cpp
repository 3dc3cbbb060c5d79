#include "core/layout/Sheet.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double nmToMm(qint64 nm)
{
    return double(nm) / double(SheetDots::NmPerMm);
}

double unitsToMm(int units)
{
    return nmToMm(units * SheetDots::NmPerUnit);
}

QString mm(double value)
{
    return QString::number(value, 'g', 10);
}

// Grid 0's fields stand at the top of a sheet file, the others in its
// "layouts" array.
QString fieldOf(int grid, const char* key)
{
    const QString name = QString::fromLatin1(key);
    return grid == 0 ? name : QStringLiteral("layouts[%1].%2").arg(grid - 1).arg(name);
}

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0 && a < 0) ? 1 : 0);
}

// Whether `count` discs of `diameter` from `first` at `pitch` lie within
// 0..paper, compared in nanometres as they are placed.
bool onPaper(double first, double pitch, int count, double diameter, double paper)
{
    using SheetDots::toNm;
    if (first < 0 || first + (count - 1) * pitch + diameter > paper + 1)
        return false; // far off, or too far to count in nanometres
    return toNm(first) + (count - 1) * toNm(pitch) + toNm(diameter) <= toNm(paper);
}

} // namespace

Sheet Sheet::builtIn()
{
    using namespace SheetGeometry;
    Sheet sheet;
    sheet.name = QCoreApplication::translate("Sheet", "内蔵シート（10 × 15）");
    sheet.paper = {210, 297};
    sheet.diameter = BuiltInDiameter;
    // The label in the middle of the disc of 130 units the painter fills.
    const qint64 inset = (SheetDots::toNm(BuiltInFill) - SheetDots::toNm(BuiltInDiameter)) / 2;
    const double pitch = unitsToMm(Pitch);
    sheet.grids = {{10, 15,
                    QPointF(nmToMm(BaseLeft * SheetDots::NmPerUnit + inset),
                            nmToMm(BaseTop * SheetDots::NmPerUnit + inset)),
                    QPointF(pitch, pitch)}};
    sheet.origin = SheetOrigin::PrintableArea;
    return sheet;
}

int Sheet::positions() const
{
    int total = 0;
    for (const SheetGrid& grid : grids)
        total += grid.positions();
    return total;
}

Sheet::Cell Sheet::cellOf(int position) const
{
    // A position past the last grid continues its rows, as positions past
    // the built-in sheet always did; it is never drawn.
    int index = std::max(position, 1) - 1;
    int grid = 0;
    while (grid + 1 < grids.size() && index >= grids[grid].positions()) {
        index -= grids[grid].positions();
        ++grid;
    }
    const int columns = grids.isEmpty() ? 1 : std::max(grids[grid].columns, 1);
    return {grid, index % columns, index / columns};
}

int Sheet::positionOf(const Cell& cell) const
{
    int position = 1;
    for (int g = 0; g < cell.grid && g < grids.size(); ++g)
        position += grids[g].positions();
    const int columns = cell.grid < grids.size() ? grids[cell.grid].columns : 1;
    return position + cell.row * columns + cell.column;
}

QRectF Sheet::discSquare(int position) const
{
    if (grids.isEmpty())
        return {};
    const Cell cell = cellOf(position);
    const SheetGrid& grid = grids[cell.grid];
    return {grid.first.x() + cell.column * grid.pitch.x(),
            grid.first.y() + cell.row * grid.pitch.y(), diameter, diameter};
}

QList<int> Sheet::cornerPositions() const
{
    QList<int> corners;
    for (int g = 0; g < grids.size(); ++g) {
        const int lastColumn = grids[g].columns - 1;
        const int lastRow = grids[g].rows - 1;
        for (const Cell cell : {Cell{g, 0, 0}, Cell{g, lastColumn, 0}, Cell{g, 0, lastRow},
                                Cell{g, lastColumn, lastRow}}) {
            const int position = positionOf(cell);
            if (!corners.contains(position))
                corners << position;
        }
    }
    return corners;
}

double Sheet::nearestCentres() const
{
    double nearest = std::numeric_limits<double>::infinity();
    for (const SheetGrid& grid : grids) {
        if (grid.columns > 1)
            nearest = std::min(nearest, grid.pitch.x());
        if (grid.rows > 1)
            nearest = std::min(nearest, grid.pitch.y());
    }
    // Between two grids: each label of one against the label of the other
    // nearest to it, found on each axis alone, as a grid is a lattice.
    const auto nearestIndex = [](double at, double first, double pitch, int count) {
        if (count < 2 || !(pitch > 0))
            return 0;
        return int(std::clamp(std::round((at - first) / pitch), 0.0, double(count - 1)));
    };
    for (qsizetype a = 0; a < grids.size(); ++a) {
        const SheetGrid& from = grids[a];
        for (qsizetype b = a + 1; b < grids.size(); ++b) {
            const SheetGrid& to = grids[b];
            for (int row = 0; row < from.rows; ++row) {
                const double y = from.first.y() + row * from.pitch.y();
                const int toRow = nearestIndex(y, to.first.y(), to.pitch.y(), to.rows);
                const double dy = y - (to.first.y() + toRow * to.pitch.y());
                for (int column = 0; column < from.columns; ++column) {
                    const double x = from.first.x() + column * from.pitch.x();
                    const int toColumn = nearestIndex(x, to.first.x(), to.pitch.x(), to.columns);
                    const double dx = x - (to.first.x() + toColumn * to.pitch.x());
                    nearest = std::min(nearest, std::hypot(dx, dy));
                }
            }
        }
    }
    return nearest;
}

double Sheet::fillDiameter() const
{
    if (isBuiltIn())
        return BuiltInFill;
    const double proportional = diameter * BuiltInFill / BuiltInDiameter;
    // The outline straddles the fill's edge: half its width lies beyond. It
    // is widest in millimetres on the coarsest printer, taken as 200 dpi.
    constexpr double CoarsestDpi = 200;
    const double outline = SheetGeometry::OutlineWidth * discScale() * 25.4 / CoarsestDpi;
    // Never less than half the label, where a template's labels overlap.
    return std::clamp(nearestCentres() - outline, diameter / 2, proportional);
}

QPageSize Sheet::pageSize() const
{
    const QSizeF upright(std::min(paper.width(), paper.height()),
                         std::max(paper.width(), paper.height()));
    return QPageSize(upright, QPageSize::Millimeter, {}, QPageSize::FuzzyMatch);
}

QPageLayout Sheet::pageLayout(const QMarginsF& margins) const
{
    return QPageLayout(
        pageSize(), paper.width() > paper.height() ? QPageLayout::Landscape : QPageLayout::Portrait,
        margins, QPageLayout::Point);
}

QString Sheet::problem() const
{
    if (name.trimmed().isEmpty())
        return QCoreApplication::translate("Sheet", "「name」が空です。");
    const auto finite = [](std::initializer_list<double> values) {
        return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
    };
    if (!finite({paper.width(), paper.height(), diameter}))
        return QCoreApplication::translate("Sheet", "「paper」か「diameter」が数ではありません。");
    if (diameter < MinDiameter || diameter > MaxDiameter)
        return QCoreApplication::translate("Sheet",
                                           "「diameter」の値 %1 mm は %2～%3 mm の範囲外です。")
            .arg(mm(diameter), mm(MinDiameter), mm(MaxDiameter));
    const double shortSide = std::min(paper.width(), paper.height());
    const double longSide = std::max(paper.width(), paper.height());
    if (shortSide > MaxPaperShort || longSide > MaxPaperLong)
        return QCoreApplication::translate(
                   "Sheet", "「paper」の %1 × %2 mm は A3（297 × 420 mm）より大きい用紙です。")
            .arg(mm(paper.width()), mm(paper.height()));
    if (grids.isEmpty())
        return QCoreApplication::translate("Sheet", "円の並びがありません。");

    qint64 total = 0;
    for (int g = 0; g < grids.size(); ++g) {
        const SheetGrid& grid = grids[g];
        if (grid.columns < 1 || grid.rows < 1)
            return QCoreApplication::translate("Sheet",
                                               "「%1」と「%2」は 1 以上でなければなりません。")
                .arg(fieldOf(g, "columns"), fieldOf(g, "rows"));
        total += qint64(grid.columns) * grid.rows;
        if (total > MaxPositions)
            return QCoreApplication::translate(
                       "Sheet", "位置が %1 個あります（「%2」×「%3」）。%4 個までです。")
                .arg(total)
                .arg(fieldOf(g, "columns"), fieldOf(g, "rows"))
                .arg(MaxPositions);
        if (!finite({grid.first.x(), grid.first.y(), grid.pitch.x(), grid.pitch.y()}))
            return QCoreApplication::translate("Sheet", "「%1」か「%2」が数ではありません。")
                .arg(fieldOf(g, "first"), fieldOf(g, "pitch"));
        // A pitch between discs that are not there does not matter.
        const bool across[2] = {grid.columns > 1, grid.rows > 1};
        const double pitches[2] = {grid.pitch.x(), grid.pitch.y()};
        const char* pitchKeys[2] = {"pitch.x", "pitch.y"};
        for (int axis = 0; axis < 2; ++axis) {
            if (pitches[axis] < 0 || (across[axis] && pitches[axis] < diameter))
                return QCoreApplication::translate(
                           "Sheet", "「%1」の値 %2 mm が直径 %3 mm より小さく、円が重なります。")
                    .arg(fieldOf(g, pitchKeys[axis]), mm(pitches[axis]), mm(diameter));
        }
        const int first = positionOf({g, 0, 0});
        if (grid.first.x() < 0 || grid.first.y() < 0)
            return QCoreApplication::translate("Sheet",
                                               "位置 %1 の円が用紙の外に出ます（「%2」）。")
                .arg(first)
                .arg(fieldOf(g, grid.first.x() < 0 ? "first.x" : "first.y"));
        if (!onPaper(grid.first.x(), grid.pitch.x(), grid.columns, diameter, paper.width()))
            return QCoreApplication::translate(
                       "Sheet", "位置 %1 の円が用紙の幅（「paper.width」%2 mm）の外に出ます。")
                .arg(first + grid.columns - 1)
                .arg(mm(paper.width()));
        if (!onPaper(grid.first.y(), grid.pitch.y(), grid.rows, diameter, paper.height()))
            return QCoreApplication::translate(
                       "Sheet", "位置 %1 の円が用紙の高さ（「paper.height」%2 mm）の外に出ます。")
                .arg(first + (grid.rows - 1) * grid.columns)
                .arg(mm(paper.height()));
    }
    return {};
}

namespace SheetDots {

qint64 toNm(double mm)
{
    // Lengths beyond a kilometre are refused before they are placed; the
    // clamp only keeps the conversion defined.
    return qRound64(std::clamp(mm, -1e6, 1e6) * double(NmPerMm));
}

Placement::Placement(const Sheet& sheet, const SheetGeometry::Offsets& offsets, int dpiX, int dpiY,
                     QPoint paperCorner)
    : m_sheet(sheet), m_offsets(offsets), m_dpiX(dpiX), m_dpiY(dpiY),
      m_corner(sheet.isBuiltIn() ? QPoint() : paperCorner), m_fill(toNm(sheet.fillDiameter())),
      m_inset(floorDiv(toNm(sheet.diameter) - m_fill, 2))
{
}

int Placement::dots(qint64 nmPerMille, int dpi) const
{
    return int(floorDiv(nmPerMille * dpi, NmPerInch * SheetGeometry::ScaleOne));
}

SheetGeometry::LabelPlace Placement::place(int position) const
{
    using namespace SheetGeometry;
    if (m_sheet.grids.isEmpty())
        return {};
    const Sheet::Cell cell = m_sheet.cellOf(position);
    const SheetGrid& grid = m_sheet.grids[cell.grid];
    const qint64 step = OffsetStep * NmPerUnit;
    const qint64 left = toNm(grid.first.x()) + cell.column * toNm(grid.pitch.x()) + m_inset +
                        step * (m_offsets.horzIndex - OffsetZeroIndex);
    const qint64 top = toNm(grid.first.y()) + cell.row * toNm(grid.pitch.y()) + m_inset +
                       step * (m_offsets.vertIndex - OffsetZeroIndex);
    // The texts' centre row lies a 130th of the disc below its middle, as
    // one unit does on the built-in sheet.
    const qint64 centreX = m_fill * CentreX / BoxSize;
    const qint64 centreY = m_fill * CentreY / BoxSize;

    // Only the corner moves with the scale; the square and its centre keep
    // their size.
    const qint64 x = left * m_offsets.scaleX;
    const qint64 y = top * m_offsets.scaleY;
    LabelPlace p;
    p.box = {m_corner.x() + dots(x, m_dpiX), m_corner.y() + dots(y, m_dpiY),
             m_corner.x() + dots(x + m_fill * ScaleOne, m_dpiX),
             m_corner.y() + dots(y + m_fill * ScaleOne, m_dpiY)};
    p.cx = m_corner.x() + dots(x + centreX * ScaleOne, m_dpiX);
    p.cy = m_corner.y() + dots(y + centreY * ScaleOne, m_dpiY);
    p.scale = m_sheet.discScale();
    return p;
}

SheetGeometry::LabelPlace place(const Sheet& sheet, int position,
                                const SheetGeometry::Offsets& offsets, int dpiX, int dpiY,
                                QPoint paperCorner)
{
    return Placement(sheet, offsets, dpiX, dpiY, paperCorner).place(position);
}

} // namespace SheetDots
