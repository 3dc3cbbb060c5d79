#pragma once

#include "core/model/PrintedJob.h"
#include "xls/Workbook.h"

#include <QColor>
#include <QDate>

// The labels of the last job as a spreadsheet: a header row, then one row
// per sample with its upper and lower text and an empty framed cell for
// notes, in the colours the labels were printed in.
namespace SpreadsheetExport {

// Palette entry that takes the exact custom background colour, which the
// standard palette does not have.
inline constexpr int CustomPaletteIndex = 63;

struct Colours {
    int textIndex = 0;       // position in the text colour list
    int backgroundIndex = 0; // position in the background list
    QColor custom;           // the colour "Custom" stands for

    static Colours of(const PrintAppearance& look)
    {
        return {look.textColorIndex, look.backgroundIndex, look.customColor};
    }
};

QString headerOfNotes(const QDate& today);

// The name the file is written under: ".xls" is appended unless the name
// already ends in exactly ".xls" (case matters).
QString fileNameFor(const QString& chosen);

// The book of `entries`, with `today` in the header; labels that carry a
// code say so beside it.
Xls::Workbook workbookFor(const QList<PrintLogEntry>& entries, const Colours& colours,
                          const QDate& today, LabelCode code = LabelCode::None);

// Writes that book to `path`; false with *error set when the file could not
// be written (an existing file is then left as it was).
bool exportSpreadsheet(const QString& path, const QList<PrintLogEntry>& entries,
                       const Colours& colours, const QDate& today, QString* error,
                       LabelCode code = LabelCode::None);

} // namespace SpreadsheetExport
