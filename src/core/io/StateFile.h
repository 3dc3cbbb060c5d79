#pragma once

#include "core/i18n/UiLanguage.h"
#include "core/model/LabelDesign.h"
#include "core/model/PrintedJob.h"
#include "core/model/PrinterChoice.h"

#include <QString>
#include <QStringList>

#include <optional>

// Scale of the label positions about the sheet's origin, per mille on each
// axis, for printers that scale a page slightly. 1000 changes nothing.
struct SheetScale {
    int x = 1000;
    int y = 1000;

    friend bool operator==(const SheetScale&, const SheetScale&) = default;
};

// What a station keeps of the registry of issued labels: which registry
// (its identity), the newest job it has seen there, and jobs that printed
// but could not be confirmed (a server away): they are confirmed at the
// next contact.
struct RegistryMark {
    QString identity;
    qint64 seenJob = 0;
    QList<qint64> unconfirmed;

    friend bool operator==(const RegistryMark&, const RegistryMark&) = default;
};

// The state of the run kept between sessions in "state.json" beside the
// start file: the design with the numbering where the last job left it, the
// last job for its record and spreadsheet, and the user's last choices.
struct SavedState {
    LabelDesign design;
    std::optional<PrintedJob> lastJob;
    PrinterChoice labelPrinter;
    PrinterChoice recordPrinter;
    QString exportFolder;      // where the last spreadsheet went
    QStringList recentDesigns; // most recent first, at most five
    SheetScale scale;
    // The sheet in the station's printer, which its jobs print on.
    SheetChoice sheet;
    RegistryMark registry;
    UiLanguage uiLanguage = UiLanguage::Automatic; // written only when the user chose one

    friend bool operator==(const SavedState&, const SavedState&) = default;
};

namespace StateFile {

inline constexpr int Version = 1;
inline constexpr const char* Format = "rondelmaker-state";
inline constexpr const char* FileName = "state.json";

QString pathIn(const QString& dir);

struct ReadResult {
    enum Status { Ok, Missing, Damaged };
    Status status = Missing;
    SavedState state;
    QString error; // for Damaged: what is wrong (unreadable, not JSON, a newer version, a field)
};
ReadResult read(const QString& path);

// Replaces the file atomically; *error holds the system's reason.
bool write(const QString& path, const SavedState& state, QString* error);

// Keeps a damaged state file under a second name, never over an earlier one:
// "state.json.bad", else "state.json.bad.2", ... The file itself stays until a
// new state replaces it. Returns the new name, or an empty string with *error
// set.
QString keepDamaged(const QString& path, QString* error);

} // namespace StateFile
