// Start-up: from creating the main window to its first paint, with the lists
// of 10000, 1200 and 731 entries filled.
#include "BenchStats.h"

#include "app/Dialogs.h"
#include "app/Fonts.h"
#include "app/TfrmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

namespace {

class SilentDialogs final : public Dialogs {
public:
    void message(QWidget*, const QString&) override {}
    void error(QWidget*, const QString&) override {}
    bool askYesNo(QWidget*, const QString&) override { return false; }
    bool choosePrinter(QWidget*, QPrinter&) override { return false; }
    std::optional<QString> chooseSaveFile(QWidget*, const QString&) override { return {}; }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return {}; }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return {}; }
};

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
    QFile start(dir.filePath("start.txt"));
    start.open(QIODevice::WriteOnly);
    start.write("10,10,1\r\n\r\n");
    start.close();

    SilentDialogs dialogs;
    std::vector<double> runs;
    for (int i = 0; i < 31; ++i) {
        PaintWatch watch;
        QElapsedTimer timer;
        timer.start();
        TfrmMain window(dialogs, dir.path());
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
