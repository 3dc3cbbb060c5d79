#include "ui/WindowRun.h"

#include "core/io/RunFiles.h"
#include "core/job/JobPlanning.h"
#include "core/model/Freeze.h"
#include "core/model/LabelType.h"
#include "ui/DesignScreen.h"
#include "ui/Dialogs.h"
#include "ui/FolderSync.h"
#include "ui/PrintScreen.h"
#include "ui/WindowRegistry.h"
#include "ui/WorkingState.h"

WindowRun::WindowRun(WorkingState& state, RunFiles& files, FolderSync& sync,
                     WindowRegistry& registry, DesignScreen& design, PrintScreen& print,
                     Dialogs& dialogs, Clock clock, QWidget* window)
    : m_state(state), m_files(files), m_sync(sync), m_registry(registry), m_design(design),
      m_print(print), m_dialogs(dialogs), m_clock(std::move(clock)), m_window(window)
{
}

bool WindowRun::freezeRun()
{
    QString busy;
    if (m_files.lock(&busy, 0)) {
        adoptChanges();
        m_files.unlock();
    }
    const QDate today = m_clock().date();
    const LabelRun run = freeze(m_state.design, today);
    if (const JobRefusal refused = JobPlanning::checkRun(run, m_state.design.look);
        refused.refused()) {
        m_dialogs.message(m_window, refused.text);
        return false;
    }
    m_state.run = run;
    m_state.runDate = today;
    return true;
}

void WindowRun::showRun()
{
    showSheet();
    m_print.showRun(m_state.run, m_state.start.startPosition, m_state.design.dateAdjust);
    m_print.showOffsets(m_state.start.offsets());
    m_print.resetAppearance(m_state.run.repeatCount);
}

void WindowRun::chooseStartPosition(int position)
{
    m_state.start.startPosition = position;
    // The map shows the position the job will use, saved or not: a failed
    // save keeps the new value, as the error box says.
    m_sync.saveStartFile();
    m_print.showStart(position);
    updateNextLine();
}

void WindowRun::chooseSheet(const SheetChoice& choice)
{
    m_state.sheet = choice;
    if (m_sync.lock()) {
        m_sync.writeState(savedState());
        m_files.unlock();
    }
    showSheet();
    m_print.showStart(m_state.start.startPosition);
    updateNextLine();
}

void WindowRun::showSheet()
{
    m_print.showLabelSheet(m_state.sheet);
    const Sheet& sheet = m_state.sheet.sheet;
    if (m_state.start.startPosition <= sheet.positions())
        return;
    // Never another position of the sheet than the one chosen: its first.
    m_dialogs.message(m_window, tr("開始位置 %1 はシート「%2」にありません（1～%3）。"
                                   "開始位置を 1 にします。")
                                    .arg(m_state.start.startPosition)
                                    .arg(sheet.name)
                                    .arg(sheet.positions()));
    m_state.start.startPosition = 1;
    m_sync.saveStartFile();
}

void WindowRun::chooseOffsets(int horzIndex, int vertIndex)
{
    m_state.start.horzOffsetIndex = horzIndex;
    m_state.start.vertOffsetIndex = vertIndex;
    m_sync.saveStartFile();
}

void WindowRun::refreshRunNumbering()
{
    m_state.run.step = m_state.design.step;
    m_state.run.plainNumbers = m_state.design.plainNumbers;
    if (m_print.isShown())
        m_print.showSample(m_state.run);
}

SheetGeometry::Offsets WindowRun::placement() const
{
    SheetGeometry::Offsets offsets = m_state.start.offsets();
    offsets.scaleX = m_state.scale.x;
    offsets.scaleY = m_state.scale.y;
    return offsets;
}

void WindowRun::updateNextLine()
{
    const QString lower = JobPlanning::firstLabel(m_state.design, m_clock().date()).lower;
    m_design.showNext(tr("次: %1 ・ 開始位置 %2")
                          .arg(lower.isEmpty() ? QStringLiteral("—") : lower)
                          .arg(m_state.start.startPosition));
    // The sample on the print screen shows the same first label.
    if (m_print.isShown())
        m_print.showSample(m_state.run);
}

LabelJobRequest WindowRun::labelRequest(const FolderSnapshot& folder)
{
    LabelJobRequest request;
    // A job printed elsewhere since this window last looked (the command
    // line, another station): the user checks the sample and prints again.
    request.movedSinceShown = adoptFrom(folder.start, folder.state);
    request.design = m_state.design;
    // The numbering the window shows, as the user may have chosen it.
    if (labelType(m_state.design.type).hasNumber())
        request.first = m_state.design.firstNumber;
    request.memoFreeTexts = true;
    request.start = m_state.start.startPosition;
    request.today = m_state.runDate;
    request.ownState = savedState();
    return request;
}

bool WindowRun::adoptChanges()
{
    return adoptFrom(StartFile::read(m_files.startPath()), StateFile::read(m_files.statePath()));
}

bool WindowRun::adoptFrom(const StartFileReadResult& start, const StateFile::ReadResult& state)
{
    // Another Rondelmaker may have printed since this window last looked:
    // the command line on this folder, or any station on the registry (the
    // numbering). Theirs win, so that no label is printed twice.
    bool changed = m_sync.adopt(start, state);
    changed = adoptNumbering() || changed;
    if (changed)
        showAdopted();
    return changed;
}

bool WindowRun::adoptNumbering()
{
    if (!m_registry.adoptNumbering(m_state.design))
        return false;
    // The run frozen for the print screen goes on from there too.
    if (m_print.isShown()) {
        const LabelTypeTraits& traits = labelType(m_state.design.type);
        m_state.run.firstNumber = m_state.design.firstNumber;
        if (traits.letterCount > 0)
            m_state.run.letter1 = m_state.design.letter(traits.letters[0]);
        if (traits.letterCount > 1)
            m_state.run.letter2 = m_state.design.letter(traits.letters[1]);
    }
    return true;
}

void WindowRun::showAdopted()
{
    if (m_print.isShown()) {
        showSheet();
        m_print.showStart(m_state.start.startPosition);
    }
    m_design.showNumbering();
    updateNextLine();
}

SavedState WindowRun::savedState() const
{
    SavedState saved = m_sync.savedState();
    m_registry.markIn(saved);
    return saved;
}
