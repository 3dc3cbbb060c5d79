#include "core/numbering/ComposeLabelTexts.h"

#include "core/model/LabelType.h"

namespace {

// "0000"/"000"/"00" when padded, plain decimal otherwise.
QString formatted(int value, int digits, bool plain)
{
    return plain ? QString::number(value)
                 : QStringLiteral("%1").arg(value, digits, 10, QLatin1Char('0'));
}

} // namespace

QString letterOf(int index)
{
    return QString(QChar(u'A' + index));
}

LabelTexts composeLabelTexts(const LabelRun& run, int n)
{
    const LabelTypeTraits& traits = labelType(run.type);
    LabelTexts texts;
    texts.upper = traits.upper == UpperLine::None ? QString() : run.upper;
    const int repeat = run.repeatCount > 0 ? run.repeatCount : 1;
    const int sample = n / repeat;

    switch (traits.lower) {
    case LowerLine::Number: {
        const int v = sample * run.step + run.firstNumber;
        const int carry = v / traits.range;
        const QString number = formatted(v % traits.range, traits.digits, run.plainNumbers);
        if (traits.placedByNumber)
            texts.number = number;
        QString letters;
        if (traits.letterCount == 1) {
            // The letter advances with every range the number passes.
            texts.letter1 = (run.letter1 + carry) % 26;
            letters = letterOf(texts.letter1);
        } else if (traits.letterCount == 2) {
            // Two letters count on like digits of base 26, wrapping ZZ to AA.
            const int x = (26 * run.letter1 + run.letter2 + carry) % 676;
            texts.letter1 = x / 26;
            texts.letter2 = x % 26;
            letters = letterOf(texts.letter1) + letterOf(texts.letter2);
        }
        texts.lower = letters + number;
        break;
    }
    case LowerLine::Type8Lower:
        texts.lower = run.type8Lower;
        break;
    case LowerLine::FreeText:
        // Type 10's letter stands before the text and never advances.
        texts.lower = (traits.letterCount > 0 ? letterOf(run.letter1) : QString()) +
                      run.freeTexts.value(sample);
        break;
    }
    return texts;
}
