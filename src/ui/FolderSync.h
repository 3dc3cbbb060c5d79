#pragma once

#include "core/io/StartFile.h"
#include "core/io/StateFile.h"

#include <QCoreApplication>

class Dialogs;
class QWidget;
class RunFiles;
struct WorkingState;

// The window's start file and state.json, which the command line shares
// under the folder's lock. It keeps them as this window last read or wrote
// them: what differs in the files now was written by another Rondelmaker,
// and is taken over. Failures are reported through the Dialogs seam.
class FolderSync {
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
public:
    FolderSync(RunFiles& files, WorkingState& state, Dialogs& dialogs, QWidget* window);

    // At start-up: the start file into the window's values, after what
    // saves cut short by a crash left behind is gone; false after a message
    // when it is missing or cannot be read.
    bool start();
    // Then the saved state into the window's. A damaged file is kept aside
    // with a message, and the run starts afresh.
    void restore();
    // A job wrote both files.
    void tookFromJob(const StartSettings& start, const SavedState& state);

    bool lock();
    // What the files changed since this window last looked: the start file
    // wholly, the state's numbering and last job. True when the window's
    // values changed.
    bool adopt(const StartFileReadResult& start, const StateFile::ReadResult& state);
    // The window's state as state.json keeps it, with the registry's mark as
    // last saved.
    SavedState savedState() const;
    const SavedState& syncedState() const { return m_syncedState; }
    // Under the lock the caller holds.
    bool writeStartFile();
    bool writeState(const SavedState& saved);
    // Takes the lock, writes, and gives it back.
    bool saveStartFile();

private:
    RunFiles& m_files;
    WorkingState& m_state;
    Dialogs& m_dialogs;
    QWidget* m_window;
    StartSettings m_syncedStart;
    SavedState m_syncedState;
};
