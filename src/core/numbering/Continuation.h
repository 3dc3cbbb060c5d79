#pragma once

#include "core/layout/Sheet.h"
#include "core/model/LabelRun.h"

// Where the next job starts after a job of `run` printed from startPosition:
// the next free sheet position, and the first number and letters that make
// the next job's first label the one that would have followed this job's
// last label.
struct Continuation {
    int startPosition = 1;
    int firstNumber = 0;
    int letter1 = 0; // 0..25
    int letter2 = 0; // 0..25, type 3 only
};

Continuation continueAfterJob(const LabelRun& run, int startPosition, const Sheet& sheet);
// The same on the built-in sheet.
Continuation continueAfterJob(const LabelRun& run, int startPosition);
