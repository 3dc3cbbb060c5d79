#include "ui/TfrmMain.h"

#include "core/io/AtomicFile.h"
#include "core/io/DesignFile.h"
#include "core/io/RunFiles.h"
#include "core/io/StartFile.h"
#include "core/io/StateFile.h"
#include "core/layout/SheetLayout.h"
#include "core/model/Freeze.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/render/PrintJob.h"
#include "core/render/PrintRecord.h"
#include "core/render/TestSheet.h"
#include "ui/Controls.h"
#include "ui/DesignScreen.h"
#include "ui/Dialogs.h"
#include "ui/PreviewDialog.h"
#include "ui/PrintScreen.h"
#include "ui/PrinterDocument.h"
#include "ui/TAboutBox.h"
#include "xls/BiffWorkbook.h"
#include "xls/SpreadsheetExport.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressDialog>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int ClientWidth = 916;
constexpr int ClientHeight = 592;

// The files this program saves beside the executable.
const QStringList SavedFileNames = {StartFile::FileName, QString::fromLatin1(StateFile::FileName)};

constexpr int MaxRecentDesigns = 5;

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString documentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

TfrmMain::TfrmMain(Dialogs& dialogs, const QString& appDir, Clock clock, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_clock(std::move(clock)),
      m_sheetPauseMs(SheetPauseMs)
{
    m_state.AppDir = appDir;
    m_files = std::make_unique<RunFiles>(appDir);
    build();
    FormCreate();
    // A window of its own, kept in front of the main window that it disables.
    m_about = new TAboutBox(this);
    connect(m_about, &TAboutBox::hidden, this, [this] { setEnabled(true); });
}

TfrmMain::~TfrmMain()
{
    // Widgets going away still send signals (a field losing the focus
    // commits its value): nothing of the window may answer them now.
    m_design->disconnect(this);
    m_print->disconnect(this);
}

QToolButton* TfrmMain::makeButton(const char* name, const QString& caption, int styleIcon)
{
    auto* button = new QToolButton(centralWidget());
    Controls::name(button, name, caption);
    button->setText(caption);
    button->setIcon(style()->standardIcon(QStyle::StandardPixmap(styleIcon)));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setGeometry(8, 8, 65, 65);
    return button;
}

void TfrmMain::build()
{
    setObjectName(QStringLiteral("frmMain"));
    // The title is the program's display name, which the platform then does
    // not append a second time.
    setWindowTitle(QStringLiteral("Rondelmaker"));
    setFont(Controls::gothic(15));
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(client);
    move(104, 40);

    m_c.Label4 = Controls::label(client, "Label4", QStringLiteral("Rondelmaker Manager　"), 416, 8);
    m_c.Label4->setFont(Controls::gothic(32, true, true));
    m_c.Label4->adjustSize();
    m_c.Label2 =
        Controls::label(client, "Label2", QStringLiteral("Round Label Printing System"), 536, 56);
    m_c.Label2->setFont(Controls::gothic(24, true, true));
    m_c.Label2->adjustSize();
    for (QLabel* banner : {m_c.Label4, m_c.Label2})
        Controls::setFontColor(banner, QColor(0, 0, 255));

    m_c.cmdVersion =
        makeButton("cmdVersion", QStringLiteral("Version"), QStyle::SP_MessageBoxInformation);
    m_c.cmdExcel = makeButton("cmdExcel", QStringLiteral("Excel"), QStyle::SP_DialogSaveButton);
    m_c.cmdSheet =
        makeButton("cmdSheet", QStringLiteral("Report"), QStyle::SP_FileDialogDetailedView);
    m_c.cmdBack = makeButton("cmdBack", QStringLiteral("Back"), QStyle::SP_ArrowBack);
    m_c.cmdEnd = makeButton("cmdEnd", QStringLiteral("End"), QStyle::SP_DialogCloseButton);
    m_c.cmdEnd->move(80, 8);
    for (QToolButton* button : {m_c.cmdExcel, m_c.cmdSheet, m_c.cmdBack})
        button->hide();

    m_c.TabControl1 = new QTabBar(client);
    Controls::name(m_c.TabControl1, "TabControl1", QStringLiteral("ラベルの種類"));
    m_c.TabControl1->addTab(QStringLiteral("Type1-4"));
    m_c.TabControl1->addTab(QStringLiteral("Type5-8"));
    m_c.TabControl1->addTab(QStringLiteral("Type9-12"));
    m_c.TabControl1->setGeometry(104, 88, 289, 33);
    m_c.TabControl1->setExpanding(false);

    m_c.Timer1 = new QTimer(this);
    m_c.Timer1->setObjectName(QStringLiteral("Timer1"));
    m_c.Timer1->setInterval(100);

    buildFileMenu(); // before the design screen's menus
    m_design = new DesignScreen(client, menuBar(), m_state.Design, m_clock);
    m_print = new PrintScreen(client, m_state.Design.look, m_dialogs);
    m_design->setShown(false);
    m_print->setShown(false);

    connect(m_c.Timer1, &QTimer::timeout, this, &TfrmMain::Timer1Timer);
    connect(m_c.cmdEnd, &QToolButton::clicked, this, &TfrmMain::cmdEndClick);
    connect(m_c.cmdBack, &QToolButton::clicked, this, &TfrmMain::cmdBackClick);
    connect(m_c.cmdVersion, &QToolButton::clicked, this, &TfrmMain::cmdVersionClick);
    connect(m_c.TabControl1, &QTabBar::currentChanged, this, &TfrmMain::TabControl1Change);
    connect(m_design, &DesignScreen::printSetRequested, this, &TfrmMain::cmdPrintSetClick);
    connect(m_design, &DesignScreen::numberingChanged, this, &TfrmMain::refreshRunNumbering);
    connect(m_print, &PrintScreen::printRequested, this, &TfrmMain::cmdPrintClick);
    connect(m_print, &PrintScreen::startPositionChosen, this, &TfrmMain::chooseStartPosition);
    connect(m_print, &PrintScreen::offsetsChosen, this,
            [this](const SheetGeometry::Offsets& offsets) {
                chooseOffsets(offsets.horzIndex, offsets.vertIndex);
            });
    connect(m_c.cmdSheet, &QToolButton::clicked, this, &TfrmMain::cmdSheetClick);
    connect(m_c.cmdExcel, &QToolButton::clicked, this, &TfrmMain::cmdExcelClick);
    connect(m_design, &DesignScreen::designEdited, this, &TfrmMain::updateNextLine);
    connect(m_print, &PrintScreen::scaleChosen, this, &TfrmMain::chooseScale);
    connect(m_print, &PrintScreen::previewRequested, this, &TfrmMain::showPreview);
    connect(m_print, &PrintScreen::testSheetRequested, this, &TfrmMain::printTestSheet);
    // Tab follows the work: the type, its texts, the numbering, PrintSet; the
    // map and the print settings; then the button bar. Hidden screens are
    // passed over.
    const QList<QWidget*> order =
        QList<QWidget*>{m_c.TabControl1} + m_design->tabOrder() + m_print->tabOrder() +
        QList<QWidget*>{m_c.cmdVersion, m_c.cmdExcel, m_c.cmdSheet, m_c.cmdBack, m_c.cmdEnd};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TfrmMain::buildFileMenu()
{
    m_c.FileMenu = menuBar()->addMenu(QStringLiteral("ファイル"));
    m_c.FileMenu->setObjectName(QStringLiteral("FileMenu"));
    m_c.FileOpen = m_c.FileMenu->addAction(QStringLiteral("開く…"));
    m_c.FileOpen->setObjectName(QStringLiteral("FileOpen"));
    m_c.FileOpen->setShortcut(QKeySequence::Open);
    connect(m_c.FileOpen, &QAction::triggered, this, &TfrmMain::FileOpenClick);
    m_c.FileSaveAs = m_c.FileMenu->addAction(QStringLiteral("名前を付けて保存…"));
    m_c.FileSaveAs->setObjectName(QStringLiteral("FileSaveAs"));
    m_c.FileSaveAs->setShortcut(QKeySequence::SaveAs);
    connect(m_c.FileSaveAs, &QAction::triggered, this, &TfrmMain::FileSaveAsClick);
    m_c.FileMenu->addSeparator();
    for (int i = 0; i < MaxRecentDesigns; ++i) {
        QAction* recent = m_c.FileMenu->addAction(QString());
        recent->setObjectName(QStringLiteral("RecentDesign%1").arg(i + 1));
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this, [this, i] {
            if (i < m_state.RecentDesigns.size())
                openDesign(m_state.RecentDesigns[i]);
        });
        m_c.RecentDesigns[size_t(i)] = recent;
    }
}

void TfrmMain::FormCreate()
{
    m_state.CloseRequested = false;

    // What saves cut short by a crash or a kill left behind.
    removeStaleTemporaries(m_state.AppDir, SavedFileNames);

    const QString path = StartFile::pathIn(m_state.AppDir);
    const StartFileReadResult read = StartFile::read(path);
    if (read.status == StartFileReadResult::Missing) {
        m_dialogs.message(nullptr, QStringLiteral("スタートファイルがありません。"),
                          QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
        m_state.CloseRequested = true;
        m_c.Timer1->start();
        return;
    }
    if (read.status != StartFileReadResult::Ok) {
        // Without its start values the window cannot be used: report and end
        // as for a missing file.
        m_dialogs.error(nullptr, read.error);
        m_state.CloseRequested = true;
        m_c.Timer1->start();
        return;
    }
    m_state.Start = read.values;
    m_syncedStart = read.values;
    if (m_state.Start.startPosition == 0)
        m_state.Start.startPosition = 1;

    m_state.Design = LabelDesign();
    const bool restored =
        m_state.LastJob.has_value() || QFileInfo::exists(StateFile::pathIn(m_state.AppDir));
    restoreState();
    showDesignScreenFromModel();
    if (!restored)
        m_design->showStartPanels();
    m_print->showOffsets(m_state.Start.offsets());
    m_print->showScale(m_state.Scale.x, m_state.Scale.y);
    ShowScreen(Screen::Design);
    ArrangeButtonBar(Screen::Design);
    scheduleDateRefresh();
}

void TfrmMain::restoreState()
{
    const QString path = StateFile::pathIn(m_state.AppDir);
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
              (kept.isEmpty()
                   ? QStringLiteral("ファイルを移せませんでした: %1").arg(moveError)
                   : QStringLiteral("元のファイルは %1 として残しました。").arg(nativePath(kept)));
    m_dialogs.message(nullptr,
                      QStringLiteral("前回の状態を読み込めませんでした。次の番号を復元できません。"
                                     "印刷する前に初期値と文字を確かめてください。"),
                      detail);
}

void TfrmMain::applySaved(const SavedState& saved)
{
    m_state.Design = saved.design;
    m_state.LastJob = saved.lastJob;
    m_state.LabelPrinter = saved.labelPrinter;
    m_state.RecordPrinter = saved.recordPrinter;
    m_state.ExportFolder = saved.exportFolder;
    m_state.RecentDesigns = saved.recentDesigns;
    m_state.Scale = saved.scale;
}

bool TfrmMain::lockFiles()
{
    QString error;
    if (m_files->lock(&error))
        return true;
    m_dialogs.error(this, error);
    return false;
}

bool TfrmMain::adoptChangesFromElsewhere()
{
    // Another Rondelmaker (the command line) may have printed since this
    // window last read the files: its start position and numbering win, so
    // that no label is printed twice. What this window changed itself stays.
    bool changed = false;
    const StartFileReadResult start = StartFile::read(m_files->startPath());
    if (start.status == StartFileReadResult::Ok && !(start.values == m_syncedStart)) {
        m_state.Start = start.values;
        if (m_state.Start.startPosition == 0)
            m_state.Start.startPosition = 1;
        m_syncedStart = start.values;
        changed = true;
    }
    const StateFile::ReadResult state = StateFile::read(m_files->statePath());
    if (state.status == StateFile::ReadResult::Ok && !(state.state == m_syncedState)) {
        const LabelDesign& theirs = state.state.design;
        const LabelDesign& before = m_syncedState.design;
        if (theirs.type != before.type || theirs.firstNumber != before.firstNumber ||
            theirs.letters != before.letters) {
            const LabelDesign old = m_state.Design;
            continueNumbering(m_state.Design, theirs);
            changed = changed || !(old == m_state.Design);
        }
        if (state.state.lastJob != m_syncedState.lastJob)
            m_state.LastJob = state.state.lastJob;
        m_syncedState = state.state;
    }
    if (changed) {
        m_design->showNumbering();
        updateNextLine();
    }
    return changed;
}

bool TfrmMain::writeStartFile()
{
    QString error;
    if (!StartFile::write(m_files->startPath(), m_state.Start, &error)) {
        m_dialogs.error(this, error);
        return false;
    }
    m_syncedStart = m_state.Start;
    return true;
}

bool TfrmMain::writeState()
{
    QString error;
    const SavedState saved = savedState();
    if (!StateFile::write(m_files->statePath(), saved, &error)) {
        m_dialogs.error(this, QStringLiteral("状態を保存できません。\n%1\n%2")
                                  .arg(nativePath(m_files->statePath()), error));
        return false;
    }
    m_syncedState = saved;
    return true;
}

SavedState TfrmMain::savedState() const
{
    SavedState saved;
    saved.design = m_state.Design;
    saved.lastJob = m_state.LastJob;
    saved.labelPrinter = m_state.LabelPrinter;
    saved.recordPrinter = m_state.RecordPrinter;
    saved.exportFolder = m_state.ExportFolder;
    saved.recentDesigns = m_state.RecentDesigns;
    saved.scale = m_state.Scale;
    return saved;
}

bool TfrmMain::SaveState()
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

void TfrmMain::showDesignScreenFromModel()
{
    m_design->showDesign();
    {
        // The tab shows the design's page; choosing a tab would select its first type.
        const QSignalBlocker blocker(m_c.TabControl1);
        m_c.TabControl1->setCurrentIndex(labelType(m_state.Design.type).page);
    }
    m_print->showAppearance();
    showRecentDesigns();
    updateNextLine();
}

void TfrmMain::updateNextLine()
{
    const LabelRun run = freeze(m_state.Design, m_clock().date());
    const QString lower = run.labelTotal() > 0 ? ComposeLabelTexts(run, 0).lower : QString();
    m_design->showNext(QStringLiteral("次: %1 ・ 開始位置 %2")
                           .arg(lower.isEmpty() ? QStringLiteral("—") : lower)
                           .arg(m_state.Start.startPosition));
}

void TfrmMain::showRecentDesigns()
{
    for (int i = 0; i < MaxRecentDesigns; ++i) {
        QAction* action = m_c.RecentDesigns[size_t(i)];
        const bool shown = i < m_state.RecentDesigns.size();
        action->setVisible(shown);
        if (shown) {
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(
                QFileInfo(m_state.RecentDesigns[i]).fileName()));
            action->setToolTip(nativePath(m_state.RecentDesigns[i]));
        }
    }
}

void TfrmMain::rememberDesign(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_state.RecentDesigns.removeAll(absolute);
    m_state.RecentDesigns.prepend(absolute);
    while (m_state.RecentDesigns.size() > MaxRecentDesigns)
        m_state.RecentDesigns.removeLast();
    showRecentDesigns();
}

bool TfrmMain::openDesign(const QString& path)
{
    if (m_busy)
        return false;
    QString problem;
    const std::optional<LabelDesign> design = DesignFile::load(path, &problem);
    if (!design) {
        m_dialogs.error(this, QStringLiteral("デザインファイルを開けません。\n%1\n%2")
                                  .arg(nativePath(path), problem));
        return false;
    }
    m_state.Design = *design;
    rememberDesign(path);
    m_print->setPrintEnabled(true);
    ShowScreen(Screen::Design);
    ArrangeButtonBar(Screen::Design);
    showDesignScreenFromModel();
    m_design->focusFirstInput();
    return true;
}

void TfrmMain::FileOpenClick()
{
    if (m_busy)
        return;
    const QString folder = m_state.RecentDesigns.isEmpty()
                               ? documentsFolder()
                               : QFileInfo(m_state.RecentDesigns.first()).absolutePath();
    if (const std::optional<QString> path =
            m_dialogs.chooseOpenFile(this, QStringLiteral("ラベルデザイン (*.json)"), folder))
        openDesign(*path);
}

void TfrmMain::FileSaveAsClick()
{
    if (m_busy)
        return;
    const QString proposed = m_state.RecentDesigns.isEmpty()
                                 ? QDir(documentsFolder()).filePath(QStringLiteral("design.json"))
                                 : m_state.RecentDesigns.first();
    const std::optional<QString> chosen =
        m_dialogs.chooseSaveFile(this, QStringLiteral("ラベルデザイン (*.json)"), proposed);
    if (!chosen)
        return;
    const QString path = chosen->endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)
                             ? *chosen
                             : *chosen + QStringLiteral(".json");
    if (QFileInfo::exists(path) &&
        !m_dialogs.askYesNo(this, QStringLiteral("同名のファイルがあります。重ねがきしますか？")))
        return;
    QString error;
    if (!DesignFile::save(path, m_state.Design, &error)) {
        m_dialogs.error(this, QStringLiteral("デザインファイルを保存できません。\n%1\n%2")
                                  .arg(nativePath(path), error));
        return;
    }
    rememberDesign(path);
}

void TfrmMain::scheduleDateRefresh()
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

void TfrmMain::Timer1Timer()
{
    m_c.Timer1->stop();
    m_design->focusFirstInput();
    if (m_state.CloseRequested)
        close();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (m_busy) {
        event->ignore();
        return;
    }
    // The run goes on where it stands at the next start; a state that cannot
    // be saved is reported, and the user decides whether to end anyway.
    if (!m_state.CloseRequested && !SaveState() &&
        !m_dialogs.askYesNo(this,
                            QStringLiteral("状態を保存できませんでした。このまま終了しますか？"))) {
        event->ignore();
        return;
    }
    event->accept();
    if (m_about)
        m_about->hide();
    Q_EMIT windowClosed();
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // What the user types first goes into the type's first input.
    if (!focusWidget())
        m_design->focusFirstInput();
}

void TfrmMain::cmdEndClick()
{
    if (m_busy)
        return;
    close();
}

void TfrmMain::cmdBackClick()
{
    if (m_busy)
        return;
    m_print->setPrintEnabled(true);
    ShowScreen(Screen::Design);
    ArrangeButtonBar(Screen::Design);
}

void TfrmMain::cmdVersionClick()
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

void TfrmMain::ShowScreen(Screen screen)
{
    m_screen = screen;
    const bool design = screen == Screen::Design;
    m_design->setShown(design);
    m_c.TabControl1->setVisible(design);
    m_print->setShown(!design);
}

void TfrmMain::ArrangeButtonBar(Screen screen)
{
    QList<QToolButton*> row;
    if (m_state.LastJob)
        row << m_c.cmdExcel << m_c.cmdSheet;
    if (screen == Screen::Print)
        row << m_c.cmdBack;
    row << m_c.cmdEnd;
    for (QToolButton* button : {m_c.cmdExcel, m_c.cmdSheet, m_c.cmdBack, m_c.cmdEnd}) {
        const qsizetype at = row.indexOf(button);
        button->setVisible(at >= 0);
        if (at >= 0)
            button->move(80 + 72 * int(at), 8);
    }
}

void TfrmMain::TabControl1Change(int index)
{
    // Paging through the tabs with the arrow keys keeps the focus on them.
    const bool paging = m_c.TabControl1->hasFocus();
    m_design->showPage(index);
    if (paging)
        m_c.TabControl1->setFocus(Qt::TabFocusReason);
}

bool TfrmMain::SaveStartFile()
{
    // The user's own choice of offsets or start position wins over the file.
    if (!lockFiles())
        return false;
    const bool saved = writeStartFile();
    m_files->unlock();
    return saved;
}

void TfrmMain::chooseStartPosition(int position)
{
    m_state.Start.startPosition = position;
    // The map shows the position the job will use, saved or not: a failed
    // save keeps the new value, as the error box says.
    SaveStartFile();
    m_print->showStart(position);
    updateNextLine();
}

SheetGeometry::Offsets TfrmMain::placement() const
{
    SheetGeometry::Offsets offsets = m_state.Start.offsets();
    offsets.scaleX = m_state.Scale.x;
    offsets.scaleY = m_state.Scale.y;
    return offsets;
}

void TfrmMain::chooseScale(int scaleX, int scaleY)
{
    m_state.Scale = {scaleX, scaleY};
    SaveState();
}

void TfrmMain::showPreview()
{
    if (m_busy)
        return;
    // The page layout of the printer chosen last, as the job would get it.
    QPrinter printer(QPrinter::HighResolution);
    applyChoice(printer, m_state.LabelPrinter);
    const PrintDestination destination = destinationOf(printer, QString());
    auto* preview = new PreviewDialog(
        destination.layout,
        [run = m_state.Run, look = m_state.Design.look, offsets = placement(),
         start = m_state.Start.startPosition](PrintCanvas& canvas) {
            ::RunPrintJob(canvas, run, look, offsets, start, {});
        },
        this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowModality(Qt::WindowModal);
    preview->show();
}

void TfrmMain::printTestSheet()
{
    if (m_busy)
        return;
    // Plain paper, held against a label sheet: it takes nothing from the run
    // and changes nothing.
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(TestSheetJobName));
    applyChoice(printer, m_state.LabelPrinter);
    if (!m_dialogs.choosePrinter(this, printer))
        return;
    m_state.LabelPrinter = choiceOf(printer);
    const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(printer, printer.docName());
    bool printed = canvas->beginDocument();
    if (printed) {
        PrintTestSheet(*canvas, placement());
        printed = canvas->endDocument();
    }
    if (!printed) {
        const QString error = canvas->errorString();
        canvas->abort();
        m_dialogs.error(this, error);
    }
}

void TfrmMain::chooseOffsets(int horzIndex, int vertIndex)
{
    m_state.Start.horzOffsetIndex = horzIndex;
    m_state.Start.vertOffsetIndex = vertIndex;
    SaveStartFile();
}

void TfrmMain::cmdPrintSetClick()
{
    if (m_busy)
        return;
    QString busy;
    if (m_files->lock(&busy, 0)) {
        adoptChangesFromElsewhere();
        m_files->unlock();
    }
    const LabelRun run = freeze(m_state.Design, m_clock().date());
    if (run.labelTotal() > MaxLabelsPerJob) {
        m_dialogs.message(this, QStringLiteral("プリントラベル数は合計で１２００枚までです。"
                                               "枚数をお下げ下さい。"));
        return;
    }
    m_state.Run = run;
    ShowScreen(Screen::Print);
    m_print->showRun(run, m_state.Start.startPosition);
    ArrangeButtonBar(Screen::Print);
    m_print->showOffsets(m_state.Start.offsets());
    m_print->resetAppearance(run.repeatCount);
}

void TfrmMain::refreshRunNumbering()
{
    // The step and the number display take effect each time labels are
    // composed, also after PrintSet.
    m_state.Run.step = m_state.Design.step;
    m_state.Run.plainNumbers = m_state.Design.plainNumbers;
    if (m_screen == Screen::Print)
        m_print->showSample(m_state.Run);
}

void TfrmMain::cmdPrintClick()
{
    if (m_busy)
        return;
    RunPrintJob();
    m_print->setPrintEnabled(true);
}

bool TfrmMain::RunPrintJob()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(LabelsJobName));
    applyChoice(printer, m_state.LabelPrinter);
    if (!m_dialogs.choosePrinter(this, printer))
        return false;
    m_state.LabelPrinter = choiceOf(printer);

    // The job holds the files from reading the numbering to writing where it
    // ends, so that a job printed elsewhere at the same time cannot take the
    // same numbers.
    if (!lockFiles())
        return false;
    if (adoptChangesFromElsewhere()) {
        m_files->unlock();
        cmdPrintSetClick();
        m_dialogs.message(this, QStringLiteral("ほかの Rondelmaker が印刷したため、開始位置か番号が"
                                               "変わりました。見本を確かめて、もう一度 Print "
                                               "を押してください。"));
        return false;
    }
    const LabelRun run = m_state.Run;
    const int start = m_state.Start.startPosition;
    // The window takes no input until the job has ended; it keeps painting.
    m_busy = true;
    m_print->setPrintEnabled(false);
    QProgressDialog progress(this);
    progress.setObjectName(QStringLiteral("PrintProgress"));
    progress.setWindowTitle(QStringLiteral("Print"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(0);
    const int sheets = SheetLayout::CountSheets(start, run.labelTotal());
    progress.setRange(0, sheets);
    progress.setLabelText(QStringLiteral("sheet 1 of %1").arg(sheets));
    progress.show();
    QCoreApplication::processEvents();

    const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(printer, printer.docName());
    const PrintJobResult result = ::RunPrintJob(
        *canvas, run, m_state.Design.look, placement(), start, [&](int sheet, int sheetCount) {
            progress.setValue(sheet);
            progress.setLabelText(QStringLiteral("sheet %1 of %2").arg(sheet).arg(sheetCount));
            // A slow label printer takes the sheet before the next arrives.
            if (m_sheetPauseMs > 0) {
                QEventLoop wait;
                QTimer::singleShot(m_sheetPauseMs, &wait, &QEventLoop::quit);
                wait.exec(QEventLoop::ExcludeUserInputEvents);
            }
        });
    progress.close();
    m_busy = false;
    if (!result.ok) {
        m_files->unlock();
        m_dialogs.error(this, result.error);
        return false;
    }

    m_state.LastJob = result.job;
    m_state.Start.startPosition = result.next.startPosition;
    applyContinuation(m_state.Design, run.type, result.next);
    // A start file that cannot be written is reported, but the numbering
    // still moves on: the labels are on paper, and printing them again
    // would give duplicates.
    writeStartFile();
    writeState();
    m_files->unlock();
    ShowScreen(Screen::Design);
    ArrangeButtonBar(Screen::Design);
    m_design->showNumbering();
    updateNextLine();
    return true;
}

void TfrmMain::cmdSheetClick()
{
    if (m_busy)
        return;
    PrintRecord();
}

bool TfrmMain::PrintRecord()
{
    if (!m_state.LastJob)
        return false;
    const PrintedJob& job = *m_state.LastJob;
    const QList<PrintLogEntry> entries = job.sampleEntries();
    if (entries.size() > PrintRecord::MaxEntries) {
        m_dialogs.message(
            this, QStringLiteral("ラベル数オーバー（３００以上）です。プリントできません！"));
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(RecordJobName));
    printer.setPageSize(QPageSize(QPageSize::A4));
    applyChoice(printer, m_state.RecordPrinter);
    if (!m_dialogs.choosePrinter(this, printer))
        return false;
    m_state.RecordPrinter = choiceOf(printer);
    m_dialogs.message(this, QStringLiteral("A4のコピー用紙をプリンターに入れてください。"));
    const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(printer, printer.docName());
    if (!PrintRecord::PrintRecordPages(*canvas, entries, job.look, m_clock())) {
        m_dialogs.error(this, canvas->errorString());
        return false;
    }
    return true;
}

void TfrmMain::cmdExcelClick()
{
    if (m_busy)
        return;
    ExportSpreadsheet();
}

bool TfrmMain::ExportSpreadsheet()
{
    // The job's own type decides, whatever is selected now.
    if (!m_state.LastJob || !labelType(m_state.LastJob->run.type).listed)
        return false;
    const PrintedJob& job = *m_state.LastJob;
    const QString folder =
        m_state.ExportFolder.isEmpty() ? documentsFolder() : m_state.ExportFolder;
    const QString proposed = QDir(folder).filePath(
        QStringLiteral("labels-%1.xls").arg(m_clock().toString(QStringLiteral("yyyyMMdd-HHmm"))));
    const std::optional<QString> chosen =
        m_dialogs.chooseSaveFile(this, QStringLiteral("Excel files (*.xls)"), proposed);
    if (!chosen)
        return false;
    const QString path = SpreadsheetExport::fileNameFor(*chosen);
    if (QFileInfo::exists(path) &&
        !m_dialogs.askYesNo(this, QStringLiteral("同名のファイルがあります。重ねがきしますか？")))
        return false;

    BiffWorkbook book;
    QString error;
    if (!SpreadsheetExport::ExportSpreadsheet(book, path, job.sampleEntries(),
                                              SpreadsheetExport::Colours::of(job.look),
                                              m_clock().date(), &error)) {
        m_dialogs.error(this, error);
        return false;
    }
    m_state.ExportFolder = QFileInfo(path).absolutePath();
    return true;
}
