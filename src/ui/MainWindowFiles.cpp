// The main window's files and language: the file menu, the saved state
// with the registry's mark, and what other programs changed on the folder
// and the registry.

#include "ui/MainWindow.h"

#include "core/io/RunFiles.h"
#include "core/io/StartFile.h"
#include "core/io/StateFile.h"
#include "core/model/LabelType.h"
#include "ui/DesignFiles.h"
#include "ui/DesignScreen.h"
#include "ui/FolderSync.h"
#include "ui/PrintScreen.h"
#include "ui/WindowLanguage.h"
#include "ui/WindowRegistry.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>

void MainWindow::buildFileMenu()
{
    m_c.fileMenu = menuBar()->addMenu(QString());
    m_c.fileMenu->setObjectName(QStringLiteral("fileMenu"));
    m_designFiles =
        new DesignFiles(m_c.fileMenu, m_state, m_dialogs, this, [this] { return isPrinting(); });
    m_language = new WindowLanguage(m_c.fileMenu, m_state, this);
    m_designFiles->addRecentDesigns(m_c.fileMenu);
    connect(m_designFiles, &DesignFiles::designOpened, this, &MainWindow::showOpenedDesign);
    connect(m_language, &WindowLanguage::chosen, this, [this] {
        retranslate();
        saveState();
    });

    m_c.openAction = m_designFiles->openAction();
    m_c.saveAsAction = m_designFiles->saveAsAction();
    m_c.recentDesignActions = m_designFiles->recentDesignActions();
    m_c.languageMenu = m_language->menu();
    m_c.automaticLanguageAction = m_language->automaticAction();
    m_c.japaneseAction = m_language->japaneseAction();
    m_c.englishAction = m_language->englishAction();
}

void MainWindow::showOpenedDesign()
{
    m_print->setPrintEnabled(true);
    showScreen(Screen::Design);
    arrangeButtonBar(Screen::Design);
    showDesignScreenFromModel();
    m_design->focusFirstInput();
}

void MainWindow::applyLanguage()
{
    m_language->apply();
    retranslate();
}

void MainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMainWindow::changeEvent(event);
}

bool MainWindow::adoptChangesFromElsewhere()
{
    return adoptFrom(StartFile::read(m_files->startPath()), StateFile::read(m_files->statePath()));
}

bool MainWindow::adoptFrom(const StartFileReadResult& start, const StateFile::ReadResult& state)
{
    // Another Rondelmaker may have printed since this window last looked:
    // the command line on this folder, or any station on the registry (the
    // numbering). Theirs win, so that no label is printed twice.
    bool changed = m_sync->adopt(start, state);
    changed = adoptNumbering() || changed;
    if (changed)
        showAdopted();
    return changed;
}

bool MainWindow::adoptNumbering()
{
    if (!m_registry->adoptNumbering(m_state.design))
        return false;
    // The run frozen for the print screen goes on from there too.
    if (m_screen == Screen::Print) {
        const LabelTypeTraits& traits = labelType(m_state.design.type);
        m_state.run.firstNumber = m_state.design.firstNumber;
        if (traits.letterCount > 0)
            m_state.run.letter1 = m_state.design.letter(traits.letters[0]);
        if (traits.letterCount > 1)
            m_state.run.letter2 = m_state.design.letter(traits.letters[1]);
    }
    return true;
}

void MainWindow::showAdopted()
{
    m_design->showNumbering();
    updateNextLine();
}

SavedState MainWindow::savedState() const
{
    SavedState saved = m_sync->savedState();
    m_registry->markIn(saved);
    return saved;
}

bool MainWindow::saveState()
{
    if (!m_sync->lock())
        return false;
    // A job printed elsewhere since this window last looked keeps its
    // numbering and its record.
    adoptChangesFromElsewhere();
    const bool saved = m_sync->writeState(savedState());
    m_files->unlock();
    return saved;
}

bool MainWindow::saveStartFile()
{
    return m_sync->saveStartFile();
}
