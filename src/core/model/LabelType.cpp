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
    t.showsFirstNumber = true;
    t.showsDateAdjust = upper == U::MonthDay || upper == U::YearMonth;
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
    t.showsDateAdjust = upper == U::MonthDay || upper == U::YearMonth;
    return t;
}

LabelTypeTraits placed(LabelTypeTraits t, int page, int slot, const char* button, const char* panel,
                       const char* shape, std::array<const char*, 3> black,
                       const char* focus = nullptr)
{
    t.page = page;
    t.slot = slot;
    t.button = button;
    t.panel = panel;
    t.shape = shape;
    t.blackControls = black;
    t.focus = focus;
    return t;
}

LabelTypeTraits captions(LabelTypeTraits t, const char* number, const char* date = nullptr)
{
    t.numberCaption = number;
    t.dateCaption = date;
    return t;
}

std::array<LabelTypeTraits, 14> makeTable()
{
    std::array<LabelTypeTraits, 14> table{};
    table[1] = placed(captions(numbered(1, 4, U::Text, 0), "type1NumberCaption"), 0, 0,
                      "type1Button", "type1Panel", "type1Disc",
                      {"type1NumberCaption", "type1UpperEdit"}, "type1UpperEdit");
    table[2] =
        placed(captions(withLetters(numbered(2, 3, U::Text, 1), 1, L::Type2), "type2NumberCaption"),
               0, 1, "type2Button", "type2Panel", "type2Disc",
               {"type2NumberCaption", "type2LetterList", "type2UpperEdit"}, "type2UpperEdit");
    // Type3's number caption turns black with its letters, as every other
    // type's number caption does.
    table[3] = placed(
        captions(withLetters(numbered(3, 2, U::Text, 2), 2, L::Type3First, L::Type3Second),
                 "type3NumberCaption"),
        0, 2, "type3Button", "type3Panel", "type3Disc",
        {"type3FirstLetterList", "type3SecondLetterList", "type3NumberCaption"}, "type3UpperEdit");
    table[4] = placed(
        captions(numbered(4, 4, U::MonthDay, -1), "type4NumberCaption", "type4DateCaption"), 0, 3,
        "type4Button", "type4Panel", "type4Disc", {"type4DateCaption", "type4NumberCaption"});
    table[5] = placed(
        captions(numbered(5, 4, U::YearMonth, -1), "type5NumberCaption", "type5DateCaption"), 1, 0,
        "type5Button", "type5Panel", "type5Disc", {"type5DateCaption", "type5NumberCaption"});
    table[6] = placed(captions(withLetters(numbered(6, 3, U::YearMonth, -1), 1, L::Type6),
                               "type6NumberCaption", "type6DateCaption"),
                      1, 1, "type6Button", "type6Panel", "type6Disc",
                      {"type6DateCaption", "type6NumberCaption", "type6LetterList"});
    table[7] = placed(captions(withLetters(numbered(7, 3, U::MonthDay, -1), 1, L::Type7),
                               "type7NumberCaption", "type7DateCaption"),
                      1, 2, "type7Button", "type7Panel", "type7Disc",
                      {"type7DateCaption", "type7NumberCaption", "type7LetterList"});

    LabelTypeTraits memo;
    memo.type = 8;
    memo.upper = U::Memo2;
    memo.lower = W::Memo2;
    memo.listed = false;
    table[8] =
        placed(memo, 1, 3, "type8Button", "type8Panel", "type8Disc", {"type8Memo"}, "type8Memo");

    table[9] = placed(freeText(9, U::Text, 3, 5), 2, 0, "type9Button", "type9Panel", "type9Disc",
                      {"type9FreeTextPointer", "type9UpperEdit"}, "type9UpperEdit");
    table[10] =
        placed(withLetters(freeText(10, U::Text, 4, 4), 1, L::Type10), 2, 1, "type10Button",
               "type10Panel", "type10Disc",
               {"type10FreeTextPointer", "type10UpperEdit", "type10LetterList"}, "type10UpperEdit");
    table[11] = placed(captions(freeText(11, U::MonthDay, -1, 5), nullptr, "type11DateCaption"), 2,
                       2, "type11Button", "type11Panel", "type11Disc",
                       {"type11DateCaption", "type11FreeTextPointer"});
    table[12] = placed(captions(freeText(12, U::YearMonth, -1, 5), nullptr, "type12DateCaption"), 2,
                       3, "type12Button", "type12Panel", "type12Disc",
                       {"type12DateCaption", "type12FreeTextPointer"});

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
