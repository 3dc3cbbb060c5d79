#pragma once

#include "core/layout/Sheet.h"
#include "core/layout/SheetGeometry.h"

#include <QByteArray>
#include <QString>

// The start file ("start.txt" beside the executable) keeps the two
// print-offset choices and the sheet position where the next job starts.
// Line 1 is "horz,vert,start"; line 2 is carried through byte for byte and
// never interpreted.
struct StartSettings {
    int horzOffsetIndex = 0;
    int vertOffsetIndex = 0;
    int startPosition = 0;
    QByteArray note;

    SheetGeometry::Offsets offsets() const { return {horzOffsetIndex, vertOffsetIndex}; }

    friend bool operator==(const StartSettings&, const StartSettings&) = default;
};

struct StartFileReadResult {
    enum Status { Ok, Missing, Unreadable, Malformed };
    Status status = Ok;
    StartSettings values;
    QString error; // user-facing text for Unreadable and Malformed
};

class StartFile {
public:
    static constexpr int MaxOffsetIndex = 20;
    static constexpr int MaxStartPosition = Sheet::MaxPositions;
    // A longer file is not a start file; it is refused unread.
    static constexpr qsizetype MaxFileSize = 64 * 1024;
    static constexpr QLatin1String FileName{"start.txt"};

    static QString pathIn(const QString& appDir);

    // Reads a regular file (symbolic links followed) of at most MaxFileSize
    // bytes; messages name the file's full path.
    static StartFileReadResult read(const QString& path);
    // A byte-order mark before line 1 and blanks or tabs around a field are
    // accepted.
    static StartFileReadResult parse(const QByteArray& bytes);

    static QByteArray format(const StartSettings& values);
    // Replaces the file atomically; on failure the old file is untouched and
    // *error says why.
    static bool write(const QString& path, const StartSettings& values, QString* error);
};
