#pragma once

#include "core/io/StartFile.h"
#include "core/io/StateFile.h"
#include "core/model/LabelDesign.h"
#include "core/model/LabelRun.h"
#include "core/model/PrintedJob.h"

#include <QString>

#include <optional>

// What the main window coordinates between its screens: the start file's
// settings, the design being edited, the run PrintSet froze from it, the
// last job the print system took, and the choices kept with them in the
// saved state. Values only; the screens keep what is purely theirs (the
// sheet shown, the pointer over the map).
struct WorkingState {
    QString AppDir;
    StartSettings Start;
    LabelDesign Design;
    LabelRun Run;
    std::optional<PrintedJob> LastJob;
    PrinterChoice LabelPrinter;
    PrinterChoice RecordPrinter;
    QString ExportFolder;
    QStringList RecentDesigns;
    SheetScale Scale;
    bool CloseRequested = false;
};
