#include "core/render/PrintSheet.h"

#include "core/model/Colours.h"
#include "core/model/LabelType.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/numbering/Cp932.h"

namespace {

// These two are printer dots on purpose: they do not scale with resolution.
constexpr int OutlineWidth = 5;
constexpr int UpperLineGap = 10;

// trunc(a - b / 2) in integers: C++ division truncates toward zero as well.
int minusHalf(int a, int b)
{
    return (2 * a - b) / 2;
}

// Label lines of exactly five bytes fill the disc and get the smaller size.
int pointSizeFor(const QString& text)
{
    return Cp932::byteLength(text) == 5 ? 8 : 9;
}

QColor discFill(const LabelRun& run, const PrintAppearance& look, int sheetIndex)
{
    if (!look.rainbow)
        return look.backgroundColor();
    // A blank Type8 run is coloured by sample group, everything else by the
    // copy of its sample; the index restarts on every sheet.
    if (run.memo2Empty)
        return Colours::RainbowBySampleGroup(sheetIndex, run.sampleCount);
    return Colours::RainbowByRepeat(sheetIndex, run.repeatCount);
}

void drawText(PrintCanvas& canvas, int x, int y, const QString& text)
{
    // An empty line draws nothing; skipping it keeps the document lean.
    if (!text.isEmpty())
        canvas.textOut(x, y, text);
}

// The two lines of one label around the centre (cx, cy), in device dots.
void drawTexts(PrintCanvas& canvas, const LabelTypeTraits& traits, const LabelTexts& texts, int cx,
               int cy)
{
    canvas.setFontSize(pointSizeFor(texts.upper));
    if (traits.placedByNumber) {
        // The upper line centres on the number, so that it sits over the
        // digits whatever its own width.
        const QSize number = canvas.textExtent(texts.number);
        drawText(canvas, minusHalf(cx, number.width()), cy - number.height(), texts.upper);
        const QSize lower = canvas.textExtent(texts.lower);
        // Type 13 has no upper line, so its number sits in the middle.
        const int y = traits.upper == UpperLine::None ? minusHalf(cy, lower.height()) : cy;
        drawText(canvas, minusHalf(cx, lower.width()), y, texts.lower);
        return;
    }
    const QSize upper = canvas.textExtent(texts.upper);
    drawText(canvas, minusHalf(cx, upper.width()), cy - upper.height() - UpperLineGap, texts.upper);
    // Lines without a number size each line by its own length.
    if (!traits.hasNumber())
        canvas.setFontSize(pointSizeFor(texts.lower));
    const QSize lower = canvas.textExtent(texts.lower);
    drawText(canvas, minusHalf(cx, lower.width()), cy, texts.lower);
}

} // namespace

void PrintLabel(PrintCanvas& canvas, const LabelRun& run, const PrintAppearance& look,
                const SheetGeometry::LabelPlace& place, int n, int sheetIndex)
{
    canvas.setPen(OutlineWidth, look.backgroundColor());
    canvas.setBrush(discFill(run, look, sheetIndex));
    canvas.ellipse(place.box);
    canvas.setFontColor(look.textColor());
    canvas.clearBrush();
    drawTexts(canvas, labelType(run.type), ComposeLabelTexts(run, n), place.cx, place.cy);
}

void PrintSheet(PrintCanvas& canvas, const LabelRun& run, const PrintAppearance& look,
                const SheetGeometry::Offsets& offsets, int startPosition, int sheet, int first,
                int last)
{
    const int dpiX = canvas.dpiX();
    const int dpiY = canvas.dpiY();
    canvas.setFont(look.font);
    for (int p = first; p <= last; ++p) {
        const int n = 150 * (sheet - 1) + p - startPosition;
        PrintLabel(canvas, run, look, SheetGeometry::place(p, offsets, dpiX, dpiY), n, p - first);
    }
}
