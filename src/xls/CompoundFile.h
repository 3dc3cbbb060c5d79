#pragma once

#include <QByteArray>

// The OLE2 container of an .xls file: a version 3 compound file (512-byte sectors) holding
// a single stream named "Workbook".
class CompoundFile {
public:
    // Smallest stream size kept in regular sectors. Shorter streams are padded up to it, so
    // the file never needs a mini stream.
    static constexpr qsizetype kMinStreamSize = 4096;
    // Largest stream a version 3 file can describe (its stream size field is 32 bits).
    static constexpr qsizetype kMaxStreamSize = 0xFFFFF000;

    // The complete file holding `workbookStream` (padded with zeros to kMinStreamSize).
    // Returns an empty array when the stream is larger than kMaxStreamSize.
    static QByteArray build(const QByteArray& workbookStream);
};
