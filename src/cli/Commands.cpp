#include "cli/Commands.h"

#include "cli/Csv.h"
#include "cli/FreeTextFile.h"
#include "core/io/AtomicFile.h"
#include "core/io/DesignFile.h"
#include "core/io/RunFiles.h"
#include "core/io/StateLocation.h"
#include "core/job/JobTransaction.h"
#include "core/layout/SheetLayout.h"
#include "core/model/Freeze.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/numbering/Cp932.h"
#include "core/render/PrintJob.h"
#include "core/render/PrintRecord.h"
#include "print/PdfDocumentCanvas.h"
#include "print/PrintQueue.h"
#include "xls/SpreadsheetExport.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

#include <QCoreApplication>
#include <unistd.h>

namespace Cli {

namespace {

// A job's design and where it goes, before anything is printed.
struct Job {
    LabelDesign design;
    QString dir;
    StartSettings start;
    SavedState saved;
    bool stateRead = false; // saved holds the folder's state
    bool stateDamaged = false;
    LabelRun run;
    int startPosition = 1;
    qint64 numberingJobId = 0; // the registry's numbering the run starts from
    QString printer;           // as the history shows it
    // This station's jobs in question, as the plan found them.
    QList<JobSummary> unresolved;
};

// A free-text design's texts, as a job takes them: BadInput with a message
// when there are none, too many, or a gap.
int checkFreeTexts(LabelDesign& design)
{
    const LabelTypeTraits& traits = labelType(design.type);
    // Empty texts at the end only end the list (a memo saved with a
    // final line break, a text ending in CR from CR LF data).
    while (!design.freeTexts.isEmpty() &&
           Cp932::limit(design.freeTexts.last(), traits.freeTextBytes).isEmpty())
        design.freeTexts.removeLast();
    // freeze() takes the texts up to the first empty one; a gap would
    // silently drop the samples after it.
    if (design.freeTexts.size() > MaxFreeTexts) {
        report(QCoreApplication::translate("Cli", "%1 free texts: a job takes at most %2")
                   .arg(design.freeTexts.size())
                   .arg(MaxFreeTexts));
        return BadInput;
    }
    for (qsizetype i = 0; i < design.freeTexts.size(); ++i) {
        if (Cp932::limit(design.freeTexts[i], traits.freeTextBytes).isEmpty()) {
            report(QCoreApplication::translate(
                       "Cli", "free text %1 is empty (or holds nothing a label can print)")
                       .arg(i + 1));
            return BadInput;
        }
    }
    if (design.freeTexts.isEmpty()) {
        report(QCoreApplication::translate("Cli", "type %1 needs free texts (--free-texts FILE)")
                   .arg(design.type));
        return BadInput;
    }
    return Done;
}

// The design file with the options applied; BadInput with a message when
// the file or an option does not fit.
int loadDesign(const Arguments& a, LabelDesign& design)
{
    QString problem;
    const std::optional<LabelDesign> loaded = DesignFile::load(a.design, &problem);
    if (!loaded) {
        report(shown(a.design) + QLatin1String(": ") + problem);
        return BadInput;
    }
    design = *loaded;
    const LabelTypeTraits& traits = labelType(design.type);
    if (a.code)
        design.look.code = *a.code;

    if (a.samples) {
        if (traits.hasFreeTexts()) {
            report(QCoreApplication::translate(
                       "Cli", "--samples is for types 1 to 8; type %1 prints one label per "
                              "free text (--free-texts)")
                       .arg(design.type));
            return BadInput;
        }
        design.sampleCount = *a.samples;
    }
    if (a.first) {
        if (!traits.hasNumber()) {
            report(QCoreApplication::translate("Cli", "--first: type %1 has no running number")
                       .arg(design.type));
            return BadInput;
        }
        if (*a.first >= traits.range) {
            report(
                QCoreApplication::translate("Cli", "--first: type %1 numbers from 0 to %2, not %3")
                    .arg(design.type)
                    .arg(traits.range - 1)
                    .arg(*a.first));
            return BadInput;
        }
        design.firstNumber = *a.first;
    }
    if (!a.freeTexts.isEmpty()) {
        if (!traits.hasFreeTexts()) {
            report(QCoreApplication::translate(
                       "Cli", "--free-texts is for types 9 to 12, the design is type %1")
                       .arg(design.type));
            return BadInput;
        }
        std::optional<QStringList> texts = FreeTextFile::read(a.freeTexts, &problem);
        if (!texts) {
            report(problem);
            return BadInput;
        }
        design.freeTexts = *texts;
    }
    if (traits.hasFreeTexts())
        if (const int code = checkFreeTexts(design))
            return code;
    const LabelRun run = freeze(design, QDate::currentDate());
    if (run.labelTotal() > MaxLabelsPerJob) {
        report(QCoreApplication::translate(
                   "Cli", "プリントラベル数は合計で１２００枚までです。枚数をお下げ下さい。"
                          "（%1 × %2 = %3）")
                   .arg(run.sampleCount)
                   .arg(run.repeatCount)
                   .arg(run.labelTotal()));
        return BadInput;
    }
    return Done;
}

// The run the design makes on the folder's start file and state. BadInput
// with a message when a file is missing or damaged. A job may plan several
// times: only the plan that stands is told, so nothing is reported here.
int planFromFolder(const Arguments& a, const FolderSnapshot& folder, Job& job, QString& message)
{
    const StartFileReadResult& start = folder.start;
    if (start.status == StartFileReadResult::Missing) {
        message = QCoreApplication::translate("Cli", "スタートファイルがありません。\n") +
                  shown(StartFile::pathIn(job.dir));
        return BadInput;
    }
    if (start.status != StartFileReadResult::Ok) {
        message = start.error;
        return BadInput;
    }
    job.start = start.values;

    // The registry knows where the type's numbering goes on; one that has
    // no job of the type yet leaves it to the saved state's design.
    std::optional<NumberingPosition> at = NumberingPosition{};
    if (folder.registry && !(at = folder.registry->numbering(job.design.type))) {
        message = registryProblem(*folder.registry);
        return NotPrinted;
    }
    job.numberingJobId = at->jobId;
    job.unresolved = folder.unresolved;

    const StateFile::ReadResult& state = folder.state;
    if (state.status == StateFile::ReadResult::Ok) {
        job.saved = state.state;
        job.stateRead = true;
    } else if (state.status == StateFile::ReadResult::Damaged) {
        // Without the numbering the job could repeat labels; an explicit
        // first number, or a type without numbers, needs none.
        if (labelType(job.design.type).hasNumber() && !a.first && at->jobId == 0) {
            message = QCoreApplication::translate(
                          "Cli", "前回の状態を読み込めませんでした。次の番号を復元できません。\n"
                                 "%1\n%2\n"
                                 "Give the first number with --first N.")
                          .arg(shown(StateFile::pathIn(job.dir)), state.error);
            return BadInput;
        }
        job.stateDamaged = true;
    }
    if (!a.first) {
        if (at->jobId != 0)
            applyContinuation(job.design, job.design.type,
                              {0, at->firstNumber, at->letter1, at->letter2});
        else if (job.stateRead)
            continueNumbering(job.design, job.saved.design);
    }
    job.startPosition = a.start ? *a.start : std::max(1, job.start.startPosition);
    job.run = freeze(job.design, QDate::currentDate());
    message = codeProblem(SheetLabels(job.run), job.design.look);
    return message.isEmpty() ? Done : BadInput;
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
    if (!SpreadsheetExport::exportSpreadsheet(
            SpreadsheetExport::fileNameFor(a.xls), job.sampleEntries(),
            SpreadsheetExport::Colours::of(job.look), QDate::currentDate(), &error,
            job.look.code)) {
        report(error);
        return false;
    }
    return true;
}

QString nextLabel(const LabelDesign& design)
{
    const LabelRun run = freeze(design, QDate::currentDate());
    const QString lower = run.labelTotal() > 0 ? composeLabelTexts(run, 0).lower : QString();
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

JobPlan planOf(const Job& job)
{
    JobPlan plan;
    plan.design = job.design;
    plan.run = job.run;
    plan.startPosition = job.startPosition;
    plan.offsets = placement(job.start, job.saved);
    plan.state = job.saved;
    plan.keepDamagedState = job.stateDamaged;
    plan.numberingJobId = job.numberingJobId;
    plan.printer = job.printer;
    return plan;
}

int exitCodeOf(const JobOutcome& outcome)
{
    switch (outcome.status) {
    case JobOutcome::Status::Printed:
        return outcome.unconfirmed ? NotSaved : Done;
    case JobOutcome::Status::Declined:
        return IssuedBefore;
    case JobOutcome::Status::Withdrawn:
        return outcome.refusal; // the planner has told why
    case JobOutcome::Status::NotPrinted:
        break;
    }
    return NotPrinted;
}

// The messages, the record and spreadsheet, and the summary of a job.
int finishPrint(const Arguments& a, const Job& job, const JobOutcome& outcome)
{
    for (const QString& note : outcome.notes)
        report(note);
    reportUnresolved(job.unresolved);
    if (outcome.status == JobOutcome::Status::Declined)
        report(outcome.message +
               QCoreApplication::translate("Cli", "\nNothing printed; --allow-duplicates prints "
                                                  "them again."));
    else if (!outcome.message.isEmpty())
        report(outcome.message);
    int code = exitCodeOf(outcome);
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
    Job job;
    if (const int code = loadDesign(a, job.design))
        return code;
    if (const int code = checkOutputs(a, job.design))
        return code;
    QString queue;
    if (const int code = chooseQueue(a, queue))
        return code;
    job.dir = stateDirOf(a);
    if (!QFileInfo(job.dir).isDir()) {
        report(
            QCoreApplication::translate("Cli", "state folder not found: %1").arg(shown(job.dir)));
        return BadInput;
    }

    std::unique_ptr<SqlRegistry> registry;
    if (const int code = openRegistry(a, job.dir, RegistryUse::Record, registry))
        return code;
    job.printer = a.pdf.isEmpty() ? queue : shown(a.pdf);

    RunFiles files(job.dir);
    PdfDocumentCanvas canvas(labelDestination(a, queue));
    SheetProgress progress;
    JobTransaction transaction(files, *registry, Station::ofThisProcess(job.dir),
                               DateStamp::systemClock());
    const JobOutcome outcome = transaction.run(
        canvas,
        [&](const FolderSnapshot& folder) {
            PlanDecision decision;
            decision.refusal = planFromFolder(a, folder, job, decision.message);
            if (decision.refusal == Done)
                decision.plan = planOf(job);
            return decision;
        },
        [&a](const QList<IssuedLabel>&) { return a.allowDuplicates; },
        [&progress](int sheet, int sheets) { progress.show(sheet, sheets); });
    progress.end();
    return finishPrint(a, job, outcome);
}

int list(const Arguments& a)
{
    Job job;
    if (const int code = loadDesign(a, job.design))
        return code;
    job.dir = stateDirOf(a);
    FolderSnapshot folder;
    if (const int code = readFolder(job.dir, folder))
        return code;
    std::unique_ptr<SqlRegistry> registry;
    if (const int code = openRegistry(a, job.dir, RegistryUse::Read, registry))
        return code;
    folder.registry = registry.get();
    QString message;
    const int code = planFromFolder(a, folder, job, message);
    reportNotes(*registry);
    reportUnresolved(job.unresolved);
    if (code != Done) {
        report(message);
        return code;
    }

    QByteArray out =
        Csv::record({QStringLiteral("sheet"), QStringLiteral("position"), QStringLiteral("sample"),
                     QStringLiteral("repeat"), QStringLiteral("upper"), QStringLiteral("lower")});
    const int repeat = std::max(1, job.run.repeatCount);
    for (int n = 0; n < job.run.labelTotal(); ++n) {
        const int running = job.startPosition - 1 + n;
        const LabelTexts texts = composeLabelTexts(job.run, n);
        out += Csv::record({QString::number(running / SheetLayout::Positions + 1),
                            QString::number(running % SheetLayout::Positions + 1),
                            QString::number(n / repeat + 1), QString::number(n % repeat + 1),
                            texts.upper, texts.lower});
    }
    writeOut(out);
    return Done;
}

int next(const Arguments& a)
{
    const QString dir = stateDirOf(a);
    FolderSnapshot folder;
    if (const int code = readFolder(dir, folder))
        return code;
    const StartFileReadResult& start = folder.start;
    if (start.status != StartFileReadResult::Ok) {
        report(start.status == StartFileReadResult::Missing
                   ? QCoreApplication::translate("Cli", "スタートファイルがありません。\n") +
                         shown(StartFile::pathIn(dir))
                   : start.error);
        return BadInput;
    }
    const StateFile::ReadResult& state = folder.state;
    if (state.status == StateFile::ReadResult::Damaged) {
        report(QCoreApplication::translate(
                   "Cli", "前回の状態を読み込めませんでした。次の番号を復元できません。\n"
                          "%1\n%2")
                   .arg(shown(StateFile::pathIn(dir)), state.error));
        return BadInput;
    }
    // Where the registry says the type goes on, which other stations of a
    // shared registry move on too.
    LabelDesign design = state.state.design;
    std::unique_ptr<SqlRegistry> registry;
    if (const int code = openRegistry(a, dir, RegistryUse::Read, registry))
        return code;
    const std::optional<NumberingPosition> at = registry->numbering(design.type);
    reportNotes(*registry);
    if (!at) {
        report(registry->errorString());
        return NotPrinted;
    }
    if (at->jobId != 0)
        applyContinuation(design, design.type, {0, at->firstNumber, at->letter1, at->letter2});
    const LabelRun run = freeze(design, QDate::currentDate());
    const LabelTexts first = run.labelTotal() > 0 ? composeLabelTexts(run, 0) : LabelTexts();
    writeOut(QStringLiteral("start position: %1\nnext label: %2\nupper text: %3\ntype: %4\n")
                 .arg(std::max(1, start.values.startPosition))
                 .arg(first.lower.isEmpty() ? QStringLiteral("-") : first.lower,
                      first.upper.isEmpty() ? QStringLiteral("-") : first.upper)
                 .arg(design.type)
                 .toUtf8());
    return Done;
}

} // namespace Cli
