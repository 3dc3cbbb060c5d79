#include "cli/Commands.h"

#include "cli/FreeTextFile.h"
#include "core/io/DesignFile.h"
#include "core/model/Freeze.h"
#include "core/render/PrintRecord.h"
#include "print/PdfDocumentCanvas.h"
#include "xls/SpreadsheetExport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

namespace Cli {

namespace {

// The job the design file and the options ask for; BadInput after a
// message when the file or the free texts cannot be read.
int requestOf(const Arguments& a, LabelJobRequest& request)
{
    QString problem;
    const std::optional<LabelDesign> loaded = DesignFile::load(a.design, &problem);
    if (!loaded) {
        report(shown(a.design) + QLatin1String(": ") + problem);
        return BadInput;
    }
    request.design = *loaded;
    request.first = a.first;
    request.samples = a.samples;
    request.start = a.start;
    request.code = a.code;
    // A type without free texts refuses them; their file is not read.
    if (!a.freeTexts.isEmpty()) {
        request.freeTexts = QStringList();
        if (!labelType(request.design.type).hasFreeTexts())
            return Done;
        request.freeTexts = FreeTextFile::read(a.freeTexts, &problem);
        if (!request.freeTexts) {
            report(problem);
            return BadInput;
        }
    }
    return Done;
}

// The design the request prints; BadInput after a message when an option
// does not fit it.
std::optional<LabelDesign> checkedDesign(const LabelJobRequest& request, int& code)
{
    std::variant<LabelDesign, JobRefusal> design = JobPlanning::designOf(request);
    if (const JobRefusal* refused = std::get_if<JobRefusal>(&design)) {
        reportRefusal(*refused);
        code = exitCodeOf(*refused);
        return std::nullopt;
    }
    return std::get<LabelDesign>(design);
}

// The record and the spreadsheet of a printed job; false after a message.
bool writeRecord(const Arguments& a, const PrintedJob& job)
{
    PrintDestination destination;
    destination.kind = PrintDestination::Kind::PdfFile;
    destination.pdfFile = QFileInfo(a.record).absoluteFilePath();
    destination.title = QStringLiteral("Rondelmaker record");
    destination.layout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     MinimumMargins, QPageLayout::Point);
    PdfDocumentCanvas canvas(destination);
    if (!PrintRecord::printRecordPages(canvas, job.sampleEntries(), job.look,
                                       QDateTime::currentDateTime())) {
        report(canvas.errorString());
        return false;
    }
    return true;
}

bool writeSpreadsheet(const Arguments& a, const PrintedJob& job)
{
    QString error;
    if (!SpreadsheetExport::exportSpreadsheet(SpreadsheetExport::fileNameFor(a.xls),
                                              job.sampleEntries(),
                                              SpreadsheetExport::Colours::of(job.look),
                                              QDate::currentDate(), &error, job.look.code)) {
        report(error);
        return false;
    }
    return true;
}

QString nextLabel(const LabelDesign& design)
{
    const QString lower = JobPlanning::firstLabel(design, QDate::currentDate()).lower;
    return lower.isEmpty() ? QStringLiteral("-") : lower;
}

// What the job writes besides the labels, checked before anything prints.
int checkOutputs(const Arguments& a, const LabelDesign& design)
{
    const LabelRun run = freeze(design, QDate::currentDate());
    if (!a.record.isEmpty() && run.sampleCount > PrintRecord::MaxEntries) {
        report(QCoreApplication::translate("Cli", "--record: ラベル数オーバー（３００以上）です。"
                                                  "プリントできません！（%1）")
                   .arg(run.sampleCount));
        return BadInput;
    }
    if (!a.xls.isEmpty() && !labelType(run.type).listed) {
        report(QCoreApplication::translate("Cli", "--xls: type %1 labels have no spreadsheet")
                   .arg(run.type));
        return BadInput;
    }
    if ((!a.pdf.isEmpty() && !outputWritable(a.pdf, "--pdf")) ||
        (!a.record.isEmpty() && !outputWritable(a.record, "--record")) ||
        (!a.xls.isEmpty() && !outputWritable(SpreadsheetExport::fileNameFor(a.xls), "--xls")))
        return NotPrinted;
    return Done;
}

// The messages, the record and spreadsheet, and the summary of a job.
int finishPrint(const Arguments& a, const JobOutcome& outcome)
{
    int code = finishJob(outcome, true);
    if (!outcome.printed())
        return code;
    if (!a.record.isEmpty() && !writeRecord(a, outcome.job))
        code = NotSaved;
    if (!a.xls.isEmpty() && !writeSpreadsheet(a, outcome.job))
        code = NotSaved;

    const QList<PrintLogEntry>& labels = outcome.job.labels;
    QString printed = QStringLiteral("printed: %1 labels").arg(labels.size());
    if (!labels.isEmpty())
        printed += QStringLiteral(", %1 to %2").arg(labels.first().lower, labels.last().lower);
    writeOut((printed + QStringLiteral("\nstart position: %1\nnext label: %2\n")
                            .arg(outcome.start.startPosition)
                            .arg(nextLabel(outcome.state.design)))
                 .toUtf8());
    return code;
}

} // namespace

int print(const Arguments& a)
{
    LabelJobRequest request;
    if (const int code = requestOf(a, request))
        return code;
    int code = Done;
    const std::optional<LabelDesign> design = checkedDesign(request, code);
    if (!design)
        return code;
    if ((code = checkOutputs(a, *design)))
        return code;
    QString queue;
    if ((code = chooseQueue(a, queue)))
        return code;
    request.printer = printerOf(a, queue);
    return withRegistry(
        a, RegistrySetup::Use::Record, [&](const QString& dir, LabelRegistry& registry) {
            if (const int chosen = chooseSheet(a, dir, request.sheet))
                return chosen;
            const Sheet sheet = request.sheet ? request.sheet->sheet : Sheet::builtIn();
            return finishPrint(
                a, runJob(a, dir, registry, queue, sheet, [&request](const FolderSnapshot& folder) {
                    return JobPlanning::planLabels(request, folder);
                }));
        });
}

int list(const Arguments& a)
{
    LabelJobRequest request;
    if (const int code = requestOf(a, request))
        return code;
    int code = Done;
    if (!checkedDesign(request, code))
        return code;
    return withRegistry(a, RegistrySetup::Use::Read,
                        [&](const QString& dir, LabelRegistry& registry) {
                            FolderSnapshot folder;
                            folder.registry = &registry;
                            if (const int read = readFolder(dir, folder))
                                return read;
                            if (const int chosen = chooseSheet(a, dir, request.sheet))
                                return chosen;
                            const PlanDecision decision = JobPlanning::planLabels(request, folder);
                            reportNotes(registry);
                            if (!decision.plan) {
                                reportRefusal(decision.refusal);
                                return exitCodeOf(decision.refusal);
                            }
                            for (const QString& note : decision.plan->notes)
                                report(note);
                            writeLabels(JobPlanning::placedLabels(*decision.plan));
                            return int(Done);
                        });
}

int next(const Arguments& a)
{
    return withRegistry(
        a, RegistrySetup::Use::Read, [&a](const QString& dir, LabelRegistry& registry) {
            FolderSnapshot folder;
            folder.registry = &registry;
            if (const int read = readFolder(dir, folder))
                return read;
            std::optional<SheetChoice> sheet;
            if (!a.sheet.isEmpty())
                if (const int chosen = chooseSheet(a, dir, sheet))
                    return chosen;
            const std::variant<NextJob, JobRefusal> next = JobPlanning::nextJob(folder, sheet);
            reportNotes(registry);
            if (const JobRefusal* refused = std::get_if<JobRefusal>(&next)) {
                reportRefusal(*refused);
                return exitCodeOf(*refused);
            }
            const NextJob& job = std::get<NextJob>(next);
            if (!job.note.isEmpty())
                report(job.note);
            const auto shownText = [](const QString& text) {
                return text.isEmpty() ? QStringLiteral("-") : text;
            };
            writeOut(QStringLiteral("start position: %1\nnext label: %2\n"
                                    "upper text: %3\ntype: %4\nsheet: %5 (%6 positions)\n")
                         .arg(job.startPosition)
                         .arg(shownText(job.first.lower), shownText(job.first.upper))
                         .arg(job.design.type)
                         .arg(job.sheet.id)
                         .arg(job.sheet.sheet.positions())
                         .toUtf8());
            return int(Done);
        });
}

} // namespace Cli
