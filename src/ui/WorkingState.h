#pragma once

#include "core/i18n/UiLanguage.h"
#include "core/io/StartFile.h"
#include "core/io/StateFile.h"
#include "core/model/LabelDesign.h"
#include "core/model/LabelRun.h"
#include "core/model/PrintedJob.h"

#include <QDate>
#include <QString>

#include <optional>

// What the main window coordinates between its screens: the start file's
// settings, the design being edited, the run PrintSet froze from it, the
// last job the print system took, and the choices kept with them in the
// saved state. Values only; the screens keep what is purely theirs (the
// sheet shown, the pointer over the map).
struct WorkingState {
    QString appDir;
    StartSettings start;
    LabelDesign design;
    LabelRun run;
    QDate runDate; // the day PrintSet froze the run: its date stamps

    std::optional<PrintedJob> lastJob;
    PrinterChoice labelPrinter;
    PrinterChoice recordPrinter;
    QString exportFolder;
    QStringList recentDesigns;
    SheetScale scale;
    SheetChoice sheet; // the station's: in its printer
    UiLanguage uiLanguage = UiLanguage::Automatic;
    bool closeRequested = false;
};
