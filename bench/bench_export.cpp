// The spreadsheet export of a 1200-label job, written to a file.
#include "BenchStats.h"

#include "xls/SpreadsheetExport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

int main()
{
    QList<PrintLogEntry> entries;
    for (int i = 0; i < 1200; ++i)
        entries << PrintLogEntry{QStringLiteral("検体"),
                                 QStringLiteral("A%1").arg(i % 1000, 3, 10, QLatin1Char('0'))};
    QTemporaryDir dir;
    const QString path = dir.filePath("labels.xls");
    SpreadsheetExport::Colours colours;
    colours.textIndex = 1;
    colours.backgroundIndex = 8;
    colours.custom = QColor(10, 200, 30);

    std::vector<double> runs;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer timer;
        timer.start();
        QString error;
        if (!SpreadsheetExport::exportSpreadsheet(path, entries, colours, QDate(2026, 12, 8),
                                                  &error)) {
            std::fprintf(stderr, "export failed: %s\n", qPrintable(error));
            return 1;
        }
        runs.push_back(timer.nsecsElapsed() / 1e6);
    }
    printStats("export of 1200 rows to .xls", runs);
    return 0;
}
