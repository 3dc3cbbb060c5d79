#pragma once

#include "core/layout/SheetGeometry.h"
#include "core/model/PrintedJob.h"
#include "core/numbering/Continuation.h"
#include "core/render/PrintCanvas.h"
#include "core/render/PrintSheet.h"

#include <QString>

#include <functional>

struct PrintJobResult {
    bool ok = true;
    QString error;     // the printer's own message when ok is false
    PrintedJob job;    // what was printed, when ok
    Continuation next; // where the next job starts, when ok
};

// Prints a run's labels on `sheet` from startPosition on, sheet by sheet, as
// one document, handed to the print system whole at its end.
// afterSheet(k, K) runs after each sheet is drawn (the window shows the
// progress there). The job counts only once the document has ended and the
// print system took it; on any failure the document is dropped and nothing
// of it is reported as printed. A run without labels begins no document.
PrintJobResult runPrintJob(PrintCanvas& canvas, const Sheet& sheet, const SheetLabels& labels,
                           const PrintAppearance& look, const SheetGeometry::Offsets& offsets,
                           int startPosition,
                           const std::function<void(int sheet, int sheetCount)>& afterSheet);
// The same on the built-in sheet.
PrintJobResult runPrintJob(PrintCanvas& canvas, const SheetLabels& labels,
                           const PrintAppearance& look, const SheetGeometry::Offsets& offsets,
                           int startPosition,
                           const std::function<void(int sheet, int sheetCount)>& afterSheet);
