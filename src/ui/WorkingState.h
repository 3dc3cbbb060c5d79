#pragma once

#include "core/io/StartFile.h"
#include "core/model/LabelDesign.h"
#include "core/model/LabelRun.h"
#include "core/model/PrintedJob.h"

#include <QString>

#include <optional>

// What the main window coordinates between its screens: the start file's
// settings, the design being edited, the run PrintSet froze from it, and the
// last job the print system took. Values only; the screens keep what is
// purely theirs (the sheet shown, the pointer over the map).
struct WorkingState {
    QString AppDir;
    StartSettings Start;
    LabelDesign Design;
    LabelRun Run;
    std::optional<PrintedJob> LastJob;
    bool CloseRequested = false;
};
