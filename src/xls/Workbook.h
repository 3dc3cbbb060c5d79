#pragma once

#include <QFlags>
#include <QRgb>
#include <QString>

#include <array>
#include <map>

// A spreadsheet as the program fills it before saving it as an Excel 97-2003 (.xls) file:
// cells with text and a format, row heights and column widths, and the colour palette.
namespace Xls {

// Palette entries 8..63; colours are given by their index into it.
using Palette = std::array<QRgb, 56>;

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

// Sides of a cell that get a thin black line.
enum class Border : quint8 { Top = 0x1, Bottom = 0x2, Left = 0x4, Right = 0x8 };
Q_DECLARE_FLAGS(Borders, Border)

} // namespace Xls

Q_DECLARE_OPERATORS_FOR_FLAGS(Xls::Borders)

namespace Xls {

inline constexpr Borders AllBorders = Border::Top | Border::Bottom | Border::Left | Border::Right;

struct CellFormat {
    int fontColor = -1; // palette index; -1: automatic
    int fillColor = -1; // palette index; -1: no fill
    Borders borders;

    friend bool operator==(const CellFormat&, const CellFormat&) = default;
};

struct Cell {
    QString text; // empty: a blank cell that only carries its format
    CellFormat format;
};

class Worksheet {
public:
    static constexpr int kColumnCount = 256;
    static constexpr int kRowCount = 65536;
    static constexpr qsizetype kMaxTextLength = 32767;

    // Gives the cell at `row`, `column` (both from 0) its text and format, replacing what it
    // had. Text beyond kMaxTextLength is cut off; a colour that is not a palette index means
    // automatic or no fill. A cell with neither text nor format is removed, and a cell outside
    // the sheet is ignored.
    void setCell(int row, int column, const QString& text, const CellFormat& format = {});
    // What setCell gave the cell; an empty cell when there is none.
    Cell cell(int row, int column) const;

    // Height of a row, in points, and width of a column, in characters of the default font
    // (at most 255). Rows and columns outside the sheet, non-positive heights and negative
    // widths are ignored.
    void setRowHeight(int row, double points);
    void setColumnWidth(int column, int characters);

    // The cells, keyed by row << 8 | column, so in row-major order.
    const std::map<quint32, Cell>& cells() const { return m_cells; }
    // The heights set, by row, in twips (1/20 point).
    const std::map<int, quint16>& rowHeights() const { return m_rowHeights; }
    // The widths set, by column, in 1/256 of a character.
    const std::map<int, quint16>& columnWidths() const { return m_columnWidths; }

private:
    std::map<quint32, Cell> m_cells;
    std::map<int, quint16> m_rowHeights;
    std::map<int, quint16> m_columnWidths;
};

class Workbook {
public:
    // A book of `sheetCount` sheets (kept to 1..255), named "Sheet1".."SheetN". Only the first
    // holds content; the others are there for a book that should look like a new Excel book.
    explicit Workbook(int sheetCount = 1);

    int sheetCount() const { return m_sheetCount; }
    Worksheet& sheet() { return m_sheet; }
    const Worksheet& sheet() const { return m_sheet; }

    // Redefines palette entry `index` (8..63) as `rgb`, alpha ignored; other indexes are
    // ignored. The palette is only written when an entry was redefined.
    void setPaletteColor(int index, QRgb rgb);
    const Palette& palette() const { return m_palette; }
    bool paletteRedefined() const { return m_paletteRedefined; }

    // Writes the book to `path`. The file is replaced atomically: on failure an existing file
    // of that name is left as it was and no partial file remains. Returns false with *error
    // (when given) saying why when nothing was written.
    bool save(const QString& path, QString* error = nullptr) const;

private:
    int m_sheetCount = 1;
    Worksheet m_sheet;
    Palette m_palette = kDefaultPalette;
    bool m_paletteRedefined = false;
};

} // namespace Xls
