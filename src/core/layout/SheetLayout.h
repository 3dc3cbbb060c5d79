#pragma once

#include <QColor>

#include <array>

// How the labels of a run fall onto label sheets of 150 positions, and how
// the sheet map shows and picks positions. Pure functions of their inputs.
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

QColor colorOf(Mark mark);

// The sheet map's click bands, in pixels of its click area. 0 when the
// point lies in no band. The column bands run on a 15-pixel pitch while the
// circles stand on a 16-pixel pitch, so they drift left towards column 10.
int columnAt(int x);
int rowAt(int y);
// The position a click picks, or 0.
int positionAt(int x, int y);

// First and last position of sheet k (1-based) of a job of sheetCount sheets.
struct SheetRange {
    int first;
    int last;
};
SheetRange sheetRange(int sheet, int sheetCount, int startPosition, int labelTotal);

// The position that follows the last label of a job.
int nextStartPosition(int startPosition, int labelTotal);

} // namespace SheetLayout
