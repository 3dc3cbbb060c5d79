#include "cli/Commands.h"
#include "cli/Csv.h"
#include "core/io/StateFile.h"
#include "core/layout/SheetCatalogue.h"

#include <QCoreApplication>

namespace Cli {

namespace {

// A length as the sheet files give it: millimetres, without trailing zeros.
QString mm(double length)
{
    return QString::number(qRound64(length * 1000) / 1000.0, 'g', 12);
}

void reportRefusals(SheetCatalogue& catalogue)
{
    for (const QString& refused : catalogue.refusals())
        report(refused);
}

} // namespace

int chooseSheet(const Arguments& a, const QString& dir, std::optional<SheetChoice>& sheet)
{
    sheet.reset();
    if (a.sheet.isEmpty()) {
        // The station's, as its state says; a state that is missing or
        // damaged leaves it to the plan, which says so.
        const StateFile::ReadResult state = StateFile::read(StateFile::pathIn(dir));
        if (state.status == StateFile::ReadResult::Ok)
            sheet = state.state.sheet;
        return Done;
    }
    SheetCatalogue catalogue(SheetCatalogue::Places::ofThisProgram(dir));
    QString error;
    const std::optional<SheetEntry> entry = catalogue.find(a.sheet, &error);
    if (!entry) {
        report(QStringLiteral("--sheet: ") + error);
        return BadInput;
    }
    sheet = SheetChoice{entry->id, entry->sheet};
    return Done;
}

int sheets(const Arguments& a)
{
    SheetCatalogue catalogue(SheetCatalogue::Places::ofThisProgram(stateDirOf(a)));
    QByteArray out = Csv::record(
        {QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("paper_width"),
         QStringLiteral("paper_height"), QStringLiteral("diameter"), QStringLiteral("columns"),
         QStringLiteral("rows"), QStringLiteral("positions"), QStringLiteral("source")});
    for (const SheetEntry& entry : catalogue.all()) {
        const Sheet& sheet = entry.sheet;
        const SheetGrid grid = sheet.grids.value(0);
        out += Csv::record({entry.id, sheet.name, mm(sheet.paper.width()), mm(sheet.paper.height()),
                            mm(sheet.diameter), QString::number(grid.columns),
                            QString::number(grid.rows), QString::number(sheet.positions()),
                            sourceName(entry.source)});
    }
    writeOut(out);
    reportRefusals(catalogue);
    return Done;
}

} // namespace Cli
