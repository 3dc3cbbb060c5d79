#include "xls/BiffStyles.h"

#include "xls/BiffRecords.h"

#include <QHash>

namespace Biff {

namespace {

constexpr int kMaxXfCount = 4000; // Excel 97 refuses more
constexpr quint16 kAutoFontColor = 0x7FFF;
constexpr quint16 kSystemBackground = 0x41; // window background

// The default font of a Japanese Excel, so Japanese labels look as they do there.
const char16_t kDefaultFontName[] = u"ＭＳ Ｐゴシック";
constexpr quint16 kDefaultFontTwips = 220;
constexpr quint8 kShiftJisCharset = 128;

quint32 packFormat(const Xls::CellFormat& format)
{
    return quint32(format.fontColor + 1) | quint32(format.fillColor + 1) << 8 |
           quint32(format.borders.toInt()) << 16;
}

void putFont(QByteArray& out, quint16 color)
{
    Record record(out, RtFont);
    put16(out, kDefaultFontTwips);
    put16(out, 0); // not italic, not struck out
    put16(out, color);
    put16(out, 400); // normal weight
    put16(out, 0);   // no super/subscript
    put8(out, 0);    // no underline
    put8(out, 0);    // family: don't care
    put8(out, kShiftJisCharset);
    put8(out, 0);
    putShortString(out, kDefaultFontName);
}

void putXf(QByteArray& out, quint16 font, bool isStyle, quint8 usedAttributes, Xls::Borders borders,
           int fillColor)
{
    constexpr quint32 thin = 1;
    const quint32 left = borders.testFlag(Xls::Border::Left) ? thin : 0;
    const quint32 right = borders.testFlag(Xls::Border::Right) ? thin : 0;
    const quint32 top = borders.testFlag(Xls::Border::Top) ? thin : 0;
    const quint32 bottom = borders.testFlag(Xls::Border::Bottom) ? thin : 0;
    // Border lines use the automatic colour rather than palette black, so redefining palette
    // entry 8 cannot recolour them.
    auto lineColor = [](quint32 line) { return line ? quint32(kSystemText) : 0u; };

    Record record(out, RtXf);
    put16(out, font);
    put16(out, 0); // number format "General"
    // Locked. A style has no parent (0xFFF); cell formats derive from the Normal style, XF 0.
    put16(out, isStyle ? 0xFFF5 : 0x0001);
    put8(out, 0x20); // bottom aligned, like Excel's defaults
    put8(out, 0);    // no rotation
    put8(out, 0);    // no indent
    put8(out, usedAttributes);
    put32(out, left | right << 4 | top << 8 | bottom << 12 | lineColor(left) << 16 |
                   lineColor(right) << 23);
    const quint32 pattern = fillColor >= 0 ? 1 : 0; // solid
    put32(out, lineColor(top) | lineColor(bottom) << 7 | pattern << 26);
    const quint16 foreground = fillColor >= 0 ? quint16(fillColor) : kSystemText;
    put16(out, quint16(foreground | kSystemBackground << 7));
}

} // namespace

StylePlan planStyles(const std::map<quint32, Xls::Cell>& cells)
{
    StylePlan plan;
    plan.refs.reserve(cells.size());
    plan.xfs.reserve(cells.size());
    plan.sst.reserve(cells.size());
    QHash<quint32, quint16> xfForFormat;
    QHash<QString, qint32> stringIndex;
    stringIndex.reserve(qsizetype(cells.size()));

    for (const auto& [ref, cell] : cells) {
        const quint32 format = packFormat(cell.format);
        quint16 xf = kDefaultCellXf;
        if (cell.format != Xls::CellFormat{}) {
            if (const auto it = xfForFormat.constFind(format); it != xfForFormat.cend()) {
                xf = *it;
            } else if (kFirstCustomXf + plan.xfFormats.size() < size_t(kMaxXfCount)) {
                // Past Excel's XF limit further combinations fall back to the plain format.
                xf = quint16(kFirstCustomXf + plan.xfFormats.size());
                xfForFormat.insert(format, xf);
                plan.xfFormats.push_back(format);
                const int color = cell.format.fontColor;
                if (color >= 0 && plan.fontForColor[size_t(color)] == 0) {
                    plan.fontForColor[size_t(color)] =
                        quint16(kFirstColorFont + plan.fontColors.size());
                    plan.fontColors.push_back(quint16(color));
                }
            }
        }

        qint32 sst = -1;
        if (!cell.text.isEmpty()) {
            auto it = stringIndex.find(cell.text);
            if (it == stringIndex.end()) {
                it = stringIndex.insert(cell.text, qint32(plan.strings.size()));
                plan.strings.append(cell.text);
            }
            sst = *it;
            ++plan.textCells;
        }
        plan.refs.push_back(ref);
        plan.xfs.push_back(xf);
        plan.sst.push_back(sst);
    }
    return plan;
}

void putStyles(QByteArray& out, const StylePlan& plan)
{
    for (int i = 0; i < 4; ++i)
        putFont(out, kAutoFontColor);
    for (const quint16 color : plan.fontColors)
        putFont(out, color);

    putXf(out, 0, true, 0x00, {}, -1); // XF 0: the Normal style
    for (int i = 1; i < 15; ++i)
        putXf(out, 0, true, 0xF4, {}, -1); // the outline styles Excel expects to find
    putXf(out, 0, false, 0x00, {}, -1);    // XF 15: default cell format
    for (const quint32 format : plan.xfFormats) {
        const int fontColor = int(format & 0xFF) - 1;
        const int fillColor = int(format >> 8 & 0xFF) - 1;
        const quint16 font = fontColor >= 0 ? plan.fontForColor[size_t(fontColor)] : 0;
        putXf(out, font, false, 0xF8, Xls::Borders::fromInt(format >> 16), fillColor);
    }
    Record record(out, RtStyle);
    put16(out, 0x8000); // built-in style on XF 0:
    put8(out, 0);       // Normal
    put8(out, 0xFF);
}

void putPalette(QByteArray& out, const Xls::Palette& palette)
{
    Record record(out, RtPalette);
    put16(out, quint16(palette.size()));
    for (const QRgb rgb : palette) {
        put8(out, quint8(qRed(rgb)));
        put8(out, quint8(qGreen(rgb)));
        put8(out, quint8(qBlue(rgb)));
        put8(out, 0);
    }
}

} // namespace Biff
