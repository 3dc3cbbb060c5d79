#include "ui/WindowJobs.h"

#include "core/job/JobTransaction.h"
#include "core/job/Reprint.h"
#include "core/model/LabelType.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/render/PrintJob.h"
#include "core/render/PrintRecord.h"
#include "core/render/TestSheet.h"
#include "ui/Dialogs.h"
#include "ui/FolderSync.h"
#include "ui/HistoryDialog.h"
#include "ui/JobLines.h"
#include "ui/PreviewDialog.h"
#include "ui/PrinterDocument.h"
#include "ui/ReprintDialog.h"
#include "ui/UserPaths.h"
#include "ui/WindowRegistry.h"
#include "ui/WorkingState.h"
#include "xls/SpreadsheetExport.h"

#include <QFileInfo>
#include <QPrinter>
#include <QProgressDialog>

namespace {

// The printer as the history and the status line name it: the queue, or
// the PDF file.
QString printerShown(const QPrinter& printer)
{
    return printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
}

} // namespace

WindowJobs::WindowJobs(WorkingState& state, RunFiles& files, FolderSync& sync,
                       WindowRegistry& registry, Dialogs& dialogs, Clock clock, QWidget* window)
    : QObject(window), m_state(state), m_files(files), m_sync(sync), m_registry(registry),
      m_dialogs(dialogs), m_clock(std::move(clock)), m_window(window)
{
}

void WindowJobs::showPreview(const SheetGeometry::Offsets& offsets)
{
    // The page layout of the printer chosen last, as the job would get it.
    QPrinter printer(QPrinter::HighResolution);
    applyChoice(printer, m_state.labelPrinter);
    applySheet(printer, m_state.sheet.sheet);
    const PrintDestination destination = destinationOf(printer, QString());
    auto* preview = new PreviewDialog(
        destination.layout,
        [sheet = m_state.sheet.sheet, run = m_state.run, look = m_state.design.look, offsets,
         start = m_state.start.startPosition](PrintCanvas& canvas) {
            ::runPrintJob(canvas, sheet, SheetLabels(run), look, offsets, start, {});
        },
        m_window);
    preview->showDiscs(m_state.sheet.sheet, offsets);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowModality(Qt::WindowModal);
    preview->show();
}

void WindowJobs::printTestSheet(const SheetGeometry::Offsets& offsets)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(TestSheetJobName));
    applyChoice(printer, m_state.labelPrinter);
    applySheet(printer, m_state.sheet.sheet);
    if (!m_dialogs.choosePrinter(m_window, printer))
        return;
    m_state.labelPrinter = choiceOf(printer);
    const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(printer, printer.docName());
    bool printed = canvas->beginDocument();
    if (printed) {
        ::printTestSheet(*canvas, m_state.sheet.sheet, offsets);
        printed = canvas->endDocument();
    }
    if (!printed) {
        const QString error = canvas->errorString();
        canvas->abort();
        m_dialogs.error(m_window, error);
    }
}

bool WindowJobs::printLabels(const LabelRequestOf& requestOf)
{
    const QString first = m_state.run.labelTotal() > 0
                              ? labelText(PrintLogEntry{composeLabelTexts(m_state.run, 0).upper,
                                                        composeLabelTexts(m_state.run, 0).lower})
                              : QString();
    return run(
        [&requestOf](const FolderSnapshot& folder, const QString& printer) {
            LabelJobRequest request = requestOf(folder);
            request.printer = printer;
            return JobPlanning::planLabels(request, folder);
        },
        first);
}

bool WindowJobs::reprint(const RegistryJob& job, const QList<int>& labels, int startPosition)
{
    const QList<PrintLogEntry>& printed = job.job.labels;
    const int firstIndex = labels.isEmpty() ? -1 : labels.first();
    const QString first =
        firstIndex >= 0 && firstIndex < printed.size() ? labelText(printed[firstIndex]) : QString();
    return run(
        [&, this](const FolderSnapshot& folder, const QString& printer) {
            return JobPlanning::planReprint({job, labels, startPosition, printer, ownState(), {}},
                                            folder);
        },
        first);
}

SavedState WindowJobs::ownState() const
{
    SavedState saved = m_sync.savedState();
    m_registry.markIn(saved);
    return saved;
}

bool WindowJobs::run(const Planner& plan, const QString& firstLabel)
{
    LabelRegistry* registry = m_registry.ensure();
    if (!registry)
        return false;
    QPrinter printer(QPrinter::HighResolution);
    if (!chooseLabelPrinter(printer, firstLabel))
        return false;
    const JobOutcome outcome = transact(printer, *registry, plan);
    showOutcome(outcome);
    if (!outcome.printed())
        return false;
    takeOutcome(outcome);
    const bool reprint = outcome.kind == JobKind::Reprint;
    const QString next = !reprint && labelType(m_state.design.type).hasNumber()
                             ? JobPlanning::firstLabel(m_state.design, m_clock().date()).lower
                             : QString();
    Q_EMIT reported(JobLines::printed(outcome.job, reprint, printerShown(printer), next,
                                      outcome.start.startPosition));
    Q_EMIT jobPrinted(outcome);
    return true;
}

bool WindowJobs::chooseLabelPrinter(QPrinter& printer, const QString& firstLabel)
{
    printer.setDocName(QString::fromLatin1(LabelsJobName));
    applyChoice(printer, m_state.labelPrinter);
    applySheet(printer, m_state.sheet.sheet);
    // A file of its own for each job, beside the last one, so that a careless
    // Enter does not print over the last job's PDF.
    if (!m_state.labelPrinter.pdfFile.isEmpty())
        printer.setOutputFileName(JobLines::pdfName(
            QFileInfo(m_state.labelPrinter.pdfFile).absolutePath(), m_clock(), firstLabel));
    // Qt's print dialog asks before it lets a file be printed over.
    if (!m_dialogs.choosePrinter(m_window, printer))
        return false;
    m_state.labelPrinter = choiceOf(printer);
    return true;
}

JobOutcome WindowJobs::transact(QPrinter& printer, LabelRegistry& registry, const Planner& plan)
{
    const QString printerName = printerShown(printer);
    // The window takes no input until the job has ended; it keeps painting.
    m_busy = true;
    Q_EMIT jobStarted();
    // The progress window is made once the first sheet is drawn: made
    // earlier, its own timer would show it, empty and modal, over the
    // question about labels issued before, which then could not be answered.
    std::unique_ptr<QProgressDialog> progress;
    const auto showProgress = [this, &progress](int sheet, int sheetCount) {
        if (!progress) {
            progress = std::make_unique<QProgressDialog>(m_window);
            progress->setObjectName(QStringLiteral("printProgress"));
            progress->setWindowTitle(tr("Print"));
            progress->setWindowModality(Qt::WindowModal);
            progress->setCancelButton(nullptr);
            progress->setMinimumDuration(ProgressDelayMs);
        }
        progress->setRange(0, sheetCount);
        progress->setLabelText(tr("sheet %1 of %2").arg(sheet).arg(sheetCount));
        progress->setValue(sheet);
    };

    const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(printer, printer.docName());
    JobTransaction transaction(m_files, registry, Station::ofThisProcess(m_state.appDir), m_clock);
    const JobOutcome outcome = transaction.run(
        *canvas, [&](const FolderSnapshot& folder) { return plan(folder, printerName); },
        [this](const QList<IssuedLabel>& issued) { return allowDuplicates(issued); }, showProgress);
    progress.reset();
    m_busy = false;
    return outcome;
}

bool WindowJobs::allowDuplicates(const QList<IssuedLabel>& issued)
{
    // The first few runs name the labels; the rest only count.
    constexpr int Shown = 8;
    const QStringList lines = describeIssued(issued);
    QString detail = lines.mid(0, Shown).join(QLatin1Char('\n'));
    if (lines.size() > Shown)
        detail += QLatin1Char('\n') + tr("ほか %1 件").arg(lines.size() - Shown);
    return m_dialogs.choose(m_window,
                            tr("このジョブには、すでに発行したラベルがあります。"
                               "もう一度印刷しますか？"),
                            detail, {tr("印刷しない"), tr("もう一度印刷する")}) == 1;
}

void WindowJobs::showOutcome(const JobOutcome& outcome)
{
    // Only the outcome's own words: a round planned again said nothing.
    for (const QString& note : outcome.notes)
        m_dialogs.message(m_window, note);
    switch (outcome.status) {
    case JobOutcome::Status::Printed:
    case JobOutcome::Status::Declined: // the user said so in the question
        return;
    case JobOutcome::Status::Withdrawn:
        // What the user can change is said plainly, as PrintSet says it;
        // what went wrong with the folder or the registry is an error.
        if (outcome.refusal.reason == JobRefusal::Reason::Moved) {
            Q_EMIT planMoved();
            m_dialogs.message(m_window, outcome.refusal.text);
        } else if (!outcome.refusal.input.isEmpty()) {
            m_dialogs.message(m_window, outcome.refusal.text);
        } else {
            m_dialogs.error(m_window, outcome.refusal.text);
        }
        return;
    case JobOutcome::Status::NotPrinted:
        m_dialogs.error(m_window, outcome.message);
        return;
    }
}

void WindowJobs::takeOutcome(const JobOutcome& outcome)
{
    m_registry.sawJob(outcome.job.registryId);
    m_state.start.startPosition = outcome.start.startPosition;
    m_sync.tookFromJob(outcome.start, outcome.state);
    // A reprint moves the start position on, never the design's numbering.
    if (outcome.kind == JobKind::Labels) {
        m_state.lastJob = outcome.job;
        m_state.design = outcome.state.design;
    }
}

bool WindowJobs::printRecord(const PrintedJob& job)
{
    const QList<PrintLogEntry> entries = job.sampleEntries();
    if (entries.size() > PrintRecord::MaxEntries) {
        m_dialogs.message(m_window, tr("ラベル数オーバー（３００以上）です。プリントできません！"));
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(RecordJobName));
    printer.setPageSize(QPageSize(QPageSize::A4));
    applyChoice(printer, m_state.recordPrinter);
    if (!m_dialogs.choosePrinter(m_window, printer))
        return false;
    m_state.recordPrinter = choiceOf(printer);
    // A file needs no paper.
    if (printer.outputFormat() != QPrinter::PdfFormat)
        m_dialogs.message(m_window, tr("A4のコピー用紙をプリンターに入れてください。"));
    const std::unique_ptr<PrintCanvas> canvas = openPrintDocument(printer, printer.docName());
    // Dated by the job, so that the record of a past job reads as it did.
    const QDateTime printedAt = job.printedAt.isValid() ? job.printedAt.toLocalTime() : m_clock();
    if (!PrintRecord::printRecordPages(*canvas, entries, job.look, printedAt)) {
        m_dialogs.error(m_window, canvas->errorString());
        return false;
    }
    Q_EMIT reported(JobLines::recordPrinted(job, printerShown(printer),
                                            printer.outputFormat() == QPrinter::PdfFormat));
    return true;
}

bool WindowJobs::writeSpreadsheet(const PrintedJob& job)
{
    // The job's own type decides, whatever is selected now.
    if (!labelType(job.run.type).listed)
        return false;
    const QString folder =
        m_state.exportFolder.isEmpty() ? documentsFolder() : m_state.exportFolder;
    const QString proposed = QDir(folder).filePath(
        QStringLiteral("labels-%1.xls").arg(m_clock().toString(QStringLiteral("yyyyMMdd-HHmm"))));
    const std::optional<QString> chosen =
        m_dialogs.chooseSaveFile(m_window, tr("Excel files (*.xls)"), proposed);
    if (!chosen)
        return false;
    const QString path = SpreadsheetExport::fileNameFor(*chosen);
    if (QFileInfo::exists(path) &&
        !m_dialogs.askYesNo(m_window, tr("同名のファイルがあります。重ねがきしますか？")))
        return false;

    QString error;
    if (!SpreadsheetExport::exportSpreadsheet(
            path, job.sampleEntries(), SpreadsheetExport::Colours::of(job.look),
            job.printedAt.isValid() ? job.printedAt.toLocalTime().date() : m_clock().date(), &error,
            job.look.code)) {
        m_dialogs.error(m_window, error);
        return false;
    }
    m_state.exportFolder = QFileInfo(path).absolutePath();
    Q_EMIT reported(JobLines::spreadsheetSaved(path));
    return true;
}

void WindowJobs::showHistory()
{
    LabelRegistry* registry = m_busy ? nullptr : m_registry.ensure();
    if (!registry)
        return;
    auto* history = new HistoryDialog(*registry, m_window);
    history->setAttribute(Qt::WA_DeleteOnClose);
    history->setWindowModality(Qt::WindowModal);
    const auto jobOf = [this](qint64 id) {
        LabelRegistry* now = m_registry.get();
        std::optional<RegistryJob> job = now ? now->job(id) : std::nullopt;
        if (!job)
            m_dialogs.error(m_window, now ? now->errorString() : m_registry.problem());
        return job;
    };
    connect(history, &HistoryDialog::recordRequested, this, [this, jobOf](qint64 id) {
        if (const std::optional<RegistryJob> job = jobOf(id))
            printRecord(job->job);
    });
    connect(history, &HistoryDialog::spreadsheetRequested, this, [this, jobOf](qint64 id) {
        if (const std::optional<RegistryJob> job = jobOf(id))
            writeSpreadsheet(job->job);
    });
    connect(history, &HistoryDialog::reprintRequested, this, [this, jobOf, history](qint64 id) {
        const std::optional<RegistryJob> job = jobOf(id);
        if (!job)
            return;
        auto* dialog = new ReprintDialog(*job, m_state.start.startPosition,
                                         m_state.sheet.sheet.positions(), history);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setWindowModality(Qt::WindowModal);
        connect(dialog, &QDialog::accepted, this, [this, dialog, history, job] {
            if (reprint(*job, dialog->chosenLabels(), dialog->startPosition()))
                history->reload();
        });
        dialog->show();
    });
    connect(history, &HistoryDialog::settleRequested, this, [this, history](qint64 id) {
        if (!m_busy && m_registry.settle(id, history, m_state.design))
            history->reload();
    });
    history->show();
}
