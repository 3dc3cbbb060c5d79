#include "core/model/Freeze.h"

#include "core/numbering/Cp932.h"
#include "core/numbering/DateStamp.h"

#include <algorithm>

LabelRun freeze(const LabelDesign& design, const QDate& today)
{
    const LabelTypeTraits& traits = labelType(design.type);
    LabelRun run;
    run.type = traits.type;
    run.step = design.step;
    run.plainNumbers = design.plainNumbers;
    run.repeatCount = std::clamp(design.repeatCount, 1, repeatLimit(design.type));

    const QDate stamped = today.addDays(design.dateAdjust);
    switch (traits.upper) {
    case UpperLine::Text:
        run.upper = Cp932::limit(design.upperTexts[size_t(traits.upperText)], LabelBytes);
        break;
    case UpperLine::MonthDay:
        run.upper = DateStamp::monthDay(stamped);
        break;
    case UpperLine::YearMonth:
        run.upper = DateStamp::yearMonth(stamped);
        break;
    case UpperLine::Type8Upper:
        run.upper = Cp932::limit(design.type8Lines.value(0), LabelBytes);
        break;
    case UpperLine::None:
        break;
    }
    // Type 1 without an upper line prints its number in the middle.
    if (run.type == 1 && run.upper.isEmpty())
        run.type = BlankType1;

    if (traits.lower == LowerLine::Type8Lower) {
        run.type8Lower = Cp932::limit(design.type8Lines.value(1), LabelBytes);
        run.type8Blank = design.type8Blank();
    }

    if (traits.hasFreeTexts()) {
        // One sample per line, up to the first empty one.
        for (const QString& line : design.freeTexts.mid(0, MaxFreeTexts)) {
            const QString text = Cp932::limit(line, traits.freeTextBytes);
            if (text.isEmpty())
                break;
            run.freeTexts << text;
        }
        run.sampleCount = int(run.freeTexts.size());
    } else {
        run.sampleCount = design.sampleCount;
    }

    if (traits.letterCount > 0)
        run.letter1 = design.letter(traits.letters[0]);
    if (traits.letterCount > 1)
        run.letter2 = design.letter(traits.letters[1]);

    run.firstNumber = design.firstNumber;
    // A number past its range wraps once, as the first-number list cannot
    // show it.
    if (traits.range > 0 && run.firstNumber > traits.range)
        run.firstNumber -= traits.range;
    return run;
}
