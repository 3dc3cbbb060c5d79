#include "core/numbering/Cp932.h"

#include <QStringEncoder>

#include <algorithm>
#include <unordered_map>

namespace Cp932 {

namespace {

char32_t mapped(char32_t c)
{
    switch (c) {
    case 0x301C:
        return 0xFF5E; // WAVE DASH -> FULLWIDTH TILDE
    case 0x2212:
        return 0xFF0D; // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
    case 0x2014:
        return 0x2015; // EM DASH -> HORIZONTAL BAR
    case 0x2016:
        return 0x2225; // DOUBLE VERTICAL LINE -> PARALLEL TO
    case 0x00A2:
        return 0xFFE0; // CENT SIGN
    case 0x00A3:
        return 0xFFE1; // POUND SIGN
    case 0x00AC:
        return 0xFFE2; // NOT SIGN
    default:
        return c;
    }
}

// Bytes one code point takes in code page 932; 0 when it has none.
int charBytes(char32_t c)
{
    if (c < 0x80)
        return c == 0 ? 0 : 1;
    if (c >= 0xFF61 && c <= 0xFF9F)
        return 1; // half-width katakana
    if (c > 0xFFFF)
        return 0; // nothing outside the BMP is in the code page
    // An encoder's error state cannot be reset for the next character, so
    // each character gets a fresh one; the answers are kept.
    thread_local std::unordered_map<char32_t, int> known;
    if (const auto it = known.find(c); it != known.end())
        return it->second;
    QStringEncoder encoder("windows-31j");
    const char16_t unit = char16_t(c);
    const QByteArray bytes = encoder.encode(QStringView(&unit, 1));
    const int size = encoder.hasError() ? 0 : int(bytes.size());
    known.emplace(c, size);
    return size;
}

// Control characters (C0, DEL, C1 with NEL) and the line and paragraph
// separators: none of them is label text.
bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

template <typename Visit> void forEachCodePoint(const QString& text, Visit visit)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            visit(QChar::surrogateToUcs4(ch, text.at(i + 1)), i, 2);
            i += 2;
        } else {
            visit(char32_t(ch.unicode()), i, 1);
            i += 1;
        }
    }
}

} // namespace

QString normalize(const QString& text)
{
    QString out;
    out.reserve(text.size());
    forEachCodePoint(text, [&out](char32_t c, qsizetype, int) {
        const char32_t m = mapped(c);
        if (!isControl(m) && charBytes(m) > 0)
            out.append(QChar(char16_t(m)));
    });
    return out;
}

QStringList lines(const QString& text)
{
    QStringList out;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c != u'\r' && c != u'\n' && c != 0x2028 && c != 0x2029)
            continue;
        out << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    out << text.mid(start);
    return out;
}

int byteLength(const QString& text)
{
    int bytes = 0;
    forEachCodePoint(text, [&bytes](char32_t c, qsizetype, int) { bytes += charBytes(c); });
    return bytes;
}

QString cut(const QString& text, int maxBytes)
{
    int bytes = 0;
    qsizetype end = -1;
    forEachCodePoint(text, [&](char32_t c, qsizetype at, int) {
        if (end >= 0)
            return;
        bytes += charBytes(c);
        if (bytes > maxBytes)
            end = at;
    });
    return end < 0 ? text : text.left(end);
}

QString limit(const QString& text, int maxBytes)
{
    return cut(normalize(text), maxBytes);
}

int limitedPosition(const QString& text, int position, int maxBytes)
{
    // normalize() keeps the order and maps each character it keeps to one
    // unit, so what stood before the cursor is a prefix of what is kept.
    const qsizetype before = normalize(text.left(position)).size();
    return int(std::min(before, limit(text, maxBytes).size()));
}

} // namespace Cp932
