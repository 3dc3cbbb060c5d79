#include "print/PrintJob.h"

#include "print/PrintSheet.h"
#include "sheet/SheetLayout.h"

void ClearPrintLog(WorkingState& state)
{
    for (PrintLogEntry& entry : state.PrintLog)
        entry = PrintLogEntry{};
}

PrintJobResult RunPrintJob(PrintCanvas& canvas, WorkingState& state, const PrintAppearance& look,
                           const std::function<void(int sheet, int sheetCount)>& afterSheet)
{
    ClearPrintLog(state);
    state.PrintLogNext = 1;
    state.HasPrinted = true;
    state.PrintLogSampleCount = state.Run.sampleCount;
    state.PrintLogRepeatCount = state.Run.repeatCount;

    const int total = state.Run.labelTotal();
    if (total <= 0)
        return {}; // no labels: no document, not even an empty page

    const int start = state.StartPosition;
    const int sheets = SheetLayout::CountSheets(start, total);
    for (int sheet = 1; sheet <= sheets; ++sheet) {
        const SheetLayout::SheetRange range = SheetLayout::sheetRange(sheet, sheets, start, total);
        if (!PrintSheet(canvas, state, look, sheet, range.first, range.last, sheet == sheets)) {
            const QString error = canvas.errorString();
            canvas.abort();
            // Nothing of an aborted document is printed, so the record and
            // the export must not list any of it.
            ClearPrintLog(state);
            state.PrintLogNext = 1;
            state.PrintLogSampleCount = 0;
            return {false, error};
        }
        if (afterSheet)
            afterSheet(sheet, sheets);
    }
    return {};
}
