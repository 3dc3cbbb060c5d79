#include "core/numbering/Continuation.h"

#include "core/layout/SheetLayout.h"
#include "core/model/LabelType.h"

Continuation continueAfterJob(const LabelRun& run, int startPosition)
{
    return continueAfterJob(run, startPosition, Sheet::builtIn());
}

Continuation continueAfterJob(const LabelRun& run, int startPosition, const Sheet& sheet)
{
    Continuation next{SheetLayout::nextStartPosition(sheet, startPosition, run.labelTotal()),
                      run.firstNumber, run.letter1, run.letter2};
    const LabelTypeTraits& traits = labelType(run.type);
    if (!traits.hasNumber())
        return next; // free texts: nothing runs on
    // The running number of the label after the last one. Every carry it
    // holds goes into the letters, so the first number always fits its list
    // and no label repeats, however far a large job with a big step went.
    const int advanced = run.firstNumber + run.sampleCount * run.step;
    next.firstNumber = advanced % traits.range;
    const int carry = advanced / traits.range;
    if (traits.letterCount == 1) {
        next.letter1 = (run.letter1 + carry) % 26;
    } else if (traits.letterCount == 2) {
        const int letters = (26 * run.letter1 + run.letter2 + carry) % 676;
        next.letter1 = letters / 26;
        next.letter2 = letters % 26;
    }
    return next;
}
