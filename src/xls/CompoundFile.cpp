#include "xls/CompoundFile.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr qsizetype kSectorSize = 512;
constexpr quint32 kIdsPerSector = kSectorSize / 4;
// The header lists the first 109 FAT sectors itself; each DIFAT sector lists 127 more and
// links to the next one in its last slot.
constexpr quint32 kHeaderDifatSlots = 109;
constexpr quint32 kDifatSlotsPerSector = kIdsPerSector - 1;

constexpr quint32 kDifSect = 0xFFFFFFFC;
constexpr quint32 kFatSect = 0xFFFFFFFD;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFreeSect = 0xFFFFFFFF;
constexpr quint32 kNoStream = 0xFFFFFFFF;

constexpr quint32 ceilDiv(quint64 a, quint64 b)
{
    return quint32((a + b - 1) / b);
}

void put16(char* at, quint16 v)
{
    qToLittleEndian(v, at);
}

void put32(char* at, quint32 v)
{
    qToLittleEndian(v, at);
}

// One 128-byte directory entry. Names are UTF-16LE with a terminating zero, counted in bytes.
void putDirEntry(char* at, const char16_t* name, quint8 type, quint32 child, quint32 start,
                 quint32 size, const quint8* clsid)
{
    const qsizetype chars = std::char_traits<char16_t>::length(name);
    for (qsizetype i = 0; i < chars; ++i)
        put16(at + 2 * i, quint16(name[i]));
    put16(at + 64, quint16(2 * (chars + 1)));
    at[66] = char(type);
    at[67] = 1; // black: a tree of one node is a valid red-black tree
    put32(at + 68, kNoStream);
    put32(at + 72, kNoStream);
    put32(at + 76, child);
    if (clsid)
        std::memcpy(at + 80, clsid, 16);
    put32(at + 116, start);
    put32(at + 120, size);
}

// Where everything goes: the stream from sector 0, then the directory, the FAT and the DIFAT.
struct Layout {
    quint32 streamSectors = 0;
    quint32 fatSectors = 1;
    quint32 difatSectors = 0;
    quint32 dirStart = 0;
    quint32 fatStart = 0;
    quint32 difatStart = 0;
    quint32 sectorCount = 0;
};

constexpr quint32 kDirSectors = 1; // root + Workbook fit in one sector of four entries

Layout layoutFor(qsizetype streamSize)
{
    Layout l;
    l.streamSectors = ceilDiv(quint64(streamSize), kSectorSize);
    // The FAT must also map its own sectors and the DIFAT sectors, so grow both until the
    // counts are stable.
    for (;;) {
        const quint64 total =
            quint64(l.streamSectors) + kDirSectors + l.fatSectors + l.difatSectors;
        const quint32 needFat = ceilDiv(total, kIdsPerSector);
        const quint32 needDifat = needFat > kHeaderDifatSlots
                                      ? ceilDiv(needFat - kHeaderDifatSlots, kDifatSlotsPerSector)
                                      : 0;
        if (needFat == l.fatSectors && needDifat == l.difatSectors)
            break;
        l.fatSectors = needFat;
        l.difatSectors = needDifat;
    }
    l.dirStart = l.streamSectors;
    l.fatStart = l.dirStart + kDirSectors;
    l.difatStart = l.fatStart + l.fatSectors;
    l.sectorCount = l.difatStart + l.difatSectors;
    return l;
}

// Sector `id` of the file; the header takes the place of sector -1.
char* sector(QByteArray& file, quint32 id)
{
    return file.data() + kSectorSize * (1 + qsizetype(id));
}

void putHeader(char* base, const Layout& l)
{
    static constexpr quint8 kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(base, kSignature, sizeof kSignature);
    put16(base + 24, 0x003E); // minor version
    put16(base + 26, 0x0003); // major version 3: 512-byte sectors
    put16(base + 28, 0xFFFE); // little-endian
    put16(base + 30, 9);      // sector size 2^9
    put16(base + 32, 6);      // mini sector size 2^6
    put32(base + 44, l.fatSectors);
    put32(base + 48, l.dirStart);
    put32(base + 56, quint32(CompoundFile::kMinStreamSize)); // mini stream cutoff
    put32(base + 60, kEndOfChain);                           // no mini FAT
    put32(base + 68, l.difatSectors ? l.difatStart : kEndOfChain);
    put32(base + 72, l.difatSectors);
    for (quint32 i = 0; i < kHeaderDifatSlots; ++i)
        put32(base + 76 + 4 * i, i < l.fatSectors ? l.fatStart + i : kFreeSect);
}

// The root storage (no mini stream) with the Workbook stream as its only child. The root
// carries the class id of an Excel 97-2003 workbook so shells recognise the file.
void putDirectory(char* dir, qsizetype streamSize)
{
    static constexpr quint8 kExcelClsid[16] = {0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                               0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    putDirEntry(dir, u"Root Entry", 5, 1, kEndOfChain, 0, kExcelClsid);
    putDirEntry(dir + 128, u"Workbook", 2, kNoStream, 0, quint32(streamSize), nullptr);
    for (int unused = 2; unused < 4; ++unused) {
        char* const entry = dir + 128 * unused;
        put32(entry + 68, kNoStream);
        put32(entry + 72, kNoStream);
        put32(entry + 76, kNoStream);
    }
}

void putFat(QByteArray& file, const Layout& l)
{
    // The FAT sectors are consecutive, so entry i lives at a fixed place.
    auto setFat = [&](quint32 id, quint32 next) {
        put32(sector(file, l.fatStart + id / kIdsPerSector) + 4 * (id % kIdsPerSector), next);
    };
    std::memset(sector(file, l.fatStart), 0xFF, size_t(kSectorSize) * l.fatSectors); // FREESECT
    for (quint32 id = 0; id + 1 < l.streamSectors; ++id)
        setFat(id, id + 1);
    setFat(l.streamSectors - 1, kEndOfChain);
    setFat(l.dirStart, kEndOfChain);
    for (quint32 i = 0; i < l.fatSectors; ++i)
        setFat(l.fatStart + i, kFatSect);
    for (quint32 i = 0; i < l.difatSectors; ++i)
        setFat(l.difatStart + i, kDifSect);
}

// DIFAT sectors list the FAT sectors the header had no room for.
void putDifat(QByteArray& file, const Layout& l)
{
    for (quint32 d = 0; d < l.difatSectors; ++d) {
        char* const at = sector(file, l.difatStart + d);
        for (quint32 slot = 0; slot < kDifatSlotsPerSector; ++slot) {
            const quint32 fat = kHeaderDifatSlots + d * kDifatSlotsPerSector + slot;
            put32(at + 4 * slot, fat < l.fatSectors ? l.fatStart + fat : kFreeSect);
        }
        put32(at + 4 * kDifatSlotsPerSector,
              d + 1 < l.difatSectors ? l.difatStart + d + 1 : kEndOfChain);
    }
}

} // namespace

QByteArray CompoundFile::build(const QByteArray& workbookStream)
{
    if (workbookStream.size() > kMaxStreamSize)
        return {};
    const qsizetype streamSize = std::max(workbookStream.size(), kMinStreamSize);
    const Layout layout = layoutFor(streamSize);
    QByteArray file(kSectorSize * (1 + qsizetype(layout.sectorCount)), '\0');
    putHeader(file.data(), layout);
    // Workbook stream; the padding is already zero.
    std::memcpy(sector(file, 0), workbookStream.constData(), size_t(workbookStream.size()));
    putDirectory(sector(file, layout.dirStart), streamSize);
    putFat(file, layout);
    putDifat(file, layout);
    return file;
}
