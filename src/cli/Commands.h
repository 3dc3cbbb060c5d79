#pragma once

#include "cli/CommandSupport.h"

// The commands of rondelmaker-cli. They work on the same start file,
// state.json, lock and registry as the window, so a job printed here
// continues the window's numbering and the other way round.
namespace Cli {

int print(const Arguments& arguments);
int list(const Arguments& arguments);
int next(const Arguments& arguments);

// The registry of issued labels: the history, a job's labels, a search, a
// reprint, and settling a job that may or may not have printed.
int history(const Arguments& arguments);
int labels(const Arguments& arguments);
int find(const Arguments& arguments);
int reprint(const Arguments& arguments);
int resolve(const Arguments& arguments);

// The label sheets it can print on, as CSV.
int sheets(const Arguments& arguments);

} // namespace Cli
