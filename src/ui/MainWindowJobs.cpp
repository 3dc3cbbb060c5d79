// The main window's jobs: the labels, the preview, the test sheet, the
// record and the spreadsheet.

#include "ui/MainWindow.h"

#include "core/job/JobTransaction.h"
#include "core/layout/SheetLayout.h"
#include "core/registry/RegistryThread.h"
#include "core/render/PrintJob.h"
#include "core/render/PrintRecord.h"
#include "core/render/TestSheet.h"
#include "ui/DesignScreen.h"
#include "ui/Dialogs.h"
#include "ui/FolderSync.h"
#include "ui/PreviewDialog.h"
#include "ui/PrintScreen.h"
#include "ui/PrinterDocument.h"
#include "ui/UserPaths.h"
#include "xls/SpreadsheetExport.h"

#include <QCoreApplication>
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
    JobPlan plan;
    plan.kind = JobKind::Labels;
    return runJob(plan, QString::fromLatin1(LabelsJobName), false);
}

PlanDecision MainWindow::planLabelJob(const FolderSnapshot& folder)
{
    PlanDecision decision;
    if (folder.start.status != StartFileReadResult::Ok) {
        decision.message =
            folder.start.status == StartFileReadResult::Missing
                ? tr("スタートファイルがありません。\n%1").arg(nativePath(m_files->startPath()))
                : folder.start.error;
        return decision;
    }
    // A job printed elsewhere since this window last looked (the command
    // line, another station): the user checks the sample and prints again.
    if (adoptFrom(folder.start, folder.state)) {
        decision.refusal = 1;
        decision.message = tr("ほかの Rondelmaker が印刷したため、開始位置か番号が"
                              "変わりました。見本を確かめて、もう一度 Print "
                              "を押してください。");
        return decision;
    }
    const std::optional<NumberingPosition> at = folder.registry->numbering(m_state.design.type);
    if (!at) {
        decision.message = registryProblem(*folder.registry);
        return decision;
    }
    JobPlan plan;
    plan.design = m_state.design;
    plan.run = m_state.run;
    plan.startPosition = m_state.start.startPosition;
    plan.offsets = placement();
    plan.numberingJobId = at->jobId;
    plan.state = savedState();
    decision.plan = plan;
    return decision;
}

bool MainWindow::allowDuplicates(const QList<IssuedLabel>& issued)
{
    // The first few runs name the labels; the rest only count.
    constexpr int Shown = 8;
    const QStringList lines = describeIssued(issued);
    QString detail = lines.mid(0, Shown).join(QLatin1Char('\n'));
    if (lines.size() > Shown)
        detail += QLatin1Char('\n') + tr("ほか %1 件").arg(lines.size() - Shown);
    return m_dialogs.choose(this,
                            tr("このジョブには、すでに発行したラベルがあります。"
                               "もう一度印刷しますか？"),
                            detail, {tr("印刷しない"), tr("もう一度印刷する")}) == 1;
}

bool MainWindow::runJob(JobPlan reprint, const QString& printerDocName, bool forReprint)
{
    if (!ensureRegistry())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(printerDocName);
    applyChoice(printer, m_state.labelPrinter);
    if (!m_dialogs.choosePrinter(this, printer))
        return false;
    m_state.labelPrinter = choiceOf(printer);
    const QString printerName =
        printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();

    // The window takes no input until the job has ended; it keeps painting.
    m_busy = true;
    m_print->setPrintEnabled(false);
    QProgressDialog progress(this);
    progress.setObjectName(QStringLiteral("printProgress"));
    progress.setWindowTitle(tr("Print"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(500);

    const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(printer, printer.docName());
    JobTransaction transaction(*m_files, *m_registry, Station::ofThisProcess(m_state.appDir),
                               m_clock);
    const JobOutcome outcome = transaction.run(
        *canvas,
        [&](const FolderSnapshot& folder) {
            if (!forReprint) {
                PlanDecision decision = planLabelJob(folder);
                if (decision.plan)
                    decision.plan->printer = printerName;
                return decision;
            }
            PlanDecision decision;
            reprint.offsets = placement();
            reprint.state = savedState();
            reprint.printer = printerName;
            if (folder.start.status == StartFileReadResult::Ok)
                decision.plan = reprint;
            else
                decision.message = folder.start.error;
            return decision;
        },
        [this](const QList<IssuedLabel>& issued) { return allowDuplicates(issued); },
        [&progress](int sheet, int sheetCount) {
            progress.setRange(0, sheetCount);
            progress.setValue(sheet);
            progress.setLabelText(tr("sheet %1 of %2").arg(sheet).arg(sheetCount));
        });
    progress.close();
    m_busy = false;

    for (const QString& note : outcome.notes)
        m_dialogs.message(this, note);
    if (!outcome.printed()) {
        if (outcome.status == JobOutcome::Status::Withdrawn && outcome.refusal == 1) {
            showPrintScreen();
            m_dialogs.message(this, outcome.message);
        } else if (outcome.status == JobOutcome::Status::NotPrinted ||
                   outcome.status == JobOutcome::Status::Withdrawn) {
            m_dialogs.error(this, outcome.message);
        }
        return false;
    }
    if (outcome.job.registryId > m_seenJob)
        m_seenJob = outcome.job.registryId;
    m_state.start.startPosition = outcome.start.startPosition;
    m_sync->tookFromJob(outcome.start, outcome.state);
    if (!forReprint) {
        m_state.lastJob = outcome.job;
        m_state.design = outcome.state.design;
    }
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
    if (m_state.lastJob)
        runRecordJob(*m_state.lastJob);
}

bool MainWindow::runRecordJob(const PrintedJob& job)
{
    const QList<PrintLogEntry> entries = job.sampleEntries();
    if (entries.size() > PrintRecord::MaxEntries) {
        m_dialogs.message(this, tr("ラベル数オーバー（３００以上）です。プリントできません！"));
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(RecordJobName));
    printer.setPageSize(QPageSize(QPageSize::A4));
    applyChoice(printer, m_state.recordPrinter);
    if (!m_dialogs.choosePrinter(this, printer))
        return false;
    m_state.recordPrinter = choiceOf(printer);
    m_dialogs.message(this, tr("A4のコピー用紙をプリンターに入れてください。"));
    const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(printer, printer.docName());
    // Dated by the job, so that the record of a past job reads as it did.
    const QDateTime printedAt = job.printedAt.isValid() ? job.printedAt.toLocalTime() : m_clock();
    if (!PrintRecord::printRecordPages(*canvas, entries, job.look, printedAt)) {
        m_dialogs.error(this, canvas->errorString());
        return false;
    }
    return true;
}

void MainWindow::exportSpreadsheet()
{
    if (m_busy)
        return;
    if (m_state.lastJob)
        writeSpreadsheet(*m_state.lastJob);
}

bool MainWindow::writeSpreadsheet(const PrintedJob& job)
{
    // The job's own type decides, whatever is selected now.
    if (!labelType(job.run.type).listed)
        return false;
    const QString folder =
        m_state.exportFolder.isEmpty() ? documentsFolder() : m_state.exportFolder;
    const QString proposed = QDir(folder).filePath(
        QStringLiteral("labels-%1.xls").arg(m_clock().toString(QStringLiteral("yyyyMMdd-HHmm"))));
    const std::optional<QString> chosen =
        m_dialogs.chooseSaveFile(this, tr("Excel files (*.xls)"), proposed);
    if (!chosen)
        return false;
    const QString path = SpreadsheetExport::fileNameFor(*chosen);
    if (QFileInfo::exists(path) &&
        !m_dialogs.askYesNo(this, tr("同名のファイルがあります。重ねがきしますか？")))
        return false;

    QString error;
    if (!SpreadsheetExport::exportSpreadsheet(path, job.sampleEntries(),
                                              SpreadsheetExport::Colours::of(job.look),
                                              job.printedAt.isValid()
                                                  ? job.printedAt.toLocalTime().date()
                                                  : m_clock().date(),
                                              &error, job.look.code)) {
        m_dialogs.error(this, error);
        return false;
    }
    m_state.exportFolder = QFileInfo(path).absolutePath();
    return true;
}
