// Start-up: from creating the main window to its first paint, with the lists
// of 10000, 1200 and 731 entries filled.
#include "BenchStats.h"
#include "BenchSupport.h"

#include "core/render/Fonts.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

namespace {

class PaintWatch final : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
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

    SilentDialogs dialogs;
    std::vector<double> runs;
    for (int i = 0; i < 31; ++i) {
        PaintWatch watch;
        QElapsedTimer timer;
        timer.start();
        MainWindow window(dialogs, dir.path());
        window.centralWidget()->installEventFilter(&watch);
        window.show();
        while (!watch.painted)
            QCoreApplication::processEvents();
        const double ms = timer.nsecsElapsed() / 1e6;
        if (i > 0) // the first run pays for loading fonts and plugins
            runs.push_back(ms);
        window.centralWidget()->removeEventFilter(&watch);
    }
    printStats("start-up to first paint", runs);
    return 0;
}
