#pragma once

#include <QByteArray>
#include <QRgb>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <vector>

// The formatting of a book: its fonts, XF records and palette, and the plan that gives every
// cell its XF and shared string.
namespace Biff {

constexpr quint8 kTop = 1, kBottom = 2, kLeft = 4, kRight = 8; // bits of Cell::borders

// Readers skip font index 4 (a leftover of old BIFF versions), so the fifth FONT record is
// font 5. Fonts 0..3 are the default font, as Excel writes them.
constexpr quint16 kFirstColorFont = 5;
constexpr quint16 kDefaultCellXf = 15; // XFs 0..14 are styles, 15 the plain cell format
constexpr quint16 kFirstCustomXf = 16;
constexpr quint16 kSystemText = 0x40;     // window text colour: what Excel calls automatic
constexpr quint16 kDefaultRowTwips = 270; // what Excel gives the default font

using Palette = std::array<QRgb, 56>; // entries 8..63

// Excel's standard palette.
inline constexpr Palette kDefaultPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};

constexpr bool isPaletteIndex(int index)
{
    return index >= 8 && index <= 63;
}

// A cell as the book collects it until it is saved.
struct Cell {
    QString text;
    qint8 fontColor = -1; // palette index; -1: automatic
    qint8 fillColor = -1; // palette index; -1: no fill
    quint8 borders = 0;   // one bit per side with a line
};

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

// `cells` is keyed by cell reference, so in row-major order.
StylePlan planStyles(const std::map<quint32, Cell>& cells);

// The FONT, XF and STYLE records the plan's cells refer to.
void putStyles(QByteArray& out, const StylePlan& plan);

void putPalette(QByteArray& out, const Palette& palette);

} // namespace Biff
