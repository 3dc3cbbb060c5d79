#pragma once

#include "core/layout/SheetGeometry.h"
#include "core/render/PrintCanvas.h"

// A sheet for plain paper, to hold against a label sheet under a light
// before labels are spent: every disc's outline with its position number
// where the labels would land at these offsets and this scale, crosshairs
// through the discs of the corner positions 1, 10, 141 and 150, and a
// 100 mm ruler from the origin along the top and along the left edge. The
// rulers are drawn true, not scaled, so that measuring one tells how much
// the printer itself scales its pages. It draws only: the caller begins and
// ends the document.
void printTestSheet(PrintCanvas& canvas, const SheetGeometry::Offsets& offsets);
