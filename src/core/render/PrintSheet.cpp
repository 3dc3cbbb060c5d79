#include "core/render/PrintSheet.h"

#include "core/model/Colours.h"
#include "core/model/LabelType.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/numbering/Cp932.h"

#include <QPoint>

#include <algorithm>
#include <cmath>

namespace {

// Printer dots on purpose: it does not scale with resolution, only with
// the disc, as the outline does.
constexpr int UpperLineGap = 10;
// The smallest size a line shrinks to so as to stay inside its disc, at the
// built-in sheet's scale; everything sized here grows with the disc.
constexpr int MinPointSize = 4;
// Beside a code, lines keep this far (in mm) from the disc's edge, so that
// a sheet placed a little off still shows every glyph.
constexpr double CodeMarginMm = 0.3;
constexpr double MmPerInch = 25.4;

// A length in dots drawn in a disc of `scale`: the built-in sheet's own
// numbers at 1, never under a dot.
int scaledDots(int dots, double scale)
{
    return std::max(1, int(std::lround(dots * scale)));
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

QColor discFill(const LabelRun& run, const PrintAppearance& look, int sheetIndex)
{
    if (!look.rainbow)
        return look.backgroundColor();
    // A blank Type8 run is coloured by sample group, everything else by the
    // copy of its sample; the index restarts on every sheet.
    if (run.type8Blank)
        return Colours::rainbowBySampleGroup(sheetIndex, run.sampleCount);
    return Colours::rainbowByRepeat(sheetIndex, run.repeatCount);
}

// Whether a text's box, from (x, y) at `size`, lies inside the disc: the
// circle inscribed in the label's box, less `margin` dots. The disc is
// convex, so its corners decide.
bool insideDisc(const DeviceBox& box, QPoint at, QSize size, QSize margin = {})
{
    const double ex = (box.left + box.right) / 2.0;
    const double ey = (box.top + box.bottom) / 2.0;
    const double rx = (box.right - box.left) / 2.0 - margin.width();
    const double ry = (box.bottom - box.top) / 2.0 - margin.height();
    for (const int x : {at.x(), at.x() + size.width()}) {
        for (const int y : {at.y(), at.y() + size.height()}) {
            const double dx = (x - ex) / rx;
            const double dy = (y - ey) / ry;
            if (dx * dx + dy * dy > 1.0)
                return false;
        }
    }
    return true;
}

// A line's place and size once it fits its disc.
struct Fitted {
    QPoint at;
    double points = 0;
};

// Where `rule` puts a line (given its extent at the current size) if it
// stays inside the disc there, else centred on the disc; where neither fits,
// one point smaller at a time (at the disc's scale), measured and placed
// afresh at each size.
template <typename Rule>
Fitted fit(PrintCanvas& canvas, const SheetGeometry::LabelPlace& place, int points,
           const QString& text, Rule rule, QSize margin = {})
{
    for (int step = points;; --step) {
        const double size = step * place.scale;
        canvas.setFontSize(size);
        const QSize extent = canvas.textExtent(text);
        QPoint at = rule(extent);
        if (!insideDisc(place.box, at, extent, margin))
            at.setX(minusHalf(place.cx, extent.width()));
        if (step <= MinPointSize || insideDisc(place.box, at, extent, margin))
            return {at, size};
    }
}

void drawText(PrintCanvas& canvas, const Fitted& line, const QString& text)
{
    // An empty line draws nothing; skipping it keeps the document lean.
    if (text.isEmpty())
        return;
    canvas.setFontSize(line.points);
    canvas.textOut(line.at.x(), line.at.y(), text);
}

// The two lines of one label around the centre of `place`, in device dots.
void drawTexts(PrintCanvas& canvas, const LabelTypeTraits& traits, const LabelTexts& texts,
               const SheetGeometry::LabelPlace& place)
{
    const int cx = place.cx;
    const int cy = place.cy;
    const int points = pointSizeFor(texts.upper);
    if (traits.placedByNumber) {
        // Type 13 has no upper line, so its number sits in the middle.
        const bool middle = traits.upper == UpperLine::None;
        const Fitted lower = fit(canvas, place, points, texts.lower, [&](QSize size) {
            return QPoint(minusHalf(cx, size.width()), middle ? minusHalf(cy, size.height()) : cy);
        });
        // The upper line starts at the number's left edge, so that it sits
        // over the digits whatever its own width, and stands on the number.
        canvas.setFontSize(lower.points);
        const int numberLeft = minusHalf(cx, canvas.textExtent(texts.number).width());
        const Fitted upper = fit(canvas, place, points, texts.upper, [&](QSize size) {
            return QPoint(numberLeft, cy - size.height());
        });
        drawText(canvas, upper, texts.upper);
        drawText(canvas, lower, texts.lower);
        return;
    }
    const int gap = scaledDots(UpperLineGap, place.scale);
    const Fitted upper = fit(canvas, place, points, texts.upper, [&](QSize size) {
        return QPoint(minusHalf(cx, size.width()), cy - size.height() - gap);
    });
    // Lines without a number size each line by its own length.
    const Fitted lower =
        fit(canvas, place, traits.hasNumber() ? points : pointSizeFor(texts.lower), texts.lower,
            [&](QSize size) { return QPoint(minusHalf(cx, size.width()), cy); });
    drawText(canvas, upper, texts.upper);
    drawText(canvas, lower, texts.lower);
}

// A label with a code: the code in the middle of the disc, in black on a
// square free of ink one module wide around it (cleared to white on a
// coloured disc), the upper line above it and the lower line below.
void drawCodedLabel(PrintCanvas& canvas, const LabelTypeTraits& traits, const LabelTexts& texts,
                    const DataMatrix::Symbol& code, const SheetGeometry::LabelPlace& place,
                    bool colouredDisc)
{
    const DeviceBox& box = place.box;
    const int mx = moduleDots(canvas.dpiX(), place.scale);
    const int my = moduleDots(canvas.dpiY(), place.scale);
    const int left = (box.left + box.right - code.modules * mx) / 2;
    const int top = (box.top + box.bottom - code.modules * my) / 2;
    const DeviceBox quiet{left - mx, top - my, left + (code.modules + 1) * mx,
                          top + (code.modules + 1) * my};
    if (colouredDisc) {
        canvas.fillCells({quiet.left, quiet.top}, {mx, my},
                         {QRect(0, 0, code.modules + 2, code.modules + 2)}, QColor(255, 255, 255));
    }
    canvas.fillCells({left, top}, {mx, my}, code.dark, QColor(0, 0, 0));

    const double marginMm = CodeMarginMm * place.scale;
    const QSize margin(int(std::lround(marginMm * canvas.dpiX() / MmPerInch)),
                       int(std::lround(marginMm * canvas.dpiY() / MmPerInch)));
    const int cx = place.cx;
    const int points = pointSizeFor(texts.upper);
    const Fitted upper = fit(
        canvas, place, points, texts.upper,
        [&](QSize size) { return QPoint(minusHalf(cx, size.width()), quiet.top - size.height()); },
        margin);
    const Fitted lower = fit(
        canvas, place, traits.hasNumber() ? points : pointSizeFor(texts.lower), texts.lower,
        [&](QSize size) { return QPoint(minusHalf(cx, size.width()), quiet.bottom); }, margin);
    drawText(canvas, upper, texts.upper);
    drawText(canvas, lower, texts.lower);
}

} // namespace

int moduleDots(int dpi, double scale)
{
    const int nearest = int(std::lround(0.25 * scale * dpi / MmPerInch));
    const int least = int(std::ceil(0.2 * scale * dpi / MmPerInch));
    return std::max({1, nearest, least});
}

const LabelCodes::JobSize& SheetLabels::codeSize() const
{
    if (!m_codeSize) {
        // Labels printed again keep the size of the job they come from, so
        // that a reprinted label looks like its first print: the run makes
        // that job's labels again, and the given ones count as well.
        const int composed = m_given ? m_run.labelTotal() : 0;
        m_codeSize = LabelCodes::jobSize(composed + total(), [this, composed](int n) {
            const LabelTexts t = n < composed ? composeLabelTexts(m_run, n) : texts(n - composed);
            return LabelCodes::contentOf(t.upper, t.lower);
        });
    }
    return *m_codeSize;
}

const DataMatrix::Symbol* SheetLabels::codeOf(const LabelTexts& labelTexts) const
{
    const QString content = LabelCodes::contentOf(labelTexts.upper, labelTexts.lower);
    const LabelCodes::JobSize& size = codeSize();
    if (content.isEmpty() || !size.fits || size.modules == 0)
        return nullptr;
    if (!m_code || content != m_codeContent) {
        m_codeContent = content;
        m_code = DataMatrix::encode(content, size.modules);
    }
    return m_code ? &*m_code : nullptr;
}

QString codeProblem(const SheetLabels& labels, const PrintAppearance& look)
{
    if (look.code == LabelCode::None)
        return {};
    return LabelCodes::refusal(labels.codeSize());
}

LabelTexts SheetLabels::texts(int n) const
{
    if (!m_given)
        return composeLabelTexts(m_run, n);
    LabelTexts texts;
    texts.upper = m_given->value(n).upper;
    texts.lower = m_given->value(n).lower;
    // The types placed by their number print nothing else on the lower line.
    if (labelType(m_run.type).placedByNumber)
        texts.number = texts.lower;
    return texts;
}

void printLabel(PrintCanvas& canvas, const SheetLabels& labels, const PrintAppearance& look,
                const SheetGeometry::LabelPlace& place, int n, int sheetIndex)
{
    const LabelRun& run = labels.run();
    const QColor fill = discFill(run, look, sheetIndex);
    canvas.setPen(scaledDots(SheetGeometry::OutlineWidth, place.scale), look.backgroundColor());
    canvas.setBrush(fill);
    canvas.ellipse(place.box);
    canvas.setFontColor(look.textColor());
    canvas.clearBrush();
    const LabelTexts texts = labels.texts(n);
    if (look.code != LabelCode::None) {
        if (const DataMatrix::Symbol* code = labels.codeOf(texts)) {
            drawCodedLabel(canvas, labelType(run.type), texts, *code, place,
                           fill != QColor(255, 255, 255));
            return;
        }
    }
    drawTexts(canvas, labelType(run.type), texts, place);
}

void printSheet(PrintCanvas& canvas, const Sheet& sheet, const SheetLabels& labels,
                const PrintAppearance& look, const SheetGeometry::Offsets& offsets,
                int startPosition, int number, int first, int last)
{
    const SheetDots::Placement placement(sheet, offsets, canvas.dpiX(), canvas.dpiY(),
                                         canvas.paperCorner());
    const int positions = sheet.positions();
    canvas.setFont(look.font);
    for (int p = first; p <= last; ++p) {
        const int n = positions * (number - 1) + p - startPosition;
        printLabel(canvas, labels, look, placement.place(p), n, p - first);
    }
}

void printSheet(PrintCanvas& canvas, const SheetLabels& labels, const PrintAppearance& look,
                const SheetGeometry::Offsets& offsets, int startPosition, int sheet, int first,
                int last)
{
    printSheet(canvas, Sheet::builtIn(), labels, look, offsets, startPosition, sheet, first, last);
}
