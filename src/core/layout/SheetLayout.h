#pragma once

#include "core/layout/Sheet.h"

#include <array>
#include <vector>

// How the labels of a run fall onto label sheets: positions 1..N of each
// sheet, one sheet after another. Pure functions of their inputs. The forms
// without a sheet are the built-in sheet's, of 150 positions.
namespace SheetLayout {

inline constexpr int Positions = 150;
inline constexpr int Columns = 10;
inline constexpr int Rows = 15;

// Sheets that positions start .. start + total - 1 of the running sheet
// sequence touch; 1 for an empty run.
int countSheets(const Sheet& sheet, int startPosition, int labelTotal);
int countSheets(int startPosition, int labelTotal);

enum class Mark { Used, Printed, Free };

// What each position (1..N, index 0 unused) of sheet n shows: used before
// the start position, printed by this run, or free. A sheet number outside
// 1..sheetCount marks every position printed.
std::vector<Mark> showSheet(const Sheet& sheet, int number, int startPosition, int labelTotal);
std::array<Mark, Positions + 1> showSheet(int sheet, int startPosition, int labelTotal);

// First and last position of sheet k (1-based) of a job of sheetCount sheets.
struct SheetRange {
    int first;
    int last;
};
SheetRange sheetRange(const Sheet& sheet, int number, int sheetCount, int startPosition,
                      int labelTotal);
SheetRange sheetRange(int sheet, int sheetCount, int startPosition, int labelTotal);

// The position that follows the last label of a job.
int nextStartPosition(const Sheet& sheet, int startPosition, int labelTotal);
int nextStartPosition(int startPosition, int labelTotal);

} // namespace SheetLayout
