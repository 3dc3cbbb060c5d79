#pragma once

#include "design/LabelRun.h"

struct LabelTexts {
    QString upper;
    QString lower;
    // Types 1, 4, 5, 13: the running number as formatted before the cut to
    // four characters. The printer centres the upper line on it.
    QString number;
    // Types 2, 3, 6, 7: the letters this label carries (0..25), else -1.
    int letter1 = -1;
    int letter2 = -1;
};

// The two texts of label n (0-based, in print order) of a run. Each sample's
// label is repeated repeatCount times in a row; the running number is
// sample index x step + first number.
LabelTexts ComposeLabelTexts(const LabelRun& run, int n);

// Digits of the running number by type: 4 (types 1, 4, 5, 13), 3 (2, 6, 7),
// 2 (3), 0 for the free-text types that have none.
int numberDigits(int type);
// The first-number list's range for the type: 10000, 1000 or 100; 0 for none.
int numberRange(int type);

// The letter for a list index 0..25.
QString letterOf(int index);
