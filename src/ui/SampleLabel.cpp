#include "ui/SampleLabel.h"

#include "core/layout/SheetGeometry.h"
#include "core/numbering/ComposeLabelTexts.h"
#include "core/render/PrintSheet.h"
#include "print/QtPrintCanvas.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// The disc of 130 units is 140 pixels at this resolution: it fills the panel.
constexpr int SampleDpi = 270;
constexpr double InchesPerMetre = 1 / 0.0254;
// The frame's white ring leaves this share of the disc's radius coloured.
constexpr double FrameInner = 0.72;
// Beside a code the lines reach out to the disc's margin (0.3 mm of its
// 5.5 mm radius): the ring stays outside them.
constexpr double FrameInnerWithCode = 0.94;

} // namespace

SampleLabel::SampleLabel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void SampleLabel::showLabel(const LabelRun& run, const PrintAppearance& look)
{
    m_run = run;
    m_labels.emplace(m_run);
    m_look = look;
    const LabelTexts texts = composeLabelTexts(run, 0);
    m_upper = texts.upper;
    m_lower = texts.lower;
    retranslate();
    render();
}

void SampleLabel::retranslate()
{
    setAccessibleName(tr("見本 %1 %2").arg(m_upper, m_lower).simplified());
}

void SampleLabel::setLook(const PrintAppearance& look)
{
    m_look = look;
    render();
}

QRect SampleLabel::discRect() const
{
    const int size = SheetGeometry::toDots(SheetGeometry::BoxSize, SampleDpi);
    return QRect((width() - size) / 2, (height() - size) / 2 - 4, size, size);
}

void SampleLabel::render()
{
    m_image = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    m_image.fill(Qt::transparent);
    m_image.setDotsPerMeterX(qRound(SampleDpi * InchesPerMetre));
    m_image.setDotsPerMeterY(qRound(SampleDpi * InchesPerMetre));
    const QRect disc = discRect();
    SheetGeometry::LabelPlace place;
    place.box = {disc.left(), disc.top(), disc.left() + disc.width(), disc.top() + disc.height()};
    place.cx = disc.left() + SheetGeometry::toDots(SheetGeometry::CentreX, SampleDpi);
    place.cy = disc.top() + SheetGeometry::toDots(SheetGeometry::CentreY, SampleDpi);

    // With the frame the texts stand on white, inside a ring of the colour
    // the disc is filled with.
    const QColor fill = !m_look.rainbow    ? m_look.backgroundColor()
                        : m_run.type8Blank ? Colours::rainbowBySampleGroup(0, m_run.sampleCount)
                                           : Colours::rainbowByRepeat(0, m_run.repeatCount);
    PrintAppearance look = m_look;
    if (m_look.frame) {
        look.rainbow = false;
        look.backgroundIndex = 0; // White
    }
    {
        QtPrintCanvas canvas(m_image);
        canvas.beginDocument();
        canvas.setFont(look.font);
        if (!m_labels)
            m_labels.emplace(m_run);
        printLabel(canvas, *m_labels, look, place, 0, 0);
        canvas.endDocument();
    }
    if (m_look.frame) {
        QPainter painter(&m_image);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath ring;
        ring.setFillRule(Qt::OddEvenFill);
        const QRectF outer = QRectF(disc).adjusted(-3, -3, 3, 3); // over the outline too
        ring.addEllipse(outer);
        const QPointF centre = QRectF(disc).center();
        const double inner = m_look.code != LabelCode::None ? FrameInnerWithCode : FrameInner;
        ring.addEllipse(centre, disc.width() / 2.0 * inner, disc.height() / 2.0 * inner);
        painter.fillPath(ring, fill);
    }
    // The edge of the label as the sheet's cut shows it, on screen only.
    QPainter edge(&m_image);
    edge.setRenderHint(QPainter::Antialiasing);
    edge.setPen(QPen(QColor(160, 160, 160), 1));
    edge.drawEllipse(QRectF(disc).adjusted(-3, -3, 3, 3));
    edge.end();
    update();
}

void SampleLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

void SampleLabel::resizeEvent(QResizeEvent*)
{
    render();
}
