#include "core/layout/SheetLayout.h"

namespace SheetLayout {

int countSheets(int startPosition, int labelTotal)
{
    return (startPosition + labelTotal - 2) / Positions + 1;
}

std::array<Mark, Positions + 1> showSheet(int sheet, int startPosition, int labelTotal)
{
    std::array<Mark, Positions + 1> marks;
    marks.fill(Mark::Printed);
    const int sheets = countSheets(startPosition, labelTotal);
    if (sheet < 1 || sheet > sheets)
        return marks;
    const int lastPosition = startPosition + labelTotal - 1; // on the running sequence
    for (int p = 1; p <= Positions; ++p) {
        const int running = Positions * (sheet - 1) + p;
        if (running < startPosition)
            marks[p] = Mark::Used;
        else if (running <= lastPosition)
            marks[p] = Mark::Printed;
        else
            marks[p] = Mark::Free;
    }
    return marks;
}

SheetRange sheetRange(int sheet, int sheetCount, int startPosition, int labelTotal)
{
    const int last = startPosition + labelTotal - 1 - Positions * (sheetCount - 1);
    SheetRange range{1, Positions};
    if (sheet == 1)
        range.first = startPosition;
    if (sheet == sheetCount)
        range.last = last;
    return range;
}

int nextStartPosition(int startPosition, int labelTotal)
{
    return (startPosition - 1 + labelTotal) % Positions + 1;
}

} // namespace SheetLayout
