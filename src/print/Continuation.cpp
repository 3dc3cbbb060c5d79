#include "print/Continuation.h"

#include "sheet/SheetLayout.h"

Continuation ContinueAfterJob(const LabelRun& run, int startPosition)
{
    Continuation next{SheetLayout::nextStartPosition(startPosition, run.labelTotal()),
                      run.firstNumber, run.letter1, run.letter2};
    // The running number of the label after the last one. Every carry it
    // holds goes into the letters, so the first number always fits its list
    // and no label repeats, however far a large job with a big step went.
    const int advanced = run.firstNumber + run.sampleCount * run.step;
    switch (run.type) {
    case 1:
    case 4:
    case 5:
    case 13:
        next.firstNumber = advanced % 10000;
        break;
    case 2:
    case 6:
    case 7:
        next.firstNumber = advanced % 1000;
        next.letter1 = (run.letter1 + advanced / 1000) % 26;
        break;
    case 3: {
        // The two letters count like digits of base 26, wrapping ZZ to AA.
        next.firstNumber = advanced % 100;
        const int letters = (26 * run.letter1 + run.letter2 + advanced / 100) % 676;
        next.letter1 = letters / 26;
        next.letter2 = letters % 26;
        break;
    }
    default:
        break; // free texts: nothing runs on
    }
    return next;
}
