#include "print/QtPrintCanvas.h"

#include <QCoreApplication>
#include <QPagedPaintDevice>
#include <QPaintDevice>

namespace {

QRect toRect(const DeviceBox& box)
{
    return QRect(box.left, box.top, box.right - box.left, box.bottom - box.top);
}

} // namespace

QtPrintCanvas::QtPrintCanvas(QPaintDevice& device) : m_device(&device) {}

QtPrintCanvas::QtPrintCanvas() = default;

QtPrintCanvas::~QtPrintCanvas()
{
    if (m_painter.isActive())
        m_painter.end();
}

void QtPrintCanvas::setDevice(QPaintDevice& device)
{
    m_device = &device;
    m_metrics.clear(); // measured for the device they draw on
}

int QtPrintCanvas::dpiX() const
{
    return m_device->logicalDpiX();
}

int QtPrintCanvas::dpiY() const
{
    return m_device->logicalDpiY();
}

QPoint QtPrintCanvas::paperCorner() const
{
    // A paged device's painter starts at the page layout's printable area,
    // as a PDF engine places it; an image drawn whole starts at m_origin.
    QPoint corner = -m_origin;
    if (const auto* paged = dynamic_cast<const QPagedPaintDevice*>(m_device))
        corner -= paged->pageLayout().paintRectPixels(m_device->logicalDpiX()).topLeft();
    return corner;
}

QString QtPrintCanvas::deviceName() const
{
    return QCoreApplication::translate("PrintDocument", "印刷先");
}

bool QtPrintCanvas::beginDocument()
{
    m_error.clear();
    if (!m_painter.begin(m_device)) {
        m_error = QCoreApplication::translate("PrintDocument",
                                              "印刷を開始できません。%1 に書き出せませんでした。")
                      .arg(deviceName());
        return false;
    }
    m_begun = true;
    m_painter.translate(m_origin);
    m_painter.setFont(m_font);
    m_painterFontSet = true;
    m_painter.setBrush(m_brush);
    m_textPenSet = false;
    return true;
}

bool QtPrintCanvas::newPage()
{
    auto* paged = dynamic_cast<QPagedPaintDevice*>(m_device);
    if (!paged || !paged->newPage()) {
        m_error =
            QCoreApplication::translate("PrintDocument", "%1 で次のページを開始できませんでした。")
                .arg(deviceName());
        return false;
    }
    return true;
}

bool QtPrintCanvas::endDocument()
{
    if (!m_painter.end()) {
        m_error =
            QCoreApplication::translate("PrintDocument", "%1 への印刷を完了できませんでした。")
                .arg(deviceName());
        return false;
    }
    m_begun = false;
    QString error;
    if (!finishDocument(&error)) {
        m_error = error;
        return false;
    }
    return true;
}

bool QtPrintCanvas::finishDocument(QString*)
{
    return true;
}

void QtPrintCanvas::abort()
{
    if (m_painter.isActive())
        m_painter.end();
    if (m_begun)
        discardDocument();
    m_begun = false;
}

QString QtPrintCanvas::errorString() const
{
    return m_error;
}

void QtPrintCanvas::setFont(const QFont& description)
{
    m_font = description;
    m_metrics.clear();
    m_painterFontSet = false;
}

void QtPrintCanvas::setFontSize(double points)
{
    // Called for every label, and a line that shrinks to fit its disc is
    // measured at several sizes: the painter gets the font only when text
    // is drawn, and each size is measured once.
    if (m_font.pointSizeF() == points)
        return;
    m_font.setPointSizeF(points);
    m_painterFontSet = false;
}

QtPrintCanvas::Measures& QtPrintCanvas::metrics()
{
    // Measured at the device's resolution: 9 points are 75 dots at 600 dpi.
    auto at = m_metrics.find(m_font.pointSizeF());
    if (at == m_metrics.end()) {
        const QFontMetrics fm(m_font, m_device);
        at = m_metrics.emplace(m_font.pointSizeF(), Measures{fm, fm.height(), fm.ascent(), {}})
                 .first;
    }
    return at->second;
}

int QtPrintCanvas::Measures::width(const QString& text)
{
    auto at = widths.constFind(text);
    if (at == widths.constEnd())
        at = widths.insert(text, metrics.horizontalAdvance(text));
    return *at;
}

void QtPrintCanvas::setFontColor(const QColor& color)
{
    m_fontColor = color;
    m_textPenSet = false;
}

void QtPrintCanvas::setPen(int width, const QColor& color)
{
    m_shapePen = QPen(QBrush(color), width);
    m_textPenSet = false;
}

void QtPrintCanvas::setBrush(const QColor& color)
{
    m_brush = QBrush(color);
    if (m_painter.isActive())
        m_painter.setBrush(m_brush);
}

void QtPrintCanvas::clearBrush()
{
    m_brush = QBrush();
    if (m_painter.isActive())
        m_painter.setBrush(m_brush);
}

void QtPrintCanvas::useShapePen()
{
    m_painter.setPen(m_shapePen);
    m_textPenSet = false;
}

void QtPrintCanvas::useTextPen()
{
    if (m_textPenSet)
        return;
    m_painter.setPen(m_fontColor);
    m_textPenSet = true;
}

void QtPrintCanvas::ellipse(const DeviceBox& box)
{
    useShapePen();
    m_painter.drawEllipse(toRect(box));
}

void QtPrintCanvas::rectangle(const DeviceBox& box)
{
    useShapePen();
    m_painter.drawRect(toRect(box));
}

void QtPrintCanvas::fillCells(QPoint origin, QSize cell, const QList<QRect>& cells,
                              const QColor& color)
{
    // Drawn in cell units under a whole-dot scale: a PDF keeps short vector
    // rectangles in one fill, and a raster device fills whole dots.
    const QTransform device = m_painter.transform();
    const bool smooth = m_painter.testRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setTransform(QTransform(cell.width(), 0, 0, cell.height(), origin.x(), origin.y()) *
                           device);
    m_painter.setPen(Qt::NoPen);
    m_textPenSet = false;
    m_painter.setBrush(color);
    m_painter.drawRects(cells.constData(), int(cells.size()));
    m_painter.setBrush(m_brush);
    m_painter.setTransform(device);
    m_painter.setRenderHint(QPainter::Antialiasing, smooth);
}

void QtPrintCanvas::line(int x1, int y1, int x2, int y2)
{
    useShapePen();
    m_painter.drawLine(x1, y1, x2, y2);
}

QSize QtPrintCanvas::textExtent(const QString& text)
{
    Measures& measures = metrics();
    return QSize(measures.width(text), measures.height);
}

void QtPrintCanvas::textOut(int x, int y, const QString& text)
{
    Measures& measures = metrics();
    // A solid brush gives the text an opaque background of its colour.
    if (m_brush.style() != Qt::NoBrush)
        m_painter.fillRect(QRect(x, y, measures.width(text), measures.height), m_brush);
    useTextPen();
    if (!m_painterFontSet) {
        m_painter.setFont(m_font);
        m_painterFontSet = true;
    }
    // drawText() takes the baseline; the caller gives the top-left corner.
    m_painter.drawText(QPoint(x, y + measures.ascent), text);
}
