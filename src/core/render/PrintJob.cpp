#include "core/render/PrintJob.h"

#include "core/layout/SheetLayout.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/render/PrintSheet.h"

namespace {

PrintJobResult failed(PrintCanvas& canvas)
{
    PrintJobResult result;
    result.ok = false;
    result.error = canvas.errorString();
    canvas.abort();
    return result;
}

} // namespace

PrintJobResult runPrintJob(PrintCanvas& canvas, const SheetLabels& labels, const PrintAppearance& look,
                           const SheetGeometry::Offsets& offsets, int startPosition,
                           const std::function<void(int sheet, int sheetCount)>& afterSheet)
{
    const LabelRun& run = labels.run();
    const int total = labels.total();
    if (total > 0) {
        const int sheets = SheetLayout::countSheets(startPosition, total);
        if (!canvas.beginDocument())
            return failed(canvas);
        for (int sheet = 1; sheet <= sheets; ++sheet) {
            const SheetLayout::SheetRange range =
                SheetLayout::sheetRange(sheet, sheets, startPosition, total);
            printSheet(canvas, labels, look, offsets, startPosition, sheet, range.first, range.last);
            if (!(sheet == sheets ? canvas.endDocument() : canvas.newPage()))
                return failed(canvas);
            if (afterSheet)
                afterSheet(sheet, sheets);
        }
    }

    PrintJobResult result;
    result.job.run = run;
    result.job.look = look;
    result.job.startPosition = startPosition;
    result.job.labels.reserve(total);
    for (int n = 0; n < total; ++n) {
        const LabelTexts texts = labels.texts(n);
        result.job.labels << PrintLogEntry{texts.upper, texts.lower};
    }
    result.next = continueAfterJob(run, startPosition);
    result.next.startPosition = SheetLayout::nextStartPosition(startPosition, total);
    return result;
}
