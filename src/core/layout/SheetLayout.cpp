#include "core/layout/SheetLayout.h"

#include <algorithm>

namespace SheetLayout {

namespace {

// Everything here depends on the sheet only through its number of
// positions; a sheet without any counts as one position, never as zero.
int positionsOf(const Sheet& sheet)
{
    return std::max(sheet.positions(), 1);
}

int count(int positions, int startPosition, int labelTotal)
{
    return (startPosition + labelTotal - 2) / positions + 1;
}

template <typename Marks>
void mark(Marks& marks, int positions, int sheet, int startPosition, int labelTotal)
{
    std::fill(marks.begin(), marks.end(), Mark::Printed);
    if (sheet < 1 || sheet > count(positions, startPosition, labelTotal))
        return;
    const int lastPosition = startPosition + labelTotal - 1; // on the running sequence
    for (int p = 1; p <= positions; ++p) {
        const int running = positions * (sheet - 1) + p;
        if (running < startPosition)
            marks[p] = Mark::Used;
        else if (running <= lastPosition)
            marks[p] = Mark::Printed;
        else
            marks[p] = Mark::Free;
    }
}

SheetRange range(int positions, int sheet, int sheetCount, int startPosition, int labelTotal)
{
    const int last = startPosition + labelTotal - 1 - positions * (sheetCount - 1);
    SheetRange range{1, positions};
    if (sheet == 1)
        range.first = startPosition;
    if (sheet == sheetCount)
        range.last = last;
    return range;
}

int next(int positions, int startPosition, int labelTotal)
{
    return (startPosition - 1 + labelTotal) % positions + 1;
}

} // namespace

int countSheets(const Sheet& sheet, int startPosition, int labelTotal)
{
    return count(positionsOf(sheet), startPosition, labelTotal);
}

int countSheets(int startPosition, int labelTotal)
{
    return count(Positions, startPosition, labelTotal);
}

std::vector<Mark> showSheet(const Sheet& sheet, int number, int startPosition, int labelTotal)
{
    std::vector<Mark> marks(positionsOf(sheet) + 1);
    mark(marks, positionsOf(sheet), number, startPosition, labelTotal);
    return marks;
}

std::array<Mark, Positions + 1> showSheet(int sheet, int startPosition, int labelTotal)
{
    std::array<Mark, Positions + 1> marks;
    mark(marks, Positions, sheet, startPosition, labelTotal);
    return marks;
}

SheetRange sheetRange(const Sheet& sheet, int number, int sheetCount, int startPosition,
                      int labelTotal)
{
    return range(positionsOf(sheet), number, sheetCount, startPosition, labelTotal);
}

SheetRange sheetRange(int sheet, int sheetCount, int startPosition, int labelTotal)
{
    return range(Positions, sheet, sheetCount, startPosition, labelTotal);
}

int nextStartPosition(const Sheet& sheet, int startPosition, int labelTotal)
{
    return next(positionsOf(sheet), startPosition, labelTotal);
}

int nextStartPosition(int startPosition, int labelTotal)
{
    return next(Positions, startPosition, labelTotal);
}

} // namespace SheetLayout
