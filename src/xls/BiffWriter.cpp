#include "xls/BiffWriter.h"

#include "xls/BiffRecords.h"
#include "xls/BiffStyles.h"

#include <algorithm>
#include <climits>
#include <span>

namespace Biff {

namespace {

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

// Rows are stored in blocks of up to 32 (by row number), each closed by a DBCELL record.
int blockOf(const RowSpan& span)
{
    return span.row / 32;
}

// The rows and columns in use: [rowMic, rowMac) x [colMic, colMac).
struct Dimensions {
    quint32 rowMic = 0, rowMac = 0, colMic = 0, colMac = 0;
};

void putBof(QByteArray& out, quint16 kind)
{
    Record record(out, RtBof);
    put16(out, 0x0600); // BIFF8
    put16(out, kind);
    put16(out, 0x0DBB); // build and year of the writing Excel, as Excel 97 gives them
    put16(out, 0x07CC);
    put32(out, 0);
    put32(out, 0x06); // lowest BIFF version needed to read the file
}

void writeGlobals(QByteArray& out, const Xls::Workbook& book, const StylePlan& plan,
                  std::vector<qsizetype>& sheetPositionFields)
{
    putBof(out, 0x0005); // workbook globals
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
    if (book.paletteRedefined())
        putPalette(out, book.palette());

    for (int sheet = 1; sheet <= book.sheetCount(); ++sheet) {
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

// Rows to write: those with cells and those with a height of their own.
std::vector<RowSpan> rowSpans(const StylePlan& plan, const std::map<int, quint16>& heights)
{
    std::vector<RowSpan> rows;
    const qsizetype cellCount = qsizetype(plan.refs.size());
    qsizetype cell = 0;
    auto height = heights.cbegin();
    while (cell < cellCount || height != heights.cend()) {
        const int cellRow = cell < cellCount ? rowOf(plan.refs[size_t(cell)]) : INT_MAX;
        const int heightRow = height != heights.cend() ? height->first : INT_MAX;
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
    return rows;
}

qsizetype blockCountOf(const std::vector<RowSpan>& rows)
{
    qsizetype count = 0;
    for (size_t i = 0; i < rows.size(); ++i)
        if (i == 0 || blockOf(rows[i]) != blockOf(rows[i - 1]))
            ++count;
    return count;
}

Dimensions dimensionsOf(const StylePlan& plan)
{
    Dimensions d;
    if (plan.refs.empty())
        return d;
    d.rowMic = quint32(rowOf(plan.refs.front()));
    d.rowMac = quint32(rowOf(plan.refs.back()) + 1);
    d.colMic = 255;
    for (const quint32 ref : plan.refs) {
        d.colMic = std::min(d.colMic, quint32(columnOf(ref)));
        d.colMac = std::max(d.colMac, quint32(columnOf(ref) + 1));
    }
    return d;
}

// INDEX points at the DEFCOLWIDTH record and at each block's DBCELL record, which are not
// out yet: returns where its data starts, for them to be filled in.
qsizetype writeIndex(QByteArray& out, const Dimensions& dimensions, qsizetype blockCount)
{
    const qsizetype data = out.size() + 4;
    Record record(out, RtIndex);
    put32(out, 0);
    put32(out, dimensions.rowMic);
    put32(out, dimensions.rowMac);
    put32(out, 0); // DEFCOLWIDTH
    for (qsizetype i = 0; i < blockCount; ++i)
        put32(out, 0); // DBCELL
    return data;
}

// Runs of adjacent columns of the same width share a record.
void writeColumnInfo(QByteArray& out, const std::map<int, quint16>& widths)
{
    for (auto it = widths.cbegin(); it != widths.cend();) {
        const int first = it->first;
        const quint16 width = it->second;
        int last = first;
        for (++it; it != widths.cend() && it->first == last + 1 && it->second == width; ++it)
            ++last;
        Record record(out, RtColInfo);
        put16(out, quint16(first));
        put16(out, quint16(last));
        put16(out, width);
        put16(out, kDefaultCellXf);
        put16(out, 0x0002); // width set by the user
        put16(out, 0);
    }
}

void writeDimensions(QByteArray& out, const Dimensions& dimensions)
{
    Record record(out, RtDimensions);
    put32(out, dimensions.rowMic);
    put32(out, dimensions.rowMac);
    put16(out, quint16(dimensions.colMic));
    put16(out, quint16(dimensions.colMac));
    put16(out, 0);
}

void writeRowRecord(QByteArray& out, const StylePlan& plan, const RowSpan& span)
{
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

void writeCells(QByteArray& out, const StylePlan& plan, const RowSpan& span)
{
    for (qsizetype c = span.firstCell; c < span.endCell; ++c) {
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

// The ROW records of one block, then their cells, then the DBCELL record that finds them.
// Returns where the DBCELL record starts.
qsizetype writeRowBlock(QByteArray& out, const StylePlan& plan, std::span<const RowSpan> block)
{
    const qsizetype blockStart = out.size();
    for (const RowSpan& span : block)
        writeRowRecord(out, plan, span);
    std::vector<qsizetype> cellStarts;
    for (const RowSpan& span : block) {
        cellStarts.push_back(out.size());
        writeCells(out, plan, span);
    }

    const qsizetype dbCellStart = out.size();
    Record record(out, RtDbCell);
    put32(out, quint32(dbCellStart - blockStart));
    // Where each row's cells start: the first relative to the second ROW record, the others
    // relative to the previous row's cells.
    qsizetype previous = blockStart + 20;
    for (const qsizetype start : cellStarts) {
        put16(out, quint16(start - previous));
        previous = start;
    }
    return dbCellStart;
}

void writeRows(QByteArray& out, const StylePlan& plan, const std::vector<RowSpan>& rows,
               qsizetype indexData)
{
    qsizetype block = 0;
    for (size_t first = 0; first < rows.size();) {
        size_t end = first + 1;
        while (end < rows.size() && blockOf(rows[end]) == blockOf(rows[first]))
            ++end;
        const qsizetype dbCell = writeRowBlock(out, plan, {rows.data() + first, end - first});
        patch32(out, indexData + 16 + 4 * block++, quint32(dbCell));
        first = end;
    }
}

void writeWindow2(QByteArray& out, bool selected)
{
    Record record(out, RtWindow2);
    // Grid, headers, zeros, outline symbols shown; the selected sheet is also the active one.
    put16(out, selected ? 0x06B6 : 0x00B6);
    put16(out, 0); // top row
    put16(out, 0); // left column
    put16(out, kSystemText);
    put16(out, 0);
    put16(out, 0); // zoom: default
    put16(out, 0);
    put32(out, 0);
}

// `plan` is that of the sheet's cells.
void writeSheet(QByteArray& out, const Xls::Worksheet& sheet, const StylePlan& plan, bool selected)
{
    const std::vector<RowSpan> rows = rowSpans(plan, sheet.rowHeights());
    const Dimensions dimensions = dimensionsOf(plan);

    putBof(out, 0x0010); // worksheet
    const qsizetype indexData = writeIndex(out, dimensions, blockCountOf(rows));
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
    writeColumnInfo(out, sheet.columnWidths());
    writeDimensions(out, dimensions);
    writeRows(out, plan, rows, indexData);
    writeWindow2(out, selected);
    Record record(out, RtEof);
}

} // namespace

QByteArray workbookStream(const Xls::Workbook& book)
{
    const StylePlan plan = planStyles(book.sheet().cells());
    QByteArray out;
    qsizetype textBytes = 0;
    for (const QString& s : std::as_const(plan.strings))
        textBytes += 3 + 2 * s.size();
    out.reserve(4096 + 20 * qsizetype(plan.refs.size()) + textBytes * 8225 / 8224);

    std::vector<qsizetype> sheetPositionFields;
    writeGlobals(out, book, plan, sheetPositionFields);
    for (int sheet = 0; sheet < book.sheetCount(); ++sheet) {
        patch32(out, sheetPositionFields[size_t(sheet)], quint32(out.size()));
        if (sheet == 0)
            writeSheet(out, book.sheet(), plan, true);
        else
            writeSheet(out, Xls::Worksheet(), StylePlan(), false); // the others are empty
    }
    return out;
}

} // namespace Biff
