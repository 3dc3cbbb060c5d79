// The window's whole job: from the Print button to the design screen back,
// for 1200 labels (8 sheets and a part), to a CUPS queue given as the first
// argument (e.g. RondelPDF from scripts/cups-pdf-queue), else into a PDF file.
#include "BenchStats.h"
#include "BenchSupport.h"

#include "core/render/Fonts.h"
#include "ui/DesignScreen.h"
#include "ui/MainWindow.h"
#include "ui/PrintScreen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

// Accepts the print dialog with the queue, or a PDF file.
class PrintingDialogs final : public SilentDialogs {
public:
    QString queue;
    QString pdf;
    bool choosePrinter(QWidget*, QPrinter& printer) override
    {
        if (queue.isEmpty())
            printer.setOutputFileName(pdf);
        else
            printer.setPrinterName(queue);
        return true;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    QTemporaryDir dir;
    writeStartFile(dir);

    PrintingDialogs dialogs;
    dialogs.queue = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    dialogs.pdf = dir.filePath(QStringLiteral("labels.pdf"));
    MainWindow window(dialogs, dir.path());
    window.show();
    QCoreApplication::processEvents();
    window.state().design.sampleCount = 1200;
    window.design().showDesign();

    std::vector<double> runs;
    for (int i = 0; i < 6; ++i) {
        window.design().controls().printSetButton->click();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        window.printScreen().controls().printButton->click();
        const double ms = timer.nsecsElapsed() / 1e6;
        if (window.screen() != MainWindow::Screen::Design) {
            std::fprintf(stderr, "the job did not end on the design screen\n");
            return 1;
        }
        if (i > 0) // the first run pays for loading fonts and the print system
            runs.push_back(ms);
    }
    printStats(dialogs.queue.isEmpty() ? "window job, 1200 labels to a PDF file"
                                       : "window job, 1200 labels to the queue",
               runs);
    return 0;
}
