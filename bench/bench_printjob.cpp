// The largest print job: 1200 labels from position 150, drawn through
// QPrinter to a 600 dpi PDF without the pause between sheets; once plain and
// once with a Data Matrix code on every label; on the built-in sheet (nine
// sheets of 150) and on a sheet of 260 positions measured from the paper
// (13 x 20 discs of 10 mm, six sheets).
// Usage: bench_printjob [output.pdf]  (keeps the last run's PDF there)
#include "BenchStats.h"

#include "core/layout/SheetFile.h"
#include "core/render/Fonts.h"
#include "core/render/PrintJob.h"
#include "print/QtPrintCanvas.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <QTemporaryDir>

#include <sys/resource.h>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    QTemporaryDir dir;
    const QString output =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath(QStringLiteral("job.pdf"));

    LabelRun run;
    run.type = 2;
    run.firstNumber = 1;
    run.sampleCount = 1200;
    run.upper = QStringLiteral("検体");
    PrintAppearance look;
    look.backgroundIndex = 1;
    look.font = QFont(QStringLiteral("ＭＳ Ｐゴシック"));
    look.font.setBold(true);

    const std::optional<Sheet> a4 =
        SheetFile::load(QStringLiteral(":/sheets/a4-10mm-13x20.json"), nullptr);
    if (!a4) {
        std::fprintf(stderr, "the 260-position sheet is missing\n");
        return 1;
    }
    // The four jobs take turns, so that whatever else the machine does
    // weighs on each of them alike.
    struct Job {
        Sheet sheet;
        LabelCode code;
        std::vector<double> runs;
        int sheets = 0;
    };
    std::vector<Job> jobs;
    for (const Sheet& sheet : {Sheet::builtIn(), *a4}) {
        for (const LabelCode code : {LabelCode::None, LabelCode::DataMatrix})
            jobs.push_back({sheet, code, {}, 0});
    }
    for (int i = 0; i < 21; ++i) {
        for (Job& job : jobs) {
            look.code = job.code;
            QElapsedTimer timer;
            timer.start();
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setResolution(600);
            printer.setPageLayout(job.sheet.pageLayout());
            printer.setOutputFileName(output);
            QtPrintCanvas canvas(printer);
            const PrintJobResult result =
                runPrintJob(canvas, job.sheet, run, look, {}, 150,
                            [&job](int, int sheets) { job.sheets = sheets; });
            job.runs.push_back(timer.nsecsElapsed() / 1e6);
            if (!result.ok) {
                std::fprintf(stderr, "print failed: %s\n", qPrintable(result.error));
                return 1;
            }
        }
    }
    for (const Job& job : jobs) {
        const QString what =
            QStringLiteral("1200 labels on %1 positions, %2 sheets%3")
                .arg(job.sheet.positions())
                .arg(job.sheets)
                .arg(job.code == LabelCode::None ? QString() : QStringLiteral(", with codes"));
        printStats(qPrintable(what), job.runs);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory: %.1f MB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
