#pragma once

#include "core/io/StartFile.h"
#include "core/io/StateFile.h"
#include "core/model/LabelDesign.h"
#include "core/numbering/Continuation.h"

#include <QString>

#include <memory>

// The start file and the saved state of one folder, shared by the window
// and the command line, which may run at the same time. Every
// read-modify-write of them holds the folder's lock, so that two jobs never
// take the same numbers and no update is lost.
class FolderLock;

class RunFiles {
public:
    explicit RunFiles(const QString& dir);
    ~RunFiles();
    RunFiles(const RunFiles&) = delete;
    RunFiles& operator=(const RunFiles&) = delete;

    QString dir() const { return m_dir; }
    QString startPath() const;
    QString statePath() const;

    // How long a second writer waits before it gives up.
    static constexpr int DefaultWaitMs = 5000;

    // Takes the folder's lock; false with *error saying that another
    // Rondelmaker holds it. A folder where no lock file can be made (full,
    // read-only) counts as taken: nothing can be written there either, and
    // the write itself then says why.
    bool lock(QString* error, int waitMs = DefaultWaitMs);
    void unlock();
    bool isLocked() const;

private:
    QString m_dir;
    std::unique_ptr<FolderLock> m_lock;
};

// The numbering a job continues: where the saved state left the same kind
// of run (the same type), else the design's own.
void continueNumbering(LabelDesign& design, const LabelDesign& saved);

// After a job of `type` printed: the design's first number and letters
// where the next job goes on.
void applyContinuation(LabelDesign& design, int type, const Continuation& next);
