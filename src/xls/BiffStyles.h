#pragma once

#include "xls/Workbook.h"

#include <QByteArray>
#include <QStringList>

#include <array>
#include <map>
#include <vector>

// The formatting of a book: its fonts, XF records and palette, and the plan that gives every
// cell its XF and shared string.
namespace Biff {

// Readers skip font index 4 (a leftover of old BIFF versions), so the fifth FONT record is
// font 5. Fonts 0..3 are the default font, as Excel writes them.
constexpr quint16 kFirstColorFont = 5;
constexpr quint16 kDefaultCellXf = 15; // XFs 0..14 are styles, 15 the plain cell format
constexpr quint16 kFirstCustomXf = 16;
constexpr quint16 kSystemText = 0x40;     // window text colour: what Excel calls automatic
constexpr quint16 kDefaultRowTwips = 270; // what Excel gives the default font

// Fonts, XFs and shared strings, derived from the cells when the book is saved.
struct StylePlan {
    std::vector<quint32> refs; // the cells to write, row-major
    std::vector<quint16> xfs;  // per cell
    std::vector<qint32> sst;   // per cell: shared string index, -1 for a blank cell
    QStringList strings;
    quint32 textCells = 0;
    std::vector<quint16> fontColors; // fonts kFirstColorFont + i
    std::vector<quint32> xfFormats;  // XFs kFirstCustomXf + i, as packed formats
    std::array<quint16, 64> fontForColor{};
};

// `cells` is keyed by row << 8 | column, so in row-major order.
StylePlan planStyles(const std::map<quint32, Xls::Cell>& cells);

// The FONT, XF and STYLE records the plan's cells refer to.
void putStyles(QByteArray& out, const StylePlan& plan);

void putPalette(QByteArray& out, const Xls::Palette& palette);

} // namespace Biff
