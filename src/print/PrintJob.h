#pragma once

#include "app/WorkingState.h"
#include "print/PrintCanvas.h"
#include "sheet/PrintAppearance.h"

#include <QString>

#include <functional>

struct PrintJobResult {
    bool ok = true;
    QString error; // the printer's own message when ok is false
};

// The pause the window makes after each sheet, so that a slow label printer
// can take the sheet before the next one arrives.
inline constexpr int SheetPauseMs = 2000;

// Empties every entry of the print log.
void ClearPrintLog(WorkingState& state);

// Prints the run frozen at PrintSet from StartPosition on, sheet by sheet,
// after the printer has been chosen. afterSheet(k, K) runs after each sheet
// (the window pauses and shows the progress there). The log is refilled with
// every label drawn. On a printer failure the document is aborted and the log
// emptied, since nothing of it reaches paper. The continuation of the
// numbering is the caller's (ContinueAfterJob), and only after success.
PrintJobResult RunPrintJob(PrintCanvas& canvas, WorkingState& state, const PrintAppearance& look,
                           const std::function<void(int sheet, int sheetCount)>& afterSheet);
