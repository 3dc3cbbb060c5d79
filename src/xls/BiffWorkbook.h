#pragma once

#include "xls/BiffStyles.h"
#include "xls/XlsBook.h"

#include <QByteArray>

#include <map>
#include <vector>

// Writes an Excel 97-2003 workbook: BIFF8 records in the "Workbook" stream of an OLE2
// compound file. Everything is kept in memory until XlsCloseBook, which builds the whole file
// and commits it in one go.
class BiffWorkbook final : public XlsBook {
public:
    BiffWorkbook();
    ~BiffWorkbook() override;

    bool XlsCreateBook(const QString& path, int version, int sheetCount, int* scratch) override;
    quint32 POS2(int col1, int row1, int col2, int row2) override;
    void XlsPutStr(const QString& text, quint32 cell) override;
    void XlsPutFontColor(int colorIndex, quint32 cell) override;
    void XlsPutBackColor(int colorIndex, quint32 cell) override;
    void XlsPutRowHeight(double points, quint32 cell) override;
    void XlsPutColWidth(int characters, quint32 cell) override;
    void XlsPutLineTop(int lineValue, quint32 cell) override;
    void XlsPutLineBottom(int lineValue, quint32 cell) override;
    void XlsPutLineLeft(int lineValue, quint32 cell) override;
    void XlsPutLineRight(int lineValue, quint32 cell) override;
    void XlsSetPaletteColor(int colorIndex, QRgb rgb) override;
    bool XlsCloseBook(int mode) override;
    QString errorString() const override;

    // What POS2 returns for anything it cannot encode.
    static constexpr quint32 kInvalidCell = 0xFFFFFFFF;

private:
    Biff::Cell* cellAt(quint32 ref);
    void setBorder(quint32 ref, quint8 side, int lineValue);
    void reset();

    QByteArray workbookStream() const;
    void writeGlobals(QByteArray& out, const Biff::StylePlan& plan,
                      std::vector<qsizetype>& sheetPositionFields) const;
    void writeSheet(QByteArray& out, const Biff::StylePlan& plan, bool withContent) const;

    bool m_open = false;
    QString m_path;
    int m_sheetCount = 0;
    std::map<quint32, Biff::Cell> m_cells; // keyed by cell reference, so in row-major order
    std::map<int, quint16> m_rowHeights;   // row -> height in twips
    std::map<int, quint16> m_columnWidths; // column -> width in 1/256 characters
    Biff::Palette m_palette{};
    bool m_paletteChanged = false;
    QString m_error;
};
