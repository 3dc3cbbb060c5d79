#include "ui/MainWindow.h"

#include "core/io/StateFile.h"
#include "core/job/JobTransaction.h"
#include "core/model/LabelType.h"
#include "ui/AboutDialog.h"
#include "ui/ButtonBar.h"
#include "ui/Controls.h"
#include "ui/DesignFiles.h"
#include "ui/DesignScreen.h"
#include "ui/Dialogs.h"
#include "ui/FolderSync.h"
#include "ui/PrintScreen.h"
#include "ui/WindowJobs.h"
#include "ui/WindowLanguage.h"
#include "ui/WindowRegistry.h"
#include "ui/WindowRun.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int ClientWidth = 916;
constexpr int ClientHeight = 616;

} // namespace

MainWindow::MainWindow(Dialogs& dialogs, const QString& appDir, Clock clock, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_clock(std::move(clock))
{
    m_state.appDir = appDir;
    m_files = std::make_unique<RunFiles>(appDir);
    m_sync = std::make_unique<FolderSync>(*m_files, m_state, m_dialogs, this);
    build();
    startFromFiles();
    // A window of its own, kept in front of the main window that it disables.
    m_about = new AboutDialog(this);
    connect(m_about, &AboutDialog::hidden, this, [this] { setEnabled(true); });
}

MainWindow::~MainWindow()
{
    // Widgets going away still send signals (a field losing the focus
    // commits its value): nothing of the window may answer them now.
    m_design->disconnect(this);
    m_print->disconnect(this);
}

void MainWindow::build()
{
    setObjectName(QStringLiteral("mainWindow"));
    // The title is the program's display name, which the platform then does
    // not append a second time.
    setWindowTitle(QStringLiteral("Rondelmaker"));
    setFont(Controls::gothic(15));
    menuBar()->setObjectName(QStringLiteral("mainMenu"));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(client);
    move(104, 40);

    m_buttons = std::make_unique<ButtonBar>(client, m_c);
    m_registry = new WindowRegistry(m_state.appDir, *m_files, m_dialogs, this, m_c.registryLine,
                                    [this] { return isPrinting(); });
    m_jobs = new WindowJobs(m_state, *m_files, *m_sync, *m_registry, m_dialogs, m_clock, this);

    m_c.startupTimer = new QTimer(this);
    m_c.startupTimer->setObjectName(QStringLiteral("startupTimer"));
    m_c.startupTimer->setInterval(100);

    buildFileMenu(); // before the design screen's menus
    m_design = new DesignScreen(client, menuBar(), m_state.design, m_clock);
    m_sheets =
        std::make_unique<SheetCatalogue>(SheetCatalogue::Places::ofThisProgram(m_state.appDir));
    m_print = new PrintScreen(client, m_state.design.look, m_dialogs, *m_sheets);
    m_run = std::make_unique<WindowRun>(m_state, *m_files, *m_sync, *m_registry, *m_design,
                                        *m_print, m_dialogs, m_clock, this);
    retranslate();
    m_design->setShown(false);
    m_print->setShown(false);

    connectControls();
    // Tab follows the work: the type, its texts, the numbering, PrintSet; the
    // map and the print settings; then the button bar. Hidden screens are
    // passed over.
    const QList<QWidget*> order =
        QList<QWidget*>{m_c.typePageTabs} + m_design->tabOrder() + m_print->tabOrder() +
        QList<QWidget*>{m_c.versionButton, m_c.excelButton, m_c.reportButton,
                        m_c.historyButton, m_c.backButton,  m_c.endButton};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    Controls::pressOnEnter(client);
    // Escape leaves the print screen, as Back does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (m_print->isShown())
            backToDesign();
    });
}

void MainWindow::retranslate()
{
    m_buttons->retranslate();
    m_c.fileMenu->setTitle(tr("ファイル"));
    m_designFiles->retranslate();
    m_language->retranslate();

    if (m_design)
        m_design->retranslate();
    if (m_print)
        m_print->retranslate();
    if (m_about)
        m_about->retranslate();
    // Lines made of texts and values: made again once they were shown.
    m_registry->retranslate();
    if (m_design && !m_state.appDir.isEmpty())
        m_run->updateNextLine();
}

void MainWindow::connectControls()
{
    connect(m_c.startupTimer, &QTimer::timeout, this, &MainWindow::finishStartup);
    connect(m_c.endButton, &QToolButton::clicked, this, &MainWindow::endProgram);
    connect(m_c.backButton, &QToolButton::clicked, this, &MainWindow::backToDesign);
    connect(m_c.versionButton, &QToolButton::clicked, this, &MainWindow::showVersion);
    connect(m_c.historyButton, &QToolButton::clicked, this, &MainWindow::showHistory);
    connect(m_c.typePageTabs, &QTabBar::currentChanged, this, &MainWindow::showTypePage);
    connect(m_design, &DesignScreen::printSetRequested, this, &MainWindow::showPrintScreen);
    connect(m_design, &DesignScreen::numberingChanged, this,
            [this] { m_run->refreshRunNumbering(); });
    connect(m_print, &PrintScreen::printRequested, this, &MainWindow::printLabels);
    connect(m_print, &PrintScreen::startPositionChosen, this,
            [this](int position) { m_run->chooseStartPosition(position); });
    connect(m_print, &PrintScreen::sheetChosen, this,
            [this](const SheetChoice& choice) { m_run->chooseSheet(choice); });
    connect(m_print, &PrintScreen::offsetsChosen, this,
            [this](const SheetGeometry::Offsets& offsets) {
                m_run->chooseOffsets(offsets.horzIndex, offsets.vertIndex);
            });
    connect(m_c.reportButton, &QToolButton::clicked, this, &MainWindow::printRecord);
    connect(m_c.excelButton, &QToolButton::clicked, this, &MainWindow::exportSpreadsheet);
    connect(m_design, &DesignScreen::designEdited, this, [this] { m_run->updateNextLine(); });
    connect(m_design, &DesignScreen::typeChanged, this,
            [this](int type) { m_registry->proposeContinuation(m_state.design, type); });
    connect(m_print, &PrintScreen::scaleChosen, this, [this](int scaleX, int scaleY) {
        m_state.scale = {scaleX, scaleY};
        saveState();
    });
    connect(m_print, &PrintScreen::previewRequested, this, [this] {
        if (!isPrinting())
            m_jobs->showPreview(m_run->placement());
    });
    connect(m_print, &PrintScreen::testSheetRequested, this, [this] {
        if (!isPrinting())
            m_jobs->printTestSheet(m_run->placement());
    });
    connectJobs();
}

void MainWindow::connectJobs()
{
    connect(m_jobs, &WindowJobs::jobStarted, this, [this] { m_print->setPrintEnabled(false); });
    connect(m_jobs, &WindowJobs::planMoved, this, &MainWindow::showPrintScreen);
    connect(m_jobs, &WindowJobs::jobPrinted, this, &MainWindow::showJobPrinted);
    connect(m_jobs, &WindowJobs::reported, m_c.statusLine, &QLabel::setText);
    connect(m_registry, &WindowRegistry::answered, this, [this] {
        if (m_run->adoptNumbering()) {
            m_design->showNumbering();
            m_run->updateNextLine();
        }
    });
    connect(m_registry, &WindowRegistry::jobsSettled, this, &MainWindow::showFolderAgain);
}

void MainWindow::startFromFiles()
{
    m_state.closeRequested = false;
    // Without its start values or its registry the window cannot be used:
    // it ends once the message was read.
    if (!m_sync->start()) {
        m_state.closeRequested = true;
        m_c.startupTimer->start();
        return;
    }
    m_state.design = LabelDesign();
    const bool restored =
        m_state.lastJob.has_value() || QFileInfo::exists(StateFile::pathIn(m_state.appDir));
    m_sync->restore();
    applyLanguage();
    if (!m_registry->open(m_sync->syncedState().registry)) {
        m_state.closeRequested = true;
        m_c.startupTimer->start();
        return;
    }
    // A job printed elsewhere since this window last ran moves the numbering on.
    if (m_run->adoptNumbering())
        m_design->showNumbering();
    showDesignScreenFromModel();
    if (!restored)
        m_design->showStartPanels();
    m_print->showOffsets(m_state.start.offsets());
    m_print->showScale(m_state.scale.x, m_state.scale.y);
    showScreen(Screen::Design);
    arrangeButtonBar(Screen::Design);
    scheduleDateRefresh();
}

void MainWindow::showDesignScreenFromModel()
{
    m_design->showDesign();
    {
        // The tab shows the design's page; choosing a tab would select its first type.
        const QSignalBlocker blocker(m_c.typePageTabs);
        m_c.typePageTabs->setCurrentIndex(typePage(m_state.design.type));
    }
    m_print->showAppearance();
    m_designFiles->showRecentDesigns();
    m_run->updateNextLine();
}

void MainWindow::scheduleDateRefresh()
{
    // A window left open overnight shows the new day's date on its previews
    // (the labels take theirs from the clock at PrintSet anyway).
    if (!m_midnight) {
        m_midnight = new QTimer(this);
        m_midnight->setSingleShot(true);
        connect(m_midnight, &QTimer::timeout, this, [this] {
            m_design->showDates();
            scheduleDateRefresh();
        });
    }
    const QDateTime now = m_clock();
    const QDateTime midnight(now.date().addDays(1), QTime(0, 0, 1));
    m_midnight->start(int(std::clamp<qint64>(now.msecsTo(midnight), 1000, 86'400'000)));
}

void MainWindow::finishStartup()
{
    m_c.startupTimer->stop();
    m_design->focusFirstInput();
    if (m_state.closeRequested)
        close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (isPrinting()) {
        event->ignore();
        return;
    }
    // The run goes on where it stands at the next start; a state that cannot
    // be saved is reported, and the user decides whether to end anyway.
    if (!m_state.closeRequested && !saveState() &&
        !m_dialogs.askYesNo(this, tr("状態を保存できませんでした。このまま終了しますか？"))) {
        event->ignore();
        return;
    }
    event->accept();
    if (m_about)
        m_about->hide();
    Q_EMIT windowClosed();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Jobs that may or may not have printed are asked about once the
    // window is there to ask from.
    if (!m_shownOnce) {
        m_shownOnce = true;
        if (!m_state.closeRequested)
            QTimer::singleShot(0, this,
                               [this] { m_registry->askAboutUnresolvedJobs(m_state.design); });
    }
    // What the user types first goes into the type's first input.
    if (!focusWidget())
        m_design->focusFirstInput();
}

void MainWindow::endProgram()
{
    if (isPrinting())
        return;
    close();
}

void MainWindow::backToDesign()
{
    if (isPrinting())
        return;
    m_c.statusLine->clear();
    m_print->takeTypedStart();
    m_print->setPrintEnabled(true);
    showScreen(Screen::Design);
    arrangeButtonBar(Screen::Design);
}

void MainWindow::showVersion()
{
    if (isPrinting())
        return;
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
    setEnabled(false);
    // Disabling the window disables the windows it owns; the dialog stays usable.
    m_about->setEnabled(true);
}

void MainWindow::showScreen(Screen screen)
{
    m_screen = screen;
    const bool design = screen == Screen::Design;
    m_design->setShown(design);
    m_c.typePageTabs->setVisible(design);
    m_print->setShown(!design);
}

void MainWindow::arrangeButtonBar(Screen screen)
{
    m_buttons->arrange(screen == Screen::Print, m_state.lastJob.has_value());
}

void MainWindow::showTypePage(int index)
{
    // Paging through the tabs with the arrow keys keeps the focus on them.
    const bool paging = m_c.typePageTabs->hasFocus();
    m_design->showPage(index);
    if (paging)
        m_c.typePageTabs->setFocus(Qt::TabFocusReason);
}

void MainWindow::showPrintScreen()
{
    if (isPrinting())
        return;
    m_c.statusLine->clear();
    if (!m_run->freezeRun())
        return;
    showScreen(Screen::Print);
    m_run->showRun();
    arrangeButtonBar(Screen::Print);
}

void MainWindow::printLabels()
{
    if (isPrinting())
        return;
    m_c.statusLine->clear();
    m_jobs->printLabels(
        [this](const FolderSnapshot& folder) { return m_run->labelRequest(folder); });
    m_print->setPrintEnabled(true);
}

void MainWindow::printRecord()
{
    if (isPrinting() || !m_state.lastJob)
        return;
    m_c.statusLine->clear();
    m_jobs->printRecord(*m_state.lastJob);
}

void MainWindow::exportSpreadsheet()
{
    if (isPrinting() || !m_state.lastJob)
        return;
    m_c.statusLine->clear();
    m_jobs->writeSpreadsheet(*m_state.lastJob);
}

void MainWindow::showHistory()
{
    if (isPrinting())
        return;
    m_c.statusLine->clear();
    m_jobs->showHistory();
}

void MainWindow::showJobPrinted(const JobOutcome& outcome)
{
    showScreen(Screen::Design);
    arrangeButtonBar(Screen::Design);
    m_design->showNumbering();
    m_run->updateNextLine();
    // Free texts that printed would print again with the next job.
    if (outcome.kind == JobKind::Labels && labelType(outcome.job.run.type).hasFreeTexts() &&
        m_dialogs.choose(this, tr("印刷したサンプルの文字を消しますか？"), QString(),
                         {tr("残す"), tr("消す")}) == 1)
        m_design->clearFreeTexts();
}

void MainWindow::showFolderAgain()
{
    m_run->adoptChanges();
    m_design->showNumbering();
    m_run->updateNextLine();
    arrangeButtonBar(m_screen);
}

LabelRegistry* MainWindow::registry() const
{
    return m_registry->get();
}

void MainWindow::setRegistryPollInterval(int ms)
{
    m_registry->setPollInterval(ms);
}

bool MainWindow::isPrinting() const
{
    return m_jobs && m_jobs->isBusy();
}
