#include "design/ComposeLabelTexts.h"

namespace {

// "0000"/"000"/"00" when padded, plain decimal otherwise; then the last
// `digits` characters.
QString formatted(int value, int digits, bool plain)
{
    return plain ? QString::number(value)
                 : QStringLiteral("%1").arg(value, digits, 10, QLatin1Char('0'));
}

QString lastChars(const QString& text, int count)
{
    return text.size() <= count ? text : text.right(count);
}

} // namespace

int numberDigits(int type)
{
    switch (type) {
    case 1:
    case 4:
    case 5:
    case 13:
        return 4;
    case 2:
    case 6:
    case 7:
        return 3;
    case 3:
        return 2;
    default:
        return 0;
    }
}

int numberRange(int type)
{
    switch (numberDigits(type)) {
    case 4:
        return 10000;
    case 3:
        return 1000;
    case 2:
        return 100;
    default:
        return 0;
    }
}

QString letterOf(int index)
{
    return QString(QChar(u'A' + index));
}

LabelTexts ComposeLabelTexts(const LabelRun& run, int n)
{
    LabelTexts texts;
    texts.upper = run.type == 13 ? QString() : run.upper;
    const int repeat = run.repeatCount > 0 ? run.repeatCount : 1;
    const int sample = n / repeat;
    const int v = sample * run.step + run.firstNumber;

    switch (run.type) {
    case 1:
    case 4:
    case 5:
    case 13:
        texts.number = formatted(v, 4, run.plainNumbers);
        texts.lower = lastChars(texts.number, 4);
        break;
    case 2:
    case 6:
    case 7: {
        // The letter advances with every thousand the number passes.
        const int carry = v / 1000;
        texts.letter1 = (run.letter1 + carry) % 26;
        texts.lower = letterOf(texts.letter1) + lastChars(formatted(v, 3, run.plainNumbers), 3);
        break;
    }
    case 3: {
        // Two letters count on like digits of base 26, wrapping ZZ to AA.
        const int carry = v / 100;
        const int x = (26 * run.letter1 + run.letter2 + carry) % 676;
        texts.letter1 = x / 26;
        texts.letter2 = x % 26;
        texts.lower = letterOf(texts.letter1) + letterOf(texts.letter2) +
                      lastChars(formatted(v - 100 * carry, 2, run.plainNumbers), 2);
        break;
    }
    case 8:
        texts.lower = run.type8Lower;
        break;
    case 9:
    case 11:
    case 12:
        texts.lower = run.freeTexts.value(sample);
        break;
    case 10:
        texts.lower = letterOf(run.letter1) + run.freeTexts.value(sample);
        break;
    default:
        break;
    }
    return texts;
}
