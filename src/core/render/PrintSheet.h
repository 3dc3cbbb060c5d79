#pragma once

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

private:
    const LabelRun& m_run;
    const QList<PrintLogEntry>* m_given = nullptr;
};

// Draws one label sheet of a job: the discs and texts of positions
// first..last of sheet `sheet` (1-based) of a run printed from
// startPosition. It draws and does nothing else: no document control, no
// log, no state. The printer, the preview and the sample label all use it.
// Every text stays inside its disc: a line keeps its place by the printing
// rules where it fits there, is centred where it would cross the disc's
// edge, and is set a point smaller at a time where even that does not fit.
void printSheet(PrintCanvas& canvas, const SheetLabels& labels, const PrintAppearance& look,
                const SheetGeometry::Offsets& offsets, int startPosition, int sheet, int first,
                int last);

// The label of index n drawn alone around the centre of `place` (the
// sample label on the screen).
void printLabel(PrintCanvas& canvas, const SheetLabels& labels, const PrintAppearance& look,
                const SheetGeometry::LabelPlace& place, int n, int sheetIndex);
