#pragma once

#include "core/layout/DeviceBox.h"

// Where the labels of a sheet land. Positions are laid out in units of 1/250
// inch from the top-left corner of the printer's printable area and become
// dots with the printer's own resolution, truncated in integers, so that a
// sheet lands on the same spots to the dot whatever the printer. The page
// size is never read.
namespace SheetGeometry {

inline constexpr int UnitsPerInch = 250;
inline constexpr int BaseLeft = 195; // column 1 with no offset
inline constexpr int BaseTop = 206;  // row 1 with no offset
inline constexpr int Pitch = 168;
inline constexpr int OffsetStep = 5; // one entry of an offset list
inline constexpr int OffsetZeroIndex = 10;
inline constexpr int MaxOffsetIndex = 20;
inline constexpr int BoxSize = 130; // the disc is the circle inscribed in it
inline constexpr int CentreX = 65;
inline constexpr int CentreY = 66; // the text's centre row, one unit below the middle
// The outline of a printed disc, in printer dots: it does not scale with
// resolution, only with the disc.
inline constexpr int OutlineWidth = 5;

inline constexpr int ScaleOne = 1000; // per mille
inline constexpr int MinScale = 980;
inline constexpr int MaxScale = 1020;

// Where the labels of a sheet are put: the offsets of the start file, and a
// scale of the positions about the sheet's origin for a printer that scales
// its pages slightly (the discs keep their size).
struct Offsets {
    int horzIndex = OffsetZeroIndex; // 0..20, + moves right
    int vertIndex = OffsetZeroIndex; // 0..20, + moves down
    int scaleX = ScaleOne;           // per mille, 980..1020
    int scaleY = ScaleOne;

    friend bool operator==(const Offsets&, const Offsets&) = default;
};

// Top-left corner of a position's label box (1..150), in layout units.
int labelLeft(int position, const Offsets& offsets);
int labelTop(int position, const Offsets& offsets);

int toDots(int units, int dpi);

// A label's box and the centre its texts are placed around, in dots, and
// how large what is drawn in it is against the built-in sheet's label.
struct LabelPlace {
    DeviceBox box;
    int cx = 0;
    int cy = 0;
    double scale = 1;
};
LabelPlace place(int position, const Offsets& offsets, int dpiX, int dpiY);

} // namespace SheetGeometry
