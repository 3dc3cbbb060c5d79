#include "core/model/LabelType.h"

namespace {

using L = LetterList;
using U = UpperLine;
using W = LowerLine;

LabelTypeTraits numbered(int type, int digits, U upper, int upperText)
{
    LabelTypeTraits t;
    t.type = type;
    t.digits = digits;
    t.range = digits == 4 ? 10000 : digits == 3 ? 1000 : 100;
    t.upper = upper;
    t.upperText = upperText;
    t.lower = W::Number;
    return t;
}

LabelTypeTraits withLetters(LabelTypeTraits t, int count, L first, L second = L::Type2)
{
    t.letterCount = count;
    t.letters = {first, second};
    return t;
}

LabelTypeTraits freeText(int type, U upper, int upperText, int bytes)
{
    LabelTypeTraits t;
    t.type = type;
    t.upper = upper;
    t.upperText = upperText;
    t.lower = W::FreeText;
    t.freeTextBytes = bytes;
    return t;
}

std::array<LabelTypeTraits, 14> makeTable()
{
    std::array<LabelTypeTraits, 14> table{};
    table[1] = numbered(1, 4, U::Text, 0);
    table[2] = withLetters(numbered(2, 3, U::Text, 1), 1, L::Type2);
    table[3] = withLetters(numbered(3, 2, U::Text, 2), 2, L::Type3First, L::Type3Second);
    table[4] = numbered(4, 4, U::MonthDay, -1);
    table[5] = numbered(5, 4, U::YearMonth, -1);
    table[6] = withLetters(numbered(6, 3, U::YearMonth, -1), 1, L::Type6);
    table[7] = withLetters(numbered(7, 3, U::MonthDay, -1), 1, L::Type7);

    table[8].type = 8;
    table[8].upper = U::Type8Upper;
    table[8].lower = W::Type8Lower;
    table[8].listed = false;

    table[9] = freeText(9, U::Text, 3, 5);
    table[10] = withLetters(freeText(10, U::Text, 4, 4), 1, L::Type10);
    table[11] = freeText(11, U::MonthDay, -1, 5);
    table[12] = freeText(12, U::YearMonth, -1, 5);

    table[BlankType1] = table[1];
    table[BlankType1].type = BlankType1;
    table[BlankType1].upper = U::None;
    table[BlankType1].upperText = -1;
    for (int type : {1, 4, 5, BlankType1})
        table[type].placedByNumber = true;
    return table;
}

} // namespace

const LabelTypeTraits& labelType(int type)
{
    static const std::array<LabelTypeTraits, 14> table = makeTable();
    return table[type >= FirstLabelType && type <= BlankType1 ? type : FirstLabelType];
}
