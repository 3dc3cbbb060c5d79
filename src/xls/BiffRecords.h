#pragma once

#include <QByteArray>
#include <QStringList>
#include <QStringView>

// Writing BIFF8 records: little-endian fields, records whose length is filled in afterwards,
// strings, and the shared string table.
namespace Biff {

enum RecordType : quint16 {
    RtEof = 0x000A,
    RtDate1904 = 0x0022,
    RtFont = 0x0031,
    RtContinue = 0x003C,
    RtWindow1 = 0x003D,
    RtCodePage = 0x0042,
    RtDefColWidth = 0x0055,
    RtColInfo = 0x007D,
    RtBoundSheet = 0x0085,
    RtPalette = 0x0092,
    RtDbCell = 0x00D7,
    RtXf = 0x00E0,
    RtSst = 0x00FC,
    RtLabelSst = 0x00FD,
    RtExtSst = 0x00FF,
    RtDimensions = 0x0200,
    RtBlank = 0x0201,
    RtRow = 0x0208,
    RtIndex = 0x020B,
    RtDefaultRowHeight = 0x0225,
    RtWindow2 = 0x023E,
    RtStyle = 0x0293,
    RtBof = 0x0809,
};

constexpr qsizetype kMaxRecordData = 8224; // longer data goes on in CONTINUE records

void put8(QByteArray& out, quint8 v);
void put16(QByteArray& out, quint16 v);
void put32(QByteArray& out, quint32 v);
void patch32(QByteArray& out, qsizetype at, quint32 v);

// Writes a record header with a length to be filled in by endRecord(); returns its position.
qsizetype beginRecord(QByteArray& out, quint16 type);
void endRecord(QByteArray& out, qsizetype start);

// A record whose length is filled in when it goes out of scope.
class Record {
public:
    Record(QByteArray& out, quint16 type) : m_out(out), m_start(beginRecord(out, type)) {}
    ~Record() { endRecord(m_out, m_start); }
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

private:
    QByteArray& m_out;
    qsizetype m_start;
};

// Sheet and font names: an 8-bit length, the flags byte and the characters.
void putShortString(QByteArray& out, QStringView text);

// The shared string table: an SST record continued by CONTINUE records as it grows, then the
// EXTSST record. `totalRefs` is the number of cells that refer to the table.
void putSharedStrings(QByteArray& out, const QStringList& strings, quint32 totalRefs);

} // namespace Biff
