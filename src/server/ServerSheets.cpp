#include "server/ServerSheets.h"

namespace {

// Millimetres as the command line lists them: three decimals at most.
double mm(double length)
{
    return qRound64(length * 1000) / 1000.0;
}

} // namespace

ServerSheets::ServerSheets(const QString& stateDir)
    : ServerSheets(SheetCatalogue::Places::ofThisProgram(stateDir))
{
}

ServerSheets::ServerSheets(SheetCatalogue::Places places) : m_places(std::move(places)) {}

QList<SheetEntry> ServerSheets::glabels()
{
    const std::lock_guard lock(m_mutex);
    if (!m_glabelsRead) {
        SheetCatalogue::Places database;
        database.shippedDir.clear();
        database.glabelsDir = m_places.glabelsDir;
        for (const SheetEntry& entry : SheetCatalogue(database).all())
            if (entry.source == SheetSource::Glabels)
                m_glabels << entry;
        m_glabelsRead = true;
    }
    return m_glabels;
}

QList<SheetEntry> ServerSheets::all()
{
    SheetCatalogue::Places files = m_places;
    files.glabelsDir.clear();
    return SheetCatalogue(files).local() + glabels();
}

std::optional<SheetEntry> ServerSheets::find(const QString& id)
{
    const QList<SheetEntry> entries = all();
    for (const SheetEntry& entry : entries)
        if (entry.id == id)
            return entry;
    return std::nullopt;
}

QJsonObject ServerSheets::json(const QString& id, const Sheet& sheet)
{
    const SheetGrid grid = sheet.grids.value(0);
    return {{"id", id},
            {"name", sheet.name},
            {"paperWidth", mm(sheet.paper.width())},
            {"paperHeight", mm(sheet.paper.height())},
            {"diameter", mm(sheet.diameter)},
            {"columns", grid.columns},
            {"rows", grid.rows},
            {"positions", sheet.positions()}};
}

QJsonObject ServerSheets::json(const SheetEntry& entry)
{
    QJsonObject object = json(entry.id, entry.sheet);
    object.insert(QStringLiteral("source"), sourceName(entry.source));
    return object;
}
