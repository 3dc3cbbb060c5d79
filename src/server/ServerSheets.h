#pragma once

#include "core/layout/SheetCatalogue.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <mutex>
#include <optional>

// The label sheets the service prints on: the catalogue that
// `rondelmaker-cli --state-dir DIR sheets` lists for the same state folder.
// The sheet files are read at every question, so that a sheet put into the
// state folder's sheets/ is there without a restart; the gLabels database
// is read once. A request names a sheet by its id only: a path would let any
// client read files of the service's computer.
class ServerSheets {
public:
    explicit ServerSheets(const QString& stateDir);
    explicit ServerSheets(SheetCatalogue::Places places);

    // Built-in, shipped, user's, station's, then gLabels sheets.
    QList<SheetEntry> all();
    std::optional<SheetEntry> find(const QString& id);

    // A sheet as the API shows it: id, name, paper, diameter, columns, rows
    // and positions, lengths in millimetres; with its source where known.
    static QJsonObject json(const QString& id, const Sheet& sheet);
    static QJsonObject json(const SheetEntry& entry);
    static QJsonObject json(const SheetChoice& choice) { return json(choice.id, choice.sheet); }

private:
    QList<SheetEntry> glabels();

    SheetCatalogue::Places m_places;
    std::mutex m_mutex;
    bool m_glabelsRead = false;
    QList<SheetEntry> m_glabels;
};
