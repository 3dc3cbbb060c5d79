// The main window's files and language: the file menu, the saved state
// with the registry's mark, and what other programs changed on the folder
// and the registry.

#include "ui/MainWindow.h"

#include "core/io/RunFiles.h"
#include "core/io/StartFile.h"
#include "core/io/StateFile.h"
#include "ui/DesignFiles.h"
#include "ui/DesignScreen.h"
#include "ui/FolderSync.h"
#include "ui/PrintScreen.h"
#include "ui/WindowLanguage.h"
#include "ui/WindowRun.h"

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

bool MainWindow::saveState()
{
    if (!m_sync->lock())
        return false;
    // A job printed elsewhere since this window last looked keeps its
    // numbering and its record.
    m_run->adoptChanges();
    const bool saved = m_sync->writeState(m_run->savedState());
    m_files->unlock();
    return saved;
}

bool MainWindow::saveStartFile()
{
    return m_sync->saveStartFile();
}
