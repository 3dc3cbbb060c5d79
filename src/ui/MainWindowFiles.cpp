// The main window's files: the start file and the saved state, shared with
// the command line under a lock, and design files.

#include "ui/MainWindow.h"

#include "core/io/DesignFile.h"
#include "core/io/RunFiles.h"
#include "core/io/StartFile.h"
#include "core/io/StateFile.h"
#include "core/registry/RegistryThread.h"
#include "ui/DesignScreen.h"
#include "ui/Dialogs.h"
#include "ui/PrintScreen.h"
#include "ui/UserPaths.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

constexpr int MaxRecentDesigns = 5;

// The window's state and the saved state share these fields; one list, so
// that a field added to both is carried both ways.
template <typename From, typename To>
void copyKeptFields(const From& from, To& to)
{
    to.design = from.design;
    to.lastJob = from.lastJob;
    to.labelPrinter = from.labelPrinter;
    to.recordPrinter = from.recordPrinter;
    to.exportFolder = from.exportFolder;
    to.recentDesigns = from.recentDesigns;
    to.scale = from.scale;
    to.uiLanguage = from.uiLanguage;
}

} // namespace

void MainWindow::buildFileMenu()
{
    m_c.fileMenu = menuBar()->addMenu(QString());
    m_c.fileMenu->setObjectName(QStringLiteral("fileMenu"));
    m_c.openAction = m_c.fileMenu->addAction(QString());
    m_c.openAction->setObjectName(QStringLiteral("openAction"));
    m_c.openAction->setShortcut(QKeySequence::Open);
    connect(m_c.openAction, &QAction::triggered, this, &MainWindow::openDesignFile);
    m_c.saveAsAction = m_c.fileMenu->addAction(QString());
    m_c.saveAsAction->setObjectName(QStringLiteral("saveAsAction"));
    m_c.saveAsAction->setShortcut(QKeySequence::SaveAs);
    connect(m_c.saveAsAction, &QAction::triggered, this, &MainWindow::saveDesignAs);
    buildLanguageMenu();
    m_c.fileMenu->addSeparator();
    for (int i = 0; i < MaxRecentDesigns; ++i) {
        QAction* recent = m_c.fileMenu->addAction(QString());
        recent->setObjectName(QStringLiteral("recentDesign%1").arg(i + 1));
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this, [this, i] {
            if (i < m_state.recentDesigns.size())
                openDesign(m_state.recentDesigns[i]);
        });
        m_c.recentDesignActions[size_t(i)] = recent;
    }
}

void MainWindow::restoreState()
{
    const QString path = StateFile::pathIn(m_state.appDir);
    const StateFile::ReadResult read = StateFile::read(path);
    if (read.status == StateFile::ReadResult::Missing)
        return;
    if (read.status == StateFile::ReadResult::Ok) {
        applySaved(read.state);
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

void MainWindow::applySaved(const SavedState& saved)
{
    copyKeptFields(saved, m_state);
}

bool MainWindow::lockFiles()
{
    QString error;
    if (m_files->lock(&error))
        return true;
    m_dialogs.error(this, error);
    return false;
}

bool MainWindow::adoptChangesFromElsewhere()
{
    return adoptFrom(StartFile::read(m_files->startPath()), StateFile::read(m_files->statePath()));
}

bool MainWindow::adoptFrom(const StartFileReadResult& start, const StateFile::ReadResult& state)
{
    // Another Rondelmaker may have printed since this window last looked:
    // the command line on this folder (its start file and state), or any
    // station on the registry (the numbering). Theirs win, so that no label
    // is printed twice. What this window changed itself stays.
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
        m_syncedState = state.state;
    }
    changed = adoptNumbering() || changed;
    if (changed) {
        m_design->showNumbering();
        updateNextLine();
    }
    return changed;
}

bool MainWindow::writeStartFile()
{
    QString error;
    if (!StartFile::write(m_files->startPath(), m_state.start, &error)) {
        m_dialogs.error(this, error);
        return false;
    }
    m_syncedStart = m_state.start;
    return true;
}

bool MainWindow::writeState()
{
    QString error;
    const SavedState saved = savedState();
    if (!StateFile::write(m_files->statePath(), saved, &error)) {
        m_dialogs.error(
            this,
            tr("状態を保存できません。\n%1\n%2").arg(nativePath(m_files->statePath()), error));
        return false;
    }
    m_syncedState = saved;
    return true;
}

SavedState MainWindow::savedState() const
{
    SavedState saved;
    copyKeptFields(m_state, saved);
    saved.registry = m_syncedState.registry;
    if (m_registry) {
        saved.registry.identity = m_registry->identity();
        saved.registry.seenJob = m_seenJob;
    }
    return saved;
}

bool MainWindow::saveState()
{
    if (!lockFiles())
        return false;
    // A job printed elsewhere since this window last looked keeps its
    // numbering and its record.
    adoptChangesFromElsewhere();
    const bool saved = writeState();
    m_files->unlock();
    return saved;
}

void MainWindow::showRecentDesigns()
{
    for (int i = 0; i < MaxRecentDesigns; ++i) {
        QAction* action = m_c.recentDesignActions[size_t(i)];
        const bool shown = i < m_state.recentDesigns.size();
        action->setVisible(shown);
        if (shown) {
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(
                QFileInfo(m_state.recentDesigns[i]).fileName()));
            action->setToolTip(nativePath(m_state.recentDesigns[i]));
        }
    }
}

void MainWindow::rememberDesign(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_state.recentDesigns.removeAll(absolute);
    m_state.recentDesigns.prepend(absolute);
    while (m_state.recentDesigns.size() > MaxRecentDesigns)
        m_state.recentDesigns.removeLast();
    showRecentDesigns();
}

bool MainWindow::openDesign(const QString& path)
{
    if (m_busy)
        return false;
    QString problem;
    const std::optional<LabelDesign> design = DesignFile::load(path, &problem);
    if (!design) {
        m_dialogs.error(
            this, tr("デザインファイルを開けません。\n%1\n%2").arg(nativePath(path), problem));
        return false;
    }
    m_state.design = *design;
    rememberDesign(path);
    m_print->setPrintEnabled(true);
    showScreen(Screen::Design);
    arrangeButtonBar(Screen::Design);
    showDesignScreenFromModel();
    m_design->focusFirstInput();
    return true;
}

void MainWindow::openDesignFile()
{
    if (m_busy)
        return;
    const QString folder = m_state.recentDesigns.isEmpty()
                               ? documentsFolder()
                               : QFileInfo(m_state.recentDesigns.first()).absolutePath();
    if (const std::optional<QString> path =
            m_dialogs.chooseOpenFile(this, tr("ラベルデザイン (*.json)"), folder))
        openDesign(*path);
}

void MainWindow::saveDesignAs()
{
    if (m_busy)
        return;
    const QString proposed = m_state.recentDesigns.isEmpty()
                                 ? QDir(documentsFolder()).filePath(QStringLiteral("design.json"))
                                 : m_state.recentDesigns.first();
    const std::optional<QString> chosen =
        m_dialogs.chooseSaveFile(this, tr("ラベルデザイン (*.json)"), proposed);
    if (!chosen)
        return;
    const QString path = chosen->endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)
                             ? *chosen
                             : *chosen + QStringLiteral(".json");
    if (QFileInfo::exists(path) &&
        !m_dialogs.askYesNo(this, tr("同名のファイルがあります。重ねがきしますか？")))
        return;
    QString error;
    if (!DesignFile::save(path, m_state.design, &error)) {
        m_dialogs.error(
            this, tr("デザインファイルを保存できません。\n%1\n%2").arg(nativePath(path), error));
        return;
    }
    rememberDesign(path);
}

bool MainWindow::saveStartFile()
{
    // The user's own choice of offsets or start position wins over the file.
    if (!lockFiles())
        return false;
    const bool saved = writeStartFile();
    m_files->unlock();
    return saved;
}
