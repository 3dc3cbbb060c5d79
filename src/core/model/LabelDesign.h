#pragma once

#include "core/model/LabelType.h"
#include "core/model/PrintAppearance.h"

#include <QString>
#include <QStringList>

#include <array>

// Everything the user chose on both screens, as a plain value: the window's
// widgets show it and write into it, design files and the saved state hold
// it, and freeze() turns it into the run that gets printed. Texts are kept as
// typed; freeze() applies each type's limits.
struct LabelDesign {
    int type = 1; // 1..12
    // The upper texts of the five types that have one: types 1, 2, 3, 9
    // and 10, in this order.
    std::array<QString, 5> upperTexts;
    QStringList freeTexts;                      // one line per sample (types 9..12)
    QStringList type8Lines;                     // type 8's upper and lower line
    std::array<int, LetterListCount> letters{}; // 0..25, by LetterList

    int firstNumber = 1; // within the type's range
    int sampleCount = 30;
    int repeatCount = 1;
    int step = 1; // 1, 2, 3, 5 or 10
    bool plainNumbers = false;
    int dateAdjust = 0; // days, -365..365

    PrintAppearance look;

    int letter(LetterList list) const { return letters[size_t(list)]; }
    void setLetter(LetterList list, int index) { letters[size_t(list)] = index; }
    // Type 8 with nothing in its memo: blank labels, coloured by sample group.
    bool type8Blank() const;

    friend bool operator==(const LabelDesign&, const LabelDesign&) = default;
};

inline constexpr int MaxSampleCount = 1200;
inline constexpr int MaxFreeTexts = 60;
inline constexpr int MaxLabelsPerJob = 1200;
inline constexpr int LabelBytes = 5; // room of one label line, in code page 932 bytes
inline constexpr int MaxDateAdjust = 365;
inline constexpr std::array<int, 5> NumberSteps = {1, 2, 3, 5, 10};

// The repeat counts the list offers: 1..7 for blank type 8 labels (one
// rainbow colour per group), else 1..5.
int maxRepeatCount(const LabelDesign& design);
// The repeat counts a design may hold: type 8 keeps a count of 6 or 7 when
// text is typed into its memo afterwards, every other type at most 5.
int repeatLimit(int type);
