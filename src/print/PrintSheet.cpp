#include "print/PrintSheet.h"

#include "design/ComposeLabelTexts.h"
#include "design/Cp932.h"
#include "sheet/Colours.h"

namespace {

// Sheet geometry in layout units (1/250 inch).
constexpr int BaseLeft = 195;
constexpr int BaseTop = 206;
constexpr int Pitch = 168;
constexpr int OffsetStep = 5;
constexpr int OffsetZeroIndex = 10;
constexpr int BoxSize = 130;
constexpr int CentreX = 65;
constexpr int CentreY = 66; // the text's centre row sits one unit below the box middle

// These two are printer dots on purpose: they do not scale with resolution.
constexpr int OutlineWidth = 5;
constexpr int UpperLineGap = 10;

int toDots(int units, int dpi)
{
    return units * dpi / 250;
}

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

QColor discFill(const LabelRun& run, const PrintAppearance& look, int n)
{
    if (!look.rainbow)
        return look.backgroundColor();
    // A blank Type8 run is coloured by sample group, everything else by the
    // copy of its sample; the index restarts on every sheet.
    if (run.type == 8 && run.memo2Empty)
        return Colours::RainbowBySampleGroup(n, run.sampleCount);
    return Colours::RainbowByRepeat(n, run.repeatCount);
}

void drawText(PrintCanvas& canvas, int x, int y, const QString& text)
{
    // An empty line draws nothing; skipping it keeps the document lean.
    if (!text.isEmpty())
        canvas.textOut(x, y, text);
}

bool placedByNumber(int type)
{
    return type == 1 || type == 4 || type == 5 || type == 13;
}

// The two lines of one label around the centre (cx, cy), in device dots.
void drawTexts(PrintCanvas& canvas, int type, const LabelTexts& texts, int cx, int cy)
{
    canvas.setFontSize(pointSizeFor(texts.upper));
    if (placedByNumber(type)) {
        // The upper line centres on the number, so that it sits over the
        // digits whatever its own width; a number past 9999 keeps its width.
        const QSize number = canvas.textExtent(texts.number);
        drawText(canvas, minusHalf(cx, number.width()), cy - number.height(), texts.upper);
        const QSize lower = canvas.textExtent(texts.lower);
        // Type 13 has no upper line, so its number sits in the middle.
        const int y = type == 13 ? minusHalf(cy, lower.height()) : cy;
        drawText(canvas, minusHalf(cx, lower.width()), y, texts.lower);
        return;
    }
    const QSize upper = canvas.textExtent(texts.upper);
    drawText(canvas, minusHalf(cx, upper.width()), cy - upper.height() - UpperLineGap, texts.upper);
    // Free-text types size each line by its own length.
    if (type >= 8 && type <= 12)
        canvas.setFontSize(pointSizeFor(texts.lower));
    const QSize lower = canvas.textExtent(texts.lower);
    drawText(canvas, minusHalf(cx, lower.width()), cy, texts.lower);
}

} // namespace

void ComputeLabelPositions(WorkingState& state)
{
    const int left = BaseLeft + OffsetStep * (state.HorzOffsetIndex - OffsetZeroIndex);
    const int top = BaseTop + OffsetStep * (state.VertOffsetIndex - OffsetZeroIndex);
    for (int i = 1; i <= SheetPositions; ++i) {
        state.LabelLeft[i] = left + Pitch * ((i - 1) % 10);
        state.LabelTop[i] = top + Pitch * ((i - 1) / 10);
    }
}

bool PrintSheet(PrintCanvas& canvas, WorkingState& state, const PrintAppearance& look, int sheet,
                int first, int last, bool isLastSheet)
{
    ComputeLabelPositions(state);
    if (sheet == 1 && !canvas.beginDocument())
        return false;

    const int dpiX = canvas.dpiX();
    const int dpiY = canvas.dpiY();
    const QColor background = look.backgroundColor();
    const QColor textColor = look.textColor();
    const LabelRun& run = state.Run;
    canvas.setFont(look.font);

    for (int p = first; p <= last; ++p) {
        const int n = p - first;
        const int idx = SheetPositions * (sheet - 1) + p - state.StartPosition;
        const int left = state.LabelLeft[p];
        const int top = state.LabelTop[p];
        const DeviceBox box{toDots(left, dpiX), toDots(top, dpiY), toDots(left + BoxSize, dpiX),
                            toDots(top + BoxSize, dpiY)};
        const int cx = toDots(left + CentreX, dpiX);
        const int cy = toDots(top + CentreY, dpiY);

        canvas.setPen(OutlineWidth, background);
        canvas.setBrush(discFill(run, look, n));
        canvas.ellipse(box);
        canvas.setFontColor(textColor);
        canvas.clearBrush();

        const LabelTexts texts = ComposeLabelTexts(run, idx);
        if (texts.letter1 >= 0)
            state.LastLetter = letterOf(texts.letter1);
        if (texts.letter2 >= 0)
            state.LastSecondLetter = letterOf(texts.letter2);
        drawTexts(canvas, run.type, texts, cx, cy);

        const int entry = state.PrintLogNext - 1;
        if (entry >= 0 && entry < state.PrintLog.size())
            state.PrintLog[entry] = PrintLogEntry{texts.upper, texts.lower};
        ++state.PrintLogNext;
    }

    return isLastSheet ? canvas.endDocument() : canvas.newPage();
}
