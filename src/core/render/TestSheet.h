#pragma once

#include "core/layout/Sheet.h"
#include "core/layout/SheetGeometry.h"
#include "core/render/PrintCanvas.h"

// A sheet for plain paper, to hold against a label sheet under a light
// before labels are spent: every disc's outline with its position number
// where the labels would land at these offsets and this scale, crosshairs
// through the discs at the four corners of each grid (1, 10, 141 and 150 on
// the built-in sheet), and a 100 mm ruler from the sheet's origin along the
// top and along the left edge. The origin of a sheet measured from the paper
// is the paper's corner: its rulers run along the printable area's edges but
// count from the paper's. The rulers are drawn true, not scaled, so that
// measuring one tells how much the printer itself scales its pages. It
// draws only: the caller begins and ends the document.
void printTestSheet(PrintCanvas& canvas, const Sheet& sheet, const SheetGeometry::Offsets& offsets);
// The same for the built-in sheet.
void printTestSheet(PrintCanvas& canvas, const SheetGeometry::Offsets& offsets);
