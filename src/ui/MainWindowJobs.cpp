// The main window's jobs: the labels, the preview, the test sheet, the
// record and the spreadsheet.

#include "ui/MainWindow.h"

#include "core/layout/SheetLayout.h"
#include "core/render/PrintJob.h"
#include "core/render/PrintRecord.h"
#include "core/render/TestSheet.h"
#include "ui/DesignScreen.h"
#include "ui/Dialogs.h"
#include "ui/PreviewDialog.h"
#include "ui/PrintScreen.h"
#include "ui/PrinterDocument.h"
#include "ui/UserPaths.h"
#include "xls/SpreadsheetExport.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QPrinter>
#include <QProgressDialog>
#include <QTimer>

void MainWindow::showPreview()
{
    if (m_busy)
        return;
    // The page layout of the printer chosen last, as the job would get it.
    QPrinter printer(QPrinter::HighResolution);
    applyChoice(printer, m_state.labelPrinter);
    const PrintDestination destination = destinationOf(printer, QString());
    auto* preview = new PreviewDialog(
        destination.layout,
        [run = m_state.run, look = m_state.design.look, offsets = placement(),
         start = m_state.start.startPosition](PrintCanvas& canvas) {
            ::runPrintJob(canvas, run, look, offsets, start, {});
        },
        this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowModality(Qt::WindowModal);
    preview->show();
}

void MainWindow::runTestSheetJob()
{
    if (m_busy)
        return;
    // Plain paper, held against a label sheet: it takes nothing from the run
    // and changes nothing.
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(TestSheetJobName));
    applyChoice(printer, m_state.labelPrinter);
    if (!m_dialogs.choosePrinter(this, printer))
        return;
    m_state.labelPrinter = choiceOf(printer);
    const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(printer, printer.docName());
    bool printed = canvas->beginDocument();
    if (printed) {
        printTestSheet(*canvas, placement());
        printed = canvas->endDocument();
    }
    if (!printed) {
        const QString error = canvas->errorString();
        canvas->abort();
        m_dialogs.error(this, error);
    }
}

void MainWindow::printLabels()
{
    if (m_busy)
        return;
    runLabelJob();
    m_print->setPrintEnabled(true);
}

bool MainWindow::runLabelJob()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(LabelsJobName));
    applyChoice(printer, m_state.labelPrinter);
    if (!m_dialogs.choosePrinter(this, printer))
        return false;
    m_state.labelPrinter = choiceOf(printer);

    // The job holds the files from reading the numbering to writing where it
    // ends, so that a job printed elsewhere at the same time cannot take the
    // same numbers.
    if (!lockFiles())
        return false;
    if (adoptChangesFromElsewhere()) {
        m_files->unlock();
        showPrintScreen();
        m_dialogs.message(this, QStringLiteral("ほかの Rondelmaker が印刷したため、開始位置か番号が"
                                               "変わりました。見本を確かめて、もう一度 Print "
                                               "を押してください。"));
        return false;
    }
    const LabelRun run = m_state.run;
    const int start = m_state.start.startPosition;
    // The window takes no input until the job has ended; it keeps painting.
    m_busy = true;
    m_print->setPrintEnabled(false);
    QProgressDialog progress(this);
    progress.setObjectName(QStringLiteral("printProgress"));
    progress.setWindowTitle(QStringLiteral("Print"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(0);
    const int sheets = SheetLayout::countSheets(start, run.labelTotal());
    progress.setRange(0, sheets);
    progress.setLabelText(QStringLiteral("sheet 1 of %1").arg(sheets));
    progress.show();
    QCoreApplication::processEvents();

    const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(printer, printer.docName());
    const PrintJobResult result = ::runPrintJob(
        *canvas, run, m_state.design.look, placement(), start, [&](int sheet, int sheetCount) {
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

    m_state.lastJob = result.job;
    m_state.start.startPosition = result.next.startPosition;
    applyContinuation(m_state.design, run.type, result.next);
    // A start file that cannot be written is reported, but the numbering
    // still moves on: the labels are on paper, and printing them again
    // would give duplicates.
    writeStartFile();
    writeState();
    m_files->unlock();
    showScreen(Screen::Design);
    arrangeButtonBar(Screen::Design);
    m_design->showNumbering();
    updateNextLine();
    return true;
}

void MainWindow::printRecord()
{
    if (m_busy)
        return;
    runRecordJob();
}

bool MainWindow::runRecordJob()
{
    if (!m_state.lastJob)
        return false;
    const PrintedJob& job = *m_state.lastJob;
    const QList<PrintLogEntry> entries = job.sampleEntries();
    if (entries.size() > PrintRecord::MaxEntries) {
        m_dialogs.message(
            this, QStringLiteral("ラベル数オーバー（３００以上）です。プリントできません！"));
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(RecordJobName));
    printer.setPageSize(QPageSize(QPageSize::A4));
    applyChoice(printer, m_state.recordPrinter);
    if (!m_dialogs.choosePrinter(this, printer))
        return false;
    m_state.recordPrinter = choiceOf(printer);
    m_dialogs.message(this, QStringLiteral("A4のコピー用紙をプリンターに入れてください。"));
    const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(printer, printer.docName());
    if (!PrintRecord::printRecordPages(*canvas, entries, job.look, m_clock())) {
        m_dialogs.error(this, canvas->errorString());
        return false;
    }
    return true;
}

void MainWindow::exportSpreadsheet()
{
    if (m_busy)
        return;
    writeSpreadsheet();
}

bool MainWindow::writeSpreadsheet()
{
    // The job's own type decides, whatever is selected now.
    if (!m_state.lastJob || !labelType(m_state.lastJob->run.type).listed)
        return false;
    const PrintedJob& job = *m_state.lastJob;
    const QString folder =
        m_state.exportFolder.isEmpty() ? documentsFolder() : m_state.exportFolder;
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

    QString error;
    if (!SpreadsheetExport::exportSpreadsheet(path, job.sampleEntries(),
                                              SpreadsheetExport::Colours::of(job.look),
                                              m_clock().date(), &error)) {
        m_dialogs.error(this, error);
        return false;
    }
    m_state.exportFolder = QFileInfo(path).absolutePath();
    return true;
}
