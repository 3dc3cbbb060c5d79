#pragma once

#include "core/layout/GlabelsTemplates.h"
#include "core/layout/Sheet.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Every sheet the program can print on, each under a stable id that the
// command line's --sheet and the saved state name:
//   "builtin"            the built-in sheet;
//   "shipped:<file>"     our own sheet files, compiled in (":/sheets");
//   "user:<file>"        the user's, ~/.config/Rondelmaker/sheets/*.json;
//   "station:<file>"     the station's, <state folder>/sheets/*.json;
//   "glabels:<brand-part>" the round templates of the gLabels database,
//                        e.g. "glabels:avery-5193".
// <file> is the file's name without ".json". The gLabels database is read
// on the first question that needs it; the files once, when first asked.
// Sheets that are unusable (Sheet::problem()) are left out; the refused
// files of the user and the station are listed with the reason.

enum class SheetSource { BuiltIn, Shipped, Glabels, User };

// "builtin", "shipped", "glabels" or "user", as the command line lists them.
QString sourceName(SheetSource source);

struct SheetEntry {
    QString id;
    SheetSource source = SheetSource::BuiltIn;
    Sheet sheet;
    QString path;        // the file it was read from; empty for the built-in sheet
    QString description; // a gLabels template's own, else empty
};

class SheetCatalogue {
public:
    struct Places {
        QString shippedDir = QStringLiteral(":/sheets");
        QString glabelsDir = QString::fromLatin1(GlabelsTemplates::SystemDir);
        QString userDir;
        QString stationDir;

        // The running program's: the user's configuration folder (the
        // application name must be set first) and the state folder's
        // "sheets".
        static Places ofThisProgram(const QString& stateDir);
    };

    static constexpr QLatin1String BuiltInId{"builtin"};

    explicit SheetCatalogue(Places places);

    // Built-in, shipped, user's, station's, then gLabels sheets.
    QList<SheetEntry> all();
    // The same without the gLabels database, which is never read for it.
    QList<SheetEntry> local();

    // The sheet of an id, or of a sheet file's path (relative to the
    // working folder): a file of the catalogue keeps its id, any other is
    // read and named by its absolute path. nullopt with *error saying why.
    std::optional<SheetEntry> find(const QString& idOrPath, QString* error);

    // "path: reason" for each user's or station's file that was refused.
    QStringList refusals();

    // Saves a typed-in sheet as a new file in the user's folder, named after
    // the sheet, and adds it.
    std::optional<SheetEntry> saveUserSheet(const Sheet& sheet, QString* error);

private:
    void loadLocal();
    void loadGlabels();
    void readFolder(const QString& dir, const QString& prefix, SheetSource source);

    Places m_places;
    bool m_localLoaded = false;
    bool m_glabelsLoaded = false;
    QList<SheetEntry> m_local;
    QList<SheetEntry> m_glabels;
    QStringList m_refusals;
};
