#pragma once

#include "app/WorkingState.h"
#include "print/PrintCanvas.h"
#include "sheet/PrintAppearance.h"

// One label sheet on the printer page. Geometry is laid out in units of
// 1/250 inch and converted with the printer's own resolution, so a sheet
// lands on the same spots whatever the printer; the page size is never read.

// Fills LabelLeft/LabelTop (1..150) from the print offsets now in force.
void ComputeLabelPositions(WorkingState& state);

// Draws positions first..last of the job's sheet `sheet` (1-based) from the
// run frozen at PrintSet, logging every label. Begins the document on sheet 1
// and ends it after the last sheet, or starts a new page. Returns false as
// soon as the printer fails; the caller aborts the document then.
bool PrintSheet(PrintCanvas& canvas, WorkingState& state, const PrintAppearance& look, int sheet,
                int first, int last, bool isLastSheet);
