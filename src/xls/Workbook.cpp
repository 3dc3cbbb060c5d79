#include "xls/Workbook.h"

#include "core/io/AtomicFile.h"
#include "xls/BiffWriter.h"
#include "xls/CompoundFile.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <cmath>

namespace Xls {

namespace {

constexpr int kMaxRowTwips = 8192;
constexpr int kMaxColumnChars = 255;

quint32 keyOf(int row, int column)
{
    return quint32(row) << 8 | quint32(column);
}

bool inSheet(int row, int column)
{
    return row >= 0 && row < Worksheet::kRowCount && column >= 0 &&
           column < Worksheet::kColumnCount;
}

} // namespace

void Worksheet::setCell(int row, int column, const QString& text, const CellFormat& format)
{
    if (!inSheet(row, column))
        return;
    Cell cell{text, format};
    if (text.size() > kMaxTextLength) // but not between the halves of a surrogate pair
        cell.text.truncate(kMaxTextLength - (text[kMaxTextLength - 1].isHighSurrogate() ? 1 : 0));
    if (!isPaletteIndex(cell.format.fontColor))
        cell.format.fontColor = -1;
    if (!isPaletteIndex(cell.format.fillColor))
        cell.format.fillColor = -1;
    if (cell.text.isEmpty() && cell.format == CellFormat{})
        m_cells.erase(keyOf(row, column));
    else
        m_cells[keyOf(row, column)] = std::move(cell);
}

Cell Worksheet::cell(int row, int column) const
{
    if (!inSheet(row, column))
        return {};
    const auto it = m_cells.find(keyOf(row, column));
    return it != m_cells.end() ? it->second : Cell{};
}

void Worksheet::setRowHeight(int row, double points)
{
    if (!inSheet(row, 0) || !(points > 0)) // also rejects NaN
        return;
    const double twips = std::min(points, kMaxRowTwips / 20.0) * 20;
    m_rowHeights[row] = quint16(std::max(2L, std::lround(twips)));
}

void Worksheet::setColumnWidth(int column, int characters)
{
    if (!inSheet(0, column) || characters < 0)
        return;
    m_columnWidths[column] = quint16(std::min(characters, kMaxColumnChars) * 256);
}

Workbook::Workbook(int sheetCount) : m_sheetCount(std::clamp(sheetCount, 1, 255)) {}

void Workbook::setPaletteColor(int index, QRgb rgb)
{
    if (!isPaletteIndex(index))
        return;
    m_palette[size_t(index - 8)] = rgb & 0xFFFFFF;
    m_paletteRedefined = true;
}

bool Workbook::save(const QString& path, QString* error) const
{
    QString reason;
    if (path.isEmpty()) {
        reason = QCoreApplication::translate("Xls::Workbook", "no file name given");
    } else {
        const QByteArray file = CompoundFile::build(Biff::workbookStream(*this));
        if (file.isEmpty())
            reason = QCoreApplication::translate("Xls::Workbook", "workbook too large");
        else if (writeFileAtomically(path, file, &reason))
            return true;
    }
    if (error)
        *error = QCoreApplication::translate("Xls::Workbook", "Cannot write %1: %2")
                     .arg(QDir::toNativeSeparators(path), reason);
    return false;
}

} // namespace Xls
