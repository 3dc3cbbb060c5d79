#pragma once

#include <array>

// What each label type has, in one table: the numbering, the letters and
// where the two lines come from. Everything that asks "does this type have
// ...?" asks here.

// The design's six letters: one each for types 2, 6, 7 and 10, two for type 3.
enum class LetterList { Type2, Type3First, Type3Second, Type6, Type7, Type10 };
inline constexpr int LetterListCount = 6;

// Type 8 takes both lines from its two typed lines.
enum class UpperLine { Text, MonthDay, YearMonth, Type8Upper, None };
enum class LowerLine { Number, Type8Lower, FreeText };

struct LabelTypeTraits {
    int type = 0;
    int digits = 0; // of the running number: 4, 3, 2, or 0 without one
    int range = 0;  // 10000, 1000, 100: the number counts within it
    int letterCount = 0;
    std::array<LetterList, 2> letters{};
    UpperLine upper = UpperLine::None;
    // Which of the design's five upper texts (types 1, 2, 3, 9, 10), or -1.
    int upperText = -1;
    LowerLine lower = LowerLine::Number;
    int freeTextBytes = 0; // room of a free text: 5, or 4 behind a letter
    // The upper line sits over the number's own width (types 1, 4, 5, 13).
    bool placedByNumber = false;
    // Its labels go into the spreadsheet; type 8's are all alike.
    bool listed = true;

    bool hasNumber() const { return digits > 0; }
    bool hasDate() const { return upper == UpperLine::MonthDay || upper == UpperLine::YearMonth; }
    bool hasFreeTexts() const { return lower == LowerLine::FreeText; }
};

inline constexpr int FirstLabelType = 1;
inline constexpr int LastLabelType = 12;
// Type1 printed without an upper line: its number sits in the middle.
inline constexpr int BlankType1 = 13;

// The traits of types 1..13; any other value gets type 1's.
const LabelTypeTraits& labelType(int type);
