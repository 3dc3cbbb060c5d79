// Listing every sheet: the built-in and shipped sheets alone, and with the
// gLabels template database read from its files (as on every start of the
// command line's `sheets`).
#include "BenchStats.h"

#include "core/layout/SheetCatalogue.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

template <typename List> void time(const char* what, List list)
{
    std::vector<double> runs;
    qsizetype count = 0;
    for (int i = 0; i < 21; ++i) {
        SheetCatalogue catalogue({":/sheets", GlabelsTemplates::SystemDir, {}, {}});
        QElapsedTimer timer;
        timer.start();
        count = list(catalogue).size();
        runs.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("%lld sheets\n", static_cast<long long>(count));
    printStats(what, runs);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    time("built-in and shipped sheets", [](SheetCatalogue& c) { return c.local(); });
    time("with the gLabels database", [](SheetCatalogue& c) { return c.all(); });
    return 0;
}
