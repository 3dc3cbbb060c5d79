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

PrintJobResult runPrintJob(PrintCanvas& canvas, const Sheet& sheet, const SheetLabels& labels,
                           const PrintAppearance& look, const SheetGeometry::Offsets& offsets,
                           int startPosition,
                           const std::function<void(int sheet, int sheetCount)>& afterSheet)
{
    const LabelRun& run = labels.run();
    const int total = labels.total();
    if (total > 0) {
        const int sheets = SheetLayout::countSheets(sheet, startPosition, total);
        if (!canvas.beginDocument())
            return failed(canvas);
        for (int number = 1; number <= sheets; ++number) {
            const SheetLayout::SheetRange range =
                SheetLayout::sheetRange(sheet, number, sheets, startPosition, total);
            printSheet(canvas, sheet, labels, look, offsets, startPosition, number, range.first,
                       range.last);
            if (!(number == sheets ? canvas.endDocument() : canvas.newPage()))
                return failed(canvas);
            if (afterSheet)
                afterSheet(number, sheets);
        }
    }

    PrintJobResult result;
    result.job.run = run;
    result.job.look = look;
    result.job.sheet.sheet = sheet;
    result.job.startPosition = startPosition;
    result.job.labels.reserve(total);
    for (int n = 0; n < total; ++n) {
        const LabelTexts texts = labels.texts(n);
        result.job.labels << PrintLogEntry{texts.upper, texts.lower};
    }
    result.next = continueAfterJob(run, startPosition, sheet);
    result.next.startPosition = SheetLayout::nextStartPosition(sheet, startPosition, total);
    return result;
}

PrintJobResult runPrintJob(PrintCanvas& canvas, const SheetLabels& labels,
                           const PrintAppearance& look, const SheetGeometry::Offsets& offsets,
                           int startPosition,
                           const std::function<void(int sheet, int sheetCount)>& afterSheet)
{
    return runPrintJob(canvas, Sheet::builtIn(), labels, look, offsets, startPosition, afterSheet);
}
