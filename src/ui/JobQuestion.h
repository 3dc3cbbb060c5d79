#pragma once

#include <QCoreApplication>

class Dialogs;
class LabelRegistry;
class QWidget;
class RunFiles;
struct JobSummary;
struct LabelDesign;

// A job of this station that may or may not have printed, put to the user:
// at start-up for every such job, and from History for the one selected.
class JobQuestion {
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
public:
    // Asks whether `job` printed: printed, not printed, or later. An answer
    // settles the job in the registry, as `rondelmaker-cli resolve` does,
    // and a job that did not print takes `design`'s numbering back to where
    // it started, unless it moved on since. False when there was no answer
    // or the job could not be settled (an error box said why).
    static bool ask(Dialogs& dialogs, QWidget* parent, RunFiles& files, LabelRegistry& registry,
                    const JobSummary& job, LabelDesign& design);
};
