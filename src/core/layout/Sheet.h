#pragma once

#include "core/layout/SheetGeometry.h"

#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

// A label sheet: the paper, the size of its round labels and where they
// lie. Lengths are in millimetres. The labels lie in grids; a sheet from a
// file has one, a gLabels template may have several. Positions are numbered
// row by row from 1, through one grid after another. The painter fills a
// disc a little larger than each label (fillDiameter), so that a sheet
// placed slightly off shows no white rim, and sizes what it draws in it by
// discScale().
//
// The built-in sheet is the one this program always printed on. Its corner
// is the printer's printable area, as it always was; every other sheet is
// measured from the paper's top-left corner, so that it means the same on
// every printer.

// One grid of discs: `first` is the top-left corner of the square around
// its first label, `pitch` the distance from one disc to the next.
struct SheetGrid {
    int columns = 1;
    int rows = 1;
    QPointF first;
    QPointF pitch;

    int positions() const { return columns * rows; }
    friend bool operator==(const SheetGrid&, const SheetGrid&) = default;
};

enum class SheetOrigin { PrintableArea, PaperCorner };

struct Sheet {
    QString name;
    QSizeF paper;
    double diameter = 0;
    QList<SheetGrid> grids;
    SheetOrigin origin = SheetOrigin::PaperCorner;

    // The built-in sheet's labels, and the disc the painter always filled
    // for them: 130 layout units, 13.208 mm.
    static constexpr double BuiltInDiameter = 11;
    static constexpr double BuiltInFill = 13.208;

    static constexpr double MinDiameter = 5;
    static constexpr double MaxDiameter = 60;
    static constexpr int MaxPositions = 999;
    // A3, the largest paper, in either orientation.
    static constexpr double MaxPaperShort = 297;
    static constexpr double MaxPaperLong = 420;

    // The sheet the program knows without a file: A4, 10 x 15 labels of
    // 11 mm at a pitch of 168 layout units, printed as discs of 130 units
    // from (195, 206) of the printable area.
    static Sheet builtIn();
    // No file can describe a sheet measured from the printable area.
    bool isBuiltIn() const { return origin == SheetOrigin::PrintableArea; }

    int positions() const;

    // Where position p (1..positions()) lies: its grid, and its column and
    // row there, from 0.
    struct Cell {
        int grid = 0;
        int column = 0;
        int row = 0;
    };
    Cell cellOf(int position) const;
    int positionOf(const Cell& cell) const;

    // The square around position p's label, in mm from the origin.
    QRectF discSquare(int position) const;
    // The shortest distance between the centres of two labels, across all
    // grids; infinite on a sheet of one label.
    double nearestCentres() const;
    // The positions at the four corners of each grid, in order, each once:
    // 1, 10, 141 and 150 on the built-in sheet.
    QList<int> cornerPositions() const;

    // How much larger this sheet's label is than the built-in sheet's: what
    // the lines, fonts and code drawn in a disc are scaled by, so that texts
    // keep their proportion to the label.
    double discScale() const { return diameter / BuiltInDiameter; }
    // The diameter of the disc the painter fills around each label, in mm:
    // the built-in sheet's 130 units; on other sheets the same proportion to
    // the label, as far as the nearest label allows. The fill and its
    // outline (5 dots scaled, at 200 dpi or more) end at most halfway to the
    // nearest label, so that a sheet off by up to half the gap shows neither
    // a white rim nor colour on a neighbour.
    double fillDiameter() const;
    // The paper as a page size: A4 or US Letter where it is one (within a
    // millimetre or so), else a size of its own; upright, whatever the
    // paper's orientation.
    QPageSize pageSize() const;
    // The page a printer or a PDF gets for this sheet: its paper, turned
    // where it is wider than high, with these margins (in points).
    QPageLayout pageLayout(const QMarginsF& margins = {}) const;

    // The first thing that makes the sheet unusable, in words that name the
    // field as a sheet file names it ("diameter", "pitch.x", ...); empty
    // when it is sound.
    QString problem() const;

    friend bool operator==(const Sheet&, const Sheet&) = default;
};

// The sheet a station prints on, or a job printed on: its id in the sheet
// catalogue ("builtin", "shipped:...", a file's path, ...) and a copy of its
// geometry, so that a sheet file removed or changed later does not change
// where the labels of the station or of the job lie.
struct SheetChoice {
    QString id = QStringLiteral("builtin");
    Sheet sheet = Sheet::builtIn();

    bool isBuiltIn() const { return sheet.isBuiltIn(); }
    friend bool operator==(const SheetChoice&, const SheetChoice&) = default;
    // The same sheet, whatever language the built-in sheet's name was made in.
    bool sameAs(const SheetChoice& other) const
    {
        return id == other.id && (isBuiltIn() ? other.isBuiltIn() : sheet == other.sheet);
    }
};

// A sheet's disc squares in dots, computed in integers so that a sheet lands
// on the same dots whatever the printer. The lengths become nanometres
// first: 1/250 inch is 101600 nm, so the built-in sheet lands exactly where
// SheetGeometry::place puts it, and millimetres keep six decimals.
namespace SheetDots {

inline constexpr qint64 NmPerMm = 1000000;
inline constexpr qint64 NmPerInch = 25400000;
inline constexpr qint64 NmPerUnit = NmPerInch / SheetGeometry::UnitsPerInch;

qint64 toNm(double mm);

// A sheet placed on one canvas, worked out once for all its positions.
// The offsets move every disc by their steps of 1/50 inch and the scale
// stretches its corner away from the sheet's origin, as for the built-in
// sheet. `paperCorner` is where the paper's top-left corner lies on the
// canvas, in dots (PrintCanvas::paperCorner()); it does not move the
// built-in sheet, which is measured from the printable area.
class Placement {
public:
    Placement(const Sheet& sheet, const SheetGeometry::Offsets& offsets, int dpiX, int dpiY,
              QPoint paperCorner = {});

    // Position p's filled disc (its square, centred on the label's), the
    // centre its texts are placed around and the scale they are drawn at.
    SheetGeometry::LabelPlace place(int position) const;

private:
    int dots(qint64 nmPerMille, int dpi) const;

    Sheet m_sheet;
    SheetGeometry::Offsets m_offsets;
    int m_dpiX;
    int m_dpiY;
    QPoint m_corner;
    qint64 m_fill = 0;  // nm
    qint64 m_inset = 0; // from the label's square to the fill's, nm
};

// One position placed alone: Placement(...).place(position).
SheetGeometry::LabelPlace place(const Sheet& sheet, int position,
                                const SheetGeometry::Offsets& offsets, int dpiX, int dpiY,
                                QPoint paperCorner = {});

} // namespace SheetDots
