// The largest print job: 1200 labels from position 150, nine sheets, drawn
// through QPrinter to a 600 dpi PDF without the pause between sheets; once
// plain and once with a Data Matrix code on every label.
// Usage: bench_printjob [output.pdf]  (keeps the last run's PDF there)
#include "BenchStats.h"

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

    for (const LabelCode code : {LabelCode::None, LabelCode::DataMatrix}) {
        look.code = code;
        std::vector<double> runs;
        for (int i = 0; i < 11; ++i) {
            QElapsedTimer timer;
            timer.start();
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setResolution(600);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setOutputFileName(output);
            QtPrintCanvas canvas(printer);
            const PrintJobResult result = runPrintJob(canvas, run, look, {}, 150, {});
            runs.push_back(timer.nsecsElapsed() / 1e6);
            if (!result.ok) {
                std::fprintf(stderr, "print failed: %s\n", qPrintable(result.error));
                return 1;
            }
        }
        printStats(code == LabelCode::None ? "1200 labels, 9 sheets to PDF at 600 dpi"
                                           : "the same with a Data Matrix code on each label",
                   runs);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory: %.1f MB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
