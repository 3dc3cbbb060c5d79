#include "xls/BiffWorkbook.h"

#include "core/io/AtomicFile.h"
#include "xls/BiffRecords.h"
#include "xls/BiffStyles.h"
#include "xls/CompoundFile.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <climits>
#include <cmath>

using namespace Biff;

namespace {

constexpr qsizetype kMaxTextLength = 32767;
constexpr int kMaxRowTwips = 8192;
constexpr int kMaxColumnChars = 255;

int rowOf(quint32 ref)
{
    return int(ref >> 8);
}

int columnOf(quint32 ref)
{
    return int(ref & 0xFF);
}

struct RowSpan {
    int row = 0;
    qsizetype firstCell = 0; // the row's cells are StylePlan::refs[firstCell, endCell)
    qsizetype endCell = 0;
    int heightTwips = -1; // -1: default height
};

} // namespace

BiffWorkbook::BiffWorkbook()
{
    reset();
}

BiffWorkbook::~BiffWorkbook() = default;

void BiffWorkbook::reset()
{
    m_open = false;
    m_path.clear();
    m_sheetCount = 0;
    m_cells.clear();
    m_rowHeights.clear();
    m_columnWidths.clear();
    m_palette = kDefaultPalette;
    m_paletteChanged = false;
}

bool BiffWorkbook::XlsCreateBook(const QString& path, int version, int sheetCount, int* scratch)
{
    Q_UNUSED(version); // every Excel version the caller may name reads this format
    if (scratch)
        *scratch = 0;
    reset();
    if (path.isEmpty() || sheetCount < 1 || sheetCount > 255) {
        m_error =
            QCoreApplication::translate("BiffWorkbook", "Invalid workbook path or sheet count.");
        return false;
    }
    m_open = true;
    m_path = path;
    m_sheetCount = sheetCount;
    m_error.clear();
    return true;
}

quint32 BiffWorkbook::POS2(int col1, int row1, int col2, int row2)
{
    if (col1 != col2 || row1 != row2 || col1 < 0 || col1 > 255 || row1 < 0 || row1 > 65535)
        return kInvalidCell;
    return quint32(row1) << 8 | quint32(col1);
}

Cell* BiffWorkbook::cellAt(quint32 ref)
{
    if (!m_open || ref > 0xFFFFFF)
        return nullptr;
    return &m_cells[ref];
}

void BiffWorkbook::XlsPutStr(const QString& text, quint32 cell)
{
    if (text.isEmpty()) {
        if (const auto it = m_cells.find(cell); it != m_cells.end())
            it->second.text.clear();
        return;
    }
    Cell* const target = cellAt(cell);
    if (!target)
        return;
    target->text = text;
    if (text.size() > kMaxTextLength)
        target->text.truncate(kMaxTextLength -
                              (text[kMaxTextLength - 1].isHighSurrogate() ? 1 : 0));
}

void BiffWorkbook::XlsPutFontColor(int colorIndex, quint32 cell)
{
    if (!isPaletteIndex(colorIndex))
        return;
    if (Cell* const target = cellAt(cell))
        target->fontColor = qint8(colorIndex);
}

void BiffWorkbook::XlsPutBackColor(int colorIndex, quint32 cell)
{
    if (!isPaletteIndex(colorIndex))
        return;
    if (Cell* const target = cellAt(cell))
        target->fillColor = qint8(colorIndex);
}

void BiffWorkbook::XlsPutRowHeight(double points, quint32 cell)
{
    if (!m_open || cell > 0xFFFFFF || !(points > 0)) // also rejects NaN
        return;
    const double twips = std::min(points, kMaxRowTwips / 20.0) * 20;
    m_rowHeights[rowOf(cell)] = quint16(std::max(2L, std::lround(twips)));
}

void BiffWorkbook::XlsPutColWidth(int characters, quint32 cell)
{
    if (!m_open || cell > 0xFFFFFF || characters < 0)
        return;
    m_columnWidths[columnOf(cell)] = quint16(std::min(characters, kMaxColumnChars) * 256);
}

void BiffWorkbook::setBorder(quint32 ref, quint8 side, int lineValue)
{
    if (Cell* const target = cellAt(ref))
        target->borders = lineValue ? target->borders | side : target->borders & ~side;
}

void BiffWorkbook::XlsPutLineTop(int lineValue, quint32 cell)
{
    setBorder(cell, kTop, lineValue);
}

void BiffWorkbook::XlsPutLineBottom(int lineValue, quint32 cell)
{
    setBorder(cell, kBottom, lineValue);
}

void BiffWorkbook::XlsPutLineLeft(int lineValue, quint32 cell)
{
    setBorder(cell, kLeft, lineValue);
}

void BiffWorkbook::XlsPutLineRight(int lineValue, quint32 cell)
{
    setBorder(cell, kRight, lineValue);
}

void BiffWorkbook::XlsSetPaletteColor(int colorIndex, QRgb rgb)
{
    if (!m_open || !isPaletteIndex(colorIndex))
        return;
    m_palette[size_t(colorIndex - 8)] = rgb & 0xFFFFFF;
    m_paletteChanged = true;
}

bool BiffWorkbook::XlsCloseBook(int mode)
{
    Q_UNUSED(mode);
    if (!m_open) {
        m_error = QCoreApplication::translate("BiffWorkbook", "No workbook is open.");
        return false;
    }
    const QByteArray file = CompoundFile::build(workbookStream());
    const QString path = m_path;
    reset();

    QString reason;
    if (file.isEmpty())
        reason = QCoreApplication::translate("BiffWorkbook", "workbook too large");
    if (file.isEmpty() || !writeFileAtomically(path, file, &reason)) {
        m_error = QCoreApplication::translate("BiffWorkbook", "Cannot write %1: %2")
                      .arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    m_error.clear();
    return true;
}

QString BiffWorkbook::errorString() const
{
    return m_error;
}

QByteArray BiffWorkbook::workbookStream() const
{
    const StylePlan plan = planStyles(m_cells);
    QByteArray out;
    qsizetype textBytes = 0;
    for (const QString& s : std::as_const(plan.strings))
        textBytes += 3 + 2 * s.size();
    out.reserve(4096 + 20 * qsizetype(plan.refs.size()) + textBytes * 8225 / 8224);

    std::vector<qsizetype> sheetPositionFields;
    writeGlobals(out, plan, sheetPositionFields);
    for (int sheet = 0; sheet < m_sheetCount; ++sheet) {
        patch32(out, sheetPositionFields[size_t(sheet)], quint32(out.size()));
        writeSheet(out, plan, sheet == 0);
    }
    return out;
}

void BiffWorkbook::writeGlobals(QByteArray& out, const StylePlan& plan,
                                std::vector<qsizetype>& sheetPositionFields) const
{
    {
        Record record(out, RtBof);
        put16(out, 0x0600); // BIFF8
        put16(out, 0x0005); // workbook globals
        put16(out, 0x0DBB); // build and year of the writing Excel, as Excel 97 gives them
        put16(out, 0x07CC);
        put32(out, 0);
        put32(out, 0x06); // lowest BIFF version needed to read the file
    }
    {
        Record record(out, RtCodePage);
        put16(out, 1200); // UTF-16: strings carry their own encoding
    }
    {
        Record record(out, RtWindow1);
        put16(out, 0x0168); // window position and size, in twips
        put16(out, 0x001E);
        put16(out, 0x3FCF);
        put16(out, 0x2A4E);
        put16(out, 0x0038); // scroll bars and sheet tabs shown
        put16(out, 0);      // first sheet active,
        put16(out, 0);      // its tab leftmost,
        put16(out, 1);      // one sheet selected
        put16(out, 600);    // tab bar width in 1/1000 of the window
    }
    {
        Record record(out, RtDate1904);
        put16(out, 0);
    }

    putStyles(out, plan);
    if (m_paletteChanged)
        putPalette(out, m_palette);

    for (int sheet = 1; sheet <= m_sheetCount; ++sheet) {
        Record record(out, RtBoundSheet);
        sheetPositionFields.push_back(out.size());
        put32(out, 0); // stream position of the sheet's BOF, filled in later
        put8(out, 0);  // visible
        put8(out, 0);  // worksheet
        putShortString(out, QStringLiteral("Sheet%1").arg(sheet));
    }

    putSharedStrings(out, plan.strings, plan.textCells);
    Record record(out, RtEof);
}

void BiffWorkbook::writeSheet(QByteArray& out, const StylePlan& plan, bool withContent) const
{
    // Rows to write: those with cells and those with a height of their own.
    std::vector<RowSpan> rows;
    if (withContent) {
        const qsizetype cellCount = qsizetype(plan.refs.size());
        qsizetype cell = 0;
        auto height = m_rowHeights.cbegin();
        while (cell < cellCount || height != m_rowHeights.cend()) {
            const int cellRow = cell < cellCount ? rowOf(plan.refs[size_t(cell)]) : INT_MAX;
            const int heightRow = height != m_rowHeights.cend() ? height->first : INT_MAX;
            RowSpan span;
            span.row = std::min(cellRow, heightRow);
            span.firstCell = span.endCell = cell;
            while (span.endCell < cellCount && rowOf(plan.refs[size_t(span.endCell)]) == span.row)
                ++span.endCell;
            if (heightRow == span.row)
                span.heightTwips = (height++)->second;
            cell = span.endCell;
            rows.push_back(span);
        }
    }
    // Rows are stored in blocks of up to 32 (by row number), each closed by a DBCELL record.
    qsizetype blockCount = 0;
    for (size_t i = 0; i < rows.size(); ++i)
        if (i == 0 || rows[i].row / 32 != rows[i - 1].row / 32)
            ++blockCount;

    quint32 rowMic = 0, rowMac = 0, colMic = 0, colMac = 0;
    if (withContent && !plan.refs.empty()) {
        rowMic = quint32(rowOf(plan.refs.front()));
        rowMac = quint32(rowOf(plan.refs.back()) + 1);
        colMic = 255;
        for (const quint32 ref : plan.refs) {
            colMic = std::min(colMic, quint32(columnOf(ref)));
            colMac = std::max(colMac, quint32(columnOf(ref) + 1));
        }
    }

    {
        Record record(out, RtBof);
        put16(out, 0x0600);
        put16(out, 0x0010); // worksheet
        put16(out, 0x0DBB);
        put16(out, 0x07CC);
        put32(out, 0);
        put32(out, 0x06);
    }
    // INDEX points at the DEFCOLWIDTH and DBCELL records below; filled in once they are out.
    const qsizetype indexData = out.size() + 4;
    {
        Record record(out, RtIndex);
        put32(out, 0);
        put32(out, rowMic);
        put32(out, rowMac);
        put32(out, 0);
        for (qsizetype i = 0; i < blockCount; ++i)
            put32(out, 0);
    }
    {
        Record record(out, RtDefaultRowHeight);
        put16(out, 0);
        put16(out, kDefaultRowTwips);
    }
    patch32(out, indexData + 12, quint32(out.size()));
    {
        Record record(out, RtDefColWidth);
        put16(out, 8);
    }
    for (auto it = m_columnWidths.cbegin(); withContent && it != m_columnWidths.cend();) {
        const int first = it->first;
        const quint16 width = it->second;
        int last = first;
        for (++it; it != m_columnWidths.cend() && it->first == last + 1 && it->second == width;
             ++it)
            ++last;
        Record record(out, RtColInfo);
        put16(out, quint16(first));
        put16(out, quint16(last));
        put16(out, width);
        put16(out, kDefaultCellXf);
        put16(out, 0x0002); // width set by the user
        put16(out, 0);
    }
    {
        Record record(out, RtDimensions);
        put32(out, rowMic);
        put32(out, rowMac);
        put16(out, quint16(colMic));
        put16(out, quint16(colMac));
        put16(out, 0);
    }

    qsizetype block = 0;
    std::vector<qsizetype> cellStarts;
    for (size_t first = 0; first < rows.size();) {
        size_t end = first + 1;
        while (end < rows.size() && rows[end].row / 32 == rows[first].row / 32)
            ++end;

        const qsizetype blockStart = out.size();
        for (size_t i = first; i < end; ++i) {
            const RowSpan& span = rows[i];
            const bool hasCells = span.endCell > span.firstCell;
            Record record(out, RtRow);
            put16(out, quint16(span.row));
            put16(out, hasCells ? quint16(columnOf(plan.refs[size_t(span.firstCell)])) : 0);
            put16(out, hasCells ? quint16(columnOf(plan.refs[size_t(span.endCell - 1)]) + 1) : 0);
            put16(out, span.heightTwips >= 0 ? quint16(span.heightTwips) : kDefaultRowTwips);
            put16(out, 0);
            put16(out, 0);
            // Reserved bit 8 set, XF 15; bit 6 marks a height set by hand, which Excel keeps.
            put32(out, quint32(kDefaultCellXf) << 16 | 0x0100 | (span.heightTwips >= 0 ? 0x40 : 0));
        }
        const qsizetype secondRowRecord = blockStart + 20;

        cellStarts.clear();
        for (size_t i = first; i < end; ++i) {
            cellStarts.push_back(out.size());
            for (qsizetype c = rows[i].firstCell; c < rows[i].endCell; ++c) {
                const quint32 ref = plan.refs[size_t(c)];
                const qint32 sst = plan.sst[size_t(c)];
                Record record(out, sst >= 0 ? RtLabelSst : RtBlank);
                put16(out, quint16(rowOf(ref)));
                put16(out, quint16(columnOf(ref)));
                put16(out, plan.xfs[size_t(c)]);
                if (sst >= 0)
                    put32(out, quint32(sst));
            }
        }

        patch32(out, indexData + 16 + 4 * block++, quint32(out.size()));
        const qsizetype dbCellStart = out.size();
        Record record(out, RtDbCell);
        put32(out, quint32(dbCellStart - blockStart));
        // Where each row's cells start: the first relative to the second ROW record, the
        // others relative to the previous row's cells.
        qsizetype previous = secondRowRecord;
        for (const qsizetype start : cellStarts) {
            put16(out, quint16(start - previous));
            previous = start;
        }
        first = end;
    }

    {
        Record record(out, RtWindow2);
        // Grid, headers, zeros, outline symbols shown; the first sheet is selected and active.
        put16(out, withContent ? 0x06B6 : 0x00B6);
        put16(out, 0); // top row
        put16(out, 0); // left column
        put16(out, kSystemText);
        put16(out, 0);
        put16(out, 0); // zoom: default
        put16(out, 0);
        put32(out, 0);
    }
    Record record(out, RtEof);
}
