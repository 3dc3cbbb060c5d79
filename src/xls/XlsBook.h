#pragma once

#include <QRgb>
#include <QString>
#include <QtGlobal>

// The spreadsheet calls the label export makes, one call per cell property, so that the
// export reads as the list of what each cell gets and runs against any implementation:
// the BIFF8 writer, or a recording fake in tests.
//
// A book lives from XlsCreateBook to XlsCloseBook. Calls outside that span are ignored, as
// are calls with a cell reference POS2 could not encode.
class XlsBook {
public:
    virtual ~XlsBook() = default;

    // Starts a new, empty book that XlsCloseBook will write to `path`, dropping any book that
    // was not closed. `sheetCount` sheets named "Sheet1".."SheetN" are created; every put goes
    // to the first. `version` names the Excel version the caller asks for; the file is always
    // in the Excel 97-2003 format, which every such version reads. `scratch` may be null; when
    // it is not, 0 is stored there.
    // Returns false (and opens nothing) for an empty path or a sheet count outside 1..255.
    virtual bool XlsCreateBook(const QString& path, int version, int sheetCount, int* scratch) = 0;

    // Reference to one cell (columns and rows count from 0) for the put calls below. Only
    // single cells are supported: a range, or a cell outside 256 columns x 65536 rows, gives
    // a reference the puts ignore.
    virtual quint32 POS2(int col1, int row1, int col2, int row2) = 0;

    // Text of the cell; an empty text removes it (the cell's formatting stays).
    virtual void XlsPutStr(const QString& text, quint32 cell) = 0;
    // Colours are indexes 8..63 into the book's 56-colour palette; other values are ignored.
    virtual void XlsPutFontColor(int colorIndex, quint32 cell) = 0;
    virtual void XlsPutBackColor(int colorIndex, quint32 cell) = 0;
    // Height of the cell's row, in points.
    virtual void XlsPutRowHeight(double points, quint32 cell) = 0;
    // Width of the cell's column, in characters of the default font (0..255).
    virtual void XlsPutColWidth(int characters, quint32 cell) = 0;
    // Cell borders: any non-zero value draws a thin black line, 0 removes it.
    virtual void XlsPutLineTop(int lineValue, quint32 cell) = 0;
    virtual void XlsPutLineBottom(int lineValue, quint32 cell) = 0;
    virtual void XlsPutLineLeft(int lineValue, quint32 cell) = 0;
    virtual void XlsPutLineRight(int lineValue, quint32 cell) = 0;

    // Redefines palette entry `colorIndex` (8..63) as `rgb` (alpha ignored).
    virtual void XlsSetPaletteColor(int colorIndex, QRgb rgb) = 0;

    // Writes the book and ends it. The file is replaced atomically: on failure an existing
    // file of that name is left as it was and no partial file remains. The book is ended
    // either way. `mode` is accepted for call compatibility; the book is always saved.
    // Returns false when nothing was written; errorString() then says why.
    virtual bool XlsCloseBook(int mode) = 0;

    virtual QString errorString() const = 0;
};
