#pragma once

#include "core/code/DataMatrix.h"
#include "core/code/LabelCode.h"
#include "core/layout/Sheet.h"
#include "core/layout/SheetGeometry.h"
#include "core/model/LabelRun.h"
#include "core/model/PrintAppearance.h"
#include "core/model/PrintedJob.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/render/PrintCanvas.h"

// The labels a document draws: composed from a run, or given as they were
// printed once (a reprint: a dated label keeps its date). The run still
// says the type, which places the lines, and the counts the rainbow
// colours follow.
class SheetLabels {
public:
    SheetLabels(const LabelRun& run) : m_run(run) {} // NOLINT: every run is its labels
    SheetLabels(const LabelRun& run, const QList<PrintLogEntry>& given)
        : m_run(run), m_given(&given)
    {
    }

    const LabelRun& run() const { return m_run; }
    int total() const { return m_given ? int(m_given->size()) : m_run.labelTotal(); }
    LabelTexts texts(int n) const;

    // The one size of the job's codes, over all its labels, found once;
    // labels given keep the size of the job the run made.
    const LabelCodes::JobSize& codeSize() const;
    // The code of a label with these texts at the job's size; null for a
    // blank label or a job whose codes do not fit.
    const DataMatrix::Symbol* codeOf(const LabelTexts& texts) const;

private:
    const LabelRun& m_run;
    const QList<PrintLogEntry>* m_given = nullptr;
    mutable std::optional<LabelCodes::JobSize> m_codeSize;
    // Copies of a label follow each other: the last code is kept.
    mutable QString m_codeContent;
    mutable std::optional<DataMatrix::Symbol> m_code;
};

// Why these labels cannot carry the code `look` chooses (one needs a symbol
// larger than LabelCodes::MaxModules), for the user; empty when they can.
QString codeProblem(const SheetLabels& labels, const PrintAppearance& look);

// The side of one code module in dots: about 0.25 mm on whole dots, and
// never under 0.2 mm; both grow with the disc's scale.
int moduleDots(int dpi, double scale = 1);

// Draws one label sheet of a job: the discs and texts of positions
// first..last of sheet `number` (1-based) of a run printed from
// startPosition, where `sheet` puts them (a sheet measured from the paper
// is placed by the canvas's paper corner). It draws and does nothing else:
// no document control, no log, no state. The printer, the preview and the
// sample label all use it. Lines, fonts, the code's modules and margins
// grow with the sheet's discScale().
// Every text stays inside its disc: a line keeps its place by the printing
// rules where it fits there, is centred where it would cross the disc's
// edge, and is set a point smaller at a time where even that does not fit.
// With a code the code sits in the middle of the disc, black on a white
// square of one module's quiet zone, and the lines go centred above and
// below it, clear of the disc's edge by a margin.
void printSheet(PrintCanvas& canvas, const Sheet& sheet, const SheetLabels& labels,
                const PrintAppearance& look, const SheetGeometry::Offsets& offsets,
                int startPosition, int number, int first, int last);
// The same on the built-in sheet.
void printSheet(PrintCanvas& canvas, const SheetLabels& labels, const PrintAppearance& look,
                const SheetGeometry::Offsets& offsets, int startPosition, int sheet, int first,
                int last);

// The label of index n drawn alone around the centre of `place`, at its
// scale (the sample label on the screen).
void printLabel(PrintCanvas& canvas, const SheetLabels& labels, const PrintAppearance& look,
                const SheetGeometry::LabelPlace& place, int n, int sheetIndex);
