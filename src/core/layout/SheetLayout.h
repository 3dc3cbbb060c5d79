#pragma once

#include <array>

// How the labels of a run fall onto label sheets of 150 positions. Pure
// functions of their inputs.
namespace SheetLayout {

inline constexpr int Positions = 150;
inline constexpr int Columns = 10;
inline constexpr int Rows = 15;

// Sheets that positions start .. start + total - 1 of the running sheet
// sequence touch; 1 for an empty run.
int countSheets(int startPosition, int labelTotal);

enum class Mark { Used, Printed, Free };

// What each position (1..150, index 0 unused) of sheet n shows: used before
// the start position, printed by this run, or free. A sheet number outside
// 1..sheetCount marks every position printed.
std::array<Mark, Positions + 1> showSheet(int sheet, int startPosition, int labelTotal);

// First and last position of sheet k (1-based) of a job of sheetCount sheets.
struct SheetRange {
    int first;
    int last;
};
SheetRange sheetRange(int sheet, int sheetCount, int startPosition, int labelTotal);

// The position that follows the last label of a job.
int nextStartPosition(int startPosition, int labelTotal);

} // namespace SheetLayout
