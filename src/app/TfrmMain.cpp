#include "app/TfrmMain.h"

#include "app/AtomicFile.h"
#include "app/Controls.h"
#include "app/Dialogs.h"
#include "app/ListBox.h"
#include "app/PrinterDocument.h"
#include "app/StartFile.h"
#include "app/TAboutBox.h"
#include "design/ComposeLabelTexts.h"
#include "design/DesignScreen.h"
#include "print/Continuation.h"
#include "print/PrintJob.h"
#include "report/BiffWorkbook.h"
#include "report/PrintRecord.h"
#include "report/SpreadsheetExport.h"
#include "sheet/PrintScreen.h"
#include "sheet/SheetLayout.h"
#include "sheet/SheetMap.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int ClientWidth = 916;
constexpr int ClientHeight = 592;

// The files this program saves beside the executable.
const QStringList SavedFileNames = {StartFile::FileName};

} // namespace

TfrmMain::TfrmMain(Dialogs& dialogs, const QString& appDir, Clock clock, QWidget* parent)
    : QMainWindow(parent), m_dialogs(dialogs), m_clock(std::move(clock)),
      m_sheetPauseMs(SheetPauseMs)
{
    m_state.AppDir = appDir;
    build();
    FormCreate();
    m_about = std::make_unique<TAboutBox>();
    connect(m_about.get(), &TAboutBox::hidden, this, [this] { setEnabled(true); });
}

TfrmMain::~TfrmMain() = default;

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
    setWindowTitle(QStringLiteral("frmMain"));
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
    Controls::name(m_c.TabControl1, "TabControl1");
    m_c.TabControl1->addTab(QStringLiteral("Type1-4"));
    m_c.TabControl1->addTab(QStringLiteral("Type5-8"));
    m_c.TabControl1->addTab(QStringLiteral("Type9-12"));
    m_c.TabControl1->setGeometry(104, 88, 289, 33);
    m_c.TabControl1->setExpanding(false);

    m_c.Timer1 = new QTimer(this);
    m_c.Timer1->setObjectName(QStringLiteral("Timer1"));
    m_c.Timer1->setInterval(100);

    m_design = new DesignScreen(client, menuBar(), m_state, m_clock);
    m_print = new PrintScreen(client, m_state, m_dialogs, [this] { return SaveStartFile(); });

    // Start as the form was designed: Type1 checked without running anything.
    {
        QRadioButton* type1 = m_design->controls().typeButton[1];
        const QSignalBlocker blocker(type1);
        type1->setChecked(true);
    }
    const auto& panels = m_design->controls().typePanel;
    for (int type : {2, 3, 4, 6, 7, 8, 11, 12})
        panels[type]->setEnabled(false);
    m_design->controls().pnlType2->hide();
    m_design->controls().pnlType3->hide();
    m_print->controls().pnlPrint->hide();
    m_print->controls().pnlCircle->hide();

    connect(m_c.Timer1, &QTimer::timeout, this, &TfrmMain::Timer1Timer);
    connect(m_c.cmdEnd, &QToolButton::clicked, this, &TfrmMain::cmdEndClick);
    connect(m_c.cmdBack, &QToolButton::clicked, this, &TfrmMain::cmdBackClick);
    connect(m_c.cmdVersion, &QToolButton::clicked, this, &TfrmMain::cmdVersionClick);
    connect(m_c.TabControl1, &QTabBar::currentChanged, this, &TfrmMain::TabControl1Change);
    connect(m_design->controls().cmdPrintSet, &QPushButton::clicked, this,
            &TfrmMain::cmdPrintSetClick);
    connect(m_design, &DesignScreen::numberingChanged, this, &TfrmMain::refreshRunNumbering);
    connect(m_print->controls().cmdPrint, &QPushButton::clicked, this, &TfrmMain::cmdPrintClick);
    connect(m_c.cmdSheet, &QToolButton::clicked, this, &TfrmMain::cmdSheetClick);
    connect(m_c.cmdExcel, &QToolButton::clicked, this, &TfrmMain::cmdExcelClick);
}

void TfrmMain::FormCreate()
{
    m_state.HorzOffsetIndex = 0;
    m_state.VertOffsetIndex = 0;
    m_design->controls().ListBox1->selectRow(0);
    m_state.HasPrinted = false;
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
    m_state.HorzOffsetIndex = read.values.horzOffsetIndex;
    m_state.VertOffsetIndex = read.values.vertOffsetIndex;
    m_state.StartPosition = read.values.startPosition;
    m_state.StartFileNote = read.values.note;
    if (m_state.StartPosition == 0)
        m_state.StartPosition = 1;

    // Layout: the sheet map stands left of the print panel, the type pages
    // over the design panel.
    const PrintControls& pc = m_print->controls();
    pc.pnlCircle->move(pc.pnlPrint->x() - pc.pnlCircle->width(), pc.pnlPrint->y());
    const DesignControls& dc = m_design->controls();
    for (QWidget* page : {dc.PnlType1, dc.pnlType2, dc.pnlType3}) {
        page->move(dc.pnlMain->pos());
        page->raise();
    }

    m_design->fillStartLists();
    ShowScreen(Screen::Design);
    m_state.LabelType = 1;
    ArrangeButtonBar(Screen::Design);
    m_design->RightAlignEdits();

    m_state.LabelFont = QFont(QStringLiteral("ＭＳ Ｐゴシック"));
    m_state.LabelFont.setBold(true);
    m_state.LabelFont.setPointSize(9);
    m_state.LabelFontColor = QColor(0, 0, 0);

    m_design->setStartDates();
    m_design->selectStartLetters();
    m_print->fillStartLists();
    m_print->selectOffsets();
    m_state.SheetShapes.fill(QColor(255, 255, 255));

    m_state.SampleCount = 30;
    m_state.NumberStep = 1;
    m_state.FirstNumber = 1;

    m_design->GreyAllPreviews();
    Controls::setFontColor(dc.Label3, Qt::black);
    Controls::setFontColor(dc.Edit1, Qt::black);
    m_design->ShowDateAdjust(false);
}

void TfrmMain::Timer1Timer()
{
    m_c.Timer1->stop();
    const DesignControls& dc = m_design->controls();
    if (dc.Edit1->isVisible() && dc.pnlMain->isVisible())
        dc.Edit1->setFocus(Qt::OtherFocusReason);
    if (m_state.CloseRequested)
        close();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (m_busy) {
        event->ignore();
        return;
    }
    event->accept();
    if (m_about)
        m_about->hide();
    Q_EMIT windowClosed();
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
    m_print->controls().cmdPrint->setEnabled(true);
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
}

void TfrmMain::ShowScreen(Screen screen)
{
    const DesignControls& dc = m_design->controls();
    const PrintControls& pc = m_print->controls();
    m_screen = screen;
    const bool design = screen == Screen::Design;
    const int type = m_state.LabelType;
    QWidget* page = type >= 5 && type <= 8    ? dc.pnlType2
                    : type >= 9 && type <= 12 ? dc.pnlType3
                                              : dc.PnlType1;
    dc.pnlMain->setVisible(design);
    m_c.TabControl1->setVisible(design);
    for (QWidget* p : {dc.PnlType1, dc.pnlType2, dc.pnlType3})
        p->setVisible(design && p == page);
    pc.pnlPrint->setVisible(!design);
    pc.pnlCircle->setVisible(!design);
}

void TfrmMain::ArrangeButtonBar(Screen screen)
{
    QList<QToolButton*> row;
    if (m_state.HasPrinted)
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
    const DesignControls& dc = m_design->controls();
    QWidget* pages[3] = {dc.PnlType1, dc.pnlType2, dc.pnlType3};
    if (index < 0 || index > 2)
        return;
    for (int p = 0; p < 3; ++p)
        pages[p]->setVisible(p == index);
    const int firstType[3] = {1, 5, 9};
    // Checking runs the type's handler when it was not checked before.
    dc.typeButton[firstType[index]]->setChecked(true);
    // Types 9..12 take their sample count from the free-text lines.
    if (index < 2)
        dc.ListBox2->selectRow(m_state.SampleCount - 1);
}

bool TfrmMain::SaveStartFile()
{
    StartFileValues values;
    values.horzOffsetIndex = m_state.HorzOffsetIndex;
    values.vertOffsetIndex = m_state.VertOffsetIndex;
    values.startPosition = m_state.StartPosition;
    values.note = m_state.StartFileNote;
    QString error;
    if (!StartFile::write(StartFile::pathIn(m_state.AppDir), values, &error)) {
        m_dialogs.error(this, error);
        return false;
    }
    return true;
}

void TfrmMain::cmdPrintSetClick()
{
    if (m_busy)
        return;
    // 1. The free texts of types 9..12: the leading non-empty lines of Memo1.
    if (m_state.LabelType > 8) {
        const QStringList texts = m_design->takeFreeTexts();
        const int n = int(texts.size());
        for (int i = 0; i < MaxFreeTexts; ++i)
            m_state.FreeTexts[i] = i < n ? texts[i] : QString();
        m_state.FreeTextCount = n;
        m_state.SampleCount = n;
    }
    // 2. The limit of one job.
    const int total = m_state.SampleCount * m_state.RepeatCount;
    if (total > MaxLabelsPerJob) {
        m_dialogs.message(this, QStringLiteral("プリントラベル数は合計で１２００枚までです。"
                                               "枚数をお下げ下さい。"));
        return;
    }
    m_state.LabelTotal = total;
    // 3. The print screen with the sheets of this run.
    ShowScreen(Screen::Print);
    m_print->CountSheets();
    // 4. The first number wraps into its range (it is kept there anyway),
    // then the run is frozen and its first label shown.
    const int range = numberRange(m_state.LabelType);
    if (range > 0 && m_state.FirstNumber > range)
        m_state.FirstNumber -= range;
    m_state.Run = m_design->currentRun();
    m_print->showSample(m_state.Run);
    // 5.-9.
    ArrangeButtonBar(Screen::Print);
    m_print->selectOffsets();
    m_print->resetAppearance(m_state.RepeatCount);
}

void TfrmMain::refreshRunNumbering()
{
    // The step and the number display take effect each time labels are
    // composed, also after PrintSet.
    m_state.Run.step = m_state.NumberStep;
    m_state.Run.plainNumbers = m_state.PlainNumbers != 0;
    if (m_screen == Screen::Print)
        m_print->showSample(m_state.Run);
}

void TfrmMain::cmdPrintClick()
{
    if (m_busy)
        return;
    // Type1 without an upper line prints its number centred; that type
    // lives only inside the job.
    if (m_state.LabelType == 1 && m_design->controls().Edit1->text().isEmpty())
        m_state.LabelType = 13;
    const bool printed = RunPrintJob();
    if (printed)
        continueAfterJob();
    if (m_state.LabelType == 13)
        m_state.LabelType = 1;
    m_print->controls().cmdPrint->setEnabled(true);
}

bool TfrmMain::RunPrintJob()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Rondelmaker"));
    if (!m_dialogs.choosePrinter(this, printer))
        return false;

    LabelRun& run = m_state.Run;
    const int frozenType = run.type;
    run.type = m_state.LabelType; // 13 for a Type1 run without its upper line

    // The window takes no input until the job has ended; it keeps painting.
    m_busy = true;
    m_print->controls().cmdPrint->setEnabled(false);
    QProgressDialog progress(this);
    progress.setObjectName(QStringLiteral("PrintProgress"));
    progress.setWindowTitle(QStringLiteral("Print"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(0);
    const int sheets = SheetLayout::CountSheets(m_state.StartPosition, run.labelTotal());
    progress.setRange(0, sheets);
    progress.setLabelText(QStringLiteral("sheet 1 of %1").arg(sheets));
    progress.show();
    QCoreApplication::processEvents();

    const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(printer, printer.docName());
    const PrintJobResult result =
        ::RunPrintJob(*canvas, m_state, m_print->appearance(), [&](int sheet, int sheetCount) {
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
    run.type = frozenType;
    m_busy = false;
    if (!result.ok) {
        m_dialogs.error(this, result.error);
        return false;
    }
    return true;
}

void TfrmMain::continueAfterJob()
{
    const LabelRun& run = m_state.Run;
    const Continuation next = ContinueAfterJob(run, m_state.StartPosition);
    m_state.StartPosition = next.startPosition;
    m_design->selectLetters(run.type, next.letter1, next.letter2);
    // A start file that cannot be written is reported, but the numbering
    // still moves on: the labels are on paper, and printing them again
    // would give duplicates.
    SaveStartFile();
    ShowScreen(Screen::Design);
    ArrangeButtonBar(Screen::Design);
    if (numberRange(run.type) > 0) {
        m_state.FirstNumber = next.firstNumber;
        m_design->controls().ListBox12->selectRow(m_state.FirstNumber);
        m_design->ShowFirstNumber(m_state.PlainNumbers != 0);
    }
}

void TfrmMain::cmdSheetClick()
{
    if (m_busy)
        return;
    PrintRecord();
}

bool TfrmMain::PrintRecord()
{
    const QList<PrintLogEntry> entries = PrintRecord::entriesOfLastJob(m_state);
    if (entries.size() > PrintRecord::MaxEntries) {
        m_dialogs.message(
            this, QStringLiteral("ラベル数オーバー（３００以上）です。プリントできません！"));
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("ラベルプリント記録"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (!m_dialogs.choosePrinter(this, printer))
        return false;
    m_dialogs.message(this, QStringLiteral("A4のコピー用紙をプリンターに入れてください。"));
    const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(printer, printer.docName());
    if (!PrintRecord::PrintRecordPages(*canvas, entries, m_print->appearance(),
                                       m_clock().time())) {
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
    if (m_state.LabelType == 8)
        return false;
    const std::optional<QString> chosen =
        m_dialogs.chooseSaveFile(this, QStringLiteral("Excel files (*.xls)"));
    if (!chosen)
        return false;
    const QString path = SpreadsheetExport::fileNameFor(*chosen);
    if (QFileInfo::exists(path) &&
        !m_dialogs.askYesNo(this, QStringLiteral("同名のファイルがあります。重ねがきしますか？")))
        return false;

    SpreadsheetExport::Colours colours;
    const PrintAppearance look = m_print->appearance();
    colours.textIndex = look.textColorIndex;
    colours.backgroundIndex = look.backgroundIndex;
    colours.custom = look.customColor;
    BiffWorkbook book;
    QString error;
    if (!SpreadsheetExport::ExportSpreadsheet(book, path, PrintRecord::entriesOfLastJob(m_state),
                                              colours, m_clock().date(), &error)) {
        m_dialogs.error(this, error);
        return false;
    }
    return true;
}
