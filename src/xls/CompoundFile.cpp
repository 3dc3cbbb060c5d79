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

} // namespace

QByteArray CompoundFile::build(const QByteArray& workbookStream)
{
    if (workbookStream.size() > kMaxStreamSize)
        return {};
    const qsizetype streamSize = std::max(workbookStream.size(), kMinStreamSize);
    const quint32 streamSectors = ceilDiv(quint64(streamSize), kSectorSize);
    const quint32 dirSectors = 1; // root + Workbook fit in one sector of four entries

    // The FAT must also map its own sectors and the DIFAT sectors, so grow both until the
    // counts are stable.
    quint32 fatSectors = 1;
    quint32 difatSectors = 0;
    for (;;) {
        const quint64 total = quint64(streamSectors) + dirSectors + fatSectors + difatSectors;
        const quint32 needFat = ceilDiv(total, kIdsPerSector);
        const quint32 needDifat = needFat > kHeaderDifatSlots
                                      ? ceilDiv(needFat - kHeaderDifatSlots, kDifatSlotsPerSector)
                                      : 0;
        if (needFat == fatSectors && needDifat == difatSectors)
            break;
        fatSectors = needFat;
        difatSectors = needDifat;
    }

    const quint32 dirStart = streamSectors;
    const quint32 fatStart = dirStart + dirSectors;
    const quint32 difatStart = fatStart + fatSectors;
    const quint32 sectorCount = difatStart + difatSectors;

    QByteArray file(kSectorSize * (1 + qsizetype(sectorCount)), '\0');
    char* const base = file.data();
    auto sector = [base](quint32 id) { return base + kSectorSize * (1 + qsizetype(id)); };

    // Header
    static constexpr quint8 kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(base, kSignature, sizeof kSignature);
    put16(base + 24, 0x003E); // minor version
    put16(base + 26, 0x0003); // major version 3: 512-byte sectors
    put16(base + 28, 0xFFFE); // little-endian
    put16(base + 30, 9);      // sector size 2^9
    put16(base + 32, 6);      // mini sector size 2^6
    put32(base + 44, fatSectors);
    put32(base + 48, dirStart);
    put32(base + 56, quint32(kMinStreamSize)); // mini stream cutoff
    put32(base + 60, kEndOfChain);             // no mini FAT
    put32(base + 68, difatSectors ? difatStart : kEndOfChain);
    put32(base + 72, difatSectors);
    for (quint32 i = 0; i < kHeaderDifatSlots; ++i)
        put32(base + 76 + 4 * i, i < fatSectors ? fatStart + i : kFreeSect);

    // Workbook stream; the padding is already zero.
    std::memcpy(sector(0), workbookStream.constData(), size_t(workbookStream.size()));

    // Directory: the root storage (no mini stream) with the Workbook stream as its only child.
    // The root carries the class id of an Excel 97-2003 workbook so shells recognise the file.
    static constexpr quint8 kExcelClsid[16] = {0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                               0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    char* const dir = sector(dirStart);
    putDirEntry(dir, u"Root Entry", 5, 1, kEndOfChain, 0, kExcelClsid);
    putDirEntry(dir + 128, u"Workbook", 2, kNoStream, 0, quint32(streamSize), nullptr);
    for (int unused = 2; unused < 4; ++unused) {
        char* const entry = dir + 128 * unused;
        put32(entry + 68, kNoStream);
        put32(entry + 72, kNoStream);
        put32(entry + 76, kNoStream);
    }

    // FAT: the FAT sectors are consecutive, so entry i lives at a fixed place.
    auto setFat = [&](quint32 id, quint32 next) {
        put32(sector(fatStart + id / kIdsPerSector) + 4 * (id % kIdsPerSector), next);
    };
    std::memset(sector(fatStart), 0xFF, size_t(kSectorSize) * fatSectors); // all FREESECT
    for (quint32 id = 0; id + 1 < streamSectors; ++id)
        setFat(id, id + 1);
    setFat(streamSectors - 1, kEndOfChain);
    setFat(dirStart, kEndOfChain);
    for (quint32 i = 0; i < fatSectors; ++i)
        setFat(fatStart + i, kFatSect);
    for (quint32 i = 0; i < difatSectors; ++i)
        setFat(difatStart + i, kDifSect);

    // DIFAT sectors list the FAT sectors the header had no room for.
    for (quint32 d = 0; d < difatSectors; ++d) {
        char* const at = sector(difatStart + d);
        for (quint32 slot = 0; slot < kDifatSlotsPerSector; ++slot) {
            const quint32 fat = kHeaderDifatSlots + d * kDifatSlotsPerSector + slot;
            put32(at + 4 * slot, fat < fatSectors ? fatStart + fat : kFreeSect);
        }
        put32(at + 4 * kDifatSlotsPerSector,
              d + 1 < difatSectors ? difatStart + d + 1 : kEndOfChain);
    }
    return file;
}
