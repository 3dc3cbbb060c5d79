#include "ui/TfrmMain.h"

#include "core/io/AtomicFile.h"
#include "core/io/RunFiles.h"
#include "core/io/StartFile.h"
#include "core/io/StateFile.h"
#include "core/model/Freeze.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/render/PrintJob.h"
#include "ui/Controls.h"
#include "ui/DesignScreen.h"
#include "ui/Dialogs.h"
#include "ui/PrintScreen.h"
#include "ui/TAboutBox.h"
#include "ui/UserPaths.h"

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
