#pragma once

#include "cli/Arguments.h"

#include <QDate>

// The commands of rondelmaker-cli. They work on the same start file,
// state.json and lock as the window, so a job printed here continues the
// window's numbering and the other way round.
namespace Cli {

enum ExitCode {
    Done = 0,
    NotPrinted = 1, // nothing printed, nothing advanced
    BadInput = 2,   // bad arguments or a bad file; nothing changed
    NotSaved = 3,   // printed, but a file after the job could not be written
};

// Messages go to standard error with the program's name in front.
void report(const QString& message);

int print(const Arguments& arguments);
int list(const Arguments& arguments);
int next(const Arguments& arguments);

} // namespace Cli
