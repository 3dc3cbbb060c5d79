#pragma once

#include "core/layout/SheetGeometry.h"

#include <QList>
#include <QPageSize>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

// A label sheet: the paper, the size of its round labels and where they
// lie. Lengths are in millimetres. The discs lie in grids; a sheet from a
// file has one, a gLabels template may have several. Positions are numbered
// row by row from 1, through one grid after another.
//
// The built-in sheet is the one this program always printed on. Its corner
// is the printer's printable area, as it always was; every other sheet is
// measured from the paper's top-left corner, so that it means the same on
// every printer.

// One grid of discs: `first` is the top-left corner of the square around
// its first disc, `pitch` the distance from one disc to the next.
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

    static constexpr double MinDiameter = 5;
    static constexpr double MaxDiameter = 60;
    static constexpr int MaxPositions = 999;
    // A3, the largest paper, in either orientation.
    static constexpr double MaxPaperShort = 297;
    static constexpr double MaxPaperLong = 420;

    // The sheet the program knows without a file: A4, 10 x 15 discs of
    // 130 layout units at a pitch of 168, from (195, 206) of the printable
    // area. Its discs are printed a little larger than its 11 mm labels.
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

    // The square around position p's disc, in mm from the origin.
    QRectF discSquare(int position) const;
    // The positions at the four corners of each grid, in order, each once:
    // 1, 10, 141 and 150 on the built-in sheet.
    QList<int> cornerPositions() const;

    // How much larger this sheet's disc is than the built-in sheet's: what
    // the lines, fonts and code drawn in a disc are scaled by.
    double discScale() const;
    // The paper as a page size: A4 or US Letter where it is one (within a
    // millimetre or so), else a size of its own.
    QPageSize pageSize() const;

    // The first thing that makes the sheet unusable, in words that name the
    // field as a sheet file names it ("diameter", "pitch.x", ...); empty
    // when it is sound.
    QString problem() const;

    friend bool operator==(const Sheet&, const Sheet&) = default;
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

// Position p's disc square and the centre its texts are placed around.
// The offsets move it by their steps of 1/50 inch and the scale stretches
// its corner away from the sheet's origin, as for the built-in sheet.
// `paperCorner` is where the paper's top-left corner lies on the canvas, in
// dots: on a printer minus the printable area's offset, on a PDF (0, 0). It
// does not move the built-in sheet, which is measured from the printable
// area.
SheetGeometry::LabelPlace place(const Sheet& sheet, int position,
                                const SheetGeometry::Offsets& offsets, int dpiX, int dpiY,
                                QPoint paperCorner = {});

} // namespace SheetDots
