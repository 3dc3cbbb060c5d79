#include "xls/SpreadsheetExport.h"

#include "core/model/Colours.h"

namespace SpreadsheetExport {

namespace {

constexpr int ThinLine = 16777216;

void frame(XlsBook& book, int col, int row)
{
    book.XlsPutLineTop(ThinLine, book.POS2(col, row, col, row));
    book.XlsPutLineBottom(ThinLine, book.POS2(col, row, col, row));
    book.XlsPutLineLeft(ThinLine, book.POS2(col, row, col, row));
    book.XlsPutLineRight(ThinLine, book.POS2(col, row, col, row));
}

} // namespace

QString headerOfNotes(const QDate& today)
{
    return QStringLiteral("内容　(") + today.toString(QStringLiteral("yy/MM/dd")) +
           QStringLiteral("  １１ｍφ円形ラベル)");
}

QString fileNameFor(const QString& chosen)
{
    return chosen.endsWith(QStringLiteral(".xls"), Qt::CaseSensitive)
               ? chosen
               : chosen + QStringLiteral(".xls");
}

bool ExportSpreadsheet(XlsBook& book, const QString& path, const QList<PrintLogEntry>& entries,
                       const Colours& colours, const QDate& today, QString* error)
{
    int scratch = 0;
    if (!book.XlsCreateBook(path, 2002, 3, &scratch)) {
        if (error)
            *error = book.errorString();
        return false;
    }
    const int text = ::Colours::SheetTextColorOf(colours.textIndex);
    int back = ::Colours::SheetBackColorOf(colours.backgroundIndex);
    if (back < 0) {
        book.XlsSetPaletteColor(CustomPaletteIndex, colours.custom.rgb());
        back = CustomPaletteIndex;
    }

    book.XlsPutStr(QStringLiteral("文字"), book.POS2(0, 0, 0, 0));
    book.XlsPutStr(QStringLiteral("数字"), book.POS2(1, 0, 1, 0));
    book.XlsPutStr(headerOfNotes(today), book.POS2(2, 0, 2, 0));
    for (int col = 0; col < 3; ++col)
        frame(book, col, 0);

    for (int j = 1; j <= int(entries.size()); ++j) {
        const PrintLogEntry& entry = entries[j - 1];
        book.XlsPutFontColor(text, book.POS2(0, j, 0, j));
        book.XlsPutBackColor(back, book.POS2(0, j, 0, j));
        book.XlsPutRowHeight(20.0, book.POS2(0, j, 0, j));
        book.XlsPutColWidth(6, book.POS2(0, j, 0, j));
        book.XlsPutStr(entry.upper, book.POS2(0, j, 0, j));
        book.XlsPutStr(entry.lower, book.POS2(1, j, 1, j));
        frame(book, 1, j);
        book.XlsPutFontColor(text, book.POS2(1, j, 1, j));
        book.XlsPutBackColor(back, book.POS2(1, j, 1, j));
        book.XlsPutRowHeight(20.0, book.POS2(2, j, 2, j));
        book.XlsPutColWidth(40, book.POS2(2, j, 2, j));
        frame(book, 2, j);
    }

    if (!book.XlsCloseBook(1)) {
        if (error)
            *error = book.errorString();
        return false;
    }
    return true;
}

} // namespace SpreadsheetExport
