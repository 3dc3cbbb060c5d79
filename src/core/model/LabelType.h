#pragma once

#include <array>

// What each label type has, in one table: the numbering, the letters, where
// the two lines come from, and which controls of the design screen belong to
// it. Everything that asks "does this type have ...?" asks here.

// The six letter lists of the design screen.
enum class LetterList { Type2, Type3First, Type3Second, Type6, Type7, Type10 };
inline constexpr int LetterListCount = 6;

enum class UpperLine { Text, MonthDay, YearMonth, Memo2, None };
enum class LowerLine { Number, Memo2, FreeText };

struct LabelTypeTraits {
    int type = 0;
    int digits = 0; // of the running number: 4, 3, 2, or 0 without one
    int range = 0;  // 10000, 1000, 100: the number counts within it
    int letterCount = 0;
    std::array<LetterList, 2> letters{};
    UpperLine upper = UpperLine::None;
    int upperText = -1; // which of the five upper texts (Edit1..Edit5), or -1
    LowerLine lower = LowerLine::Number;
    int freeTextBytes = 0; // room of a free text: 5, or 4 behind a letter
    // The upper line sits over the number's own width (types 1, 4, 5, 13).
    bool placedByNumber = false;
    // Its labels go into the spreadsheet; type 8's are all alike.
    bool listed = true;

    // The design screen: the tab page (0..2) and place (0..3) of the type,
    // and the names of its controls.
    int page = 0;
    int slot = 0;
    const char* button = nullptr;
    const char* panel = nullptr;
    const char* shape = nullptr;
    const char* numberCaption = nullptr;
    const char* dateCaption = nullptr;
    std::array<const char*, 3> blackControls{}; // its texts, black while selected
    const char* focus = nullptr;                // its first input, or none
    bool showsFirstNumber = false;
    bool showsDateAdjust = false;

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
