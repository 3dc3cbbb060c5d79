#pragma once

#include <QString>

// Which folder holds the start file, state.json and the lock. The window and
// the command line ask the same question and get the same answer.
//
// A start file beside the executable wins: a copied program folder or a
// build tree keeps its files there. An installed executable's folder
// (/usr/bin, with share/rondelmaker/ beside it) is not the user's to write,
// so the user's configuration folder is used instead; on its first use there, the start file is made from the
// administrator's calibrated one or else the shipped default. A writable
// folder without a start file stays the answer, and reading it then reports
// the missing file.
namespace StateLocation {

struct Inputs {
    QString executableDir;
    QString configDir;        // e.g. ~/.config/Rondelmaker
    QString adminStartFile;   // /etc/rondelmaker/start.txt
    QString shippedStartFile; // <exe>/../share/rondelmaker/start.txt

    // The running program's: its folder, QStandardPaths::AppConfigLocation
    // (the application name must be set first) and the two defaults.
    static Inputs ofThisProgram();
};

struct Result {
    QString dir;
    // The start file was just made in `dir` from `createdFrom`: say once
    // where the program keeps its files.
    bool created = false;
    QString createdFrom;
    // The configuration folder could not be prepared; the caller reports it
    // and reads on (the start file is then missing).
    QString error;
};

Result decide(const Inputs& inputs);

// The one-time notice after a start file was made, and its detail (both
// paths).
QString createdNotice();
QString createdDetail(const Result& result);

} // namespace StateLocation
