#include "xls/BiffRecords.h"

#include <QtEndian>

#include <algorithm>
#include <vector>

namespace Biff {

void put8(QByteArray& out, quint8 v)
{
    out.append(char(v));
}

void put16(QByteArray& out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void put32(QByteArray& out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void patch32(QByteArray& out, qsizetype at, quint32 v)
{
    qToLittleEndian(v, out.data() + at);
}

qsizetype beginRecord(QByteArray& out, quint16 type)
{
    const qsizetype start = out.size();
    put16(out, type);
    put16(out, 0);
    return start;
}

void endRecord(QByteArray& out, qsizetype start)
{
    const qsizetype length = out.size() - start - 4;
    Q_ASSERT(length <= kMaxRecordData);
    qToLittleEndian(quint16(length), out.data() + start + 2);
}

namespace {

// BIFF8 stores a string as 8-bit "compressed" characters when every UTF-16 unit fits in a
// byte, otherwise as UTF-16LE.
bool fitsInBytes(const QChar* chars, qsizetype count)
{
    return std::all_of(chars, chars + count, [](QChar c) { return c.unicode() < 0x100; });
}

void putChars(QByteArray& out, const QChar* chars, qsizetype count, bool compressed)
{
    const qsizetype at = out.size();
    if (compressed) {
        out.resize(at + count);
        char* dest = out.data() + at;
        for (qsizetype i = 0; i < count; ++i)
            dest[i] = char(chars[i].unicode());
    } else {
        out.resize(at + 2 * count);
        qToLittleEndian<quint16>(chars, count, out.data() + at);
    }
}

struct SstBucket {
    quint32 streamPosition;
    quint16 recordOffset;
};

// Writes the shared string table as an SST record continued by CONTINUE records. Returns where
// every `bucketSize`-th string starts, for EXTSST.
std::vector<SstBucket> putSst(QByteArray& out, const QStringList& strings, quint32 totalRefs,
                              int bucketSize)
{
    std::vector<SstBucket> buckets;
    qsizetype recordStart = beginRecord(out, RtSst);
    put32(out, totalRefs);
    put32(out, quint32(strings.size()));
    auto used = [&] { return out.size() - recordStart - 4; };
    auto continueRecord = [&] {
        endRecord(out, recordStart);
        recordStart = beginRecord(out, RtContinue);
    };

    for (qsizetype i = 0; i < strings.size(); ++i) {
        const QChar* chars = strings[i].constData();
        const qsizetype count = strings[i].size();
        const bool compressed = fitsInBytes(chars, count);
        const int unitSize = compressed ? 1 : 2;

        // Length and flags are never split from each other nor from the first character.
        const qsizetype firstChar = count == 0 ? 0 : chars[0].isHighSurrogate() ? 2 : 1;
        if (used() + 3 + firstChar * unitSize > kMaxRecordData)
            continueRecord();
        if (i % bucketSize == 0)
            buckets.push_back({quint32(out.size()), quint16(out.size() - recordStart)});
        put16(out, quint16(count));
        put8(out, compressed ? 0 : 1);

        for (qsizetype done = 0; done < count;) {
            qsizetype take = std::min((kMaxRecordData - used()) / unitSize, count - done);
            // Break between characters, never inside a surrogate pair.
            if (take > 0 && done + take < count && chars[done + take - 1].isHighSurrogate())
                --take;
            if (take == 0) {
                // The rest goes on in a CONTINUE record, which restarts with the flags byte.
                continueRecord();
                put8(out, compressed ? 0 : 1);
                continue;
            }
            putChars(out, chars + done, take, compressed);
            done += take;
        }
    }
    endRecord(out, recordStart);
    return buckets;
}

} // namespace

void putShortString(QByteArray& out, QStringView text)
{
    const bool compressed = fitsInBytes(text.data(), text.size());
    put8(out, quint8(text.size()));
    put8(out, compressed ? 0 : 1);
    putChars(out, text.data(), text.size(), compressed);
}

void putSharedStrings(QByteArray& out, const QStringList& strings, quint32 totalRefs)
{
    // Readers use EXTSST to find a string without scanning the whole table.
    const int bucketSize = std::max(int(strings.size() / 128 + 1), 8);
    const std::vector<SstBucket> buckets = putSst(out, strings, totalRefs, bucketSize);
    Record record(out, RtExtSst);
    put16(out, quint16(bucketSize));
    for (const SstBucket& bucket : buckets) {
        put32(out, bucket.streamPosition);
        put16(out, bucket.recordOffset);
        put16(out, 0);
    }
}

} // namespace Biff
