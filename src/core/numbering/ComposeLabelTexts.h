#pragma once

#include "core/model/LabelRun.h"

struct LabelTexts {
    QString upper;
    QString lower;
    // Types 1, 4, 5, 13: the running number as printed. The printer centres
    // the upper line on it.
    QString number;
    // Types 2, 3, 6, 7: the letters this label carries (0..25), else -1.
    int letter1 = -1;
    int letter2 = -1;
};

// The two texts of label n (0-based, in print order) of a run. Each sample's
// label is repeated repeatCount times in a row; the running number is
// sample index x step + first number. A number past its range carries into
// the letters and prints within its range, so a run prints the same labels
// however it is split into jobs.
LabelTexts composeLabelTexts(const LabelRun& run, int n);

// The letter for a list index 0..25.
QString letterOf(int index);
