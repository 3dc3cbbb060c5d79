#pragma once

#include "core/layout/Sheet.h"
#include "core/layout/SheetGeometry.h"
#include "core/numbering/DateStamp.h"

#include <QCoreApplication>

class DesignScreen;
class Dialogs;
class FolderSync;
class PrintScreen;
class QWidget;
class RunFiles;
class WindowRegistry;
struct FolderSnapshot;
struct LabelJobRequest;
struct SavedState;
struct StartFileReadResult;
struct WorkingState;
namespace StateFile {
struct ReadResult;
}

// The run the window prepares, between its two screens: the design frozen
// and checked at PrintSet, the start position, the offsets and the scale
// the user chooses on the print screen, the line that says where the next
// job starts, and the label job Print asks for. Other Rondelmakers may print
// on the same folder or registry meanwhile: what they changed is taken into
// the window's values and shown, so that no label is printed twice.
class WindowRun {
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
public:
    WindowRun(WorkingState& state, RunFiles& files, FolderSync& sync, WindowRegistry& registry,
              DesignScreen& design, PrintScreen& print, Dialogs& dialogs, Clock clock,
              QWidget* window);

    // PrintSet: the run frozen from the design, or false after a message
    // saying why it cannot print.
    bool freezeRun();
    // The frozen run on the print screen, from the start position.
    void showRun();
    void chooseStartPosition(int position);
    // The sheet in the station's printer, kept in state.json at once; a
    // start the sheet does not have moves to 1, and the user is told.
    void chooseSheet(const SheetChoice& choice);
    void chooseOffsets(int horzIndex, int vertIndex);
    // The step and the number display take effect each time labels are
    // composed, also after PrintSet.
    void refreshRunNumbering();
    // The start file's offsets with the calibrated scale.
    SheetGeometry::Offsets placement() const;
    void updateNextLine();

    // The label job as the user sees it, planned on the folder as the job
    // finds it; a job printed elsewhere since makes it stale.
    LabelJobRequest labelRequest(const FolderSnapshot& folder);

    // What other Rondelmakers changed on the folder and the registry since
    // the window last looked, taken into its values and shown: true when
    // they changed.
    bool adoptChanges();
    bool adoptFrom(const StartFileReadResult& start, const StateFile::ReadResult& state);
    // Only the registry's numbering of the design's type.
    bool adoptNumbering();
    // The window's state as state.json keeps it, with the registry's mark.
    SavedState savedState() const;

private:
    void showAdopted();
    // The print screen on the station's sheet, with the start on it.
    void showSheet();

    WorkingState& m_state;
    RunFiles& m_files;
    FolderSync& m_sync;
    WindowRegistry& m_registry;
    DesignScreen& m_design;
    PrintScreen& m_print;
    Dialogs& m_dialogs;
    Clock m_clock;
    QWidget* m_window;
};
