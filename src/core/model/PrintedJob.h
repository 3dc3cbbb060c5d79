#pragma once

#include "core/layout/Sheet.h"
#include "core/model/LabelRun.h"
#include "core/model/PrintAppearance.h"

#include <QDateTime>
#include <QList>
#include <QString>

struct PrintLogEntry {
    QString upper;
    QString lower;

    friend bool operator==(const PrintLogEntry&, const PrintLogEntry&) = default;
};

// A job the print system took: what was printed, where, and how it looked.
// The record and the spreadsheet read only this, so a later change of the
// design cannot change what they say about the job.
struct PrintedJob {
    LabelRun run; // as printed: type 13 for a type 1 run without an upper line
    PrintAppearance look;
    SheetChoice sheet; // the positions are this sheet's
    int startPosition = 1;
    QList<PrintLogEntry> labels; // every label, in print order
    // When the print system took it (invalid for jobs saved before this was
    // kept): the record and the spreadsheet are dated by it.
    QDateTime printedAt;
    // Its job in the registry of issued labels, 0 when it has none.
    qint64 registryId = 0;

    int sampleCount() const { return run.sampleCount; }
    int repeatCount() const { return run.repeatCount; }
    // One entry per sample: its first label.
    QList<PrintLogEntry> sampleEntries() const;

    friend bool operator==(const PrintedJob&, const PrintedJob&) = default;
};
