#include "ui/FolderSync.h"

#include "core/io/AtomicFile.h"
#include "core/io/RunFiles.h"
#include "ui/Dialogs.h"
#include "ui/UserPaths.h"
#include "ui/WorkingState.h"

namespace {

// The window's state and the saved state share these fields; one list, so
// that a field added to both is carried both ways.
template <typename From, typename To> void copyKeptFields(const From& from, To& to)
{
    to.design = from.design;
    to.lastJob = from.lastJob;
    to.labelPrinter = from.labelPrinter;
    to.recordPrinter = from.recordPrinter;
    to.exportFolder = from.exportFolder;
    to.recentDesigns = from.recentDesigns;
    to.scale = from.scale;
    to.sheet = from.sheet;
    to.uiLanguage = from.uiLanguage;
}

} // namespace

FolderSync::FolderSync(RunFiles& files, WorkingState& state, Dialogs& dialogs, QWidget* window)
    : m_files(files), m_state(state), m_dialogs(dialogs), m_window(window)
{
}

bool FolderSync::start()
{
    removeStaleTemporaries(m_state.appDir,
                           {StartFile::FileName, QString::fromLatin1(StateFile::FileName)});
    const QString path = StartFile::pathIn(m_state.appDir);
    const StartFileReadResult read = StartFile::read(path);
    if (read.status == StartFileReadResult::Missing) {
        m_dialogs.message(nullptr, tr("スタートファイルがありません。"), nativePath(path));
        return false;
    }
    if (read.status != StartFileReadResult::Ok) {
        m_dialogs.error(nullptr, read.error);
        return false;
    }
    m_state.start = read.values;
    m_syncedStart = read.values;
    if (m_state.start.startPosition == 0)
        m_state.start.startPosition = 1;
    return true;
}

void FolderSync::restore()
{
    const QString path = StateFile::pathIn(m_state.appDir);
    const StateFile::ReadResult read = StateFile::read(path);
    if (read.status == StateFile::ReadResult::Missing)
        return;
    if (read.status == StateFile::ReadResult::Ok) {
        copyKeptFields(read.state, m_state);
        m_syncedState = read.state;
        return;
    }
    // A damaged file is kept for a look, and the run starts afresh: the
    // numbering may then repeat labels, so the user must check it.
    QString moveError;
    const QString kept = StateFile::keepDamaged(path, &moveError);
    QString detail = nativePath(path) + QLatin1Char('\n') + read.error;
    detail += QLatin1Char('\n') +
              (kept.isEmpty() ? tr("ファイルを残せませんでした: %1").arg(moveError)
                              : tr("元のファイルは %1 として残しました。").arg(nativePath(kept)));
    m_dialogs.message(nullptr,
                      tr("前回の状態を読み込めませんでした。次の番号を復元できません。"
                         "印刷する前に初期値と文字を確かめてください。"),
                      detail);
}

void FolderSync::tookFromJob(const StartSettings& start, const SavedState& state)
{
    m_syncedStart = start;
    m_syncedState = state;
}

bool FolderSync::lock()
{
    QString error;
    if (m_files.lock(&error))
        return true;
    m_dialogs.error(m_window, error);
    return false;
}

bool FolderSync::adopt(const StartFileReadResult& start, const StateFile::ReadResult& state)
{
    // Another Rondelmaker may have printed since this window last looked:
    // the command line on this folder (its start file and state). Theirs
    // win, so that no label is printed twice. What this window changed
    // itself stays.
    bool changed = false;
    if (start.status == StartFileReadResult::Ok && !(start.values == m_syncedStart)) {
        m_state.start = start.values;
        if (m_state.start.startPosition == 0)
            m_state.start.startPosition = 1;
        m_syncedStart = start.values;
        changed = true;
    }
    if (state.status == StateFile::ReadResult::Ok && !(state.state == m_syncedState)) {
        const LabelDesign& theirs = state.state.design;
        const LabelDesign& before = m_syncedState.design;
        if (theirs.type != before.type || theirs.firstNumber != before.firstNumber ||
            theirs.letters != before.letters) {
            const LabelDesign old = m_state.design;
            continueNumbering(m_state.design, theirs);
            changed = changed || !(old == m_state.design);
        }
        if (state.state.lastJob != m_syncedState.lastJob)
            m_state.lastJob = state.state.lastJob;
        // A job elsewhere on another sheet: that sheet is in the printer now.
        if (!state.state.sheet.sameAs(m_syncedState.sheet)) {
            m_state.sheet = state.state.sheet;
            changed = true;
        }
        m_syncedState = state.state;
    }
    return changed;
}

SavedState FolderSync::savedState() const
{
    SavedState saved;
    copyKeptFields(m_state, saved);
    saved.registry = m_syncedState.registry;
    return saved;
}

bool FolderSync::writeStartFile()
{
    QString error;
    if (!StartFile::write(m_files.startPath(), m_state.start, &error)) {
        m_dialogs.error(m_window, error);
        return false;
    }
    m_syncedStart = m_state.start;
    return true;
}

bool FolderSync::writeState(const SavedState& saved)
{
    QString error;
    if (!StateFile::write(m_files.statePath(), saved, &error)) {
        m_dialogs.error(
            m_window,
            tr("状態を保存できません。\n%1\n%2").arg(nativePath(m_files.statePath()), error));
        return false;
    }
    m_syncedState = saved;
    return true;
}

bool FolderSync::saveStartFile()
{
    // The user's own choice of offsets or start position wins over the file.
    if (!lock())
        return false;
    const bool saved = writeStartFile();
    m_files.unlock();
    return saved;
}
