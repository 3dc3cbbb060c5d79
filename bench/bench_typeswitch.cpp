// A type switch from Type3 to Type1 refills the first-number list with
// 10000 entries; measured from the click to the window's next paint.
#include "BenchStats.h"

#include "app/Dialogs.h"
#include "app/Fonts.h"
#include "app/TfrmMain.h"
#include "design/DesignScreen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRadioButton>
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
    TfrmMain window(dialogs, dir.path());
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
