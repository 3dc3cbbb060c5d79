// A type switch from Type3 to Type1 refills the first-number list with
// 10000 entries; measured from the click to the window's next paint.
#include "BenchStats.h"
#include "BenchSupport.h"

#include "core/render/Fonts.h"
#include "ui/DesignScreen.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QTemporaryDir>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    QTemporaryDir dir;
    writeStartFile(dir);

    SilentDialogs dialogs;
    MainWindow window(dialogs, dir.path());
    window.show();
    QCoreApplication::processEvents();
    const DesignControls& c = window.design().controls();

    std::vector<double> runs;
    for (int i = 0; i < 101; ++i) {
        c.typeButton[3]->click();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        c.typeButton[1]->click();
        window.repaint(); // the refilled list drawn, not just filled
        runs.push_back(timer.nsecsElapsed() / 1e6);
    }
    printStats("type switch Type3 -> Type1 (10000-entry list) incl. repaint", runs);
    return 0;
}
