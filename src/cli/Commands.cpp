#include "cli/Commands.h"

#include "cli/Csv.h"
#include "cli/FreeTextFile.h"
#include "core/io/AtomicFile.h"
#include "core/io/DesignFile.h"
#include "core/io/RunFiles.h"
#include "core/io/StateLocation.h"
#include "core/layout/SheetLayout.h"
#include "core/model/Freeze.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/numbering/Cp932.h"
#include "core/render/PrintJob.h"
#include "core/render/PrintRecord.h"
#include "print/PdfDocumentCanvas.h"
#include "print/PrintQueue.h"
#include "xls/BiffWorkbook.h"
#include "xls/SpreadsheetExport.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <cstdio>

#include <unistd.h>

namespace Cli {

namespace {

// Labels are laid out from the corner of the printable area, as the
// window's are: the page's margins are the device's minimum margins (none on
// a PDF).
const QMarginsF MinimumMargins(0, 0, 0, 0);

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

void writeOut(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

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
};

// The start file's offsets with the scale calibrated in the window.
SheetGeometry::Offsets placement(const Job& job)
{
    SheetGeometry::Offsets offsets = job.start.offsets();
    offsets.scaleX = job.saved.scale.x;
    offsets.scaleY = job.saved.scale.y;
    return offsets;
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

    if (a.samples) {
        if (traits.hasFreeTexts()) {
            report(QStringLiteral("--samples is for types 1 to 8; type %1 prints one label per "
                                  "free text (--free-texts)")
                       .arg(design.type));
            return BadInput;
        }
        design.sampleCount = *a.samples;
    }
    if (a.first) {
        if (!traits.hasNumber()) {
            report(QStringLiteral("--first: type %1 has no running number").arg(design.type));
            return BadInput;
        }
        if (*a.first >= traits.range) {
            report(QStringLiteral("--first: type %1 numbers from 0 to %2, not %3")
                       .arg(design.type)
                       .arg(traits.range - 1)
                       .arg(*a.first));
            return BadInput;
        }
        design.firstNumber = *a.first;
    }
    if (!a.freeTexts.isEmpty()) {
        if (!traits.hasFreeTexts()) {
            report(QStringLiteral("--free-texts is for types 9 to 12, the design is type %1")
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
    if (traits.hasFreeTexts()) {
        // freeze() takes the texts up to the first empty one; a gap would
        // silently drop the samples after it.
        if (design.freeTexts.size() > MaxFreeTexts) {
            report(QStringLiteral("%1 free texts: a job takes at most %2")
                       .arg(design.freeTexts.size())
                       .arg(MaxFreeTexts));
            return BadInput;
        }
        for (qsizetype i = 0; i < design.freeTexts.size(); ++i) {
            if (Cp932::limit(design.freeTexts[i], traits.freeTextBytes).isEmpty()) {
                report(QStringLiteral("free text %1 is empty (or holds nothing a label can print)")
                           .arg(i + 1));
                return BadInput;
            }
        }
        if (design.freeTexts.isEmpty()) {
            report(QStringLiteral("type %1 needs free texts (--free-texts FILE)").arg(design.type));
            return BadInput;
        }
    }
    const LabelRun run = freeze(design, QDate::currentDate());
    if (run.labelTotal() > MaxLabelsPerJob) {
        report(QStringLiteral("プリントラベル数は合計で１２００枚までです。枚数をお下げ下さい。"
                              "（%1 × %2 = %3）")
                   .arg(run.sampleCount)
                   .arg(run.repeatCount)
                   .arg(run.labelTotal()));
        return BadInput;
    }
    return Done;
}

QString stateDirOf(const Arguments& a)
{
    if (!a.stateDir.isEmpty())
        return a.stateDir;
    const StateLocation::Result location =
        StateLocation::decide(StateLocation::Inputs::ofThisProgram());
    if (!location.error.isEmpty())
        report(location.error);
    else if (location.created)
        report(StateLocation::createdNotice() + QLatin1Char('\n') +
               StateLocation::createdDetail(location));
    return location.dir;
}

// The folder's start file and state, and the run they make of the design.
// BadInput with a message when a file is missing or damaged.
int readFolder(const Arguments& a, Job& job)
{
    if (!QFileInfo(job.dir).isDir()) {
        report(QStringLiteral("state folder not found: %1").arg(shown(job.dir)));
        return BadInput;
    }
    const QString startPath = StartFile::pathIn(job.dir);
    const StartFileReadResult start = StartFile::read(startPath);
    if (start.status == StartFileReadResult::Missing) {
        report(QStringLiteral("スタートファイルがありません。\n") + shown(startPath));
        return BadInput;
    }
    if (start.status != StartFileReadResult::Ok) {
        report(start.error);
        return BadInput;
    }
    job.start = start.values;

    const QString statePath = StateFile::pathIn(job.dir);
    const StateFile::ReadResult state = StateFile::read(statePath);
    if (state.status == StateFile::ReadResult::Ok) {
        job.saved = state.state;
        job.stateRead = true;
    } else if (state.status == StateFile::ReadResult::Damaged) {
        // Without the saved numbering the job could repeat labels; an
        // explicit first number, or a type without numbers, needs none.
        if (labelType(job.design.type).hasNumber() && !a.first) {
            report(QStringLiteral("前回の状態を読み込めませんでした。次の番号を復元できません。\n"
                                  "%1\n%2\n"
                                  "Give the first number with --first N.")
                       .arg(shown(statePath), state.error));
            return BadInput;
        }
        job.stateDamaged = true;
    }

    // Without a saved state the design's own numbering starts the run.
    if (job.stateRead && !a.first)
        continueNumbering(job.design, job.saved.design);
    job.startPosition = a.start ? *a.start : std::max(1, job.start.startPosition);
    job.run = freeze(job.design, QDate::currentDate());
    return Done;
}

// A file the job writes, checked before anything prints: its folder must be
// there and writable.
bool outputWritable(const QString& path, const char* option)
{
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (info.isDir() || !folder.isDir() || !folder.isWritable() ||
        (info.exists() && !info.isWritable())) {
        report(QStringLiteral("%1: cannot write %2").arg(QLatin1String(option), shown(path)));
        return false;
    }
    return true;
}

PrintDestination labelDestination(const Arguments& a, const QString& queue)
{
    PrintDestination destination;
    destination.title = QStringLiteral("Rondelmaker labels");
    destination.layout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, MinimumMargins,
                                     QPageLayout::Point);
    if (!a.pdf.isEmpty()) {
        destination.kind = PrintDestination::Kind::PdfFile;
        destination.pdfFile = QFileInfo(a.pdf).absoluteFilePath();
        return destination;
    }
    destination.kind = PrintDestination::Kind::Queue;
    destination.queue = queue;
    const QPageLayout layout = PrintQueue::defaultPageLayout(queue, MinimumMargins);
    if (layout.isValid())
        destination.layout = layout;
    // A duplex default would put the next sheet on the back of this one.
    destination.options.emplace_back("sides", "one-sided");
    return destination;
}

// The record and the spreadsheet of a printed job; false after a message.
bool writeRecord(const Arguments& a, const PrintedJob& job)
{
    PrintDestination destination;
    destination.kind = PrintDestination::Kind::PdfFile;
    destination.pdfFile = QFileInfo(a.record).absoluteFilePath();
    destination.title = QStringLiteral("Rondelmaker record");
    destination.layout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, MinimumMargins,
                                     QPageLayout::Point);
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
    BiffWorkbook book;
    QString error;
    if (!SpreadsheetExport::ExportSpreadsheet(
            book, SpreadsheetExport::fileNameFor(a.xls), job.sampleEntries(),
            SpreadsheetExport::Colours::of(job.look), QDate::currentDate(), &error)) {
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

} // namespace

void report(const QString& message)
{
    QString text = QStringLiteral("rondelmaker-cli: ") + message;
    text.replace(QLatin1Char('\n'), QLatin1String("\n  "));
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stderr);
}

int print(const Arguments& a)
{
    Job job;
    if (const int code = loadDesign(a, job.design))
        return code;
    {
        // Nothing that can be found out before printing is left to after it.
        const LabelRun run = freeze(job.design, QDate::currentDate());
        if (!a.record.isEmpty() && run.sampleCount > PrintRecord::MaxEntries) {
            report(QStringLiteral("--record: ラベル数オーバー（３００以上）です。"
                                  "プリントできません！（%1）")
                       .arg(run.sampleCount));
            return BadInput;
        }
        if (!a.xls.isEmpty() && !labelType(run.type).listed) {
            report(QStringLiteral("--xls: type %1 labels have no spreadsheet").arg(run.type));
            return BadInput;
        }
    }
    if ((!a.pdf.isEmpty() && !outputWritable(a.pdf, "--pdf")) ||
        (!a.record.isEmpty() && !outputWritable(a.record, "--record")) ||
        (!a.xls.isEmpty() && !outputWritable(SpreadsheetExport::fileNameFor(a.xls), "--xls")))
        return NotPrinted;
    QString queue = a.printer;
    if (a.pdf.isEmpty() && queue.isEmpty()) {
        queue = PrintQueue::defaultQueue();
        if (queue.isEmpty()) {
            report(QStringLiteral("no default printer: give --printer NAME or --pdf FILE"));
            return NotPrinted;
        }
    }

    job.dir = stateDirOf(a);
    if (!QFileInfo(job.dir).isDir()) {
        report(QStringLiteral("state folder not found: %1").arg(shown(job.dir)));
        return BadInput;
    }
    // From reading the files to writing them back, no other job may take
    // the same numbers.
    RunFiles files(job.dir);
    QString error;
    if (!files.lock(&error)) {
        report(error);
        return NotPrinted;
    }
    removeStaleTemporaries(job.dir,
                           {StartFile::FileName, QString::fromLatin1(StateFile::FileName)});
    if (const int code = readFolder(a, job))
        return code;

    const bool toPrinter = a.pdf.isEmpty();
    const bool showProgress = isatty(STDERR_FILENO) != 0;
    bool progressShown = false;
    PdfDocumentCanvas canvas(labelDestination(a, queue));
    const PrintJobResult result =
        runPrintJob(canvas, job.run, job.design.look, placement(job), job.startPosition,
                    [&](int sheet, int sheets) {
                        if (showProgress && sheets > 1) {
                            std::fprintf(stderr, "\rsheet %d of %d", sheet, sheets);
                            progressShown = true;
                        }
                        // A slow label printer takes the sheet before the next arrives.
                        if (toPrinter && sheet < sheets)
                            QThread::msleep(SheetPauseMs);
                    });
    if (progressShown)
        std::fputc('\n', stderr);
    if (!result.ok) {
        report(result.error);
        return NotPrinted;
    }

    // The labels are on paper: from here on the numbering must move on, and
    // whatever cannot be saved is reported, never undone.
    int code = Done;
    StartSettings start = job.start;
    start.startPosition = result.next.startPosition;
    if (!StartFile::write(StartFile::pathIn(job.dir), start, &error)) {
        report(error);
        code = NotSaved;
    }
    SavedState saved = job.saved;
    saved.design = job.design;
    applyContinuation(saved.design, job.run.type, result.next);
    saved.lastJob = result.job;
    const QString statePath = StateFile::pathIn(job.dir);
    if (job.stateDamaged) {
        const QString kept = StateFile::keepDamaged(statePath, &error);
        report(kept.isEmpty() ? QStringLiteral("the damaged state could not be kept: %1").arg(error)
                              : QStringLiteral("damaged state kept as %1").arg(shown(kept)));
    }
    if (!StateFile::write(statePath, saved, &error)) {
        report(QStringLiteral("状態を保存できません。\n%1\n%2").arg(shown(statePath), error));
        code = NotSaved;
    }
    files.unlock();

    if (!a.record.isEmpty() && !writeRecord(a, result.job))
        code = NotSaved;
    if (!a.xls.isEmpty() && !writeSpreadsheet(a, result.job))
        code = NotSaved;

    const int total = job.run.labelTotal();
    QString printed = QStringLiteral("printed: %1 labels").arg(total);
    if (total > 0)
        printed += QStringLiteral(", %1 to %2")
                       .arg(result.job.labels.first().lower, result.job.labels.last().lower);
    writeOut((printed + QStringLiteral("\nstart position: %1\nnext label: %2\n")
                            .arg(result.next.startPosition)
                            .arg(nextLabel(saved.design)))
                 .toUtf8());
    return code;
}

int list(const Arguments& a)
{
    Job job;
    if (const int code = loadDesign(a, job.design))
        return code;
    job.dir = stateDirOf(a);
    if (const int code = readFolder(a, job))
        return code;

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
    Job job;
    job.dir = stateDirOf(a);
    if (!QFileInfo(job.dir).isDir()) {
        report(QStringLiteral("state folder not found: %1").arg(shown(job.dir)));
        return BadInput;
    }
    const QString startPath = StartFile::pathIn(job.dir);
    const StartFileReadResult start = StartFile::read(startPath);
    if (start.status != StartFileReadResult::Ok) {
        report(start.status == StartFileReadResult::Missing
                   ? QStringLiteral("スタートファイルがありません。\n") + shown(startPath)
                   : start.error);
        return BadInput;
    }
    const QString statePath = StateFile::pathIn(job.dir);
    const StateFile::ReadResult state = StateFile::read(statePath);
    if (state.status == StateFile::ReadResult::Damaged) {
        report(QStringLiteral("前回の状態を読み込めませんでした。次の番号を復元できません。\n"
                              "%1\n%2")
                   .arg(shown(statePath), state.error));
        return BadInput;
    }
    const LabelDesign& design = state.state.design;
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
