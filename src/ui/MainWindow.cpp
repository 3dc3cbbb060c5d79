#include "ui/MainWindow.h"

#include "core/io/AtomicFile.h"
#include "core/io/RunFiles.h"
#include "core/io/StartFile.h"
#include "core/io/StateFile.h"
#include "core/job/ReservedJobs.h"
#include "core/model/Freeze.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/registry/RegistryThread.h"
#include "core/registry/SqlRegistry.h"
#include "core/render/PrintJob.h"
#include "ui/AboutDialog.h"
#include "ui/ButtonBar.h"
#include "ui/Controls.h"
#include "ui/DesignFiles.h"
#include "ui/DesignScreen.h"
#include "ui/Dialogs.h"
#include "ui/FolderSync.h"
#include "ui/HistoryDialog.h"
#include "ui/JobQuestion.h"
#include "ui/PrintScreen.h"
#include "ui/UserPaths.h"
#include "ui/WindowLanguage.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int ClientWidth = 916;
constexpr int ClientHeight = 592;

// The files this program saves beside the executable.
const QStringList SavedFileNames = {StartFile::FileName, QString::fromLatin1(StateFile::FileName)};

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

    m_c.typePageTabs = new QTabBar(client);
    Controls::name(m_c.typePageTabs, "typePageTabs");
    for (int page = 0; page < 3; ++page)
        m_c.typePageTabs->addTab(QString());
    m_c.typePageTabs->setGeometry(104, 88, 289, 33);
    m_c.typePageTabs->setExpanding(false);

    m_c.startupTimer = new QTimer(this);
    m_c.startupTimer->setObjectName(QStringLiteral("startupTimer"));
    m_c.startupTimer->setInterval(100);

    buildFileMenu(); // before the design screen's menus
    m_design = new DesignScreen(client, menuBar(), m_state.design, m_clock);
    m_print = new PrintScreen(client, m_state.design.look, m_dialogs);
    retranslate();
    m_design->setShown(false);
    m_print->setShown(false);

    connectControls();
    // Tab follows the work: the type, its texts, the numbering, PrintSet; the
    // map and the print settings; then the button bar. Hidden screens are
    // passed over.
    const QList<QWidget*> order = QList<QWidget*>{m_c.typePageTabs} + m_design->tabOrder() +
                                  m_print->tabOrder() +
                                  QList<QWidget*>{m_c.versionButton, m_c.excelButton,
                                                  m_c.reportButton, m_c.historyButton,
                                                  m_c.backButton, m_c.endButton};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void MainWindow::retranslate()
{
    m_buttons->retranslate();

    m_c.typePageTabs->setAccessibleName(tr("ラベルの種類"));
    m_c.typePageTabs->setTabText(0, tr("Type1-4"));
    m_c.typePageTabs->setTabText(1, tr("Type5-8"));
    m_c.typePageTabs->setTabText(2, tr("Type9-12"));
    // Qt names the tabs' scroll buttons once, as it makes them: named again
    // by Qt's own translation.
    const char* const tabBarTexts = "QTabBar";
    const std::pair<const char*, const char*> scrollButtons[] = {
        {"ScrollLeftButton", "Scroll Left"}, {"ScrollRightButton", "Scroll Right"}};
    for (const auto& [name, text] : scrollButtons) {
        if (auto* button = m_c.typePageTabs->findChild<QToolButton*>(QLatin1String(name)))
            button->setAccessibleName(QCoreApplication::translate(tabBarTexts, text));
    }

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
    if (m_registryPoll)
        showRegistryLine(m_registryReachable);
    if (m_design && !m_state.appDir.isEmpty())
        updateNextLine();
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
    connect(m_design, &DesignScreen::numberingChanged, this, &MainWindow::refreshRunNumbering);
    connect(m_print, &PrintScreen::printRequested, this, &MainWindow::printLabels);
    connect(m_print, &PrintScreen::startPositionChosen, this, &MainWindow::chooseStartPosition);
    connect(m_print, &PrintScreen::offsetsChosen, this,
            [this](const SheetGeometry::Offsets& offsets) {
                chooseOffsets(offsets.horzIndex, offsets.vertIndex);
            });
    connect(m_c.reportButton, &QToolButton::clicked, this, &MainWindow::printRecord);
    connect(m_c.excelButton, &QToolButton::clicked, this, &MainWindow::exportSpreadsheet);
    connect(m_design, &DesignScreen::designEdited, this, &MainWindow::updateNextLine);
    connect(m_design, &DesignScreen::typeChanged, this, &MainWindow::proposeContinuation);
    connect(m_print, &PrintScreen::scaleChosen, this, &MainWindow::chooseScale);
    connect(m_print, &PrintScreen::previewRequested, this, &MainWindow::showPreview);
    connect(m_print, &PrintScreen::testSheetRequested, this, &MainWindow::runTestSheetJob);
}

void MainWindow::startFromFiles()
{
    m_state.closeRequested = false;

    // What saves cut short by a crash or a kill left behind.
    removeStaleTemporaries(m_state.appDir, SavedFileNames);

    const QString path = StartFile::pathIn(m_state.appDir);
    const StartFileReadResult read = StartFile::read(path);
    if (read.status == StartFileReadResult::Missing) {
        m_dialogs.message(nullptr, tr("スタートファイルがありません。"),
                          QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
        m_state.closeRequested = true;
        m_c.startupTimer->start();
        return;
    }
    if (read.status != StartFileReadResult::Ok) {
        // Without its start values the window cannot be used: report and end
        // as for a missing file.
        m_dialogs.error(nullptr, read.error);
        m_state.closeRequested = true;
        m_c.startupTimer->start();
        return;
    }
    m_state.start = read.values;
    m_sync->startFrom(read.values);
    if (m_state.start.startPosition == 0)
        m_state.start.startPosition = 1;

    m_state.design = LabelDesign();
    const bool restored =
        m_state.lastJob.has_value() || QFileInfo::exists(StateFile::pathIn(m_state.appDir));
    m_sync->restore();
    applyLanguage();
    if (!openRegistry()) {
        m_state.closeRequested = true;
        m_c.startupTimer->start();
        return;
    }
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
    updateNextLine();
}

void MainWindow::updateNextLine()
{
    const LabelRun run = freeze(m_state.design, m_clock().date());
    const QString lower = run.labelTotal() > 0 ? composeLabelTexts(run, 0).lower : QString();
    m_design->showNext(tr("次: %1 ・ 開始位置 %2")
                           .arg(lower.isEmpty() ? QStringLiteral("—") : lower)
                           .arg(m_state.start.startPosition));
    // The sample on the print screen shows the same first label.
    if (m_screen == Screen::Print)
        m_print->showSample(m_state.run);
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
    if (m_busy) {
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
            QTimer::singleShot(0, this, &MainWindow::askAboutUnresolvedJobs);
    }
    // What the user types first goes into the type's first input.
    if (!focusWidget())
        m_design->focusFirstInput();
}

void MainWindow::endProgram()
{
    if (m_busy)
        return;
    close();
}

void MainWindow::backToDesign()
{
    if (m_busy)
        return;
    m_print->setPrintEnabled(true);
    showScreen(Screen::Design);
    arrangeButtonBar(Screen::Design);
}

void MainWindow::showVersion()
{
    if (m_busy)
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

void MainWindow::chooseStartPosition(int position)
{
    m_state.start.startPosition = position;
    // The map shows the position the job will use, saved or not: a failed
    // save keeps the new value, as the error box says.
    saveStartFile();
    m_print->showStart(position);
    updateNextLine();
}

SheetGeometry::Offsets MainWindow::placement() const
{
    SheetGeometry::Offsets offsets = m_state.start.offsets();
    offsets.scaleX = m_state.scale.x;
    offsets.scaleY = m_state.scale.y;
    return offsets;
}

void MainWindow::chooseScale(int scaleX, int scaleY)
{
    m_state.scale = {scaleX, scaleY};
    saveState();
}

void MainWindow::chooseOffsets(int horzIndex, int vertIndex)
{
    m_state.start.horzOffsetIndex = horzIndex;
    m_state.start.vertOffsetIndex = vertIndex;
    saveStartFile();
}

void MainWindow::showPrintScreen()
{
    if (m_busy)
        return;
    QString busy;
    if (m_files->lock(&busy, 0)) {
        adoptChangesFromElsewhere();
        m_files->unlock();
    }
    const LabelRun run = freeze(m_state.design, m_clock().date());
    if (run.labelTotal() > MaxLabelsPerJob) {
        m_dialogs.message(this, tr("プリントラベル数は合計で１２００枚までです。"
                                   "枚数をお下げ下さい。"));
        return;
    }
    if (const QString problem = codeProblem(SheetLabels(run), m_state.design.look);
        !problem.isEmpty()) {
        m_dialogs.message(this, problem);
        return;
    }
    m_state.run = run;
    showScreen(Screen::Print);
    m_print->showRun(run, m_state.start.startPosition);
    arrangeButtonBar(Screen::Print);
    m_print->showOffsets(m_state.start.offsets());
    m_print->resetAppearance(run.repeatCount);
}

void MainWindow::refreshRunNumbering()
{
    // The step and the number display take effect each time labels are
    // composed, also after PrintSet.
    m_state.run.step = m_state.design.step;
    m_state.run.plainNumbers = m_state.design.plainNumbers;
    if (m_screen == Screen::Print)
        m_print->showSample(m_state.run);
}

void MainWindow::proposeContinuation(int type)
{
    // With the registry each type goes on where its own last job stopped,
    // as the command line goes on; the user may still choose any first
    // number. A type without a job yet keeps the number shown. A server
    // that did not answer is left alone until it answers again.
    if (!m_registry || !m_registryReachable)
        return;
    const std::optional<NumberingPosition> at = m_registry->numbering(type);
    if (at && at->jobId != 0)
        applyContinuation(m_state.design, type, {0, at->firstNumber, at->letter1, at->letter2});
}

void MainWindow::settleFromHistory(qint64 id, HistoryDialog* history)
{
    if (m_busy || !m_registry)
        return;
    // Only this station's jobs, and only while no job runs on its folder: a
    // job another station or program is printing now is reserved too.
    QString error;
    const std::optional<QList<JobSummary>> jobs = ReservedJobs::confirmPrinted(
        *m_files, *m_registry, Station::ofThisProcess(m_state.appDir), &error, 0);
    if (!jobs) {
        m_dialogs.error(history, error);
        return;
    }
    const auto job = std::find_if(jobs->cbegin(), jobs->cend(),
                                  [id](const JobSummary& j) { return j.id == id; });
    const std::optional<RegistryJob> stored = m_registry->job(id);
    if (job != jobs->cend())
        JobQuestion::ask(m_dialogs, history, *m_files, *m_registry, *job, m_state.design);
    else if (stored && stored->state == JobState::Reserved)
        m_dialogs.message(history, tr("ジョブ %1 は別のステーション（%2）のジョブです。"
                                      "そのステーションで答えてください。")
                                       .arg(id)
                                       .arg(stored->station.shown()));
    adoptChangesFromElsewhere();
    m_design->showNumbering();
    updateNextLine();
    arrangeButtonBar(m_screen);
    history->reload();
}
