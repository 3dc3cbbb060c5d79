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

QColor colorOf(Mark mark)
{
    switch (mark) {
    case Mark::Used:
        return QColor(128, 128, 128);
    case Mark::Printed:
        return QColor(255, 0, 0);
    case Mark::Free:
        break;
    }
    return QColor(255, 255, 255);
}

int columnAt(int x)
{
    if (x < 10 || x > 159)
        return 0;
    return (x - 10) / 15 + 1;
}

int rowAt(int y)
{
    // Bands are 14 pixels high on a 24-pixel pitch; from row 10 on they
    // start one pixel lower than the pitch continues.
    for (int row = 1; row <= Rows; ++row) {
        const int from = 16 + 24 * (row - 1) + (row >= 10 ? 1 : 0);
        if (y >= from && y <= from + 13)
            return row;
    }
    return 0;
}

int positionAt(int x, int y)
{
    const int column = columnAt(x);
    const int row = rowAt(y);
    if (column == 0 || row == 0)
        return 0;
    return column + Columns * (row - 1);
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
