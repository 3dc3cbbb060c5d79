#pragma once

#include <QColor>
#include <QStringList>

// The colour choices of the print screen and what they mean on paper, on the
// record and in the spreadsheet. Every colour is built from its red, green
// and blue, never from a packed integer.
namespace Colours {

inline constexpr int CustomIndex = 8; // "Custom" in the background list

QStringList textColorItems();       // "Black", "Red", ...
QStringList backgroundColorItems(); // "White", "Yellow", ..., "Custom"

// Index of the text colour list to its colour ("Black" is a near black).
QColor textColorOf(int index);
// Index of the background list to its colour; "Custom" gives `custom`.
QColor backgroundColorOf(int index, const QColor& custom);

// Multi-colour mode: the disc fill of the label with sheet index n (0 for
// the first label drawn on a sheet). Indices past a table wrap around it.
QColor rainbowByRepeat(int n, int repeatCount);
// Blank Type8 labels: coloured by sample group.
QColor rainbowBySampleGroup(int n, int sampleCount);
inline constexpr int RepeatRainbowSize = 5;
inline constexpr int GroupRainbowSize = 7;

// Colour numbers of the standard workbook palette for the spreadsheet.
int sheetTextColorOf(int index);
int sheetBackColorOf(int index); // "Custom" has none: -1
// The spreadsheet writer still calls them by their former names.
inline int SheetTextColorOf(int index)
{
    return sheetTextColorOf(index);
}
inline int SheetBackColorOf(int index)
{
    return sheetBackColorOf(index);
}

} // namespace Colours
