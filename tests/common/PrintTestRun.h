#pragma once

#include "core/model/LabelRun.h"

// A run of numbered labels as PrintSet would freeze it.
inline LabelRun numberedRun(int type, int first, int samples, int repeat = 1,
                            const QString& upper = QStringLiteral("ABC"))
{
    LabelRun run;
    run.type = type;
    run.firstNumber = first;
    run.sampleCount = samples;
    run.repeatCount = repeat;
    run.upper = upper;
    return run;
}

// The same with a step and the letters the type's lists hold.
inline LabelRun steppedRun(int type, int first, int step, int samples, int repeat, int letter1 = 0,
                           int letter2 = 0)
{
    LabelRun run = numberedRun(type, first, samples, repeat);
    run.step = step;
    run.letter1 = letter1;
    run.letter2 = letter2;
    return run;
}
