#include "xls/SpreadsheetExport.h"

#include "core/model/Colours.h"

#include <QCoreApplication>

namespace SpreadsheetExport {

QString headerOfNotes(const QDate& today)
{
    return QCoreApplication::translate("SpreadsheetExport", "内容　(%1  １１ｍφ円形ラベル)")
        .arg(today.toString(QStringLiteral("yy/MM/dd")));
}

QString fileNameFor(const QString& chosen)
{
    return chosen.endsWith(QStringLiteral(".xls"), Qt::CaseSensitive)
               ? chosen
               : chosen + QStringLiteral(".xls");
}

Xls::Workbook workbookFor(const QList<PrintLogEntry>& entries, const Colours& colours,
                          const QDate& today, LabelCode code)
{
    Xls::Workbook book(3); // three sheets, as a new Excel book has; the labels go on the first
    const int text = ::Colours::SheetTextColorOf(colours.textIndex);
    int back = ::Colours::SheetBackColorOf(colours.backgroundIndex);
    if (back < 0) {
        book.setPaletteColor(CustomPaletteIndex, colours.custom.rgb());
        back = CustomPaletteIndex;
    }
    const Xls::CellFormat framed{.borders = Xls::AllBorders};
    const Xls::CellFormat coloured{.fontColor = text, .fillColor = back, .borders = {}};
    const Xls::CellFormat colouredFramed{
        .fontColor = text, .fillColor = back, .borders = Xls::AllBorders};

    Xls::Worksheet& sheet = book.sheet();
    sheet.setCell(0, 0, QCoreApplication::translate("SpreadsheetExport", "文字"), framed);
    sheet.setCell(0, 1, QCoreApplication::translate("SpreadsheetExport", "数字"), framed);
    sheet.setCell(0, 2, headerOfNotes(today), framed);
    if (code == LabelCode::DataMatrix) {
        sheet.setCell(0, 3, QCoreApplication::translate("SpreadsheetExport",
                                                        "2D コード（Data Matrix）付き"));
    }
    for (int row = 1; row <= int(entries.size()); ++row) {
        const PrintLogEntry& entry = entries[row - 1];
        sheet.setCell(row, 0, entry.upper, coloured);
        sheet.setCell(row, 1, entry.lower, colouredFramed);
        sheet.setCell(row, 2, QString(), framed); // for notes
        sheet.setRowHeight(row, 20.0);
    }
    // A book of the header alone keeps the default widths.
    if (!entries.isEmpty()) {
        sheet.setColumnWidth(0, 6);
        sheet.setColumnWidth(2, 40);
    }
    return book;
}

bool exportSpreadsheet(const QString& path, const QList<PrintLogEntry>& entries,
                       const Colours& colours, const QDate& today, QString* error,
                       LabelCode code)
{
    return workbookFor(entries, colours, today, code).save(path, error);
}

} // namespace SpreadsheetExport
