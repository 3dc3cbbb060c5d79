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
    // On page "Type5-8" the bottom row's button names are crossed, and on
    // "Type9-12" Type10 and Type12 swap panel names.
    table[1] = placed(captions(numbered(1, 4, U::Text, 0), "Label3"), 0, 0, "RadioButton1",
                      "Panel1", "Shape2", {"Label3", "Edit1"}, "Edit1");
    table[2] =
        placed(captions(withLetters(numbered(2, 3, U::Text, 1), 1, L::Type2), "Label5"), 0, 1,
               "RadioButton2", "Panel2", "Shape3", {"Label5", "ListBox4", "Edit2"}, "Edit2");
    // Type3's number caption turns black with its letters, as every other
    // type's number caption does.
    table[3] = placed(
        captions(withLetters(numbered(3, 2, U::Text, 2), 2, L::Type3First, L::Type3Second),
                 "Label12"),
        0, 2, "RadioButton3", "Panel3", "Shape4", {"ListBox5", "ListBox6", "Label12"}, "Edit3");
    table[4] = placed(captions(numbered(4, 4, U::MonthDay, -1), "Label9", "Label10"), 0, 3,
                      "RadioButton4", "Panel4", "Shape5", {"Label10", "Label9"});
    table[5] = placed(captions(numbered(5, 4, U::YearMonth, -1), "Label16", "Label11"), 1, 0,
                      "RadioButton5", "Panel5", "Shape6", {"Label11", "Label16"});
    table[6] = placed(
        captions(withLetters(numbered(6, 3, U::YearMonth, -1), 1, L::Type6), "Label15", "Label13"),
        1, 1, "RadioButton6", "Panel6", "Shape7", {"Label13", "Label15", "ListBox3"});
    table[7] = placed(
        captions(withLetters(numbered(7, 3, U::MonthDay, -1), 1, L::Type7), "Label18", "Label17"),
        1, 2, "RadioButton8", "Panel7", "Shape8", {"Label17", "Label18", "ListBox1"});

    LabelTypeTraits memo;
    memo.type = 8;
    memo.upper = U::Memo2;
    memo.lower = W::Memo2;
    memo.listed = false;
    table[8] = placed(memo, 1, 3, "RadioButton7", "Panel8", "Shape9", {"Memo2"}, "Memo2");

    table[9] = placed(freeText(9, U::Text, 3, 5), 2, 0, "RadioButton9", "Panel9", "Shape11",
                      {"Label20", "Edit4"}, "Edit4");
    table[10] =
        placed(withLetters(freeText(10, U::Text, 4, 4), 1, L::Type10), 2, 1, "RadioButton10",
               "Panel12", "Shape14", {"Label28", "Edit5", "ListBox8"}, "Edit5");
    table[11] = placed(captions(freeText(11, U::MonthDay, -1, 5), nullptr, "Label23"), 2, 2,
                       "RadioButton11", "Panel11", "Shape13", {"Label23", "Label24"});
    table[12] = placed(captions(freeText(12, U::YearMonth, -1, 5), nullptr, "Label21"), 2, 3,
                       "RadioButton12", "Panel10", "Shape12", {"Label21", "Label22"});

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
